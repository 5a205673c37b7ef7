# MinGW-w64 cross build for the processor that toolchain-win32/win64.cmake name. The -posix
# compilers give GoogleTest std::mutex.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR ${VISTREL_MINGW_ARCH})

set(CMAKE_C_COMPILER ${VISTREL_MINGW_ARCH}-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER ${VISTREL_MINGW_ARCH}-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER ${VISTREL_MINGW_ARCH}-w64-mingw32-windres)
set(VISTREL_WIDL ${VISTREL_MINGW_ARCH}-w64-mingw32-widl)

# Debian's MinGW-w64 sysroot for the processor.
set(VISTREL_MINGW_SYSROOT /usr/${VISTREL_MINGW_ARCH}-w64-mingw32 CACHE PATH
    "MinGW-w64 sysroot (headers and libraries of the target)")
set(CMAKE_FIND_ROOT_PATH ${VISTREL_MINGW_SYSROOT})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Test programs run under Wine, in the build tree's own prefix.
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../tests/wine/run-in-wine)
