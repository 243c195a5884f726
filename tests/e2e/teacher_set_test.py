#!/usr/bin/python3
"""A teacher's own set, as a teacher makes it: eight pairs of tones made with sox (Ogg Vorbis
and WAV) in a fresh XDG_DATA_HOME. The real game lists it after the built-in sets, F6 turns the
card page to it, its digit chooses it, and the cards then play its tones: each card pressed is
heard in the sound output as a pure tone of the set, which no built-in sound is."""

import os
import subprocess
import sys

import numpy as np

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from harness import DEADLINE, RATE, Failure, Game, card_pixel  # noqa: E402

ASSETS = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "assets")
DRAWER_PIXEL = (900, 150)
MENU_PAGE_RECT = (170, 170, 330, 300)
RIGHT_PAGE_RECT = (540, 100, 300, 350)
# One pitch per pair, far enough apart to tell by ear and by spectrum.
PITCHES = [262, 330, 392, 494, 587, 698, 880, 1047]


def make_set(folder):
    os.makedirs(folder)
    sounds, pairs = [], []
    for k, hz in enumerate(PITCHES):
        numbers = []
        for kind in ("ogg", "wav"):
            name = "Ton%d.%s" % (hz, kind)
            subprocess.run(["sox", "-n", "-r", "22050", "-c", "1", "-b", "16",
                            os.path.join(folder, name), "synth", "2", "sine", str(hz),
                            "fade", "q", "0.005", "2", "0.2", "gain", "-8"], check=True)
            sounds.append(name)
            numbers.append(len(sounds))
        pairs.append("%dx%d" % tuple(numbers))
    text = ["[Text]", "Frage=Finde den gleichen Ton", "", "[Sounds]"]
    text += ["%d=%s" % (i + 1, s) for i, s in enumerate(sounds)]
    text += ["", "[Connect]", "Paarungen=%d" % len(pairs)]
    text += ["%d=%s" % (i + 1, p) for i, p in enumerate(pairs)]
    path = os.path.join(folder, "Unsere Toene.Set")
    with open(path, "w") as f:
        f.write("\n".join(text) + "\n")
    return path


def arrow_rect(row):
    """Where the card page's arrow stands before its row-th set (left of the set's digit)."""
    return (545, 146 + 30 * row, 22, 24)


def marked(game, row):
    """Whether the card page's arrow marks its row-th set: the set in play."""
    return game.writing_in("arrow%d?" % row, arrow_rect(row))


def built_in_sets():
    with open(os.path.join(ASSETS, "Dir.lst"), encoding="latin-1") as f:
        return sum(1 for line in f if line.rstrip("\r\n").upper().endswith(".SET"))


def pure_tone(sound):
    """(frequency, share of the energy within 8 Hz of it) of a stretch of stereo output."""
    mono = sound.astype(np.float64).mean(axis=1)
    spectrum = np.abs(np.fft.rfft(mono * np.hanning(len(mono)))) ** 2
    freqs = np.fft.rfftfreq(len(mono), 1 / RATE)
    peak = int(np.argmax(spectrum))
    near = np.abs(freqs - freqs[peak]) <= 8
    return float(freqs[peak]), float(spectrum[near].sum() / spectrum.sum())


def body(game):
    home = os.path.join(game.work, "xdg-home")
    make_set(os.path.join(home, "tonvella", "sets"))
    game.env.update(XDG_DATA_HOME=home, XDG_DATA_DIRS=os.path.join(game.work, "xdg-none"))

    # After the built-in sets: the page it is on and its digit there.
    place = built_in_sets() + 1
    turns, digit = (place - 1) // 8 + 1, (place - 1) % 8 + 1

    game.start()
    game.wait_still()
    before = game.pixels("before-menu", MENU_PAGE_RECT)
    game.click(*DRAWER_PIXEL)
    game.wait_changed(before, MENU_PAGE_RECT, "the drawer did not open the menu", share=0.5)
    for turn in range(turns):
        page = game.pixels("page-%d" % turn, RIGHT_PAGE_RECT)
        game.keys("F6")
        game.wait_changed(page, RIGHT_PAGE_RECT, "F6 did not show the next card page")
    game.screenshot("teachers-page")
    if marked(game, digit):
        raise Failure("the teacher's set is marked as in play before it was chosen")
    game.keys(str(digit))
    # The arrow moves to a set once it is loaded and in play.
    game.wait_until(lambda: marked(game, digit), DEADLINE,
                    "the digit did not put the teacher's set in play", step=0.1)
    game.screenshot("teachers-set-chosen")
    # The card page goes away by itself after a few seconds; then one Escape closes the menu.
    # (An Escape while the page is shown only takes the page away, and until the menu has read
    # it nobody can tell which of the two it did; a second one in the game ends it.)
    game.wait_until(lambda: not marked(game, digit), DEADLINE,
                    "the card page did not go away", step=0.2)
    menu = game.pixels("menu-open", MENU_PAGE_RECT)
    game.keys("Escape")
    game.wait_changed(menu, MENU_PAGE_RECT, "Escape did not close the menu", share=0.5)
    refused = [line for line in game.stdout_lines() if "not loaded" in line]
    if refused:
        raise Failure("the set was refused: %s" % refused)
    game.wait_still()

    heard = []
    for card in (0, 15):
        start = game.audio_frames()
        found = {}

        def a_second_heard():
            found["onset"] = game.onset(start)
            return found["onset"] is not None and game.audio_frames() >= found["onset"] + RATE

        game.hold(*card_pixel(card), a_second_heard, "card %d played no sound" % card)
        # Past the card's first moments, while it is held at full volume.
        hz, share = pure_tone(game.audio(found["onset"] + RATE // 10, RATE // 2))
        print("card %d: %.1f Hz, %.3f of the energy there" % (card, hz, share))
        nearest = min(PITCHES, key=lambda p: abs(p - hz))
        if abs(nearest - hz) > 0.01 * nearest or share < 0.9:
            raise Failure("card %d sounds at %.1f Hz (%.2f pure), not a tone of the set" %
                          (card, hz, share))
        heard.append(nearest)
        jiggler = game.jiggle(10)
        try:
            game.wait_until(lambda: game.silent_for(0.3), DEADLINE,
                            "card %d did not fall silent" % card)
        finally:
            jiggler.kill()
            jiggler.wait()
        game.wait_still()
    game.screenshot("played")
    game.quit_with_escape()


if __name__ == "__main__":
    sys.exit(Game("teacher_set").run(body))
