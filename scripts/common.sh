# Shared settings of the scripts: where things are and how Wine is run.
repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
export WINEPREFIX=${WINEPREFIX:-$repo/build/wineprefix}
export WINEARCH=win64
export WINEDEBUG=${WINEDEBUG:--all}
# No Mono or Gecko installer dialogs in a fresh prefix.
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
if command -v wine64 >/dev/null 2>&1; then
    WINE64=$(command -v wine64)
else
    WINE64=/usr/lib/wine/wine64
fi
export WINE64
WINESERVER=$(command -v wineserver || echo /usr/lib/wine/wineserver)
export WINESERVER
