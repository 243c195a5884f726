"""Helpers shared by the picture generators: seamless noise and PNG output.

Every random source is a seeded numpy generator, so a rerun on any machine
writes the same pixels.
"""

import os

import numpy as np
from PIL import Image

ASSETS = os.path.normpath(os.path.join(os.path.dirname(__file__), "..", "..", "assets"))


def periodic_noise(rng, size, low, high, shape=None):
    """Band-limited noise that wraps around both edges.

    Built in the frequency domain, so every component has a whole number of
    periods across the picture and the left/right and top/bottom edges meet
    without a seam. `low` and `high` are cycles per picture; the result is
    scaled to mean 0 and standard deviation 1.
    """
    h, w = shape if shape else (size, size)
    fy = np.fft.fftfreq(h) * h
    fx = np.fft.fftfreq(w) * w
    r = np.sqrt(fy[:, None] ** 2 + fx[None, :] ** 2)
    band = (r >= low) & (r <= high)
    spectrum = (rng.standard_normal((h, w)) + 1j * rng.standard_normal((h, w))) * band
    field = np.real(np.fft.ifft2(spectrum))
    field -= field.mean()
    sd = field.std()
    return field / sd if sd > 0 else field


def periodic_blur(a, sigma):
    """Gaussian blur that wraps around the edges (keeps a tile seamless)."""
    h, w = a.shape[:2]
    fy = np.fft.fftfreq(h)
    fx = np.fft.fftfreq(w)
    g = np.exp(-2 * (np.pi * sigma) ** 2 * (fy[:, None] ** 2 + fx[None, :] ** 2))
    if a.ndim == 2:
        return np.real(np.fft.ifft2(np.fft.fft2(a) * g))
    return np.stack([periodic_blur(a[..., c], sigma) for c in range(a.shape[2])], axis=-1)


def to_u8(a):
    return np.clip(np.rint(a), 0, 255).astype(np.uint8)


def save_png(array, name, mode):
    """Write assets/<name>; `mode` is "RGB" or "RGBA" and is checked, not guessed."""
    img = Image.fromarray(to_u8(array), mode)
    path = os.path.join(ASSETS, name)
    img.save(path, optimize=True)
    print("wrote", path, img.size, img.mode)
    return path
