#!/usr/bin/python3
"""A whole game of the first card set ("Genau das Gleiche", whose pairs are the same sound
twice), played by a scripted player who knows nothing of the deal: it clicks cards, listens to
the sound output and remembers what each card played. Partners sound exactly alike, so the
first frames after a card starts sounding match sample for sample. The game ends with the
winner message of the player the script counted as winner."""

import os
import sys

import numpy as np

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from harness import DEADLINE, Failure, Game, card_pixel  # noqa: E402
import hud  # noqa: E402

FINGERPRINT = 4096  # frames from the onset, heard while the button is held
ASSETS = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "assets")

STATUS_TEXTS = [
    "<--- Sieger Spieler 1!", "    Sieger Spieler 2! --->", "beide sind Sieger!", "nochmal!",
    "leider nicht richtig", "neuer Spieler", "Gewonnen", "leider falsch",
    "jetzt 2.Karte finden",
]


def same(a, b):
    return int(np.abs(a.astype(np.int32) - b.astype(np.int32)).max()) <= 1


class Player:
    def __init__(self, game):
        self.game = game
        self.heard = {}  # card -> fingerprint
        self.gone = set()
        self.scores = [0, 0]
        self.current = 0
        self.presses = 0

    def wait_silence(self):
        """Lets the last sound fade out (the loop fades it per logic step, so keep it busy).
        Half a second of silence is longer than any quiet passage inside a card's sound (at most
        0.3 s), so a faint tail still playing is not taken for silence; its fade-out at the next
        press would otherwise mix into that card's fingerprint."""
        jiggler = self.game.jiggle(DEADLINE)
        try:
            self.game.wait_until(lambda: self.game.silent_for(0.5), DEADLINE,
                                 "the sound did not fade out after the release")
        finally:
            jiggler.kill()
            jiggler.wait()

    def wait_status(self, text):
        font = os.path.join(ASSETS, "Comic.ttf")
        jiggler = self.game.jiggle(DEADLINE)
        try:
            self.game.wait_until(
                lambda: hud.best_match(self.game.pixels("status?", hud.STATUS_RECT), font,
                                       STATUS_TEXTS)[0] == text,
                DEADLINE, "the strip never showed %r" % text, step=0.2)
        finally:
            jiggler.kill()
            jiggler.wait()

    def press(self, card):
        """Holds the card until its fingerprint is in the output: the sound is at full volume
        as long as the button is down, so partners' fingerprints match however slow the game."""
        self.presses += 1
        before = self.game.audio_frames()
        found = {}

        def heard():
            found["at"] = self.game.onset(before)
            return found["at"] is not None and self.game.audio_frames() >= found["at"] + FINGERPRINT

        self.game.hold(*card_pixel(card), heard, "card %d played no sound" % card)
        print("press %2d: card %2d sounds %d frames after the output's end at the press" %
              (self.presses, card, found["at"] - before))
        print_ = self.game.audio(found["at"], FINGERPRINT)
        self.heard[card] = print_
        self.wait_silence()
        return print_

    def known_partner(self, card):
        for other, sound in self.heard.items():
            if other != card and other not in self.gone and same(sound, self.heard[card]):
                return other
        return None

    def unheard(self, *besides):
        for card in range(16):
            if card not in self.heard and card not in self.gone and card not in besides:
                return card
        return None

    def turn(self):
        first = None
        for card in sorted(self.heard):
            if card not in self.gone and self.known_partner(card) is not None:
                first = card
                break
        if first is None:
            first = self.unheard()
            if first is None:
                raise Failure("cards left %s but none unheard and no pair known" %
                              sorted(set(range(16)) - self.gone))
        self.press(first)
        second = self.known_partner(first)
        if second is None:
            second = self.unheard(first)
            if second is None:
                raise Failure("card %d has no partner among the cards left" % first)
        self.press(second)
        if same(self.heard[first], self.heard[second]):
            self.gone |= {first, second}
            self.scores[self.current] += 2
            print("  pair %d + %d for player %d: %s" % (first, second, self.current + 1,
                                                        self.scores))
            # The finder plays on (the first start's behaviour) once the pair has faded out: a
            # press while it fades would count as a wrong card. On a busy machine the fade,
            # one step of it per logic step, can outlast the sound.
            if len(self.gone) < 16:
                self.wait_status("nochmal!")
        else:
            self.current = 1 - self.current

    def play(self):
        while len(self.gone) < 16:
            if self.presses > 60:
                raise Failure("no end after %d presses" % self.presses)
            self.turn()


def body(game):
    game.start()
    if game.onset(0) is not None:
        raise Failure("sound before any card was pressed")
    game.screenshot("start")
    player = Player(game)
    player.play()
    # Every pair must be a different sound: otherwise the fingerprint proves nothing.
    sounds = [player.heard[c] for c in range(16)]
    for a in range(16):
        partners = [b for b in range(16) if b != a and same(sounds[a], sounds[b])]
        if len(partners) != 1:
            raise Failure("card %d sounds like %s, expected exactly one partner" % (a, partners))
    print("whole game: %d presses, scores %s" % (player.presses, player.scores))

    p1, p2 = player.scores
    winner = STATUS_TEXTS[0] if p1 > p2 else STATUS_TEXTS[1] if p2 > p1 else STATUS_TEXTS[2]
    font = os.path.join(ASSETS, "Comic.ttf")
    result = {}

    def winner_shown():
        pixels = game.pixels("status", hud.STATUS_RECT)
        result["match"] = hud.best_match(pixels, font, STATUS_TEXTS)
        return result["match"][0] == winner

    jiggler = game.jiggle(DEADLINE)
    try:
        game.wait_until(winner_shown, DEADLINE, "no winner message", step=0.5)
    except Failure:
        best, score, scores = result["match"]
        raise Failure("expected %r, the strip shows %r (%.2f); scores %s" %
                      (winner, best, score, scores))
    finally:
        jiggler.kill()
        jiggler.wait()
    best, score, scores = result["match"]
    runner_up = max(v for k, v in scores.items() if k != best)
    print("winner message %r matched %.2f (next best %.2f)" % (best, score, runner_up))
    if score < 0.8 or score - runner_up < 0.1:
        raise Failure("the winner message is not clearly readable: %s" % scores)
    game.screenshot("winner")
    game.quit_with_escape()


if __name__ == "__main__":
    sys.exit(Game("whole_game").run(body))
