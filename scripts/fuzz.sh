#!/usr/bin/env bash
# The fuzz step of the test command: builds the fuzz targets with clang (preset linux-fuzz) and
# runs each for SKALNIX_FUZZ_SECONDS (30 by default) over a copy of its seed corpus. A crash or a
# failed oracle fails the step; the input that caused it stays in
# build/linux-fuzz/fuzz/runs/<target>/artifacts. Skipped, with a line saying so, where clang
# cannot link a libFuzzer program.
set -euo pipefail
cd "$(dirname "$0")/.."

probe_dir=$(mktemp -d)
trap 'rm -rf "$probe_dir"' EXIT
printf 'extern "C" int LLVMFuzzerTestOneInput(const unsigned char*, unsigned long) { return 0; }\n' \
  >"$probe_dir/probe.cpp"
if ! command -v clang++ >/dev/null ||
   ! clang++ -fsanitize=fuzzer "$probe_dir/probe.cpp" -o "$probe_dir/probe" 2>/dev/null; then
  echo "Fuzz targets: SKIPPED, clang++ with libFuzzer is not installed (scripts/setup.sh installs it)"
  exit 0
fi

jobs=$(nproc)
cmake --preset linux-fuzz -DSKALNIX_FUZZ_SECONDS="${SKALNIX_FUZZ_SECONDS:-30}"
cmake --build --preset linux-fuzz -j "$jobs"
ctest --preset linux-fuzz -j "$jobs"
