#!/usr/bin/env bash
# A file-only and a serial export of the sample data through skalnix-host.exe under Wine must
# write the same dibal.exp and wynik.exp bytes as the Linux build, and the same dibctrl.txt
# apart from the line naming DibalCom's directory.
set -euo pipefail
win_bin=$1 linux_bin=$2 examples=$3
source "$(dirname "$0")/wine_env.sh"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

run() {  # run PLATFORM CONFIG
  local platform=$1 config=$2 dir="$work/$1-${2%.ini}"
  mkdir -p "$dir/exchange" "$dir/dibalcom"
  cp "$examples/kasa.exp" "$dir/exchange/"
  cp "$examples/$config" "$dir/"
  if [ "$platform" = win ]; then
    cp "$win_bin/dibalcom.exe" "$dir/dibalcom/"
    (cd "$dir" && timeout 120 "$WINE" "$win_bin/skalnix-host.exe" export --config "$config" >out.txt 2>&1)
  else
    cp "$linux_bin/dibalcom.exe" "$dir/dibalcom/"
    (cd "$dir" && timeout 120 "$linux_bin/skalnix-host" export --config "$config" >out.txt 2>&1)
  fi || { echo "$platform export with $config failed:"; cat "$dir/out.txt"; exit 1; }
}

for config in file-export.ini serial-export.ini; do
  run linux "$config"
  run win "$config"
  l="$work/linux-${config%.ini}" w="$work/win-${config%.ini}"
  for f in dibalcom/dibal.exp exchange/wynik.exp; do
    [ -s "$l/$f" ] || { echo "$config: $f missing or empty"; exit 1; }
    cmp "$l/$f" "$w/$f" || { echo "$config: $f differs"; exit 1; }
  done
  if [ -f "$l/dibalcom/dibctrl.txt" ] || [ -f "$w/dibalcom/dibctrl.txt" ]; then
    diff <(grep -av '^-i ' "$l/dibalcom/dibctrl.txt") <(grep -av '^-i ' "$w/dibalcom/dibctrl.txt") ||
      { echo "$config: dibctrl.txt differs"; exit 1; }
    grep -aq $'^-i Z:.*\\\\dibalcom\\\\\r$' "$w/dibalcom/dibctrl.txt" ||
      { echo "$config: DibalCom directory line is not a Windows path"; exit 1; }
  fi
  echo "$config: same bytes on Linux and Windows"
done
[ ! -f "$work/win-file-export/dibalcom/dibctrl.txt" ] || { echo "file-only export wrote dibctrl.txt"; exit 1; }
