#!/usr/bin/python3
"""Typesets the manuals assets/<Language>.pdf from texts/<Language>.md and the
screenshots in shots/<Language>/.

The texts use a small part of Markdown, one block per paragraph:
  # title            first line of the first page
  ## heading
  - item             bullet list (one item per line)
  | a | b | c |      table rows (no header row)
  ![caption](x.png)  a screenshot; two on one line stand side by side
  **bold**           inline
      indented lines  four blanks in front: a file's text, shown line for line
Any other block is a paragraph; a line on its own directly below the title is
the subtitle.
"""

import argparse
import io
import os
import re
import sys

from PIL import Image as PilImage
from reportlab import rl_config
from reportlab.lib import colors
from reportlab.lib.enums import TA_CENTER
from reportlab.lib.pagesizes import A4
from reportlab.lib.styles import ParagraphStyle
from reportlab.lib.units import cm
from reportlab.pdfbase import pdfmetrics
from reportlab.pdfbase.ttfonts import TTFont
from reportlab.platypus import (Image, KeepTogether, ListFlowable, ListItem, Paragraph,
                                Preformatted, SimpleDocTemplate, Spacer, Table, TableStyle)

LANGUAGES = {"Deutsch": "de-DE", "English": "en-GB", "Czech": "cs-CZ"}
HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.normpath(os.path.join(HERE, "..", ".."))

INK = colors.HexColor("#2b2118")
ACCENT = colors.HexColor("#8a3b12")
PAPER = colors.HexColor("#faf7de")  # the colour of the card-selection page in the game

# The menu pictures show only the book (at 100, 50, 820 x 560 in the window), so that its
# text can be read on paper.
BOOK = (90, 40, 930, 620)
MENU_SHOTS = {"menu.png", "cards.png", "behaviour.png", "about.png", "opponent.png"}

FULL_WIDTH = 13.0 * cm
HALF_WIDTH = 8.1 * cm


def styles():
    base = dict(fontName="Comic", textColor=INK)
    return {
        "title": ParagraphStyle("title", fontSize=24, leading=29, textColor=ACCENT,
                                fontName="Comic", spaceAfter=2),
        "subtitle": ParagraphStyle("subtitle", fontSize=11, leading=14, spaceAfter=8,
                                   textColor=colors.HexColor("#6b5a48"), fontName="Comic"),
        "heading": ParagraphStyle("heading", fontSize=15, leading=19, textColor=ACCENT,
                                  spaceBefore=9, spaceAfter=4, fontName="Comic",
                                  keepWithNext=1),
        "body": ParagraphStyle("body", fontSize=10.5, leading=14, spaceAfter=5, **base),
        "item": ParagraphStyle("item", fontSize=10.5, leading=14, **base),
        "cell": ParagraphStyle("cell", fontSize=9.5, leading=12, **base),
        "key": ParagraphStyle("key", fontSize=9.5, leading=12, fontName="Comic",
                              textColor=ACCENT),
        "code": ParagraphStyle("code", fontName="Comic", fontSize=8.5, leading=10.5,
                               textColor=INK, backColor=PAPER, borderPadding=(3, 6, 3, 6),
                               leftIndent=14, rightIndent=8, spaceBefore=3, spaceAfter=9),
        "caption": ParagraphStyle("caption", fontSize=8.5, leading=11, alignment=TA_CENTER,
                                  textColor=colors.HexColor("#6b5a48"), fontName="Comic",
                                  spaceBefore=2, spaceAfter=6),
    }


def inline(text):
    text = text.replace("&", "&amp;").replace("<", "&lt;").replace(">", "&gt;")
    return re.sub(r"\*\*(.+?)\*\*", r'<font color="#8a3b12">\1</font>', text)


def blocks(source):
    block = []
    for line in source.splitlines():
        if line.strip():
            block.append(line.rstrip())
        elif block:
            yield block
            block = []
    if block:
        yield block


def picture(path, width):
    """A screenshot as JPEG (much smaller than the PNG in the PDF), scaled to width."""
    with PilImage.open(path) as img:
        img = img.convert("RGB")
        if os.path.basename(path) in MENU_SHOTS:
            img = img.crop(BOOK)
        buf = io.BytesIO()
        img.save(buf, "JPEG", quality=85, optimize=True)
        w, h = img.size
    buf.seek(0)
    flow = Image(buf, width=width, height=width * h / w)
    flow.hAlign = "CENTER"
    return flow


def framed(flow):
    table = Table([[flow]], style=TableStyle([
        ("BOX", (0, 0), (-1, -1), 0.8, INK),
        ("LEFTPADDING", (0, 0), (-1, -1), 0), ("RIGHTPADDING", (0, 0), (-1, -1), 0),
        ("TOPPADDING", (0, 0), (-1, -1), 0), ("BOTTOMPADDING", (0, 0), (-1, -1), 0)]))
    return table


def figures(line, shots, st):
    found = re.findall(r"!\[([^\]]*)\]\(([^)]+)\)", line)
    width = FULL_WIDTH if len(found) == 1 else HALF_WIDTH
    cells = []
    for caption, name in found:
        path = os.path.join(shots, name)
        if not os.path.exists(path):
            sys.exit(f"make_manual: the screenshot {path} is missing (run screenshots.sh)")
        cells.append([framed(picture(path, width)), Paragraph(inline(caption), st["caption"])])
    if len(cells) == 1:
        return KeepTogether(cells[0])
    table = Table([[c for c in cells]], colWidths=[HALF_WIDTH + 0.3 * cm] * len(cells))
    table.setStyle(TableStyle([("VALIGN", (0, 0), (-1, -1), "TOP"),
                               ("LEFTPADDING", (0, 0), (-1, -1), 2),
                               ("RIGHTPADDING", (0, 0), (-1, -1), 2)]))
    return table


def table(rows, st):
    cells = [[Paragraph(inline(c), st["key" if i < 2 else "cell"]) for i, c in enumerate(r)]
             for r in rows]
    widths = [1.3 * cm, 4.2 * cm, 11.4 * cm] if len(rows[0]) == 3 else None
    t = Table(cells, colWidths=widths)
    t.setStyle(TableStyle([
        ("VALIGN", (0, 0), (-1, -1), "TOP"),
        ("ROWBACKGROUNDS", (0, 0), (-1, -1), [PAPER, colors.white]),
        ("LINEBELOW", (0, 0), (-1, -1), 0.3, colors.HexColor("#d8cfb0")),
        ("TOPPADDING", (0, 0), (-1, -1), 2), ("BOTTOMPADDING", (0, 0), (-1, -1), 3)]))
    return t


def story(source, shots, st):
    out = []
    first = True
    for block in blocks(source):
        head = block[0]
        if head.startswith("# "):
            out.append(Paragraph(inline(head[2:]), st["title"]))
            if first and len(block) > 1:
                out.append(Paragraph(inline(" ".join(block[1:])), st["subtitle"]))
        elif first and out:
            out.append(Paragraph(inline(" ".join(block)), st["subtitle"]))
        elif head.startswith("## "):
            out.append(Paragraph(inline(head[3:]), st["heading"]))
        elif head.startswith("- "):
            items = [ListItem(Paragraph(inline(line[2:]), st["item"]), leftIndent=12)
                     for line in block]
            out.append(ListFlowable(items, bulletType="bullet", start="•", leftIndent=12,
                                    bulletFontName="Comic", bulletColor=ACCENT))
            out.append(Spacer(1, 5))
        elif head.startswith("|"):
            rows = [[c.strip() for c in line.strip().strip("|").split("|")] for line in block]
            out.append(table(rows, st))
            out.append(Spacer(1, 6))
        elif head.startswith("    "):
            out.append(KeepTogether(Preformatted("\n".join(line[4:] for line in block),
                                                 st["code"])))
        elif head.startswith("!["):
            for line in block:
                out.append(figures(line, shots, st))
        else:
            out.append(Paragraph(inline(" ".join(block)), st["body"]))
        first = first and head.startswith("# ")
    return out


def footer(language):
    def draw(canvas, doc):
        canvas.saveState()
        canvas.setFont("Comic", 8)
        canvas.setFillColor(colors.HexColor("#6b5a48"))
        canvas.drawString(2 * cm, 1.2 * cm, "Tonvella · Quorvane")
        canvas.drawRightString(A4[0] - 2 * cm, 1.2 * cm, str(doc.page))
        canvas.restoreState()
    return draw


def build(language, texts, shots, output):
    with open(os.path.join(texts, language + ".md"), encoding="utf-8") as f:
        source = f.read()
    title = source.splitlines()[0].lstrip("# ").strip()
    doc = SimpleDocTemplate(output, pagesize=A4, leftMargin=2 * cm, rightMargin=2 * cm,
                            topMargin=1.6 * cm, bottomMargin=1.8 * cm, title=title,
                            author="Quorvane", subject="Tonvella", lang=LANGUAGES[language],
                            creator="tools/manual/make_manual.py")
    st = styles()
    doc.build(story(source, os.path.join(shots, language), st),
              onFirstPage=footer(language), onLaterPages=footer(language))
    return doc.page


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--texts", default=os.path.join(HERE, "texts"))
    parser.add_argument("--shots", default=os.path.join(HERE, "shots"))
    parser.add_argument("--out", default=os.path.join(ROOT, "assets"))
    parser.add_argument("languages", nargs="*", default=list(LANGUAGES))
    args = parser.parse_args()

    # The same sources give the same bytes: no time stamps, no random document id.
    rl_config.invariant = 1
    pdfmetrics.registerFont(TTFont("Comic", os.path.join(ROOT, "assets", "Comic.ttf")))
    for language in args.languages:
        out = os.path.join(args.out, language + ".pdf")
        pages = build(language, args.texts, args.shots, out)
        print(f"{out}: {pages} pages, {os.path.getsize(out) // 1024} KiB")
        if not 2 <= pages <= 6:
            sys.exit(f"make_manual: {language} has {pages} pages, it must have 2 to 6")


if __name__ == "__main__":
    main()
