#!/usr/bin/env bash
# run_fuzzer.sh FUZZER SEEDS WORKDIR SECONDS [DICTIONARY]
# Runs one fuzz target for SECONDS over a copy of its seed corpus, so the repository's seeds stay
# as they are, with the token dictionary when one is given. A crash or a failed oracle fails the
# run; the input that caused it is kept in WORKDIR/artifacts.
set -euo pipefail
fuzzer=$1 seeds=$2 work=$3 seconds=$4 dictionary=${5:-}
rm -rf "$work/corpus" "$work/tmp"
mkdir -p "$work/corpus" "$work/artifacts" "$work/tmp"
cp "$seeds"/* "$work/corpus/"
# The targets' work directories go here, not into the system's temporary directory.
export TMPDIR="$work/tmp"
options=(-max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1
         -artifact_prefix="$work/artifacts/")
[ -n "$dictionary" ] && options+=(-dict="$dictionary")
status=0
"$fuzzer" "${options[@]}" "$work/corpus" || status=$?
if [ "$status" -ne 0 ]; then
  echo "fuzz target $(basename "$fuzzer") failed; inputs kept:" >&2
  ls -l "$work/artifacts" >&2
fi
exit "$status"
