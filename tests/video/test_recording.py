"""The video record.sh makes of a short greeting to 小明: its streams, what
its frames show at known times (the dedication moving, the page's lines at
their rows, fireworks), and its sound, the program's music from the first
frame on."""

import os
import re
import sys

import numpy

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "e2e"))
from harness import burst_like, yellow  # noqa: E402
from media import RATE, find_music, frame_at, mono_sound, program_music, streams_of  # noqa: E402
from recorder import record, tree_of, videos_in  # noqa: E402

SECONDS = 30
# The rows of the page's lines and where they begin: the eight lines, the
# wish and the prompt.
PAGE_ROWS = [(150 + 50 * n, 200) for n in range(8)] + [(550, 500), (650, 500)]
failures = []


def check(condition, message):
    if not condition:
        failures.append(message)


def mask(predicate, frame):
    """Where in the frame the screenshot tests' colour predicate holds."""
    return numpy.vectorize(predicate)(frame[..., 0], frame[..., 1], frame[..., 2])


def centre(where):
    ys, xs = where.nonzero()
    return (xs.mean(), ys.mean()) if len(xs) else None


def check_streams(video):
    found = streams_of(video)
    streams = {stream["codec_type"]: stream for stream in found["streams"]}
    picture, sound = streams.get("video", {}), streams.get("audio", {})
    check((picture.get("codec_name"), picture.get("width"), picture.get("height"), picture.get("pix_fmt")) ==
          ("h264", 1200, 800, "yuv420p"), f"video stream {picture}")
    check(picture.get("avg_frame_rate") == "30/1", f"frame rate {picture.get('avg_frame_rate')}")
    check((sound.get("codec_name"), sound.get("channels")) == ("aac", 2), f"audio stream {sound}")
    duration = float(found["format"]["duration"])
    check(abs(duration - SECONDS) <= 1, f"{duration} s long, {SECONDS} s asked for")
    with open(video, "rb") as f:
        head = f.read(1 << 16)
    # Streamable from its start: the index comes before the pictures.
    check(0 <= head.find(b"moov") < head.find(b"mdat") or b"mdat" not in head and b"moov" in head,
          "the index (moov) does not come first")


def check_frames(video, enter_times):
    # Each animation step clears the window before it writes: a frame may
    # catch it empty.
    centres = [centre(mask(yellow, frame_at(video, t / 10)[::2, ::2])) for t in range(2, 12, 2)]
    seen = [c for c in centres if c]
    check(len(seen) >= 2 and max(abs(a[0] - b[0]) + abs(a[1] - b[1]) for a in seen for b in seen) > 10,
          f"no moving dedication in its first second: yellow centred at {centres}")
    # The recorder pressed the second Enter only once the page had been shown.
    page = mask(yellow, frame_at(video, enter_times[1] - 0.5))
    for row, left in PAGE_ROWS:
        inked = page[row:row + 30].any(axis=0).nonzero()[0]
        check(len(inked) > 0 and left <= inked[0] <= left + 160, f"no page line at row {row} from x {left}")
        # Lines of 25-pixel text, 50 pixels apart.
        check(not page[row + 32:row + 48].any(), f"yellow between the lines below row {row}")
    check(not page[:140].any(), "yellow above the page")
    bursts = mask(burst_like, frame_at(video, SECONDS - 1)).sum()
    check(bursts > 2000, f"only {bursts} burst pixels at the end")


def check_sound(video, work):
    music = program_music(os.path.join(tree_of(work), "fireworks.exe"), work)
    sound = mono_sound(video)
    check(len(sound) >= (SECONDS - 1) * RATE, f"{len(sound) / RATE:.1f} s of sound")
    score, start = find_music(sound, music, 0.0, 0.0, 1.0)
    check(score > 0.9 and abs(start) <= 0.2, f"the music's start found at {start} s (correlation {score:.2f})")
    score, at = find_music(sound, music, 20.0, 20.0, 1.0)
    check(score > 0.9 and abs(at - 20.0) <= 0.2, f"the music's 20th second found at {at} s (correlation {score:.2f})")


def main():
    work = sys.argv[1]
    dist = os.path.join(work, "dist")
    for old in videos_in(dist):
        os.remove(old)
    code, output, errors = record(work, dist, "--recipient", "小明", "--seconds", str(SECONDS))
    print(output)
    if code != 0:
        print(errors)
        sys.exit(1)
    video = output.splitlines()[0]
    check(videos_in(dist) == [video] and video.endswith("-小明.mp4"), f"videos {videos_in(dist)}, printed {video}")
    check(re.search(r"duration: 30\.\d+ s, size: [0-9.]+ MB", output), "no duration and size printed")
    enter_times = [float(t) for t in re.search(r"Enter pressed at ([0-9.]+) s and ([0-9.]+) s", output).groups()]
    with open(os.path.join(tree_of(work), "fireworks.exe"), "rb") as program:
        check("美丽的小明！".encode("gbk") in program.read(), "the program filmed is not the one for 小明")
    check_streams(video)
    check_frames(video, enter_times)
    check_sound(video, work)


if __name__ == "__main__":
    main()
    for failure in failures:
        print("FAIL " + failure)
    print("video checks: " + ("failed" if failures else "passed"))
    sys.exit(1 if failures else 0)
