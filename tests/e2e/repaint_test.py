#!/usr/bin/python3
"""The idle game draws no new frames while nothing changes, so it must paint its window again
when the window system asks: a window laid over the game and taken away again leaves the game's
picture as it was, not the other window's pixels."""

import os
import subprocess
import sys

import numpy as np

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from harness import DEADLINE, Game  # noqa: E402


def body(game):
    game.start()
    before = game.wait_still(label="idle")  # the opening camera travel is over: the game is idle
    shell = subprocess.run(["xdotool", "getwindowgeometry", "--shell", game.window],
                           capture_output=True, text=True, check=True).stdout
    geometry = dict(line.split("=") for line in shell.split())
    xcover = os.path.join(os.path.dirname(game.xshot), "xcover")
    subprocess.run([xcover, geometry["X"], geometry["Y"], geometry["WIDTH"], geometry["HEIGHT"],
                    "300"], check=True)

    def restored():
        after = game.pixels("uncovered")
        return float(np.abs(after - before).mean()) < 2 and not np.all(after > 250)
    game.wait_until(restored, DEADLINE, "the uncovered window was not painted again", step=0.2)

    game.quit_with_escape()


if __name__ == "__main__":
    sys.exit(Game("repaint").run(body))
