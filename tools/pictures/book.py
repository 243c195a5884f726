"""The menu background: an open book seen from above, 820 x 560, RGBA.

The menu writes near-black text on both pages: commands on the left page
(x 70 to about 400, y 60 to 420 in this picture) and page contents on the
right page (x 450 to 800, y 50 to 370). Those areas stay plain paper; the
decorations sit in the margins below them. The paper is close to the colour
of the card-selection panel the menu fills over the right page, so the panel
reads as part of the page.
"""

import os
import tempfile

import numpy as np
from PIL import Image, ImageFilter

from common import periodic_noise, save_png
from engrave import lilypond

W, H = 820, 560
SS = 2  # drawn at twice the size, then reduced: smooth edges
SPINE = 410.0
PAGE_TOP, PAGE_BOTTOM = 22.0, 538.0
PAGE_LEFT, PAGE_RIGHT = 22.0, 798.0
COVER = (6.0, 6.0, 810.0, 548.0)
PAPER = np.array([252.0, 249.0, 228.0])
LEATHER = np.array([104.0, 36.0, 32.0])
SEPIA = np.array([150.0, 104.0, 64.0])
RIBBON = np.array([170.0, 28.0, 36.0])


def coverage(inside):
    """Boolean mask at SS times the size -> fractional coverage at 1x."""
    a = inside.astype(float)
    return a.reshape(H, SS, W, SS).mean(axis=(1, 3))


def grid():
    y, x = np.mgrid[0 : H * SS, 0 : W * SS].astype(float)
    return (x + 0.5) / SS, (y + 0.5) / SS


def rounded_rect(x, y, box, r):
    x0, y0, x1, y1 = box
    cx = np.clip(x, x0 + r, x1 - r)
    cy = np.clip(y, y0 + r, y1 - r)
    return ((x - cx) ** 2 + (y - cy) ** 2 <= r * r) & (x >= x0) & (x <= x1) & (y >= y0) & (y <= y1)


def page_edges(x):
    """Top and bottom edge of the page block; the paper dips into the gutter."""
    dip = np.exp(-(((x - SPINE) / 70.0) ** 2))
    return PAGE_TOP + 6.0 * dip, PAGE_BOTTOM - 4.0 * dip


def blend(rgb, alpha, colour, amount):
    a = amount[..., None]
    return rgb * (1 - a) + colour * a, np.maximum(alpha, amount)


def make_book(ornaments):
    rng = np.random.default_rng(5)
    xs, ys = grid()
    rgb = np.zeros((H, W, 3))
    alpha = np.zeros((H, W))

    # Soft shadow under the book, then the leather cover.
    cover_big = rounded_rect(xs, ys, COVER, 16)
    cover = coverage(cover_big)
    shadow = Image.fromarray((cover * 255).astype(np.uint8)).filter(ImageFilter.GaussianBlur(3))
    shadow = np.asarray(shadow, float) / 255
    shadow = np.pad(shadow, ((3, 0), (2, 0)))[:H, :W] * 0.45
    # Fade out before the picture's edge so the border stays transparent.
    yy, xx = np.mgrid[0:H, 0:W]
    margin = np.minimum.reduce([xx, yy, W - 1 - xx, H - 1 - yy]).astype(float)
    alpha = shadow * np.clip(margin / 4.0, 0, 1)
    grain = periodic_noise(rng, 0, 60, 200, shape=(H, W)) * 0.05 + periodic_noise(rng, 0, 8, 40, shape=(H, W)) * 0.04
    x1, y1 = np.mgrid[0:H, 0:W].astype(float)[::-1]
    edge = np.minimum.reduce([x1 - COVER[0], COVER[2] - x1, y1 - COVER[1], COVER[3] - y1])
    bevel = np.clip(edge / 6.0, 0, 1)
    leather = LEATHER[None, None, :] * (0.75 + 0.25 * bevel + grain)[..., None]
    rgb = rgb * (1 - cover[..., None]) + leather * cover[..., None]
    alpha = np.maximum(alpha, cover)

    # Stacked page edges peeking out at the sides and bottom of the block.
    top, bottom = page_edges(xs)
    for i, off in enumerate((5.0, 3.5, 2.0)):
        block = (xs >= PAGE_LEFT - off) & (xs <= PAGE_RIGHT + off) & (ys >= top - off * 0.3) & (ys <= bottom + off)
        shade = 0.80 + 0.06 * i
        rgb, alpha = blend(rgb, alpha, PAPER * shade, coverage(block))

    # The two pages.
    pages = (xs >= PAGE_LEFT) & (xs <= PAGE_RIGHT) & (ys >= top) & (ys <= bottom)
    p = coverage(pages)
    x = np.arange(W, dtype=float)[None, :] + 0.5
    d = np.abs(x - SPINE)
    outer = np.minimum(x - PAGE_LEFT, PAGE_RIGHT - x)
    light = (
        1.0
        - 0.30 * np.exp(-d / 9.0)
        - 0.05 * np.exp(-d / 70.0)
        + 0.015 * np.exp(-(((d - 90.0) / 60.0) ** 2))
        - 0.05 * np.exp(-np.clip(outer, 0, None) / 14.0)
    )
    fibre = periodic_noise(rng, 0, 90, 280, shape=(H, W)) * 0.006
    paper = PAPER[None, None, :] * (light + fibre)[..., None]
    rgb = rgb * (1 - p[..., None]) + paper * p[..., None]
    alpha = np.maximum(alpha, p)

    # Hair-line corner rules in the outer corners of both pages.
    # The top ones stay short: the right page's text area begins at y 50.
    for cx, cy, sx, sy, n in ((32, 30, 1, 1, 16), (788, 30, -1, 1, 16), (32, 530, 1, -1, 22), (788, 530, -1, -1, 22)):
        u = (xs - cx) * sx
        v = (ys - cy) * sy
        arm = ((np.abs(v) <= 0.7) & (u >= 0) & (u <= n)) | ((np.abs(u) <= 0.7) & (v >= 0) & (v <= n))
        arm2 = ((np.abs(v - 4) <= 0.5) & (u >= 4) & (u <= n - 8)) | ((np.abs(u - 4) <= 0.5) & (v >= 4) & (v <= n - 8))
        rgb, _ = blend(rgb, alpha, SEPIA, coverage(arm | arm2) * 0.8)

    # Engraved ornaments in sepia: a phrase on a staff under the right page's
    # text, loose notes under the left page's commands.
    # The right one sits below the card-selection panel (down to y 490).
    for img, (ox, bottom, width) in zip(ornaments, ((566, 528, 180), (96, 518, 140))):
        ink = ornament_ink(img, width)
        h, w = ink.shape
        oy = bottom - h
        sub = rgb[oy : oy + h, ox : ox + w]
        rgb[oy : oy + h, ox : ox + w] = sub * (1 - ink[..., None] * 0.75) + SEPIA * ink[..., None] * 0.75

    # A ribbon bookmark coming out of the gutter onto the left page and over
    # the bottom edge; it stays left of x 420, where the card panel begins.
    top_y = 440.0
    rx = SPINE - 4.0 - (ys - top_y) * 0.12
    tail = 556.0 - 7.0 * (1 - np.abs(xs - rx) / 7.5)
    ribbon = (np.abs(xs - rx) <= 7.5) & (ys >= top_y) & (ys <= tail)
    # It emerges from under the pages: fade in over its first pixels.
    emerge = np.clip((ys - top_y) / 26.0, 0, 1)
    r = coverage(ribbon) * (emerge.reshape(H, SS, W, SS).mean(axis=(1, 3)))
    across = np.clip(1 - np.abs(xs - rx) / 7.5, 0, 1).reshape(H, SS, W, SS).mean(axis=(1, 3))
    rib = RIBBON[None, None, :] * (0.82 + 0.18 * across)[..., None]
    rgb = rgb * (1 - r[..., None]) + rib * r[..., None]
    alpha = np.maximum(alpha, r)

    rgba = np.dstack([rgb, alpha * 255])
    rgba[alpha == 0, :3] = 0
    return rgba


def ornament_ink(img, width):
    g = np.asarray(img.convert("L"), float)
    ys, xs = np.nonzero(g < 250)
    img = img.convert("L").crop((xs.min(), ys.min(), xs.max() + 1, ys.max() + 1))
    h = round(img.height * width / img.width)
    img = img.resize((width, h), Image.LANCZOS)
    return 1 - np.asarray(img, float) / 255


def main():
    with tempfile.TemporaryDirectory() as work:
        prefix = lilypond("ornaments", work, 600)
        ornaments = [Image.open(prefix + "-%s.png" % s) for s in ("staff", "notes")]
        save_png(make_book(ornaments), "buch.png", "RGBA")


if __name__ == "__main__":
    main()
