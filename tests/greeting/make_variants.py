"""Fixture: the program built three times in one tree of its own, as the
test tree's toolchain builds it: with no words variable, with
FIREWORKS_RECIPIENT=小明, and with an English greeting file. Each program is
kept as <work>/<variant>/fireworks-<variant>.exe, beside the words header it
was built with; the name gives its window a title of its own, so that runs of
other trees' programs in the same Wine prefix are never taken for it."""

import os
import shutil
import sys

from builds import SOURCE_DIR, build_program, configure

ENGLISH = os.path.join(SOURCE_DIR, "tests", "greeting", "english.txt")
VARIANTS = (
    ("default", {"FIREWORKS_RECIPIENT": "", "FIREWORKS_GREETING_FILE": ""}),
    ("recipient", {"FIREWORKS_RECIPIENT": "小明", "FIREWORKS_GREETING_FILE": ""}),
    ("english", {"FIREWORKS_RECIPIENT": "", "FIREWORKS_GREETING_FILE": ENGLISH}),
)


def tree_of(work):
    return os.path.join(work, "tree")


def program_of(work, variant):
    return os.path.join(work, variant, f"fireworks-{variant}.exe")


def main():
    work, toolchain = sys.argv[1], sys.argv[2]
    # The tree stays from run to run: a variant's words change only its words
    # header, so a later run rebuilds what depends on it and no more.
    for name, _ in VARIANTS:
        shutil.rmtree(os.path.join(work, name), ignore_errors=True)
    for name, variables in VARIANTS:
        configure(SOURCE_DIR, tree_of(work), toolchain, variables)
        program = build_program(tree_of(work))
        os.makedirs(os.path.join(work, name))
        shutil.copy2(program, program_of(work, name))
        shutil.copy2(os.path.join(tree_of(work), "generated", "greeting_texts.h"), os.path.join(work, name))
        print(f"built {name}")


if __name__ == "__main__":
    main()
