#!/usr/bin/python3
"""Makes the sample teacher's set in examples/sets/: "Beispiel Gleicher Ton.Set" and its
twenty sounds, ten notes each played by two synthesized instruments of sox (a plucked string,
a flute-like tone, a reed and a horn). Every sound starts at once, lasts 1.4 s and is levelled
to -18 LUFS like the built-in sets. Then tonvella-check-set, when given, must pass the set.

Usage: make_example.py [--check PATH-TO-tonvella-check-set]
Needs sox (with Ogg Vorbis) and numpy; the output is the same each run except for the Ogg
serial numbers that the encoder draws.
"""

import argparse
import os
import subprocess
import sys
import tempfile
import wave

import numpy as np

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.normpath(os.path.join(HERE, "..", ".."))
sys.path.insert(0, os.path.join(ROOT, "tools", "sounds"))
import loudness  # noqa: E402

OUT = os.path.join(ROOT, "examples", "sets")
SET_NAME = "Beispiel Gleicher Ton.Set"
RATE = 44100
SECONDS = 1.4
TARGET_LUFS = -18.0

# Ten notes, each on two instruments; the partner of a note is never on the same instrument.
NOTES = [("C4", 261.63), ("E4", 329.63), ("G4", 392.00), ("A4", 440.00), ("C5", 523.25),
         ("D4", 293.66), ("F4", 349.23), ("B3", 246.94), ("D5", 587.33), ("G3", 196.00)]
INSTRUMENTS = {
    "Zupfen": ["pluck", []],
    "Floete": ["sine", ["tremolo", "5", "15"]],
    "Rohr": ["square", ["lowpass", "1800"]],
    "Horn": ["sawtooth", ["lowpass", "1200"]],
}
PAIRINGS = [("Zupfen", "Floete"), ("Rohr", "Horn"), ("Floete", "Rohr"), ("Horn", "Zupfen"),
            ("Zupfen", "Rohr")]


def render(instrument, freq, path):
    wave_kind, effects = INSTRUMENTS[instrument]
    subprocess.run(["sox", "-n", "-r", str(RATE), "-c", "1", "-b", "16", path, "synth",
                    str(SECONDS), wave_kind, "%.2f" % freq] + effects +
                   ["fade", "q", "0.01", str(SECONDS), "0.35"], check=True)


def read_wav(path):
    with wave.open(path) as w:
        data = w.readframes(w.getnframes())
    return np.frombuffer(data, dtype="<i2").astype(np.float64) / 32768.0


def level(raw, out):
    """Levels `raw` to TARGET_LUFS and writes it as WAV or Ogg Vorbis by the name of `out`."""
    gain = TARGET_LUFS - loudness.integrated(read_wav(raw), RATE)
    args = ["sox", raw] + (["-C", "5"] if out.endswith(".ogg") else ["-b", "16"]) + \
        [out, "gain", "%.2f" % gain]
    subprocess.run(args, check=True)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--check", help="tonvella-check-set to run on the result")
    args = parser.parse_args()
    os.makedirs(OUT, exist_ok=True)
    for name in os.listdir(OUT):
        if name.endswith((".ogg", ".wav", ".Set")):
            os.remove(os.path.join(OUT, name))

    sounds, pairs = [], []
    with tempfile.TemporaryDirectory() as work:
        for i, (note, freq) in enumerate(NOTES):
            first, second = PAIRINGS[i % len(PAIRINGS)]
            numbers = []
            for instrument in (first, second):
                # The first pair's second sound is a WAV file, to show that both kinds work.
                kind = "wav" if (i == 0 and instrument == second) else "ogg"
                name = "%s-%s.%s" % (note, instrument, kind)
                raw = os.path.join(work, name + ".raw.wav")
                render(instrument, freq, raw)
                level(raw, os.path.join(OUT, name))
                sounds.append(name)
                numbers.append(len(sounds))
            pairs.append("%dx%d" % tuple(numbers))

    lines = ["' Ein Beispiel-Kartensatz: der gleiche Ton auf zwei Instrumenten.",
             "' An example card set: the same note on two instruments.",
             "[Text]",
             "Frage=Suche den gleichen Ton",
             "Frage_en=Find the same note",
             "Frage_cs=Najdi stejný tón",
             "",
             "[Sounds]"]
    lines += ["%d=%s" % (i + 1, name) for i, name in enumerate(sounds)]
    lines += ["", "[Connect]", "Paarungen=%d" % len(pairs)]
    lines += ["%d=%s" % (i + 1, pair) for i, pair in enumerate(pairs)]
    with open(os.path.join(OUT, SET_NAME), "w", encoding="utf-8", newline="\r\n") as f:
        f.write("\n".join(lines) + "\n")
    print("wrote %s and %d sounds in %s" % (SET_NAME, len(sounds), OUT))

    if args.check:
        subprocess.run([args.check, os.path.join(OUT, SET_NAME)], check=True)


if __name__ == "__main__":
    main()
