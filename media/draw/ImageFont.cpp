#include "media/draw/ImageFont.h"

#include "media/draw/FreeTypeFont.h"

namespace tonvella {

TImageFont::TImageFont(std::unique_ptr<TFont> source, int image_flags)
    : _src_font(std::move(source)), _imageFlags(image_flags) {
    const std::size_t n = std::size_t(std::max(_src_font->CountGlyphs(), 0));
    _glyphs.resize(n);
    _loaded.resize(n);
}

std::shared_ptr<TImageFont> TImageFont::Load(const std::u16string& url, int size, int style) {
    std::unique_ptr<TFreeTypeFont> source = TFreeTypeFont::Load(url, size, style);
    if (!source) return nullptr;
    const int flags = (style & FONT_SMOOTH) ? IMAGE_FILTERED | IMAGE_MIPMAPPED : 0;
    return std::make_shared<TImageFont>(std::move(source), flags);
}

const TImageGlyph& TImageFont::LoadGlyph(int index) {
    static const TImageGlyph none;
    if (index < 0 || index >= int(_glyphs.size())) return none;
    TImageGlyph& glyph = _glyphs[std::size_t(index)];
    if (_loaded[std::size_t(index)]) return glyph;
    _loaded[std::size_t(index)] = true;
    const TFontGlyph& source = _src_font->LoadGlyph(index);
    glyph._advance = source.advance;
    glyph._x = source.x, glyph._y = source.y;
    glyph._w = source.w, glyph._h = source.h;
    // The source font only renders the coverage; the image is the one that keeps it.
    if (source.pixmap) glyph._image = LoadImage(source.pixmap, _imageFlags);
    return glyph;
}

int TImageFont::StringWidth(const std::u16string& text) {
    int width = 0;
    for (char16_t c : text) {
        const int index = CharToGlyph(c);
        if (index < 0) continue;
        width = int(float(width) + LoadGlyph(index)._advance);
    }
    return width;
}

} // namespace tonvella
