"""Floating note sprites: a pair of beamed eighth notes.

The game tints the coloured notes by multiplying with a random colour, so the
note body is near white; a grey rim keeps the shape readable once tinted and
a soft white halo fades into the transparent background. The wrong-card note
is the same pair in grey with its beam broken and a cross over it.
"""

import numpy as np
from PIL import Image, ImageDraw, ImageFilter

from common import save_png

SIZE = 128
SS = 4  # drawn at four times the size, then reduced: smooth edges
BIG = SIZE * SS


def _ellipse_polygon(cx, cy, rx, ry, angle_deg, steps=72):
    a = np.radians(angle_deg)
    t = np.linspace(0, 2 * np.pi, steps, endpoint=False)
    x = rx * np.cos(t)
    y = ry * np.sin(t)
    return [(cx + xi * np.cos(a) - yi * np.sin(a), cy + xi * np.sin(a) + yi * np.cos(a)) for xi, yi in zip(x, y)]


def _note_pair(draw, fill, broken=False):
    heads = [(150, 392), (352, 350)]
    rx, ry, tilt = 62, 43, -22
    stem_w = 20
    tops = []
    for cx, cy in heads:
        draw.polygon(_ellipse_polygon(cx, cy, rx, ry, tilt), fill=fill)
        sx = cx + 50
        top = cy - 270
        draw.rectangle([sx, top, sx + stem_w, cy - 8], fill=fill)
        tops.append((sx, top))
    (x0, y0), (x1, y1) = tops
    x1 += stem_w
    beam = 52
    if not broken:
        draw.polygon([(x0, y0), (x1, y1), (x1, y1 + beam), (x0, y0 + beam)], fill=fill)
        return
    # Beam snapped in the middle: two stubs with a jagged gap between them.
    def at(t):
        return x0 + (x1 - x0) * t, y0 + (y1 - y0) * t

    ax, ay = at(0.40)
    bx, by = at(0.60)
    draw.polygon([(x0, y0), (ax + 8, ay - 6), (ax - 6, ay + beam * 0.5), (ax + 10, ay + beam + 10), (x0, y0 + beam)], fill=fill)
    draw.polygon([(bx - 4, by + 8), (x1, y1 + 14), (x1, y1 + beam + 14), (bx + 6, by + beam + 18), (bx - 10, by + beam * 0.55)], fill=fill)


def _cross(draw, fill):
    w = 46
    for (a, b) in (((78, 78), (434, 434)), ((434, 78), (78, 434))):
        draw.line([a, b], fill=fill, width=w)
        for p in (a, b):
            draw.ellipse([p[0] - w / 2, p[1] - w / 2, p[0] + w / 2, p[1] + w / 2], fill=fill)


def _layer(paint):
    img = Image.new("L", (BIG, BIG), 0)
    paint(ImageDraw.Draw(img))
    return img


def _shaded(mask_img, grey):
    """Grey body lit from the upper left, with a darker rim inside the outline."""
    m = np.asarray(mask_img, float) / 255
    inner = np.asarray(mask_img.filter(ImageFilter.MinFilter(13)), float) / 255
    rim = np.clip(m - inner, 0, 1)
    y = np.linspace(0, 1, BIG)[:, None]
    g = grey - 14 * y
    return m, g * (1 - rim) + g * 0.68 * rim


def _render(body_grey, broken, cross_grey=None):
    layers = [_layer(lambda d: _note_pair(d, 255, broken))]
    greys = [body_grey]
    if cross_grey is not None:
        layers.append(_layer(lambda d: _cross(d, 255)))
        greys.append(cross_grey)
    value = np.full((BIG, BIG), 255.0)
    solid = np.zeros((BIG, BIG))
    for mask_img, grey in zip(layers, greys):
        m, v = _shaded(mask_img, grey)
        value = value * (1 - m) + v * m
        solid = np.maximum(solid, m)
    solid_img = Image.fromarray((solid * 255).astype(np.uint8))
    # Halo: the shape grown and blurred, white, fading out.
    grown = solid_img.filter(ImageFilter.MaxFilter(17)).filter(ImageFilter.GaussianBlur(14))
    halo = np.asarray(grown, float) / 255
    alpha = np.maximum(solid, halo * 0.62)
    rgba = np.dstack([value, value, value, alpha * 255])
    # Reduce with premultiplied alpha so the halo keeps its white.
    return _downsample(rgba)


def _downsample(rgba):
    a = rgba[..., 3:4] / 255
    pre = rgba[..., :3] * a
    def box(x):
        h, w = x.shape[:2]
        return x.reshape(h // SS, SS, w // SS, SS, -1).mean(axis=(1, 3))
    pa = box(a)
    pc = box(pre)
    col = np.where(pa > 0, pc / np.maximum(pa, 1e-6), 255)
    return np.dstack([col, pa * 255])


if __name__ == "__main__":
    save_png(_render(252, broken=False), "NotenAnti.png", "RGBA")
    save_png(_render(178, broken=True, cross_grey=120), "NotenFalsch.png", "RGBA")
