"""Audio analysis for the card-set sound check: decoding, loudness, pitch,
onsets and timbre, with numpy only."""

import struct
import subprocess

import numpy as np

RATE = 44100
HOP = 441  # 10 ms analysis frames for pitch


class DecodeError(Exception):
    pass


# --- container ----------------------------------------------------------------

def ogg_info(path):
    """(serials of all pages, channels, rate) of an Ogg Vorbis file."""
    with open(path, "rb") as f:
        data = f.read()
    serials, pos, first_packet = [], 0, None
    while pos < len(data):
        if data[pos:pos + 4] != b"OggS" or pos + 27 > len(data):
            raise DecodeError("not an Ogg page at byte %d" % pos)
        serials.append(struct.unpack_from("<I", data, pos + 14)[0])
        nseg = data[pos + 26]
        lacing = data[pos + 27:pos + 27 + nseg]
        body = pos + 27 + nseg
        if first_packet is None:
            first_packet = data[body:body + sum(lacing)]
        pos = body + sum(lacing)
    if not first_packet or first_packet[:7] != b"\x01vorbis":
        raise DecodeError("no Vorbis identification header")
    channels = first_packet[11]
    rate = struct.unpack_from("<I", first_packet, 12)[0]
    return serials, channels, rate


def decode(path):
    """Float samples in -1..1 of a mono Ogg Vorbis file."""
    run = subprocess.run(["oggdec", "-Q", "-R", "-o", "-", path],
                         capture_output=True, stdin=subprocess.DEVNULL)
    if run.returncode != 0 or not run.stdout:
        raise DecodeError("oggdec failed: " + run.stderr.decode(errors="replace").strip())
    return np.frombuffer(run.stdout, dtype="<i2").astype(np.float64) / 32768.0


# --- loudness (ITU-R BS.1770-4) ---------------------------------------------

def _biquad_response(b, a, w):
    z = np.exp(-1j * w)
    return (b[0] + b[1] * z + b[2] * z ** 2) / (a[0] + a[1] * z + a[2] * z ** 2)


def k_filters(rate):
    """Shelf and high-pass biquads of the K-weighting at the given rate."""
    def shelf():
        f0, gain_db, q = 1681.974450955533, 3.999843853973347, 0.7071752369554196
        k = np.tan(np.pi * f0 / rate)
        vh = 10 ** (gain_db / 20)
        vb = vh ** 0.4996667741545416
        d = 1 + k / q + k * k
        return ([(vh + vb * k / q + k * k) / d, 2 * (k * k - vh) / d,
                 (vh - vb * k / q + k * k) / d],
                [1.0, 2 * (k * k - 1) / d, (1 - k / q + k * k) / d])

    def highpass():
        f0, q = 38.13547087602444, 0.5003270373238773
        k = np.tan(np.pi * f0 / rate)
        d = 1 + k / q + k * k
        return [1.0, -2.0, 1.0], [1.0, 2 * (k * k - 1) / d, (1 - k / q + k * k) / d]

    return [shelf(), highpass()]


def lufs(x, rate=RATE):
    """Gated integrated loudness of a mono signal."""
    pad = rate // 2
    n = len(x) + 2 * pad
    spec = np.fft.rfft(np.pad(x, pad))
    w = 2 * np.pi * np.arange(len(spec)) / n
    for b, a in k_filters(rate):
        spec = spec * np.abs(_biquad_response(b, a, w))
    y = np.fft.irfft(spec, n)[pad:pad + len(x)]
    block, step = int(0.4 * rate), int(0.1 * rate)
    sq = np.concatenate([[0.0], np.cumsum(y * y)])
    starts = np.arange(0, max(1, len(y) - block + 1), step)
    ends = np.minimum(starts + block, len(y))
    z = (sq[ends] - sq[starts]) / (ends - starts)
    level = -0.691 + 10 * np.log10(np.maximum(z, 1e-20))
    z = z[level > -70]
    if not len(z):
        return -70.0
    gate = -0.691 + 10 * np.log10(z.mean()) - 10
    z = z[-0.691 + 10 * np.log10(z) > gate]
    return -0.691 + 10 * np.log10(z.mean())


# --- pitch (YIN) ----------------------------------------------------------------

def _frames(x, size, hop):
    count = max(0, 1 + (len(x) - size) // hop)
    idx = np.arange(size)[None, :] + hop * np.arange(count)[:, None]
    return x[idx]


def pitch_track(x, rate=RATE, fmin=60.0, fmax=1500.0, threshold=0.15,
                silence_db=-35.0):
    """MIDI key (float) per 10 ms frame, NaN where no clear pitch."""
    size = 2048
    tau_max = int(rate / fmin)
    tau_min = int(rate / fmax)
    width = size - tau_max
    fr = _frames(np.pad(x, (0, size)), size, HOP)[: 1 + len(x) // HOP]
    head = fr[:, :width]
    nfft = 4096
    cross = np.fft.irfft(np.conj(np.fft.rfft(head, nfft)) * np.fft.rfft(fr, nfft),
                         nfft)[:, : tau_max + 1]
    energy = np.concatenate([np.zeros((len(fr), 1)), np.cumsum(fr * fr, axis=1)], axis=1)
    e_tau = energy[:, width:width + tau_max + 1] - energy[:, : tau_max + 1]
    d = energy[:, width:width + 1] + e_tau - 2 * cross
    d[:, 0] = 0
    taus = np.arange(1, tau_max + 1)
    cmnd = np.ones_like(d)
    cmnd[:, 1:] = d[:, 1:] * taus / np.maximum(np.cumsum(d[:, 1:], axis=1), 1e-12)

    rms = np.sqrt(energy[:, width] / width)
    loud = 20 * np.log10(np.maximum(rms, 1e-9)) > 20 * np.log10(rms.max() + 1e-12) + silence_db
    keys = np.full(len(fr), np.nan)
    for i in np.nonzero(loud)[0]:
        row = cmnd[i]
        below = np.nonzero(row[tau_min:] < threshold)[0]
        if not len(below):
            continue
        t = tau_min + below[0]
        while t + 1 <= tau_max and row[t + 1] < row[t]:
            t += 1
        if 0 < t < tau_max:  # parabolic refinement of the dip
            a, b, c = row[t - 1], row[t], row[t + 1]
            den = a - 2 * b + c
            t = t + (0.5 * (a - c) / den if den > 0 else 0.0)
        keys[i] = 69 + 12 * np.log2(rate / t / 440.0)
    return keys


def two_notes(keys):
    """(first, second) median key of a track that holds two notes."""
    frames = np.nonzero(~np.isnan(keys))[0]
    if len(frames) < 10:
        return None
    v = keys[frames]
    best, split = None, None
    for s in range(4, len(v) - 4):
        cost = v[:s].var() * s + v[s:].var() * (len(v) - s)
        if best is None or cost < best:
            best, split = cost, s
    def core(seg):  # frames next to the change may still carry the old note
        return seg[len(seg) // 5: len(seg) - len(seg) // 5] if len(seg) > 10 else seg

    return float(np.median(core(v[:split]))), float(np.median(core(v[split:])))


# --- onsets ---------------------------------------------------------------------

ONSET_HOP = 128


ONSET_LEAD = 8  # frames of silence put in front, so that time 0 is a rise


def onset_strength(x):
    """Spectral flux of log magnitudes, one value per ONSET_HOP samples;
    value i belongs to the window centred at (i - ONSET_LEAD) * ONSET_HOP."""
    size = 1024
    lead = ONSET_HOP * ONSET_LEAD
    fr = _frames(np.pad(x, (lead + size // 2, size)), size, ONSET_HOP)
    mag = np.abs(np.fft.rfft(fr * np.hanning(size), axis=1))
    logmag = np.log1p(1000 * mag)
    flux = np.maximum(0, np.diff(logmag, axis=0)).sum(axis=1)
    return np.concatenate([[0.0], flux])


def onsets(x, rate=RATE, min_gap=0.06):
    """Onset times in seconds: peaks of the spectral flux that stand out."""
    flux = onset_strength(x)
    # The attack out of silence at the start dwarfs every later one; scale by
    # the strongest later rise so that the threshold suits the rest.
    later = flux[ONSET_LEAD + int(min_gap * rate / ONSET_HOP):]
    scale = later.max() if len(later) and later.max() > 0 else flux.max()
    if scale <= 0:
        return np.array([])
    flux = flux / scale
    span = int(0.1 * rate / ONSET_HOP)
    gap = int(min_gap * rate / ONSET_HOP)
    found = []
    for i in range(len(flux) - 1):
        lo, hi = max(0, i - span), min(len(flux), i + span + 1)
        local = flux[lo:hi]
        if flux[i] == local.max() and flux[i] > 0.2 + np.median(local):
            if not found or i - found[-1] >= gap:
                found.append(i)
    # The flux peaks when the attack enters the window, a little before the
    # window's centre reaches it; an attack at the very start maps to 0.
    return np.maximum(0.0, (np.array(found) - ONSET_LEAD) * ONSET_HOP / rate)


def match_onsets(a, b, tolerance=0.03):
    """Number of onsets of a that have their own partner in b."""
    used = np.zeros(len(b), dtype=bool)
    hits = 0
    for t in a:
        if not len(b):
            break
        d = np.abs(b - t)
        d[used] = np.inf
        j = int(np.argmin(d))
        if d[j] <= tolerance:
            used[j] = True
            hits += 1
    return hits


def beat_period(times):
    """Beat period of a steady pulse: slope of onset time over beat number."""
    iois = np.diff(times)
    if len(iois) < 2:
        return None
    guess = float(np.median(iois))
    beats = np.round((times - times[0]) / guess)
    slope, _ = np.polyfit(beats, times, 1)
    return float(slope)


# --- timbre ---------------------------------------------------------------------

def timbre(x, rate=RATE, bands=24):
    """Average log spectrum in mel-spaced bands of the loud frames, as a
    zero-mean unit vector (a rough spectral-envelope fingerprint)."""
    size = 2048
    fr = _frames(x, size, 512)
    power = np.abs(np.fft.rfft(fr * np.hanning(size), axis=1)) ** 2
    frame_db = 10 * np.log10(power.sum(axis=1) + 1e-20)
    power = power[frame_db > frame_db.max() - 30]
    freqs = np.fft.rfftfreq(size, 1 / rate)
    mel = 2595 * np.log10(1 + freqs / 700)
    edges = np.linspace(mel[1], 2595 * np.log10(1 + 16000 / 700), bands + 1)
    band = np.digitize(mel, edges) - 1
    spectrum = power.mean(axis=0)
    v = np.array([spectrum[band == i].sum() for i in range(bands)])
    v = 10 * np.log10(v + 1e-12)
    v = v - v.mean()
    return v / (np.linalg.norm(v) + 1e-12)


def note_sequence(keys, min_frames=5):
    """Keys of the notes of a melody, in order: runs of at least min_frames
    frames on one semitone; a repeated key with only unpitched frames
    between counts once."""
    tuning = np.nanmedian(keys - np.round(keys)) if np.any(~np.isnan(keys)) else 0.0
    out, run_key, run = [], None, 0
    for k in keys:
        key = None if np.isnan(k) else int(np.round(k - tuning))
        if key is not None and key == run_key:
            run += 1
        else:
            run_key, run = key, 1 if key is not None else 0
        if run == min_frames and (not out or out[-1] != key):
            out.append(key)
    return out


# --- level on small speakers ------------------------------------------------------

def true_peak(x, oversample=4):
    """Peak of the band-limited signal between the samples (BS.1770 Annex 2
    asks for at least 4x oversampling), in dBTP."""
    n = len(x)
    spec = np.fft.rfft(np.pad(x, (0, n % 2)))
    up = np.fft.irfft(spec, oversample * (n + n % 2)) * oversample
    return 20 * np.log10(max(np.max(np.abs(up)), 1e-12))


def highpass(x, rate=RATE, cutoff=300.0, order=4):
    """Butterworth high-pass magnitude (zero phase): what a laptop speaker
    leaves of a sound, near enough for loudness, which is energy."""
    pad = rate // 10
    n = len(x) + 2 * pad
    f = np.fft.rfftfreq(n, 1 / rate)
    gain = 1 / np.sqrt(1 + (cutoff / np.maximum(f, 1e-3)) ** (2 * order))
    return np.fft.irfft(np.fft.rfft(np.pad(x, pad)) * gain, n)[pad:pad + len(x)]


def envelope(x, rate=RATE, window_s=0.005):
    """Moving RMS over a short window, one value per sample."""
    w = max(1, int(window_s * rate))
    c = np.concatenate([[0.0], np.cumsum(x * x)])
    e = np.sqrt((c[w:] - c[:-w]) / w)
    return np.concatenate([e, np.full(w - 1, e[-1] if len(e) else 0.0)])


def amplitude(x, rate=RATE, smooth_s=0.003):
    """Magnitude of the analytic signal, smoothed: an envelope without the
    ripple that a short RMS window shows on a low drum's 60 Hz cycles."""
    n = len(x)
    spec = np.fft.fft(x)
    h = np.zeros(n)
    h[0] = 1
    h[1:(n + 1) // 2] = 2
    if n % 2 == 0:
        h[n // 2] = 1
    a = np.abs(np.fft.ifft(spec * h))
    w = max(1, int(smooth_s * rate))
    c = np.concatenate([[0.0], np.cumsum(np.pad(a, (w // 2, w - 1 - w // 2), mode="edge"))])
    return (c[w:] - c[:-w]) / w


def attack_times(x, times, rate=RATE, rise_db=-20.0, look_s=0.2):
    """For each onset time: seconds from the moment the hit's envelope first
    reaches rise_db below its peak to the moment it comes within 1 dB of the
    peak. The hit ends at the next onset (or look_s later)."""
    env = amplitude(x, rate)
    out = []
    for i, t in enumerate(times):
        lo = max(0, int((t - 0.01) * rate))
        end = times[i + 1] if i + 1 < len(times) else t + look_s
        hi = min(len(env), int(min(end - 0.005, t + look_s) * rate))
        if hi <= lo + 10:
            out.append(np.nan)
            continue
        seg = env[lo:hi]
        peak = int(np.argmax(seg))
        floor = seg[peak] * 10 ** (rise_db / 20)
        start = int(np.nonzero(seg[:peak + 1] >= floor)[0][0])
        # a peak held flat (a limited click) is reached where it begins: 1 dB below
        top = int(np.nonzero(seg[:peak + 1] >= seg[peak] * 10 ** (-1 / 20))[0][0])
        out.append((top - start) / rate)
    return np.array(out)


def hit_levels(x, times, rate=RATE, window_s=0.05):
    """Level in dB of each hit: its energy over window_s from the onset, as
    the ear sums it; a limited click keeps its body's loudness."""
    out = []
    for t in times:
        seg = x[int(t * rate):int((t + window_s) * rate)]
        out.append(10 * np.log10(max(float(np.mean(seg * seg)) if len(seg) else 0.0, 1e-18)))
    return np.array(out)


def refine_onsets(x, times, rate=RATE, level=0.5):
    """Each onset moved to the sample where its hit's envelope first reaches
    `level` of the hit's peak: sub-millisecond, where the spectral flux has a
    resolution of 3 ms. Tempo and grid positions are measured on these."""
    env = envelope(x, rate, 0.002)
    out = []
    for i, t in enumerate(times):
        lo = max(0, int((t - 0.02) * rate))
        end = times[i + 1] - 0.005 if i + 1 < len(times) else t + 0.05
        hi = min(len(env), int(min(end, t + 0.05) * rate))
        if hi <= lo + 4:
            out.append(t)
            continue
        seg = env[lo:hi]
        peak = int(np.argmax(seg))
        # the last quiet sample before the peak, so a previous hit's tail does not count
        below = np.nonzero(seg[:peak + 1] < level * seg[peak])[0]
        first = below[-1] + 1 if len(below) else 0
        out.append((lo + first) / rate)
    return np.array(out)


def audible_length(x, rate=RATE, below_db=-30.0):
    """Seconds until the sound falls for good below its loudest 50 ms by below_db."""
    env = envelope(x, rate, 0.05)
    loud = np.nonzero(env >= env.max() * 10 ** (below_db / 20))[0]
    return loud[-1] / rate if len(loud) else 0.0


def first_note(keys, frames=8):
    """Median key of the first pitched frames: the note a sound starts on."""
    pitched = keys[~np.isnan(keys)]
    if len(pitched) < 3:
        return None
    return float(np.median(pitched[:frames]))


def grid_step(onset_lists, low=0.08, high=0.4, tolerance=0.012):
    """The longest step of which every onset, counted from its sound's first
    onset, is a whole multiple within tolerance: the common grid (a
    sixteenth when sixteenths occur). None if no step fits."""
    for step in np.arange(high, low, -0.0002):
        ok = True
        for times in onset_lists:
            rel = times - times[0]
            if np.max(np.abs(rel - step * np.round(rel / step))) > tolerance:
                ok = False
                break
        if ok:
            # refine: least squares over all onsets with their grid numbers
            k = np.concatenate([np.round((t - t[0]) / step) for t in onset_lists])
            r = np.concatenate([t - t[0] for t in onset_lists])
            return float((k @ r) / (k @ k)) if k @ k > 0 else float(step)
    return None


def tempo_period(x, times, rate=RATE, hop=32):
    """Beat period refined from a rough one (the onsets' slope): the lag of
    every whole number of beats at which the sound's spectral flux best
    matches itself, found to a fraction of a millisecond; the period is the
    slope of these lags over the beat counts. Onsets alone are 3 ms coarse,
    too coarse to tell 7.0 from 7.2 % between tempos."""
    rough = beat_period(times)
    if rough is None:
        return None
    size = 1024
    # a whole window of silence in front, so that the first attack enters the
    # window as every later one does
    fr = _frames(np.pad(x, (size, size)), size, hop)
    mag = np.log1p(1000 * np.abs(np.fft.rfft(fr * np.hanning(size), axis=1)))
    flux = np.maximum(0, np.diff(mag, axis=0)).sum(axis=1)
    flux = flux - flux.mean()
    n = len(flux)
    spec = np.fft.rfft(flux, 2 * n)
    # per overlapping frame: the plain sum falls with the lag and would pull
    # every peak towards a shorter period
    corr = np.fft.irfft(spec * np.conj(spec), 2 * n)[:n] / (n - np.arange(n))
    beats, lags = [], []
    m = 1
    while True:
        centre = m * rough * rate / hop
        lo, hi = int(centre * 0.985), int(np.ceil(centre * 1.015)) + 1
        if hi + 1 >= n or (n - centre) < 0.15 * n:
            break
        k = lo + int(np.argmax(corr[lo:hi]))
        a, b, c = corr[k - 1], corr[k], corr[k + 1]
        den = a - 2 * b + c
        beats.append(m)
        lags.append(k + (0.5 * (a - c) / den if den < 0 else 0.0))
        m += 1
    if not beats:
        return rough
    beats, lags = np.array(beats, float), np.array(lags)
    return float((beats @ lags) / (beats @ beats)) * hop / rate


# --- chords -----------------------------------------------------------------------

def key_levels(x, rate=RATE, start_s=0.05, length_s=1.2, low=33, high=100):
    """Keys low..high, the level in dB of the strongest spectral line within
    0.4 semitone of each, and whether that line is a peak of its own there
    (not the skirt of a line beyond), over length_s from start_s after the
    first audible sample: lines 0.85 Hz apart, narrow enough to part two
    semitones even at A1."""
    first = int(np.argmax(np.abs(x) >= 10 ** (-37 / 20)))
    seg = x[first + int(start_s * rate):first + int((start_s + length_s) * rate)]
    n = 1 << 18
    mag = np.abs(np.fft.rfft(seg * np.hanning(len(seg)), n))
    freqs = np.fft.rfftfreq(n, 1 / rate)
    keys = np.arange(low, high + 1)
    levels = np.empty(len(keys))
    own = np.zeros(len(keys), dtype=bool)
    for i, k in enumerate(keys):
        f = 440.0 * 2 ** ((k - 69) / 12)
        lo, hi = np.searchsorted(freqs, [f * 2 ** (-0.4 / 12), f * 2 ** (0.4 / 12)])
        top = lo + int(np.argmax(mag[lo:hi]))
        levels[i] = 20 * np.log10(mag[top] + 1e-12)
        own[i] = lo < top < hi - 1
    return keys, levels, own


def chord_notes(x, rate=RATE, bass_db=24.0, tone_db=20.0):
    """(bass key, semitones of the chord tones above the bass, level of the
    weakest tone, level of the strongest other key in that octave), both in
    dB under the loudest tone. The bass is the lowest spectral peak within
    bass_db of the loudest line; the tones are the peaks of the octave above
    it within tone_db of the loudest there. No overtone of a chord in close
    position falls in that octave, so what rises there is a played note.
    None when nothing sounds."""
    keys, levels, own = key_levels(x, rate)
    if levels.max() < -100:
        return None
    bass = int(np.nonzero(own & (levels >= levels.max() - bass_db))[0][0])
    octave = np.arange(bass, min(bass + 12, len(keys)))
    loudest = levels[octave].max()
    tones = [int(i) for i in octave if own[i] and levels[i] >= loudest - tone_db]
    others = [levels[i] for i in octave if i not in tones]
    return (int(keys[bass]), tuple(int(keys[i] - keys[bass]) for i in tones),
            float(min(levels[i] for i in tones) - loudest),
            float(max(others) - loudest) if others else -np.inf)


# --- a held pitch -------------------------------------------------------------------

def held_pitch(keys):
    """(median key, share of the pitched frames within 0.5 semitone of it)
    of a track that holds one note; None when too few frames are pitched."""
    pitched = keys[~np.isnan(keys)]
    if len(pitched) < 20:
        return None
    middle = float(np.median(pitched))
    return middle, float(np.mean(np.abs(pitched - middle) < 0.5))
