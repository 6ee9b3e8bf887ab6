# Cross build of the 32-bit Windows targets with Debian's mingw-w64 (posix threading variant,
# which std::thread needs).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR i686)
set(CMAKE_C_COMPILER i686-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER i686-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER i686-w64-mingw32-windres)
set(CMAKE_FIND_ROOT_PATH /usr/i686-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
# SSE arithmetic for float and double, so results do not depend on x87 register spills and
# match the 64-bit Linux build. GCC 12 reports false -Wrestrict overlaps inside libstdc++'s
# string copies at -O2 for this target, so that warning is off here.
set(CMAKE_CXX_FLAGS_INIT "-mfpmath=sse -msse2 -Wno-restrict")
# Every program runs without the compiler's DLLs beside it.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
set(CMAKE_CROSSCOMPILING_EMULATOR wine)
