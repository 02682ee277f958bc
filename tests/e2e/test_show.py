"""The greeting as a person sees it: the dedication swinging and growing on
its circle, the page of text, then rockets and bursts, and twenty seconds
later bursts along the heart."""

import os
import subprocess
import statistics
import time

from harness import DEDICATION_PROMPT_ROW, Program, Screenshot, burst_like, poll, run_cases, screen_size, yellow

# The heart's twelve distinct burst centres (fireworks 0 and 12 share the bottom point).
HEART = [(610, 650), (760, 530), (920, 400), (1010, 220), (960, 50), (760, 40), (610, 200), (460, 40),
         (260, 50), (160, 220), (260, 400), (420, 530)]


class Client:
    """A screenshot seen in the window's client coordinates."""

    def __init__(self, program, shot=None):
        self.origin = program.client_origin()
        self.shot = shot or Screenshot()

    def count(self, left, top, width, height, predicate, step=1):
        x, y = self.origin
        left, top = max(left, 0), max(top, 0)
        width, height = min(width, 1200 - left), min(height, 800 - top)
        return self.shot.count(x + left, y + top, width, height, predicate, step)

    def bounds(self, predicate, step=2, height=800):
        """Where in the client area, above the given row, the predicate
        holds, as (left, top, right, bottom), or None."""
        xs, ys = [], []
        ox, oy = self.origin
        for y in range(0, height, step):
            for x in range(0, 1200, step):
                if predicate(*self.shot.pixel(ox + x, oy + y)):
                    xs.append(x)
                    ys.append(y)
        if not xs:
            return None
        return min(xs), min(ys), max(xs), max(ys)


def page_lines_shown(client):
    """The eight lines from (200, 150) every 50 pixels, the wish and the prompt."""
    missing = []
    for n in range(8):
        if client.count(200, 150 + 50 * n, 1000, 25, yellow, 2) < 20:
            missing.append(f"line {n + 1}")
    if client.count(500, 550, 700, 25, yellow, 2) < 20:
        missing.append("wish")
    if client.count(500, 650, 120, 25, yellow, 1) < 10:
        missing.append(">Enter")
    if client.count(0, 0, 1200, 140, yellow, 2) > 0:
        missing.append("nothing above the first line")
    return missing


class ScreenFilm:
    """The screen filmed by ffmpeg from before the program starts: a short
    animation is seen in many frames however busy the machine, where
    screenshots taken one by one (a process each) can all come after it."""

    RATE = 20

    def __init__(self):
        display = os.environ["DISPLAY"]
        self.width, self.height = screen_size(display)
        self.frame_bytes = self.width * self.height * 3
        # Every frame a grab of its own: at a steady rate ffmpeg would repeat
        # frames to make up for time it lost while the screen moved on.
        self.ffmpeg = subprocess.Popen(
            ["ffmpeg", "-loglevel", "error", "-f", "x11grab", "-draw_mouse", "0", "-framerate", str(self.RATE),
             "-video_size", f"{self.width}x{self.height}", "-i", display, "-fps_mode", "vfr",
             "-f", "rawvideo", "-pix_fmt", "rgb24", "-"], stdin=subprocess.DEVNULL, stdout=subprocess.PIPE)

    def frame(self):
        data = self.ffmpeg.stdout.read(self.frame_bytes)
        if len(data) < self.frame_bytes:
            raise AssertionError("ffmpeg stopped filming the screen")
        return Screenshot.of_rgb(self.width, self.height, data)

    def frames_from_first(self, predicate, seconds, timeout=60):
        """The frames filmed from the first one in which the predicate holds
        somewhere (looked for in every eighth pixel) until `seconds` later."""
        deadline = time.monotonic() + timeout
        while time.monotonic() < deadline:
            first = self.frame()
            if first.count(0, 0, self.width, self.height, predicate, 8):
                frames, until = [first], time.monotonic() + seconds
                while time.monotonic() < until:
                    frames.append(self.frame())
                return frames
        raise AssertionError(f"nothing of the colour looked for in {timeout} s of film")

    def stop(self):
        self.ffmpeg.kill()
        self.ffmpeg.wait(timeout=30)
        self.ffmpeg.stdout.close()


def dedication_moves_and_grows_then_the_page_shows(exe):
    # The animation lasts about 1.3 s and starts before the window can be
    # found: film the screen from before the start.
    film = ScreenFilm()
    program = Program(exe, console=True)
    try:
        try:
            frames = film.frames_from_first(yellow, 4)
        finally:
            film.stop()
        program.wait_window()
        # The animation's text, above the prompt that follows it. Frames
        # between two of its steps repeat a box.
        boxes = [Client(program, frame).bounds(yellow, 3, DEDICATION_PROMPT_ROW - 10) for frame in frames]
        boxes = [box for n, box in enumerate(boxes) if box and (n == 0 or box != boxes[n - 1])]
        assert len(boxes) >= 4, f"the animation was seen in {len(boxes)} frames only"
        # A frame filmed while the window was being drawn holds part of a
        # step: halves are judged by their medians, not by single boxes.
        heights = [box[3] - box[1] for box in boxes]
        half = len(boxes) // 2
        early, late = statistics.median(heights[:half]), statistics.median(heights[half:])
        assert late >= early + 6, f"the text did not grow ({early} then {late} px high): {boxes}"
        # Along its circle of radius 180 the text's corner travels far;
        # growing alone moves it by a few pixels.
        lefts, tops = [box[0] for box in boxes], [box[1] for box in boxes]
        assert max(lefts) - min(lefts) > 100 and max(tops) - min(tops) > 100, f"the text did not move: {boxes}"
        final = Client(program)
        # At the last step the circle point is (436, 273): the first line starts at x 306.
        assert final.count(300, 268, 140, 60, yellow, 2) > 10, "the first line is not at its last place"
        assert final.count(430, 368, 200, 60, yellow, 2) > 10, "the second line is not at its last place"
        assert final.count(500, 550, 120, 60, yellow, 1) > 10, "no >Enter prompt"
        program.key("Return")
        page = poll(lambda: (client := Client(program)).count(500, 650, 120, 25, yellow) > 10 and client, 10, 0.2)
        assert page, "the page of text did not appear"
        missing = page_lines_shown(page)
        assert not missing, f"page of text: {missing}"
        program.key("Return")
        assert program.end_show() == 0
    finally:
        program.kill()


def heart_centres_lit(client):
    return [centre for centre in HEART
            if client.count(centre[0] - 35, centre[1] - 35, 70, 70, burst_like, 2) >= 15]


def rockets_and_bursts_then_the_heart(exe):
    program = Program(exe, console=True)
    try:
        program.wait_window()
        program.pass_dedication()
        second_enter = time.monotonic()
        assert program.wait_for_show(), "no bursts after the second Enter"
        # Random bursts are wide and light some of the heart's centres at
        # any time; the volley lights all of them at once. Its timer starts
        # once the program has read the second Enter, so never sooner than
        # 20 s after it; a slow machine's rockets take longer to rise.
        best = []
        while time.monotonic() < second_enter + 60.0:
            lit = heart_centres_lit(Client(program))
            seen = time.monotonic()
            if len(lit) == len(HEART):
                assert seen >= second_enter + 20.0, \
                    f"the heart burst {seen - second_enter:.1f} s after the second Enter"
                break
            best = max(best, lit, key=len)
            time.sleep(0.3)
        else:
            raise AssertionError(f"the heart never burst: at most {len(best)} of its centres lit at once, {best}")
        assert program.end_with_key() == 0
    finally:
        program.kill()


def page_reads_the_same_under_an_english_locale(exe):
    masks = []
    for lang in ("zh_CN.UTF-8", "en_US.UTF-8"):
        program = Program(exe, console=True, env={"LANG": lang, "LC_ALL": lang})
        try:
            program.wait_window()
            program.key("Return")
            page = poll(lambda: (c := Client(program)).count(500, 650, 120, 25, yellow) > 10 and c, 10, 0.2)
            assert page, f"no page of text under {lang}"
            time.sleep(0.3)
            page = Client(program)
            masks.append({(x, y) for y in range(150, 580, 2) for x in range(200, 1200, 2)
                          if yellow(*page.shot.pixel(page.origin[0] + x, page.origin[1] + y))})
            program.key("Return")
            assert program.end_show() == 0
        finally:
            program.kill()
    chinese, english = masks
    overlap = len(chinese & english) / max(1, len(chinese | english))
    assert overlap > 0.9, f"the page differs under an English locale (overlap {overlap:.2f})"


if __name__ == "__main__":
    run_cases([dedication_moves_and_grows_then_the_page_shows, rockets_and_bursts_then_the_heart,
               page_reads_the_same_under_an_english_locale])
