#!/usr/bin/env bash
# consume.sh TREE VERSION
# Builds consumer.c against an installed tree twice, through find_package(Skalnix) and through
# pkg-config, runs both and checks that each loaded the tree's own driver, got library type 2
# and saw the release version. Then the tree's host exports the sample goods.
set -euo pipefail
tree=$(realpath "$1") version=$2
here=$(dirname "$(realpath "$0")")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

expect_driver() {  # expect_driver LABEL PROGRAM
  local out driver
  out=$("$2") || { echo "$1: consumer failed:"; echo "$out"; exit 1; }
  sed "s/^/$1: /" <<<"$out"
  grep -qx 'library type 2' <<<"$out" || { echo "$1: wrong library type"; exit 1; }
  driver=$(sed -n 's/^driver //p' <<<"$out")
  [[ -n $driver && $(realpath "$driver") == "$tree"/* ]] ||
    { echo "$1: driver '$driver' is not the one in $tree"; exit 1; }
}

cmake -S "$here/consumer" -B "$work/cmake" -G Ninja -DCMAKE_PREFIX_PATH="$tree" >"$work/log" 2>&1 &&
  cmake --build "$work/cmake" >>"$work/log" 2>&1 || { cat "$work/log"; exit 1; }
expect_driver find_package "$work/cmake/consumer"
[ "$("$work/cmake/consumer" | sed -n 's/^package //p')" = "$version" ] ||
  { echo "find_package: version is not $version"; exit 1; }

pc=$(find "$tree" -name skalnix.pc)
[ -n "$pc" ] || { echo "no skalnix.pc in $tree"; exit 1; }
export PKG_CONFIG_PATH=$(dirname "$pc")
[ "$(pkg-config --modversion skalnix)" = "$version" ] ||
  { echo "pkg-config: version is not $version"; exit 1; }
# shellcheck disable=SC2046
cc -Wall -Wextra -Werror "$here/consumer/consumer.c" $(pkg-config --cflags --libs skalnix) \
  -o "$work/pc-consumer"
LD_LIBRARY_PATH=$(pkg-config --variable=libdir skalnix) expect_driver pkg-config "$work/pc-consumer"

bash "$here/export_sample.sh" "$tree"
