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
