#!/usr/bin/python3
"""A whole game against the computer (the level in TONVELLA_E2E_OPPONENT: 1 "Computer leicht",
2 "mittel", 3 "schwer", chosen with F10 and F8 pressed that often) in the real game: player 1
is a script that clicks cards and remembers what it heard, the computer's own cards and the
script's. Every card the computer reaches for (its diagnostic line "Computer: N") must be heard
in the sound output, and the game ends with a winner message.

Cards are told apart in the sound output by the silence between them: a person's next card
comes after the test has heard half a second of it, the computer's after the last card's sound
has died away and it has thought and reached for the next. So every card's sound is searched
from the start of the first silence after the card before, wherever the test happened to be
when that silence came."""

import os
import sys

import numpy as np

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from harness import RATE, Failure, Game, card_pixel  # noqa: E402
import hud  # noqa: E402

LEVEL = int(os.environ.get("TONVELLA_E2E_OPPONENT", "1"))
WAIT = 60  # seconds a state may take on a busy machine
PRINT = 4096  # frames compared
BLOCK = RATE // 100
HELD = RATE * 6 // 5  # frames of a card's sound at full volume: it is held for longer
ASSETS = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "assets")
SILENCE = RATE // 2  # frames of silence between two cards: longer than any quiet passage
MENU_PAGE_RECT = (170, 170, 330, 300)  # the menu's list of keys on the open book
LEVELS = ["Mensch", "Computer leicht", "Computer mittel", "Computer schwer"]


def arrow_rect(row):
    """Where the opponent page's arrow stands before the row-th choice."""
    return (540, 206 + 50 * row, 40, 30)


WINNERS = ["<--- Sieger Spieler 1!", "    Sieger Spieler 2! --->", "beide sind Sieger!"]
OTHERS = ["nochmal!", "leider nicht richtig", "neuer Spieler", "Gewonnen", "leider falsch",
          "jetzt 2.Karte finden"]


def mono(frames):
    return frames.astype(np.float64).mean(axis=1)


def loud_start(game, first):
    """Where a sound starts from frame `first` on: the first 10 ms after which the next 200 ms
    are far louder than the 20 ms before (some sounds begin softly). A sound fading out before
    it only gets quieter, and it is stopped when the next card sounds."""
    data = np.abs(mono(game.audio(max(0, first - 2 * BLOCK))))
    blocks = data[:len(data) // BLOCK * BLOCK].reshape(-1, BLOCK).max(axis=1)
    for i in range(2, len(blocks) - 20):
        after = blocks[i:i + 20].max()
        if blocks[i] > 0 and after >= 1000 and after > 4 * blocks[i - 2:i].max():
            return max(0, first - 2 * BLOCK) + i * BLOCK
    return None


def find(segment, print_):
    """The best normalised correlation of `print_` anywhere in `segment` (through the FFT)."""
    n = len(segment) + len(print_)
    size = 1 << (n - 1).bit_length()
    num = np.fft.irfft(np.fft.rfft(segment, size) * np.conj(np.fft.rfft(print_, size)), size)
    num = num[:len(segment) - len(print_) + 1]
    energy = np.concatenate(([0.0], np.cumsum(segment * segment)))
    local = energy[len(print_):] - energy[:-len(print_)]
    d = np.sqrt(np.maximum(local[:len(num)], 1.0) * float((print_ * print_).sum()))
    return float((num / d).max())


def alike(a, b):
    """How alike two cards sound: each one's print looked for in the other's sound, so that
    where its start was found matters little."""
    return max(find(a[1], b[0]), find(b[1], a[0]))


class Player:
    def __init__(self, game):
        self.game = game
        self.prints = {}  # card -> print of its sound
        self.gone = set()
        self.scores = [0, 0]
        self.computer_cards = 0
        self.lines_seen = 0
        self.search_from = 0  # sound after this frame is the next card's

    def computer_lines(self):
        return [l for l in self.game.stdout_lines() if l.startswith("Computer: ")]

    def listen(self, card, start):
        """Waits until the card's sound is in the output from frame `start` on; keeps its print."""
        return self.keep_print(card, self.next_sound(start, "card %d was not heard" % card))

    def next_sound(self, start, message):
        """Where the next card's sound starts in the output from frame `start` on."""
        found = {}

        def heard():
            found["at"] = loud_start(self.game, start)
            return found["at"] is not None

        try:
            self.game.wait_until(heard, WAIT, message, step=0.02)
        except Failure:
            self.game.screenshot("no-sound")
            raise
        return found["at"]

    def keep_print(self, card, at):
        # A card is held for at least 1.2 s at full volume: its print comes from the middle of
        # that, its sound from all of it, so that a start found a little early or late (in a
        # fading sound before it, or in a quiet passage) still finds its partner.
        self.game.wait_until(lambda: self.game.audio_frames() >= at + HELD, WAIT,
                             "the sound output stopped")
        self.prints[card] = (mono(self.game.audio(at + RATE // 4, PRINT)),
                             mono(self.game.audio(max(0, at - RATE // 4), HELD + RATE // 4)))
        print("  card %d sounds at %.2f s (searched from %.2f s)" % (card, at / RATE,
                                                                   self.search_from / RATE))
        return at

    def partner(self, card):
        for other, sound in self.prints.items():
            if other != card and other not in self.gone and \
                    alike(sound, self.prints[card]) > 0.97:
                return other
        return None

    def press(self, card):
        self.game.move(*card_pixel(card))
        self.game.xdo("mousedown", 1)
        try:
            onset = self.listen(card, self.search_from)
        finally:
            self.game.xdo("mouseup", 1)
        self.wait_silence(onset + HELD)

    def silence_after(self, first):
        """Where the first stretch of half a second of silence from frame `first` on begins, or
        None while there is none yet (the sounds have quiet passages of up to 0.3 s)."""
        data = np.abs(self.game.audio(first).astype(np.int32)).max(axis=1)
        loud = np.concatenate(([-1], np.nonzero(data)[0], [len(data)]))
        gaps = np.nonzero(np.diff(loud) > SILENCE)[0]
        return first + int(loud[gaps[0]]) + 1 if len(gaps) else None

    def wait_silence(self, after):
        """Waits for the sound of the card heard at `after` to end, and searches the next card's
        sound from there on."""
        found = {}

        def silence():
            found["at"] = self.silence_after(after)
            return found["at"] is not None

        # The last card's sound fades one logic step at a time: a moving mouse keeps them coming.
        jiggler = self.game.jiggle(WAIT)
        try:
            self.game.wait_until(silence, WAIT, "no silence", step=0.05)
        finally:
            jiggler.kill()
            jiggler.wait()
        self.search_from = found["at"]

    def wait_status(self, text):
        font = os.path.join(ASSETS, "Comic.ttf")
        jiggler = self.game.jiggle(WAIT)
        try:
            self.game.wait_until(
                lambda: hud.best_match(self.game.pixels("status?", hud.STATUS_RECT), font,
                                       WINNERS + OTHERS)[0] == text,
                WAIT, "the strip never showed %r" % text, step=0.2)
        finally:
            jiggler.kill()
            jiggler.wait()

    def unheard(self, *besides):
        for card in range(16):
            if card not in self.prints and card not in self.gone and card not in besides:
                return card
        for card in range(16):
            if card not in self.gone and card not in besides:
                return card
        return None

    def my_turn(self):
        """Player 1's turn; true when it found a pair (and plays on)."""
        first = next((c for c in sorted(self.prints)
                      if c not in self.gone and self.partner(c) is not None), None)
        if first is None:
            first = self.unheard()
        self.press(first)
        second = self.partner(first)
        if second is None:
            second = self.unheard(first)
        self.press(second)
        if self.partner(first) == second:
            self.gone |= {first, second}
            self.scores[0] += 2
            print("player 1: pair %d + %d" % (first, second))
            # A press while the pair still fades would count as a wrong card: wait until the
            # strip says that the finder plays on (a short sound can be over before that).
            if len(self.gone) < 16:
                self.wait_status("nochmal!")
            return True
        print("player 1: %d and %d are no pair" % (first, second))
        return False

    def computers_turn(self):
        """Follows the computer until its turn ends: every card it reaches for is heard."""
        while len(self.gone) < 16:
            cards = []
            for _ in range(2):
                onset = self.next_sound(self.search_from, "no card of the computer was heard")
                # Which card it reached for, its diagnostic line says; the line is written as it
                # reaches out, before the card sounds.
                self.game.wait_until(lambda: len(self.computer_lines()) > self.lines_seen, WAIT,
                                     "a card sounded without a line \"Computer: N\"")
                line = self.computer_lines()[self.lines_seen]
                self.lines_seen += 1
                card = int(line.split(":")[1])
                self.keep_print(card, onset)
                # It holds the card for longer than HELD, lets it go, and thinks of the next
                # card only once this one's sound has died away.
                self.wait_silence(onset + HELD)
                self.computer_cards += 1
                cards.append(card)
                print("computer: card %d heard" % card)
            a, b = cards
            if alike(self.prints[a], self.prints[b]) > 0.97:
                self.gone |= {a, b}
                self.scores[1] += 2
                print("computer: pair %d + %d" % (a, b))
                continue
            break


def marked_row(game):
    """The row of the opponent page that its arrow "->" marks (0 "Mensch" ... 3), or None while
    no row is marked, as when the page is not shown."""
    rows = [r for r in range(4) if game.writing_in("arrow%d?" % r, arrow_rect(r))]
    return rows[0] if len(rows) == 1 else None


def body(game):
    game.start()
    before = game.wait_still(MENU_PAGE_RECT)
    game.keys("F10")
    # Once the book is drawn the menu reads keys.
    menu = game.wait_changed(before, MENU_PAGE_RECT, "F10 did not open the menu", share=0.5)
    for level in range(1, LEVEL + 1):
        game.keys("F8")
        game.wait_until(lambda: marked_row(game) == level, WAIT,
                        "F8 did not mark %r on the opponent page" % LEVELS[level], step=0.1)
    game.screenshot("opponent-page")
    # The opponent page goes away by itself after a few seconds; then one Escape closes the
    # menu. (An Escape while the page is shown only takes the page away, and until the menu has
    # read it nobody can tell which of the two it did; a second one in the game ends it.)
    game.wait_until(lambda: marked_row(game) is None, WAIT, "the opponent page did not go away",
                    step=0.2)
    game.keys("Escape")
    game.wait_changed(menu, MENU_PAGE_RECT, "Escape did not close the menu", share=0.5)
    player = Player(game)
    # Sounds are searched from here on: F8 dealt a new game, so nothing sounds yet.
    player.search_from = game.audio_frames()
    while len(player.gone) < 16:
        if player.computer_cards + len(player.prints) > 80:
            raise Failure("no end")
        while len(player.gone) < 16 and player.my_turn():
            pass
        if len(player.gone) < 16:
            player.computers_turn()
    print("scores %s, the computer played %d cards" % (player.scores, player.computer_cards))
    if player.computer_cards == 0:
        raise Failure("the computer never played")
    reached = len(player.computer_lines())
    if reached != player.computer_cards:
        raise Failure("the computer reached for %d cards, %d were heard" %
                      (reached, player.computer_cards))
    p1, p2 = player.scores
    winner = WINNERS[0] if p1 > p2 else WINNERS[1] if p2 > p1 else WINNERS[2]
    font = os.path.join(ASSETS, "Comic.ttf")
    result = {}

    def winner_shown():
        result["match"] = hud.best_match(game.pixels("status?", hud.STATUS_RECT), font,
                                         WINNERS + OTHERS)
        return result["match"][0] == winner

    jiggler = game.jiggle(WAIT)
    try:
        game.wait_until(winner_shown, WAIT, "no winner message %r" % winner, step=0.5)
    finally:
        jiggler.kill()
        jiggler.wait()
    game.screenshot("winner")
    game.quit_with_escape()


if __name__ == "__main__":
    sys.exit(Game("opponent-%d" % LEVEL).run(body))
