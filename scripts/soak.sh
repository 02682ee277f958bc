#!/bin/bash
# soak.sh [minutes]: runs the real greeting past its dedication for the given
# time (default 30) in a virtual display and samples memory, CPU time, the
# screen and Wine's error channel every 10 s; prints a table and a verdict.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
cd "$repo"
minutes=${1:-30}
bash scripts/setup.sh
cmake --preset win64 >/dev/null
cmake --build --preset win64 -j "$(nproc)"
display=:$((200 + RANDOM % 300))
bash scripts/test-display.sh start "$display"
trap 'bash scripts/test-display.sh stop "$display"' EXIT
mkdir -p out/soak
DISPLAY=$display FIREWORKS_BINARY_DIR=$repo/build/win64 \
    python3 scripts/soak.py "$repo/build/win64/fireworks.exe" "$minutes" out/soak
