#include "media/draw/FreeTypeFont.h"

#include "media/Platform.h"
#include "media/Text.h"
#include "streams/Stream.h"

#include <ft2build.h>
#include FT_FREETYPE_H

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

TPixmapHandle CoverageFromBitmap(const FT_Bitmap& bitmap) {
    const int w = int(bitmap.width), h = int(bitmap.rows);
    TPixmapHandle pixmap = TPixmap::Create(w, h, PF_A8, 1);
    for (int y = 0; y < h; ++y) {
        const unsigned char* src = bitmap.buffer + std::ptrdiff_t(y) * bitmap.pitch;
        std::uint8_t* dst = pixmap->Row(y);
        if (bitmap.pixel_mode == FT_PIXEL_MODE_MONO) {
            for (int x = 0; x < w; ++x)
                dst[x] = (src[x >> 3] & (0x80 >> (x & 7))) ? 255 : 0;
        } else {
            for (int x = 0; x < w; ++x)
                dst[x] = src[x];
        }
    }
    return pixmap;
}

TPixmapHandle WithBorder(const TPixmap& inner) {
    TPixmapHandle out = TPixmap::Create(inner.width + 2, inner.height + 2, PF_A8, 1);
    std::fill(out->pixels.begin(), out->pixels.end(), 0);
    for (int y = 0; y < inner.height; ++y)
        std::copy(inner.Row(y), inner.Row(y) + inner.width, out->Row(y + 1) + 1);
    return out;
}

} // namespace

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
    if (FT_Load_Glyph(_face, FT_UInt(index + 1), FT_LOAD_RENDER) != 0) return glyph;
    const FT_GlyphSlot slot = _face->glyph;
    glyph.x = slot->bitmap_left;
    glyph.y = _ascend - slot->bitmap_top;
    glyph.w = int(slot->bitmap.width);
    glyph.h = int(slot->bitmap.rows);
    glyph.advance = float(slot->advance.x >> 6);
    if (slot->bitmap.width == 0) return glyph;
    glyph.pixmap = CoverageFromBitmap(slot->bitmap);
    if (_style & 4) {
        glyph.pixmap = WithBorder(*glyph.pixmap);
        glyph.x -= 1, glyph.y -= 1;
        glyph.w += 2, glyph.h += 2;
    }
    return glyph;
}

} // namespace tonvella
