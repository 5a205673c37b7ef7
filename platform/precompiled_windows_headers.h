// The Windows headers that nearly every file of the Windows folders parses, compiled once into a
// precompiled header that their libraries reuse (parsing them was most of such a file's compile
// time). Only the system's C headers: the compiler's checks of the C++ library's inlined code
// stay as they are. Included before each of those files by the build; no source includes it.
#pragma once

#include <windows.h>
#include <oleauto.h>
