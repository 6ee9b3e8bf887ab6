# Sourced by the Wine tests: the loader in $WINE (SKALNIX_WINE, else wine), a throw-away prefix
# (created once per build tree), no debug output.
export WINE=${SKALNIX_WINE:-wine}
export WINEDEBUG=-all
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
export WINEPREFIX=${WINEPREFIX:-${SKALNIX_WINEPREFIX:?set SKALNIX_WINEPREFIX}}
# Wine starts child programs through WINELOADER; with the 64-bit loader it must be named.
case "$WINE" in */wine64) export WINELOADER=${WINELOADER:-$WINE} ;; esac
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  mkdir -p "$WINEPREFIX"
  "$WINE" wineboot -i >/dev/null 2>&1 || true
fi
