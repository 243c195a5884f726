"""Renders every card-set sound of score.py and writes the set files.

For each sound: MIDI file -> fluidsynth with the FluidR3_GM bank (no reverb or
chorus, 32-bit float so nothing clips before we set the level) -> mono mix-down
-> start cut at the first sample that reaches START_DBFS -> end faded ->
loudness set to TARGET_LUFS (BS.1770 K-weighted, measured on the mono signal
that ships) -> 16-bit WAV -> oggenc with a serial number derived from the file
name, so that a rebuild gives byte-identical files.

Usage: generate.py [--assets DIR] [--soundfont SF2] [--only NAME ...]
"""

import argparse
import concurrent.futures
import os
import subprocess
import sys
import tempfile
import time
import wave
import zlib

import numpy as np

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import loudness  # noqa: E402
import midi  # noqa: E402
import score  # noqa: E402

RATE = 44100
TARGET_LUFS = -18.0  # loud enough for a classroom laptop
MAX_SPEAKER_LOSS_DB = 4.0  # loss after the 300 Hz high-pass beyond which lows are cut
CEILING_DBTP = -1.5  # the limiter's ceiling before encoding
MAX_TRUE_PEAK_DBTP = -1.1  # after decoding; the check allows -1.0
START_DBFS = -35.0  # lower thresholds let slow attacks begin audibly late;
# 2 dB above the check's -37 dBFS, which Vorbis may smear a peak below
PRE_ROLL_S = 0.001  # faded in, so the cut itself does not click
FADE_S = 0.25
MIN_LENGTH_S = 1.6
MAX_LENGTH_S = 3.9
QUALITY = "4"
SOUNDFONT = "/usr/share/sounds/sf2/FluidR3_GM.sf2"

HERE = os.path.dirname(os.path.abspath(__file__))
REPO = os.path.dirname(os.path.dirname(HERE))


def serial_of(name):
    return zlib.crc32(name.encode("ascii")) & 0x7FFFFFFF


def render(snd, soundfont, work):
    mid = os.path.join(work, snd.name + ".mid")
    raw = os.path.join(work, snd.name + ".raw")
    midi.write_midi(mid, snd.notes, snd.programs)
    subprocess.run(["fluidsynth", "-ni", "-q", "-R", "0", "-C", "0", "-g", "0.4",
                    "-r", str(RATE), "-T", "raw", "-O", "float", "-F", raw,
                    soundfont, mid], check=True, stdin=subprocess.DEVNULL,
                   stdout=subprocess.DEVNULL)
    stereo = np.fromfile(raw, dtype="<f4").astype(np.float64).reshape(-1, 2)
    return stereo.mean(axis=1)


def note_end(snd):
    return max(start + duration for start, duration, *_ in snd.notes)


def speaker_loss(x):
    return loudness.integrated(x, RATE) - loudness.speaker_level(x, RATE)


def balance_for_speakers(mono, allowed_db):
    """Cuts the lows of a sound that would lose much more than the others on a
    laptop speaker, so that it stays as loud there as the rest of its set."""
    if speaker_loss(mono) <= allowed_db:
        return mono
    lo, hi = -30.0, 0.0  # shelf gain in dB; more cut, less loss
    for _ in range(12):
        mid = (lo + hi) / 2
        y = loudness.low_shelf(mono, RATE, mid)
        if speaker_loss(y) > allowed_db:
            hi = mid
        else:
            lo = mid
    return loudness.low_shelf(mono, RATE, lo)


def cut(snd, mono):
    """Start cut at the first sample that reaches START_DBFS at the loudness
    the sound will have, and the faded end; returns (piece, gain)."""
    if not np.any(mono):
        raise SystemExit(f"{snd.name}: fluidsynth rendered silence")
    length = snd.length or note_end(snd) + 0.5
    length = min(MAX_LENGTH_S, max(MIN_LENGTH_S, length))
    n = int(round(length * RATE))
    threshold = 10 ** (START_DBFS / 20)
    pre = int(PRE_ROLL_S * RATE)

    # The cut depends on the level and the level on the cut; a few rounds settle both.
    gain = 1.0
    for _ in range(3):
        level = np.abs(mono) * gain
        first = int(np.argmax(level >= threshold))
        start = max(0, first - pre)
        piece = mono[start:start + n].copy()
        if len(piece) < n:
            piece = np.concatenate([piece, np.zeros(n - len(piece))])
        ramp_in = first - start
        if ramp_in:
            piece[:ramp_in] *= np.linspace(0.0, 1.0, ramp_in, endpoint=False)
        fade = int(FADE_S * RATE)
        piece[-fade:] *= 0.5 * (1 + np.cos(np.linspace(0, np.pi, fade)))
        gain *= 10 ** ((TARGET_LUFS - loudness.integrated(piece * gain, RATE)) / 20)
    return piece, gain


def level(piece, gain, ceiling_db):
    """Gain and peak limiting together: the limiter takes back part of every
    gain step (much of it for a click), so the gain follows the secant of
    loudness over gain until the loudness is on target."""
    piece = loudness.band_limit(piece, RATE)
    if loudness.true_peak(piece * gain) <= ceiling_db:
        return piece * gain
    g = 20 * np.log10(gain)
    last = None
    for _ in range(25):
        out = loudness.limit(piece * 10 ** (g / 20), RATE, ceiling_db)
        lufs = loudness.integrated(out, RATE)
        error = TARGET_LUFS - lufs
        if abs(error) < 0.02:
            break
        slope = 1.0
        if last is not None and g != last[0]:
            slope = min(1.0, max(0.05, (lufs - last[1]) / (g - last[0])))
        last = (g, lufs)
        g += error / slope
    return out


def decoded_true_peak(path, work):
    raw = os.path.join(work, os.path.basename(path) + ".pcm")
    subprocess.run(["oggdec", "-Q", "-R", "-o", raw, path], check=True,
                   stdin=subprocess.DEVNULL)
    x = np.fromfile(raw, dtype="<i2").astype(np.float64) / 32768.0
    return loudness.true_peak(x), loudness.integrated(x, RATE)


def encode(snd, samples, assets, work):
    wav = os.path.join(work, snd.name + ".wav")
    pcm = np.clip(np.round(samples * 32767), -32768, 32767).astype("<i2")
    with wave.open(wav, "wb") as w:
        w.setnchannels(1)
        w.setsampwidth(2)
        w.setframerate(RATE)
        w.writeframes(pcm.tobytes())
    out = os.path.join(assets, snd.name + ".ogg")
    subprocess.run(["oggenc", "-Q", "-q", QUALITY, "-s", str(serial_of(snd.name)),
                    "-o", out, wav], check=True, stdin=subprocess.DEVNULL)
    return out


def make(snd, soundfont, assets, work):
    mono = render(snd, soundfont, work)
    # Limiting takes more off a drum's click than off its boom; cut the lows
    # again, deeper, until the limited sound keeps to the loss too.
    allowed = MAX_SPEAKER_LOSS_DB
    for _ in range(4):
        piece, gain = cut(snd, balance_for_speakers(mono, allowed))
        loss = speaker_loss(level(piece, gain, CEILING_DBTP))
        if loss <= MAX_SPEAKER_LOSS_DB + 0.5:
            break
        allowed -= loss - MAX_SPEAKER_LOSS_DB
    ceiling = CEILING_DBTP
    for _ in range(8):  # Vorbis overshoots peaks a little; lower the ceiling until it fits
        samples = level(piece, gain, ceiling)
        out = encode(snd, samples, assets, work)
        peak, lufs = decoded_true_peak(out, work)
        if peak <= MAX_TRUE_PEAK_DBTP:
            break
        ceiling -= peak - MAX_TRUE_PEAK_DBTP + 0.1
    print(f"{snd.name}: {lufs:.2f} LUFS, {peak:.2f} dBTP, limiter at {ceiling:.1f}",
          flush=True)
    return snd.name, lufs, peak


def set_file_text(card_set):
    lines = ["[Text]", f"Frage={card_set.question}", "", "[Sounds]"]
    lines += [f"{i}={snd.name}.ogg" for i, snd in enumerate(card_set.sounds, 1)]
    lines += ["", "[Connect]", f"Paarungen={len(card_set.pairs)}"]
    lines += [f"{i}={a}x{b}" for i, (a, b) in enumerate(card_set.pairs, 1)]
    return "\n".join(lines) + "\n"


def write_text(path, text):
    with open(path, "wb") as f:
        f.write(text.encode("latin-1"))


def write_sets(assets):
    for card_set in score.SETS:
        write_text(os.path.join(assets, card_set.file), set_file_text(card_set))
    write_text(os.path.join(assets, "Dir.lst"),
               "".join(s.file + "\n" for s in score.SETS))


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("--assets", default=os.path.join(REPO, "assets"))
    ap.add_argument("--soundfont", default=SOUNDFONT)
    ap.add_argument("--only", nargs="+", help="render only these sounds")
    args = ap.parse_args()

    sounds = score.all_sounds()
    if args.only:
        sounds = [s for s in sounds if s.name in args.only]
    began = time.monotonic()
    os.makedirs(args.assets, exist_ok=True)
    with tempfile.TemporaryDirectory() as work:
        with concurrent.futures.ThreadPoolExecutor(max_workers=2) as pool:
            results = list(pool.map(lambda s: make(s, args.soundfont, args.assets,
                                                   work), sounds))
    write_sets(args.assets)
    if not args.only:  # sounds dropped from the score leave the archive too
        keep = {s.name + ".ogg" for s in sounds}
        for f in sorted(os.listdir(args.assets)):
            if f.endswith(".ogg") and f not in keep:
                os.remove(os.path.join(args.assets, f))
    levels = [r[1] for r in results]
    loud = [f"{name} ({peak:.2f} dBTP)" for name, _, peak in results
            if peak > MAX_TRUE_PEAK_DBTP]
    total = sum(os.path.getsize(os.path.join(args.assets, s.name + ".ogg"))
                for s in sounds)
    print(f"{len(results)} sounds in {time.monotonic() - began:.1f} s, "
          f"{total / 1e6:.2f} MB, loudness {min(levels):.2f} .. {max(levels):.2f} LUFS, "
          f"true peak at most {max(r[2] for r in results):.2f} dBTP")
    if loud:  # Vorbis overshoots peaks a little; such a sound could clip
        raise SystemExit(f"true peak above {MAX_TRUE_PEAK_DBTP} dBTP after encoding: "
                         + ", ".join(loud))


if __name__ == "__main__":
    main()
