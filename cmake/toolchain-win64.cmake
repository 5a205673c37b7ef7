# 64-bit Windows, MinGW-w64.
set(VISTREL_MINGW_ARCH x86_64)
include(${CMAKE_CURRENT_LIST_DIR}/MingwToolchain.cmake)
