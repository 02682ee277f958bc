#!/usr/bin/env python3
"""Runs one test in a slot of its own: a virtual display and a Wine prefix
that no test running at the same time uses, so tests of a tree can run side
by side.

    scripts/test-slot.py COMMAND...      run COMMAND in a free slot of the tree
    scripts/test-slot.py --stop TREE     end the displays and Wine servers of
                                         the tree's slots

The tree is FIREWORKS_BINARY_DIR, the prefix to copy is WINEPREFIX and the
Wine is that of WINEARCH, as the test's environment gives them. A slot is
taken by locking its lock file for the whole run; its display and its
persistent Wine server stay up for the next test that takes it, until
--stop. A slot's prefix is made once, by hard-linking the prepared prefix's
files and copying its registry, which Wine rewrites."""

import fcntl
import os
import pathlib
import shutil
import signal
import subprocess
import sys
import time

REPO = pathlib.Path(__file__).resolve().parent.parent
MAX_SLOTS = 32
SCREEN = "1600x1200x24"


def wine_program():
    if os.environ.get("WINEARCH", "win64") == "win32":
        return "/usr/lib/wine/wine"
    return shutil.which("wine64") or "/usr/lib/wine/wine64"


def wineserver_program():
    return shutil.which("wineserver") or "/usr/lib/wine/wineserver"


def i386_runnable():
    try:
        route = pathlib.Path(os.environ["FIREWORKS_I386_ROUTE_FILE"]).read_text().strip()
    except (KeyError, OSError):
        return False
    return route in ("native", "qemu")


def alive(pid_file):
    try:
        pid = int(pid_file.read_text())
        os.kill(pid, 0)
    except (OSError, ValueError):
        return False
    # A pid can be reused: it must still be the program that was started
    # (wineserver runs as wineserver64 or wineserver32).
    try:
        program = pathlib.Path(f"/proc/{pid}/cmdline").read_bytes().split(b"\0")[0]
    except OSError:
        return False
    return os.path.basename(program).startswith(pid_file.stem.encode())


def take_slot(slots):
    """The first slot whose lock is free; the lock is held until this process ends."""
    slots.mkdir(parents=True, exist_ok=True)
    while True:
        for number in range(MAX_SLOTS):
            lock = open(slots / f"{number}.lock", "w")
            try:
                fcntl.flock(lock, fcntl.LOCK_EX | fcntl.LOCK_NB)
                return number, lock
            except BlockingIOError:
                lock.close()
        time.sleep(0.5)


def same_file(a, b):
    try:
        return os.stat(a).st_ino == os.stat(b).st_ino
    except OSError:
        return False


def make_prefix(template, prefix):
    marker = ".fireworks-prefix"
    if not (template / marker).exists():
        sys.exit(f"test-slot: the prefix {template} is not prepared (run scripts/setup.sh)")
    # The marker is hard-linked from the prepared prefix: a prefix prepared
    # again since has a new one, and the slot's copy is made again.
    if same_file(template / marker, prefix / marker):
        return
    staging = prefix.with_name(prefix.name + ".new")
    shutil.rmtree(staging, ignore_errors=True)
    subprocess.run(["cp", "-al", str(template), str(staging)], check=True)
    # Wine rewrites the registry in place of these: they must be the slot's own.
    for name in ("system.reg", "user.reg", "userdef.reg", ".update-timestamp"):
        if (staging / name).exists():
            (staging / name).unlink()
            shutil.copy2(template / name, staging / name)
    shutil.rmtree(prefix, ignore_errors=True)
    staging.rename(prefix)


def start_display(slot):
    """The slot's Xvfb, started on a free display number if it is not running."""
    pid_file = slot / "Xvfb.pid"
    number_file = slot / "display"
    if alive(pid_file) and number_file.exists():
        return ":" + number_file.read_text().strip()
    read_end, write_end = os.pipe()
    xvfb = subprocess.Popen(["Xvfb", "-displayfd", str(write_end), "-screen", "0", SCREEN, "-nolisten", "tcp"],
                            pass_fds=(write_end,), stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                            stderr=subprocess.DEVNULL, start_new_session=True)
    os.close(write_end)
    with os.fdopen(read_end) as reader:
        number = reader.readline().strip()
    if not number:
        sys.exit("test-slot: Xvfb did not start")
    pid_file.write_text(str(xvfb.pid))
    number_file.write_text(number)
    return ":" + number


def start_wine(slot, env):
    """The prefix's persistent server, and the background services that the
    first program of a prefix starts: started here, detached, so that they
    keep no test's output open and no test pays for them."""
    pid_file = slot / "wineserver.pid"
    if alive(pid_file):
        return
    server = subprocess.Popen([wineserver_program(), "-f", "-p"], env=env, stdin=subprocess.DEVNULL,
                              stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, start_new_session=True)
    pid_file.write_text(str(server.pid))
    subprocess.run([wine_program(), "cmd.exe", "/c", "exit"], env=env, stdin=subprocess.DEVNULL,
                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, start_new_session=True, timeout=300)


def run(command):
    tree = pathlib.Path(os.environ["FIREWORKS_BINARY_DIR"])
    template = pathlib.Path(os.environ["WINEPREFIX"])
    number, _lock = take_slot(tree / "test-slots")
    slot = tree / "test-slots" / str(number)
    slot.mkdir(exist_ok=True)
    env = dict(os.environ)
    env["DISPLAY"] = start_display(slot)
    env["WINEPREFIX"] = str(slot / "prefix")
    env["FIREWORKS_TEST_SLOT"] = str(number)
    # Without a 32-bit Wine there is no server to start: the 32-bit tests skip.
    if os.environ.get("WINEARCH") != "win32" or i386_runnable():
        make_prefix(template, slot / "prefix")
        start_wine(slot, env)
    child = subprocess.Popen(command, env=env)
    # ctest ends a test that runs too long by a signal: pass it on.
    for signum in (signal.SIGTERM, signal.SIGINT, signal.SIGHUP):
        signal.signal(signum, lambda s, _frame: child.send_signal(s))
    code = child.wait()
    return code if code >= 0 else 128 - code


def processes_of_prefix(prefix):
    """Every process running with that Wine prefix."""
    wanted = b"WINEPREFIX=" + os.path.abspath(prefix).encode()
    found = []
    for entry in pathlib.Path("/proc").iterdir():
        if not entry.name.isdigit() or int(entry.name) == os.getpid():
            continue
        try:
            if wanted in (entry / "environ").read_bytes().split(b"\0"):
                found.append(int(entry.name))
        except OSError:
            continue
    return found


def stop(tree):
    for slot in sorted((tree / "test-slots").glob("[0-9]*/")):
        # Whichever server runs for the prefix, the one started here or not.
        if (slot / "prefix").is_dir():
            subprocess.run([wineserver_program(), "-k"], env={**os.environ, "WINEPREFIX": str(slot / "prefix")},
                           stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        # And the one started here, should its prefix have been made again since.
        for name in ("wineserver.pid", "Xvfb.pid"):
            if alive(slot / name):
                os.kill(int((slot / name).read_text()), signal.SIGTERM)
        # Services of a server that is gone may live on (the device service
        # does), each busy on a processor: nothing of the slot outlives it.
        for pid in processes_of_prefix(slot / "prefix"):
            try:
                os.kill(pid, signal.SIGKILL)
            except OSError:
                pass


def main():
    if len(sys.argv) == 3 and sys.argv[1] == "--stop":
        stop(pathlib.Path(sys.argv[2]))
        return 0
    if len(sys.argv) < 2:
        print(__doc__, file=sys.stderr)
        return 2
    return run(sys.argv[1:])


if __name__ == "__main__":
    sys.exit(main())
