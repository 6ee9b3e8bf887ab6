# Cross build of the 32-bit Windows targets, the product.
set(SKALNIX_MINGW_ARCH i686)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
# SSE arithmetic for float and double, so results do not depend on x87 register spills and
# match the 64-bit Linux build. GCC 12 reports false -Wrestrict overlaps inside libstdc++'s
# string copies at -O2 for this target, so that warning is off here.
set(CMAKE_CXX_FLAGS_INIT "-mfpmath=sse -msse2 -Wno-restrict")
set(CMAKE_CROSSCOMPILING_EMULATOR wine)
