// The 8 x 16 bitmap font for the characters 32..127 that is current until a font is selected.
#pragma once

#include "media/draw/Font.h"

#include <vector>

namespace tonvella {

class TBuiltinFont : public TFont {
public:
    TBuiltinFont();
    int CountGlyphs() const override { return 96; }
    int CharToGlyph(char16_t c) const override { return c >= 32 && c <= 127 ? c - 32 : -1; }
    const TFontGlyph& LoadGlyph(int index) override;
    int Height() const override { return 16; }

private:
    std::vector<TFontGlyph> _glyphs;
    std::vector<bool> _loaded;
};

} // namespace tonvella
