#!/usr/bin/python3
"""The settings menu as a player reaches it: a press on the cabinet's drawer opens it, F7
switches the language (the menu line and the status message in the score strip change), a
digit chooses another card set (the game loads it and the strip asks its question), F1 hands the manual to the desktop's opener
(a stand-in), Escape goes back to the game and, in the game, ends it with status 0."""

import filecmp
import os
import sys
import time
import urllib.parse

import numpy as np

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from harness import Failure, Game  # noqa: E402
import hud  # noqa: E402

ASSETS = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "assets")
DRAWER_PIXEL = (900, 150)  # mouse x > 750 and y < 280: the drawer of the cabinet
QUESTION_RECT = (262, 18, 500, 46)  # the set's question at the top of the strip
LANGUAGE_LINE_RECT = (170, 355, 330, 36)  # "F7...Sprache: Deutsch" on the menu's left page


def changed(a, b):
    """Share of pixels that differ clearly between two screenshots of one region."""
    return float((np.abs(a - b).max(axis=2) > 40).mean())


def body(game):
    def open_menu(label):
        before = len(game.stdout_lines())
        game.click(*DRAWER_PIXEL, hold=0.3)
        # The menu reads the set list as it opens; its diagnostics end with "ende".
        game.wait_until(lambda: "ende" in game.stdout_lines()[before:], 5,
                        "the drawer did not open the menu")
        time.sleep(0.7)
        game.screenshot(label)

    def back_to_game(escapes):
        game.keys(*["Escape"] * escapes)
        time.sleep(0.8)
        if game.process.poll() is not None:
            raise Failure("Escape in the menu ended the game")

    def question(label):
        return game.pixels(label, QUESTION_RECT)

    def status(label):
        return game.pixels(label, hud.STATUS_RECT)

    game.start()
    # By then the camera has reached player 1 and the strip says "neuer Spieler".
    time.sleep(1.5)
    german = status("status-german")

    open_menu("menu-german")
    line_german = game.pixels("language-line-german", LANGUAGE_LINE_RECT)
    game.keys("F7")
    time.sleep(0.6)
    line_english = game.pixels("language-line-english", LANGUAGE_LINE_RECT)
    if changed(line_german, line_english) < 0.02:
        raise Failure("F7 did not change the language line of the menu")
    back_to_game(1)
    if changed(german, status("status-english")) < 0.02:
        raise Failure("the status message in the strip did not change with the language")
    # The question is translated when a set is loaded: it changes with the next set.
    english = question("question-first-set")

    open_menu("menu-english")
    lines = len(game.stdout_lines())
    game.keys("2")
    game.wait_until(lambda: any(line.startswith("Akt INI suche: ZIP::Incbin::tt.zip//"
                                                "Gleiche Melodie.Set")
                                for line in game.stdout_lines()[lines:]),
                    5, "the digit 2 did not load the second set")
    time.sleep(0.5)
    game.screenshot("card-selection")
    back_to_game(2)
    melody = question("question-melody")
    if changed(english, melody) < 0.02:
        raise Failure("the question in the strip did not change with the card set")

    open_menu("menu-manual")
    game.keys("F1")
    game.wait_until(lambda: len(game.opened()) == 1, 5, "F1 did not open the manual")
    copy = os.path.join(game.temp_dir, os.path.basename(game.exe) + " English.PDF")
    if not os.path.exists(copy) or not filecmp.cmp(copy, os.path.join(ASSETS, "English.pdf"),
                                                   shallow=False):
        raise Failure("%s is not a copy of the English manual" % copy)
    expected = "file://" + urllib.parse.quote(copy)
    if game.opened()[0] != expected:
        raise Failure("the opener got %r, expected %r" % (game.opened()[0], expected))
    back_to_game(2)

    game.screenshot("back-in-game")
    game.quit_with_escape()


if __name__ == "__main__":
    sys.exit(Game("menu").run(body))
