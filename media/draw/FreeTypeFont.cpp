#include "media/draw/FreeTypeFont.h"

#include "media/Platform.h"
#include "media/Text.h"
#include "streams/Stream.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H

#include <algorithm>

namespace tonvella {

namespace {

FT_Library Library() {
    static FT_Library library = nullptr;
    static bool tried = false;
    if (!tried) {
        tried = true;
        if (FT_Init_FreeType(&library) != 0) library = nullptr;
    }
    return library;
}

bool IsStreamUrl(const std::u16string& url) {
    return url.find(u"::", 1) != std::u16string::npos;
}

// The whole stream, read in blocks because not every stream knows its size.
bool ReadAll(const std::u16string& url, std::vector<unsigned char>& out) {
    TStreamHandle stream = OpenFileForReading(url);
    if (!stream) return false;
    unsigned char block[16384];
    for (;;) {
        const int n = stream->Read(block, int(sizeof block));
        if (n <= 0) break;
        out.insert(out.end(), block, block + n);
    }
    CloseFileHandle(stream);
    return true;
}

TPixmapHandle WithBorder(const TPixmap& inner) {
    TPixmapHandle out = TPixmap::Create(inner.width + 2, inner.height + 2, PF_A8, 1);
    std::fill(out->pixels.begin(), out->pixels.end(), 0);
    for (int y = 0; y < inner.height; ++y)
        std::copy(inner.Row(y), inner.Row(y) + inner.width, out->Row(y + 1) + 1);
    return out;
}

// A glyph wider or taller than this many times the pixel size (plus a margin for tiny sizes) is
// no letter but a damaged or hostile face; rendering and uploading it would cost memory without
// bound.
constexpr long long kMaxGlyphEms = 8;
constexpr long long kGlyphMarginPixels = 16;

long long GlyphSideLimit(int pixel_size) {
    return kMaxGlyphEms * pixel_size + kGlyphMarginPixels;
}

bool OutlineWithinLimit(const FT_Outline& outline, long long limit) {
    FT_BBox box;
    FT_Outline_Get_CBox(&outline, &box);
    // In doubles: the 26.6 corners of a hostile outline may lie far apart.
    const double pixels = double(limit) * 64;
    return double(box.xMax) - double(box.xMin) <= pixels &&
           double(box.yMax) - double(box.yMin) <= pixels;
}

} // namespace

TPixmapHandle CoverageFromBitmap(const FT_Bitmap& bitmap) {
    int bits = 0;
    switch (bitmap.pixel_mode) {
    case FT_PIXEL_MODE_MONO:
        bits = 1;
        break;
    case FT_PIXEL_MODE_GRAY2:
        bits = 2;
        break;
    case FT_PIXEL_MODE_GRAY4:
        bits = 4;
        break;
    case FT_PIXEL_MODE_GRAY:
        bits = 8;
        break;
    default:
        return nullptr; // colour and sub-pixel modes carry no single coverage value
    }
    const long long w = bitmap.width, h = bitmap.rows;
    const long long stride = bitmap.pitch < 0 ? -(long long)bitmap.pitch : bitmap.pitch;
    if (w == 0 || h == 0 || !bitmap.buffer || stride < (w * bits + 7) / 8) return nullptr;
    // The largest value of the depth stands for full coverage; an 8-bit bitmap may say it uses
    // fewer levels.
    const int mask = (1 << bits) - 1;
    int top = mask;
    if (bits == 8 && bitmap.num_grays >= 2 && bitmap.num_grays < 256) top = bitmap.num_grays - 1;
    TPixmapHandle pixmap = TPixmap::Create(int(w), int(h), PF_A8, 1);
    for (long long y = 0; y < h; ++y) {
        // Rows flowing upwards start at the far end of the buffer.
        const unsigned char* src =
            bitmap.buffer + (bitmap.pitch < 0 ? (h - 1 - y) * stride : y * stride);
        std::uint8_t* dst = pixmap->Row(int(y));
        for (long long x = 0; x < w; ++x) {
            // Pixels are packed from the most significant bit down.
            const long long bit = x * bits;
            const int value = std::min((src[bit >> 3] >> (8 - bits - (bit & 7))) & mask, top);
            dst[x] = std::uint8_t(value * 255 / top);
        }
    }
    return pixmap;
}

std::unique_ptr<TFreeTypeFont> TFreeTypeFont::Load(const std::u16string& url, int size, int style) {
    FT_Library library = Library();
    if (!library) return nullptr;
    std::unique_ptr<TFreeTypeFont> font(new TFreeTypeFont);
    FT_Face face = nullptr;
    if (IsStreamUrl(url)) {
        // A missing font must not end the program: the caller falls back to the built-in font.
        if (!ReadAll(url, font->_buf)) {
            DebugPrint(u"Cannot open font: " + url);
            return nullptr;
        }
        if (font->_buf.empty()) return nullptr;
        if (FT_New_Memory_Face(library, font->_buf.data(), FT_Long(font->_buf.size()), 0, &face) !=
            0)
            return nullptr;
    } else {
        if (FT_New_Face(library, ToUtf8(url).c_str(), 0, &face) != 0) return nullptr;
    }
    font->_face = face;
    int accepted = size;
    while (accepted >= 1 && FT_Set_Pixel_Sizes(face, 0, FT_UInt(accepted)) != 0)
        --accepted;
    if (accepted < 1) return nullptr; // the destructor releases the face
    font->_style = style;
    font->_size = accepted;
    font->_height = int(face->size->metrics.height >> 6);
    font->_ascend = int(face->size->metrics.ascender >> 6);
    font->_descend = int(face->size->metrics.descender >> 6);
    font->_glyphs.resize(std::size_t(face->num_glyphs));
    font->_loaded.resize(std::size_t(face->num_glyphs));
    return font;
}

TFreeTypeFont::~TFreeTypeFont() {
    // The face reads from _buf until it is done, so it goes first.
    if (_face) FT_Done_Face(_face);
}

int TFreeTypeFont::CharToGlyph(char16_t c) const {
    return int(FT_Get_Char_Index(_face, FT_ULong(c))) - 1;
}

const TFontGlyph& TFreeTypeFont::LoadGlyph(int index) {
    static const TFontGlyph none;
    if (index < 0 || index >= int(_glyphs.size())) return none;
    TFontGlyph& glyph = _glyphs[std::size_t(index)];
    if (_loaded[std::size_t(index)]) return glyph;
    _loaded[std::size_t(index)] = true;
    // Loaded first and rendered only once its size is known to be sane: FreeType would render
    // an outline up to 32767 pixels on a side.
    if (FT_Load_Glyph(_face, FT_UInt(index + 1), FT_LOAD_DEFAULT) != 0) return glyph;
    const FT_GlyphSlot slot = _face->glyph;
    const long long limit = GlyphSideLimit(_size);
    if (slot->format == FT_GLYPH_FORMAT_OUTLINE && !OutlineWithinLimit(slot->outline, limit))
        return glyph;
    if (slot->format != FT_GLYPH_FORMAT_BITMAP && FT_Render_Glyph(slot, FT_RENDER_MODE_NORMAL) != 0)
        return glyph;
    if (slot->bitmap.width > limit || slot->bitmap.rows > limit) return glyph;
    glyph.x = slot->bitmap_left;
    glyph.y = _ascend - slot->bitmap_top;
    glyph.w = int(slot->bitmap.width);
    glyph.h = int(slot->bitmap.rows);
    glyph.advance = float(slot->advance.x >> 6);
    if (slot->bitmap.width == 0) return glyph;
    glyph.pixmap = CoverageFromBitmap(slot->bitmap);
    if (!glyph.pixmap) {
        glyph = TFontGlyph(); // a bitmap of a kind that has no coverage is no glyph of ours
        return glyph;
    }
    if (_style & FONT_SMOOTH) {
        glyph.pixmap = WithBorder(*glyph.pixmap);
        glyph.x -= 1, glyph.y -= 1;
        glyph.w += 2, glyph.h += 2;
    }
    return glyph;
}

} // namespace tonvella
