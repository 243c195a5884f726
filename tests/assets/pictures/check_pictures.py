#!/usr/bin/python3
"""Checks the shipped pictures: they decode, have the sizes and alpha the
game relies on, the room textures tile without seams, and the menu book
leaves its text areas light and plain.

Usage: check_pictures.py ASSETS_DIR
"""

import os
import sys

import numpy as np
from PIL import Image

# name: allowed sizes, alpha ("none": opaque; "outside": transparent border)
PICTURES = {
    "teppich.png": ({(256, 256), (512, 512)}, "none"),
    "tapete.png": ({(256, 256), (512, 512)}, "none"),
    "buche.png": ({(256, 256), (512, 512)}, "none"),
    "intervallo.png": ({(512, 512)}, "none"),
    "tatiti.png": ({(512, 512)}, "none"),
    "NotenAnti.png": ({(64, 64), (128, 128)}, "outside"),
    "NotenFalsch.png": ({(64, 64), (128, 128)}, "outside"),
    "buch.png": ({(820, 560)}, "outside"),
}
TILING = ("teppich.png", "tapete.png", "buche.png")
POSTERS = ("intervallo.png", "tatiti.png")
# Text areas of the menu book in picture pixels (x0, y0, x1, y1): commands
# on the left page, page contents on the right page.
BOOK_TEXT_AREAS = ((70, 60, 400, 420), (450, 50, 800, 370))


def load(path):
    with Image.open(path) as img:
        img.load()
        fmt = img.format
        img = img.copy()
        img.format = fmt
        return img


def seam_errors(name, rgb):
    """The step across the wrap edge must be no larger than steps inside.

    Checked at full size and on an 8x reduced copy: a seam in the fine
    detail shows at full size, a mismatch in shading only when reduced.
    """
    errors = []
    for factor in (1, 8):
        a = rgb
        if factor > 1:
            h, w = a.shape[0] // factor, a.shape[1] // factor
            a = a[: h * factor, : w * factor].reshape(h, factor, w, factor, 3).mean(axis=(1, 3))
        for axis, label in ((1, "left/right"), (0, "top/bottom")):
            steps = np.abs(np.diff(a, axis=axis)).mean(axis=(1 - axis, 2))
            first = np.take(a, 0, axis=axis)
            last = np.take(a, -1, axis=axis)
            wrap = np.abs(first - last).mean()
            if wrap > steps.max():
                errors.append(
                    "%s: %s edges do not meet (step %.2f across the wrap, at most %.2f inside, %dx reduced)"
                    % (name, label, wrap, steps.max(), factor)
                )
    return errors


def alpha_errors(name, img, rule):
    a = np.asarray(img.convert("RGBA"))[..., 3]
    if rule == "none":
        if a.min() != 255:
            return ["%s: must be opaque, has %d transparent pixels" % (name, int((a < 255).sum()))]
        return []
    if "A" not in img.mode:
        return ["%s: needs an alpha channel, mode is %s" % (name, img.mode)]
    border = np.concatenate([a[0], a[-1], a[:, 0], a[:, -1]])
    errors = []
    if border.max() != 0:
        errors.append("%s: the border must be fully transparent" % name)
    if a.max() != 255:
        errors.append("%s: has no opaque pixel at all" % name)
    return errors


def sprite_errors(name, img, tintable):
    rgba = np.asarray(img.convert("RGBA"), float)
    body = rgba[rgba[..., 3] == 255][:, :3]
    errors = []
    spread = (body.max(axis=1) - body.min(axis=1)).max() if len(body) else 0
    if spread > 12:
        errors.append("%s: the note must be grey (colour spread %d)" % (name, spread))
    # Tinting multiplies with a colour, so a note meant for tinting is light.
    if tintable and (len(body) == 0 or np.percentile(body.mean(axis=1), 90) < 200):
        errors.append("%s: the note is too dark to take a tint" % name)
    return errors


def poster_errors(name, img):
    rgb = np.asarray(img.convert("RGB"))
    # The room masks posters: exactly black pixels would turn transparent.
    black = int((rgb.sum(axis=2) == 0).sum())
    if black:
        return ["%s: %d pure black pixels would become holes when masked" % (name, black)]
    return []


def book_errors(img):
    rgba = np.asarray(img.convert("RGBA"), float)
    errors = []
    for x0, y0, x1, y1 in BOOK_TEXT_AREAS:
        area = rgba[y0:y1, x0:x1]
        if area[..., 3].min() != 255:
            errors.append("buch.png: text area %s is not opaque" % ((x0, y0, x1, y1),))
        lum = area[..., :3] @ np.array([0.299, 0.587, 0.114])
        if lum.min() < 200:
            errors.append("buch.png: text area %s has dark pixels (%.0f), near-black text needs light paper" % ((x0, y0, x1, y1), lum.min()))
        if lum.std() > 6:
            errors.append("buch.png: text area %s is not plain (spread %.1f)" % ((x0, y0, x1, y1), lum.std()))
    return errors


def main(argv):
    if len(argv) != 2:
        sys.exit("usage: check_pictures.py ASSETS_DIR")
    errors = []
    for name, (sizes, rule) in PICTURES.items():
        path = os.path.join(argv[1], name)
        try:
            img = load(path)
        except (OSError, SyntaxError) as exc:
            errors.append("%s: does not decode: %s" % (name, exc))
            continue
        if img.format != "PNG":
            errors.append("%s: is %s, not PNG" % (name, img.format))
        if img.size not in sizes:
            errors.append("%s: size %dx%d, expected %s" % ((name,) + img.size + (" or ".join("%dx%d" % s for s in sorted(sizes)),)))
            continue
        errors += alpha_errors(name, img, rule)
        if name in TILING:
            errors += seam_errors(name, np.asarray(img.convert("RGB"), float))
        if name in POSTERS:
            errors += poster_errors(name, img)
        if name.startswith("Noten"):
            errors += sprite_errors(name, img, tintable=name == "NotenAnti.png")
        if name == "buch.png":
            errors += book_errors(img)
    for e in errors:
        print("FAIL", e)
    if errors:
        return 1
    print("pictures ok: %d files" % len(PICTURES))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
