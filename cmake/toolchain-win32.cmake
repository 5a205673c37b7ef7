# 32-bit Windows, MinGW-w64.
set(VISTREL_MINGW_ARCH i686)
include(${CMAKE_CURRENT_LIST_DIR}/MingwToolchain.cmake)
