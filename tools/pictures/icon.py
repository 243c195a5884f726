"""The program's desktop icon: four cards on the table with a pair of notes rising from them.

One list of shapes is written twice: as an SVG (the scalable icon) and, drawn with Pillow at
four times the size and scaled down, as PNGs of the usual icon sizes. Both go below
desktop/icons/hicolor/, where the installation takes them from.
"""

import math
import os

from PIL import Image, ImageDraw

ROOT = os.path.normpath(os.path.join(os.path.dirname(__file__), "..", ".."))
ICONS = os.path.join(ROOT, "desktop", "icons", "hicolor")
NAME = "com.quorvane.Tonvella"
SIZES = (16, 22, 24, 32, 48, 64, 128, 256)
GRID = 256  # the shapes' own coordinates

TABLE = "#b7793f"
TABLE_EDGE = "#6b3f1c"
SHADOW = "#4a2a12"
CARDS = (("#2f6fcf", 38, 40), ("#e0a526", 134, 40), ("#3e9e57", 38, 136), ("#c2417f", 134, 136))
NOTE = "#fffaf0"
NOTE_EDGE = "#2b1a0c"


def rotated_ellipse(cx, cy, rx, ry, degrees, steps=48):
    a = math.radians(degrees)
    points = []
    for i in range(steps):
        t = 2 * math.pi * i / steps
        x, y = rx * math.cos(t), ry * math.sin(t)
        points.append((cx + x * math.cos(a) - y * math.sin(a), cy + x * math.sin(a) + y * math.cos(a)))
    return points


def shapes():
    """(kind, fill, outline, geometry) in drawing order."""
    out = [("rrect", TABLE, TABLE_EDGE, (8, 8, 248, 248, 44))]
    for colour, x, y in CARDS:
        out.append(("rrect", SHADOW, None, (x + 6, y + 7, x + 6 + 84, y + 7 + 84, 12)))
        out.append(("rrect", colour, None, (x, y, x + 84, y + 84, 12)))
    # Two beamed quavers over the cards: heads, stems and the beam.
    heads = ((96, 186), (170, 166))
    for cx, cy in heads:
        out.append(("poly", NOTE, NOTE_EDGE, rotated_ellipse(cx, cy, 27, 19, -22)))
    for cx, cy in heads:
        out.append(("poly", NOTE, NOTE_EDGE, [(cx + 16, cy - 8), (cx + 27, cy - 12),
                                              (cx + 27, cy - 128), (cx + 16, cy - 124)]))
    out.append(("poly", NOTE, NOTE_EDGE, [(112, 50), (197, 26), (197, 54), (112, 78)]))
    return out


def svg():
    parts = ['<svg xmlns="http://www.w3.org/2000/svg" width="%d" height="%d" viewBox="0 0 %d %d">'
             % (GRID, GRID, GRID, GRID)]
    for kind, fill, outline, g in shapes():
        stroke = ' stroke="%s" stroke-width="5" stroke-linejoin="round"' % outline if outline else ""
        if kind == "rrect":
            x0, y0, x1, y1, r = g
            parts.append('<rect x="%g" y="%g" width="%g" height="%g" rx="%g" fill="%s"%s/>'
                         % (x0, y0, x1 - x0, y1 - y0, r, fill, stroke))
        else:
            points = " ".join("%.2f,%.2f" % p for p in g)
            parts.append('<polygon points="%s" fill="%s"%s/>' % (points, fill, stroke))
    parts.append("</svg>")
    return "\n".join(parts) + "\n"


def raster(size):
    scale = 4 * size / GRID
    image = Image.new("RGBA", (4 * size, 4 * size), (0, 0, 0, 0))
    draw = ImageDraw.Draw(image)
    width = max(1, round(5 * scale))
    for kind, fill, outline, g in shapes():
        if kind == "rrect":
            x0, y0, x1, y1, r = (v * scale for v in g)
            draw.rounded_rectangle((x0, y0, x1, y1), radius=r, fill=fill, outline=outline,
                                   width=width if outline else 0)
        else:
            points = [(x * scale, y * scale) for x, y in g]
            draw.polygon(points, fill=fill)
            if outline:
                draw.line(points + [points[0]], fill=outline, width=width, joint="curve")
    return image.resize((size, size), Image.LANCZOS)


def main():
    scalable = os.path.join(ICONS, "scalable", "apps")
    os.makedirs(scalable, exist_ok=True)
    with open(os.path.join(scalable, NAME + ".svg"), "w") as f:
        f.write(svg())
    for size in SIZES:
        folder = os.path.join(ICONS, "%dx%d" % (size, size), "apps")
        os.makedirs(folder, exist_ok=True)
        raster(size).save(os.path.join(folder, NAME + ".png"), optimize=True)


if __name__ == "__main__":
    main()
