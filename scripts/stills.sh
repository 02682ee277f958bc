#!/bin/bash
# stills.sh [EXE]: plays the greeting (by default the win64 build) in a
# virtual display of its own and writes docs/page.png and docs/heart.png,
# the README's pictures.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
cd "$repo"
exe=${1:-}
if [ -z "$exe" ]; then
    cmake --preset win64 >/dev/null
    cmake --build --preset win64 --target fireworks probe -j "$(nproc)" >/dev/null
    exe=$repo/build/win64/fireworks.exe
fi
display=:$((200 + RANDOM % 300))
Xvfb "$display" -screen 0 1600x1200x24 -nolisten tcp </dev/null >/dev/null 2>&1 &
xvfb=$!
trap 'kill "$xvfb"' EXIT
for _ in $(seq 100); do
    xdpyinfo -display "$display" >/dev/null 2>&1 && break
    sleep 0.1
done
DISPLAY=$display FIREWORKS_BINARY_DIR=$repo/build/win64 python3 scripts/stills.py "$exe" docs
