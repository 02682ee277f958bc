#!/bin/bash
# soak.sh [minutes] [fuzz-minutes]: runs the real greeting past its dedication
# for the given time (default 30) in a virtual display and samples memory, CPU
# time, the screen and Wine's error channel every 10 s; prints a table and a
# verdict. Then runs the randomised library test in its long mode (default 10
# minutes, from a seed taken from the clock; 0 leaves it out).
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
cd "$repo"
minutes=${1:-30}
fuzz_minutes=${2:-10}
bash scripts/setup.sh
cmake --preset win64 >/dev/null
cmake --build --preset win64 -j "$(nproc)"
display=:$((200 + RANDOM % 300))
bash scripts/test-display.sh start "$display"
trap 'bash scripts/test-display.sh stop "$display"' EXIT
mkdir -p out/soak

soak_status=0
DISPLAY=$display FIREWORKS_BINARY_DIR=$repo/build/win64 \
    python3 scripts/soak.py "$repo/build/win64/fireworks.exe" "$minutes" out/soak || soak_status=$?

fuzz_status=0
if [ "$fuzz_minutes" != 0 ]; then
    echo
    echo "randomised library test, long mode: $fuzz_minutes minutes"
    fuzz_seconds=$(awk -v m="$fuzz_minutes" 'BEGIN { print m * 60 }')
    # The output names the seed; FIREWORKS_FUZZ_SEED=<seed> replays a failure.
    (cd build/win64/tests/fuzz &&
        DISPLAY=$display FIREWORKS_FUZZ_SECONDS=$fuzz_seconds \
            "$WINE64" ./library_fuzz_tests.exe --gtest_filter='LibraryFuzz.*' 2>"$repo/out/soak/library-fuzz-wine.log") |
        tee "$repo/out/soak/library-fuzz.log" | grep --line-buffered -E '^library fuzz|^\[ *(OK|FAILED|PASSED) *\]|Failure' ||
        true
    grep -q '^\[  PASSED  \] 1 test' out/soak/library-fuzz.log || fuzz_status=1
    echo "randomised library test:" "$([ "$fuzz_status" = 0 ] && echo PASS || echo FAIL)"
fi

[ "$soak_status" = 0 ] && [ "$fuzz_status" = 0 ]
