#!/usr/bin/env bash
# Every test: installs what it needs, builds, runs all tests, then the unit tests again under
# AddressSanitizer and UndefinedBehaviorSanitizer.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh

jobs=$(nproc)

cmake --preset linux
cmake --build --preset linux -j "$jobs"
ctest --preset linux -j "$jobs"

cmake --preset linux-asan
cmake --build --preset linux-asan -j "$jobs"
ctest --preset linux-asan -j "$jobs"
