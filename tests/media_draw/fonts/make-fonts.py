#!/usr/bin/python3
"""Writes the small test faces beside this script (and the font fuzzer's seeds copy them):
strike1.ttf, strike2.ttf, strike4.ttf and strike8.ttf, outline faces that also carry embedded
bitmaps of 1, 2, 4 and 8 bits per pixel for the letter A at 12 and 48 pixels, and huge.ttf,
whose W is 32767 pixels wide and whose I is 32767 pixels tall at 16 pixels. Needs fontTools
(Debian python3-fonttools). The bitmap pattern is mirrored by tests/media_draw/FontTest.cpp."""
import os, struct, sys

from fontTools.fontBuilder import FontBuilder
from fontTools.pens.ttGlyphPen import TTGlyphPen
from fontTools.ttLib import TTFont
from fontTools.ttLib.tables.DefaultTable import DefaultTable

here = os.path.dirname(os.path.abspath(__file__))

# Strike size -> bitmap width, height, left bearing, top bearing; the glyph's advance is its
# width + 2.
STRIKES = {12: (11, 5, 1, 8), 48: (37, 9, 2, 30)}


def level(depth, x, y):
    """Coverage level of bitmap pixel (x, y), 0 .. 2**depth - 1."""
    if depth == 8:
        return (x * 23 + y * 71) % 256
    return (x + 3 * y) % (1 << depth)


def rows(depth, width, height):
    out = b""
    for y in range(height):
        bits, count, row = 0, 0, bytearray()
        for x in range(width):
            bits = (bits << depth) | level(depth, x, y)
            count += depth
            if count == 8:
                row.append(bits)
                bits, count = 0, 0
        if count:
            row.append(bits << (8 - count))
        out += bytes(row)
    return out


def line_metrics(ascender, descender, width_max):
    # ascender, descender, widthMax, caret slope (1/0), caret offset, minOriginSB, minAdvanceSB,
    # maxBeforeBL, minAfterBL, two pad bytes
    return struct.pack(">bbBbbbbbbbbb", ascender, descender, width_max, 1, 0, 0, 0, 0, 0, 0, 0, 0)


def strike_tables(depth, glyph):
    """EBLC and EBDT with one strike per entry of STRIKES, each holding one glyph (byte-aligned
    image format 1 with small metrics, index format 1)."""
    ebdt = bytearray(struct.pack(">I", 0x00020000))
    sizes, subtables = [], []
    header = 8 + 48 * len(STRIKES)
    offset = header
    for ppem, (width, height, left, top) in STRIKES.items():
        image_at = len(ebdt)
        ebdt += struct.pack(">BBbbB", height, width, left, top, width + 2)
        ebdt += rows(depth, width, height)
        image_end = len(ebdt)
        # Array of one subtable, then the subtable: format, image format, image offset, the
        # glyph's two offsets.
        array = struct.pack(">HHI", glyph, glyph, 8)
        sub = struct.pack(">HHIII", 1, 1, image_at, 0, image_end - image_at)
        block = array + sub
        subtables.append(block)
        metrics = line_metrics(top, height - top - 1, width)
        sizes.append(struct.pack(">IIII", offset, len(block), 1, 0) + metrics + metrics +
                     struct.pack(">HHBBBb", glyph, glyph, ppem, ppem, depth, 1))
        offset += len(block)
    eblc = struct.pack(">II", 0x00020000, len(STRIKES)) + b"".join(sizes) + b"".join(subtables)
    return bytes(eblc), bytes(ebdt)


def empty():
    return TTGlyphPen(None).glyph()


def rect(x0, y0, x1, y1):
    pen = TTGlyphPen(None)
    pen.moveTo((x0, y0))
    pen.lineTo((x0, y1))
    pen.lineTo((x1, y1))
    pen.lineTo((x1, y0))
    pen.closePath()
    return pen.glyph()


def face(name, upem, glyphs, advances):
    """An outline face; glyphs maps glyph name -> (character or None, glyph)."""
    order = list(glyphs)
    fb = FontBuilder(upem, isTTF=True)
    fb.setupGlyphOrder(order)
    fb.setupCharacterMap({ord(c): n for n, (c, _) in glyphs.items() if c})
    fb.setupGlyf({n: g for n, (_, g) in glyphs.items()})
    fb.setupHorizontalMetrics({n: (advances[n], 0) for n in order})
    fb.setupHorizontalHeader(ascent=upem * 3 // 4, descent=-(upem // 4))
    fb.setupNameTable({"familyName": name, "styleName": "Regular"})
    fb.setupOS2(sTypoAscender=upem * 3 // 4, usWinAscent=upem * 3 // 4,
                usWinDescent=upem // 4)
    fb.setupPost()
    return fb.font


def save(font, name):
    path = os.path.join(here, name)
    # A fixed date keeps the files the same on every run.
    font.recalcTimestamp = False
    font["head"].created = font["head"].modified = 3786825600  # 2024-01-01
    font.save(path)
    # Read back whole, so that a table the generator got wrong fails here and not in a test.
    check = TTFont(path)
    for tag in check.keys():
        check[tag]
    print(path, os.path.getsize(path), "bytes")


for depth in (1, 2, 4, 8):
    font = face("Strike%d" % depth, 1024,
                {".notdef": (None, empty()), "A": ("A", rect(100, 0, 700, 700)),
                 "B": ("B", rect(100, 0, 500, 700))},
                {".notdef": 0, "A": 800, "B": 600})
    eblc, ebdt = strike_tables(depth, 1)
    for tag, data in (("EBDT", ebdt), ("EBLC", eblc)):
        table = DefaultTable(tag)
        table.data = data
        font[tag] = table
    save(font, "strike%d.ttf" % depth)

# 16 units to the em: at 16 pixels a unit is a pixel, and 32767 units the most a glyph can span.
save(face("Huge", 16,
          {".notdef": (None, empty()), "W": ("W", rect(0, 0, 32767, 12)),
           "I": ("I", rect(0, -4, 8, 32763)), "B": ("B", rect(1, 0, 9, 12))},
          {".notdef": 0, "W": 32767, "I": 10, "B": 10}), "huge.ttf")
