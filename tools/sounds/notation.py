"""Small helpers that turn written music into timed notes.

A phrase is written as "C4/1 E4/.5 r/.5 G4/2": note name with octave (C4 is
MIDI key 60, "#" raises, "b" lowers) or "r" for a rest, then "/" and the
length in beats. Numbers instead of names are semitone offsets from a base key.
"""

_STEPS = {"C": 0, "D": 2, "E": 4, "F": 5, "G": 7, "A": 9, "B": 11}


def key_of(name):
    """MIDI key of a note name such as "F#3" or "Bb4"."""
    step = _STEPS[name[0]]
    rest = name[1:]
    while rest and rest[0] in "#b":
        step += 1 if rest[0] == "#" else -1
        rest = rest[1:]
    return 12 * (int(rest) + 1) + step


def parse(phrase, base=0):
    """[(beat, beats, key or None)] from a written phrase."""
    out = []
    beat = 0.0
    for token in phrase.split():
        pitch, length = token.split("/")
        length = float(length)
        if pitch == "r":
            key = None
        elif pitch[0] in _STEPS:
            key = key_of(pitch) + base
        else:
            key = base + int(pitch)
        out.append((beat, length, key))
        beat += length
    return out


def grid(pattern, steps_per_beat=4):
    """Beat positions of the "x" steps of a drum grid such as "x..x..x.x..."."""
    return [i / steps_per_beat for i, c in enumerate(pattern) if c in "xX"]
