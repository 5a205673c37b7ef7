// The translation unit that compiles the Windows folders' precompiled header.
