"""Two builds of the same source with the same options, from checkouts at
different paths and at different times, give the same bytes: the packaged
program (its checkout's tree kept from run to run, as a sender's is) against
a clean build of the shipped 32-bit preset elsewhere, and so the package's
SHA256SUMS is a claim anyone can check."""

import os
import shutil
import sys
import zipfile

from builds import configure, fresh_checkout, build_program, sha256, toolchain
from make_package import RECIPIENT


def first_difference(a, b):
    for offset, (x, y) in enumerate(zip(a, b)):
        if x != y:
            return offset
    return min(len(a), len(b))


def main():
    work = sys.argv[1]
    archive_dir = os.path.join(work, "checkout", "dist")
    archives = [name for name in os.listdir(archive_dir) if name.endswith(f"-{RECIPIENT}-win32.zip")]
    assert len(archives) == 1, f"archives {archives}"
    with zipfile.ZipFile(os.path.join(archive_dir, archives[0])) as zipped:
        packaged = zipped.read("fireworks.exe")
        claim = dict(reversed(line.split("  ")) for line in zipped.read("SHA256SUMS").decode().splitlines())

    # Another checkout at a deeper, longer path, and a tree outside it.
    again = os.path.join(work, "reproduce")
    shutil.rmtree(again, ignore_errors=True)
    checkout = fresh_checkout(os.path.join(again, "somewhere", "else", "fireworks-source"))
    tree = os.path.join(again, "second-tree")
    configure(checkout, tree, toolchain("i686"), {"FIREWORKS_RECIPIENT": RECIPIENT})
    rebuilt_path = build_program(tree)
    with open(rebuilt_path, "rb") as f:
        rebuilt = f.read()

    if rebuilt != packaged:
        print(f"FAIL the second build differs: {len(packaged)} and {len(rebuilt)} bytes, first difference at "
              f"offset {first_difference(packaged, rebuilt):#x}, "
              f"{sum(x != y for x, y in zip(packaged, rebuilt))} bytes differ")
        sys.exit(1)
    if claim.get("fireworks.exe") != sha256(rebuilt_path):
        print("FAIL SHA256SUMS does not match the rebuilt program")
        sys.exit(1)
    print(f"reproducible: {len(rebuilt)} bytes, sha256 {sha256(rebuilt_path)}")


if __name__ == "__main__":
    main()
