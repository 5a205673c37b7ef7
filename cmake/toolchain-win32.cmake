# 32-bit Windows, MinGW-w64.
set(VISTREL_MINGW_ARCH i686)
include(${CMAKE_CURRENT_LIST_DIR}/MingwToolchain.cmake)
# Doubles computed in SSE2 registers, as on x86_64: the x87 unit's extended precision would
# round differently in the last bits. Every processor a supported Windows runs on has SSE2.
set(CMAKE_C_FLAGS_INIT "-msse2 -mfpmath=sse")
set(CMAKE_CXX_FLAGS_INIT "-msse2 -mfpmath=sse")
