"""Fixture: packages the greeting for 小明 from a fresh checkout, without a
display, as a sender would: scripts/package.sh --recipient 小明."""

import os
import sys

from builds import fresh_checkout, run

RECIPIENT = "小明"


def main():
    work = sys.argv[1]
    # The sender's build tree stays between runs, as it does for a sender.
    checkout = fresh_checkout(os.path.join(work, "checkout"), keep=("build",))
    env = {name: value for name, value in os.environ.items() if name not in ("DISPLAY", "WINEPREFIX")}
    result = run(["bash", os.path.join(checkout, "scripts", "package.sh"), "--recipient", RECIPIENT], cwd=checkout,
                 env=env)
    with open(os.path.join(work, "package-output.txt"), "w", encoding="utf-8") as out:
        out.write(result.stdout)
    sys.stdout.write(result.stdout)


if __name__ == "__main__":
    main()
