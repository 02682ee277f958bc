"""Checkouts and build trees of the program that the greeting's tests make
for themselves, away from the trees a developer works in."""

import hashlib
import os
import shutil
import subprocess
import sys

SOURCE_DIR = os.environ["FIREWORKS_SOURCE_DIR"]


def sha256(path):
    with open(path, "rb") as f:
        return hashlib.sha256(f.read()).hexdigest()


def run(command, cwd=None, env=None, check=True):
    """Runs a command; its output is returned and shown when it fails."""
    result = subprocess.run(command, cwd=cwd, env=env, stdin=subprocess.DEVNULL, capture_output=True, text=True,
                            errors="replace", timeout=1200)
    if check and result.returncode != 0:
        sys.stdout.write(result.stdout + result.stderr)
        raise AssertionError(f"{' '.join(command)} ended with {result.returncode}")
    return result


def source_files():
    """The files of the checkout as a clone of it would have them: tracked
    ones and new ones not ignored. Without git, everything but the outputs."""
    listed = subprocess.run(["git", "-C", SOURCE_DIR, "ls-files", "-z", "--cached", "--others", "--exclude-standard"],
                            capture_output=True)
    if listed.returncode == 0:
        return [name for name in listed.stdout.decode().split("\0") if name]
    files = []
    for root, dirs, names in os.walk(SOURCE_DIR):
        dirs[:] = [d for d in dirs if os.path.relpath(os.path.join(root, d), SOURCE_DIR) not in ("build", "out", "dist", ".git")]
        files += [os.path.relpath(os.path.join(root, name), SOURCE_DIR) for name in names]
    return files


def fresh_checkout(destination, keep=()):
    """A copy of the source at `destination`, as a fresh clone would be. The
    top-level folders named in `keep` (build trees) stay from the previous
    copy: the files copied keep their times, so a build there redoes only
    what changed."""
    if os.path.isdir(destination):
        for name in os.listdir(destination):
            path = os.path.join(destination, name)
            if name in keep:
                continue
            if os.path.isdir(path) and not os.path.islink(path):
                shutil.rmtree(path)
            else:
                os.remove(path)
    for name in source_files():
        source = os.path.join(SOURCE_DIR, name)
        if not os.path.isfile(source):
            continue  # deleted in the working tree but not yet in the index
        target = os.path.join(destination, name)
        os.makedirs(os.path.dirname(target), exist_ok=True)
        shutil.copy2(source, target)
    return destination


def configure(source, tree, toolchain, variables=None, check=True):
    """Configures a Release tree of the program alone (no tests); a tree
    configured before keeps its toolchain when `toolchain` is None."""
    command = ["cmake", "-S", source, "-B", tree, "-DCMAKE_BUILD_TYPE=Release", "-DFIREWORKS_TESTS=OFF"]
    if toolchain:
        command.append(f"--toolchain={toolchain}")
    for name, value in (variables or {}).items():
        command.append(f"-D{name}={value}")
    return run(command, check=check)


def build_program(tree):
    run(["cmake", "--build", tree, "--target", "fireworks", "-j", "2"])
    return os.path.join(tree, "fireworks.exe")


def toolchain(name):
    return os.path.join(SOURCE_DIR, "cmake", f"mingw-w64-{name}.cmake")
