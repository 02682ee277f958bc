"""The program under rough handling: keys typed fast or held during the dedication,
the window minimised, restored and covered, no console input at all, and its
console closed while the show runs."""

import time

from harness import Program, Screenshot, poll, probe, run_cases, xdotool, yellow


def keys_typed_fast_during_the_dedication(exe):
    # The first page's line takes the typed characters; the show still runs.
    program = Program(exe, console=True)
    try:
        program.wait_window()
        program.focus()
        xdotool("key", "--repeat", "40", "--delay", "5", "a")
        program.key("Return")
        assert program.end_show() == 0
    finally:
        program.kill()


def enter_held_down_during_the_dedication(exe):
    # Held, Enter may pass both pages and leave more Enters waiting, which end
    # the show at once; either way the program ends cleanly.
    program = Program(exe, console=True)
    try:
        program.wait_window()
        program.focus()
        xdotool("keydown", "Return")
        time.sleep(1.0)
        xdotool("keyup", "Return")
        # Enters left waiting end the show on its first frame, which comes once
        # the pictures are loaded: late under emulation on a busy machine, and
        # the window is gone by then. Without them bursts show, or the page waits.
        poll(lambda: program.process.poll() is not None or program.show_running(), 60, 0.5)
        code = program.process.poll()
        if code is None:
            if not program.show_running():
                program.key("Return")
            code = program.end_show()
        assert code == 0, f"exit code {code}"
    finally:
        program.kill()


def minimise_restore_and_cover_show_the_back_buffer_again(exe):
    program = Program(exe, console=True)
    try:
        program.wait_window()
        program.key("Return")
        # The second page waits for Enter: nothing presents, so what shows comes
        # from repaints. It is whole once two looks in a row agree.
        counts = [0]

        def page_whole():
            counts.append(program.client_count(yellow))
            return counts[-1] > 100 and counts[-1] == counts[-2]

        assert poll(page_whole, 20, 0.3), f"the page of text is not shown ({counts[-1]} samples)"
        before = counts[-1]
        code, _ = probe("minimize")
        assert code == 0
        time.sleep(0.5)
        probe("restore")
        assert poll(lambda: program.client_count(yellow) >= before * 0.95, 5, 0.3), "restore lost the page"
        probe("cover", "800")

        def magenta(r, g, b):
            return r > 200 and b > 200 and g < 60

        # The repaint after the cover goes comes from the program's window
        # thread, in its own time.
        looks = []

        def uncovered():
            shot = Screenshot()
            looks.append((program.client_count(magenta, shot=shot), program.client_count(yellow, shot=shot)))
            return looks[-1][0] == 0 and looks[-1][1] >= before * 0.95

        assert poll(uncovered, 10, 0.3), f"after the cover (magenta, yellow samples): {looks[-1]}, page {before}"
        program.key("Return")
        assert program.end_show() == 0
    finally:
        program.kill()


def without_console_input_both_pages_pass_and_the_show_runs(exe):
    program = Program(exe, console=False)
    try:
        program.wait_window()
        assert program.wait_for_show(), "the show did not start"
        program.click_close_button()
        # How soon it ends is the fault tests' to judge (64-bit, unemulated).
        assert program.wait_exit(10) == 0
    finally:
        program.kill()


def closing_the_console_during_the_show_ends_with_zero(exe):
    program = Program(exe, console=True)
    try:
        program.wait_window()
        program.pass_dedication()
        time.sleep(3)
        code, _ = probe("close-console")
        assert code == 0, "no console window found"
        # Counted from the close, not from the start of the probe that closes it.
        closed = time.monotonic()
        code = program.wait_exit(5)
        took = time.monotonic() - closed
        assert code == 0, f"exit code {code} after the console was closed"
        assert took <= 2.0, f"the program took {took:.2f} s to end after the console was closed"
    finally:
        program.kill()


if __name__ == "__main__":
    run_cases([keys_typed_fast_during_the_dedication,
               enter_held_down_during_the_dedication,
               minimise_restore_and_cover_show_the_back_buffer_again,
               without_console_input_both_pages_pass_and_the_show_runs,
               closing_the_console_during_the_show_ends_with_zero])
