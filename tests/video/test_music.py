"""The program plays its music as a sound device receives it: a sound server
of the test's own with a null sink, Wine's PulseAudio driver playing into it
and its monitor recorded. The music (the program file's WAVE resource 108)
starts when the window opens and still plays after it has looped once.

    test_music.py EXE WORK"""

import os
import pathlib
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
# Heard beyond the loop's end, so that the start of the music's second time
# is in the recording even when it comes late (below).
AFTER_WRAP_SECONDS = 25
# Stretches of the music looked for in the recording: a quarter of a second
# from every half second of the music's first seconds, from the start and
# after the wrap. A machine as busy as the test machine can be leaves the
# sound server without data now and then: the music arrives with short gaps
# that add up to a few seconds by the music's first seconds, so a stretch
# may be heard up to 4 s late there, and to 10 s late by the loop's end.
STRETCH = 0.25
SECONDS_HEARD = [1 + 0.5 * n for n in range(14)]
LATE = 4.0
# A stretch with a gap in it still correlates above 0.8 with the music;
# the music's other pass at the same place in its bar, about 0.5.
HEARD = 0.8


def music_start(heard, music, earliest, latest):
    """The recording's time of the music's start, from the first of its
    early stretches heard well for a start between `earliest` and `latest`
    (give or take half a second), or None."""
    middle, half = (earliest + latest) / 2, (latest - earliest) / 2 + 0.5
    for second in (0.5, 1.0, 1.5, 2.0, 2.5, 3.0):
        score, at = find_music(heard, music, second, middle + second, half, STRETCH)
        if score > 0.9:
            return at - second
    return None


def stretches_heard(heard, music, first, late):
    """How many of the stretches of SECONDS_HEARD sound in the recording, the
    music's start due at `first` s, each between half a second early and
    `late` seconds late."""
    return sum(find_music(heard, music, second, first + second + late / 2 - 0.25, late / 2 + 0.25,
                          STRETCH)[0] > HEARD for second in SECONDS_HEARD)


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
    recording, log_path = os.path.join(work, "heard.wav"), pathlib.Path(work, "heard.log")
    listener = subprocess.Popen(["ffmpeg", "-hide_banner", "-y", "-f", "pulse", "-i", "greeting.monitor", "-ac", "2",
                                 "-ar", str(RATE), recording], stdin=subprocess.PIPE, stdout=subprocess.DEVNULL,
                                stderr=open(log_path, "w"))
    music = program_music(program_file, work)
    loop = len(music) / RATE
    program = None
    try:
        # The program starts once the sound is being recorded: on a busy
        # machine ffmpeg takes seconds to open its input.
        assert poll(lambda: "start:" in log_path.read_text(), 60, 0.1), "ffmpeg did not start recording the sound"
        launched = time.time()
        program = Program(program_file, console=True)
        assert poll(program.find_x_window, 120, 0.02), "the graphics window did not appear"
        opened = time.time()
        time.sleep(loop + AFTER_WRAP_SECONDS)
        listener.communicate(b"q", timeout=60)
    finally:
        if program:
            program.kill()
        if listener.poll() is None:
            listener.kill()
        sound.stop()
        subprocess.run(["bash", f"{SCRIPTS}/test-display.sh", "stop", display])
    # The grabber stamps the sound with the calendar time.
    heard_from = float(re.search(r"pulse, from .*\n.*start: ([0-9.]+)", log_path.read_text()).group(1))
    heard = mono_sound(recording)
    launched_at, opened_at = launched - heard_from, opened - heard_from
    failures = []
    # The window is seen on the display a moment after the program opens it,
    # on a busy machine a few seconds: the music starts after the launch and
    # no later than shortly after the window shows.
    earliest, latest = launched_at - 0.2, opened_at + 2.0
    start = music_start(heard, music, earliest, latest)
    print(f"launched at {launched_at:.2f} s and the window seen at {opened_at:.2f} s of the recording; "
          f"the music starts at {start} s")
    if start is None or not earliest <= start <= latest:
        failures.append("the music does not start when the window opens")
    else:
        for name, first, late in (("from the start", start, LATE),
                                  ("after it loops", start + loop, len(heard) / RATE - start - loop - 8)):
            heard_well = stretches_heard(heard, music, first, late)
            print(f"{name}: {heard_well} of {len(SECONDS_HEARD)} stretches heard")
            if heard_well < len(SECONDS_HEARD) // 2:
                failures.append(f"the music does not play {name}")
    for failure in failures:
        print("FAIL " + failure)
    sys.exit(1 if failures else 0)


if __name__ == "__main__":
    main()
