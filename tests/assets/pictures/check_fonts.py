#!/usr/bin/python3
"""Checks the shipped fonts with FreeType, the library the game draws with.

Usage: check_fonts.py ASSETS_DIR [TRANSLATOR_DIR]

"Comic.ttf" must hold TrueType outlines and draw every character of every
text the game shows: the list beside this script and, once it exists, every
character of the translation table. "Digital Readout Upright.ttf" must draw
the digits of the score display.
"""

import os
import struct
import sys

import freetype

HERE = os.path.dirname(os.path.abspath(__file__))
TABLE_FILES = ("translation.txt", "translation.ini")


def sfnt_tables(path):
    with open(path, "rb") as fh:
        head = fh.read(12)
        if len(head) < 12:
            raise ValueError("too short for a font file")
        version, count = struct.unpack(">4sH", head[:6])
        if version not in (b"\x00\x01\x00\x00", b"true"):
            raise ValueError("not TrueType outlines (sfnt version %r)" % version)
        return {fh.read(16)[:4] for _ in range(count)}


def decode_table(path):
    """Text of a translation table: by byte-order mark, else UTF-8."""
    with open(path, "rb") as fh:
        data = fh.read()
    if data.startswith(b"\xff\xfe"):
        return data[2:].decode("utf-16-le")
    if data.startswith(b"\xfe\xff"):
        return data[2:].decode("utf-16-be")
    if data.startswith(b"\xef\xbb\xbf"):
        return data[3:].decode("utf-8")
    return data.decode("utf-8")


def required_characters(translator_dir):
    """Characters to check, each with one text it occurs in (for the report)."""
    sources = []
    with open(os.path.join(HERE, "texts.txt"), encoding="utf-8") as fh:
        sources += [("texts.txt", line.rstrip("\n")) for line in fh if not line.startswith("# ")]
    if translator_dir:
        for name in TABLE_FILES:
            path = os.path.join(translator_dir, name)
            if os.path.exists(path):
                sources += [(name, line) for line in decode_table(path).splitlines()]
    chars = {}
    for origin, text in sources:
        for ch in text:
            if ch not in "\r\n\t\ufeff":
                chars.setdefault(ch, "%s: %r" % (origin, text))
    return chars


def check_face(path, errors):
    name = os.path.basename(path)
    try:
        tables = sfnt_tables(path)
        face = freetype.Face(path)
    except (OSError, ValueError, freetype.FT_Exception) as exc:
        errors.append("%s: cannot be loaded: %s" % (name, exc))
        return None
    if b"glyf" not in tables or b"CFF " in tables:
        errors.append("%s: has no TrueType glyf outlines" % name)
    if face.charmap is None or face.charmap.encoding_name != "FT_ENCODING_UNICODE":
        errors.append("%s: FreeType selects no Unicode character map" % name)
    return face


def check_draws(face, name, size, chars, errors):
    """Each character maps to a glyph; all but the space leave ink at `size`."""
    face.set_pixel_sizes(0, size)
    for ch, where in sorted(chars.items()):
        if face.get_char_index(ord(ch)) == 0:
            errors.append("%s: no glyph for %r (U+%04X) used in %s" % (name, ch, ord(ch), where))
            continue
        face.load_char(ch, freetype.FT_LOAD_RENDER)
        bitmap = face.glyph.bitmap
        if not ch.isspace() and (bitmap.width == 0 or max(bitmap.buffer, default=0) == 0):
            errors.append("%s: glyph for %r (U+%04X) draws nothing" % (name, ch, ord(ch)))
        if face.glyph.advance.x <= 0:
            errors.append("%s: glyph for %r (U+%04X) has no advance" % (name, ch, ord(ch)))


def main(argv):
    if len(argv) not in (2, 3):
        sys.exit("usage: check_fonts.py ASSETS_DIR [TRANSLATOR_DIR]")
    assets = argv[1]
    translator = argv[2] if len(argv) == 3 else None
    errors = []

    comic = check_face(os.path.join(assets, "Comic.ttf"), errors)
    if comic is not None:
        chars = required_characters(translator)
        for size in (20, 30, 50):  # the small, medium and large text fonts
            check_draws(comic, "Comic.ttf", size, chars, errors)

    digital = check_face(os.path.join(assets, "Digital Readout Upright.ttf"), errors)
    if digital is not None:
        digits = {d: "the score display" for d in "0123456789"}
        check_draws(digital, "Digital Readout Upright.ttf", 60, digits, errors)
        # A seven-segment font whose digits are all the same shape is broken.
        shapes = set()
        for d in digits:
            digital.load_char(d, freetype.FT_LOAD_RENDER)
            shapes.add(bytes(digital.glyph.bitmap.buffer))
        if len(shapes) != 10:
            errors.append("Digital Readout Upright.ttf: digits 0-9 do not have ten different shapes")

    for e in dict.fromkeys(errors):
        print("FAIL", e)
    if errors:
        return 1
    print("fonts ok: Comic.ttf draws %d characters, Digital Readout Upright.ttf the digits 0-9" % len(chars))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
