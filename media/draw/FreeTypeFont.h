// TrueType faces through FreeType, opened from a file or from memory held as long as the face.
#pragma once

#include "media/draw/Font.h"

#include <memory>
#include <string>
#include <vector>

typedef struct FT_FaceRec_* FT_Face;
struct FT_Bitmap_;

namespace tonvella {

class TFreeTypeFont : public TFont {
public:
    // Style bit 4 adds a transparent one-pixel border round every glyph so that filtering stays
    // inside it. None when FreeType cannot open the face or accepts no pixel size at all.
    static std::unique_ptr<TFreeTypeFont> Load(const std::u16string& url, int size, int style);
    ~TFreeTypeFont() override;

    int CountGlyphs() const override { return int(_glyphs.size()); }
    int CharToGlyph(char16_t c) const override;
    const TFontGlyph& LoadGlyph(int index) override;
    int Height() const override { return _height; }
    int Ascend() const { return _ascend; }
    int Descend() const { return _descend; }
    int PixelSize() const { return _size; }

private:
    TFreeTypeFont() = default;

    FT_Face _face = nullptr;
    int _style = 0;
    int _size = 0;
    int _height = 0, _ascend = 0, _descend = 0;
    std::vector<TFontGlyph> _glyphs;
    std::vector<bool> _loaded;
    std::vector<unsigned char> _buf; // the face's bytes when it came from a stream
};

// The coverage of a FreeType bitmap as an alpha-only pixmap (0 none, 255 full), for each grey
// depth FreeType hands out: 1 bit (mono), 2, 4 and 8 bits. None for an empty bitmap, a colour or
// sub-pixel one, or one whose rows are shorter than its width needs.
TPixmapHandle CoverageFromBitmap(const FT_Bitmap_& bitmap);

} // namespace tonvella
