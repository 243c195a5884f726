"""Wall posters engraved with LilyPond: intervals and rhythm syllables.

LilyPond draws black on white at four times the final size; here the page is
trimmed to its ink, centred on warm poster paper inside a wooden frame and
reduced to 512 x 512. The ink is a dark brown, never pure black: the room
loads the posters masked, and masking turns exactly black pixels transparent.
"""

import os
import sys
import tempfile

import numpy as np
from PIL import Image

from common import save_png
from engrave import lilypond
SIZE = 512
FRAME = 12
MARGIN = 16
PAPER = np.array([250.0, 246.0, 232.0])
INK = np.array([40.0, 31.0, 26.0])
WOOD = np.array([122.0, 82.0, 52.0])


def engrave(name, workdir):
    png = lilypond(name, workdir, 520) + ".png"
    if not os.path.exists(png):
        sys.exit("lilypond wrote no single page for %s.ly" % name)
    return Image.open(png).convert("RGB")


def compose(page):
    a = np.asarray(page, float)
    ink = (a < 250).any(axis=2)
    ys, xs = np.nonzero(ink)
    box = (xs.min(), ys.min(), xs.max() + 1, ys.max() + 1)
    content = page.crop(box)
    room = SIZE - 2 * (FRAME + MARGIN)
    scale = min(room / content.width, room / content.height)
    w, h = round(content.width * scale), round(content.height * scale)
    content = content.resize((w, h), Image.LANCZOS)
    sheet = Image.new("RGB", (SIZE, SIZE), (255, 255, 255))
    sheet.paste(content, ((SIZE - w) // 2, (SIZE - h) // 2))
    t = np.asarray(sheet, float) / 255
    rgb = INK + (PAPER - INK) * t
    # Frame: flat wood with a light inner edge and a dark outer edge.
    y, x = np.mgrid[0:SIZE, 0:SIZE]
    d = np.minimum(np.minimum(x, y), np.minimum(SIZE - 1 - x, SIZE - 1 - y))
    frame = d < FRAME
    shade = 0.85 + 0.15 * (d / FRAME)
    rgb[frame] = (WOOD[None, :] * shade[frame][:, None])
    rgb[d == FRAME - 1] = WOOD * 1.35
    rgb[d == 0] = WOOD * 0.6
    return rgb


def main():
    with tempfile.TemporaryDirectory() as work:
        for name in ("intervallo", "tatiti"):
            rgb = compose(engrave(name, work))
            save_png(rgb, name + ".png", "RGB")


if __name__ == "__main__":
    main()
