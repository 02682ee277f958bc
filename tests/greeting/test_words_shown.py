"""The words a program is built with are the words a person sees: screenshots
of the last dedication step and of the page, from programs built with
FIREWORKS_RECIPIENT=小明 and with an English greeting file, against the
program built with neither."""

import os
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "e2e"))
from harness import DEDICATION_PROMPT_ROW, PAGE_PROMPT_ROW, Program, Screenshot, poll, run_cases, yellow  # noqa: E402
from make_variants import program_of  # noqa: E402

WIDTH, HEIGHT = 1200, 800
# At the last step the circle point is (436, 273) and the text 49 pixels high:
# the first line starts at (306, 273), the second at (436, 373).
FIRST_LINE = (273, 273 + 55)
SECOND_LINE = (373, 373 + 55)
SECOND_LINE_X = 436
PAGE_ROWS = [(150 + 50 * n, 150 + 50 * n + 30) for n in range(8)]
WISH_ROW = (550, 580)


class Screen:
    """The client area of one screenshot."""

    def __init__(self, program):
        shot = Screenshot()
        ox, oy = program.client_origin()
        self.rows = [shot.rgb[((oy + y) * shot.width + ox) * 3:((oy + y) * shot.width + ox + WIDTH) * 3]
                     for y in range(HEIGHT)]

    def pixel(self, x, y):
        return tuple(self.rows[y][x * 3:x * 3 + 3])

    def text_columns(self, top, bottom):
        """The x of the leftmost and rightmost text pixel in rows top..bottom, or None."""
        xs = [x for y in range(top, bottom) for x in range(WIDTH) if yellow(*self.pixel(x, y))]
        return (min(xs), max(xs)) if xs else None

    def differences(self, other, top=0, bottom=HEIGHT):
        return [(x, y) for y in range(top, bottom) if self.rows[y] != other.rows[y]
                for x in range(WIDTH) if self.pixel(x, y) != other.pixel(x, y)]


SEEN = {}


def screens_of(work, variant):
    """The last dedication step and the page, each once its >Enter prompt
    shows; each variant is run once for all the cases."""
    if variant not in SEEN:
        SEEN[variant] = run_variant(work, variant)
    return SEEN[variant]


def run_variant(work, variant):
    program = Program(program_of(work, variant), console=True)
    try:
        program.wait_window()
        assert poll(lambda: program.prompt_shown(DEDICATION_PROMPT_ROW), 15, 0.2), f"{variant}: no prompt after the dedication"
        dedication = Screen(program)
        program.key("Return")
        assert poll(lambda: program.prompt_shown(PAGE_PROMPT_ROW), 10, 0.2), f"{variant}: no page of text"
        page = Screen(program)
        program.key("Return")
        assert program.end_show() == 0, f"{variant}: the show did not end with exit code 0"
    finally:
        program.kill()
    return dedication, page


def the_recipient_takes_the_place_of_xxx(work):
    default_dedication, default_page = screens_of(work, "default")
    dedication, page = screens_of(work, "recipient")
    changed = dedication.differences(default_dedication)
    assert changed, "the dedication to 小明 looks like the one to XXX"
    # "美丽的" (three characters of 44 pixels) stays; only what follows differs.
    outside = [(x, y) for x, y in changed if not (SECOND_LINE[0] <= y < SECOND_LINE[1] and x >= SECOND_LINE_X + 3 * 44)]
    assert not outside, f"{len(outside)} pixels differ outside the name, first {outside[:5]}"
    default_right = default_dedication.text_columns(*SECOND_LINE)[1]
    right = dedication.text_columns(*SECOND_LINE)[1]
    # "小明" is two characters of 44 pixels where "XXX" was three letters of
    # 20 to 24 (six bytes of UTF-8 read as GBK would be three characters).
    assert 2 * 44 - 3 * 24 <= right - default_right <= 2 * 44 - 3 * 20, \
        f"the second line ends at x {right}, the default one at {default_right}"
    assert not page.differences(default_page), "the page differs, though its words are the same"


def english_words_show_and_a_blank_line_shows_nothing(work):
    default_dedication, default_page = screens_of(work, "default")
    dedication, page = screens_of(work, "english")
    for name, rows in (("first", FIRST_LINE), ("second", SECOND_LINE)):
        assert dedication.text_columns(*rows), f"the {name} dedication line shows nothing"
        assert dedication.differences(default_dedication, *rows), f"the {name} dedication line is the default one"
    with open(os.path.join(os.path.dirname(os.path.abspath(__file__)), "english.txt"), encoding="utf-8") as f:
        texts = [line.rstrip("\n") for line in f if not line.startswith("#")]
    for n, rows in enumerate(PAGE_ROWS):
        text = texts[2 + n]
        columns = page.text_columns(*rows)
        if not text.strip():
            assert columns is None, f"the empty page line {n + 1} shows text at x {columns}"
            continue
        assert columns, f"page line {n + 1} shows nothing"
        # Latin letters and spaces are 11 to 13 pixels wide at this height; ink
        # starts and ends a little inside the first and last of them.
        indent = len(text) - len(text.lstrip(" "))
        letters = len(text) - indent
        assert 200 + indent * 11 <= columns[0] <= 200 + indent * 13 + 6, f"page line {n + 1} starts at x {columns[0]}"
        assert letters * 9 <= columns[1] - columns[0] <= letters * 13, \
            f"page line {n + 1} is {columns[1] - columns[0]} pixels wide for {letters} letters"
        assert page.differences(default_page, *rows), f"page line {n + 1} is the default one"
    wish = page.text_columns(*WISH_ROW)
    assert wish and wish[0] >= 500, f"the wish is at {wish}"
    assert page.differences(default_page, *WISH_ROW), "the wish is the default one"


if __name__ == "__main__":
    # The cases take the folder of the built variants in place of a program.
    run_cases([the_recipient_takes_the_place_of_xxx, english_words_show_and_a_blank_line_shows_nothing])
