"""Plays the greeting in the virtual display as a person would and films it:
the screen is captured live while the dedication plays, the page stays a few
seconds, Enter is pressed and the show runs; then the client area is cut from
the capture, starting with the window's first frame, and the program's own
music (its WAVE resource 108) is laid under it from that frame on.

    record.py EXE OUTPUT SECONDS

Needs Debian's ffmpeg and python3-pefile; prints the video's path, duration
and size, and how many frames the live capture dropped or repeated."""

import json
import os
import re
import subprocess
import sys
import tempfile
import threading
import time

import pefile  # Debian's python3-pefile

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "e2e"))
from harness import (DEDICATION_PROMPT_ROW, PAGE_PROMPT_ROW, Program, Screenshot, poll, screen_size,  # noqa: E402
                     yellow)

WIDTH, HEIGHT = 1200, 800
FPS = 30
MUSIC_RESOURCE = 108
# How long a person looks at each dedication page before pressing Enter:
# the animation takes about 1.3 s, then its last step stays readable.
DEDICATION_SECONDS = 4.0
PAGE_SECONDS = 5.0
# The capture goes on this much past the requested length, because the
# window is seen a little after its first frame.
CAPTURE_MARGIN_SECONDS = 1.5
# The capture has a deadline every 1/FPS s, the builds and tests beside it
# have none: it runs before them.
CAPTURE_NICENESS = -10
# The live capture is encoded quickly and near losslessly; the video itself
# more slowly and smaller.
CAPTURE_ENCODING = ["-c:v", "libx264", "-preset", "ultrafast", "-crf", "10"]
VIDEO_ENCODING = ["-c:v", "libx264", "-preset", "fast", "-crf", "23", "-pix_fmt", "yuv420p", "-r", str(FPS),
                  "-c:a", "aac", "-b:a", "160k", "-ac", "2", "-movflags", "+faststart"]


def music_of(exe, number):
    """The bytes of the program file's WAVE resource of that number, a RIFF
    WAVE file."""
    program = pefile.PE(exe, fast_load=True)
    program.parse_data_directories([pefile.DIRECTORY_ENTRY["IMAGE_DIRECTORY_ENTRY_RESOURCE"]])
    for kind in program.DIRECTORY_ENTRY_RESOURCE.entries:
        if str(kind.name) != "WAVE":
            continue
        for entry in kind.directory.entries:
            if entry.id == number:
                data = entry.directory.entries[0].data.struct
                return program.get_data(data.OffsetToData, data.Size)
    raise LookupError(f"{exe} has no WAVE resource {number}")


def run_ffmpeg(*args):
    result = subprocess.run(["ffmpeg", "-nostdin", "-hide_banner", *args], stdin=subprocess.DEVNULL,
                            capture_output=True, text=True, errors="replace")
    if result.returncode != 0:
        raise RuntimeError(f"ffmpeg {' '.join(args)}:\n{result.stderr}")
    return result.stderr


class Capture:
    """ffmpeg filming the whole virtual display at FPS frames a second, each
    slot of 1/FPS s filled with the latest grab: a slot without a fresh grab
    repeats a frame, a grab that finds its slot taken is dropped."""

    def __init__(self, display, size, path, log_path):
        self.progress = {}
        self.log_path = log_path
        self.process = subprocess.Popen(
            ["ffmpeg", "-hide_banner", "-y", "-progress", "pipe:1", "-f", "x11grab", "-draw_mouse", "0",
             "-framerate", str(FPS), "-video_size", size, "-i", display, "-fps_mode", "cfr", "-r", str(FPS),
             *CAPTURE_ENCODING, path],
            stdin=subprocess.PIPE, stdout=subprocess.PIPE, stderr=open(log_path, "w"), text=True,
            preexec_fn=lambda: os.nice(CAPTURE_NICENESS))
        self.reader = threading.Thread(target=self._read_progress, daemon=True)
        self.reader.start()
        if not poll(lambda: int(self.progress.get("frame", 0)) > 0 or self.process.poll() is not None, 60):
            raise RuntimeError("the screen capture did not start")
        if self.process.poll() is not None:
            raise RuntimeError(f"the screen capture failed:\n{self.log()}")

    def _read_progress(self):
        for line in self.process.stdout:
            key, _, value = line.strip().partition("=")
            self.progress[key] = value

    def log(self):
        with open(self.log_path, errors="replace") as log:
            return log.read()

    def stop(self):
        """Ends the capture; returns the calendar time of its first frame and
        its frame, repeated and dropped counts."""
        self.process.stdin.write("q")
        self.process.stdin.close()
        if self.process.wait(timeout=120) != 0:
            raise RuntimeError(f"the screen capture failed:\n{self.log()}")
        self.reader.join(timeout=10)
        # The grabber stamps its frames with the calendar time.
        started = float(re.search(r"x11grab, from .*\n.*start: ([0-9.]+)", self.log()).group(1))
        return started, tuple(int(self.progress.get(key, 0)) for key in ("frame", "dup_frames", "drop_frames"))


def first_window_frame(capture, origin):
    """Time in the capture of the first frame whose client area is black, as
    the window is from its first frame on; before it the display is white
    (the console window that comes first is smaller)."""
    x, y = origin
    said = run_ffmpeg("-i", capture, "-t", "60", "-vf",
                      f"crop={WIDTH}:{HEIGHT}:{x}:{y},blackframe=amount=90:threshold=32", "-f", "null", "-")
    found = re.search(r"blackframe.*? t:([0-9.]+)", said)
    if not found:
        raise RuntimeError("the capture never shows the window")
    return float(found.group(1))


def duration_of(path):
    shown = subprocess.run(["ffprobe", "-v", "error", "-show_entries", "format=duration", "-of", "json", path],
                           capture_output=True, text=True, check=True).stdout
    return float(json.loads(shown)["format"]["duration"])


def client_origin(x_window):
    """Where the client area is on the display: the frame has the same width
    on the left, the right and the bottom, and the title bar above."""
    said = subprocess.run(["xwininfo", "-id", x_window], capture_output=True, text=True, check=True).stdout
    field = lambda name: int(re.search(rf"{name}:\s+(-?\d+)", said).group(1))
    border = (field("Width") - WIDTH) // 2
    return field("Absolute upper-left X") + border, field("Absolute upper-left Y") + field("Height") - HEIGHT - border


def prompt_origin(x_window, y):
    """The client area's origin once the yellow ">Enter" prompt shows at
    (500, y) of it, else None. The origin is read again each time: a window
    that has just appeared may still be moving into its place."""
    origin = client_origin(x_window)
    return origin if Screenshot().count(origin[0] + 500, origin[1] + y, 120, 30, yellow) > 10 else None


def press(program, key):
    """Types a key into the program's window, given the keyboard through the
    X server: the probe that asks Windows is a test program, not built
    for a recording."""
    program.give_keyboard()
    program.send_keys(key)


def play_and_film(exe, seconds, capture_path, log_path):
    """Runs the greeting as a person would while the display is filmed: Enter
    once the dedication has been readable for a while, again once the page
    has. Returns the client area's origin on the display, the calendar times
    of the two Enter presses, and the capture's start and figures."""
    display = os.environ["DISPLAY"]
    size = "x".join(str(v) for v in screen_size(display))
    capture = Capture(display, size, capture_path, log_path)
    program = Program(exe, console=True)
    try:
        program.x_window = poll(program.find_x_window, 120, 0.02)
        if not program.x_window:
            raise RuntimeError("the graphics window did not appear")
        shown = time.time()
        presses = []
        for prompt_row, after in ((DEDICATION_PROMPT_ROW, shown + DEDICATION_SECONDS), (PAGE_PROMPT_ROW, None)):
            origin = poll(lambda: prompt_origin(program.x_window, prompt_row), 120, 0.2)
            if not origin:
                # What the display showed instead, beside the program file.
                shot = os.path.join(os.path.dirname(os.path.abspath(exe)), "record-failure.png")
                Screenshot(shot)
                raise RuntimeError(f"no >Enter prompt at row {prompt_row} of the client area at "
                                   f"{client_origin(program.x_window)}; the display is in {shot}")
            after = after or time.time() + PAGE_SECONDS
            time.sleep(max(0.0, after - time.time()))
            press(program, "Return")
            presses.append(time.time())
        time.sleep(max(0.0, shown + seconds + CAPTURE_MARGIN_SECONDS - time.time()))
        started, figures = capture.stop()
        # The person ends the show with a key, after the filming.
        press(program, "space")
        exit_code = program.wait_exit(30)
        if exit_code != 0:
            raise RuntimeError(f"the program did not end with exit code 0 after a key ({exit_code})")
    finally:
        if capture.process.poll() is None:
            capture.process.kill()
        program.kill()
    return origin, presses, started, figures


def main():
    exe, output, seconds = sys.argv[1], sys.argv[2], float(sys.argv[3])
    started = time.monotonic()
    with tempfile.TemporaryDirectory(prefix="fireworks-record-") as work:
        music = os.path.join(work, "music.wav")
        with open(music, "wb") as f:
            f.write(music_of(exe, MUSIC_RESOURCE))
        capture = os.path.join(work, "capture.mkv")
        origin, presses, capture_started, (frames, repeated, dropped) = play_and_film(
            exe, seconds, capture, os.path.join(work, "capture.log"))
        start = first_window_frame(capture, origin)
        if duration_of(capture) < start + seconds:
            raise RuntimeError(f"the capture holds {duration_of(capture) - start:.1f} s of the window, not {seconds}")
        enter_times = [press - capture_started - start for press in presses]
        # Written beside the video under another name and renamed when
        # complete: a failed run leaves no partial video.
        partial = os.path.join(os.path.dirname(output), "." + os.path.basename(output) + ".part")
        try:
            run_ffmpeg("-loglevel", "error", "-y", "-ss", f"{start:.3f}", "-i", capture, "-stream_loop", "-1",
                       "-i", music, "-map", "0:v", "-map", "1:a", "-t", f"{seconds:.3f}",
                       "-vf", f"crop={WIDTH}:{HEIGHT}:{origin[0]}:{origin[1]}", *VIDEO_ENCODING, "-f", "mp4",
                       partial)
            os.replace(partial, output)
        finally:
            if os.path.exists(partial):
                os.remove(partial)
    print(output)
    print(f"  duration: {duration_of(output):.2f} s, size: {os.path.getsize(output) / 1e6:.1f} MB")
    print(f"  live capture: {frames} frames at {FPS} fps, {repeated} repeated and {dropped} dropped "
          f"({100.0 * (repeated + dropped) / max(frames, 1):.2f} %)")
    print(f"  Enter pressed at {enter_times[0]:.1f} s and {enter_times[1]:.1f} s of the video")
    print(f"  recorded in {time.monotonic() - started:.0f} s")


if __name__ == "__main__":
    main()
