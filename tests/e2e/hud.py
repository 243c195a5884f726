"""Reading the status message of the score strip from a screenshot: the message is drawn in
dark grey with "Comic.ttf" at 50 pixels, centred at (512, 100). Each candidate text is drawn
the same way with Pillow and the one whose ink covers the screenshot's dark pixels best wins.
"""

import numpy as np

# Between the two score displays, so that their lit segments stay out of the picture.
STATUS_RECT = (262, 66, 500, 70)  # x, y, width, height in window pixels
CENTRE = (512, 100)


def ink(pixels):
    """Dark-grey text pixels of a screenshot region: the messages are (80, 80, 80)
    or (99, 99, 99) over the light strip."""
    grey = pixels.max(axis=2) - pixels.min(axis=2) < 24
    return grey & (pixels.mean(axis=2) < 125)


def rendered_ink(font_path, text):
    from PIL import Image, ImageDraw, ImageFont

    font = ImageFont.truetype(font_path, 50)
    x, y, w, h = STATUS_RECT
    image = Image.new("L", (1024, 200), 0)
    draw = ImageDraw.Draw(image)
    # Centred as the game does it: the advance width and the font's line height.
    width = draw.textlength(text, font=font)
    ascent, descent = font.getmetrics()
    draw.text((CENTRE[0] - int(width) // 2, CENTRE[1] - (ascent + descent) // 2), text,
              font=font, fill=255)
    return np.asarray(image)[y:y + h, x:x + w] > 127


def dilate(mask, r=3):
    out = mask.copy()
    for dy in range(-r, r + 1):
        for dx in range(-r, r + 1):
            out |= np.roll(np.roll(mask, dy, axis=0), dx, axis=1)
    return out


def similarity(seen, expected):
    """Share of ink, in both directions, that lies near ink of the other picture."""
    if not seen.any() or not expected.any():
        return 0.0
    a = (seen & dilate(expected)).sum() / seen.sum()
    b = (expected & dilate(seen)).sum() / expected.sum()
    return float(min(a, b))


def best_match(pixels, font_path, candidates):
    """(best candidate, its score, all scores) for a screenshot of STATUS_RECT."""
    seen = ink(pixels)
    scores = {text: similarity(seen, rendered_ink(font_path, text)) for text in candidates}
    best = max(scores, key=scores.get)
    return best, scores[best], scores
