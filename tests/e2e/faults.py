"""Ending the program in each phase of the greeting, by the close button and
by Alt+F4: it must end with exit code 0 within 2 s, every time."""

import os
import time

from harness import Program, error_dialog_shown

REPEATS = int(os.environ.get("FIREWORKS_FAULT_REPEATS", "10"))
EXIT_SECONDS = 2.0


def reach_phase(program, phase):
    program.wait_window()
    if phase == "dedication animation":
        return
    if phase == "first Enter wait":
        time.sleep(1.6)
        return
    program.key("Return")
    if phase == "second Enter wait":
        time.sleep(0.4)
        return
    program.key("Return")
    if phase == "loading":
        return
    if phase == "show":
        time.sleep(3.0)
        return
    if phase == "heart volley":
        # The volley fires a little over 20 s after the second Enter.
        time.sleep(21.5)
        return
    raise ValueError(phase)


def end_in_phase(exe, phase, way):
    for attempt in range(REPEATS):
        program = Program(exe, console=True)
        try:
            reach_phase(program, phase)
            if way == "Alt+F4":
                # Giving the window the keyboard is not part of the time to end.
                program.focus()
            started = time.monotonic()
            if way == "close button":
                program.click_close_button()
            else:
                program.send_keys("alt+F4")
            code = program.wait_exit(EXIT_SECONDS + 3)
            took = time.monotonic() - started
            assert code == 0, f"{way} during {phase}, attempt {attempt + 1}: exit code {code}"
            assert took <= EXIT_SECONDS, f"{way} during {phase}, attempt {attempt + 1}: took {took:.2f} s"
            assert not error_dialog_shown(), f"{way} during {phase}: an error dialog appeared"
        finally:
            program.kill()


def case_for(phase, way):
    def case(exe):
        end_in_phase(exe, phase, way)
    case.__name__ = f"{way} during {phase}".replace(" ", "_").replace("+", "")
    return case
