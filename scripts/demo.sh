#!/usr/bin/env bash
# Demo export: installs what building needs, builds the driver, the host program and the
# DibalCom stand-in, then exports the sample goods through the stand-in in a fresh working
# directory and shows what the driver wrote.
#
# SKALNIX_BUILD_DIR chooses another build directory than the preset's build/linux.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD

bash scripts/setup.sh

if [ -n "${SKALNIX_BUILD_DIR:-}" ]; then
  build=$SKALNIX_BUILD_DIR
  cmake --preset linux -B "$build" >/dev/null
else
  build=$root/build/linux
  cmake --preset linux >/dev/null
fi
cmake --build "$build" -j "$(nproc)" --target skalnix skalnix-host dibalcom
bin=$build/bin

# The working directory: the host's exchange directory with the sample export file, and the
# DibalCom directory with the stand-in in DibalCom's place.
work=$(mktemp -d "${TMPDIR:-/tmp}/skalnix-demo.XXXXXX")
mkdir -p "$work/exchange" "$work/dibalcom"
cp examples/kasa.exp "$work/exchange/"
cp "$bin/dibalcom.exe" "$work/dibalcom/"

echo
echo "== skalnix-host export --config examples/serial-export.ini (in $work)"
echo
status=0
(cd "$work" && "$bin/skalnix-host" export --config "$root/examples/serial-export.ini") || status=$?

echo
echo "== exchange/wynik.exp: the goods the driver reports to the host"
tr -d '\r' <"$work/exchange/wynik.exp" 2>/dev/null || echo "(not written)"
echo
echo "== dibalcom/dibal.exp: DIBAL records, '*' in the third column marks a sent line"
iconv -f CP1250 -t UTF-8 "$work/dibalcom/dibal.exp" 2>/dev/null | tr -d '\r' | cut -c1-100 ||
  echo "(not written)"
echo
echo "== dibalcom/dibctrl.txt: DibalCom's options"
tr -d '\r' <"$work/dibalcom/dibctrl.txt" 2>/dev/null | paste -sd' ' || echo "(not written)"
echo
echo "Files are left in $work"
exit "$status"
