# Cross build of the Windows targets for 64-bit Windows with Debian's mingw-w64. The product is
# the 32-bit DLL; this build exists so that machines that cannot run 32-bit programs still test
# the Windows platform layer and the exports' behaviour, under 64-bit Wine.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)
set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
# x86-64 does its float arithmetic in SSE already. GCC 12's false -Wrestrict inside libstdc++'s
# string copies shows here too.
set(CMAKE_CXX_FLAGS_INIT "-Wno-restrict")
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
# Wine's 64-bit loader by its own path: /usr/bin/wine prefers the 32-bit one when installed.
set(CMAKE_CROSSCOMPILING_EMULATOR /usr/lib/wine/wine64)
