#!/usr/bin/env python3
"""Plants faults in the code one at a time and tells which ones the tests catch.

A developer's tool, not a test: it edits a source file, rebuilds the named
test programs in a 64-bit build tree, runs their tests and puts the file back,
for every fault of a list.

    scripts/plant-faults.py LIST [LIST...] [--build build/win64] [--only ID...]

A list holds faults separated by blank lines; each fault is

    id: show-burst-upper-bound
    file: show/bursts.cpp
    find: if (x < 240)
    replace: if (x <= 240)
    tests: show_tests

`find` must occur exactly once in the file (a fault that cannot be placed is
reported, not run). `tests` names the ctest entries that should catch it
(a regular expression of ctest's -R; the targets of the same names are
rebuilt, where there are such targets: a test run by a script has none, and
a name that is only a target, such as fireworks, is rebuilt for the tests
that use it). Lines starting with '#' are comments.
"""

import argparse
import pathlib
import subprocess
import sys

REPO = pathlib.Path(__file__).resolve().parent.parent


def read_faults(path):
    faults, fields = [], {}
    for line in list(path.read_text(encoding="utf-8").splitlines()) + [""]:
        if line.startswith("#"):
            continue
        if not line.strip():
            if fields:
                faults.append(fields)
                fields = {}
            continue
        key, _, value = line.partition(":")
        fields[key.strip()] = value[1:] if value.startswith(" ") else value
    for fault in faults:
        missing = {"id", "file", "find", "replace", "tests"} - fault.keys()
        if missing:
            sys.exit(f"{path}: fault {fault.get('id', '?')} lacks {', '.join(sorted(missing))}")
        fault["list"] = path.stem
    return faults


def run(cmd, **kwargs):
    return subprocess.run(cmd, cwd=REPO, stdout=subprocess.PIPE, stderr=subprocess.STDOUT,
                          text=True, stdin=subprocess.DEVNULL, **kwargs)


def known_targets(build):
    listed = run(["cmake", "--build", build, "--target", "help"])
    return {line[4:].split()[0] for line in listed.stdout.splitlines() if line.startswith("... ")}


def try_fault(fault, build):
    source = REPO / fault["file"]
    original = source.read_bytes()
    text = original.decode("utf-8")
    if text.count(fault["find"]) != 1:
        return "not placed", f"found {text.count(fault['find'])} times"
    try:
        source.write_bytes(text.replace(fault["find"], fault["replace"]).encode("utf-8"))
        known = known_targets(build)
        targets = [t.strip() for t in fault["tests"].replace("|", " ").split() if t.strip() in known]
        if targets:
            made = run(["cmake", "--build", build, "-j2", "--target", *targets])
            if made.returncode != 0:
                return "not compiled", made.stdout.strip().splitlines()[-1:]
        tested = run(["ctest", "--test-dir", build, "-R", f"^({fault['tests'].replace(' ', '|')})$",
                      "--timeout", "600"])
        failed = [l.split()[3] for l in tested.stdout.splitlines() if "***Failed" in l or "***Timeout" in l
                  or "Exception" in l]
        if tested.returncode != 0:
            return "caught", failed
        return "missed", []
    finally:
        source.write_bytes(original)


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("lists", nargs="+", type=pathlib.Path)
    parser.add_argument("--build", default="build/win64")
    parser.add_argument("--only", nargs="*", default=None)
    args = parser.parse_args()
    faults = [f for path in args.lists for f in read_faults(path)]
    if args.only:
        faults = [f for f in faults if f["id"] in args.only]
    tally = {}
    for fault in faults:
        verdict, detail = try_fault(fault, args.build)
        counts = tally.setdefault(fault["list"], {"caught": 0, "missed": 0, "not placed": 0, "not compiled": 0})
        counts[verdict] += 1
        print(f"{verdict:12} {fault['id']}  {detail if detail else ''}", flush=True)
    # Rebuild what the faults touched, so the tree is left as the sources are.
    run(["cmake", "--build", args.build, "-j2"])
    print()
    for name, counts in tally.items():
        planted = counts["caught"] + counts["missed"]
        print(f"{name}: {counts['caught']} of {planted} caught"
              + (f", {counts['not placed']} not placed" if counts["not placed"] else "")
              + (f", {counts['not compiled']} not compiled" if counts["not compiled"] else ""))


if __name__ == "__main__":
    main()
