"""Runs scripts/record.sh as a sender would, with its build tree and its
video kept in the test's own folder."""

import glob
import os
import subprocess

SOURCE_DIR = os.environ["FIREWORKS_SOURCE_DIR"]


def tree_of(work):
    return os.path.join(work, "tree")


def videos_in(dist):
    """Every video and partial video in a dist folder."""
    return sorted(glob.glob(os.path.join(dist, "*.mp4")) + glob.glob(os.path.join(dist, ".*")))


def record(work, dist, *args):
    """Runs record.sh with those arguments, the video going to `dist`; its
    exit code, output and errors."""
    env = dict(os.environ, FIREWORKS_RECORD_TREE=tree_of(work), FIREWORKS_RECORD_DIST=dist)
    env.pop("DISPLAY", None)
    result = subprocess.run(["bash", os.path.join(SOURCE_DIR, "scripts", "record.sh"), *args], env=env,
                            stdin=subprocess.DEVNULL, capture_output=True, text=True, errors="replace", timeout=3000)
    return result.returncode, result.stdout, result.stderr
