#!/bin/bash
# Sets up, builds and runs the greeting. On a display it is the real,
# interactive program in its console window; without one it plays the whole
# greeting in a virtual display and leaves screenshots and an animation in out/.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
cd "$repo"
bash scripts/setup.sh
cmake --preset win64 >/dev/null
cmake --build --preset win64 -j "$(nproc)"
exe=$repo/build/win64/fireworks.exe

if [ -n "${DISPLAY:-}" ]; then
    exec "$WINE64" wineconsole "$exe"
fi

display=:$((200 + RANDOM % 300))
bash scripts/test-display.sh start "$display"
trap 'bash scripts/test-display.sh stop "$display"' EXIT
mkdir -p out
DISPLAY=$display FIREWORKS_BINARY_DIR=$repo/build/win64 python3 scripts/drive_greeting.py "$exe" out
