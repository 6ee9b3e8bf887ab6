# Cross build of the Windows targets for 64-bit Windows. The product is the 32-bit DLL; this
# build exists so that machines that cannot run 32-bit programs still test the Windows platform
# layer and the exports' behaviour, under 64-bit Wine.
set(SKALNIX_MINGW_ARCH x86_64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
# x86-64 does its float arithmetic in SSE already. GCC 12's false -Wrestrict inside libstdc++'s
# string copies shows here too.
set(CMAKE_CXX_FLAGS_INIT "-Wno-restrict")
# Wine's 64-bit loader by its own path: /usr/bin/wine prefers the 32-bit one when installed.
set(CMAKE_CROSSCOMPILING_EMULATOR /usr/lib/wine/wine64)
