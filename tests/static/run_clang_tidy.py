#!/usr/bin/env python3
"""Runs clang-tidy over the program, the library and the media generator and
fails when it finds anything.

    run_clang_tidy.py SOURCE_DIR CACHE_DIR COMPILE_COMMANDS... [--jobs N]

Each translation unit is analysed with the compile command of its build. The
cross compilers' C++ library headers are handed to clang-tidy, which would
not find them on its own. A unit whose sources, command, configuration and
clang-tidy are unchanged since its last run is not analysed again: its result
is kept in CACHE_DIR under a hash of all of these.
"""

import argparse
import concurrent.futures
import functools
import hashlib
import json
import os
import pathlib
import shlex
import subprocess
import sys

ANALYSED_DIRS = ("show/", "graphics/", "resources/generator/")
SKIPPED_DIRS = ("resources/generator/tests/",)


def run(cmd, cwd=None, stdin_text=None):
    return subprocess.run(cmd, cwd=cwd, input=stdin_text, stdout=subprocess.PIPE, stderr=subprocess.PIPE,
                          text=True, stdin=None if stdin_text is not None else subprocess.DEVNULL)


@functools.lru_cache(maxsize=None)
def compiler_arguments(compiler):
    """Target and C++ library headers of a GCC, as clang arguments."""
    target = run([compiler, "-dumpmachine"]).stdout.strip()
    listing = run([compiler, "-xc++", "-E", "-v", "-"], stdin_text="").stderr.splitlines()
    start = listing.index("#include <...> search starts here:") + 1
    end = listing.index("End of search list.")
    library_dirs = [os.path.normpath(d.strip()) for d in listing[start:end] if "/c++" in d]
    return (f"--target={target}", "-nostdinc++", *(f"-isystem{d}" for d in library_dirs))


def command_of(entry):
    return entry["arguments"] if "arguments" in entry else shlex.split(entry["command"])


def dependencies(entry):
    """The source and every header it includes, as GCC sees them."""
    args = command_of(entry)
    kept, skip = [], False
    for arg in args:
        if skip:
            skip = False
        elif arg == "-o":
            skip = True
        elif arg != "-c":
            kept.append(arg)
    listed = run([*kept, "-M"], cwd=entry["directory"])
    if listed.returncode != 0:
        return None
    rule = listed.stdout.replace("\\\n", " ").split(":", 1)[1]
    return [os.path.join(entry["directory"], path) for path in rule.split()]


def cache_key(entry, fixed):
    digest = hashlib.sha256(fixed.encode())
    digest.update(json.dumps([entry["directory"], command_of(entry)]).encode())
    files = dependencies(entry)
    if files is None:
        return None
    for path in files:
        digest.update(path.encode())
        digest.update(pathlib.Path(path).read_bytes())
    return digest.hexdigest()


def analyse(entry, database_dir, config, fixed, cache_dir):
    """The findings of one unit and whether they came from the cache."""
    key = cache_key(entry, fixed)
    cached = cache_dir / f"{key}.txt" if key else None
    if cached and cached.exists():
        return cached.read_text(), True
    extra = [f"--extra-arg={arg}" for arg in compiler_arguments(command_of(entry)[0])]
    result = run(["clang-tidy", "--quiet", f"--config-file={config}", "-p", str(database_dir), *extra,
                  entry["file"]])
    findings = result.stdout
    if result.returncode != 0 and not findings.strip():
        findings = f"{entry['file']}: clang-tidy failed:\n{result.stderr}"
    elif cached:
        cached.write_text(findings)
    return findings, False


def diagnostics(output):
    """Splits clang-tidy output into its diagnostics, each with its notes."""
    blocks = []
    for line in output.splitlines(keepends=True):
        if ": warning: " in line or ": error: " in line or not blocks:
            blocks.append(line)
        else:
            blocks[-1] += line
    return [b for b in blocks if ": warning: " in b or ": error: " in b or "clang-tidy failed" in b]


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("source_dir", type=pathlib.Path)
    parser.add_argument("cache_dir", type=pathlib.Path)
    parser.add_argument("databases", nargs="+", type=pathlib.Path)
    parser.add_argument("--jobs", type=int, default=2)
    args = parser.parse_args()

    source_dir = args.source_dir.resolve()
    config = source_dir / ".clang-tidy"
    units = []
    for database in args.databases:
        if not database.exists():
            sys.exit(f"{database} is missing: configure with CMAKE_EXPORT_COMPILE_COMMANDS=ON and build")
        for entry in json.loads(database.read_text()):
            relative = os.path.relpath(entry["file"], source_dir)
            if relative.startswith(ANALYSED_DIRS) and not relative.startswith(SKIPPED_DIRS):
                units.append((entry, database.parent))
    if not units:
        sys.exit("no translation units of the program, library or generator in the compile commands")

    version = run(["clang-tidy", "--version"]).stdout
    fixed = version + config.read_text()
    args.cache_dir.mkdir(parents=True, exist_ok=True)
    with concurrent.futures.ThreadPoolExecutor(max_workers=args.jobs) as pool:
        results = list(pool.map(lambda unit: analyse(unit[0], unit[1], config, fixed, args.cache_dir), units))

    # A finding in a header is reported by every unit that includes it: once is enough.
    found = list(dict.fromkeys(d for output, _ in results for d in diagnostics(output)))
    for diagnostic in found:
        print(diagnostic, end="")
    reused = sum(1 for _, from_cache in results if from_cache)
    print(f"clang-tidy: {len(units)} translation units ({reused} unchanged since the last run), "
          f"{len(found)} findings")
    return 1 if found else 0


if __name__ == "__main__":
    sys.exit(main())
