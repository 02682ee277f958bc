#!/bin/bash
# Builds the frame benchmark of both builds and runs each once, one after the
# other, in one virtual display; prints their tables side by side.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
cd "$repo"
bash scripts/setup.sh
for preset in win64 win32; do
    cmake --preset "$preset" >/dev/null
    cmake --build --preset "$preset" -j "$(nproc)" --target frame_bench
done
display=:$((200 + RANDOM % 300))
stop_display() {
    WINEARCH=win64 WINEPREFIX=$repo/build/wineprefix bash scripts/test-display.sh stop "$display"
    WINEARCH=win32 WINEPREFIX=$WINEPREFIX32 bash scripts/test-display.sh stop "$display"
}
trap stop_display EXIT
out=$(mktemp -d)
WINEARCH=win64 WINEPREFIX=$repo/build/wineprefix bash scripts/test-display.sh start "$display"
DISPLAY=$display WINEPREFIX=$repo/build/wineprefix "$WINE64" build/win64/tests/bench/frame_bench.exe \
    </dev/null >"$out/win64.txt"
route=$(cat "$I386_ROUTE_FILE" 2>/dev/null || echo "none: the set-up has not run")
case "$route" in
native | qemu)
    WINEARCH=win32 WINEPREFIX=$WINEPREFIX32 bash scripts/test-display.sh start "$display"
    DISPLAY=$display WINEARCH=win32 WINEPREFIX=$WINEPREFIX32 "$WINE32" build/win32/tests/bench/frame_bench.exe \
        </dev/null >"$out/win32.txt"
    ;;
*) : >"$out/win32.txt" ;;
esac
python3 scripts/bench_table.py "$out/win64.txt" "$out/win32.txt" "$route"
rm -rf "$out"
