#!/bin/bash
# check_program_file.sh EXE FORMAT SUBSYSTEM: the program file has the expected
# object format and subsystem and imports nothing but system DLLs.
set -euo pipefail
exe=$1
format=$2
[ -f "$exe" ] || { echo "missing program file $exe"; exit 1; }
dump=$(x86_64-w64-mingw32-objdump -p "$exe")
grep -q "file format $format" <<<"$dump" || { echo "$exe is not $format"; exit 1; }
grep -Eq "^Subsystem[[:space:]]+00000003" <<<"$dump" || { echo "$exe is not a console program"; exit 1; }
system_dlls='^(kernel32|user32|gdi32|winmm|ole32|oleaut32|shell32|msvcrt|advapi32|comdlg32|uuid)\.dll$'
status=0
while read -r dll; do
    if ! grep -Eqi "$system_dlls" <<<"$dll"; then
        echo "$exe imports $dll, which is not a system DLL"
        status=1
    fi
done < <(awk '/DLL Name:/ {print $3}' <<<"$dump")
exit $status
