"""Room textures: carpet, wallpaper and beech wood, each a seamless tile.

All patterns are built from whole periods across the tile (sines with integer
cycle counts, noise made in the frequency domain), so the floor, walls and
furniture repeat them without visible seams.
"""

import numpy as np

from common import periodic_blur, periodic_noise, save_png


def carpet(size=256, seed=11):
    rng = np.random.default_rng(seed)
    y, x = np.mgrid[0:size, 0:size].astype(float)
    period = 8  # loops of pile, 32 per tile
    row = np.floor(y / period)
    # Alternate rows are shifted by half a loop, like a tufted carpet.
    xs = x + (row % 2) * period / 2
    loop = (np.sin(np.pi * xs / period) ** 2) * (np.sin(np.pi * y / period) ** 2)
    # Slanted thread twist inside each loop gives the weave its direction.
    twist = 0.5 + 0.5 * np.sin(2 * np.pi * (xs + y) / (period / 2))
    fibre = periodic_noise(rng, size, 40, 128)
    tuft = periodic_noise(rng, size, 12, 40)
    mottle = periodic_noise(rng, size, 1, 5)
    shade = 0.80 + 0.16 * loop + 0.05 * twist + 0.045 * fibre + 0.035 * tuft + 0.025 * mottle
    base = np.array([156.0, 60.0, 42.0])  # warm madder red
    warm = np.array([18.0, 14.0, 2.0]) * (0.5 + 0.5 * np.tanh(tuft))[..., None]
    rgb = (base[None, None, :] + warm) * shade[..., None]
    return save_png(rgb, "teppich.png", "RGB")


def wallpaper(size=256, seed=23):
    """Calm striped paper with a small motif.

    The walls stretch one tile to roughly twice its width in height, so the
    motif is drawn at half height here and looks round on the wall.
    """
    rng = np.random.default_rng(seed)
    y, x = np.mgrid[0:size, 0:size].astype(float)
    paper = np.array([238.0, 232.0, 212.0])
    stripe_col = np.array([226.0, 222.0, 196.0])
    # Two broad stripes per tile with soft edges, plus a fine pin line.
    u = (x % (size / 2)) / (size / 2)
    broad = 0.5 + 0.5 * np.tanh((0.25 - np.abs(u - 0.5)) * 40)
    pin = np.exp(-(((u - 0.02) * size / 2) ** 2) / 1.2) + np.exp(-(((u - 0.98) * size / 2) ** 2) / 1.2)
    rgb = paper[None, None, :] * (1 - broad[..., None]) + stripe_col[None, None, :] * broad[..., None]
    rgb = rgb - pin[..., None] * np.array([22.0, 18.0, 6.0])
    # Small four-petal motif centred in every broad stripe, two per stripe.
    motif = np.zeros((size, size))
    for cx in (size * 0.25, size * 0.75):
        for cy in (size * 0.25, size * 0.75):
            cx2 = cx + (size * 0.0 if cy < size / 2 else 0.0)
            dx = x - cx2
            dy = (y - cy) * 2.0  # half height, see above
            r = np.sqrt(dx ** 2 + dy ** 2)
            ang = np.arctan2(dy, dx)
            petal = 9.0 + 5.0 * np.cos(4 * ang)
            motif = np.maximum(motif, 0.5 + 0.5 * np.tanh((petal - r) * 0.9))
            motif = np.maximum(motif, 0.5 + 0.5 * np.tanh((2.6 - r) * 2))
    rgb = rgb * (1 - motif[..., None] * 0.13) + motif[..., None] * np.array([0.0, 8.0, 6.0])
    grain = periodic_noise(rng, size, 30, 128) * 1.6 + periodic_noise(rng, size, 2, 10) * 1.2
    rgb = rgb + grain[..., None]
    return save_png(rgb, "tapete.png", "RGB")


def beech(size=512, seed=37):
    """Beech: pale pinkish brown, fine straight grain, small dark ray flecks."""
    rng = np.random.default_rng(seed)
    y, x = np.mgrid[0:size, 0:size].astype(float)
    # Rings drift slowly: little change along the grain (x), a bit across it.
    warp = np.real(np.fft.ifft2(_low_spectrum(rng, size, 1, 4)))
    warp = warp / warp.std()
    lines = 11  # growth rings crossing the tile, whole cycles so it wraps
    phase = 2 * np.pi * lines * y / size + warp * 1.1
    ring = 0.5 + 0.5 * np.sin(phase)
    ring = ring ** 3  # late wood: narrow darker bands
    # Fine streaks along the grain: noise stretched along x.
    streak = np.real(np.fft.ifft2(_anisotropic_spectrum(rng, size, 2, 120)))
    streak = streak / streak.std()
    # Ray flecks: short dark dashes along the grain, typical of beech.
    fleck_seed = (rng.random((size, size)) > 0.9975).astype(float)
    fleck = periodic_blur(np.roll(fleck_seed, 0, axis=1), 0.8)
    fleck = _smear_x(fleck, 7)
    fleck = fleck / fleck.max()
    tone = periodic_noise(rng, size, 1, 3)
    base = np.array([218.0, 176.0, 132.0])
    dark = np.array([176.0, 124.0, 82.0])
    t = np.clip(0.55 * ring + 0.10 * streak + 0.05 * tone + 0.15, 0, 1)
    rgb = base[None, None, :] * (1 - t[..., None]) + dark[None, None, :] * t[..., None]
    rgb = rgb * (1 - 0.28 * np.clip(fleck, 0, 1)[..., None])
    rgb = rgb + periodic_noise(rng, size, 60, 256)[..., None] * 2.0
    return save_png(rgb, "buche.png", "RGB")


def _low_spectrum(rng, size, fx_max, fy_max):
    fy = np.abs(np.fft.fftfreq(size) * size)
    fx = np.abs(np.fft.fftfreq(size) * size)
    band = (fx[None, :] <= fx_max) & (fy[:, None] <= fy_max) & ((fx[None, :] + fy[:, None]) > 0)
    return (rng.standard_normal((size, size)) + 1j * rng.standard_normal((size, size))) * band


def _anisotropic_spectrum(rng, size, fx_max, fy_max):
    """Noise spectrum long along x and fine across y: wood fibres."""
    fy = np.abs(np.fft.fftfreq(size) * size)
    fx = np.abs(np.fft.fftfreq(size) * size)
    band = (fx[None, :] <= fx_max) & (fy[:, None] >= 8) & (fy[:, None] <= fy_max)
    return (rng.standard_normal((size, size)) + 1j * rng.standard_normal((size, size))) * band


def _smear_x(a, length):
    """Average over `length` neighbours along x, wrapping at the edge."""
    out = np.zeros_like(a)
    for d in range(-(length // 2), length // 2 + 1):
        out += np.roll(a, d, axis=1)
    return out / length


if __name__ == "__main__":
    carpet()
    wallpaper()
    beech()
