#!/usr/bin/python3
"""Clicks as touch screens, whiteboards and busy machines send them, and keys typed at the
wrong moment: an instant click (press and release in one go) on a card plays its sound and on
the drawer opens the menu; F4 typed during play does not end the game when the menu opens
later; the window's close button while the menu is open ends the game with status 0 at once."""

import os
import subprocess
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from harness import DEADLINE, Failure, Game, card_pixel  # noqa: E402

DRAWER_PIXEL = (900, 150)
LEFT_PAGE_RECT = (170, 170, 330, 300)  # the menu's list of keys on the open book
RIGHT_PAGE_RECT = (540, 100, 300, 350)


def body(game):
    game.start()

    before = game.audio_frames()
    game.click(*card_pixel(5))
    game.wait_until(lambda: game.onset(before) is not None, DEADLINE,
                    "an instant click on a card played no sound")

    game.keys("F4")  # means nothing in play; it must not wait for the menu
    if game.process.poll() is not None:
        raise Failure("F4 during play ended the game")

    page = game.wait_still(LEFT_PAGE_RECT)
    game.click(*DRAWER_PIXEL)
    game.wait_changed(page, LEFT_PAGE_RECT, "an instant click on the drawer did not open the menu",
                      share=0.5)
    # The menu reads keys from now on: once it has shown the about page for F5, an F4 left
    # over from the game would have acted already.
    right = game.wait_still(RIGHT_PAGE_RECT)
    game.keys("F5")
    game.wait_changed(right, RIGHT_PAGE_RECT, "the menu did not show the about page for F5")
    if game.process.poll() is not None:
        raise Failure("an F4 typed during play ended the game when the menu opened")

    closed_at = time.monotonic()
    subprocess.run([game.xclose, game.window], check=True)
    status = game.wait_exit()
    took = time.monotonic() - closed_at
    print("the close button in the menu ended the game after %.0f ms" % (1000 * took))
    if status != 0:
        raise Failure("the close button in the menu ended the game with status %d" % status)


if __name__ == "__main__":
    sys.exit(Game("short_clicks").run(body))
