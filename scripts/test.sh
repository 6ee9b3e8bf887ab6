#!/usr/bin/env bash
# Every test: installs what it needs, builds, runs all tests, then the unit tests again under
# AddressSanitizer and UndefinedBehaviorSanitizer, then the fuzz targets for a bounded time, then
# the Windows builds.
#
# Windows: where this machine runs 32-bit programs, the 32-bit build and all its tests under
# Wine. Where it cannot (some kernels lack 32-bit support; SKALNIX_NO_32BIT=1 pretends so), the
# 32-bit DLL is built and checked without running it, and the same sources are built for 64-bit
# Windows, whose tests run under 64-bit Wine.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh --windows --fuzz

jobs=$(nproc)

cmake --preset linux
cmake --build --preset linux -j "$jobs"
ctest --preset linux -j "$jobs"

cmake --preset linux-asan
cmake --build --preset linux-asan -j "$jobs"
ctest --preset linux-asan -j "$jobs"

# The fuzz targets (clang and libFuzzer), each for a bounded time.
bash scripts/fuzz.sh

# Wine gets a throw-away prefix inside each build tree; its tests compare the files the
# Windows build writes with the Linux build's.
wine_tests() {  # wine_tests PRESET LOADER
  local preset=$1 loader=$2
  export WINEPREFIX=$PWD/build/$preset/wineprefix WINEDEBUG=-all
  export WINEDLLOVERRIDES="mscoree,mshtml="
  # the 64-bit loader must be named for the programs Wine starts (the driver starts DibalCom)
  case "$loader" in */wine64) export WINELOADER=$loader ;; esac
  cmake --preset "$preset" -DSKALNIX_LINUX_BIN="$PWD/build/linux/bin" -DSKALNIX_WINEPREFIX="$WINEPREFIX"
  cmake --build --preset "$preset" -j "$jobs"
  [ -f "$WINEPREFIX/system.reg" ] || "$loader" wineboot -i >/dev/null 2>&1 || true
  # Now and then Wine fails to start one of the ~650 test processes (no output, 0.02 s); such a
  # test is run again. A fault of the code fails every run and still fails the suite.
  ctest --preset "$preset" -j "$jobs" --repeat until-pass:3
}

if bash scripts/runs_32bit.sh; then
  echo "Windows tests: 32-bit build under 32-bit Wine (this machine runs 32-bit programs)"
  wine_tests win32 wine
else
  echo "Windows tests: this machine cannot run 32-bit programs; 32-bit DLL checked without" \
       "running it, 64-bit test build under 64-bit Wine"
  cmake --preset win32-static
  cmake --build --preset win32-static -j "$jobs"
  ctest --preset win32-static -j "$jobs"
  wine_tests win64 /usr/lib/wine/wine64
fi
