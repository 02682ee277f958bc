"""Bad words stop record.sh at the build, with the build's own message,
before anything is filmed, and leave no video behind."""

import os
import sys

from recorder import record, videos_in

# (name, arguments, what the message must say)
BAD_INPUT = [
    ("a recipient GBK lacks", ["--recipient", "김민수"], ["FIREWORKS_RECIPIENT", "김", "U+AE40", "GBK"]),
    ("a missing greeting file", ["--greeting", "{work}/no-such-greeting.txt"], ["{work}/no-such-greeting.txt",
                                                                               "no such file"]),
]


def main():
    work = sys.argv[1]
    failures = 0
    for name, arguments, expected in BAD_INPUT:
        dist = os.path.join(work, "dist-bad-input")
        code, output, errors = record(work, dist, *[argument.format(work=work) for argument in arguments])
        said = " ".join(errors.split())
        problems = [f"the message does not say {words.format(work=work)!r}" for words in expected
                    if words.format(work=work) not in said]
        if code == 0:
            problems.append("record.sh succeeded")
        if output.strip():
            problems.append(f"it went on past the build: {output.strip()}")
        if videos_in(dist):
            problems.append(f"it left {videos_in(dist)}")
        print(f"FAIL {name}: {'; '.join(problems)}\n{errors}" if problems else f"PASS {name}")
        failures += bool(problems)
    sys.exit(1 if failures else 0)


if __name__ == "__main__":
    main()
