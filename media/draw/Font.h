// Source fonts: glyph bitmaps as alpha-only pixmaps, rendered on demand.
#pragma once

#include "scene/Pixmap.h"

namespace tonvella {

// Font style bits. FONT_SMOOTH gives each glyph a pixel of border so that its edges blend;
// FONT_BOLD is kept with the font but has no effect: every face is drawn as it is.
enum : int { FONT_BOLD = 1, FONT_SMOOTH = 4 };

// One rendered glyph. The pixmap is none for an empty glyph (a space); x, y place its top-left
// corner relative to the pen at the top of the text line.
struct TFontGlyph {
    TPixmapHandle pixmap;
    float advance = 0;
    int x = 0, y = 0, w = 0, h = 0;
};

class TFont {
public:
    virtual ~TFont() = default;
    virtual int CountGlyphs() const = 0;
    // Glyph slot of a UTF-16 code unit, -1 when the font has none for it.
    virtual int CharToGlyph(char16_t c) const = 0;
    // Renders the glyph on first use; later calls give the same record.
    virtual const TFontGlyph& LoadGlyph(int index) = 0;
    virtual int Height() const = 0;
};

} // namespace tonvella
