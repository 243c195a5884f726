#!/usr/bin/python3
"""Checks the card sets in an asset folder: "Dir.lst", the set files, and
that every sound proves from its audio what its set claims.

Usage: check_sounds.py [--assets DIR] [--score DIR] [--set FILE ...]

The expected table (files, questions, counts, pairing patterns) is this
check's own; the score under tools/sounds only tells what each sound is meant
to be (which interval, tempo, melody), which the audio must then show.
Prints one line per fault and exits with 1 when there is any.
"""

import argparse
import hashlib
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
    ("Gleiches Tempo.Set", "Suche das gleiche Tempo", 16, 8, "halves"),
    ("Intervalle Leicht.Set", "Suche das gleiche Intervall", 16, 8, "halves"),
    ("Intervalle Schwer.Set", "Suche das umgekehrt gespielte Intervall", 16, 8,
     "halves"),
    ("Schlag-Instrumente.Set", "Suche das gleiche Schlaginstrument", 22, 11, "halves"),
]

MAX_TOTAL_BYTES = 8 * 1000 * 1000
MIN_S, MAX_S = 1.5, 4.0
START_DBFS = -37.0
MAX_START_S = 0.005
LOUDNESS_SPREAD_DB = 2.0
CLIP = 32767 / 32768
TEMPO_TOLERANCE = 0.03
TEMPO_MIN_STEP = 0.15
ONSET_TOLERANCE_S = 0.03


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
        report.fail(where, f"lists {counted}, expected {expected} (keys 1 to 8 must "
                    "reach the eight sets)")
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

class Sounds:
    """Decoded sounds with analysis results, each made once."""

    def __init__(self, assets):
        self.assets = assets
        self.cache = {}

    def samples(self, name):
        if name not in self.cache:
            self.cache[name] = {"x": audio.decode(os.path.join(self.assets, name))}
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
            levels[name] = audio.lufs(x)
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


def check_loudness(report, levels):
    if not levels:
        return
    common = float(np.median(list(levels.values())))
    for name, level in sorted(levels.items()):
        if abs(level - common) > LOUDNESS_SPREAD_DB:
            report.fail(name, f"loudness {level:.1f} LUFS, the sets sit at {common:.1f} "
                        f"(allowed {LOUDNESS_SPREAD_DB} dB)")


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


def relation_melody(report, file, sounds, names, pairs, score):
    seqs = {}
    for a, b in pairs:
        na, nb = names[a - 1], names[b - 1]
        for n in (na, nb):
            seqs[n] = audio.note_sequence(sounds.pitch(n))
            want = score_keys(score, n)
            if want is not None and seqs[n] != want:
                report.fail(n, f"plays {seqs[n]}, the score has {want}")
        if seqs[na] != seqs[nb]:
            report.fail(file, f"{na} plays {seqs[na]} but {nb} plays {seqs[nb]}")
        agree = agreement(sounds.pitch(na), sounds.pitch(nb))
        if agree < 0.85:
            report.fail(file, f"{na} and {nb} agree in pitch and rhythm on only "
                        f"{agree:.0%} of the time")
        if same_program(score, na, nb):
            report.fail(file, f"{na} and {nb} use the same instrument")
    firsts = [names[a - 1] for a, _ in pairs]
    for i, x in enumerate(firsts):
        for y in firsts[i + 1:]:
            agree = agreement(sounds.pitch(x), sounds.pitch(y))
            if seqs.get(x) == seqs.get(y) or agree > 0.7:
                report.fail(file, f"melodies {x} and {y} are too alike ({agree:.0%})")


def relation_beat(report, file, sounds, names, pairs, score):
    firsts = []
    for a, b in pairs:
        na, nb = names[a - 1], names[b - 1]
        oa, ob = sounds.onsets(na), sounds.onsets(nb)
        if len(oa) < 3 or len(oa) != len(ob) or onset_match(oa, ob) < 1.0:
            report.fail(file, f"{na} {np.round(oa, 2).tolist()} and {nb} "
                        f"{np.round(ob, 2).tolist()} differ in their onsets")
        if sounds.timbre(na) @ sounds.timbre(nb) > 0.98:
            report.fail(file, f"{na} and {nb} sound alike; they must differ in sound")
        firsts.append(na)
    for i, x in enumerate(firsts):
        for y in firsts[i + 1:]:
            f = onset_match(sounds.onsets(x), sounds.onsets(y))
            if f >= 0.8:
                report.fail(file, f"patterns {x} and {y} are too alike ({f:.0%})")


def nearest_partner(report, file, sounds, names, pairs):
    partner = {}
    for a, b in pairs:
        partner[a - 1], partner[b - 1] = b - 1, a - 1
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


def relation_percussion(report, file, sounds, names, pairs, score):
    nearest_partner(report, file, sounds, names, pairs)
    for a, b in pairs:
        na, nb = names[a - 1], names[b - 1]
        if onset_match(sounds.onsets(na), sounds.onsets(nb)) >= 0.9:
            report.fail(file, f"{na} and {nb} play the same pattern")


def relation_tempo(report, file, sounds, names, pairs, score):
    measured = []
    for a, b in pairs:
        bpm = {}
        for n in (names[a - 1], names[b - 1]):
            period = audio.beat_period(sounds.onsets(n))
            bpm[n] = 60 / period if period else 0.0
            want = intent(score, n, "bpm")
            if want and abs(bpm[n] / want - 1) > TEMPO_TOLERANCE:
                report.fail(n, f"beats at {bpm[n]:.1f} per minute, the score has {want}")
        (na, ta), (nb, tb) = bpm.items()
        if not ta or not tb or abs(ta / tb - 1) > TEMPO_TOLERANCE:
            report.fail(file, f"{na} at {ta:.1f} and {nb} at {tb:.1f} beats per minute "
                        "differ by more than 3 %")
        if same_program(score, na, nb) or intent(score, na, "metre") == intent(score, nb, "metre"):
            report.fail(file, f"{na} and {nb} must differ in instrument and metre")
        measured.append((ta, na))
    measured.sort()
    for (t1, n1), (t2, n2) in zip(measured, measured[1:]):
        if t1 and t2 / t1 - 1 < TEMPO_MIN_STEP:
            report.fail(file, f"{n1} ({t1:.0f}) and {n2} ({t2:.0f}) are less than "
                        f"{TEMPO_MIN_STEP:.0%} apart")


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
            if sa != -sb or sa <= 0 or abs(a1 - b2) > 0.4 or abs(a2 - b1) > 0.4:
                report.fail(file, f"{nb} ({b1:.1f} to {b2:.1f}) does not play {na} "
                            f"({a1:.1f} to {a2:.1f}) backwards")
        else:
            if sa != sb or sa <= 0:
                report.fail(file, f"{na} ({sa:+d}) and {nb} ({sb:+d}) differ in interval")
            if abs(a1 - b1) < 0.5:
                report.fail(file, f"{na} and {nb} start on the same note")
        seen.append(abs(sa))
    if len(set(seen)) != len(seen):
        report.fail(file, f"intervals {seen} repeat; every pair needs its own")


RELATIONS = {
    "Genau das Gleiche.Set": relation_identical,
    "Gleiche Melodie.Set": relation_melody,
    "Gleicher Beat.Set": relation_beat,
    "Gleiches Instrument.Set": relation_instrument,
    "Gleiches Tempo.Set": relation_tempo,
    "Intervalle Leicht.Set": relation_interval,
    "Intervalle Schwer.Set": lambda *a: relation_interval(*a, reversed_=True),
    "Schlag-Instrumente.Set": relation_percussion,
}


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
    check_loudness(report, levels)
    for file, names, pairs in todo:
        if all(n in levels for n in names):
            RELATIONS[file](report, file, sounds, names, pairs, score)
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
