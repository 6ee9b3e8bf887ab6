#!/bin/sh
# Export benchmark: a file-only export of generated host files, one process per run, against
# reading the input and writing the outputs with cat, measured in the same run.
#
#   run_export_bench.sh [BIN_DIR] [WORK_DIR]
#
# BIN_DIR holds libskalnix.so, skalnix-bench-export, skalnix-host and skalnix-genexp (default:
# this script's directory); WORK_DIR receives the data (default: a new temporary directory,
# removed after). REPEATS=N runs every case N times (default 1); the last line of a case gives
# the medians.
set -eu

bin=${1:-$(cd "$(dirname "$0")" && pwd)}
work=${2:-}
repeats=${REPEATS:-1}
cleanup=
if [ -z "$work" ]; then
  work=$(mktemp -d)
  cleanup=$work
fi
trap '[ -n "$cleanup" ] && rm -rf "$cleanup"' EXIT

mb() { awk -v b="$1" 'BEGIN { printf "%.1f", b / 1048576 }'; }
size() { wc -c < "$1" | tr -d ' '; }
median() { sort -n | awk '{ v[NR] = $1 } END { if (NR % 2) print v[(NR + 1) / 2]; else print (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

# The bytes an export moves, moved by cat: read the input, write the record file, the result
# and the archive copy. Prints "WALL CPU".
cat_same_bytes() {
  dir=$1
  /usr/bin/time -f "%e %U %S" -o "$dir/cat_time" sh -c \
    "cat '$dir/exchange/kasa.exp' > '$dir/copy.in'; cat '$dir/dibalcom/dibal.exp' > '$dir/copy.rec'; \
     cat '$dir/exchange/wynik.exp' > '$dir/copy.res'; cat '$dir/exchange/kasa.exp' >> '$dir/copy.arc'"
  rm -f "$dir/copy.in" "$dir/copy.rec" "$dir/copy.res" "$dir/copy.arc"
  awk '{ printf "%.2f %.2f\n", $1, $2 + $3 }' "$dir/cat_time"
}

# One export through HOST (bench or skalnix-host); prints "WALL CPU PEAK_KB".
export_once() {
  host=$1 dir=$2
  shift 2
  rm -f "$dir/exchange/ARCH2.EXP" "$dir/exchange/wynik.exp" "$dir/dibalcom/dibal.exp"
  if [ "$host" = bench ]; then
    /usr/bin/time -f "%e %M %U %S" -o "$dir/time" \
      "$bin/skalnix-bench-export" "$bin/libskalnix.so" "$dir/exchange" "$dir/dibalcom" "$@" \
      > "$dir/report"
  else
    # The bench host's defaults, given to skalnix-host as its configuration.
    {
      echo "[host]"
      echo "exchange = $dir/exchange"
      echo "templates = 21SSSSSWWWWWC, 22SSSSSWWWWWC"
      echo "[driver]"
      echo "DibalKatalogDrv = $dir/dibalcom"
      echo "DibalPort = 0"
      echo "DibalKodyKD = 1"
      for p in "$@"; do echo "${p%%=*} = ${p#*=}"; done
    } > "$dir/host.ini"
    /usr/bin/time -f "%e %M %U %S" -o "$dir/time" \
      "$bin/skalnix-host" export --driver "$bin/libskalnix.so" --config "$dir/host.ini" \
      > "$dir/host.out" 2>&1 || true
    echo "skalnix-host: $(wc -l < "$dir/host.out" | tr -d ' ') lines of output" > "$dir/report"
  fi
  awk '{ printf "%.2f %.2f %d\n", $1, $3 + $4, $2 }' "$dir/time"
}

# run NAME GOODS WEIGHTED_PERCENT HOSTS PARAMETERS...   (HOSTS: bench or bench,host)
run() {
  name=$1 goods=$2 weighted=$3 hosts=$4
  shift 4
  dir=$work/$name
  mkdir -p "$dir/exchange" "$dir/dibalcom"
  "$bin/skalnix-genexp" "$dir/exchange/kasa.exp" "$goods" --weighted "$weighted" --prefix 21 \
    --seed 7 > /dev/null
  in=$(size "$dir/exchange/kasa.exp")
  echo "== $name: $goods goods, $weighted% weighted, $*, input $(mb "$in") MB"
  for host in $(echo "$hosts" | tr ',' ' '); do
    : > "$dir/ratios"
    : > "$dir/peaks"
    : > "$dir/cpus"
    r=0
    while [ "$r" -lt "$repeats" ]; do
      r=$((r + 1))
      read -r seconds cpu peak_kb <<EOF
$(export_once "$host" "$dir" "$@")
EOF
      # The kernel's cost of fresh page-cache pages swings several-fold on a virtual machine:
      # cat's best of three is the steady figure (and the strict one for the ratio).
      read -r cat_seconds cat_cpu <<EOF
$(for k in 1 2 3; do cat_same_bytes "$dir"; done | sort -n | head -n 1)
EOF
      records=$(size "$dir/dibalcom/dibal.exp")
      result=$(size "$dir/exchange/wynik.exp")
      awk -v h="$host" -v s="$seconds" -v u="$cpu" -v b="$in" -v k="$peak_kb" \
          -v c="$cat_seconds" -v cu="$cat_cpu" -v rec="$records" -v res="$result" 'BEGIN {
        printf "   %-5s export %6.2f s wall (%.2f s CPU), peak %4.0f MB (%.2fx input) | cat %.2f s wall (%.2f s CPU) | ratio %.2f  [dibal.exp %.1f MB, wynik.exp %.1f MB]\n",
               h, s, u, k / 1024, k * 1024 / b, c, cu, (c > 0 ? s / c : 0), rec / 1048576, res / 1048576 }'
      echo "$seconds $cat_seconds" | awk '{ print ($2 > 0 ? $1 / $2 : 0) }' >> "$dir/ratios"
      echo "$peak_kb" >> "$dir/peaks"
      echo "$cpu" >> "$dir/cpus"
    done
    echo "   $host: $(cat "$dir/report")"
    printf "   %-5s median of %d: ratio to cat %.2f, export CPU %.2f s, peak %.0f MB\n" "$host" \
      "$repeats" "$(median < "$dir/ratios")" "$(median < "$dir/cpus")" \
      "$(awk -v k="$(median < "$dir/peaks")" 'BEGIN { print k / 1024 }')"
  done
}

run series-L 200000 5 bench DibalSeria=L
run series-A 1000000 100 bench,host DibalSeria=A Pojemnosc=2000000
