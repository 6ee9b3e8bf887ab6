#!/usr/bin/env bash
# WczytajSciezkeDoBinariow reads a REG_SZ written with `wine reg add`, trims it and adds the
# backslash; an expandable string does not count.
set -euo pipefail
probe=$1
source "$(dirname "$0")/wine_env.sh"
key='HKLM\SOFTWARE\VELMOR\TargoWin\Instalacja'

"$WINE" reg delete "$key" /f >/dev/null 2>&1 || true
got=$("$WINE" "$probe" | tr -d '\r')
[ "$got" = "[]" ] || { echo "missing key gave $got"; exit 1; }

"$WINE" reg add "$key" /v Binaria /t REG_SZ /d 'C:\Prog\Bin ' /f >/dev/null
got=$("$WINE" "$probe" | tr -d '\r')
[ "$got" = '[C:\Prog\Bin\]' ] || { echo "REG_SZ gave $got"; exit 1; }

"$WINE" reg add "$key" /v Binaria /t REG_EXPAND_SZ /d 'C:\Prog\Bin' /f >/dev/null
got=$("$WINE" "$probe" | tr -d '\r')
[ "$got" = "[]" ] || { echo "REG_EXPAND_SZ gave $got"; exit 1; }
"$WINE" reg delete "$key" /f >/dev/null
echo "registry ok"
