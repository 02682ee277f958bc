"""Closing the window during the show and during a heart volley."""

from faults import cases_for
from harness import require_faithful_faults, run_cases

if __name__ == "__main__":
    require_faithful_faults()
    run_cases(cases_for(["show", "heart volley"]))
