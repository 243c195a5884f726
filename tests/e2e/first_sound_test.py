#!/usr/bin/python3
"""The game starts silent, and a card pressed with the mouse sounds: non-silent samples appear
in the sound output soon after the press, at a level and length a listener hears, and the
sound dies away after the release. The press comes when the mixer has mixed the silence after
the start and is resting or about to: the sound must start whole either way."""

import os
import sys

import numpy as np

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from harness import DEADLINE, RATE, REST_AFTER, Failure, Game, card_pixel  # noqa: E402


def body(game):
    game.start()
    game.wait_until(lambda: game.audio_frames() >= int(RATE * REST_AFTER * 0.9), DEADLINE,
                    "the silence before the mixer rests is not in the output")
    if game.onset(0) is not None:
        raise Failure("sound before any card was pressed")
    game.screenshot("start")

    before = game.audio_frames()
    heard = {}

    def half_a_second_heard():
        # Half a second from the onset, all at full volume while the button is held.
        heard["onset"] = game.onset(before)
        return heard["onset"] is not None and game.audio_frames() >= heard["onset"] + RATE // 2

    game.hold(*card_pixel(5), half_a_second_heard, "the pressed card played no sound")
    game.screenshot("pressed")
    onset = heard["onset"]
    sound = game.audio(onset, RATE // 2).astype(np.float64)
    rms = float(np.sqrt(np.mean(sound ** 2)))
    loud_blocks = sum(1 for block in np.array_split(np.abs(sound).max(axis=1), 50)
                      if block.max() > 300)
    print("onset %d frames after the output's end when the press was sent, rms %.0f, "
          "%d of 50 blocks loud" % (onset - before, rms, loud_blocks))
    if rms < 300:
        raise Failure("the card sound is too quiet to hear: rms %.0f" % rms)
    if loud_blocks < 40:
        raise Failure("the card sound breaks up: only %d of 50 blocks are loud" % loud_blocks)

    jiggler = game.jiggle(8)
    try:
        game.wait_until(lambda: game.silent_for(0.2), DEADLINE,
                        "the sound did not end after the release")
    finally:
        jiggler.kill()
        jiggler.wait()
    game.quit_with_escape()


if __name__ == "__main__":
    sys.exit(Game("first_sound").run(body))
