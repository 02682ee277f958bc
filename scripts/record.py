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

import pefile

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "e2e"))
from harness import Program, poll, xdotool  # noqa: E402

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
# The live capture is encoded quickly and near losslessly; the video itself
# more slowly and smaller.
CAPTURE_ENCODING = ["-c:v", "libx264", "-preset", "ultrafast", "-crf", "10"]
VIDEO_ENCODING = ["-c:v", "libx264", "-preset", "fast", "-crf", "23", "-pix_fmt", "yuv420p", "-r", str(FPS),
                  "-c:a", "aac", "-b:a", "160k", "-ac", "2", "-movflags", "+faststart"]


def music_of(exe):
    """The bytes of the program file's WAVE resource 108, a RIFF WAVE file."""
    program = pefile.PE(exe, fast_load=True)
    program.parse_data_directories([pefile.DIRECTORY_ENTRY["IMAGE_DIRECTORY_ENTRY_RESOURCE"]])
    for kind in program.DIRECTORY_ENTRY_RESOURCE.entries:
        if str(kind.name) != "WAVE":
            continue
        for entry in kind.directory.entries:
            if entry.id == MUSIC_RESOURCE:
                data = entry.directory.entries[0].data.struct
                return program.get_data(data.OffsetToData, data.Size)
    raise LookupError(f"{exe} has no WAVE resource {MUSIC_RESOURCE}")


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

    def __init__(self, display, size, path):
        self.progress = {}
        self.process = subprocess.Popen(
            ["ffmpeg", "-hide_banner", "-loglevel", "error", "-y", "-progress", "pipe:1", "-f", "x11grab",
             "-draw_mouse", "0", "-framerate", str(FPS), "-video_size", size, "-i", display,
             "-fps_mode", "cfr", "-r", str(FPS), *CAPTURE_ENCODING, path],
            stdin=subprocess.PIPE, stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True)
        self.reader = threading.Thread(target=self._read_progress, daemon=True)
        self.reader.start()
        if not poll(lambda: int(self.progress.get("frame", 0)) > 0 or self.process.poll() is not None, 30):
            raise RuntimeError("the screen capture did not start")
        if self.process.poll() is not None:
            raise RuntimeError(f"the screen capture failed: {self.process.stderr.read()}")

    def _read_progress(self):
        for line in self.process.stdout:
            key, _, value = line.strip().partition("=")
            self.progress[key] = value

    def stop(self):
        """Ends the capture; returns (frames, repeated, dropped)."""
        self.process.stdin.write("q")
        self.process.stdin.close()
        if self.process.wait(timeout=120) != 0:
            raise RuntimeError(f"the screen capture failed: {self.process.stderr.read()}")
        self.reader.join(timeout=10)
        return tuple(int(self.progress.get(key, 0)) for key in ("frame", "dup_frames", "drop_frames"))


def first_window_frame(capture, origin):
    """Time in the capture of the first frame whose client area is black, as
    the window is from its first frame on; before it the display is white
    (the console window that comes first is smaller)."""
    x, y = origin
    said = run_ffmpeg("-i", capture, "-t", "30", "-vf", f"crop={WIDTH}:{HEIGHT}:{x}:{y},blackframe=amount=90:threshold=32",
                      "-f", "null", "-")
    found = re.search(r"blackframe.*? t:([0-9.]+)", said)
    if not found:
        raise RuntimeError("the capture never shows the window")
    return float(found.group(1))


def duration_of(path):
    shown = subprocess.run(["ffprobe", "-v", "error", "-show_entries", "format=duration", "-of", "json", path],
                           capture_output=True, text=True, check=True).stdout
    return float(json.loads(shown)["format"]["duration"])


def play_and_film(exe, seconds, capture_path):
    """Runs the greeting as a person would while the display is filmed.
    Returns the client area's origin on the display and the capture's figures."""
    display = os.environ["DISPLAY"]
    size = subprocess.run(["xdpyinfo", "-display", display], capture_output=True, text=True,
                          check=True).stdout.split("dimensions:")[1].split()[0]
    title = os.path.splitext(os.path.basename(exe))[0]
    capture = Capture(display, size, capture_path)
    program = Program(exe, console=True)
    try:
        if not poll(lambda: xdotool("search", "--onlyvisible", "--name", f"^{title}$", check=False), 60, 0.02):
            raise RuntimeError("the graphics window did not appear")
        shown = time.monotonic()
        program.wait_window()
        for at in (DEDICATION_SECONDS, DEDICATION_SECONDS + PAGE_SECONDS):
            time.sleep(max(0.0, shown + at - time.monotonic()))
            program.key("Return")
        time.sleep(max(0.0, shown + seconds + CAPTURE_MARGIN_SECONDS - time.monotonic()))
        figures = capture.stop()
        # The person ends the show with a key, after the filming.
        exit_code = program.end_with_key(10)
        if exit_code != 0:
            raise RuntimeError(f"the program did not end with exit code 0 after a key ({exit_code})")
    finally:
        if capture.process.poll() is None:
            capture.process.kill()
        program.kill()
    return program.client_origin(), figures


def main():
    exe, output, seconds = sys.argv[1], sys.argv[2], float(sys.argv[3])
    started = time.monotonic()
    with tempfile.TemporaryDirectory(prefix="fireworks-record-") as work:
        music = os.path.join(work, "music.wav")
        with open(music, "wb") as f:
            f.write(music_of(exe))
        capture = os.path.join(work, "capture.mkv")
        origin, (frames, repeated, dropped) = play_and_film(exe, seconds, capture)
        start = first_window_frame(capture, origin)
        if duration_of(capture) < start + seconds:
            raise RuntimeError(f"the capture holds {duration_of(capture) - start:.1f} s of the window, not {seconds}")
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
    print(f"  recorded in {time.monotonic() - started:.0f} s")


if __name__ == "__main__":
    main()
