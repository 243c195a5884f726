"""Integrated loudness (ITU-R BS.1770-4) of a mono signal, in LUFS.

The K-weighting is applied in the frequency domain with the exact magnitude
response of the two standard biquads at the signal's rate; the phase does not
change the energies that loudness is made of, and numpy has no IIR filter.
"""

import numpy as np


def k_weighting_biquads(rate):
    """((b0, b1, b2), (1, a1, a2)) of the shelf and the high-pass stage."""
    k = np.tan(np.pi * 1681.974450955533 / rate)
    q = 0.7071752369554196
    vh = 10 ** (3.999843853973347 / 20)
    vb = vh ** 0.4996667741545416
    a0 = 1 + k / q + k * k
    shelf = ((vh + vb * k / q + k * k) / a0, 2 * (k * k - vh) / a0,
             (vh - vb * k / q + k * k) / a0), (1.0, 2 * (k * k - 1) / a0,
                                                (1 - k / q + k * k) / a0)
    k = np.tan(np.pi * 38.13547087602444 / rate)
    q = 0.5003270373238773
    a0 = 1 + k / q + k * k
    highpass = (1.0, -2.0, 1.0), (1.0, 2 * (k * k - 1) / a0, (1 - k / q + k * k) / a0)
    return shelf, highpass


def k_weight(x, rate):
    pad = rate // 2  # room for the filters' ringing on both sides
    n = len(x) + 2 * pad
    spectrum = np.fft.rfft(np.concatenate([np.zeros(pad), x, np.zeros(pad)]))
    z = np.exp(-1j * np.pi * np.arange(len(spectrum)) / (n / 2))
    gain = np.ones(len(spectrum))
    for b, a in k_weighting_biquads(rate):
        gain *= np.abs((b[0] + b[1] * z + b[2] * z * z) / (a[0] + a[1] * z + a[2] * z * z))
    return np.fft.irfft(spectrum * gain, n)[pad:pad + len(x)]


def integrated(x, rate):
    y = k_weight(np.asarray(x, dtype=np.float64), rate) ** 2
    block, hop = int(0.4 * rate), int(0.1 * rate)
    if len(y) < block:
        power = np.array([y.mean()])
    else:
        c = np.concatenate([[0.0], np.cumsum(y)])
        starts = np.arange(0, len(y) - block + 1, hop)
        power = (c[starts + block] - c[starts]) / block
    power = power[power > 10 ** ((-70 + 0.691) / 10)]
    if not len(power):
        return -70.0
    relative = -0.691 + 10 * np.log10(power.mean()) - 10
    gated = power[-0.691 + 10 * np.log10(power) > relative]
    return -0.691 + 10 * np.log10(gated.mean())


def speaker_level(x, rate, cutoff=300.0):
    """Loudness of what a laptop speaker leaves of a sound: the integrated
    loudness after a fourth-order high-pass at 300 Hz."""
    pad = rate // 10
    n = len(x) + 2 * pad
    f = np.fft.rfftfreq(n, 1 / rate)
    gain = 1 / np.sqrt(1 + (cutoff / np.maximum(f, 1e-3)) ** 8)
    y = np.fft.irfft(np.fft.rfft(np.pad(x, pad)) * gain, n)[pad:pad + len(x)]
    return integrated(y, rate)


def true_peak(x, oversample=4):
    """Peak of the band-limited signal between the samples, in dBTP."""
    return 20 * np.log10(max(np.max(np.abs(oversampled(x, oversample))), 1e-12))


def oversampled(x, factor):
    n = len(x) + len(x) % 2
    spec = np.fft.rfft(np.pad(x, (0, n - len(x))))
    spec[-1] *= 0.5  # the Nyquist bin stands for both of its halves
    return np.fft.irfft(spec, factor * n) * factor


def low_shelf(x, rate, gain_db, f0=250.0):
    """A causal low-shelf biquad (RBJ, slope 1), applied through its complex
    response: a cut of the lows that a small speaker cannot play anyway."""
    a_ = 10 ** (gain_db / 40)
    w0 = 2 * np.pi * f0 / rate
    alpha = np.sin(w0) / 2 * np.sqrt(2)
    c = np.cos(w0)
    sq = 2 * np.sqrt(a_) * alpha
    b = [a_ * ((a_ + 1) - (a_ - 1) * c + sq), 2 * a_ * ((a_ - 1) - (a_ + 1) * c),
         a_ * ((a_ + 1) - (a_ - 1) * c - sq)]
    a = [(a_ + 1) + (a_ - 1) * c + sq, -2 * ((a_ - 1) + (a_ + 1) * c),
         (a_ + 1) + (a_ - 1) * c - sq]
    n = len(x) + rate  # room for the filter's tail, cut off afterwards
    z = np.exp(-1j * 2 * np.pi * np.arange(n // 2 + 1) / n)
    h = (b[0] + b[1] * z + b[2] * z * z) / (a[0] + a[1] * z + a[2] * z * z)
    return np.fft.irfft(np.fft.rfft(x, n) * h, n)[:len(x)]


def sliding_min(a, k):
    """result[i] = min(a[i:i + k]) for i = 0 .. len(a) - k, in linear time."""
    n = len(a)
    blocks = np.pad(a, (0, -n % k), constant_values=np.inf).reshape(-1, k)
    prefix = np.minimum.accumulate(blocks, axis=1).ravel()
    suffix = np.minimum.accumulate(blocks[:, ::-1], axis=1)[:, ::-1].ravel()
    return np.minimum(suffix[:n - k + 1], prefix[k - 1:n])


def limit(x, rate, ceiling_db, window_s=0.004):
    """Look-ahead peak limiter: the gain that keeps every (4x oversampled)
    peak under the ceiling, held over a window around it and smoothed, so it
    is already down when a peak arrives and comes back within milliseconds."""
    ceiling = 10 ** (ceiling_db / 20)
    up = np.abs(oversampled(x, 4))[:4 * len(x)].reshape(-1, 4).max(axis=1)
    need = np.minimum(1.0, ceiling / np.maximum(up, 1e-12))
    w = max(1, int(window_s * rate))
    held = sliding_min(np.pad(need, w, constant_values=1.0), 2 * w + 1)
    half = w // 2
    # edge values, not 1: a sound starts with its first peak
    c = np.concatenate([[0.0], np.cumsum(np.pad(held, half, mode="edge"))])
    smooth = (c[2 * half + 1:] - c[:-2 * half - 1]) / (2 * half + 1)
    return x * np.minimum(smooth, 1.0)


def band_limit(x, rate, start_hz=15000.0, stop_hz=16500.0):
    """Removes what the Vorbis encoder would drop anyway (it keeps up to about
    17 kHz at this quality), so that its output peaks where the limiter left
    the peaks: a click that loses its top octave in the encoder can overshoot
    by several dB. Zero phase, with a raised-cosine slope."""
    pad = rate // 20
    n = len(x) + 2 * pad
    f = np.fft.rfftfreq(n, 1 / rate)
    gain = np.clip((stop_hz - f) / (stop_hz - start_hz), 0.0, 1.0)
    gain = 0.5 - 0.5 * np.cos(np.pi * gain)
    return np.fft.irfft(np.fft.rfft(np.pad(x, pad)) * gain, n)[pad:pad + len(x)]
