"""Fonts and their licences.

"Comic.ttf" is Comic Neue Bold with its CFF outlines converted to TrueType
(quadratic) outlines, because the game's font loader reads TrueType fonts.
The bold cut is used since the menu draws it at 20 pixels, where the regular
cut's strokes get thin. "Digital Readout Upright.ttf" is DSEG7 Classic
Regular, copied byte for byte. Comic Neue has no Reserved Font Name, so the
converted font keeps its name; DSEG does, and its file ships unchanged.
"""

import os
import shutil
import sys

import fontforge

from common import ASSETS

COMIC_SRC = "/usr/share/fonts/opentype/comic-neue/ComicNeue-Bold.otf"
DSEG_SRC = "/usr/share/fonts/truetype/dseg/DSEG7Classic-Regular.ttf"
LICENCES = os.path.join(ASSETS, "licences")


def convert_comic():
    font = fontforge.open(COMIC_SRC)
    for layer in font.layers:
        font.layers[layer].is_quadratic = True
    # Quadratic conversion can leave points off the integer grid.
    font.selection.all()
    font.round()
    font.version = font.version + " (TrueType outlines)"
    out = os.path.join(ASSETS, "Comic.ttf")
    font.generate(out, flags=("opentype", "omit-instructions"))
    font.close()
    print("wrote", out)


def copy_dseg():
    out = os.path.join(ASSETS, "Digital Readout Upright.ttf")
    shutil.copyfile(DSEG_SRC, out)
    print("wrote", out)


def licence_from_debian(copyright_file):
    """Copyright lines and the licence text of the `Files: *` stanza."""
    with open(copyright_file, encoding="utf-8") as fh:
        text = fh.read()
    for stanza in text.split("\n\n"):
        if not stanza.startswith("Files: *"):
            continue
        holders, body, field = [], [], None
        for line in stanza.splitlines():
            if line.startswith("Copyright:"):
                field = "copyright"
                holders.append(line[len("Copyright:"):].strip())
            elif line.startswith("License:"):
                field = "license"
            elif line.startswith((" ", "\t")):
                content = line.strip()
                if field == "copyright":
                    holders.append(content)
                elif field == "license":
                    body.append("" if content == "." else content)
            else:
                field = None
        return holders, "\n".join(body).strip("\n")
    sys.exit("no 'Files: *' stanza in " + copyright_file)


def embedded_copyright(font_file):
    font = fontforge.open(font_file)
    names = {key: value for lang, key, value in font.sfnt_names if lang == "English (US)"}
    notice = names.get("Copyright", font.copyright).strip()
    font.close()
    return " ".join(notice.split())


def write_licence(name, font_desc, copyright_file, font_file):
    holders, body = licence_from_debian(copyright_file)
    os.makedirs(LICENCES, exist_ok=True)
    path = os.path.join(LICENCES, name)
    with open(path, "w", encoding="utf-8", newline="\n") as fh:
        fh.write(font_desc + "\n\n")
        for h in holders:
            fh.write("Copyright " + h + "\n")
        fh.write("\nNotice in the font: " + embedded_copyright(font_file) + "\n")
        fh.write("\nThis Font Software is licensed under the SIL Open Font License, Version 1.1.\n\n")
        fh.write(body + "\n")
    print("wrote", path)


if __name__ == "__main__":
    convert_comic()
    copy_dseg()
    write_licence(
        "OFL-Comic.txt",
        '"Comic.ttf" is Comic Neue Bold (Debian fonts-comic-neue), converted from CFF to TrueType outlines.',
        "/usr/share/doc/fonts-comic-neue/copyright",
        COMIC_SRC,
    )
    write_licence(
        "OFL-Digital-Readout-Upright.txt",
        '"Digital Readout Upright.ttf" is DSEG7 Classic Regular (Debian fonts-dseg), unchanged.',
        "/usr/share/doc/fonts-dseg/copyright",
        DSEG_SRC,
    )
