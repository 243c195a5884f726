"""The score of every card-set sound and the pairs of every set.

This file is the source of truth: generate.py renders the sounds from it and
writes the set files and "Dir.lst"; the asset check reads the `intent` of
each sound to know what the audio must prove (interval, tempo, melody, ...).

Instruments are General MIDI programs (0-based) of the FluidR3_GM bank;
percussion uses channel 10 (index 9) with General MIDI drum keys.
"""

from dataclasses import dataclass, field

from notation import grid, key_of, parse

DRUMS = 9


@dataclass
class Sound:
    name: str  # file name without ".ogg"
    notes: list  # (start_s, duration_s, channel, key, velocity)
    programs: dict  # channel -> program
    intent: dict = field(default_factory=dict)
    length: float = 0.0  # seconds; 0 = from the last note


@dataclass
class CardSet:
    file: str
    question: str
    sounds: list  # Sound per [Sounds] entry, in order (may repeat)
    pairs: list  # (a, b), 1-based indices into sounds
    kind: str


# --- instruments ------------------------------------------------------------

PROGRAM = {
    "Klavier": 0, "EPiano": 4, "Cembalo": 6, "Celesta": 8, "Spieluhr": 10,
    "Vibraphon": 11, "Marimba": 12, "Xylophon": 13, "Kirchenorgel": 19,
    "Akkordeon": 21, "Gitarre": 24, "Verzerrt": 30, "Kontrabass": 32,
    "Slapbass": 36, "Violine": 40, "Streicher": 48, "Pizzicato": 45,
    "Harfe": 46, "Pauke": 47, "Chor": 52, "Orchesterschlag": 55,
    "Trompete": 56, "Posaune": 57, "Tuba": 58, "Horn": 60, "Blaeser": 61,
    "Saxophon": 65, "Oboe": 68, "Klarinette": 71, "Floete": 73,
    "Okarina": 79, "Sitar": 104, "Banjo": 105, "Kalimba": 108,
    "Dudelsack": 109, "Steeldrum": 114, "Vogel": 123, "Telefon": 124,
    "Hubschrauber": 125, "Applaus": 126, "Meer": 122, "SciFi": 103,
}


def phrase_notes(phrase, bpm, channel=0, base=0, legato=0.85, velocity=96,
                 offset=0.0, accents=None):
    beat_s = 60.0 / bpm
    notes = []
    for i, (beat, beats, key) in enumerate(parse(phrase, base)):
        if key is None:
            continue
        vel = velocity if accents is None else accents(i, beat)
        notes.append((offset + beat * beat_s, beats * beat_s * legato, channel,
                      key, vel))
    return notes


def solo(name, instrument, phrase, bpm, base=0, legato=0.85, velocity=96,
         intent=None, length=0.0):
    return Sound(name, phrase_notes(phrase, bpm, 0, base, legato, velocity),
                 {0: PROGRAM[instrument]}, dict(intent or {}), length)


def chord(keys, start, duration, channel=0, velocity=90, spread=0.0):
    return [(start + i * spread, duration - i * spread, channel, k, velocity)
            for i, k in enumerate(keys)]


def names(text):
    return [key_of(n) for n in text.split()]


# --- 1. Genau das Gleiche: 28 different sounds, each listed twice -------------

def _same_set():
    s = []
    s.append(Sound("GleichKlavierAkkord", chord(names("C4 E4 G4 C5"), 0, 1.8),
                   {0: PROGRAM["Klavier"]}, length=2.6))
    s.append(Sound("GleichOrgelAkkord", chord(names("A3 C4 E4 A4"), 0, 2.0),
                   {0: PROGRAM["Kirchenorgel"]}, length=2.5))
    s.append(Sound("GleichStreicherAkkord",
                   chord(names("D3 A3 D4 G4"), 0, 1.2)
                   + chord(names("D3 A3 D4 F#4"), 1.2, 1.4),
                   {0: PROGRAM["Streicher"]}, length=3.0))
    s.append(Sound("GleichGitarreSchlag",
                   chord(names("G2 B2 D3 G3 B3 G4"), 0, 1.8, spread=0.02)
                   + chord(names("G2 B2 D3 G3 B3 G4"), 1.0, 1.4, spread=0.02),
                   {0: PROGRAM["Gitarre"]}, length=2.8))
    s.append(Sound("GleichBlaeserFanfare",
                   phrase_notes("C4/.5 E4/.5 G4/.5", 150)
                   + chord(names("C4 E4 G4 C5"), 0.6, 1.4),
                   {0: PROGRAM["Blaeser"]}, length=2.5))
    s.append(Sound("GleichChorAkkord", chord(names("F3 A3 C4 F4"), 0, 2.2),
                   {0: PROGRAM["Chor"]}, length=2.7))
    s.append(Sound("GleichEPianoAkkord",
                   chord(names("C3 E4 G4 B4"), 0, 0.9)
                   + chord(names("F3 A4 C5 E5"), 1.0, 1.2),
                   {0: PROGRAM["EPiano"]}, length=2.8))
    s.append(Sound("GleichAkkordeonWalzer",
                   [(0.0, 0.3, 0, key_of("C3"), 100)]
                   + chord(names("E4 G4 C5"), 0.45, 0.3)
                   + chord(names("E4 G4 C5"), 0.9, 0.3)
                   + [(1.35, 0.3, 0, key_of("G2"), 100)]
                   + chord(names("D4 G4 B4"), 1.8, 0.3)
                   + chord(names("D4 G4 B4"), 2.25, 0.3),
                   {0: PROGRAM["Akkordeon"]}, length=2.9))
    s.append(Sound("GleichCembaloArpeggio",
                   phrase_notes("D4/.5 F4/.5 A4/.5 D5/.5 F5/.5 A5/.5 D6/2", 200,
                                legato=2.0),
                   {0: PROGRAM["Cembalo"]}, length=2.5))
    s.append(Sound("GleichHarfeGlissando",
                   phrase_notes(" ".join(f"{n}/.25" for n in
                                         "C4 D4 E4 F4 G4 A4 B4 C5 D5 E5 F5 G5 A5 B5 C6".split()),
                                150, legato=4.0),
                   {0: PROGRAM["Harfe"]}, length=2.6))
    s.append(solo("GleichTrompeteSignal", "Trompete",
                  "G4/.5 C5/.5 E5/.5 G5/1.5 E5/.5 G5/2", 160, length=0.0))
    s.append(solo("GleichFloeteTriller", "Floete",
                  " ".join(["A5/.25 B5/.25"] * 6) + " A5/1.5", 120, legato=1.0))
    s.append(solo("GleichXylophonLauf", "Xylophon",
                  "G5/.5 F5/.5 E5/.5 D5/.5 C5/.5 B4/.5 C5/2", 200))
    s.append(solo("GleichSlapbassRiff", "Slapbass",
                  "E2/.5 E3/.25 D3/.25 E2/.5 G2/.5 A2/.5 r/.5 E2/1", 110))
    s.append(solo("GleichSitarMotiv", "Sitar", "D4/1 F4/.5 G4/.5 A4/2", 100,
                  legato=1.0))
    s.append(solo("GleichDudelsackMotiv", "Dudelsack",
                  "A4/.75 B4/.25 C#5/.5 E5/.5 D5/1.5", 110, legato=1.0))
    s.append(solo("GleichKalimbaMotiv", "Kalimba",
                  "C5/.5 E5/.5 G5/.5 E5/.5 A5/1 G5/1", 132))
    s.append(solo("GleichOkarinaMotiv", "Okarina", "E5/1 D5/.5 C5/.5 G4/2", 110))
    s.append(solo("GleichSpieluhrMotiv", "Spieluhr",
                  "C6/.5 G5/.5 E6/.5 C6/.5 G6/1 E6/1", 140))
    s.append(solo("GleichBanjoMotiv", "Banjo",
                  "G3/.25 B3/.25 D4/.25 G4/.25 D4/.25 B3/.25 G3/.5 D4/.5 G4/1",
                  140))
    s.append(Sound("GleichVogelgezwitscher",
                   [(0.0, 0.4, 0, 84, 110), (0.5, 0.4, 0, 88, 110),
                    (1.1, 0.9, 0, 86, 110)],
                   {0: PROGRAM["Vogel"]}, length=2.4))
    s.append(Sound("GleichTelefon", [(0.0, 1.2, 0, 72, 110), (1.7, 0.8, 0, 72, 110)],
                   {0: PROGRAM["Telefon"]}, length=2.8))
    s.append(Sound("GleichHubschrauber", [(0.0, 2.6, 0, 60, 120)],
                   {0: PROGRAM["Hubschrauber"]}, length=3.0))
    s.append(Sound("GleichApplaus", [(0.0, 2.6, 0, 60, 120)],
                   {0: PROGRAM["Applaus"]}, length=3.0))
    s.append(Sound("GleichMeeresrauschen", [(0.0, 3.0, 0, 60, 120)],
                   {0: PROGRAM["Meer"]}, length=3.2))
    roll = [(i * 0.06, 0.05, DRUMS, 38, 40 + 3 * i) for i in range(24)]
    s.append(Sound("GleichTrommelwirbel",
                   roll + [(1.44, 0.5, DRUMS, 36, 120), (1.44, 0.5, DRUMS, 49, 110)],
                   {}, length=3.0))
    s.append(Sound("GleichPaukenwirbel",
                   [(i * 0.07, 0.07, 0, 41, 50 + 2 * i) for i in range(22)]
                   + [(1.6, 0.8, 0, 36, 127)],
                   {0: PROGRAM["Pauke"]}, length=3.0))
    s.append(Sound("GleichOrchesterschlag",
                   [(0.0, 0.4, 0, 60, 120), (0.75, 0.4, 0, 63, 120),
                    (1.5, 0.8, 0, 58, 127)],
                   {0: PROGRAM["Orchesterschlag"]}, length=2.8))
    for snd in s:
        snd.intent = {"distinct": snd.name}
    listed = [snd for snd in s for _ in (0, 1)]
    pairs = [(2 * i + 1, 2 * i + 2) for i in range(len(s))]
    return CardSet("Genau das Gleiche.Set", "Suche genau das Gleiche", listed,
                   pairs, "identical")


# --- 2. Gleiche Melodie: 18 melodies, two instruments each -------------------

MELODIES = [  # (bpm, phrase) - each differs from the others in contour and rhythm
    (120, "C4/1 E4/1 G4/1 C5/2"),
    (132, "G4/.5 F4/.5 E4/.5 D4/.5 C4/2"),
    (100, "E4/1.5 D4/.5 C4/1 G4/1.5"),
    (144, "A4/.5 C5/.5 E5/1 D5/.5 C5/.5 A4/1.5"),
    (90, "D4/.5 A4/1.5 G4/.5 F4/.5 E4/1"),
    (120, "F4/1 A4/.5 G4/.5 F4/1 C5/2"),
    (160, "C5/.5 B4/.5 C5/.5 G4/.5 E4/.5 G4/.5 C4/2"),
    (112, "Bb3/1 D4/1 F4/.5 Eb4/.5 D4/1.5"),
    (126, "E4/.5 G4/.5 A4/1 G4/.5 E4/.5 D4/2"),
    (96, "A4/2 E4/1 F4/1"),
    (150, "D4/.5 F#4/.5 A4/.5 D5/.5 A4/.5 F#4/.5 D4/1.5"),
    (108, "G4/1.5 A4/.5 B4/1.5 G4/1"),
    (136, "C5/1 G4/.5 A4/.5 B4/.5 C5/.5 D5/2"),
    (84, "F4/1 E4/.5 F4/.5 A4/1.5"),
    (120, "E5/.5 D5/.5 C5/.5 B4/.5 A4/1 E4/2"),
    (100, "F4/.67 A4/.33 C5/.67 A4/.33 F4/2"),
    (140, "B3/.5 D4/.5 G4/.5 B4/.5 A4/1 F#4/2"),
    (92, "Eb4/1 G4/1 Bb4/.5 Ab4/.5 G4/1"),
]

MELODY_INSTRUMENTS = ["Trompete", "Vibraphon", "Marimba", "Klarinette",
                      "Floete", "Saxophon", "Oboe", "Klavier", "Cembalo",
                      "Gitarre", "Pizzicato", "EPiano"]

# Instruments whose notes keep ringing after the note-off get shorter notes,
# so that one note does not blur the pitch of the next.
LEGATO = {"Klavier": 0.6, "Gitarre": 0.5, "Vibraphon": 0.6, "EPiano": 0.7,
          "Cembalo": 0.7, "Marimba": 0.9, "Pizzicato": 0.9}


def _melody_set():
    listed = []
    n = len(MELODY_INSTRUMENTS)
    for k, (bpm, phrase) in enumerate(MELODIES):
        first = MELODY_INSTRUMENTS[k % n]
        second = MELODY_INSTRUMENTS[(k + 5 + 2 * (k // n)) % n]
        for instrument in (first, second):
            listed.append(solo(f"Melodie{k + 1}{instrument}", instrument, phrase,
                               bpm, legato=LEGATO.get(instrument, 0.9),
                               intent={"melody": k + 1}))
    pairs = [(2 * i + 1, 2 * i + 2) for i in range(len(MELODIES))]
    return CardSet("Gleiche Melodie.Set", "Suche die gleiche Melodie", listed,
                   pairs, "melody")


# --- 3. Gleicher Beat: 12 patterns, two sounds each --------------------------

BEATS = [  # (bpm, one bar of sixteenths)
    (100, "x...x...x...x..."),
    (112, "x.x.x.x.x.x.x.x."),
    (96, "x..x..x.x..x..x."),
    (108, "x..x...x..x.x..."),
    (100, "x.xxx.xxx.xxx.x."),
    (92, "xx.xxx.xxx.xxx.."),
    (104, "x..xx..xx..xx..."),
    (116, "..x...x...x.xx.."),
    (120, "x...x.x.x...x.x."),
    (88, "x.....x.x.....x."),
    (110, "xxx.xxx.x.x.x..."),
    (96, "x.x..x.x..x.x..."),
]

# (label, channel, program or None, key): six drums, six pitched instruments
BEAT_VOICES = [
    ("Holzblock", DRUMS, None, 76), ("Conga", DRUMS, None, 64),
    ("Kuhglocke", DRUMS, None, 56), ("Claves", DRUMS, None, 75),
    ("Trommel", DRUMS, None, 38), ("Bongo", DRUMS, None, 60),
    ("Marimba", 0, "Marimba", 67), ("Xylophon", 0, "Xylophon", 72),
    ("Pizzicato", 0, "Pizzicato", 55), ("Trompete", 0, "Trompete", 70),
    ("Steeldrum", 0, "Steeldrum", 62), ("Banjo", 0, "Banjo", 57),
]


def _beat_sound(name, voice, bpm, pattern, intent):
    label, channel, instrument, key = voice
    beat_s = 60.0 / bpm
    notes = [(b * beat_s, 0.1, channel, key, 110 if b == int(b) else 90)
             for b in grid(pattern)]
    programs = {} if instrument is None else {channel: PROGRAM[instrument]}
    return Sound(name, notes, programs, intent, length=4 * beat_s + 0.5)


def _beat_set():
    listed = []
    n = len(BEAT_VOICES)
    for k, (bpm, pattern) in enumerate(BEATS):
        for voice in (BEAT_VOICES[k % n], BEAT_VOICES[(k + 7) % n]):
            listed.append(_beat_sound(f"Beat{k + 1}{voice[0]}", voice, bpm,
                                      pattern, {"beat": k + 1, "bpm": bpm}))
    pairs = [(2 * i + 1, 2 * i + 2) for i in range(len(BEATS))]
    return CardSet("Gleicher Beat.Set", "Suche den gleichen Beat", listed,
                   pairs, "beat")


# --- 4. Gleiches Instrument: 16 instruments, two phrases each ------------------

PHRASES = [  # semitones above the instrument's base key, at 112 beats per minute
    "0/1 4/1 7/1 12/2",
    "12/.5 11/.5 9/.5 7/.5 5/.5 4/.5 2/.5 0/1.5",
    "0/.5 7/.5 5/.5 4/.5 2/1 0/1.5",
    "7/1.5 4/.5 0/2",
    "0/.5 2/.5 4/.5 5/.5 7/2",
    "0/1 5/1 9/.5 7/.5 4/1.5",
    "12/1 7/1 9/1 4/1.5",
    "0/.67 4/.33 7/.67 4/.33 0/2",
]

INSTRUMENTS = [  # (label, base key)
    ("Klavier", 60), ("Cembalo", 60), ("Marimba", 60), ("Dudelsack", 62),
    ("Akkordeon", 60), ("Gitarre", 52), ("Verzerrt", 52), ("Violine", 67),
    ("Trompete", 62), ("Tuba", 41), ("Saxophon", 56), ("Klarinette", 58),
    ("Floete", 72), ("Sitar", 60), ("Steeldrum", 60), ("Chor", 60),
]


def _instrument_set():
    listed = []
    n = len(PHRASES)
    for i, (label, base) in enumerate(INSTRUMENTS):
        for j, p in enumerate((i % n, (i + 3) % n)):
            listed.append(solo(f"Instrument{label}{j + 1}", label, PHRASES[p], 112,
                               base=base, legato=LEGATO.get(label, 0.9),
                               intent={"instrument": label, "phrase": p + 1}))
    pairs = [(2 * i + 1, 2 * i + 2) for i in range(len(INSTRUMENTS))]
    return CardSet("Gleiches Instrument.Set", "Suche gleiche Instrumente", listed,
                   pairs, "instrument")


# --- 5. Gleiches Tempo: 8 tempos, two pieces each -----------------------------

TEMPOS = [60, 72, 88, 104, 126, 152, 184, 220]

TEMPO_TUNES = [  # semitones above the base key, one per beat, cycled
    [0, 2, 4, 5, 7, 5, 4, 2, 0, 4, 7, 12],
    [7, 4, 0, 4, 7, 9, 7, 5, 4, 2, 0, 2],
    [0, 7, 5, 4, 2, 4, 5, 7, 9, 7, 5, 0],
    [12, 11, 9, 7, 9, 11, 12, 7, 4, 5, 7, 0],
    [0, 3, 7, 3, 5, 8, 5, 3, 2, 5, 7, 0],
    [4, 5, 7, 4, 2, 0, 2, 4, 5, 4, 2, 0],
    [0, 5, 9, 12, 9, 5, 7, 11, 14, 11, 7, 0],
    [9, 7, 4, 2, 4, 7, 9, 12, 9, 7, 4, 0],
]

TEMPO_INSTRUMENTS = [("Klavier", 60), ("Marimba", 60), ("Gitarre", 55),
                     ("Pizzicato", 55), ("Trompete", 62), ("Steeldrum", 60),
                     ("Cembalo", 60), ("Saxophon", 56)]


def _tempo_piece(name, bpm, instrument, base, tune, metre, intent):
    beat_s = 60.0 / bpm
    count = min(12, int(3.2 / beat_s) + 1)
    notes = []
    for i in range(count):
        downbeat = i % metre == 0
        notes.append((i * beat_s, beat_s * 0.7, 0, base + tune[i % len(tune)],
                      112 if downbeat else 80))
        if downbeat:  # the bass marks the metre, always on a beat
            notes.append((i * beat_s, beat_s * 0.8, 1, base - 24 + tune[0], 100))
    length = min(4.0, (count - 1) * beat_s + max(0.6, beat_s))
    return Sound(name, notes, {0: PROGRAM[instrument], 1: PROGRAM["Kontrabass"]},
                 intent, length)


def _tempo_set():
    first, second = [], []
    n = len(TEMPOS)
    for i, bpm in enumerate(TEMPOS):
        for group, shift, tune_shift, metre in ((first, 0, 0, 4 if i % 2 == 0 else 3),
                                                (second, 3, 5, 3 if i % 2 == 0 else 4)):
            instrument, base = TEMPO_INSTRUMENTS[(i + shift) % n]
            group.append(_tempo_piece(f"Tempo{bpm}{instrument}", bpm, instrument,
                                      base, TEMPO_TUNES[(i + tune_shift) % n], metre,
                                      {"bpm": bpm, "metre": metre}))
    pairs = [(i + 1, i + 1 + n) for i in range(n)]
    return CardSet("Gleiches Tempo.Set", "Suche das gleiche Tempo", first + second,
                   pairs, "tempo")


# --- 6./7. Intervals ------------------------------------------------------------

INTERVAL_NAMES = {1: "KleineSekunde", 2: "GrosseSekunde", 3: "KleineTerz",
                  4: "GrosseTerz", 5: "Quarte", 6: "Tritonus", 7: "Quinte",
                  8: "KleineSexte", 9: "GrosseSexte", 10: "KleineSeptime",
                  11: "GrosseSeptime", 12: "Oktave"}

EASY_INTERVALS = [1, 2, 3, 4, 5, 7, 9, 12]
EASY_STARTS = [(60, 55), (57, 62), (55, 64), (62, 56), (58, 53), (56, 61),
               (53, 59), (55, 60)]  # two different first notes per interval
HARD_INTERVALS = [2, 3, 4, 5, 6, 7, 9, 12]
HARD_LOW = [62, 57, 60, 55, 58, 53, 56, 55]


def _two_notes(name, instrument, first, second, intent):
    notes = [(0.0, 0.75, 0, first, 100), (0.95, 0.9, 0, second, 100)]
    return Sound(name, notes, {0: PROGRAM[instrument]}, intent, length=2.4)


def _easy_set():
    first, second = [], []
    for n, (a, b) in zip(EASY_INTERVALS, EASY_STARTS):
        label = INTERVAL_NAMES[n]
        first.append(_two_notes(f"Leicht{label}A", "Klavier", a, a + n,
                                {"interval": n}))
        second.append(_two_notes(f"Leicht{label}B", "Klavier", b, b + n,
                                 {"interval": n}))
    pairs = [(i + 1, i + 9) for i in range(8)]
    return CardSet("Intervalle Leicht.Set", "Suche das gleiche Intervall",
                   first + second, pairs, "interval")


def _hard_set():
    up, down = [], []
    for n, low in zip(HARD_INTERVALS, HARD_LOW):
        label = INTERVAL_NAMES[n]
        up.append(_two_notes(f"Schwer{label}Auf", "Marimba", low, low + n,
                             {"interval": n}))
        down.append(_two_notes(f"Schwer{label}Ab", "Marimba", low + n, low,
                               {"interval": -n}))
    pairs = [(i + 1, i + 9) for i in range(8)]
    return CardSet("Intervalle Schwer.Set", "Suche das umgekehrt gespielte Intervall",
                   up + down, pairs, "reversed-interval")


# --- 8. Schlag-Instrumente: 11 percussion instruments, two patterns each -------

PERCUSSION = [("Basstrommel", 36), ("Schnarrtrommel", 38), ("HiHat", 42),
              ("Becken", 49), ("Kuhglocke", 56), ("Tamburin", 54),
              ("Claves", 75), ("Holzblock", 76), ("Conga", 64),
              ("Triangel", 81), ("Maracas", 70)]

PERCUSSION_PATTERNS = [  # one bar of sixteenths at 100 beats per minute
    "x...x...x...x...",
    "x.x.x.x.x.x.x.x.",
    "x..x..x...x.x...",
    "xx..x.xxx...x...",
    "x.....x.x...x...",
    "x..x..x.x..x..x.",
]


def _percussion_set():
    first, second = [], []
    n = len(PERCUSSION_PATTERNS)
    beat_s = 0.6
    for i, (label, key) in enumerate(PERCUSSION):
        for group, p in ((first, i % n), (second, (i + 2 + i // n) % n)):
            notes = [(b * beat_s, 0.2, DRUMS, key, 115 if b == int(b) else 90)
                     for b in grid(PERCUSSION_PATTERNS[p])]
            group.append(Sound(f"Schlag{label}{p + 1}", notes, {},
                               {"instrument": label, "pattern": p + 1},
                               length=4 * beat_s + 0.6))
    pairs = [(i + 1, i + 12) for i in range(len(PERCUSSION))]
    return CardSet("Schlag-Instrumente.Set", "Suche das gleiche Schlaginstrument",
                   first + second, pairs, "percussion")


SETS = [_same_set(), _melody_set(), _beat_set(), _instrument_set(), _tempo_set(),
        _easy_set(), _hard_set(), _percussion_set()]


def all_sounds():
    """Every distinct sound once, in set order."""
    seen = {}
    for card_set in SETS:
        for snd in card_set.sounds:
            seen.setdefault(snd.name, snd)
    return list(seen.values())
