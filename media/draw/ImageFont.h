// A drawable font: glyphs of a source font as images, made when a character is first used.
#pragma once

#include "media/draw/Font.h"
#include "media/draw/Image.h"

#include <memory>
#include <string>
#include <vector>

namespace tonvella {

struct TImageGlyph {
    TImageHandle _image; // none for an empty glyph
    float _advance = 0;
    int _x = 0, _y = 0, _w = 0, _h = 0;
};

class TImageFont {
public:
    TImageFont(std::unique_ptr<TFont> source, int image_flags);

    // None when FreeType cannot open the face or accepts no size; see TFreeTypeFont::Load.
    static std::shared_ptr<TImageFont> Load(const std::u16string& url, int size, int style);

    int CharToGlyph(char16_t c) const { return _src_font->CharToGlyph(c); }
    // The glyph's images are made on first use.
    const TImageGlyph& LoadGlyph(int index);
    int Height() const { return _src_font->Height(); }
    int ImageFlags() const { return _imageFlags; }
    TFont& Source() { return *_src_font; }

    // Sum of the advances, truncated to whole pixels after each character.
    int StringWidth(const std::u16string& text);

private:
    std::unique_ptr<TFont> _src_font;
    std::vector<TImageGlyph> _glyphs;
    std::vector<bool> _loaded;
    int _imageFlags = 0;
};

using TImageFontHandle = std::shared_ptr<TImageFont>;

} // namespace tonvella
