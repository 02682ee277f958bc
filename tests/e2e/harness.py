"""Drives fireworks.exe in the virtual display as a person would: keys, the
close button, screenshots read back from the screen."""

import atexit
import os
import re
import select
import subprocess
import sys
import tempfile
import time

WINE64 = "/usr/lib/wine/wine64"
for candidate in ("/usr/bin/wine64",):
    if os.path.exists(candidate):
        WINE64 = candidate
WINE32 = "/usr/lib/wine/wine"
# The build under test: win64, or win32 (the shipped program) under the 32-bit Wine.
WINEARCH = os.environ.get("WINEARCH", "win64")
WINE = WINE32 if WINEARCH == "win32" else WINE64

# Tests that cannot run on this machine exit with this code and say why.
SKIP_CODE = 77


def i386_route():
    """How this machine runs the 32-bit Wine: "native", "qemu" or "none: <why>"."""
    try:
        with open(os.environ.get("FIREWORKS_I386_ROUTE_FILE", "")) as route:
            return route.read().strip()
    except OSError:
        return "none: the set-up has not run"


def skip(reason):
    print(f"SKIPPED: {reason}")
    sys.exit(SKIP_CODE)


def require_runnable_build():
    """Skips the test where this machine cannot run the build under test."""
    if WINEARCH == "win32" and i386_route() not in ("native", "qemu"):
        skip(f"this machine cannot run the 32-bit build ({i386_route().removeprefix('none: ')})")


def require_faithful_faults():
    """Skips the fault repetitions where i386 code runs under emulation. They
    judge that the program ends cleanly, with exit code 0 and no crash dialog,
    however and whenever it is closed; under qemu a hardware fault arrives
    with another code than on Windows (an access violation as an illegal
    instruction), so a crash would not show as it does there. The single
    closes of the window tests still run."""
    require_runnable_build()
    if WINEARCH == "win32" and i386_route() == "qemu":
        skip("under qemu emulation a hardware fault arrives with another code than on Windows, "
             "so how the program ends cannot be judged there")

BINARY_DIR = os.environ.get("FIREWORKS_BINARY_DIR", "")
PROBE = os.path.join(BINARY_DIR, "tests", "e2e", "probe.exe")


# Wine's error channel stays on in every run: an err: line fails the test.
WINE_ERRORS = []


def wine_env(extra=None):
    env = dict(os.environ)
    env["WINEDEBUG"] = "err+all"
    env.setdefault("WINEDLLOVERRIDES", "mscoree,mshtml=")
    # The greeting's words are GBK: the program runs with the Chinese code
    # page, as on the Windows it is written for, whatever this shell's locale.
    env["LANG"] = env["LC_ALL"] = "zh_CN.UTF-8"
    if extra:
        env.update(extra)
    return env


def poll(condition, timeout, step=0.05):
    """Returns the first truthy value of condition() within timeout seconds, else None."""
    deadline = time.monotonic() + timeout
    while True:
        value = condition()
        if value:
            return value
        if time.monotonic() >= deadline:
            return None
        time.sleep(step)


# Now and then Wine's loader cannot map its shared data page where it must
# (the kernel has put something there first) and the process ends before the
# program starts. That is not the program's doing: such a start is made again.
LOADER_FAILURE = b"failed to map the shared user data"


class ProbeServer:
    """The probe, started once and asked again and again: a Windows process
    costs far more to start than to ask (seconds under emulation)."""

    TIMEOUT = 60

    def __init__(self):
        self.process = None
        self.errors = None
        self.pending = b""
        # The title of the program under test, so that the probe finds its window only.
        self.title = "fireworks"

    def ask(self, request, argument="", again=True):
        fresh = self.process is None or self.process.poll() is not None
        if fresh:
            # Its error channel goes to a file: a pipe nobody reads would fill up.
            self.errors = tempfile.TemporaryFile()
            self.process = subprocess.Popen([WINE, PROBE], env=wine_env(), stdin=subprocess.PIPE,
                                            stdout=subprocess.PIPE, stderr=self.errors)
            self.pending = b""
        try:
            return self.exchange(request, argument)
        except EOFError:
            self.process.wait(timeout=30)
            self.errors.seek(0)
            # A probe that never answered may not have started (see LOADER_FAILURE).
            if fresh and again and LOADER_FAILURE in self.errors.read():
                self.stop()
                return self.ask(request, argument, again=False)
            raise RuntimeError(f"the probe ended while asked {request}") from None

    def exchange(self, request, argument):
        line = "\t".join((request, self.title, argument)) + "\n"
        try:
            self.process.stdin.write(line.encode())
            self.process.stdin.flush()
        except BrokenPipeError:
            raise EOFError from None
        answer = []
        deadline = time.monotonic() + self.TIMEOUT
        while True:
            while b"\n" not in self.pending:
                left = deadline - time.monotonic()
                if left <= 0 or not select.select([self.process.stdout], [], [], left)[0]:
                    self.stop()
                    raise RuntimeError(f"the probe did not answer {request} within {self.TIMEOUT} s")
                chunk = os.read(self.process.stdout.fileno(), 65536)
                if not chunk:
                    raise EOFError
                self.pending += chunk
            said, self.pending = self.pending.split(b"\n", 1)
            said = said.decode(errors="replace").rstrip("\r")
            if said == "end":
                break
            answer.append(said)
        code = int(answer.pop()[len("code="):])
        return code, "\n".join(answer) + "\n"

    def stop(self):
        if self.process is not None and self.process.poll() is None:
            self.process.kill()
            self.process.wait(timeout=30)
        self.process = None


PROBE_SERVER = ProbeServer()
atexit.register(PROBE_SERVER.stop)


def probe(request, argument=""):
    """Asks the probe beside the program; returns its result code and answer."""
    return PROBE_SERVER.ask(request, argument)


def probe_window():
    _, output = probe("window")
    info = {}
    for line in output.splitlines():
        if "=" in line:
            key, value = line.split("=", 1)
            info[key.strip()] = value.strip()
    return info if info.get("found") == "1" else None


def xdotool(*args, check=True):
    result = subprocess.run(["xdotool", *args], capture_output=True, text=True, timeout=30)
    if check and result.returncode != 0:
        raise RuntimeError(f"xdotool {' '.join(args)}: {result.stderr.strip()}")
    return result.stdout.strip()


def x_window_pid(window_id):
    """The process id Wine gave the X window, or None."""
    said = subprocess.run(["xprop", "-id", str(window_id), "_NET_WM_PID"], capture_output=True, text=True,
                          timeout=30).stdout
    found = re.search(r"= (\d+)", said)
    return int(found.group(1)) if found else None


def x_window_viewable(window_id):
    result = subprocess.run(["xwininfo", "-id", str(window_id)], capture_output=True, text=True, timeout=30)
    return "IsViewable" in result.stdout


SCREEN_SIZES = {}


def screen_size(display):
    """The virtual display's size, asked once: it never changes."""
    if display not in SCREEN_SIZES:
        size = subprocess.run(["xdpyinfo", "-display", display], capture_output=True, text=True, check=True,
                              timeout=60).stdout.split("dimensions:")[1].split()[0]
        SCREEN_SIZES[display] = tuple(int(v) for v in size.split("x"))
    return SCREEN_SIZES[display]


class Screenshot:
    """The screen as 8-bit RGB, read back from the X server."""

    def __init__(self, path=None):
        display = os.environ["DISPLAY"]
        if path:
            subprocess.run(["import", "-display", display, "-window", "root", path], check=True, timeout=60)
            source = [path]
        else:
            source = ["-display", display, "-window", "root"]
        command = ["import"] if not path else ["convert"]
        self.width, self.height = screen_size(display)
        self.rgb = subprocess.run([*command, *source, "-depth", "8", "rgb:-"], capture_output=True, check=True,
                                  timeout=60).stdout

    @classmethod
    def of_rgb(cls, width, height, rgb):
        """A screen already read, as rows of 8-bit RGB."""
        shot = cls.__new__(cls)
        shot.width, shot.height, shot.rgb = width, height, rgb
        return shot

    def pixel(self, x, y):
        offset = (y * self.width + x) * 3
        return tuple(self.rgb[offset:offset + 3])

    def count(self, left, top, width, height, predicate, step=1):
        total = 0
        for y in range(top, top + height, step):
            row = (y * self.width) * 3
            for x in range(left, left + width, step):
                offset = row + x * 3
                if predicate(self.rgb[offset], self.rgb[offset + 1], self.rgb[offset + 2]):
                    total += 1
        return total


def processes_of_runs(exe):
    """Process ids of this program file's runs in this test's prefix (Wine's
    processes, not the test's): tests beside this one run the same file in
    prefixes of their own."""
    found = subprocess.run(["pgrep", "-f", re.escape(exe)], capture_output=True, text=True).stdout.split()
    own_prefix = b"WINEPREFIX=" + os.environ.get("WINEPREFIX", "").encode()
    pids = []
    for pid in found:
        try:
            with open(f"/proc/{pid}/cmdline", "rb") as cmdline, open(f"/proc/{pid}/environ", "rb") as environ:
                if b"python" not in cmdline.read() and own_prefix in environ.read().split(b"\0"):
                    pids.append(int(pid))
        except OSError:
            continue
    return pids


def yellow(r, g, b):
    """The dedication's light yellow, 0xFFFF55 on screen, give or take smoothing."""
    return r > 180 and g > 180 and 40 < b < 140


# The rows of the ">Enter" prompts in the client area: the dedication's and
# the page's.
DEDICATION_PROMPT_ROW = 550
PAGE_PROMPT_ROW = 650


def burst_like(r, g, b):
    """Bright in all three components, as burst pixels are; the night sky never
    is. The dedication's yellow is too, so it does not count: the page of text
    is no show."""
    return r > 60 and g > 60 and b > 60 and not yellow(r, g, b)


def end_leftover_runs(exe):
    """Kills every run of this program file, so each run has the screen to itself."""
    for pid in processes_of_runs(exe):
        try:
            os.kill(pid, 9)
        except OSError:
            pass
    poll(lambda: not processes_of_runs(exe), 10)


class Program:
    """One run of fireworks.exe, in a console window (as a double-click
    starts it) or without one (standard input at end of file)."""

    def __init__(self, exe, console=True, env=None, stderr_path=None):
        self.exe = exe
        end_leftover_runs(exe)
        title = os.path.splitext(os.path.basename(exe))[0]
        self.title = title
        PROBE_SERVER.title = title
        # The windows of an ended run leave the X display a moment later.
        poll(lambda: not xdotool("search", "--onlyvisible", "--name", f"^{title}$", check=False), 10)
        self.command = [WINE, "wineconsole", exe] if console else [WINE, exe]
        self.env = wine_env(env)
        self.stderr_path = stderr_path
        self.launch()
        self.info = None
        self.x_window = None

    def launch(self):
        # Wine writes its error channel to standard error; a file never fills up.
        self.stderr_file = open(self.stderr_path, "w+b") if self.stderr_path else tempfile.TemporaryFile()
        self.process = subprocess.Popen(self.command, env=self.env, stdin=subprocess.DEVNULL,
                                        stdout=subprocess.DEVNULL, stderr=self.stderr_file)

    def loader_failed(self):
        """Whether Wine's loader gave up before the program ran. Read without
        moving the file's offset, which the running processes share."""
        descriptor = self.stderr_file.fileno()
        return LOADER_FAILURE in os.pread(descriptor, os.fstat(descriptor).st_size, 0)

    def wait_window(self, timeout=30):
        shown = lambda: (info := probe_window()) and info.get("visible") == "1" and info
        self.info = poll(lambda: self.loader_failed() or shown(), timeout, 0.2)
        if self.info is True:
            print("note: Wine's loader could not start the program; it is started again")
            self.end_run()
            self.launch()
            self.info = poll(shown, timeout, 0.2)
        if not self.info:
            raise AssertionError("the graphics window did not appear")
        self.x_window = poll(self.find_x_window, timeout, 0.1)
        if not self.x_window:
            raise AssertionError("no viewable X window for the graphics window")
        return self.info

    def find_x_window(self):
        """The viewable X window of this run's window. Wine marks each X
        window with its process's id: an ended run's window, which may linger
        a moment, is not taken for it."""
        found = xdotool("search", "--name", f"^{self.title}$", check=False).split()
        if not found:
            return None
        this_run = set(processes_of_runs(self.exe))
        for window_id in found:
            if x_window_pid(window_id) in this_run and x_window_viewable(window_id):
                return window_id
        return None

    def client_origin(self):
        return int(self.info["client_x"]), int(self.info["client_y"])

    def focus(self):
        """Gives the window the keyboard, and waits until Windows has made it
        the foreground window: keys typed before that may go nowhere."""
        self.give_keyboard()
        poll(lambda: (probe_window() or {}).get("foreground") == "1", 10, 0.1)

    def give_keyboard(self):
        """Gives the window the keyboard through the X server. Should the X
        window found be gone (Wine may replace a window's X window), it is
        looked up again; a program whose window is gone for good still fails."""
        deadline = time.monotonic() + 10
        while True:
            try:
                xdotool("windowfocus", "--sync", self.x_window)
                return
            except RuntimeError as error:
                if "BadWindow" not in str(error) or time.monotonic() >= deadline:
                    raise
                print(f"note: the X window {self.x_window} went away; it is looked up again")
                self.x_window = poll(self.find_x_window, 10, 0.1) or self.x_window

    def key(self, *keys):
        self.focus()
        self.send_keys(*keys)

    def send_keys(self, *keys):
        """Types keys into the window that has the keyboard (see focus)."""
        xdotool("key", *keys)

    def click_close_button(self):
        x, y = (int(v) for v in self.info["close"].split(","))
        if x < 0:
            raise AssertionError("the window has no close button")
        xdotool("mousemove", str(x), str(y), "click", "1")

    def prompt_shown(self, row):
        """Whether the yellow ">Enter" prompt shows at (500, row) of the client area."""
        return self.client_region_count(500, row, 120, 30, yellow) > 10

    def wait_for_prompt(self, row, timeout=30):
        if not poll(lambda: self.prompt_shown(row), timeout, 0.2):
            raise AssertionError(f"no >Enter prompt at row {row}")

    def pass_dedication(self):
        """Enter on each of the two dedication pages once its prompt shows,
        as a person would: keys typed sooner race the program."""
        for row in (DEDICATION_PROMPT_ROW, PAGE_PROMPT_ROW):
            self.wait_for_prompt(row)
            self.key("Return")

    def client_region_count(self, left, top, width, height, predicate, step=1, shot=None):
        x, y = self.client_origin()
        return (shot or Screenshot()).count(x + left, y + top, width, height, predicate, step)

    def client_count(self, predicate, step=3, shot=None):
        return self.client_region_count(0, 0, 1200, 800, predicate, step, shot)

    def show_running(self):
        """Whether bursts are on the screen."""
        return self.client_count(burst_like) > 50

    def wait_for_show(self, timeout=60):
        """True once bursts are on the screen: the show's pictures take a
        while to load under emulation on a busy machine."""
        return bool(poll(self.show_running, timeout, 0.5))

    def end_show(self):
        """A key once bursts show, as a person would press it (a key typed
        before the show races the program); the exit code."""
        assert self.wait_for_show(), "the show did not start"
        return self.end_with_key()

    def end_with_key(self, timeout=10):
        """Presses a key in the window; the exit code, or None if it goes on.
        How soon it ends is the fault tests' to judge: a program under
        emulation takes longer."""
        self.key("space")
        return self.wait_exit(timeout)

    def wait_exit(self, timeout):
        try:
            return self.process.wait(timeout=timeout)
        except subprocess.TimeoutExpired:
            return None

    def kill(self):
        """Ends the run if it is still going and collects Wine's error lines."""
        self.end_run()
        WINE_ERRORS.extend(self.wine_errors())

    def end_run(self):
        if self.process.poll() is None:
            self.process.kill()
        self.process.wait(timeout=30)
        # Killing the launcher leaves the Windows process itself running.
        end_leftover_runs(self.exe)

    def wine_errors(self):
        self.stderr_file.seek(0)
        return [line for line in self.stderr_file.read().decode(errors="replace").splitlines() if "err:" in line]


def error_dialog_shown():
    _, output = probe("error-dialog")
    return "error_dialog=1" in output


def enter_slot():
    """Runs this script again in a slot of its own (a virtual display and Wine
    prefix that no other running test uses; see scripts/test-slot.py), unless
    it already runs in one. Called after the checks that may skip a test, so
    that a skipped test starts neither."""
    if "FIREWORKS_TEST_SLOT" in os.environ:
        return
    slot = os.path.join(os.environ["FIREWORKS_SOURCE_DIR"], "scripts", "test-slot.py")
    sys.stdout.flush()
    os.execv(sys.executable, [sys.executable, slot, sys.executable, *sys.argv])


def run_cases(cases):
    """Runs each case function with the exe path, in a slot of its own; prints
    and exits non-zero on failure."""
    exe = sys.argv[1]
    require_runnable_build()
    enter_slot()
    failures = 0
    for case in cases:
        started = time.monotonic()
        try:
            case(exe)
            print(f"PASS {case.__name__} ({time.monotonic() - started:.1f} s)")
        except Exception as error:  # report every case, not just the first failure
            failures += 1
            print(f"FAIL {case.__name__}: {error}")
        if WINE_ERRORS:
            failures += 1
            print(f"FAIL {case.__name__}: Wine reported errors:")
            for line in WINE_ERRORS:
                print("    " + line)
            WINE_ERRORS.clear()
    sys.exit(1 if failures else 0)
