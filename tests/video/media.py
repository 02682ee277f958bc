"""What the video tests read from videos, recordings and the program file:
frames as RGB, sound as numbers, and where a stretch of the program's music
is found in a recording."""

import json
import os
import subprocess
import sys

import numpy

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "scripts"))
from record import HEIGHT, WIDTH, music_of  # noqa: E402

RATE = 44100


def streams_of(path):
    shown = subprocess.run(["ffprobe", "-v", "error", "-show_streams", "-show_format", "-of", "json", path],
                           capture_output=True, text=True, check=True).stdout
    return json.loads(shown)


def frame_at(path, seconds):
    """The video's frame at that time: rows of (r, g, b) bytes."""
    rgb = subprocess.run(["ffmpeg", "-v", "error", "-ss", f"{seconds:.3f}", "-i", path, "-frames:v", "1",
                          "-f", "rawvideo", "-pix_fmt", "rgb24", "-"], capture_output=True, check=True).stdout
    return numpy.frombuffer(rgb, numpy.uint8).reshape(HEIGHT, WIDTH, 3).astype(int)


def mono_sound(path):
    """The sound of a media file as mono samples at RATE, each in -1..1, the
    first at the file's time 0 (a sound that starts later begins with silence)."""
    pcm = subprocess.run(["ffmpeg", "-v", "error", "-i", path, "-vn", "-af", "aresample=async=1:first_pts=0",
                          "-f", "s16le", "-ac", "1", "-ar", str(RATE), "-"], capture_output=True, check=True).stdout
    return numpy.frombuffer(pcm, numpy.int16) / 32768.0


def program_music(exe, work):
    """The program file's music, its WAVE resource 108, as mono samples."""
    path = os.path.join(work, "music.wav")
    with open(path, "wb") as f:
        f.write(music_of(exe, 108))
    return mono_sound(path)


def find_music(recorded, music, music_at, around, search, window=3.0):
    """Where in the recording `window` seconds of the music from `music_at` on
    sound best, looked for within `search` seconds of `around` (all in
    seconds): (correlation, the recording's time of music_at)."""
    reference = music[int(music_at * RATE):int((music_at + window) * RATE)]
    first = max(0, int((around - search) * RATE))
    stretch = recorded[first:int((around + search + window) * RATE)]
    if len(stretch) < len(reference):
        return 0.0, None
    size = 1 << (len(stretch) + len(reference)).bit_length()
    products = numpy.fft.irfft(numpy.fft.rfft(stretch, size) * numpy.conj(numpy.fft.rfft(reference, size)), size)
    products = products[:len(stretch) - len(reference) + 1]
    energy = numpy.concatenate(([0.0], numpy.cumsum(stretch * stretch)))
    norms = numpy.sqrt(energy[len(reference):] - energy[:-len(reference)]) * numpy.linalg.norm(reference)
    scores = products / numpy.maximum(norms, 1e-9)
    best = int(numpy.argmax(scores))
    return float(scores[best]), (first + best) / RATE
