#!/bin/bash
# Sets up, builds both Windows targets and runs every test (unit and end-to-end).
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
cd "$repo"
bash scripts/setup.sh
jobs=$(nproc)
for preset in win64 win32; do
    cmake --preset "$preset" >/dev/null
    cmake --build --preset "$preset" -j "$jobs"
done
display=$(grep -o 'DISPLAY=:[0-9]*' build/win64/CTestTestfile.cmake build/win64/tests/CTestTestfile.cmake 2>/dev/null | head -1 | cut -d= -f2)
status=0
ctest --test-dir build/win64 --output-on-failure </dev/null || status=$?
bash scripts/test-display.sh stop "${display:-:0}" || true
exit $status
