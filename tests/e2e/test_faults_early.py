"""Closing the window before the show: during the dedication, at its two
Enter waits and while the pictures load."""

from faults import cases_for
from harness import require_faithful_faults, run_cases

if __name__ == "__main__":
    require_faithful_faults()
    run_cases(cases_for(["dedication animation", "first Enter wait", "second Enter wait", "loading"]))
