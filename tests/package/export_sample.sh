#!/usr/bin/env bash
# export_sample.sh TREE [EMULATOR...]
# Exports the installed sample goods with the installed host, driver and DibalCom stand-in of an
# installed tree or unpacked archive, through the stand-in on COM1, in a fresh directory.
# Windows programs run through EMULATOR.
set -euo pipefail
tree=$(realpath "$1"); shift
examples=$tree/share/skalnix/examples
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

mkdir -p "$work/exchange" "$work/dibalcom"
cp "$examples/kasa.exp" "$work/exchange/"
cp "$examples/serial-export.ini" "$tree/share/skalnix/lang/en.ini" "$work/"
if [ -f "$tree/bin/skalnix-host.exe" ]; then
  cp "$tree/bin/dibalcom.exe" "$work/dibalcom/"
  host=("$@" "$tree/bin/skalnix-host.exe")
else
  cp "$tree/libexec/skalnix/dibalcom.exe" "$work/dibalcom/"
  # the installed host finds the installed driver by itself
  host=("$tree/bin/skalnix-host")
fi
(cd "$work" && timeout 120 "${host[@]}" export --config serial-export.ini --lang en.ini \
   >out.txt 2>&1) ||
  { echo "export from $tree failed:"; cat "$work/out.txt"; exit 1; }
for f in dibalcom/dibal.exp exchange/wynik.exp; do
  [ -s "$work/$f" ] || { echo "export from $tree wrote no $f:"; cat "$work/out.txt"; exit 1; }
done
echo "export from $tree: $(grep -c . "$work/exchange/wynik.exp") goods reported"
