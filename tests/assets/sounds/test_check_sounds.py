#!/usr/bin/python3
"""The sound check must measure right and must fail on wrong content: its
analysis is tried on signals with known answers, and the whole check is run
on copies of the assets with one fault put in."""

import contextlib
import io
import os
import shutil
import subprocess
import sys
import tempfile
import unittest
import wave

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

    def test_true_peak_finds_the_peak_between_samples(self):
        # A sine at a quarter of the rate, sampled 45 degrees off its crests:
        # every sample reads 0.707 of the crest, the signal itself reaches it.
        n = np.arange(RATE)
        x = 0.5 * np.sin(np.pi / 2 * n + np.pi / 4)
        self.assertAlmostEqual(20 * np.log10(np.max(np.abs(x))), -9.03, delta=0.05)
        self.assertAlmostEqual(audio.true_peak(x), -6.02, delta=0.05)

    def test_speaker_level_drops_the_lows(self):
        t = np.arange(2 * RATE) / RATE
        for freq, loss in ((100, 38.0), (1000, 0.0), (300, 3.0)):
            x = 0.1 * np.sin(2 * np.pi * freq * t)
            self.assertAlmostEqual(audio.lufs(x) - audio.lufs(audio.highpass(x)), loss,
                                   delta=0.7, msg=freq)

    def test_attack_time_of_quick_and_slow_hits(self):
        for rise_s in (0.004, 0.1):
            x = np.zeros(int(2.5 * RATE))
            ramp = np.minimum(1.0, np.arange(int(0.4 * RATE)) / (rise_s * RATE))
            hit = tone(67, 0.4) * ramp * np.exp(-np.maximum(0, np.arange(len(ramp)) / RATE
                                                           - rise_s) / 0.08)
            times = [0.0, 0.6, 1.2, 1.8]
            for t in times:
                i = int(t * RATE)
                x[i:i + len(hit)] += hit
            found = audio.attack_times(x, np.array(times))
            # from a tenth of the peak to 1 dB below it: 79 % of a linear rise
            self.assertLess(np.max(np.abs(found - (10 ** (-1 / 20) - 0.1) * rise_s)), 0.006,
                            rise_s)

    def test_common_grid_and_positions(self):
        step = 60 / 100 / 4  # sixteenths at 100 beats per minute
        lists = []
        for pattern in ("x...x...x.x.x...", "x..x..x.x..x..x.", "xxxx....x.......") :
            positions = [i for i, c in enumerate(pattern) if c == "x"]
            x = np.zeros(int(3.0 * RATE))
            hit = tone(72, 0.1) * np.exp(-np.arange(int(0.1 * RATE)) / (0.02 * RATE))
            for k in positions:
                i = int(k * step * RATE)
                x[i:i + len(hit)] += hit
            hits = audio.refine_onsets(x, audio.onsets(x))
            self.assertEqual(np.round((hits - hits[0]) / step).astype(int).tolist(), positions)
            lists.append(hits)
        self.assertAlmostEqual(audio.grid_step(lists), step, delta=0.0005)
        # straight quarters alone lie on a coarser grid too: the longest step fits
        self.assertAlmostEqual(audio.grid_step(lists[:1]), 2 * step, delta=0.0005)

    def test_chord_notes_from_the_spectrum(self):
        # Rich tones (eight partials falling by 1/h): the root's third partial is
        # the fifth an octave up, its fifth the major third two octaves up, and
        # none of them may count as a chord tone; a rumble far below is no bass.
        def chord(bass, steps, rumble=0.0):
            t = np.arange(int(1.6 * RATE)) / RATE
            x = sum(tone(bass + s, 1.6, partials=[1 / h for h in range(1, 9)]) for s in steps)
            return x * np.exp(-t / 1.5) + rumble * np.sin(2 * np.pi * 40 * t)
        cases = [  # (bass, steps)
            (48, (0, 4, 7)), (55, (0, 3, 6)), (49, (0, 4, 8)), (59, (0, 5, 7)),
            (51, (0, 4, 7, 11)), (57, (0, 3, 6, 10)), (50, (0, 3, 6, 9)), (53, (0, 5, 7, 10)),
        ]
        for bass, steps in cases:
            found = audio.chord_notes(chord(bass, steps, rumble=0.01))
            self.assertEqual(found[:2], (bass, steps), (bass, steps))
            self.assertLess(found[3], -30)  # nothing else in the octave above the bass
        self.assertIn((0, 3, 6, 10), check_sounds.CHORD_TYPES)

    def test_held_pitch(self):
        held = audio.held_pitch(audio.pitch_track(tone(62, 1.5)))
        self.assertAlmostEqual(held[0], 62, delta=0.05)
        self.assertGreater(held[1], 0.95)
        # a slide over five semitones holds no pitch
        t = np.arange(int(1.5 * RATE)) / RATE
        f = 440 * 2 ** ((60 + 5 * t / 1.5 - 69) / 12)
        slide = 0.3 * np.sin(2 * np.pi * np.cumsum(f) / RATE)
        self.assertLess(audio.held_pitch(audio.pitch_track(slide))[1],
                        check_sounds.MIN_HELD_SHARE)

    def test_syllables_of_a_bar(self):
        cases = [  # (onsets on eighths from the downbeat, syllables or None)
            ([0, 2, 4, 5, 6, 7], ["ta", "ta", "ti-ti", "ti-ti"]),
            ([0, 4, 5, 6], ["ta-a", "ti-ti", "ta"]),
            ([0, 2, 6], ["ta", "ta-a", "ta"]),
            ([0, 4], ["ta-a", "ta-a"]),
            ([0, 1, 2, 3, 4, 5, 6, 7], ["ti-ti"] * 4),
            ([0, 2, 3, 4], ["ta", "ti-ti", "ta-a"]),
            ([0, 1, 3, 4, 6], None),  # a lone ti after the beat: syncopation
            ([0, 2, 4], ["ta", "ta", "ta-a"]),
            ([0, 3, 4], None),  # a ta-a broken by an eighth
            ([2, 4, 6], None),  # no downbeat
            ([0, 2, 4, 6, 8], None),  # longer than a bar
            ([0, 6], None),  # a note of three beats
        ]
        for onsets, expected in cases:
            self.assertEqual(check_sounds.syllables(onsets), expected, onsets)

    def test_tempo_clashes(self):
        cases = [  # (tempo, tempo, clash)
            (100, 106.9, True), (100, 107.2, False), (100, 200, True), (100, 186, False),
            (100, 187, True), (100, 213, True), (100, 215, False), (60, 124.3, True), (58, 124.3, False),
            (66.6, 124.3, False), (92, 184, True), (110, 220, True),
        ]
        for t1, t2, clash in cases:
            self.assertEqual(check_sounds.tempo_clash(t1, t2), clash, (t1, t2))
            self.assertEqual(check_sounds.tempo_clash(t2, t1), clash, (t2, t1))

    def test_chance_of_new_sounds(self):
        def pool(n):
            return [f"s{i}.ogg" for i in range(2 * n)], [(2 * i + 1, 2 * i + 2) for i in range(n)]
        cases = [(8, 0.0), (9, 8 / 9), (10, 44 / 45), (12, 494 / 495)]
        for n, chance in cases:
            self.assertAlmostEqual(check_sounds.chance_of_new_sounds(*pool(n)), chance, n)
        # two pairs of the same two files: drawing one or the other deals the same sounds
        names, pairs = pool(9)
        pairs[8] = (2, 1)
        # 9 draws of 8 pairs; the two that leave out pair 1 or pair 9 deal one set of sounds
        self.assertAlmostEqual(check_sounds.chance_of_new_sounds(names, pairs),
                               1 - (7 * (1 / 9) ** 2 + (2 / 9) ** 2), places=9)

    def test_give_aways_by_a_cue(self):
        class Fake:
            def __init__(self, lengths):
                self.lengths = lengths

            def length(self, name):
                return self.lengths[name]

        names = ["a", "b", "c", "d", "e", "f"]
        pairs = [(1, 2), (3, 4), (5, 6)]
        cases = [  # lengths of a .. f, faults expected
            ([2.0, 2.0, 2.0, 2.0, 2.0, 2.0], False),  # one length for all
            ([2.0, 2.05, 2.1, 3.0, 2.9, 2.2], False),  # the partner is not the only near one
            ([2.0, 2.0, 3.0, 3.0, 3.6, 3.6], True),    # each pair has a length of its own
        ]
        for lengths, fault in cases:
            report = check_sounds.Report()
            with contextlib.redirect_stdout(io.StringIO()):
                check_sounds.give_aways(report, "x.Set", Fake(dict(zip(names, lengths))),
                                        names, pairs, ("length",))
            self.assertEqual(bool(report.faults), fault, (lengths, report.faults))

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
        level = [  # (gain to -18 LUFS in dB, expected words or None)
            (0.0, None), (0.9, None), (-0.9, None), (1.3, "loudness"), (-1.5, "loudness"),
        ]
        base = 0.05 * np.sin(2 * np.pi * 997 * np.arange(2 * RATE) / RATE)
        base *= 10 ** ((-18 - audio.lufs(base)) / 20)
        for gain, words in level:
            report = check_sounds.Report()
            x = base * 10 ** (gain / 20)
            with contextlib.redirect_stdout(io.StringIO()):
                check_sounds.check_level(report, "x.ogg", audio.lufs(x), audio.true_peak(x))
            self.assertEqual([words] if words else [], [f.split()[1] for f in report.faults])
        # a click over a quiet tone: right loudness, but its true peak is too high
        x = base.copy()
        x[RATE // 2] = 0.95
        report = check_sounds.Report()
        with contextlib.redirect_stdout(io.StringIO()):
            check_sounds.check_level(report, "x.ogg", audio.lufs(x), audio.true_peak(x))
        self.assertTrue(any("true peak" in f for f in report.faults), report.faults)


def encode(x, path):
    """Writes samples as the game's kind of Ogg file (mono, 44.1 kHz, the
    serial the name asks for)."""
    wav = path + ".wav"
    with wave.open(wav, "wb") as w:
        w.setnchannels(1)
        w.setsampwidth(2)
        w.setframerate(RATE)
        w.writeframes(np.clip(np.round(x * 32767), -32768, 32767).astype("<i2").tobytes())
    serial = check_sounds.serial_for(os.path.basename(path))
    subprocess.run(["oggenc", "-Q", "-q", "4", "-s", str(serial), "-o", path, wav],
                   check=True, stdin=subprocess.DEVNULL)
    os.remove(wav)


def at_lufs(x, lufs=-18.0):
    return x * 10 ** ((lufs - audio.lufs(x)) / 20)


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
            ("Intervalle Schwer.Set", 15, 7, ("going down",)),
            ("Gleiches Tempo.Set", 12, 11, ("beats at",)),
            ("Gleiche Melodie.Set", 6, 8, ("plays",)),
            ("Gleicher Beat.Set", 8, 5, ("differ in their onsets",)),
            ("Gleiches Instrument.Set", 4, 9, ("closer to",)),
            ("Schlag-Instrumente.Set", 14, 5, ("closer to",)),
            ("Gleicher Akkord.Set", 2, 4, ("differ in chord type",)),
            ("Gleiche Tonhöhe.Set", 2, 5, ("differ in pitch",)),
            ("Ta und Ti-Ti.Set", 2, 3, ("differ in rhythm",)),
        ]
        for file, victim, donor, words in cases:
            with self.subTest(file=file):
                self.reset()
                name = self.swap_sound(file, victim, donor)
                self.assertCaught(file, name, *words)

    def copy_pair(self, file, victim, donor):
        """Both sounds of pair `victim` become copies of pair `donor`'s."""
        lines = check_sounds.read_lines(read(os.path.join(self.dir, file)))
        names = set_sounds(self.dir, file)
        pair = [tuple(int(v) for v in check_sounds.read_set_value(lines, "Connect", str(k))
                      .split("x")) for k in (victim, donor)]
        for a, b in zip(pair[0], pair[1]):
            shutil.copy(os.path.join(self.dir, names[b - 1]),
                        os.path.join(self.dir, names[a - 1]))
        return names[pair[0][0] - 1]

    def replace_sound(self, file, number, make):
        """Sound `number` of a set is replaced by make(its decoded samples)."""
        name = set_sounds(self.dir, file)[number - 1]
        path = os.path.join(self.dir, name)
        encode(make(audio.decode(path)), path)
        return name

    def test_levels_are_caught(self):
        def lows_only(x):  # what a laptop cannot play
            f = np.fft.rfftfreq(len(x), 1 / RATE)
            return at_lufs(np.fft.irfft(np.fft.rfft(x) * (f < 150), len(x)))

        cases = [  # (set, sound, change, words of the expected fault)
            ("Intervalle Leicht.Set", 3, lambda x: x * 10 ** (-2 / 20), ("loudness",)),
            ("Intervalle Leicht.Set", 3, lambda x: x * 10 ** (1.6 / 20), ("loudness",)),
            ("Intervalle Leicht.Set", 4, lambda x: x * 10 ** ((-0.3 - audio.true_peak(x)) / 20),
             ("true peak",)),
            ("Gleiches Instrument.Set", 5, lows_only, ("300 Hz high-pass",)),
            ("Gleicher Akkord.Set", 7, lambda x: x * 10 ** (-2 / 20), ("loudness",)),
            ("Ta und Ti-Ti.Set", 9, lows_only, ("300 Hz high-pass",)),
        ]
        for file, number, change, words in cases:
            with self.subTest(file=file, number=number, words=words):
                self.reset()
                name = self.replace_sound(file, number, change)
                self.assertCaught(file, name, *words)

    def test_slow_attack_and_flam_are_caught(self):
        # Each hit of a rhythm made to swell for 120 ms before its peak.
        def swell(x):
            out = np.zeros_like(x)
            hits = audio.refine_onsets(x, audio.onsets(x))
            ramp = np.minimum(1.0, np.arange(len(x)) / (0.12 * RATE))
            for t, end in zip(hits, list(hits[1:]) + [len(x) / RATE]):
                i, j = int(t * RATE), int(end * RATE)
                out[i:j] = x[i:j] * ramp[:j - i]
            return at_lufs(out)

        self.reset()
        name = self.replace_sound("Gleicher Beat.Set", 3, swell)
        self.assertCaught("Gleicher Beat.Set", name, "to its peak")
        self.reset()
        name = self.replace_sound("Schlag-Instrumente.Set", 2, swell)
        self.assertCaught("Schlag-Instrumente.Set", name, "to its peak")
        self.reset()
        name = self.replace_sound("Ta und Ti-Ti.Set", 11, swell)
        self.assertCaught("Ta und Ti-Ti.Set", name, "to its peak")

    def test_shared_relations_and_give_aways_are_caught(self):
        cases = [  # (set, pair made a copy of, of pair, words of the expected fault)
            ("Gleicher Beat.Set", 4, 7, ("differ in 0 onsets",)),
            ("Gleiches Tempo.Set", 2, 5, ("within 7 %",)),
            ("Intervalle Leicht.Set", 3, 6, ("poster",)),
            ("Intervalle Schwer.Set", 3, 9, ("minor second to octave",)),
            ("Gleicher Akkord.Set", 3, 6, ("serves 2 pairs",)),
            ("Gleiche Tonhöhe.Set", 3, 6, ("less than 3 semitones apart",)),
            ("Ta und Ti-Ti.Set", 4, 7, ("differ in 0 onsets",)),
        ]
        for file, victim, donor, words in cases:
            with self.subTest(file=file):
                self.reset()
                self.copy_pair(file, victim, donor)
                self.assertCaught(file, *words)

    def test_wrong_answers_are_caught(self):
        names = set_sounds(ASSETS, "Intervalle Schwer.Set")
        # The downward card plays the upward card's two notes backwards.
        up = audio.two_notes(audio.pitch_track(audio.decode(os.path.join(ASSETS, names[4]))))
        back = np.concatenate([tone(round(up[1]), 0.8), np.zeros(int(0.15 * RATE)),
                               tone(round(up[0]), 1.2)])
        self.reset()
        encode(at_lufs(back * np.exp(-np.arange(len(back)) / (3 * RATE))),
               os.path.join(self.dir, names[4 + 12]))
        self.assertCaught("Intervalle Schwer.Set", "share the note")
        # A melody's second card in the same key as its first.
        self.reset()
        names = set_sounds(self.dir, "Gleiche Melodie.Set")
        shutil.copy(os.path.join(self.dir, names[8]), os.path.join(self.dir, names[9]))
        self.assertCaught("Gleiche Melodie.Set", "same key")
        # A tempo piece in the same metre as its partner.
        self.reset()
        names = set_sounds(self.dir, "Gleiches Tempo.Set")
        shutil.copy(os.path.join(self.dir, names[2]), os.path.join(self.dir, names[12]))
        self.assertCaught("Gleiches Tempo.Set", "same metre")

    def test_new_exercises_catch_their_faults(self):
        def rich(keys, seconds=2.2):  # struck tones that ring down, at the set's level
            t = np.arange(int(seconds * RATE)) / RATE
            x = sum(tone(k, seconds, partials=[1 / h for h in range(1, 7)]) for k in keys)
            return at_lufs(x * np.exp(-t / 1.2))

        def file_of(set_file, number):
            return os.path.join(self.dir, set_sounds(self.dir, set_file)[number - 1])

        chords = "Gleicher Akkord.Set"
        # The partner of the major chord on C3 (sound 1) played on C3 as well.
        self.reset()
        encode(rich([48, 52, 55]), file_of(chords, 2))
        self.assertCaught(chords, "share the bass 48")
        # The augmented chord's partner a major third above its bass: the same
        # three pitch classes, found by remembering a note.
        self.reset()
        bass = check_sounds.intent(self.score(), set_sounds(self.dir, chords)[6], "bass")
        encode(rich([bass + 4, bass + 8, bass + 12]), file_of(chords, 8))
        self.assertCaught(chords, "share the pitch class")
        # A cluster is no chord type.
        self.reset()
        encode(rich([50, 51, 52]), file_of(chords, 5))
        self.assertCaught(chords, "no chord type")
        # The partner is its card moved up a semitone: a major chord on another
        # bass, sharing no note, but on the same instrument.
        self.reset()
        x = audio.decode(file_of(chords, 1))
        up = np.interp(np.arange(0, len(x) - 1, 2 ** (1 / 12)), np.arange(len(x)), x)
        encode(up, file_of(chords, 2))
        self.assertCaught(chords, "closest to its partner")
        # Three pairs copies of others: nine chord types are left.
        self.reset()
        for victim, donor in ((2, 5), (4, 7), (9, 11)):
            self.copy_pair(chords, victim, donor)
        self.assertCaught(chords, "9 chord types, at least 10")

        pitches = "Gleiche Tonhöhe.Set"
        # A slide holds no pitch a child could match.
        self.reset()
        t = np.arange(int(2.0 * RATE)) / RATE
        f = 440 * 2 ** ((55 + 4 * t / 2.0 - 69) / 12)
        encode(at_lufs(0.3 * np.sin(2 * np.pi * np.cumsum(f) / RATE)), file_of(pitches, 5))
        self.assertCaught(pitches, set_sounds(self.dir, pitches)[4], "holds no clear pitch")
        # The pair on C3 moved to Cis6, an octave above the pair on Cis5.
        self.reset()
        for number in (1, 2):
            encode(rich([85]), file_of(pitches, number))
        self.assertCaught(pitches, "an octave apart")

        rhythms = "Ta und Ti-Ti.Set"
        # Both cards of a pair with a lone ti after the second beat: a syncopation.
        self.reset()
        click = tone(84, 0.12) * np.exp(-np.arange(int(0.12 * RATE)) / (0.02 * RATE))
        bar = np.zeros(int(2.9 * RATE))
        for k, loud in ((0, 1.0), (1, 0.5), (3, 0.5), (4, 1.0), (6, 1.0)):
            i = int(round(k * 0.3 * RATE))
            bar[i:i + len(click)] += loud * click
        for number in (1, 2):
            encode(at_lufs(bar), file_of(rhythms, number))
        self.assertCaught(rhythms, "no bar of ta, ti-ti and ta-a")
        # One card ten per cent faster than the rest: two tempos.
        self.reset()
        x = audio.decode(file_of(rhythms, 5))
        encode(np.interp(np.arange(0, len(x) - 1, 1.1), np.arange(len(x)), x),
               file_of(rhythms, 5))
        self.assertCaught(rhythms, "no common grid")
        # Every rhythm with a ta-a replaced by one without: no ta-a left.
        self.reset()
        without = [1, 2, 4, 6, 12]
        for i, victim in enumerate((3, 5, 7, 8, 9, 10, 11)):
            self.copy_pair(rhythms, victim, without[i % len(without)])
        self.assertCaught(rhythms, "expected ta, ti-ti and ta-a")

    def score(self):
        return check_sounds.load_score(SCORE)

    def test_wrong_set_files_are_caught(self):
        cases = [  # (file, old bytes, new bytes, words of the expected fault)
            ("Genau das Gleiche.Set", b"2=GleichKlavierAkkord.ogg",
             b"2=GleichOrgelAkkord.ogg", ("listed twice",)),
            ("Gleiches Tempo.Set", b"\n", b"\r\n", ("CR",)),
            ("Gleiches Tempo.Set", b"Frage=Suche", b"Frage =Suche", ("Frage is",)),
            ("Gleiches Tempo.Set", b"Paarungen=10", b"Paarungen=7", ("Paarungen",)),
            ("Gleiches Tempo.Set", b"3=3x13", b"3=3x14", ("pairs",)),
            ("Gleiches Tempo.Set", b"16=Tempo", b"16=Fehlt", ("missing",)),
        ]
        for file, old, new, words in cases:
            with self.subTest(file=file, change=new):
                self.reset()
                self.edit(file, old, new)
                self.assertCaught(file, *words)

    def test_catalogue_must_reach_every_set(self):
        listed = read(os.path.join(self.dir, "Dir.lst"))
        # An entry that is not in the archive moves every later set to another key.
        self.edit("Dir.lst", b"Schlag-Instrumente.Set\n",
                  b"SchlagInstrumente.Set\nSchlag-Instrumente.Set\n")
        self.assertCaught("Gleiches Tempo.Set", "Dir.lst", "by its place")
        self.assertTrue(any("SchlagInstrumente.Set" in f and "not in the archive" in f
                            for f in self.faults("Gleiches Tempo.Set")))
        write(os.path.join(self.dir, "Dir.lst"), listed)
        os.remove(os.path.join(self.dir, set_sounds(self.dir, "Gleiches Tempo.Set")[0]))
        self.assertCaught("Gleiches Tempo.Set", "missing")


if __name__ == "__main__":
    unittest.main(verbosity=2)
