#!/bin/bash
# Fails, naming them, when C++ files of the program, library, generator or
# tests do not follow .clang-format.
#     check_format.sh SOURCE_DIR
set -uo pipefail
cd "$1" || exit 2
mapfile -t files < <(find show graphics resources tests -name '*.cpp' -o -name '*.h' | sort)
((${#files[@]})) || { echo "no C++ files found under $1"; exit 2; }
# clang-format names each file that it would change in its diagnostics.
mapfile -t unformatted < <(clang-format --dry-run "${files[@]}" 2>&1 |
    sed -n 's/^\([^:]*\):[0-9]*:[0-9]*: warning: code should be clang-formatted.*/\1/p' | uniq)
if ((${#unformatted[@]})); then
    echo "${#unformatted[@]} of ${#files[@]} C++ files do not follow .clang-format (clang-format -i FILE fixes one):"
    printf '  %s\n' "${unformatted[@]}"
    exit 1
fi
echo "all ${#files[@]} C++ files follow .clang-format"
