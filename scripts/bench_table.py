"""Prints the frame benchmark's tables of the two builds side by side.

Usage: bench_table.py WIN64_OUTPUT WIN32_OUTPUT I386_ROUTE"""

import re
import sys


def rows(path):
    """The measures of one run: name -> its numbers (p50 and p99, or one value)."""
    measures = {}
    with open(path) as output:
        for line in output:
            found = re.match(r"^(.*?)\s{2,}(-?\d+\.\d+)(?:\s+(-?\d+\.\d+))?", line.rstrip())
            if found and not line.startswith("measure"):
                measures[found.group(1).strip()] = [v for v in found.groups()[1:] if v is not None]
    return measures


def main():
    win64, win32, route = rows(sys.argv[1]), rows(sys.argv[2]), sys.argv[3]
    print(f"{'measure (ms)':<46} {'win64 p50':>9} {'p99':>8}   {'win32 p50':>9} {'p99':>8}")
    for name, values in win64.items():
        other = win32.get(name, [])
        left = "".join(f"{v:>9} " for v in values).ljust(19)
        right = "".join(f"{v:>9} " for v in other) if other else "        -"
        print(f"{name:<46} {left}  {right}")
    ratio = re.compile(r"present / floor.*: (\d+\.\d+)")
    for label, path in (("win64", sys.argv[1]), ("win32", sys.argv[2])):
        for line in open(path):
            if ratio.search(line):
                print(f"{label}: {line.strip()}")
    if route == "qemu":
        print("win32 ran under qemu's i386 user emulation on this machine: its times measure the emulation, "
              "not the program on a 32-bit processor")
    elif route != "native":
        print(f"win32 did not run: {route.removeprefix('none: ')}")


if __name__ == "__main__":
    main()
