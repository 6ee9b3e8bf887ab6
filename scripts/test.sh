#!/usr/bin/env bash
# Every test: installs what it needs, builds, runs all tests, then the unit tests again under
# AddressSanitizer and UndefinedBehaviorSanitizer, then the 32-bit Windows build under Wine.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh --windows

jobs=$(nproc)

cmake --preset linux
cmake --build --preset linux -j "$jobs"
ctest --preset linux -j "$jobs"

cmake --preset linux-asan
cmake --build --preset linux-asan -j "$jobs"
ctest --preset linux-asan -j "$jobs"

# The Windows build: its unit tests as Windows programs, and its exports compared with the
# Linux build's files. Wine gets a throw-away prefix inside the build tree.
export WINEPREFIX=$PWD/build/win32/wineprefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
cmake --preset win32 -DSKALNIX_LINUX_BIN="$PWD/build/linux/bin" -DSKALNIX_WINEPREFIX="$WINEPREFIX"
cmake --build --preset win32 -j "$jobs"
[ -f "$WINEPREFIX/system.reg" ] || wineboot -i >/dev/null 2>&1 || true
ctest --preset win32 -j "$jobs"
