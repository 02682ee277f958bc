#!/bin/bash
# Builds and runs the frame benchmark once in a virtual display and prints its table.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
cd "$repo"
bash scripts/setup.sh
cmake --preset win64 >/dev/null
cmake --build --preset win64 -j "$(nproc)" --target frame_bench
display=:$((200 + RANDOM % 300))
bash scripts/test-display.sh start "$display"
trap 'bash scripts/test-display.sh stop "$display"' EXIT
DISPLAY=$display "$WINE64" build/win64/tests/bench/frame_bench.exe </dev/null
