"""Plays the whole greeting in the virtual display as a person would and
keeps what the screen showed: PNG frames and an animated GIF."""

import os
import subprocess
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(__file__), "..", "tests", "e2e"))
from harness import Program, Screenshot  # noqa: E402


def main():
    exe, out = sys.argv[1], sys.argv[2]
    frames_dir = os.path.join(out, "frames")
    os.makedirs(frames_dir, exist_ok=True)
    for old in os.listdir(frames_dir):
        os.remove(os.path.join(frames_dir, old))
    program = Program(exe, console=True)
    frames = []

    def capture(label):
        path = os.path.join(frames_dir, f"{len(frames):03d}-{label}.png")
        Screenshot(path)
        x, y = program.client_origin()
        subprocess.run(["convert", path, "-crop", f"1200x800+{x}+{y}", "+repage", path], check=True)
        frames.append(path)

    def film(label, seconds, every=0.4):
        end = time.monotonic() + seconds
        while time.monotonic() < end:
            capture(label)
            time.sleep(every)

    try:
        program.wait_window()
        film("dedication", 2.0, 0.2)
        program.key("Return")
        film("page", 1.5)
        program.key("Return")
        film("show", 26.0, 0.5)
        program.key("space")
        code = program.wait_exit(10)
    finally:
        program.kill()

    gif = os.path.join(out, "greeting.gif")
    subprocess.run(["convert", "-delay", "40", "-loop", "0", *frames, "-resize", "600x400", gif], check=True)
    print(f"exit code: {code}")
    print(f"screenshots: {os.path.abspath(frames_dir)} ({len(frames)} frames)")
    print(f"animation:   {os.path.abspath(gif)}")


if __name__ == "__main__":
    main()
