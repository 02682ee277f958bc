#!/bin/bash
# cppcheck over the program, the library and the media generator: fails on
# any finding. It sees what clang-tidy does not look for, such as arithmetic
# on a pointer that was tested for null afterwards.
#     run_cppcheck.sh SOURCE_DIR
# Findings that are wrong for their line are suppressed there with a
# `// cppcheck-suppress id` comment under a comment that says why.
# Not checked: useInitializationList, since handles are made in constructor
# bodies, in the order of the platform calls.
set -uo pipefail
cd "$1" || exit 2
mapfile -t sources < <(find show graphics -name '*.cpp'; find resources/generator -maxdepth 1 -name '*.cpp')
exec cppcheck --quiet --error-exitcode=1 -j2 --std=c++17 --platform=win64 -D_WIN32 \
    --enable=warning,performance,portability --inline-suppr \
    --suppress=missingIncludeSystem --suppress=useInitializationList \
    -I graphics -I show -I resources/generator "${sources[@]}"
