// Glyph bitmaps of every depth FreeType hands out, and faces whose glyphs are far too large.
#include "media/draw/FreeTypeFont.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace tonvella {
namespace {

const std::u16string kFonts = u"" TONVELLA_TEST_FONTS_U16;

// The pattern the strike faces carry (tests/media_draw/fonts/make-fonts.py): coverage level of
// pixel (x, y) at a depth of 1, 2, 4 or 8 bits.
int Level(int depth, int x, int y) {
    if (depth == 8) return (x * 23 + y * 71) % 256;
    return (x + 3 * y) % (1 << depth);
}

int Expected(int depth, int x, int y) {
    return Level(depth, x, y) * 255 / ((1 << depth) - 1);
}

// Rows of `width` pixels of `depth` bits, most significant bits first, each row padded to
// `pitch` bytes.
std::vector<unsigned char> Pack(int depth, int width, int height, int pitch) {
    std::vector<unsigned char> out(std::size_t(pitch) * height, 0);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const int bit = x * depth;
            out[std::size_t(y) * pitch + bit / 8] |=
                std::uint8_t(Level(depth, x, y) << (8 - depth - bit % 8));
        }
    return out;
}

// Every pixel of the pixmap against the pattern, the first mismatch reported.
void ExpectPattern(const TPixmap& pixmap, int depth, int left, int top, int width, int height) {
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            if (pixmap.Row(top + y)[left + x] != Expected(depth, x, y)) {
                ADD_FAILURE() << "pixel " << x << ", " << y << " is "
                              << int(pixmap.Row(top + y)[left + x]) << ", not "
                              << Expected(depth, x, y);
                return;
            }
}

FT_Bitmap Bitmap(unsigned char mode, int width, int height, int pitch, unsigned char* buffer) {
    FT_Bitmap bitmap{};
    bitmap.width = unsigned(width);
    bitmap.rows = unsigned(height);
    bitmap.pitch = pitch;
    bitmap.buffer = buffer;
    bitmap.pixel_mode = mode;
    bitmap.num_grays = mode == FT_PIXEL_MODE_GRAY ? 256 : 0;
    return bitmap;
}

TEST(GlyphCoverage, EveryGreyDepthBecomesCoverageFromNoneToFull) {
    struct Case {
        unsigned char mode;
        int depth;
    } cases[] = {{FT_PIXEL_MODE_MONO, 1},
                 {FT_PIXEL_MODE_GRAY2, 2},
                 {FT_PIXEL_MODE_GRAY4, 4},
                 {FT_PIXEL_MODE_GRAY, 8}};
    const int width = 13, height = 3;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.depth);
        // Tightly packed rows, then rows padded as FreeType's renderers pad them.
        for (int pitch : {(width * c.depth + 7) / 8, (width * c.depth + 7) / 8 + 3}) {
            std::vector<unsigned char> bytes = Pack(c.depth, width, height, pitch);
            TPixmapHandle pixmap =
                CoverageFromBitmap(Bitmap(c.mode, width, height, pitch, bytes.data()));
            ASSERT_TRUE(pixmap);
            EXPECT_EQ(pixmap->format, PF_A8);
            EXPECT_EQ(pixmap->width, width);
            EXPECT_EQ(pixmap->height, height);
            ExpectPattern(*pixmap, c.depth, 0, 0, width, height);
        }
        // Rows flowing upwards: the top row is last in memory.
        const int pitch = (width * c.depth + 7) / 8;
        std::vector<unsigned char> down = Pack(c.depth, width, height, pitch), up;
        for (int y = height - 1; y >= 0; --y)
            up.insert(up.end(), down.begin() + y * pitch, down.begin() + (y + 1) * pitch);
        TPixmapHandle pixmap = CoverageFromBitmap(Bitmap(c.mode, width, height, -pitch, up.data()));
        ASSERT_TRUE(pixmap);
        ExpectPattern(*pixmap, c.depth, 0, 0, width, height);
    }
}

TEST(GlyphCoverage, EightBitsWithFewerLevelsReachFullCoverage) {
    unsigned char levels[] = {0, 64, 127, 200};
    FT_Bitmap bitmap = Bitmap(FT_PIXEL_MODE_GRAY, 4, 1, 4, levels);
    bitmap.num_grays = 128;
    TPixmapHandle pixmap = CoverageFromBitmap(bitmap);
    ASSERT_TRUE(pixmap);
    EXPECT_EQ(std::vector<int>(pixmap->Row(0), pixmap->Row(0) + 4),
              (std::vector<int>{0, 64 * 255 / 127, 255, 255}));
}

TEST(GlyphCoverage, BitmapsWithoutOneCoverageOrWithShortRowsGiveNone) {
    std::vector<unsigned char> bytes(64 * 4, 0x80);
    struct Case {
        const char* name;
        FT_Bitmap bitmap;
    } cases[] = {
        {"colour", Bitmap(FT_PIXEL_MODE_BGRA, 4, 4, 16, bytes.data())},
        {"sub-pixel", Bitmap(FT_PIXEL_MODE_LCD, 12, 4, 12, bytes.data())},
        {"sub-pixel vertical", Bitmap(FT_PIXEL_MODE_LCD_V, 4, 12, 4, bytes.data())},
        {"no mode", Bitmap(FT_PIXEL_MODE_NONE, 4, 4, 4, bytes.data())},
        {"unknown mode", Bitmap(FT_PIXEL_MODE_MAX, 4, 4, 4, bytes.data())},
        // Rows shorter than the width needs would be read past their end.
        {"gray2 rows too short", Bitmap(FT_PIXEL_MODE_GRAY2, 13, 4, 3, bytes.data())},
        {"gray4 rows too short", Bitmap(FT_PIXEL_MODE_GRAY4, 13, 4, 6, bytes.data())},
        {"mono rows too short", Bitmap(FT_PIXEL_MODE_MONO, 17, 4, 2, bytes.data())},
        {"gray rows too short", Bitmap(FT_PIXEL_MODE_GRAY, 13, 4, -12, bytes.data())},
        {"no buffer", Bitmap(FT_PIXEL_MODE_GRAY, 4, 4, 4, nullptr)},
        {"no rows", Bitmap(FT_PIXEL_MODE_GRAY, 4, 0, 4, bytes.data())},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(CoverageFromBitmap(c.bitmap), nullptr);
    }
}

// The strike faces: the letter A as an embedded bitmap at 12 and 48 pixels (metrics as in
// make-fonts.py), in outline at any other size.
TEST(FreeTypeFont, EmbeddedBitmapsOfEveryDepthGiveTheirCoverage) {
    struct Strike {
        int size, width, height, left, top;
    } strikes[] = {{12, 11, 5, 1, 8}, {48, 37, 9, 2, 30}};
    for (int depth : {1, 2, 4, 8}) {
        for (const Strike& s : strikes) {
            for (int style : {0, 4}) {
                SCOPED_TRACE("depth " + std::to_string(depth) + ", size " + std::to_string(s.size) +
                             ", style " + std::to_string(style));
                auto font = TFreeTypeFont::Load(
                    kFonts + u"/strike" + char16_t(u'0' + depth) + u".ttf", s.size, style);
                ASSERT_TRUE(font);
                ASSERT_EQ(font->PixelSize(), s.size);
                const TFontGlyph& glyph = font->LoadGlyph(font->CharToGlyph(u'A'));
                ASSERT_TRUE(glyph.pixmap);
                const int border = style & 4 ? 1 : 0;
                EXPECT_EQ(glyph.w, s.width + 2 * border);
                EXPECT_EQ(glyph.h, s.height + 2 * border);
                EXPECT_EQ(glyph.x, s.left - border);
                EXPECT_EQ(glyph.y, font->Ascend() - s.top - border);
                EXPECT_EQ(glyph.advance, float(s.width + 2));
                ExpectPattern(*glyph.pixmap, depth, border, border, s.width, s.height);
                // B has no bitmap in the strike and comes from its outline.
                const TFontGlyph& outline = font->LoadGlyph(font->CharToGlyph(u'B'));
                ASSERT_TRUE(outline.pixmap);
                EXPECT_GT(outline.h, s.size / 2);
            }
        }
    }
}

TEST(FreeTypeFont, GlyphsFarLargerThanTheSizeAreEmpty) {
    // At 16 pixels W is 32767 pixels wide and I 32767 tall; B is an ordinary letter.
    for (int size : {16, 12, 48}) {
        for (int style : {0, 4}) {
            SCOPED_TRACE("size " + std::to_string(size) + ", style " + std::to_string(style));
            auto font = TFreeTypeFont::Load(kFonts + u"/huge.ttf", size, style);
            ASSERT_TRUE(font);
            for (char16_t c : {u'W', u'I'}) {
                const TFontGlyph& glyph = font->LoadGlyph(font->CharToGlyph(c));
                EXPECT_FALSE(glyph.pixmap) << char(c) << " is " << glyph.w << " x " << glyph.h;
                EXPECT_EQ(glyph.w, 0);
                EXPECT_EQ(glyph.h, 0);
            }
            const TFontGlyph& letter = font->LoadGlyph(font->CharToGlyph(u'B'));
            ASSERT_TRUE(letter.pixmap);
            EXPECT_GE(letter.w, size / 2);
            EXPECT_LE(letter.w, size);
        }
    }
}

} // namespace
} // namespace tonvella
