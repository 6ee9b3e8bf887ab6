#!/bin/sh
# Export benchmark: a file-only export of generated host files, one process per run, against
# reading the input and writing the outputs with cat.
#
#   run_export_bench.sh [BIN_DIR] [WORK_DIR]
#
# BIN_DIR holds libskalnix.so, skalnix-bench-export and skalnix-genexp (default: this script's
# directory); WORK_DIR receives the data (default: a new temporary directory, removed after).
set -eu

bin=${1:-$(cd "$(dirname "$0")" && pwd)}
work=${2:-}
cleanup=
if [ -z "$work" ]; then
  work=$(mktemp -d)
  cleanup=$work
fi
trap '[ -n "$cleanup" ] && rm -rf "$cleanup"' EXIT

mb() { awk -v b="$1" 'BEGIN { printf "%.1f", b / 1048576 }'; }
size() { wc -c < "$1" | tr -d ' '; }

# run NAME GOODS WEIGHTED_PERCENT PARAMETERS...
run() {
  name=$1 goods=$2 weighted=$3
  shift 3
  dir=$work/$name
  mkdir -p "$dir/exchange" "$dir/dibalcom"
  "$bin/skalnix-genexp" "$dir/exchange/kasa.exp" "$goods" --weighted "$weighted" --prefix 21 \
    --seed 7 > /dev/null
  rm -f "$dir/exchange/ARCH2.EXP" "$dir/exchange/wynik.exp" "$dir/dibalcom/dibal.exp"

  /usr/bin/time -f "%e %M %U %S" -o "$dir/time" \
    "$bin/skalnix-bench-export" "$bin/libskalnix.so" "$dir/exchange" "$dir/dibalcom" "$@" \
    > "$dir/report"
  read -r seconds peak_kb user_s sys_s < "$dir/time"

  in=$(size "$dir/exchange/kasa.exp")
  records=$(size "$dir/dibalcom/dibal.exp")
  result=$(size "$dir/exchange/wynik.exp")
  archive=$(size "$dir/exchange/ARCH2.EXP")
  sent=$(wc -l < "$dir/exchange/wynik.exp" | tr -d ' ')

  # The same bytes moved by cat: read the input, write the record file, the result and the
  # archive copy.
  /usr/bin/time -f "%e %U %S" -o "$dir/cat_time" sh -c \
    "cat '$dir/exchange/kasa.exp' > '$dir/copy.in'; cat '$dir/dibalcom/dibal.exp' > '$dir/copy.rec'; \
     cat '$dir/exchange/wynik.exp' > '$dir/copy.res'; cat '$dir/exchange/kasa.exp' >> '$dir/copy.arc'"
  read -r cat_seconds cat_user cat_sys < "$dir/cat_time"
  rm -f "$dir/copy.in" "$dir/copy.rec" "$dir/copy.res" "$dir/copy.arc"

  echo "== $name: $goods goods, $weighted% weighted, $*"
  echo "   $(cat "$dir/report")"
  echo "   input $(mb "$in") MB, dibal.exp $(mb "$records") MB, wynik.exp $(mb "$result") MB ($sent lines), archive $(mb "$archive") MB"
  # CPU time next to wall time: on a shared machine the wall time includes waiting for a core.
  awk -v s="$seconds" -v u="$user_s" -v y="$sys_s" -v b="$in" -v k="$peak_kb" \
      -v c="$cat_seconds" -v cu="$cat_user" -v cy="$cat_sys" 'BEGIN {
    printf "   process %.2f s wall (%.2f s CPU), %.1f MB/s of input by wall, %.1f by CPU, peak memory %.0f MB\n",
           s, u + y, (s > 0 ? b / 1048576 / s : 0), (u + y > 0 ? b / 1048576 / (u + y) : 0), k / 1024
    printf "   cat of the same files %.2f s wall (%.2f s CPU)\n", c, cu + cy }'
}

run series-L 200000 5 DibalSeria=L
run series-A 1000000 100 DibalSeria=A Pojemnosc=2000000
