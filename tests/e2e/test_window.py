"""The graphics window opens at 1200 x 800 with the program's name as its
title, and every way of closing it ends the program with exit code 0."""

from harness import Program, run_cases


def check_window(program):
    info = program.wait_window()
    assert info["client_width"] == "1200", info
    assert info["client_height"] == "800", info
    assert info["title"] == "fireworks", info
    return info


def key_in_window_ends_with_zero(exe):
    program = Program(exe, console=True)
    try:
        check_window(program)
        program.pass_dedication()
        assert program.end_show() == 0, "a key should end the program with exit code 0"
    finally:
        program.kill()


def alt_f4_ends_with_zero(exe):
    program = Program(exe, console=True)
    try:
        check_window(program)
        program.key("alt+F4")
        assert program.wait_exit(5) == 0, "Alt+F4 should end the program with exit code 0"
    finally:
        program.kill()


def close_button_without_console_ends_with_zero(exe):
    program = Program(exe, console=False)
    try:
        info = check_window(program)
        assert int(info["style"], 16) & 0x00CA0000 == 0x00CA0000, info
        program.click_close_button()
        assert program.wait_exit(5) == 0, "the close button should end the program with exit code 0"
    finally:
        program.kill()


if __name__ == "__main__":
    run_cases([key_in_window_ends_with_zero, alt_f4_ends_with_zero, close_button_without_console_ends_with_zero])
