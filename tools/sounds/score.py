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
    "Trompete": 56, "Tuba": 58, "Horn": 60, "Blaeser": 61,
    "Saxophon": 65, "Oboe": 68, "Klarinette": 71, "Floete": 73,
    "Okarina": 79, "Sitar": 104, "Banjo": 105, "Kalimba": 108,
    "Dudelsack": 109, "Steeldrum": 114, "Vogel": 123, "Telefon": 124,
    "Glockenspiel": 9, "Koto": 107, "Fagott": 70, "Cello": 42, "Posaune": 57,
    "Hubschrauber": 125, "Applaus": 126, "Meer": 122, "SciFi": 103,
    "Agogo": 113,
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
    (92, "Eb4/.5 F4/.5 G4/1 Bb4/1 Eb4/1"),
]

MELODY_INSTRUMENTS = ["Trompete", "Vibraphon", "Marimba", "Klarinette",
                      "Floete", "Saxophon", "Oboe", "Klavier", "Cembalo",
                      "Gitarre", "Pizzicato", "EPiano"]

# The second instrument plays the tune in another key: a child who only keeps
# the first note or the register in mind finds no partner, one who knows the
# tune does. Keys up and down alternate so that the registers overlap.
MELODY_TRANSPOSE = [5, -4, 3, -5, 4, -3, 5, 3, -4, -5, 4, -3, -5, 4, -4, 3, 5, -3]

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
        for instrument, shift in ((first, 0), (second, MELODY_TRANSPOSE[k])):
            listed.append(solo(f"Melodie{k + 1}{instrument}", instrument, phrase,
                               bpm, base=shift, legato=LEGATO.get(instrument, 0.9),
                               intent={"melody": k + 1}))
    pairs = [(2 * i + 1, 2 * i + 2) for i in range(len(MELODIES))]
    return CardSet("Gleiche Melodie.Set", "Suche die gleiche Melodie", listed,
                   pairs, "melody")


# --- 3. Gleicher Beat: 12 rhythms, two voices each ---------------------------

# All rhythms share one tempo, so that only the rhythm tells a pair; each
# starts on the downbeat, and the beats are played louder than the notes
# between them, so that the metre is heard from the first note. Any two
# rhythms differ in at least two places.
BEAT_BPM = 100
BEATS = [  # one 4/4 bar of sixteenths
    "x...x...x...x...",  # ta ta ta ta
    "x.x.x.x.x.x.x.x.",  # ti-ti ti-ti ti-ti ti-ti
    "x.x.x...x.x.x...",  # ti-ti ta, twice
    "x..x..x.x..x..x.",  # 3 + 3 + 2, twice
    "xxxx....xxxx....",  # tiri-tiri ta, twice
    "x...x.......x.x.",  # ta ta-a ti-ti
    "x..x..x...x.x...",  # clave
    "x...x.xxx...x.xx",  # ta ti-tiri, twice
    "x.x...x.x.x...x.",  # ti-ta-ti, twice
    "x.....x.x...x...",  # ta-am ti ta ta
    "x.xxx.xxx.xxx...",  # ti-tiri, three times
    "x...xxxxx...xxxx",  # ta tiri-tiri, twice
]

# (label, channel, program or None, key): ten drums, two pitched
# instruments, all with an attack that peaks within a few milliseconds,
# without a tremolo or a second attack that would count as another hit, and
# short enough that a sixteenth after a beat is heard (a snare's rattle, a
# tambourine's jingles or a steel drum's ring would cover it).
BEAT_VOICES = [
    ("Holzblock", DRUMS, None, 76), ("Conga", DRUMS, None, 63),
    ("Kuhglocke", DRUMS, None, 56), ("Claves", DRUMS, None, 75),
    ("Trommelrand", DRUMS, None, 37), ("Bongo", DRUMS, None, 60),
    ("TimbaleTief", DRUMS, None, 66), ("Triangel", DRUMS, None, 80),
    ("HiHat", DRUMS, None, 42), ("Timbale", DRUMS, None, 65),
    ("Glockenspiel", 0, "Glockenspiel", 79), ("Koto", 0, "Koto", 60),
]


def _beat_sound(name, voice, bpm, pattern, intent):
    label, channel, instrument, key = voice
    beat_s = 60.0 / bpm
    notes = [(b * beat_s, 0.1, channel, key, 127 if b == int(b) else 72)
             for b in grid(pattern)]
    programs = {} if instrument is None else {channel: PROGRAM[instrument]}
    return Sound(name, notes, programs, intent, length=4 * beat_s + 0.5)


def _beat_set():
    listed = []
    n = len(BEAT_VOICES)
    for k, pattern in enumerate(BEATS):
        for voice in (BEAT_VOICES[k % n], BEAT_VOICES[(k + 7) % n]):
            listed.append(_beat_sound(f"Beat{k + 1}{voice[0]}", voice, BEAT_BPM,
                                      pattern, {"beat": k + 1, "bpm": BEAT_BPM}))
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

# (label, base key). Four low instruments, so that a low register does not
# give one of them away. Where the two phrases would start on one note, the
# second is moved by a minor third, so that the first note marks no pair.
INSTRUMENTS = [
    ("Klavier", 60), ("Cembalo", 57), ("Marimba", 60), ("Dudelsack", 62),
    ("Akkordeon", 55), ("Gitarre", 52), ("Fagott", 40), ("Violine", 67),
    ("Trompete", 60), ("Tuba", 41), ("Saxophon", 56), ("Klarinette", 53),
    ("Floete", 72), ("Sitar", 58), ("Cello", 45), ("Chor", 60),
]
SECOND_SHIFT = [0, 0, -2, 0, -3, 3, 3, -3, 0, 0, 3, 0, -3, 3, 3, 3]


def _instrument_set():
    listed = []
    n = len(PHRASES)
    for i, (label, base) in enumerate(INSTRUMENTS):
        for j, (p, shift) in enumerate(((i % n, 0), ((i + 3) % n, SECOND_SHIFT[i]))):
            listed.append(solo(f"Instrument{label}{j + 1}", label, PHRASES[p], 112,
                               base=base + shift, legato=LEGATO.get(label, 0.9),
                               intent={"instrument": label, "phrase": p + 1}))
    pairs = [(2 * i + 1, 2 * i + 2) for i in range(len(INSTRUMENTS))]
    return CardSet("Gleiches Instrument.Set", "Suche gleiche Instrumente", listed,
                   pairs, "instrument")


# --- 5. Gleiches Tempo: 10 tempos, two pieces each ----------------------------

# Ten tempos a tenth of an octave apart (7.2 %), every second one an octave
# higher: no two lie within 7 % of each other or of the other's half or
# double, so a piece heard in half time matches no other tempo either.
TEMPO_BASE = 58.0
TEMPOS = [TEMPO_BASE * 2 ** (0.1 * k + k % 2) for k in range(10)]
TEMPO_LENGTH_S = 3.9  # every piece, so that the length tells nothing

TEMPO_TUNES = [  # semitones above the base key, one per beat, cycled
    [0, 2, 4, 5, 7, 5, 4, 2, 0, 4, 7, 12],
    [7, 4, 0, 4, 7, 9, 7, 5, 4, 2, 0, 2],
    [0, 7, 5, 4, 2, 4, 5, 7, 9, 7, 5, 0],
    [12, 11, 9, 7, 9, 11, 12, 7, 4, 5, 7, 0],
    [0, 3, 7, 3, 5, 8, 5, 3, 2, 5, 7, 0],
    [4, 5, 7, 4, 2, 0, 2, 4, 5, 4, 2, 0],
    [0, 5, 9, 12, 9, 5, 7, 11, 14, 11, 7, 0],
    [9, 7, 4, 2, 4, 7, 9, 12, 9, 7, 4, 0],
    [5, 4, 2, 0, 2, 4, 5, 7, 5, 4, 2, 4],
    [2, 7, 4, 9, 7, 11, 9, 7, 5, 4, 2, 0],
]

# Plucked and struck instruments: a crisp attack on every beat, so that the
# tempo is heard (and measured) to a tenth of a percent even in four beats.
TEMPO_INSTRUMENTS = [("Klavier", 60), ("Marimba", 60), ("Gitarre", 55),
                     ("Cembalo", 58), ("Xylophon", 65), ("Koto", 61),
                     ("Harfe", 59), ("Banjo", 57), ("Glockenspiel", 74),
                     ("Steeldrum", 62)]


def _tempo_piece(name, bpm, instrument, base, tune, metre, intent):
    beat_s = 60.0 / bpm
    count = int((TEMPO_LENGTH_S - 0.3) / beat_s) + 1
    notes = []
    for i in range(count):
        downbeat = i % metre == 0
        notes.append((i * beat_s, beat_s * 0.7, 0, base + tune[i % len(tune)],
                      112 if downbeat else 72))
        if downbeat:  # the bass marks the metre, always on a beat
            notes.append((i * beat_s, beat_s * 0.8, 1, base - 24 + tune[0], 100))
        # A light closed hi-hat on every beat, one sample each time: the
        # pulse to clap along with, exact to the millisecond where the notes
        # of a sampled instrument start a few milliseconds early or late.
        notes.append((i * beat_s, 0.05, DRUMS, 42, 72))
    return Sound(name, notes, {0: PROGRAM[instrument], 1: PROGRAM["Kontrabass"]},
                 intent, TEMPO_LENGTH_S)


def _tempo_set():
    first, second = [], []
    n = len(TEMPOS)
    for i, bpm in enumerate(TEMPOS):
        for group, shift, tune_shift, metre in ((first, 0, 0, 4 if i % 2 == 0 else 3),
                                                (second, 3, 5, 3 if i % 2 == 0 else 4)):
            instrument, base = TEMPO_INSTRUMENTS[(i + shift) % n]
            group.append(_tempo_piece(f"Tempo{round(bpm)}{instrument}", bpm, instrument,
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

# The poster's eight intervals, one of each, as they stand above the keynote
# of a major scale (c-c, c-d, c-e, c-f, c-g, c-a, c-h, c-c').
EASY_INTERVALS = [(0, "Prime"), (2, "Sekunde"), (4, "Terz"), (5, "Quarte"),
                  (7, "Quinte"), (9, "Sexte"), (11, "Septime"), (12, "Oktave")]
EASY_STARTS = [(62, 57), (57, 62), (60, 55), (55, 60), (58, 63), (63, 58),
               (56, 61), (61, 56)]  # two different first notes per interval

# All twelve, minor second to octave; the answer goes down from another note.
HARD_INTERVALS = list(range(1, 13))
HARD_STARTS = [  # (first note of the upward card, first note of the downward card)
    (60, 67), (55, 65), (62, 70), (57, 66), (59, 71), (56, 69),
    (55, 70), (58, 72), (54, 70), (57, 72), (55, 71), (52, 69)]
HARD_VOICES = ["Klavier", "Marimba", "Vibraphon", "Klarinette"]


def _two_notes(name, instrument, first, second, intent):
    notes = [(0.0, 0.75, 0, first, 100), (0.95, 0.9, 0, second, 100)]
    return Sound(name, notes, {0: PROGRAM[instrument]}, intent, length=2.4)


def _easy_set():
    first, second = [], []
    for (n, label), (a, b) in zip(EASY_INTERVALS, EASY_STARTS):
        first.append(_two_notes(f"Leicht{label}A", "Klavier", a, a + n,
                                {"interval": n}))
        second.append(_two_notes(f"Leicht{label}B", "Klavier", b, b + n,
                                 {"interval": n}))
    pairs = [(i + 1, i + 9) for i in range(8)]
    return CardSet("Intervalle Leicht.Set", "Suche das gleiche Intervall",
                   first + second, pairs, "interval")


def _hard_set():
    up, down = [], []
    v = len(HARD_VOICES)
    for i, (n, (low, high)) in enumerate(zip(HARD_INTERVALS, HARD_STARTS)):
        label = INTERVAL_NAMES[n]
        up.append(_two_notes(f"Schwer{label}Auf", HARD_VOICES[i % v], low, low + n,
                             {"interval": n}))
        down.append(_two_notes(f"Schwer{label}Ab", HARD_VOICES[(i + 1 + i // v) % v],
                               high, high - n, {"interval": -n}))
    count = len(HARD_INTERVALS)
    pairs = [(i + 1, i + 1 + count) for i in range(count)]
    return CardSet("Intervalle Schwer.Set", "Suche das umgekehrt gespielte Intervall",
                   up + down, pairs, "reversed-interval")


# --- 8. Schlag-Instrumente: 11 percussion instruments, two patterns each -------

# (label, key, program): drum keys of the percussion channel. A splash
# cymbal: a crash rings so long that its rings count as hits. No maracas:
# their hits sound alike however hard they are shaken. No bass drum or
# timpani: the one is mostly below what a laptop plays, and both rise to
# their loudest only in their boom, tens of milliseconds after the stroke.
PERCUSSION = [("Timbale", 66, None), ("Schnarrtrommel", 38, None),
              ("HiHat", 42, None), ("Becken", 55, None), ("Kuhglocke", 56, None),
              ("Tamburin", 54, None), ("Claves", 75, None), ("Holzblock", 76, None),
              ("Conga", 63, None), ("Triangel", 81, None), ("Bongo", 60, None)]

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
    for i, (label, key, program) in enumerate(PERCUSSION):
        channel = DRUMS if program is None else 0
        programs = {} if program is None else {0: PROGRAM[program]}
        for group, p in ((first, i % n), (second, (i + 2 + i // n) % n)):
            notes = [(b * beat_s, 0.2, channel, key, 127 if b == int(b) else 72)
                     for b in grid(PERCUSSION_PATTERNS[p])]
            group.append(Sound(f"Schlag{label}{p + 1}", notes, programs,
                               {"instrument": label, "pattern": p + 1},
                               length=4 * beat_s + 0.6))
    pairs = [(i + 1, i + 12) for i in range(len(PERCUSSION))]
    return CardSet("Schlag-Instrumente.Set", "Suche das gleiche Schlaginstrument",
                   first + second, pairs, "percussion")


# --- 9. Gleicher Akkord: twelve chord types, each on two roots and instruments --

# (label, semitones above the bass, bass of the first card, bass of the
# second). Close root position, no note doubled: every chord tone lies within
# the octave above the bass, where no overtone of a lower chord tone falls, so
# each tone is heard (and measured) by its own fundamental. The two basses of
# a pair give chords that share no pitch class, so remembering a note finds
# no partner; over the set every bass from C3 to H3 serves twice, so the
# register tells nothing either.
CHORDS = [
    ("Dur", (0, 4, 7), 48, 54),
    ("Moll", (0, 3, 7), 54, 48),
    ("Vermindert", (0, 3, 6), 49, 56),
    ("Uebermaessig", (0, 4, 8), 55, 49),
    ("Quartvorhalt", (0, 5, 7), 50, 56),
    ("Dominantsept", (0, 4, 7, 10), 52, 51),
    ("GrosseSept", (0, 4, 7, 11), 51, 57),
    ("Mollsept", (0, 3, 7, 10), 58, 52),
    ("Halbvermindert", (0, 3, 6, 10), 57, 58),
    ("Vermindertsept", (0, 3, 6, 9), 50, 55),
    ("MollGrosseSept", (0, 3, 7, 11), 59, 53),
    ("Septquartvorhalt", (0, 5, 7, 10), 53, 59),
]

# Instruments whose fundamentals carry in this register and hold their
# pitch (no vibrato that would smear a tone into its neighbour; no organ
# stop an octave below). Each plays three chords; partners stand three or
# four places apart in this list, alike-sounding neighbours (organ and
# accordion, vibraphone and celesta, the keyboards) one or two.
CHORD_INSTRUMENTS = ["Kirchenorgel", "Akkordeon", "Blaeser", "Vibraphon", "Celesta",
                     "Klavier", "EPiano", "Cembalo"]
CHORD_LENGTH_S = 2.6


def _chord_set():
    listed = []
    n = len(CHORD_INSTRUMENTS)
    for i, (label, steps, *basses) in enumerate(CHORDS):
        voices = (CHORD_INSTRUMENTS[i % n], CHORD_INSTRUMENTS[(i + 3 + i // n) % n])
        for instrument, bass in zip(voices, basses):
            listed.append(Sound(f"Akkord{label}{instrument}",
                                chord([bass + s for s in steps], 0.0, 2.0),
                                {0: PROGRAM[instrument]},
                                {"chord": label, "steps": list(steps), "bass": bass},
                                CHORD_LENGTH_S))
    pairs = [(2 * i + 1, 2 * i + 2) for i in range(len(CHORDS))]
    return CardSet("Gleicher Akkord.Set", "Suche den gleichen Akkord", listed, pairs,
                   "chord")


# --- 10. Gleiche Tonhöhe: ten pitches, two instruments each -------------------

# Ten pitches at least three semitones apart, no two of one pitch class (an
# octave apart they would sound alike to a child), from C3 to Gis5: the
# youngest hear high and low, not shades of a semitone. The two cards of a
# pair are always two instruments.
PITCHES = [  # (German note name, key, first instrument, second instrument)
    ("C3", 48, "Cello", "Fagott"),
    ("Es3", 51, "Horn", "Gitarre"),
    ("G3", 55, "Klarinette", "Cello"),
    ("B3", 58, "Posaune", "Horn"),
    ("D4", 62, "Gitarre", "Klavier"),
    ("Fis4", 66, "Klavier", "Trompete"),
    ("A4", 69, "Vibraphon", "Klarinette"),
    ("Cis5", 73, "Violine", "Trompete"),
    ("E5", 76, "Floete", "Vibraphon"),
    ("Gis5", 80, "Violine", "Floete"),
]
PITCH_LENGTH_S = 2.2


def _pitch_set():
    listed = []
    for note, key, *voices in PITCHES:
        for instrument in voices:
            listed.append(Sound(f"Ton{note}{instrument}", [(0.0, 1.5, 0, key, 100)],
                                {0: PROGRAM[instrument]}, {"pitch": key}, PITCH_LENGTH_S))
    pairs = [(2 * i + 1, 2 * i + 2) for i in range(len(PITCHES))]
    return CardSet("Gleiche Tonhöhe.Set", "Suche die gleiche Tonhöhe", listed, pairs,
                   "pitch")


# --- 11. Ta und Ti-Ti: twelve rhythms of the poster's syllables ------------------

# One 4/4 bar each of ta (a quarter), ti-ti (two eighths) and ta-a (a half),
# without rests, at one tempo; the poster's own bars first. Any two rhythms
# differ in at least two onsets, so no rhythm is another with one note split
# or joined.
TATI_BPM = 100
TATI_RHYTHMS = [
    "ta ta ti-ti ti-ti", "ti-ti ta ti-ti ta", "ta-a ti-ti ta", "ta ta ta ta",
    "ta-a ta-a", "ti-ti ti-ti ti-ti ti-ti", "ta ta-a ti-ti", "ta ti-ti ta-a",
    "ta-a ta ti-ti", "ti-ti ta ta-a", "ti-ti ta-a ta", "ta ti-ti ta ti-ti",
]
TATI_BEATS = {"ta": [0.0], "ti-ti": [0.0, 0.5], "ta-a": [0.0]}
TATI_LENGTH = {"ta": 1.0, "ti-ti": 1.0, "ta-a": 2.0}

# (label, channel, key): struck and plucked voices whose notes peak within a
# few milliseconds even when played softly, each on one note of its own
# (piano, harp, marimba, celesta and banjo swell for longer), and wood block
# and conga of the percussion channel (the melodic wood block clicks before
# its stroke). A note stops a fifth of a
# beat before the next, so that the next one, a soft ti too, starts from
# quiet; a ta-a still sounds twice as long as a ta where the voice rings.
# Partners stand three or four places apart in this list, alike-sounding
# voices (agogo and wood block) one.
TATI_VOICES = [("Xylophon", 0, 72), ("Koto", 0, 64), ("Kalimba", 0, 69), ("Vibraphon", 0, 65),
               ("Conga", DRUMS, 63), ("Agogo", 0, 70), ("Holzblock", DRUMS, 76),
               ("Spieluhr", 0, 79)]
TATI_GAP = 0.2  # beats of quiet before the next note


def tati_notes(rhythm):
    """(beat, beats) of every note of a rhythm written in syllables."""
    out, beat = [], 0.0
    for syllable in rhythm.split():
        starts = TATI_BEATS[syllable]
        each = TATI_LENGTH[syllable] / len(starts)
        out += [(beat + s, each) for s in starts]
        beat += TATI_LENGTH[syllable]
    return out


def _tati_sound(name, voice, rhythm, intent):
    label, channel, key = voice
    beat_s = 60.0 / TATI_BPM
    # Beats louder than the ti between them; a ringing voice's ti not so
    # much softer that it is lost in the ring of the note before it, a
    # drum's as soft as in the other rhythm sets, since its click is limited.
    soft = 72 if channel == DRUMS else 100
    notes = [(b * beat_s, (beats - TATI_GAP) * beat_s, channel, key,
              127 if b == int(b) else soft) for b, beats in tati_notes(rhythm)]
    programs = {} if channel == DRUMS else {channel: PROGRAM[label]}
    return Sound(name, notes, programs, intent, length=4 * beat_s + 0.5)


def _tati_set():
    listed = []
    n = len(TATI_VOICES)
    for k, rhythm in enumerate(TATI_RHYTHMS):
        for voice in (TATI_VOICES[k % n], TATI_VOICES[(k + 3 + k // n) % n]):
            listed.append(_tati_sound(f"TaTi{k + 1}{voice[0]}", voice, rhythm,
                                      {"rhythm": rhythm, "bpm": TATI_BPM}))
    pairs = [(2 * i + 1, 2 * i + 2) for i in range(len(TATI_RHYTHMS))]
    return CardSet("Ta und Ti-Ti.Set", "Suche den gleichen Rhythmus", listed, pairs, "tati")


SETS = [_same_set(), _melody_set(), _beat_set(), _instrument_set(), _tempo_set(),
        _easy_set(), _hard_set(), _percussion_set(), _chord_set(), _pitch_set(),
        _tati_set()]


def all_sounds():
    """Every distinct sound once, in set order."""
    seen = {}
    for card_set in SETS:
        for snd in card_set.sounds:
            seen.setdefault(snd.name, snd)
    return list(seen.values())
