// TrueType and built-in text: measuring, drawing, sizes, Czech letters and missing fonts.
#include "media/draw/FreeTypeFont.h"
#include "streams/Embedded.h"
#include "streams/Modules.h"
#include "tests/media_draw/DrawFixture.h"

#include <string>

namespace tonvella {
namespace {

const std::u16string kAssets = u"" TONVELLA_ASSETS_U16;

TImageFontHandle Comic(int size, int style = 4) {
    return LoadFontFile(kAssets + u"/Comic.ttf", size, style);
}

class TTextTest : public TDrawTest {
protected:
    void SetUp() override {
        TDrawTest::SetUp();
        SetBlendMode(3);
    }
};

TEST_F(TTextTest, WidthIsTheSumOfTruncatedAdvancesAndMissingCharactersAddNothing) {
    TImageFontHandle font = Comic(30);
    ASSERT_NE(font, nullptr);
    SelectFont(font);
    const std::u16string text = u"Spiel, Karte!";
    int sum = 0;
    for (char16_t c : text)
        sum = int(float(sum) + font->LoadGlyph(font->CharToGlyph(c))._advance);
    EXPECT_EQ(StringWidth(text), sum);
    EXPECT_GT(sum, 100);
    // A CJK ideograph is not in the face: it maps to no glyph, has no width and draws nothing.
    EXPECT_EQ(font->CharToGlyph(u'\u4E00'), -1);
    EXPECT_EQ(StringWidth(text + u"\u4E00"), sum);
    DrawString(u"\u4E00\u4E00", 10, 10);
    EXPECT_EQ(InkColumns(0, kHeight - 1).first, -1);
}

TEST_F(TTextTest, MeasuredWidthEqualsDrawnAdvance) {
    // Drawing a text in two pieces, the second at the measured width of the first, gives the
    // very same pixels as drawing it in one piece.
    SelectFont(Comic(30));
    const std::u16string left = u"Tonv", right = u"ella 1:0";
    DrawString(left + right, 10, 50);
    const auto whole = ReadFrame(kWidth, kHeight);
    ClearBackBuffer();
    DrawString(left, 10, 50);
    DrawString(right, 10 + float(StringWidth(left)), 50);
    EXPECT_TRUE(ReadFrame(kWidth, kHeight) == whole);
    // The ink lies within the measured width (Comic's glyphs do not overhang their advance).
    const auto [first, last] = InkColumns(0, kHeight - 1);
    EXPECT_GE(first, 10);
    EXPECT_LE(last, 10 + StringWidth(left + right));
    EXPECT_GE(last, 10 + StringWidth(left + right) - 12);
}

TEST_F(TTextTest, ThreeSizesGrowInHeightAndInk) {
    int previous_height = 0, previous_ink = 0;
    int y = 0;
    for (int size : {20, 30, 50}) {
        TImageFontHandle font = Comic(size);
        ASSERT_NE(font, nullptr) << size;
        SelectFont(font);
        EXPECT_GT(FontHeight(), previous_height) << size;
        EXPECT_GE(FontHeight(), size) << size;
        ClearBackBuffer();
        DrawString(u"H", 20, 20);
        const auto [top, bottom] = InkRows();
        ASSERT_GE(top, 20) << size;
        const int ink = bottom - top + 1;
        // A capital is about 0.7 of the pixel size in this face.
        EXPECT_NEAR(ink, size * 0.7, size * 0.15) << size;
        EXPECT_GT(ink, previous_ink);
        previous_height = FontHeight();
        previous_ink = ink;
        y += FontHeight();
    }
    ClearBackBuffer();
    y = 5;
    for (int size : {20, 30, 50}) {
        SelectFont(Comic(size));
        DrawString(u"Suche die gleiche Melodie", 5, float(y));
        y += FontHeight();
    }
    SaveScreenshot("draw2d_sizes", kWidth, kHeight);
}

TEST_F(TTextTest, CzechLettersRenderFromTheEmbeddedArchive) {
    RegisterGameBlobs();
    InitStreamProtocols();
    TImageFontHandle font = LoadFontFile(u"ZIP::Incbin::tt.zip//Comic.ttf", 30, 4);
    ASSERT_NE(font, nullptr);
    SelectFont(font);
    const std::u16string letters = u"ěščřžýáíéůňťďĚŠČŘŽ";
    float x = 5;
    for (char16_t c : letters) {
        const int index = font->CharToGlyph(c);
        ASSERT_GE(index, 0) << int(c);
        EXPECT_NE(font->LoadGlyph(index)._image, nullptr) << int(c);
        ClearBackBuffer();
        DrawString(std::u16string(1, c), 50, 50);
        EXPECT_NE(InkColumns(0, kHeight - 1).first, -1) << "no ink for " << int(c);
        x += 1;
    }
    ClearBackBuffer();
    DrawString(u"Příliš žluťoučký kůň", 5, 40);
    DrawString(u"úpěl ďábelské ódy", 5, 80);
    SaveScreenshot("draw2d_czech", kWidth, kHeight);
}

TEST_F(TTextTest, GlyphTextureIsMadeOnce) {
    TImageFontHandle font = Comic(20);
    SelectFont(font);
    DrawString(u"a", 10, 10);
    const TImageGlyph& glyph = font->LoadGlyph(font->CharToGlyph(u'a'));
    ASSERT_NE(glyph._image, nullptr);
    const TGLImageFrame* frame = glyph._image->frames[0].get();
    ASSERT_NE(frame, nullptr);
    const unsigned name = frame->name;
    DrawString(u"aaa", 10, 40);
    EXPECT_EQ(glyph._image->frames[0].get(), frame);
    EXPECT_EQ(glyph._image->frames[0]->name, name);
    // A character never drawn has no texture yet.
    const TImageGlyph& unused = font->LoadGlyph(font->CharToGlyph(u'Q'));
    ASSERT_NE(unused._image, nullptr);
    EXPECT_EQ(unused._image->frames[0], nullptr);
}

TEST_F(TTextTest, SmoothGlyphsHaveATransparentBorder) {
    auto sharp = TFreeTypeFont::Load(kAssets + u"/Comic.ttf", 30, 0);
    auto smooth = TFreeTypeFont::Load(kAssets + u"/Comic.ttf", 30, 4);
    ASSERT_TRUE(sharp && smooth);
    const TFontGlyph& a = sharp->LoadGlyph(sharp->CharToGlyph(u'W'));
    const TFontGlyph& b = smooth->LoadGlyph(smooth->CharToGlyph(u'W'));
    EXPECT_EQ(b.w, a.w + 2);
    EXPECT_EQ(b.h, a.h + 2);
    EXPECT_EQ(b.x, a.x - 1);
    EXPECT_EQ(b.y, a.y - 1);
    EXPECT_EQ(b.advance, a.advance);
    for (int x = 0; x < b.w; ++x)
        EXPECT_EQ(b.pixmap->Row(0)[x], 0);
    EXPECT_EQ(Comic(30, 4)->ImageFlags(), IMAGE_FILTERED | IMAGE_MIPMAPPED);
    EXPECT_EQ(Comic(30, 1)->ImageFlags(), 0);
}

TEST_F(TTextTest, MissingFontsGiveNoneAndTheBuiltInFontDraws) {
    EXPECT_EQ(LoadFontFile(u"/nonexistent/font.ttf", 20, 4), nullptr);
    EXPECT_EQ(LoadFontFile(u"ZIP::Incbin::tt.zip//NoSuchFont.ttf", 20, 4), nullptr);
    EXPECT_EQ(LoadFontFile(kAssets + u"/Dir.lst", 20, 4), nullptr); // not a font
    SelectFont(nullptr);
    EXPECT_EQ(FontHeight(), 16);
    EXPECT_EQ(StringWidth(u"abc"), 24);
    EXPECT_EQ(StringWidth(u"ab\u00e9"), 16); // outside 32..127
    SetBlendMode(1);
    DrawString(u"Hi", 100, 100);
    const auto [first, last] = InkColumns(100, 115);
    EXPECT_GE(first, 100);
    EXPECT_LE(last, 115);
    EXPECT_NE(first, -1);
    DrawString(u"Built-in 8x16: ABC xyz 0123 {}[]?!", 4, 130);
    SaveScreenshot("draw2d_builtin", kWidth, kHeight);
}

TEST_F(TTextTest, ScoreFontHasDigitsOnly) {
    TImageFontHandle digits = LoadFontFile(kAssets + u"/Digital Readout Upright.ttf", 60, 1);
    ASSERT_NE(digits, nullptr);
    SelectFont(digits);
    EXPECT_GT(StringWidth(u"88"), 0);
    EXPECT_EQ(StringWidth(u"88"), 2 * StringWidth(u"8"));
    DrawString(u"16", 20, 20);
    EXPECT_NE(InkColumns(0, kHeight - 1).first, -1);
}

} // namespace
} // namespace tonvella
