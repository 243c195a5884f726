#!/usr/bin/python3
"""Checks the card sets in an asset folder: "Dir.lst", the set files, and
that every sound proves from its audio what its set claims.

Usage: check_sounds.py [--assets DIR] [--score DIR] [--set FILE ...]

The expected table (files, questions, counts, pairing patterns) is this
check's own; the score under tools/sounds only tells what each sound is meant
to be (which interval, tempo, melody), which the audio must then show.

Every rule is measured on the decoded audio: loudness (BS.1770 integrated,
the mono file as one channel) and true peak per sound, the level after a
300 Hz high-pass against the set's median, attack times and onsets of the
rhythm sets on their common grid, accents on the beats, pitches and
intervals, tempos to a few hundredths of a percent, metres, chord types
from the spectrum (the tones of the octave above the bass), held pitches,
bars read as ta, ti-ti and ta-a; and, per set,
that no other cue (length, loudness, register, first note) singles out a
partner, and the chance that the next game deals other sounds.
Prints one line per fault and a summary per set, and exits with 1 when
there is any fault.
"""

import argparse
import hashlib
import itertools
import math
import os
import re
import sys
import zlib

import numpy as np

sys.dont_write_bytecode = True  # the score is imported from the source tree
HERE = os.path.dirname(os.path.abspath(__file__))
REPO = os.path.dirname(os.path.dirname(os.path.dirname(HERE)))
sys.path.insert(0, HERE)

import audio  # noqa: E402

# (file, question, sounds, pairs, pattern) in menu order
TABLE = [
    ("Genau das Gleiche.Set", "Suche genau das Gleiche", 56, 28, "neighbours"),
    ("Gleiche Melodie.Set", "Suche die gleiche Melodie", 36, 18, "neighbours"),
    ("Gleicher Beat.Set", "Suche den gleichen Beat", 24, 12, "neighbours"),
    ("Gleiches Instrument.Set", "Suche gleiche Instrumente", 32, 16, "neighbours"),
    ("Gleiches Tempo.Set", "Suche das gleiche Tempo", 20, 10, "halves"),
    ("Intervalle Leicht.Set", "Suche das gleiche Intervall", 16, 8, "halves"),
    ("Intervalle Schwer.Set", "Suche das umgekehrt gespielte Intervall", 24, 12,
     "halves"),
    ("Schlag-Instrumente.Set", "Suche das gleiche Schlaginstrument", 22, 11, "halves"),
    ("Gleicher Akkord.Set", "Suche den gleichen Akkord", 24, 12, "neighbours"),
    ("Gleiche Tonhöhe.Set", "Suche die gleiche Tonhöhe", 20, 10, "neighbours"),
    ("Ta und Ti-Ti.Set", "Suche den gleichen Rhythmus", 24, 12, "neighbours"),
]

MAX_TOTAL_BYTES = 8 * 1000 * 1000
MIN_S, MAX_S = 1.5, 4.0
START_DBFS = -37.0
MAX_START_S = 0.005
CLIP = 32767 / 32768
TARGET_LUFS, LUFS_TOLERANCE = -18.0, 1.0  # loud enough for a classroom laptop
MAX_TRUE_PEAK_DBTP = -1.0
SPEAKER_SPREAD_DB = 6.0  # after a 300 Hz high-pass, around the set's median
TEMPO_TOLERANCE = 0.03
TEMPO_MIN_RATIO = 1.07  # between tempos, and between a tempo and another's half or double
ONSET_TOLERANCE_S = 0.03
MAX_ATTACK_S = 0.03
MIN_PATTERN_DIFFERENCE = 2  # onsets in different places
ACCENT_DB = 1.5  # beats are played louder than the notes between them, on average
FIRST_ACCENT_DB = 1.0  # and the first hit louder than any hit between beats
MIN_VARIETY = 0.9  # chance that the next game deals other sounds
PAIRS_PER_GAME = 8
# What may not single out a partner: (cue, tolerance); the partner gives
# itself away by a cue when no other sound comes within the tolerance of the
# distance to it. Length is compared in proportion.
CUE_TOLERANCE = {"length": 0.1, "loudness": 1.0, "register": 2.0, "bass": 2.0}
# Chord types by their tones above the bass in close root position.
CHORD_TYPES = {
    (0, 4, 7): "major", (0, 3, 7): "minor", (0, 3, 6): "diminished",
    (0, 4, 8): "augmented", (0, 5, 7): "sus4", (0, 2, 7): "sus2",
    (0, 4, 7, 10): "dominant 7", (0, 4, 7, 11): "major 7", (0, 3, 7, 10): "minor 7",
    (0, 3, 6, 10): "half-diminished 7", (0, 3, 6, 9): "diminished 7",
    (0, 3, 7, 11): "minor-major 7", (0, 5, 7, 10): "7sus4", (0, 4, 8, 10): "augmented 7",
    (0, 4, 7, 9): "major 6", (0, 3, 7, 9): "minor 6",
}
MIN_CHORD_TYPES = 10
PITCH_TOLERANCE = 0.4  # semitones between the two cards of a pitch pair
MIN_HELD_SHARE = 0.8  # of the pitched frames on the held note
MIN_PITCH_GAP = 3  # semitones between the pitches of two pairs, for the youngest
SYLLABLES = ("ta", "ti-ti", "ta-a")


class Report:
    def __init__(self):
        self.faults = []

    def fail(self, where, text):
        self.faults.append(f"{where}: {text}")
        print(f"FAIL {where}: {text}")


# --- text files, read the way the game reads them ------------------------------

def read_lines(data):
    """Lines as the game sees them: LF ends a line, CR is dropped, a zero
    byte ends the line, one byte per character."""
    lines = data.split(b"\n")
    if lines and lines[-1] == b"":
        lines.pop()
    return [line.split(b"\0")[0].replace(b"\r", b"").decode("latin-1")
            for line in lines]


def read_set_value(lines, section, key):
    """The game's lookup: first entry of the section with this exact key."""
    header = "[" + section + "]"
    inside = False
    for line in lines:
        if line.startswith("'"):
            continue
        if "=" in line:
            if inside and "[" in line:
                return ""
            if inside and line.split("=", 1)[0] == key:
                return line.split("=", 1)[1]
        elif line == header:
            inside = True
    return ""


def leading_int(text):
    m = re.match(r"\s*([+-]?\d+)", text)
    return int(m.group(1)) if m else 0


def check_text_bytes(report, where, data):
    if b"\r" in data:
        report.fail(where, "CR in file; lines must end with LF only")
    if b"\0" in data:
        report.fail(where, "zero byte in file")
    if data.startswith(b"\xef\xbb\xbf") or data.startswith(b"\xff\xfe"):
        report.fail(where, "byte-order mark; the file must be plain Latin-1")
    if data and not data.endswith(b"\n"):
        report.fail(where, "last line has no LF")
    if re.search(rb"[\xc2\xc3][\x80-\xbf]", data):
        report.fail(where, "looks UTF-8 encoded; the game reads Latin-1")


def check_catalogue(report, assets):
    where = "Dir.lst"
    path = os.path.join(assets, where)
    if not os.path.isfile(path):
        report.fail(where, "missing")
        return []
    with open(path, "rb") as f:
        data = f.read()
    check_text_bytes(report, where, data)
    counted = [line for line in read_lines(data) if line[-4:].upper() == ".SET"]
    expected = [row[0] for row in TABLE]
    if counted != expected:
        report.fail(where, f"lists {counted}, expected {expected} (the menu reaches "
                    "each set by its place in the list)")
    for name in counted:
        if not os.path.isfile(os.path.join(assets, name)):
            report.fail(where, f'names "{name}", which is not in the archive')
    return [n for n in counted if os.path.isfile(os.path.join(assets, n))]


def parse_set(report, assets, row):
    """[(sound file names by number)], [(a, b)] of one set file, checked
    against its table row."""
    file, question, count, npairs, pattern = row
    with open(os.path.join(assets, file), "rb") as f:
        data = f.read()
    check_text_bytes(report, file, data)
    lines = read_lines(data)

    headers = [line for line in lines if line.startswith("[") and "=" not in line]
    if headers != ["[Text]", "[Sounds]", "[Connect]"]:
        report.fail(file, f"sections {headers}, expected [Text], [Sounds], [Connect]")
    for line in lines:
        if line and not line.startswith("'") and line not in headers and "=" not in line:
            report.fail(file, f'stray line "{line}"')
        if "=" in line and line.split("=", 1)[0] != line.split("=", 1)[0].strip():
            report.fail(file, f'blank around the key in "{line}"')

    got = read_set_value(lines, "Text", "Frage")
    if got != question:
        report.fail(file, f'Frage is "{got}", expected "{question}"')

    sounds = []
    for i in range(1, count + 2):
        name = read_set_value(lines, "Sounds", str(i))
        if not name:
            break
        sounds.append(name)
        if not re.fullmatch(r"[A-Za-z0-9]+\.ogg", name):
            report.fail(file, f'sound {i} "{name}" is not ASCII letters/digits + ".ogg"')
    if len(sounds) != count:
        report.fail(file, f"{len(sounds)} sounds, expected {count}")

    text = read_set_value(lines, "Connect", "Paarungen")
    n = leading_int(text)
    if text != str(npairs) or n < 8:
        report.fail(file, f'Paarungen is "{text}", expected {npairs} (at least 8)')
    pairs = []
    for k in range(1, n + 1):
        value = read_set_value(lines, "Connect", str(k))
        m = re.fullmatch(r"(\d+)x(\d{1,2})", value)
        if not m:
            report.fail(file, f'pair {k} is "{value}", expected a + "x" + b')
            continue
        pairs.append((int(m.group(1)), int(m.group(2))))
    if pattern == "neighbours":
        expected = [(2 * i - 1, 2 * i) for i in range(1, npairs + 1)]
    else:
        expected = [(i, i + npairs) for i in range(1, npairs + 1)]
    if pairs != expected:
        report.fail(file, f"pairs {pairs[:3]}..., expected {expected[:3]}...")
    section, seen = None, set()
    for line in lines:
        if line in headers:
            section = line
        elif "=" in line and not line.startswith("'"):
            key = (section, line.split("=", 1)[0])
            if key in seen:
                report.fail(file, f'key "{key[1]}" appears twice in {section}')
            seen.add(key)
    return sounds, [p for p in pairs if 0 < p[0] <= len(sounds) and 0 < p[1] <= len(sounds)]


# --- the sound files ---------------------------------------------------------------

# Decoded sounds and their analysis by the bytes of their file, for every check run in this
# process: the fault tests check many copies of the assets that differ in one file, and a file
# that differs in any byte is decoded and analysed anew.
_BY_CONTENT = {}


class Sounds:
    """Decoded sounds with analysis results, each made once."""

    def __init__(self, assets):
        self.assets = assets
        self.cache = {}

    def samples(self, name):
        if name not in self.cache:
            path = os.path.join(self.assets, name)
            with open(path, "rb") as f:
                key = hashlib.sha256(f.read()).digest()
            if key not in _BY_CONTENT:
                x = audio.decode(path)
                x.flags.writeable = False  # shared: no check may change it
                _BY_CONTENT[key] = {"x": x}
            self.cache[name] = _BY_CONTENT[key]
        return self.cache[name]["x"]

    def _get(self, name, what, make):
        self.samples(name)
        entry = self.cache[name]
        if what not in entry:
            entry[what] = make(entry["x"])
        return entry[what]

    def pitch(self, name):
        return self._get(name, "pitch", audio.pitch_track)

    def onsets(self, name):
        return self._get(name, "onsets", audio.onsets)

    def timbre(self, name):
        return self._get(name, "timbre", audio.timbre)

    def hits(self, name):
        """Onsets placed on the sample where each hit rises."""
        return self._get(name, "hits", lambda x: audio.refine_onsets(x, self.onsets(name)))

    def speaker_level(self, name):
        return self._get(name, "speaker", lambda x: audio.lufs(audio.highpass(x)))

    def lufs(self, name):
        return self._get(name, "lufs", audio.lufs)

    def true_peak(self, name):
        return self._get(name, "true peak", audio.true_peak)

    def tempo_period(self, name):
        return self._get(name, "tempo", lambda x: audio.tempo_period(x, self.onsets(name)))

    def length(self, name):
        return self._get(name, "length", audio.audible_length)

    def first_note(self, name):
        return audio.first_note(self.pitch(name))

    def chord(self, name):
        return self._get(name, "chord", audio.chord_notes)

    def bass(self, name):
        found = self.chord(name)
        return None if found is None else float(found[0])

    def held(self, name):
        return audio.held_pitch(self.pitch(name))

    def register(self, name):
        keys = self.pitch(name)
        return float(np.nanmedian(keys)) if np.any(~np.isnan(keys)) else None


def serial_for(name):
    # Same rule as the generator: the serial follows from the file name alone,
    # so that a rebuild writes identical bytes.
    return zlib.crc32(name[:-4].encode("ascii")) & 0x7FFFFFFF


def check_files(report, sounds, names):
    """Existence, container, length, start, clipping; returns loudness per file."""
    levels = {}
    for name in sorted(names):
        path = os.path.join(sounds.assets, name)
        if not os.path.isfile(path):
            report.fail(name, "named by a set but missing")
            continue
        try:
            serials, channels, rate = audio.ogg_info(path)
            x = sounds.samples(name)
        except audio.DecodeError as e:
            report.fail(name, f"does not decode: {e}")
            continue
        if channels != 1 or rate != audio.RATE:
            report.fail(name, f"{channels} channels at {rate} Hz, expected mono 44100 Hz")
        if len(set(serials)) != 1 or serials[0] != serial_for(name):
            report.fail(name, f"Ogg serial {sorted(set(serials))} is not the fixed "
                        f"{serial_for(name)}")
        if check_samples(report, name, x):
            levels[name] = sounds.lufs(name)
            check_level(report, name, levels[name], sounds.true_peak(name))
    return levels


def check_samples(report, name, x):
    """Length, prompt start and headroom of decoded samples; False if silent."""
    length = len(x) / audio.RATE
    if not MIN_S <= length <= MAX_S:
        report.fail(name, f"lasts {length:.2f} s, expected {MIN_S} to {MAX_S} s")
    audible = np.nonzero(np.abs(x) >= 10 ** (START_DBFS / 20))[0]
    if not len(audible):
        report.fail(name, "silent")
        return False
    if audible[0] / audio.RATE > MAX_START_S:
        report.fail(name, f"first audible sample at {1000 * audible[0] / audio.RATE:.1f}"
                    f" ms, expected within {1000 * MAX_START_S:.0f} ms")
    peak = np.max(np.abs(x))
    if peak >= CLIP:
        report.fail(name, f"clips (peak {peak:.4f} of full scale)")
    return True


def check_level(report, name, lufs, peak):
    """Integrated loudness (BS.1770, the mono file as one channel) and true peak."""
    if abs(lufs - TARGET_LUFS) > LUFS_TOLERANCE:
        report.fail(name, f"loudness {lufs:.2f} LUFS, expected {TARGET_LUFS:g} "
                    f"+-{LUFS_TOLERANCE:g}")
    if peak > MAX_TRUE_PEAK_DBTP:
        report.fail(name, f"true peak {peak:.2f} dBTP, expected at most "
                    f"{MAX_TRUE_PEAK_DBTP:g} dBTP")


def check_speaker_levels(report, file, sounds, names):
    """What a laptop leaves (a 300 Hz high-pass): every sound of a set within
    SPEAKER_SPREAD_DB of the set's median, so a low sound is not lost there."""
    levels = {n: sounds.speaker_level(n) for n in set(names)}
    middle = float(np.median(list(levels.values())))
    for name, level in sorted(levels.items()):
        if abs(level - middle) > SPEAKER_SPREAD_DB:
            report.fail(file, f"{name} after a 300 Hz high-pass at {level:.1f} LUFS, "
                        f"the set's median is {middle:.1f} (allowed {SPEAKER_SPREAD_DB:g} dB)")
    return levels


def check_archive(report, assets, named):
    oggs = [f for f in os.listdir(assets) if f.lower().endswith(".ogg")]
    total = sum(os.path.getsize(os.path.join(assets, f)) for f in oggs)
    if total >= MAX_TOTAL_BYTES:
        report.fail("assets", f"sounds take {total / 1e6:.2f} MB, limit 8 MB")
    for f in sorted(set(oggs) - set(named)):
        report.fail(f, "in the archive but named by no set")
    return total


# --- what the audio must show, per set -------------------------------------------

def agreement(a, b):
    """Share of frames, pitched in both tracks, whose pitches agree."""
    n = min(len(a), len(b))
    a, b = a[:n], b[:n]
    both = ~np.isnan(a) & ~np.isnan(b)
    if both.sum() < 20:
        return 0.0
    return float((np.abs(a[both] - b[both]) < 0.5).sum() / both.sum())


def onset_match(a, b):
    """F-measure of two onset lists."""
    if not len(a) or not len(b):
        return 0.0
    return 2 * audio.match_onsets(a, b, ONSET_TOLERANCE_S) / (len(a) + len(b))


def partners(pairs):
    out = {}
    for a, b in pairs:
        out[a - 1], out[b - 1] = b - 1, a - 1
    return out


def give_aways(report, file, sounds, names, pairs, cues):
    """Nothing but the relation may single out a partner: for every cue, some
    other sound of the set comes as close to a sound as its partner does
    (within the cue's tolerance). `cues` names what applies to the set."""
    partner = partners(pairs)
    measure = {"length": "length", "loudness": "lufs", "register": "register", "bass": "bass"}
    for cue in cues:
        values = {i: getattr(sounds, measure[cue])(names[i]) for i in partner}
        for i, p in sorted(partner.items()):
            if i > p or values[i] is None or values[p] is None:
                continue
            for s, q in ((i, p), (p, i)):
                tol = CUE_TOLERANCE[cue] * (values[s] if cue == "length" else 1.0)
                near = abs(values[s] - values[q])
                others = [abs(values[s] - v) for j, v in values.items()
                          if j not in (s, q) and v is not None]
                if others and near + tol < min(others):
                    report.fail(file, f"{names[s]} and {names[q]} give themselves away by "
                                f"their {cue} ({values[s]:.2f} and {values[q]:.2f}; no other "
                                f"sound within {min(others):.2f})")
                    break


def different_first_notes(report, file, sounds, names, pairs):
    for a, b in pairs:
        fa, fb = sounds.first_note(names[a - 1]), sounds.first_note(names[b - 1])
        if fa is not None and fb is not None and abs(fa - fb) < 0.5:
            report.fail(file, f"{names[a - 1]} and {names[b - 1]} start on the same note "
                        f"({fa:.1f})")


def relation_identical(report, file, sounds, names, pairs, score):
    for a, b in pairs:
        if names[a - 1] != names[b - 1]:
            report.fail(file, f"pair {a}x{b} joins {names[a - 1]} and {names[b - 1]}, "
                        "expected one file listed twice")
    firsts = [names[a - 1] for a, _ in pairs]
    if len(set(firsts)) != len(firsts):
        report.fail(file, "one file serves in two pairs")
    digests = {}
    for name in set(firsts):
        digests.setdefault(hashlib.sha1(sounds.samples(name).tobytes()).hexdigest(),
                           []).append(name)
    for same in digests.values():
        if len(same) > 1:
            report.fail(file, f"{', '.join(sorted(same))} sound identical")


def steps(seq):
    return [b - a for a, b in zip(seq, seq[1:])]


def relation_melody(report, file, sounds, names, pairs, score):
    seqs = {}
    for a, b in pairs:
        na, nb = names[a - 1], names[b - 1]
        for n in (na, nb):
            seqs[n] = audio.note_sequence(sounds.pitch(n))
            want = score_keys(score, n)
            if want is not None and seqs[n] != want:
                report.fail(n, f"plays {seqs[n]}, the score has {want}")
        # the same tune, in another key
        if len(seqs[na]) < 3 or steps(seqs[na]) != steps(seqs[nb]):
            report.fail(file, f"{na} plays {seqs[na]} but {nb} plays {seqs[nb]}")
        elif seqs[na] and seqs[na][0] == seqs[nb][0]:
            report.fail(file, f"{na} and {nb} play the tune in the same key")
        if same_program(score, na, nb):
            report.fail(file, f"{na} and {nb} use the same instrument")
    firsts = [names[a - 1] for a, _ in pairs]
    for i, x in enumerate(firsts):
        for y in firsts[i + 1:]:
            agree = agreement(sounds.pitch(x), sounds.pitch(y))
            if steps(seqs[x]) == steps(seqs[y]) or agree > 0.7:
                report.fail(file, f"melodies {x} and {y} are too alike ({agree:.0%})")
    different_first_notes(report, file, sounds, names, pairs)
    give_aways(report, file, sounds, names, pairs, ("length", "loudness", "register"))


def attacks(report, file, sounds, names):
    """Every hit's envelope reaches its peak within MAX_ATTACK_S: a slow voice
    sounds its notes late against a quick one playing the same rhythm."""
    worst = 0.0
    for n in sorted(set(names)):
        x = sounds.samples(n)
        times = sounds.onsets(n)
        rise = audio.attack_times(x, times)
        slow = np.nonzero(rise > MAX_ATTACK_S)[0]
        if len(slow):
            report.fail(file, f"{n}: hit at {times[slow[0]]:.2f} s takes "
                        f"{1000 * rise[slow[0]]:.0f} ms to its peak (at most "
                        f"{1000 * MAX_ATTACK_S:.0f} ms)")
        if len(rise):
            worst = max(worst, float(np.nanmax(rise)))
    return worst


def patterns(report, file, sounds, names):
    """Grid positions of every sound's hits on the set's common grid, and the
    grid step in seconds. One grid for the whole set means one tempo."""
    hits = {n: sounds.hits(n) for n in set(names)}
    usable = [h for h in hits.values() if len(h) >= 2]
    step = audio.grid_step(usable) if usable else None
    if step is None:
        report.fail(file, "the hits of the set lie on no common grid (one tempo)")
        return {}, None
    return {n: frozenset(int(k) for k in np.round((h - h[0]) / step))
            for n, h in hits.items()}, step


def accents(report, file, sounds, names, grid, beat):
    """The first hit is on a beat, and beats are louder than the hits between
    them: the metre is heard from the start, so no upbeat passes for a downbeat."""
    for n in sorted(set(names)):
        times = sounds.hits(n)
        levels = audio.hit_levels(sounds.samples(n), times)
        positions = np.round((times - times[0]) / grid).astype(int)
        on = levels[positions % beat == 0]
        off = levels[positions % beat != 0]
        if len(off) and (levels[0] < off.max() + FIRST_ACCENT_DB
                         or on.mean() < off.mean() + ACCENT_DB):
            report.fail(file, f"{n}: beats at {on.mean():.1f} dB, the first at {levels[0]:.1f}, "
                        f"hits between beats at {off.mean():.1f}, up to {off.max():.1f}; the "
                        f"beats must stand out by {ACCENT_DB} dB, the first hit by "
                        f"{FIRST_ACCENT_DB} dB")


def pattern_difference(a, b):
    return len(a ^ b)


def relation_beat(report, file, sounds, names, pairs, score):
    firsts = []
    for a, b in pairs:
        na, nb = names[a - 1], names[b - 1]
        oa, ob = sounds.onsets(na), sounds.onsets(nb)
        if len(oa) < 3 or len(oa) != len(ob) or onset_match(oa, ob) < 1.0:
            report.fail(file, f"{na} {np.round(oa, 2).tolist()} and {nb} "
                        f"{np.round(ob, 2).tolist()} differ in their onsets")
        ha, hb = sounds.hits(na), sounds.hits(nb)
        if len(ha) == len(hb) and len(ha) and np.max(np.abs(ha - hb)) > ONSET_TOLERANCE_S:
            report.fail(file, f"{na} and {nb} are up to {1000 * np.max(np.abs(ha - hb)):.0f}"
                        " ms apart in one hit (a flam, not one rhythm)")
        if sounds.timbre(na) @ sounds.timbre(nb) > 0.98:
            report.fail(file, f"{na} and {nb} sound alike; they must differ in sound")
        firsts.append(na)
    worst = attacks(report, file, sounds, names)
    grids, step = patterns(report, file, sounds, names)
    if step is None:
        return
    beat = 4  # sixteenths per beat
    accents(report, file, sounds, names, step, beat)
    for a, b in pairs:
        if grids[names[a - 1]] != grids[names[b - 1]]:
            report.fail(file, f"{names[a - 1]} and {names[b - 1]} differ in rhythm")
    least = None
    for i, x in enumerate(firsts):
        for y in firsts[i + 1:]:
            d = pattern_difference(grids[x], grids[y])
            least = d if least is None else min(least, d)
            if d < MIN_PATTERN_DIFFERENCE:
                report.fail(file, f"rhythms {x} and {y} differ in {d} onsets, at least "
                            f"{MIN_PATTERN_DIFFERENCE} needed")
    print(f"{file}: one grid of {1000 * step:.1f} ms ({15 / step:.1f} beats per minute), "
          f"slowest attack {1000 * worst:.0f} ms, rhythms differ in at least {least} onsets")
    give_aways(report, file, sounds, names, pairs, ("length", "loudness"))


def nearest_partner(report, file, sounds, names, pairs):
    partner = partners(pairs)
    v = np.array([sounds.timbre(n) for n in names])
    sim = v @ v.T
    for i in sorted(partner):
        sim[i, i] = -np.inf
        nearest = int(np.argmax(sim[i]))
        if nearest != partner[i]:
            report.fail(file, f"{names[i]} sounds closer to {names[nearest]} than to "
                        f"its partner {names[partner[i]]}")


def relation_instrument(report, file, sounds, names, pairs, score):
    nearest_partner(report, file, sounds, names, pairs)
    for a, b in pairs:
        na, nb = names[a - 1], names[b - 1]
        if agreement(sounds.pitch(na), sounds.pitch(nb)) > 0.6:
            report.fail(file, f"{na} and {nb} play the same phrase")
    different_first_notes(report, file, sounds, names, pairs)
    give_aways(report, file, sounds, names, pairs, ("length", "loudness", "register"))


def relation_percussion(report, file, sounds, names, pairs, score):
    nearest_partner(report, file, sounds, names, pairs)
    worst = attacks(report, file, sounds, names)
    grids, step = patterns(report, file, sounds, names)
    if step is None:
        return
    accents(report, file, sounds, names, step, 4)
    least = None
    for a, b in pairs:
        na, nb = names[a - 1], names[b - 1]
        d = pattern_difference(grids[na], grids[nb])
        least = d if least is None else min(least, d)
        if d < MIN_PATTERN_DIFFERENCE:
            report.fail(file, f"{na} and {nb} play the same pattern (differ in {d} onsets)")
    print(f"{file}: one grid of {1000 * step:.1f} ms ({15 / step:.1f} beats per minute), "
          f"slowest attack {1000 * worst:.0f} ms, partners differ in at least {least} onsets")
    give_aways(report, file, sounds, names, pairs, ("length", "loudness"))


def tempo_clash(t1, t2):
    """True when two tempos lie within 7 % of each other or of the other's
    half or double (a piece heard in half time)."""
    lo, hi = sorted((t1, t2))
    return hi / lo < TEMPO_MIN_RATIO or max(hi, 2 * lo) / min(hi, 2 * lo) < TEMPO_MIN_RATIO \
        or max(2 * hi, lo) / min(2 * hi, lo) < TEMPO_MIN_RATIO


def metre(sounds, name, period):
    """Beats from one accented beat to the next (bass and a louder note), or
    None when the sound holds only one accent."""
    x = sounds.samples(name)
    start = sounds.hits(name)[0]
    count = int((len(x) / audio.RATE - start - 0.1) / period) + 1
    times = start + period * np.arange(count)
    levels = audio.hit_levels(x, times, window_s=min(0.1, period / 2))
    loud = np.nonzero(levels > np.median(levels) + 3.0)[0] if count > 1 else []
    if len(loud) < 2:
        loud = np.nonzero(levels > levels.max() - 3.0)[0]
    return int(loud[1] - loud[0]) if len(loud) >= 2 else None


def relation_tempo(report, file, sounds, names, pairs, score):
    measured = []
    for a, b in pairs:
        bpm, metres = {}, {}
        for n in (names[a - 1], names[b - 1]):
            period = sounds.tempo_period(n)
            bpm[n] = 60 / period if period else 0.0
            want = intent(score, n, "bpm")
            if want and abs(bpm[n] / want - 1) > TEMPO_TOLERANCE:
                report.fail(n, f"beats at {bpm[n]:.1f} per minute, the score has {want:.1f}")
            metres[n] = metre(sounds, n, period) if period else None
        (na, ta), (nb, tb) = bpm.items()
        if not ta or not tb or abs(ta / tb - 1) > TEMPO_TOLERANCE:
            report.fail(file, f"{na} at {ta:.1f} and {nb} at {tb:.1f} beats per minute "
                        "differ by more than 3 %")
        if metres[na] == metres[nb]:
            report.fail(file, f"{na} and {nb} have the same metre ({metres[na]} beats)")
        if same_program(score, na, nb) or sounds.timbre(na) @ sounds.timbre(nb) > 0.98:
            report.fail(file, f"{na} and {nb} must differ in instrument")
        if agreement(sounds.pitch(na), sounds.pitch(nb)) > 0.5:
            report.fail(file, f"{na} and {nb} play the same tune")
        measured.append((np.sqrt(ta * tb) if ta and tb else 0.0, na))
    closest = np.inf
    for i, (t1, n1) in enumerate(measured):
        for t2, n2 in measured[i + 1:]:
            if t1 and t2:
                lo, hi = sorted((t1, t2))
                closest = min(closest, hi / lo, max(hi, 2 * lo) / min(hi, 2 * lo),
                              max(2 * hi, lo) / min(2 * hi, lo))
            if t1 and t2 and tempo_clash(t1, t2):
                report.fail(file, f"{n1} ({t1:.1f}) and {n2} ({t2:.1f}) lie within 7 % of "
                            "each other or of the other's half or double")
    print(f"{file}: tempos {', '.join(f'{t:.2f}' for t, _ in sorted(measured))} per minute; "
          f"closest two (or half, or double) {100 * (closest - 1):.2f} % apart")
    different_first_notes(report, file, sounds, names, pairs)
    give_aways(report, file, sounds, names, pairs, ("length", "loudness", "register"))


POSTER_INTERVALS = {0, 2, 4, 5, 7, 9, 11, 12}  # Prime to Oktave, above a major keynote


def relation_interval(report, file, sounds, names, pairs, score, reversed_=False):
    seen = []
    for a, b in pairs:
        notes = {}
        for n in (names[a - 1], names[b - 1]):
            found = audio.two_notes(sounds.pitch(n))
            if found is None:
                report.fail(n, "no two pitched notes found")
                continue
            step = found[1] - found[0]
            if abs(step - round(step)) > 0.4:
                report.fail(n, f"notes {found[0]:.2f} and {found[1]:.2f} are no whole "
                            "number of semitones apart")
            want = intent(score, n, "interval")
            if want is not None and round(step) != want:
                report.fail(n, f"interval {round(step):+d} semitones, the score has {want:+d}")
            notes[n] = found
        if len(notes) != 2:
            continue
        (na, (a1, a2)), (nb, (b1, b2)) = notes.items()
        sa, sb = round(a2 - a1), round(b2 - b1)
        if reversed_:
            if sa != -sb or sa <= 0:
                report.fail(file, f"{nb} ({b1:.1f} to {b2:.1f}) does not play the interval "
                            f"of {na} ({a1:.1f} to {a2:.1f}) going down")
            shared = [k for k in (a1, a2) if min(abs(k - b1), abs(k - b2)) < 0.5]
            if shared:
                report.fail(file, f"{na} and {nb} share the note {shared[0]:.1f}; "
                            "remembering a pitch would find the pair")
        else:
            if sa != sb or sa < 0:
                report.fail(file, f"{na} ({sa:+d}) and {nb} ({sb:+d}) differ in interval")
            if abs(a1 - b1) < 0.5:
                report.fail(file, f"{na} and {nb} start on the same note")
        seen.append(abs(sa))
    print(f"{file}: intervals {sorted(seen)} semitones")
    if len(set(seen)) != len(seen):
        report.fail(file, f"intervals {seen} repeat; every pair needs its own")
    if reversed_ and sorted(seen) != list(range(1, 13)):
        report.fail(file, f"intervals {sorted(seen)}, expected minor second to octave")
    if not reversed_ and set(seen) != POSTER_INTERVALS:
        report.fail(file, f"intervals {sorted(seen)}, expected the poster's Prime to "
                    f"Oktave {sorted(POSTER_INTERVALS)}")
    give_aways(report, file, sounds, names, pairs, ("length", "loudness", "register"))


def different_instruments(report, file, sounds, names, pairs, score, closest=True):
    """Partners on other instruments, and (with `closest`) no instrument that
    gives a pair away: no sound sounds closest to its own partner. Where the
    partners share their pitch, their spectra share it too, and closeness
    tells nothing about the instrument."""
    for a, b in pairs:
        na, nb = names[a - 1], names[b - 1]
        if same_program(score, na, nb) or sounds.timbre(na) @ sounds.timbre(nb) > 0.98:
            report.fail(file, f"{na} and {nb} must differ in instrument")
    if not closest:
        return
    partner = partners(pairs)
    v = np.array([sounds.timbre(n) for n in names])
    sim = v @ v.T
    for i in sorted(partner):
        sim[i, i] = -np.inf
        if int(np.argmax(sim[i])) == partner[i]:
            report.fail(file, f"{names[i]} sounds closest to its partner {names[partner[i]]}; "
                        "the instrument gives the pair away")


def relation_chord(report, file, sounds, names, pairs, score):
    """The chord type from the spectrum: the tones of the octave above the
    bass, as semitones; partners play one type on other basses, other
    instruments and other notes; every pair has its own type."""
    types, weakest, loudest_other = [], 0.0, -np.inf
    for a, b in pairs:
        found = {}
        for n in (names[a - 1], names[b - 1]):
            notes = sounds.chord(n)
            if notes is None:
                report.fail(n, "no chord found")
                continue
            bass, steps, weak, other = notes
            weakest, loudest_other = min(weakest, weak), max(loudest_other, other)
            if steps not in CHORD_TYPES:
                report.fail(n, f"plays {list(steps)} semitones above {bass}, no chord type")
            want = intent(score, n, "steps")
            if want is not None and (list(steps) != want or bass != intent(score, n, "bass")):
                report.fail(n, f"plays {list(steps)} above {bass}, the score has {want} above "
                            f"{intent(score, n, 'bass')}")
            found[n] = bass, steps
        if len(found) != 2:
            continue
        (na, (ba, sa)), (nb, (bb, sb)) = found.items()
        if sa != sb:
            report.fail(file, f"{na} ({CHORD_TYPES.get(sa, list(sa))}) and {nb} "
                        f"({CHORD_TYPES.get(sb, list(sb))}) differ in chord type")
        if ba == bb:
            report.fail(file, f"{na} and {nb} share the bass {ba}")
        shared = {(ba + s) % 12 for s in sa} & {(bb + s) % 12 for s in sb}
        if shared:
            report.fail(file, f"{na} and {nb} share the pitch class {sorted(shared)[0]}; "
                        "remembering a note would find the pair")
        types.append(sa)
    named = [CHORD_TYPES.get(t, str(list(t))) for t in types]
    for t in sorted(set(named)):
        if named.count(t) > 1:
            report.fail(file, f"the chord type {t} serves {named.count(t)} pairs; every pair "
                        "needs its own")
    if len(set(named)) < MIN_CHORD_TYPES:
        report.fail(file, f"{len(set(named))} chord types, at least {MIN_CHORD_TYPES} wanted")
    print(f"{file}: chord types {', '.join(named)}; weakest chord tone {weakest:.1f} dB under "
          f"the loudest, strongest other key in the octave {loudest_other:.1f} dB")
    different_instruments(report, file, sounds, names, pairs, score)
    give_aways(report, file, sounds, names, pairs, ("length", "loudness", "bass"))


def relation_pitch(report, file, sounds, names, pairs, score):
    """One held pitch per card; partners on one pitch and other instruments;
    pairs clearly apart: MIN_PITCH_GAP semitones and never an octave."""
    pitches, worst_share, worst_gap = [], 1.0, 0.0
    for a, b in pairs:
        found = {}
        for n in (names[a - 1], names[b - 1]):
            held = sounds.held(n)
            if held is None or held[1] < MIN_HELD_SHARE:
                report.fail(n, "holds no clear pitch" + (
                    f" ({100 * held[1]:.0f} % of the frames on {held[0]:.1f})" if held else ""))
                continue
            worst_share = min(worst_share, held[1])
            want = intent(score, n, "pitch")
            if want is not None and abs(held[0] - want) > PITCH_TOLERANCE:
                report.fail(n, f"pitch {held[0]:.2f}, the score has {want}")
            found[n] = held[0]
        if len(found) != 2:
            continue
        (na, pa), (nb, pb) = found.items()
        worst_gap = max(worst_gap, abs(pa - pb))
        if abs(pa - pb) > PITCH_TOLERANCE:
            report.fail(file, f"{na} ({pa:.2f}) and {nb} ({pb:.2f}) differ in pitch")
        pitches.append(((pa + pb) / 2, na))
    pitches.sort()
    for (p1, n1), (p2, n2) in itertools.combinations(pitches, 2):
        if abs(p2 - p1) < MIN_PITCH_GAP - PITCH_TOLERANCE:
            report.fail(file, f"{n1} ({p1:.1f}) and {n2} ({p2:.1f}) are less than "
                        f"{MIN_PITCH_GAP} semitones apart")
        elif round(p2 - p1) % 12 == 0:
            report.fail(file, f"{n1} ({p1:.1f}) and {n2} ({p2:.1f}) are an octave apart")
    gaps = [q - p for (p, _), (q, _) in zip(pitches, pitches[1:])]
    print(f"{file}: pitches {', '.join(f'{p:.2f}' for p, _ in pitches)}; closest pairs "
          f"{min(gaps) if gaps else 0:.2f} semitones apart, partners within {worst_gap:.2f}, "
          f"at least {100 * worst_share:.0f} % of the frames on the note")
    different_instruments(report, file, sounds, names, pairs, score, closest=False)
    give_aways(report, file, sounds, names, pairs, ("length", "loudness"))


def syllables(positions, bar=8):
    """A bar on an eighth grid read as ta (a quarter), ti-ti (two eighths)
    and ta-a (a half), from onset positions counted from the downbeat; None
    when the bar is not made of these alone (a rest, a lone eighth, a note
    across the beat, or too long)."""
    on = set(positions)
    if not on or min(on) != 0 or max(on) >= bar:
        return None
    out, p = [], 0
    while p < bar:
        if p not in on:
            return None
        if p + 1 in on:
            out.append("ti-ti")
            p += 2
        elif p + 2 in on or p + 2 == bar:
            out.append("ta")
            p += 2
        elif p + 3 not in on and (p + 4 in on or p + 4 == bar):
            out.append("ta-a")
            p += 4
        else:
            return None
    return out


def relation_tati(report, file, sounds, names, pairs, score):
    """Every card one bar of ta, ti-ti and ta-a on the set's one eighth grid;
    partners play it alike on other instruments, and any two rhythms differ
    in MIN_PATTERN_DIFFERENCE onsets."""
    worst = attacks(report, file, sounds, names)
    grids, step = patterns(report, file, sounds, names)
    if step is None:
        return
    accents(report, file, sounds, names, step, 2)
    bpm = 30 / step
    read = {}
    for n in sorted(set(names)):
        want = intent(score, n, "bpm")
        if want and abs(bpm / want - 1) > TEMPO_TOLERANCE:
            report.fail(n, f"eighths at {bpm:.1f} beats per minute, the score has {want}")
        read[n] = syllables(grids[n])
        if read[n] is None:
            report.fail(file, f"{n}: onsets on eighths {sorted(grids[n])} are no bar of ta, "
                        "ti-ti and ta-a")
        elif intent(score, n, "rhythm") not in (None, " ".join(read[n])):
            report.fail(n, f"plays {' '.join(read[n])}, the score has {intent(score, n, 'rhythm')}")
    firsts = []
    for a, b in pairs:
        na, nb = names[a - 1], names[b - 1]
        if grids[na] != grids[nb]:
            report.fail(file, f"{na} ({' '.join(read[na] or ['?'])}) and {nb} "
                        f"({' '.join(read[nb] or ['?'])}) differ in rhythm")
        ha, hb = sounds.hits(na), sounds.hits(nb)
        if len(ha) == len(hb) and len(ha) and np.max(np.abs(ha - hb)) > ONSET_TOLERANCE_S:
            report.fail(file, f"{na} and {nb} are up to {1000 * np.max(np.abs(ha - hb)):.0f}"
                        " ms apart in one note")
        firsts.append(na)
    least = None
    for x, y in itertools.combinations(firsts, 2):
        d = pattern_difference(grids[x], grids[y])
        least = d if least is None else min(least, d)
        if d < MIN_PATTERN_DIFFERENCE:
            report.fail(file, f"rhythms {x} and {y} differ in {d} onsets, at least "
                        f"{MIN_PATTERN_DIFFERENCE} needed")
    used = {s for r in read.values() if r for s in r}
    if used != set(SYLLABLES):
        report.fail(file, f"the rhythms use {sorted(used)}, expected ta, ti-ti and ta-a")
    print(f"{file}: one grid of {1000 * step:.1f} ms ({bpm:.1f} beats per minute), slowest "
          f"attack {1000 * worst:.0f} ms, rhythms differ in at least {least} onsets")
    different_instruments(report, file, sounds, names, pairs, score)
    give_aways(report, file, sounds, names, pairs, ("length", "loudness", "register"))


RELATIONS = {
    "Genau das Gleiche.Set": relation_identical,
    "Gleiche Melodie.Set": relation_melody,
    "Gleicher Beat.Set": relation_beat,
    "Gleiches Instrument.Set": relation_instrument,
    "Gleiches Tempo.Set": relation_tempo,
    "Intervalle Leicht.Set": relation_interval,
    "Intervalle Schwer.Set": lambda *a: relation_interval(*a, reversed_=True),
    "Schlag-Instrumente.Set": relation_percussion,
    "Gleicher Akkord.Set": relation_chord,
    "Gleiche Tonhöhe.Set": relation_pitch,
    "Ta und Ti-Ti.Set": relation_tati,
}

# Sets whose pool is the poster itself: every game deals the same eight pairs.
SAME_EVERY_GAME = {"Intervalle Leicht.Set"}


def chance_of_new_sounds(names, pairs, per_game=PAIRS_PER_GAME):
    """Chance that a game deals another set of sounds than the game before:
    the game draws `per_game` of the pairs at random, each choice alike."""
    files = [frozenset((names[a - 1], names[b - 1])) for a, b in pairs]
    n = len(files)
    if n < per_game:
        return 0.0
    disjoint = sum(len(f) for f in files) == len(frozenset().union(*files))
    if disjoint:  # other pairs, other sounds
        return 1.0 - 1.0 / math.comb(n, per_game)
    counts = {}
    for combo in itertools.combinations(range(n), per_game):
        key = frozenset().union(*(files[i] for i in combo))
        counts[key] = counts.get(key, 0) + 1
    total = math.comb(n, per_game)
    return 1.0 - sum((c / total) ** 2 for c in counts.values())


def check_variety(report, file, names, pairs):
    chance = chance_of_new_sounds(names, pairs)
    if file not in SAME_EVERY_GAME and chance <= MIN_VARIETY:
        report.fail(file, f"the next game deals other sounds with a chance of {chance:.3f}, "
                    f"more than {MIN_VARIETY} needed")
    return chance


# --- the score: what each sound is meant to be -----------------------------------

def load_score(folder):
    if not folder or not os.path.isdir(folder):
        return {}
    sys.path.insert(0, folder)
    import score  # the generator's manifest
    return {s.name + ".ogg": s for s in score.all_sounds()}


def intent(score, name, key):
    snd = score.get(name)
    return None if snd is None else snd.intent.get(key)


def score_keys(score, name):
    snd = score.get(name)
    if snd is None:
        return None
    keys = [k for _, _, channel, k, _ in sorted(snd.notes) if channel == 0]
    return [k for i, k in enumerate(keys) if i == 0 or keys[i - 1] != k]


def same_program(score, a, b):
    pa, pb = score.get(a), score.get(b)
    return pa is not None and pb is not None and pa.programs.get(0) == pb.programs.get(0)


# --- main ------------------------------------------------------------------------------

def run(assets, score_dir, only=None):
    report = Report()
    score = load_score(score_dir)
    sounds = Sounds(assets)
    listed = check_catalogue(report, assets)
    named = set()
    todo = []
    for row in TABLE:
        if row[0] not in listed or (only and row[0] not in only):
            continue
        names, pairs = parse_set(report, assets, row)
        named.update(names)
        todo.append((row[0], names, pairs))
    if not only:
        total = check_archive(report, assets, named)
    levels = check_files(report, sounds, named)
    for file, names, pairs in todo:
        chance = check_variety(report, file, names, pairs)
        if all(n in levels for n in names):
            speaker = check_speaker_levels(report, file, sounds, names)
            RELATIONS[file](report, file, sounds, names, pairs, score)
            print(f"{file}: {len(set(names))} sounds, {len(pairs)} pairs, next game other "
                  f"sounds {chance:.4f}; loudness {min(levels[n] for n in names):.2f} .. "
                  f"{max(levels[n] for n in names):.2f} LUFS, true peak at most "
                  f"{max(sounds.true_peak(n) for n in set(names)):.2f} dBTP, "
                  f"after 300 Hz high-pass {min(speaker.values()):.1f} .. "
                  f"{max(speaker.values()):.1f} LUFS")
        else:
            report.fail(file, "not every sound is usable; relations not checked")
    if levels:
        spread = max(levels.values()) - min(levels.values())
        summary = (f"{len(levels)} sounds, loudness spread {spread:.2f} dB")
        if not only:
            summary += f", {total / 1e6:.2f} MB"
        print(summary)
    return report.faults


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("--assets", default=os.path.join(REPO, "assets"))
    ap.add_argument("--score", default=os.path.join(REPO, "tools", "sounds"))
    ap.add_argument("--set", nargs="*", help="check only these set files")
    args = ap.parse_args()
    faults = run(args.assets, args.score, args.set)
    print(f"sound check: {len(faults)} faults")
    sys.exit(1 if faults else 0)


if __name__ == "__main__":
    main()
