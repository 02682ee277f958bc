#!/bin/bash
# Sets up, builds both Windows targets and runs every test (unit and
# end-to-end) of both: the 64-bit tree and the shipped 32-bit tree side by
# side, each test in a virtual display and Wine prefix of its own.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
cd "$repo"
bash scripts/setup.sh
jobs=$(nproc)
for preset in win64 win32; do
    cmake --preset "$preset" >/dev/null
    cmake --build --preset "$preset" -j "$jobs"
done

# Most end-to-end tests wait on the program; the 32-bit tests, under
# emulation on some machines, keep the processors busy. The 64-bit tree runs
# more tests at once than there are processors, the 32-bit tree as many.
declare -A parallel=([win64]=$((jobs * 3)) [win32]=$jobs)
logs=$repo/build/test-logs
mkdir -p "$logs"
stop_slots() {
    for tree in win64 win32; do
        python3 scripts/test-slot.py --stop "build/$tree" || true
    done
}
trap stop_slots EXIT
pids=()
for tree in win64 win32; do
    ctest --test-dir "build/$tree" -j "${parallel[$tree]}" --output-on-failure </dev/null 2>&1 |
        tee "$logs/$tree.log" | sed -u "s/^/[$tree] /" &
    pids+=($!)
done
status=0
for pid in "${pids[@]}"; do
    wait "$pid" || status=1
done
# A pipeline's status is its last command's: read ctest's own verdict.
for tree in win64 win32; do
    grep -q '100% tests passed' "$logs/$tree.log" || status=1
done

# The reasons the skipped tests of a tree gave.
for tree in win64 win32; do
    reasons=$(awk '/^[0-9]+\/[0-9]+ Testing: / {name = $3} /^SKIPPED: / {print "  " name ": " substr($0, 10)}' \
        "build/$tree/Testing/Temporary/LastTest.log" 2>/dev/null)
    [ -z "$reasons" ] || printf 'Skipped in %s:\n%s\n' "$tree" "$reasons"
done
echo "The slowest tests:"
cat "$logs"/win64.log "$logs"/win32.log |
    awk '/Test +#[0-9]+: / {for (i = 1; i <= NF; i++) if ($i == "sec") print $(i - 1), $4}' |
    sort -rn | head -12 | awk '{printf "  %8.1f s  %s\n", $1, $2}'
exit $status
