#!/usr/bin/python3
"""The settings menu as a player reaches it: a press on the cabinet's drawer opens it, F7
switches the language (the menu line and the status message in the score strip change), a
digit chooses another card set (the game loads it and the strip asks its question), F1 hands
the manual to the desktop's opener
(a stand-in), Escape goes back to the game and, in the game, ends it with status 0."""

import filecmp
import os
import sys
import urllib.parse

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from harness import DEADLINE, Failure, Game  # noqa: E402
import hud  # noqa: E402

ASSETS = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "assets")
DRAWER_PIXEL = (900, 150)  # mouse x > 750 and y < 280: the drawer of the cabinet
QUESTION_RECT = (262, 18, 500, 46)  # the set's question at the top of the strip
LANGUAGE_LINE_RECT = (170, 355, 330, 36)  # "F7...Sprache: Deutsch" on the menu's left page


MENU_PAGE_RECT = (170, 170, 330, 300)  # the menu's list of keys on the open book
RIGHT_PAGE_RECT = (540, 100, 300, 350)  # the page a key shows


def body(game):
    def open_menu(label):
        before = game.wait_still(MENU_PAGE_RECT)
        game.click(*DRAWER_PIXEL)
        # Once the book is drawn the menu reads keys. (It never comes to rest as a whole: each
        # redraw lays the book over the other of the two buffers.)
        game.wait_changed(before, MENU_PAGE_RECT, "the drawer did not open the menu", share=0.5)
        game.screenshot(label)

    def back_to_game(escapes):
        menu = game.pixels("menu-open", MENU_PAGE_RECT)
        game.keys(*["Escape"] * escapes)
        game.wait_changed(menu, MENU_PAGE_RECT, "Escape did not close the menu", share=0.5)
        if not game.alive():
            raise Failure("Escape in the menu ended the game")

    def question(label):
        return game.pixels(label, QUESTION_RECT)

    def status(label):
        return game.pixels(label, hud.STATUS_RECT)

    game.start()
    # Once the picture is still, the camera has reached player 1: "neuer Spieler".
    game.wait_still()
    german = status("status-german")

    open_menu("menu-german")
    line_german = game.pixels("language-line-german", LANGUAGE_LINE_RECT)
    game.keys("F7")
    game.wait_changed(line_german, LANGUAGE_LINE_RECT,
                      "F7 did not change the language line of the menu")
    back_to_game(1)
    game.wait_changed(german, hud.STATUS_RECT,
                      "the status message in the strip did not change with the language")
    # The question follows the language at once.
    english = game.wait_still(QUESTION_RECT)

    open_menu("menu-english")
    right = game.pixels("right-page", RIGHT_PAGE_RECT)
    game.keys("2")
    # The card page shows the sets, with the arrow at the one chosen.
    game.wait_changed(right, RIGHT_PAGE_RECT, "the digit 2 did not show the card page")
    game.screenshot("card-selection")
    back_to_game(2)
    game.wait_changed(english, QUESTION_RECT,
                      "the question in the strip did not change with the card set")

    open_menu("menu-manual")
    game.keys("F1")
    game.wait_until(lambda: len(game.opened()) == 1, DEADLINE, "F1 did not open the manual")
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
