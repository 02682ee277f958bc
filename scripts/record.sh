#!/bin/bash
# record.sh [--recipient NAME] [--greeting FILE] [--seconds N]: builds the
# program with those words, plays it in a virtual display of its own as a
# person would (the dedication, the page for a few seconds, Enter, the show)
# and writes dist/fireworks-<version>[-<recipient>].mp4: N seconds (58 unless
# given: the dedication, the page and two heart volleys) of the window from
# its first frame, 1200 × 800 at 30 fps, H.264 and AAC stereo, with the
# program's own music. Prints the video's path, duration and size.
#
# It films the 64-bit build of the same sources and words: the shipped
# 32-bit one would run under qemu's i386 emulation on machines whose kernel
# refuses i386 code, too slowly to film live beside the capture.
# FIREWORKS_RECORD_TREE and FIREWORKS_RECORD_DIST put the build tree and the
# video elsewhere (the tests use them).
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

recipient=
greeting=
seconds=58
read_options record "[--recipient NAME] [--greeting FILE] [--seconds N]" recipient greeting seconds -- "$@"
# Enter on the dedication after 4 s and on the page 5 s later: a shorter
# video would end before the show.
shortest=12
[[ "$seconds" =~ ^[0-9]+$ ]] && ((seconds >= shortest)) ||
    { echo "record: --seconds takes a whole number of seconds, at least $shortest" >&2; exit 2; }
for tool in cmake make ffmpeg ffprobe Xvfb xdotool xdpyinfo xwininfo import x86_64-w64-mingw32-g++-posix "$WINE64" /usr/bin/python3; do
    command -v "$tool" >/dev/null || { echo "record: $tool is missing; scripts/setup.sh installs it" >&2; exit 1; }
done

tree=${FIREWORKS_RECORD_TREE:-$repo/build/record}
build_with_words "$tree" fireworks "$recipient" "$greeting" --preset win64 -DFIREWORKS_TESTS=OFF
version=$(tree_version "$tree")
name=fireworks-$version
[ -z "$recipient" ] || name+=-$(file_name_of "$recipient")
dist=${FIREWORKS_RECORD_DIST:-$repo/dist}
mkdir -p "$dist"

# A Wine prefix and a display of the recording's own: no other program's
# window can take the keys meant for this one.
export WINEPREFIX=$tree/wineprefix
prepare_prefix "$WINE64" "$WINEPREFIX" win64 >&2
display=$(free_display)
# Just larger than the window, so that the whole display is filmed cheaply;
# white, so that the window's black shows where it begins.
bash "$repo/scripts/test-display.sh" start "$display" 1280x880x24 -wr
trap 'bash "$repo/scripts/test-display.sh" stop "$display"' EXIT
DISPLAY=$display /usr/bin/python3 "$repo/scripts/record.py" \
    "$tree/fireworks.exe" "$dist/$name.mp4" "$seconds"
