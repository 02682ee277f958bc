#!/bin/bash
# Sets up, builds both Windows targets and runs every test (unit and
# end-to-end) of both: the 64-bit tree, then the shipped 32-bit tree, each in
# a virtual display and Wine prefix of its own.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
cd "$repo"
bash scripts/setup.sh
jobs=$(nproc)
for preset in win64 win32; do
    cmake --preset "$preset" >/dev/null
    cmake --build --preset "$preset" -j "$jobs"
done

tree_display() {
    local display
    display=$(grep -ho 'DISPLAY=:[0-9]*' "build/$1/tests/CTestTestfile.cmake" 2>/dev/null | head -1 | cut -d= -f2)
    echo "${display:-:0}"
}
# The reasons the skipped tests of a tree gave.
skip_reasons() {
    awk '/^[0-9]+\/[0-9]+ Testing: / {name = $3} /^SKIPPED: / {print "  " name ": " substr($0, 10)}' \
        "build/$1/Testing/Temporary/LastTest.log" 2>/dev/null
}

# One tree after the other: beside the 32-bit tree under emulation, which
# takes both processors, the 64-bit fault tests lose a close now and then.
status=0
ctest --test-dir build/win64 --output-on-failure </dev/null || status=$?
WINEARCH=win64 WINEPREFIX=$repo/build/wineprefix bash scripts/test-display.sh stop "$(tree_display win64)" || true
echo
echo "=== the shipped 32-bit build (build/win32) ==="
status32=0
ctest --test-dir build/win32 --output-on-failure </dev/null || status32=$?
for tree in win64 win32; do
    reasons=$(skip_reasons "$tree")
    [ -z "$reasons" ] || printf 'Skipped in %s:\n%s\n' "$tree" "$reasons"
done
WINEARCH=win32 WINEPREFIX=$WINEPREFIX32 bash scripts/test-display.sh stop "$(tree_display win32)" || true
((status == 0)) || exit $status
exit $status32
