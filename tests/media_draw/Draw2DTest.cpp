// Rectangles, colours, blend modes and pictures, read back from the back buffer.
#include "media/draw/GLDriver.h"
#include "tests/media_draw/DrawFixture.h"

#include <vector>

namespace tonvella {
namespace {

TPixmapHandle SolidPixmap(int w, int h, int format, std::vector<std::uint8_t> pixel) {
    TPixmapHandle p = TPixmap::Create(w, h, format, 1);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            std::copy(pixel.begin(), pixel.end(), p->Row(y) + std::size_t(x) * pixel.size());
    return p;
}

TEST_F(TDrawTest, ColourIsClampedPerChannel) {
    SetDrawColour(300, -5, 128);
    const TGLLumo2DDriver& driver = Lumo2DDriver();
    EXPECT_EQ(driver.color[0], 255);
    EXPECT_EQ(driver.color[1], 0);
    EXPECT_EQ(driver.color[2], 128);
    SetDrawAlpha(1.7f);
    EXPECT_EQ(driver.color[3], 255);
    SetDrawAlpha(0.5f);
    EXPECT_EQ(driver.color[3], 127);
}

TEST_F(TDrawTest, FilledRectangleCoversExactlyItsPixels) {
    SetDrawColour(200, 100, 50);
    FillRect(10, 20, 30, 40);
    const TRgb colour{200, 100, 50}, black{0, 0, 0};
    struct TProbe {
        int x, y;
        TRgb want;
    } probes[] = {{10, 20, colour}, {39, 59, colour}, {25, 40, colour}, {9, 20, black},
                  {40, 20, black},  {10, 19, black},  {10, 60, black}};
    for (const auto& p : probes)
        EXPECT_EQ(ColourDistance(ReadPixel(p.x, p.y), p.want), 0)
            << "at " << p.x << ", " << p.y << " got " << ReadPixel(p.x, p.y);
    SaveScreenshot("draw2d_rect", kWidth, kHeight);
}

TEST_F(TDrawTest, BlendModesDecideHowPartialAlphaShows) {
    // A white picture with alpha 100 of 255 drawn over a blue rectangle.
    SetDrawColour(0, 0, 255);
    FillRect(0, 0, 100, 100);
    SetDrawColour(255, 255, 255);
    TImageHandle picture = LoadPicture(SolidPixmap(16, 16, PF_RGBA8888, {255, 255, 255, 100}));
    ASSERT_NE(picture, nullptr);
    struct TCase {
        int mode;
        TRgb want;
    } cases[] = {
        {1, {0, 0, 255}},     // alpha test drops alpha below 0.5
        {2, {255, 255, 255}}, // solid
        {3, {100, 100, 255}}, // blended: 255 * 100/255 + 0 * (1 - 100/255)
        {4, {100, 100, 255}}, // additive, clamped in blue
        {5, {0, 0, 255}},     // multiply by white keeps the destination
    };
    float x = 0;
    for (const auto& c : cases) {
        SetBlendMode(c.mode);
        DrawPicture(picture, x, 10);
        EXPECT_LE(ColourDistance(ReadPixel(int(x) + 8, 18), c.want), 2)
            << "mode " << c.mode << " got " << ReadPixel(int(x) + 8, 18);
        x += 20;
    }
}

// Quads carry their colours in their vertices and add a black secondary colour, so that a
// software renderer reuses the 3D scene's programs; drawn with neither, every pixel must be the
// same.
TEST_F(TDrawTest, SecondaryColourChangesNoPixel) {
    ASSERT_TRUE(Lumo2DDriver().colour_sum) << "this context has OpenGL 1.4";
    TImageHandle picture = LoadPicture(SolidPixmap(16, 16, PF_RGBA8888, {250, 120, 7, 100}));
    ASSERT_NE(picture, nullptr);
    auto draw = [&picture] {
        ClearBackBuffer();
        for (int mode = 1; mode <= 5; ++mode) {
            SetBlendMode(mode);
            const float x = float(mode * 40);
            SetDrawColour(30 * mode, 255 - 40 * mode, 77);
            FillRect(x, 10, 30, 30);
            SetDrawColour(255, 199, 13 * mode);
            SetDrawAlpha(0.3f * float(mode % 3) + 0.2f);
            FillRect(x + 5, 20, 30, 30);
            DrawPicture(picture, x + 10, 30);
            SetDrawAlpha(1);
            DrawString(u"Ag", x, 60);
        }
        return ReadFrame(kWidth, kHeight);
    };
    const auto with = draw();
    Lumo2DDriver().colour_sum = false;
    glDisable(0x8458); // GL_COLOR_SUM
    const auto without = draw();
    Lumo2DDriver().colour_sum = true;
    glEnable(0x8458);
    EXPECT_NE(with, std::vector<std::uint8_t>(with.size(), 0)); // the quads were drawn
    EXPECT_TRUE(with == without);
}

TEST_F(TDrawTest, PictureTextureIsPaddedWithItsEdge) {
    // A 100 x 50 picture: left half red, right half green, last row blue.
    TPixmapHandle p = TPixmap::Create(100, 50, PF_RGB888, 1);
    for (int y = 0; y < 50; ++y)
        for (int x = 0; x < 100; ++x) {
            std::uint8_t* px = p->Row(y) + x * 3;
            px[0] = x < 50 ? 255 : 0, px[1] = x < 50 ? 0 : 255, px[2] = y == 49 ? 255 : 0;
        }
    TImageHandle picture = LoadPicture(p, 0);
    ASSERT_NE(picture, nullptr);
    TGLImageFrame* frame = picture->Frame(0);
    ASSERT_NE(frame, nullptr);
    EXPECT_FLOAT_EQ(frame->u1, 100.0f / 128);
    EXPECT_FLOAT_EQ(frame->v1, 50.0f / 64);
    EXPECT_FLOAT_EQ(frame->uscale, 1.0f / 128);

    glBindTexture(GL_TEXTURE_2D, frame->name);
    GLint w = 0, h = 0;
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &w);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &h);
    ASSERT_EQ(w, 128);
    ASSERT_EQ(h, 64);
    std::vector<std::uint8_t> texels(128 * 64 * 4);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, texels.data());
    glBindTexture(GL_TEXTURE_2D, 0);
    Lumo2DDriver().bound_texture = 0;
    auto texel = [&](int x, int y) {
        const std::uint8_t* t = &texels[(std::size_t(y) * 128 + x) * 4];
        return TRgb{t[0], t[1], t[2]};
    };
    for (int y : {0, 25, 49})
        EXPECT_EQ(ColourDistance(texel(100, y), texel(99, y)), 0) << y;
    for (int x : {0, 60, 99})
        EXPECT_EQ(ColourDistance(texel(x, 50), texel(x, 49)), 0) << x;
    EXPECT_EQ(ColourDistance(texel(100, 50), texel(99, 49)), 0);
    EXPECT_EQ(ColourDistance(texel(101, 0), TRgb{0, 0, 0}), 0);

    SetBlendMode(2);
    DrawPicture(picture, 50, 60);
    EXPECT_EQ(ColourDistance(ReadPixel(50, 60), {255, 0, 0}), 0);
    EXPECT_EQ(ColourDistance(ReadPixel(149, 60), {0, 255, 0}), 0);
    EXPECT_EQ(ColourDistance(ReadPixel(149, 109), {0, 255, 255}), 0);
    EXPECT_EQ(ColourDistance(ReadPixel(150, 60), {0, 0, 0}), 0);
    EXPECT_EQ(ColourDistance(ReadPixel(50, 110), {0, 0, 0}), 0);
    SaveScreenshot("draw2d_picture", kWidth, kHeight);
}

TEST_F(TDrawTest, MaskedPictureDropsBlackButKeepsOwnAlpha) {
    TPixmapHandle p = TPixmap::Create(2, 1, PF_RGB888, 1);
    const std::uint8_t rgb[6] = {0, 0, 0, 250, 250, 250};
    std::copy(rgb, rgb + 6, p->Row(0));
    TImageHandle masked = LoadPicture(p, -1);
    ASSERT_NE(masked, nullptr);
    EXPECT_EQ(masked->flags, IMAGE_MASKED | IMAGE_FILTERED);
    EXPECT_EQ(masked->pixmaps[0]->format, PF_RGBA8888);
    EXPECT_EQ(masked->pixmaps[0]->Row(0)[3], 0);
    EXPECT_EQ(masked->pixmaps[0]->Row(0)[7], 255);
    TPixmapHandle own = SolidPixmap(1, 1, PF_RGBA8888, {0, 0, 0, 200});
    TImageHandle kept = LoadPicture(own, -1);
    EXPECT_EQ(kept->pixmaps[0]->Row(0)[3], 200);
}

TEST_F(TDrawTest, MissingPictureDrawsNothing) {
    EXPECT_EQ(LoadPicture(u"/nonexistent/picture.png", -1), nullptr);
    EXPECT_EQ(LoadPicture(TPixmapHandle{}, -1), nullptr);
    DrawPicture(nullptr, 10, 10);
    TImageHandle empty = TImage::Create(4, 4, 1, 0);
    DrawPicture(empty, 10, 10); // a frame without pixels
    EXPECT_EQ(InkColumns(0, kHeight - 1).first, -1);
}

TEST_F(TDrawTest, FrameTexturesAreRemadeForNewGraphicsAndOldOnesDeleted) {
    TImageHandle picture = LoadPicture(SolidPixmap(4, 4, PF_RGBA8888, {9, 9, 9, 255}), 0);
    TGLImageFrame* frame = picture->Frame(0);
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(picture->Frame(0), frame); // made once
    const int seq = frame->seq;
    picture->SetPixmap(0, SolidPixmap(4, 4, PF_RGBA8888, {20, 20, 20, 255}));
    EXPECT_EQ(PendingTextureDeletions(), 1);
    ASSERT_NE(picture->Frame(0), nullptr);
    EXPECT_EQ(PendingTextureDeletions(), 0); // the old name went when the new one was made
    EXPECT_EQ(picture->Frame(0)->seq, seq);
}

} // namespace
} // namespace tonvella
