# Sourced by the Wine tests: a throw-away prefix (created once per build tree), no debug output.
export WINEDEBUG=-all
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
export WINEPREFIX=${WINEPREFIX:-${SKALNIX_WINEPREFIX:?set SKALNIX_WINEPREFIX}}
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  mkdir -p "$WINEPREFIX"
  wineboot -i >/dev/null 2>&1 || true
fi
