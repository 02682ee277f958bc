"""Each kind of bad input stops the configure step with a message that names
the file, the line and the reason, and leaves the program built before as
it was; files as Windows editors save them are read like the example."""

import os
import re
import sys

from builds import SOURCE_DIR, configure, run, sha256
from make_variants import ENGLISH, tree_of

EXAMPLE = os.path.join(SOURCE_DIR, "resources", "greeting.example.txt")
with open(EXAMPLE, encoding="utf-8") as f:
    EXAMPLE_LINES = f.read().split("\n")[:-1]
# File line numbers of the eleven texts of the example.
TEXT_LINES = [n + 1 for n, line in enumerate(EXAMPLE_LINES) if not line.startswith("#")]


def example_with(changes=None, extra=None, drop=None):
    lines = list(EXAMPLE_LINES)
    for text, value in (changes or {}).items():
        lines[TEXT_LINES[text] - 1] = value
    if drop is not None:
        del lines[TEXT_LINES[drop] - 1]
    if extra is not None:
        lines.append(extra)
    return ("\n".join(lines) + "\n").encode("utf-8")


LONG_NAME = "欧阳" * 7
# (name, file bytes or None for a missing file, recipient, what the message must say)
BAD_INPUT = [
    ("missing file", None, "", ["{file}", "no such file"]),
    ("saved in GBK, not UTF-8", open(EXAMPLE, encoding="utf-8").read().encode("gbk"), "",
     [f"{{file}}:{TEXT_LINES[0]}:", "not valid UTF-8", "character 1"]),
    ("a stray byte", example_with({4: "友谊和花香\xff一样"}).replace("\xff".encode(), b"\xff"), "",
     [f"{{file}}:{TEXT_LINES[4]}:", "not valid UTF-8", "byte 0xff in character 6"]),
    ("a character GBK lacks", example_with({2: "有了友情😀，就少了许多烦忧"}), "",
     [f"{{file}}:{TEXT_LINES[2]}:", "character 5", "😀", "U+1F600", "GBK"]),
    ("a recipient GBK lacks", example_with(), "김민수",
     ["FIREWORKS_RECIPIENT", "character 1", "김", "U+AE40", "GBK"]),
    ("a tab", example_with({3: "\t而会漂浮在水面上"}), "",
     [f"{{file}}:{TEXT_LINES[3]}:", "control character U+0009"]),
    ("a page line too wide", example_with({5: "越" * 50}), "",
     [f"{{file}}:{TEXT_LINES[5]}:", "page line 4", "1200 pixels wide", "only 1000 fit"]),
    ("a wish too wide", example_with({10: "祝" * 31}), "",
     [f"{{file}}:{TEXT_LINES[10]}:", "closing wish", "744 pixels wide", "only 700 fit"]),
    ("a first dedication line too wide", example_with({0: "谨" * 21}), "",
     [f"{{file}}:{TEXT_LINES[0]}:", "first dedication line", "right edge", "step 49", "x = 1272"]),
    ("a recipient too long for the animation", example_with(), LONG_NAME,
     [f"{{file}}:{TEXT_LINES[1]}:", "FIREWORKS_RECIPIENT", "right edge", "step 49", "x = 1264"]),
    ("a recipient and no XXX", open(ENGLISH, "rb").read(), "小明",
     ["{file}:3:", "FIREWORKS_RECIPIENT", "no XXX"]),
    ("too many lines", example_with(extra="多余的一行"), "",
     [f"{{file}}:{len(EXAMPLE_LINES) + 1}:", "too many lines", "12th"]),
    ("too few lines", example_with(drop=10), "",
     [f"{{file}}:{len(EXAMPLE_LINES) - 1}:", "too few lines", "after 10 texts", "the closing wish is missing"]),
    ("an empty file", b"", "", ["{file}:1:", "too few lines", "after 0 texts"]),
]


def state(tree):
    program = os.path.join(tree, "fireworks.exe")
    with open(os.path.join(tree, "generated", "greeting_texts.h"), "rb") as words:
        return sha256(program), os.stat(program).st_mtime_ns, words.read()


def main():
    work = sys.argv[1]
    tree = tree_of(work)
    cases = os.path.join(work, "cases")
    os.makedirs(cases, exist_ok=True)
    before = state(tree)
    failures = 0
    for index, (name, content, recipient, expected) in enumerate(BAD_INPUT):
        path = os.path.join(cases, f"greeting-{index}.txt")
        if os.path.exists(path):
            os.remove(path)
        if content is not None:
            with open(path, "wb") as f:
                f.write(content)
        result = configure(SOURCE_DIR, tree, None, {"FIREWORKS_GREETING_FILE": path, "FIREWORKS_RECIPIENT": recipient},
                           check=False)
        # CMake indents and may wrap its error text.
        said = re.sub(r"\s+", " ", result.stderr)
        missing = [words.format(file=path) for words in expected if words.format(file=path) not in said]
        problems = []
        if result.returncode == 0:
            problems.append("the configure step succeeded")
        if missing:
            problems.append(f"the message does not say {missing}")
        if state(tree) != before:
            problems.append("the earlier build changed")
        if problems:
            failures += 1
            print(f"FAIL {name}: {'; '.join(problems)}\n{result.stderr}")
        else:
            print(f"PASS {name}")

    # Building after a failed configure step retries it and stops again.
    built = run(["cmake", "--build", tree, "--target", "fireworks"], check=False)
    if built.returncode == 0 or state(tree) != before:
        failures += 1
        print("FAIL a build after bad input went on or changed the program")
    else:
        print("PASS a build after bad input stops and keeps the program")

    # Notepad's way of saving: a byte-order mark and CRLF line ends.
    with open(EXAMPLE, "rb") as f:
        notepad = b"\xef\xbb\xbf" + f.read().replace(b"\n", b"\r\n")
    path = os.path.join(cases, "notepad.txt")
    with open(path, "wb") as f:
        f.write(notepad)
    configure(SOURCE_DIR, tree, None, {"FIREWORKS_GREETING_FILE": path, "FIREWORKS_RECIPIENT": ""})
    with open(os.path.join(work, "default", "greeting_texts.h"), "rb") as f:
        default_words = f.read()
    if state(tree)[2] != default_words:
        failures += 1
        print("FAIL a file with a byte-order mark and CRLF line ends gives other words than the example")
    else:
        print("PASS a file with a byte-order mark and CRLF line ends gives the example's words")
    sys.exit(1 if failures else 0)


if __name__ == "__main__":
    main()
