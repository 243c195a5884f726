#!/usr/bin/python3
"""The sound check must measure right and must fail on wrong content: its
analysis is tried on signals with known answers, and the whole check is run
on copies of the assets with one fault put in."""

import contextlib
import io
import os
import shutil
import sys
import tempfile
import unittest

import numpy as np

sys.dont_write_bytecode = True
HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)

import audio  # noqa: E402
import check_sounds  # noqa: E402

RATE = audio.RATE
ASSETS = os.path.join(check_sounds.REPO, "assets")
SCORE = os.path.join(check_sounds.REPO, "tools", "sounds")


def tone(key, seconds, rate=RATE, partials=(1.0, 0.5, 0.3, 0.2)):
    t = np.arange(int(seconds * rate)) / rate
    f = 440.0 * 2 ** ((key - 69) / 12)
    return 0.3 * sum(a * np.sin(2 * np.pi * f * (i + 1) * t) for i, a in enumerate(partials))


class Analysis(unittest.TestCase):
    def test_loudness_matches_the_reference_tone(self):
        # BS.1770: a 997 Hz sine at full scale reads -3.01 LUFS, at any rate.
        for rate in (48000, 44100):
            t = np.arange(3 * rate) / rate
            sine = np.sin(2 * np.pi * 997 * t)
            self.assertAlmostEqual(audio.lufs(sine, rate), -3.01, delta=0.05)
            self.assertAlmostEqual(audio.lufs(0.1 * sine, rate), -23.01, delta=0.05)
        # The gates drop the silence after a sound (a plain mean would fall by
        # 4 dB here); the K-weighting lifts high frequencies.
        t = np.arange(2 * RATE) / RATE
        sine = 0.1 * np.sin(2 * np.pi * 997 * t)
        padded = np.concatenate([sine, np.zeros(3 * RATE)])
        self.assertAlmostEqual(audio.lufs(padded), audio.lufs(sine), delta=0.5)
        high = 0.1 * np.sin(2 * np.pi * 8000 * t)
        self.assertGreater(audio.lufs(high), audio.lufs(sine) + 3)

    def test_pitch_of_harmonic_tones(self):
        for key in (48, 57, 69, 81):
            track = audio.pitch_track(tone(key, 0.6))
            self.assertAlmostEqual(float(np.nanmedian(track)), key, delta=0.05)
        # A missing fundamental still gives the perceived pitch.
        track = audio.pitch_track(tone(60, 0.6, partials=(0.0, 1.0, 0.8, 0.6)))
        self.assertAlmostEqual(float(np.nanmedian(track)), 60, delta=0.05)

    def test_two_notes_and_note_sequence(self):
        x = np.concatenate([tone(60, 0.7), np.zeros(2000), tone(67, 0.7)])
        first, second = audio.two_notes(audio.pitch_track(x))
        self.assertAlmostEqual(first, 60, delta=0.1)
        self.assertAlmostEqual(second, 67, delta=0.1)
        melody = np.concatenate([tone(k, 0.25) for k in (64, 62, 60, 62, 64)])
        self.assertEqual(audio.note_sequence(audio.pitch_track(melody)), [64, 62, 60, 62, 64])

    def test_onsets_and_beat_period(self):
        x = np.zeros(int(3.2 * RATE))
        hit = tone(72, 0.15) * np.exp(-np.arange(int(0.15 * RATE)) / (0.03 * RATE))
        times = [0.0, 0.5, 1.0, 1.5, 1.75, 2.0, 2.5, 3.0]
        for t in times:
            i = int(t * RATE)
            x[i:i + len(hit)] += hit
        found = audio.onsets(x)
        self.assertEqual(len(found), len(times))
        self.assertLess(np.max(np.abs(found - times)), 0.012)
        steady = [t for t in times if t != 1.75]
        self.assertAlmostEqual(audio.beat_period(np.array(steady)), 0.5, delta=0.002)

    def test_sample_checks(self):
        good = tone(60, 2.0)
        cases = [  # (samples, expected words in the fault, or None)
            (good, None),
            (np.concatenate([np.zeros(int(0.02 * RATE)), good]), "first audible sample"),
            (good[: int(1.0 * RATE)], "lasts"),
            (np.concatenate([good, good, good]), "lasts"),
            (np.clip(good * 10, -1, 1), "clips"),
            (np.zeros(2 * RATE), "silent"),
        ]
        for x, words in cases:
            report = check_sounds.Report()
            with contextlib.redirect_stdout(io.StringIO()):
                check_sounds.check_samples(report, "x.ogg", x)
            if words is None:
                self.assertEqual(report.faults, [])
            else:
                self.assertTrue(any(words in f for f in report.faults), (words, report.faults))
        report = check_sounds.Report()
        with contextlib.redirect_stdout(io.StringIO()):
            check_sounds.check_loudness(report, {"a.ogg": -26.0, "b.ogg": -25.5,
                                                 "c.ogg": -26.3, "d.ogg": -23.2})
        self.assertEqual(len(report.faults), 1)
        self.assertIn("d.ogg", report.faults[0])


def read(path):
    with open(path, "rb") as f:
        return f.read()


def write(path, data):
    with open(path, "wb") as f:
        f.write(data)


def set_sounds(assets, file):
    lines = check_sounds.read_lines(read(os.path.join(assets, file)))
    return [v for v in (check_sounds.read_set_value(lines, "Sounds", str(i))
                        for i in range(1, 60)) if v]


class WrongContent(unittest.TestCase):
    """Each case copies the assets, puts one fault in, and checks one set."""

    def setUp(self):
        self.dir = tempfile.mkdtemp()
        self.reset()

    def tearDown(self):
        shutil.rmtree(self.dir)

    def reset(self):
        for f in os.listdir(self.dir):
            os.remove(os.path.join(self.dir, f))
        for f in os.listdir(ASSETS):
            if f.endswith((".ogg", ".Set", ".lst")):
                shutil.copy(os.path.join(ASSETS, f), self.dir)

    def swap_sound(self, file, victim, donor):
        """Overwrite sound number `victim` of a set with sound number `donor`."""
        names = set_sounds(self.dir, file)
        shutil.copy(os.path.join(self.dir, names[donor - 1]),
                    os.path.join(self.dir, names[victim - 1]))
        return names[victim - 1]

    def edit(self, file, old, new):
        path = os.path.join(self.dir, file)
        data = read(path)
        self.assertIn(old, data)
        write(path, data.replace(old, new, 1))

    def faults(self, file):
        with contextlib.redirect_stdout(io.StringIO()):
            return check_sounds.run(self.dir, SCORE, [file])

    def assertCaught(self, file, *words):
        faults = self.faults(file)
        self.assertTrue(any(all(w in f for w in words) for f in faults),
                        f"no fault with {words} among {faults}")

    def test_unchanged_copy_passes(self):
        self.assertEqual(self.faults("Intervalle Leicht.Set"), [])

    def test_wrong_sounds_are_caught(self):
        cases = [  # (set, victim, donor, words of the expected fault)
            ("Intervalle Leicht.Set", 13, 14, ("interval",)),
            ("Intervalle Schwer.Set", 15, 7, ("backwards",)),
            ("Gleiches Tempo.Set", 12, 11, ("beats at",)),
            ("Gleiche Melodie.Set", 6, 8, ("plays",)),
            ("Gleicher Beat.Set", 8, 5, ("differ in their onsets",)),
            ("Gleiches Instrument.Set", 4, 9, ("closer to",)),
            ("Schlag-Instrumente.Set", 14, 5, ("closer to",)),
        ]
        for file, victim, donor, words in cases:
            with self.subTest(file=file):
                self.reset()
                name = self.swap_sound(file, victim, donor)
                self.assertCaught(file, name, *words)

    def test_wrong_set_files_are_caught(self):
        cases = [  # (file, old bytes, new bytes, words of the expected fault)
            ("Genau das Gleiche.Set", b"2=GleichKlavierAkkord.ogg",
             b"2=GleichOrgelAkkord.ogg", ("listed twice",)),
            ("Gleiches Tempo.Set", b"\n", b"\r\n", ("CR",)),
            ("Gleiches Tempo.Set", b"Frage=Suche", b"Frage =Suche", ("Frage is",)),
            ("Gleiches Tempo.Set", b"Paarungen=8", b"Paarungen=7", ("Paarungen",)),
            ("Gleiches Tempo.Set", b"3=3x11", b"3=3x12", ("pairs",)),
            ("Gleiches Tempo.Set", b"16=Tempo", b"16=Fehlt", ("missing",)),
        ]
        for file, old, new, words in cases:
            with self.subTest(file=file, change=new):
                self.reset()
                self.edit(file, old, new)
                self.assertCaught(file, *words)

    def test_catalogue_must_reach_every_set(self):
        listed = read(os.path.join(self.dir, "Dir.lst"))
        # An eighth entry that is not in the archive leaves the ninth unreachable.
        self.edit("Dir.lst", b"Schlag-Instrumente.Set\n",
                  b"SchlagInstrumente.Set\nSchlag-Instrumente.Set\n")
        self.assertCaught("Gleiches Tempo.Set", "Dir.lst", "keys 1 to 8")
        self.assertTrue(any("SchlagInstrumente.Set" in f and "not in the archive" in f
                            for f in self.faults("Gleiches Tempo.Set")))
        write(os.path.join(self.dir, "Dir.lst"), listed)
        os.remove(os.path.join(self.dir, set_sounds(self.dir, "Gleiches Tempo.Set")[0]))
        self.assertCaught("Gleiches Tempo.Set", "missing")


if __name__ == "__main__":
    unittest.main(verbosity=2)
