"""The program plays its music as a sound device receives it: a sound server
of the test's own with a null sink, Wine's PulseAudio driver playing into it
and its monitor recorded. The music (the program file's WAVE resource 108)
starts when the window opens and still plays after it has looped once.

    test_music.py EXE WORK"""

import os
import re
import shutil
import subprocess
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "e2e"))
from harness import Program, poll  # noqa: E402
from media import RATE, find_music, mono_sound, program_music  # noqa: E402

SOURCE_DIR = os.environ["FIREWORKS_SOURCE_DIR"]
SCRIPTS = os.path.join(SOURCE_DIR, "scripts")
# Heard beyond the loop's end, so that a stretch after the wrap is in the recording.
AFTER_WRAP_SECONDS = 8


def free_display():
    return subprocess.run(["bash", "-c", f"source {SCRIPTS}/common.sh; free_display"], capture_output=True,
                          text=True, check=True).stdout.strip()


class SoundServer:
    """A PulseAudio server of its own in `runtime`, with one null sink."""

    def __init__(self, runtime):
        os.makedirs(runtime, mode=0o700, exist_ok=True)
        self.env = {"XDG_RUNTIME_DIR": runtime, "PULSE_SERVER": f"unix:{runtime}/pulse/native"}
        self.process = subprocess.Popen(
            ["pulseaudio", "--daemonize=no", "--exit-idle-time=-1", "--disallow-exit", "-n",
             "--load=module-null-sink sink_name=greeting", "--load=module-native-protocol-unix auth-anonymous=1"],
            env=dict(os.environ, **self.env), stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
            stderr=subprocess.DEVNULL)
        ready = lambda: subprocess.run(["pactl", "info"], env=dict(os.environ, **self.env),
                                       capture_output=True).returncode == 0
        if not poll(ready, 30, 0.2):
            raise AssertionError("the sound server did not start")

    def stop(self):
        self.process.terminate()
        self.process.wait(timeout=30)


def main():
    exe, work = sys.argv[1], sys.argv[2]
    os.makedirs(work, exist_ok=True)
    # A name of its own: the window is this run's, whatever else runs.
    program_file = os.path.join(work, "fireworks-music.exe")
    shutil.copy2(exe, program_file)
    prefix = os.path.join(work, "prefix")
    subprocess.run(["bash", "-c", f'source {SCRIPTS}/common.sh; prepare_prefix "$WINE64" "$1" win64', "-", prefix],
                   check=True)
    display = free_display()
    own = {"DISPLAY": display, "WINEPREFIX": prefix, "WINEARCH": "win64"}
    os.environ.update(own)
    subprocess.run(["bash", f"{SCRIPTS}/test-display.sh", "start", display], check=True)
    sound = SoundServer(os.path.join(work, "runtime"))
    os.environ.update(sound.env)
    recording, log_path = os.path.join(work, "heard.wav"), os.path.join(work, "heard.log")
    listener = subprocess.Popen(["ffmpeg", "-hide_banner", "-y", "-f", "pulse", "-i", "greeting.monitor", "-ac", "2",
                                 "-ar", str(RATE), recording], stdin=subprocess.PIPE, stdout=subprocess.DEVNULL,
                                stderr=open(log_path, "w"))
    program = Program(program_file, console=True)
    music = program_music(program_file, work)
    loop = len(music) / RATE
    try:
        title = os.path.splitext(os.path.basename(program_file))[0]
        assert poll(lambda: program._x_window(title), 120, 0.02), "the graphics window did not appear"
        opened = time.time()
        time.sleep(loop + AFTER_WRAP_SECONDS)
        listener.communicate(b"q", timeout=60)
    finally:
        program.kill()
        if listener.poll() is None:
            listener.kill()
        sound.stop()
        subprocess.run(["bash", f"{SCRIPTS}/test-display.sh", "stop", display])
    with open(log_path) as log:
        # The grabber stamps the sound with the calendar time.
        heard_from = float(re.search(r"pulse, from .*\n.*start: ([0-9.]+)", log.read()).group(1))
    heard = mono_sound(recording)
    opened_at = opened - heard_from
    failures = []
    # The music from its first second on, found near the window's opening.
    score, at = find_music(heard, music, 1.0, opened_at + 1.0, 3.0)
    start = at - 1.0 if at is not None else None
    print(f"window opened at {opened_at:.2f} s of the recording; the music starts at {start} s "
          f"(correlation {score:.2f})")
    if score < 0.9 or not opened_at - 1.5 <= start <= opened_at + 1.0:
        failures.append("the music does not start when the window opens")
    else:
        score, at = find_music(heard, music, 2.0, start + loop + 2.0, 1.0)
        print(f"after the wrap: second 2 of the music at {at} s (correlation {score:.2f}, {loop:.1f} s loop)")
        if score < 0.5:
            failures.append("the music does not play on after it loops")
    for failure in failures:
        print("FAIL " + failure)
    sys.exit(1 if failures else 0)


if __name__ == "__main__":
    main()
