# Shared settings of the scripts: where things are and how Wine is run.
repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
# WINEARCH picks the build to run: win64 (the default) or win32, the shipped one.
export WINEARCH=${WINEARCH:-win64}
# The 32-bit Wine (Debian's wine32) has a prefix of its own.
export WINE32=/usr/lib/wine/wine
export WINEPREFIX32=$repo/build/wineprefix32
if [ "$WINEARCH" = win32 ]; then
    export WINEPREFIX=${WINEPREFIX:-$WINEPREFIX32}
else
    export WINEPREFIX=${WINEPREFIX:-$repo/build/wineprefix}
fi
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
# How this machine runs i386 code, as the set-up found it: "native", "qemu",
# or "none: <why>".
export I386_ROUTE_FILE=$repo/build/i386-route

# The Wine of WINEARCH.
wine_for_arch() {
    if [ "$WINEARCH" = win32 ]; then
        echo "$WINE32"
    else
        echo "$WINE64"
    fi
}
