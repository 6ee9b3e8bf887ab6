#!/usr/bin/env bash
# run_zip.sh TREE EMULATOR...
# Runs the unpacked Windows zip (left by check_zip.sh): the consumer next to the zipped DLL must
# load that DLL and get library type 2, and the zipped host, driver and stand-in export the
# sample goods.
set -euo pipefail
tree=$(realpath "$1"); shift
here=$(dirname "$(realpath "$0")")
source "$here/../wine/wine_env.sh"

out=$(cd "$tree/bin" && "$@" ./consumer.exe | tr -d '\r') ||
  { echo "consumer failed:"; echo "$out"; exit 1; }
echo "$out"
grep -qx 'library type 2' <<<"$out" || { echo "wrong library type"; exit 1; }
grep -qix "driver .*\\\\$(basename "$tree")\\\\bin\\\\skalnix.dll" <<<"$out" ||
  { echo "consumer did not load the zipped skalnix.dll"; exit 1; }

bash "$here/export_sample.sh" "$tree" "$@"
