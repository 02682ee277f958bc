#!/bin/bash
# test-display.sh start|stop DISPLAY [SIZE [XVFB_OPTION...]]: the tests'
# virtual display (of SIZE, 1600x1200x24 unless given) and a persistent
# wineserver, so that each test program starts quickly.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
action=$1
display=$2
number=${display#:}
size=${3:-1600x1200x24}
xvfb_options=("${@:4}")

case "$action" in
start)
    if ! xdpyinfo -display "$display" >/dev/null 2>&1; then
        rm -f "/tmp/.X${number}-lock" "/tmp/.X11-unix/X${number}"
        # Xvfb writes the display's number on the pipe once it takes
        # connections, however long a busy machine makes that take; the pipe
        # ends without it if Xvfb gives up.
        ready=$(mktemp -d)
        mkfifo "$ready/pipe"
        setsid Xvfb "$display" -displayfd 3 -screen 0 "$size" "${xvfb_options[@]}" -nolisten tcp \
            3>"$ready/pipe" </dev/null >/dev/null 2>&1 &
        shown=
        read -r shown <"$ready/pipe" || true
        rm -rf "$ready"
        [ "$shown" = "$number" ] || { echo "test-display: Xvfb could not start the display $display" >&2; exit 1; }
    fi
    xdpyinfo -display "$display" >/dev/null
    # Without a 32-bit Wine there is nothing to start: the 32-bit tests skip.
    if [ "$WINEARCH" = win32 ] && ! grep -Eqx 'native|qemu' "$I386_ROUTE_FILE" 2>/dev/null; then
        exit 0
    fi
    setsid "$WINESERVER" -p </dev/null >/dev/null 2>&1 || true
    # The prefix's background services start with the first program and keep
    # its output streams: start them here, detached, so that no test's output
    # stays open after the test ends.
    DISPLAY=$display setsid "$(wine_for_arch)" cmd.exe /c exit </dev/null >/dev/null 2>&1 || true
    ;;
stop)
    "$WINESERVER" -k 2>/dev/null || true
    pkill -f "Xvfb $display " 2>/dev/null || true
    ;;
*)
    echo "usage: $0 start|stop DISPLAY [SIZE [XVFB_OPTION...]]" >&2
    exit 2
    ;;
esac
