"""Ending the program in one phase of the greeting, one way (the close button
or Alt+F4), again and again.

    test_faults.py PROGRAM PHASE WAY"""

import sys

from faults import case_for
from harness import require_faithful_faults, run_cases

if __name__ == "__main__":
    require_faithful_faults()
    run_cases([case_for(sys.argv[2], sys.argv[3])])
