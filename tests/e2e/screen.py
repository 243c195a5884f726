#!/usr/bin/python3
"""Waits on the game's window for the shell tests, as the Python tests wait with harness.Screen.

    screen.py WINDOW first                    until the game shows its first picture
    screen.py WINDOW still [X Y W H]          until the picture (or a region) stops changing
    screen.py WINDOW save FILE [X Y W H]      keeps a picture of the region to compare with
    screen.py WINDOW changed FILE [X Y W H]   until the region differs clearly from FILE
    screen.py WINDOW replaced FILE [X Y W H]  until most of the region differs from FILE (a
                                              picture laid over it or taken away, as the menu's
                                              book is)

The screenshot tool is $TONVELLA_XSHOT. Exit status 1, with a line saying what did not
happen, when the state did not come within the harness's deadline."""

import os
import shutil
import sys
import tempfile

import numpy as np

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from harness import Failure, Screen, changed  # noqa: E402


def main(argv):
    window, command, rest = argv[1], argv[2], argv[3:]
    work = tempfile.mkdtemp(prefix="tonvella-screen-")
    screen = Screen(os.environ["TONVELLA_XSHOT"], window, work)
    try:
        if command == "first":
            screen.wait_first_picture()
        elif command == "still":
            screen.wait_still([int(v) for v in rest] or None)
        elif command == "save":
            shutil.copy(screen.screenshot("saved", [int(v) for v in rest[1:]] or None), rest[0])
        elif command in ("changed", "replaced"):
            from PIL import Image
            with Image.open(rest[0]) as image:
                before = np.asarray(image.convert("RGB"), dtype=np.int16)
            rect = [int(v) for v in rest[1:]] or None
            screen.wait_changed(before, rect, "the picture did not change",
                                share=0.5 if command == "replaced" else 0.02)
        else:
            sys.exit("unknown command %r" % command)
    except Failure as failure:
        print("FAIL:", failure)
        return 1
    finally:
        shutil.rmtree(work, ignore_errors=True)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
