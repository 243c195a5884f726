// Decoding, pixel processing, the texture cache and brushes.
#include "scene/PixmapPrefetch.h"
#include "scene/PngLoader.h"
#include "scene/Scene.h"
#include "tests/scene/FakeGpu.h"
#include "tests/scene/PngFixture.h"

#include <gtest/gtest.h>
#include <png.h>
#include <zlib.h>

#include <filesystem>

namespace tonvella {
namespace {

const std::u16string kTeppich = u"" TONVELLA_ASSETS "/teppich.png";

class SceneTextureTest : public testing::Test {
protected:
    void SetUp() override {
        TextureFilterList().Clear();
        TextureList().Clear();
        InstallDebugLog([this](const std::u16string& line) { log.push_back(line); });
    }
    void TearDown() override { InstallDebugLog(nullptr); }

    std::vector<std::u16string> log;
    TTempDir dir;
};

std::vector<std::uint8_t> Pixels(std::initializer_list<int> values) {
    return std::vector<std::uint8_t>(values.begin(), values.end());
}

// A PNG whose header claims another size, with the header's checksum made to fit.
std::vector<std::uint8_t> WithClaimedSize(std::vector<std::uint8_t> png, std::uint32_t width,
                                          std::uint32_t height) {
    // Signature (8), IHDR length (4) and type (4), then width and height big-endian.
    for (int i = 0; i < 4; ++i) {
        png[16 + i] = std::uint8_t(width >> (24 - 8 * i));
        png[20 + i] = std::uint8_t(height >> (24 - 8 * i));
    }
    const std::uint32_t crc = std::uint32_t(crc32(0, png.data() + 12, 17));
    for (int i = 0; i < 4; ++i)
        png[29 + i] = std::uint8_t(crc >> (24 - 8 * i));
    return png;
}

TEST_F(SceneTextureTest, PngLayoutsBecomeTheirPixelFormats) {
    struct TCase {
        int channels, format;
        std::vector<std::uint8_t> in, out;
    };
    const TCase cases[] = {
        {1, PF_I8, Pixels({7, 200}), Pixels({7, 200})},
        {2, PF_RGBA8888, Pixels({7, 9, 200, 255}), Pixels({7, 7, 7, 9, 200, 200, 200, 255})},
        {3, PF_RGB888, Pixels({1, 2, 3, 4, 5, 6}), Pixels({1, 2, 3, 4, 5, 6})},
        {4, PF_RGBA8888, Pixels({1, 2, 3, 4, 5, 6, 7, 8}), Pixels({1, 2, 3, 4, 5, 6, 7, 8})},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.channels);
        // Two rows, so that the second row's start shows the padded pitch.
        std::vector<std::uint8_t> two_rows = c.in;
        two_rows.insert(two_rows.end(), c.in.begin(), c.in.end());
        auto pixmap = LoadPixmap(dir.Write("layout.png", EncodePng(2, 2, c.channels, two_rows)));
        ASSERT_TRUE(pixmap);
        EXPECT_EQ(pixmap->format, c.format);
        EXPECT_EQ(pixmap->pitch % 4, 0);
        EXPECT_EQ(pixmap->capacity, pixmap->pitch * 2);
        for (int y = 0; y < 2; ++y)
            EXPECT_EQ(std::vector<std::uint8_t>(pixmap->Row(y), pixmap->Row(y) + c.out.size()),
                      c.out);
    }
}

TEST_F(SceneTextureTest, PalettesDeepAndInterlacedImagesBecomeEightBit) {
    // 2-bit palette, four pixels in one byte, the third colour half transparent.
    auto palette = LoadPixmap(dir.Write(
        "palette.png", EncodePngRaw(4, 1, PNG_COLOR_TYPE_PALETTE, 2, Pixels({0b00011011}),
                                    Pixels({10, 20, 30, 40, 50, 60, 70, 80, 90, 100, 110, 120}),
                                    Pixels({255, 255, 128}))));
    ASSERT_TRUE(palette);
    EXPECT_EQ(palette->format, PF_RGBA8888);
    EXPECT_EQ(
        std::vector<int>(palette->Row(0), palette->Row(0) + 16),
        (std::vector<int>{10, 20, 30, 255, 40, 50, 60, 255, 70, 80, 90, 128, 100, 110, 120, 255}));
    // 16-bit RGB keeps the high bytes.
    auto deep = LoadPixmap(dir.Write(
        "deep.png", EncodePngRaw(1, 1, PNG_COLOR_TYPE_RGB, 16, Pixels({1, 2, 3, 4, 250, 6}))));
    ASSERT_TRUE(deep);
    EXPECT_EQ(deep->format, PF_RGB888);
    EXPECT_EQ(std::vector<int>(deep->Row(0), deep->Row(0) + 3), (std::vector<int>{1, 3, 250}));
    // 1-bit grey, interlaced.
    auto bits = LoadPixmap(
        dir.Write("bits.png", EncodePngRaw(8, 2, PNG_COLOR_TYPE_GRAY, 1,
                                           Pixels({0b10100000, 0b00000001}), {}, {}, true)));
    ASSERT_TRUE(bits);
    EXPECT_EQ(bits->format, PF_I8);
    EXPECT_EQ(std::vector<int>(bits->Row(0), bits->Row(0) + 8),
              (std::vector<int>{255, 0, 255, 0, 0, 0, 0, 0}));
    EXPECT_EQ(bits->Row(1)[7], 255);
}

TEST_F(SceneTextureTest, BrokenAndHostileFilesGiveNone) {
    std::vector<std::uint8_t> pixels(64 * 64 * 3);
    for (std::size_t i = 0; i < pixels.size(); ++i)
        pixels[i] = std::uint8_t(i * 7);
    const auto good = EncodePng(64, 64, 3, pixels);
    auto truncated = good;
    truncated.resize(good.size() / 2);
    auto header_only = good;
    header_only.resize(33);

    const std::pair<const char*, std::vector<std::uint8_t>> cases[] = {
        {"truncated.png", truncated},
        {"header.png", header_only},
        {"huge.png", WithClaimedSize(good, 100000, 100000)},
        {"wide.png", EncodePng(kMaxPngSide + 1, 1, 1, std::vector<std::uint8_t>(kMaxPngSide + 1))},
        {"text.png", Pixels({'n', 'o', 't', ' ', 'a', ' ', 'p', 'n', 'g', '!'})},
        {"empty.png", {}},
    };
    for (const auto& [name, bytes] : cases) {
        SCOPED_TRACE(name);
        const std::u16string file = dir.Write(name, bytes);
        EXPECT_EQ(LoadPixmap(file), nullptr);
        log.clear();
        EXPECT_EQ(LoadTexture(file, 1), nullptr);
        EXPECT_TRUE(TextureList().IsEmpty()); // not kept half-made in the cache
        ASSERT_FALSE(log.empty());
        EXPECT_EQ(log.back().rfind(u"ERROR: Cannot decode image: " + file, 0), 0u);
    }
    // The largest allowed side still decodes.
    EXPECT_TRUE(LoadPixmap(dir.Write(
        "edge.png", EncodePng(kMaxPngSide, 1, 1, std::vector<std::uint8_t>(kMaxPngSide)))));
}

// Decoding ahead on a thread of its own: each naming of a picture hands out one decoded pixmap,
// LoadPixmap takes it instead of decoding again, a picture that fails says nothing there and is
// decoded again (with its line) where it is asked for, and what was not taken is forgotten.
TEST_F(SceneTextureTest, PicturesDecodedAheadAreHandedOutOnceAndFailuresReportedInPlace) {
    const auto rgb = Pixels({1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12});
    const std::u16string good = dir.Write("ahead.png", EncodePng(2, 2, 3, rgb));
    auto truncated = EncodePng(2, 2, 3, rgb);
    truncated.resize(truncated.size() / 2);
    const std::u16string bad = dir.Write("ahead-bad.png", truncated);
    const std::u16string missing = (dir.path / "absent.png").u16string();
    const std::u16string other = dir.Write("ahead-other.png", EncodePng(2, 2, 3, rgb));

    PrefetchPixmaps({good, bad, missing, good, other, other});
    TPixmapHandle first = TakePrefetchedPixmap(good), second = TakePrefetchedPixmap(good);
    ASSERT_TRUE(first && second);
    EXPECT_NE(first, second);
    EXPECT_EQ(first->format, PF_RGB888);
    EXPECT_EQ(std::vector<std::uint8_t>(first->Row(1), first->Row(1) + 6),
              Pixels({7, 8, 9, 10, 11, 12}));
    EXPECT_EQ(TakePrefetchedPixmap(good), nullptr) << "named twice, taken twice";
    EXPECT_EQ(TakePrefetchedPixmap(bad), nullptr);
    EXPECT_EQ(TakePrefetchedPixmap(missing), nullptr);
    EXPECT_TRUE(log.empty()) << "the thread ahead stays quiet";

    EXPECT_EQ(LoadPixmap(bad), nullptr);
    EXPECT_EQ(LoadPixmap(missing), nullptr);
    ASSERT_EQ(log.size(), 2u);
    EXPECT_EQ(log[0].rfind(u"ERROR: Cannot decode image: " + bad, 0), 0u);
    EXPECT_EQ(log[1], u"ERROR: Cannot open image: " + missing);

    ASSERT_TRUE(LoadPixmap(other));
    EXPECT_TRUE(TakePrefetchedPixmap(other)) << "LoadPixmap took one of the two";
    DropPrefetchedPixmaps();
    EXPECT_EQ(TakePrefetchedPixmap(other), nullptr);
}

TEST_F(SceneTextureTest, CacheByNameFlagsAndTransform) {
    TextureFilter(u"", 9);
    auto a = LoadTexture(kTeppich, 1);
    auto b = LoadTexture(kTeppich, 1);
    ASSERT_TRUE(a);
    EXPECT_EQ(a, b);
    EXPECT_EQ(a->flags, 9);
    EXPECT_EQ(a->width, 256);
    EXPECT_EQ(a->no_mipmaps, 8);
    EXPECT_EQ(a->file, kTeppich);
    EXPECT_EQ(a->file_abs, kTeppich);

    auto masked = LoadTexture(kTeppich, 4);
    EXPECT_NE(masked, a);
    EXPECT_EQ(masked->flags, 13);
    EXPECT_EQ(LoadTexture(kTeppich, 4), masked);

    ScaleTexture(a, 0.02f, 0.02f);
    EXPECT_FLOAT_EQ(a->u_scale, 50);
    EXPECT_FLOAT_EQ(a->v_scale, 50);
    auto fresh = LoadTexture(kTeppich, 1);
    EXPECT_NE(fresh, a);
    EXPECT_EQ(TextureList().Count(), 3);

    // Filters match substrings of the name, case-sensitively.
    TextureFilter(u"tepp", 16);
    TextureFilter(u"TEPP", 32);
    EXPECT_EQ(LoadTexture(kTeppich, 1)->flags, 1 | 8 | 16);
}

TEST_F(SceneTextureTest, MissingFilesAndDirectoryStripping) {
    EXPECT_EQ(LoadTexture(dir.path.u16string() + u"/absent.png", 1), nullptr);
    ASSERT_EQ(log.size(), 1u);
    EXPECT_EQ(log[0], u"ERROR: Cannot find texture: " + dir.path.u16string() + u"/absent.png");

    dir.Write("pic.png", EncodePng(1, 1, 3, Pixels({10, 20, 30})));
    const auto old_dir = std::filesystem::current_path();
    std::filesystem::current_path(dir.path);
    auto slash = LoadTexture(u"no/such/place/pic.png", 1);
    auto backslash = LoadTexture(u"C:\\elsewhere\\pic.png", 1);
    std::filesystem::current_path(old_dir);
    ASSERT_TRUE(slash);
    EXPECT_EQ(slash->file, u"pic.png");
    EXPECT_EQ(slash->file_abs, dir.path.u16string() + u"/pic.png");
    EXPECT_EQ(backslash, slash);
}

TEST_F(SceneTextureTest, PowerOfTwoSizesAndMipmapChain) {
    const auto file =
        dir.Write("wide.png", EncodePng(300, 100, 3, std::vector<std::uint8_t>(90000, 128)));
    auto plain = LoadTexture(file, 1);
    ASSERT_TRUE(plain);
    EXPECT_EQ(plain->width, 512);
    EXPECT_EQ(plain->height, 128);
    EXPECT_EQ(plain->Pixmap()->width, 512);
    EXPECT_EQ(plain->no_mipmaps, 0);

    auto mipmapped = LoadTexture(file, 8);
    EXPECT_EQ(mipmapped->no_mipmaps, 9);

    // Without a graphics backend nothing is made; with one, each level once, halving to 1 x 1.
    EXPECT_EQ(mipmapped->Upload(), 0u);
    TFakeGpu gpu;
    const unsigned name = mipmapped->Upload();
    EXPECT_NE(name, 0u);
    EXPECT_EQ(mipmapped->gltex[0], name);
    // The driver holds the levels from now on: the pixels are let go, and neither a second
    // upload nor loading the same texture again makes anything anew.
    EXPECT_EQ(mipmapped->Pixmap(), nullptr);
    EXPECT_EQ(mipmapped->width, 512);
    EXPECT_EQ(mipmapped->Upload(), name);
    EXPECT_EQ(LoadTexture(file, 8), mipmapped);
    ASSERT_EQ(gpu.levels.size(), 10u);
    const int sizes[10][2] = {{512, 128}, {256, 64}, {128, 32}, {64, 16}, {32, 8},
                              {16, 4},    {8, 2},    {4, 1},    {2, 1},   {1, 1}};
    for (int i = 0; i < 10; ++i) {
        EXPECT_EQ(gpu.levels[i].level, i);
        EXPECT_EQ(gpu.levels[i].width, sizes[i][0]);
        EXPECT_EQ(gpu.levels[i].height, sizes[i][1]);
        EXPECT_EQ(gpu.levels[i].row_length, sizes[i][0]);
    }
    gpu.levels.clear();
    plain->Upload();
    EXPECT_EQ(gpu.levels.size(), 1u);

    // Start-up hands every texture loaded so far to the driver before the first frame.
    auto small = LoadTexture(
        dir.Write("small.png", EncodePng(2, 2, 3, std::vector<std::uint8_t>(12, 9))), 8);
    gpu.levels.clear();
    UploadTextures();
    ASSERT_EQ(gpu.levels.size(), 2u) << "only the one not uploaded yet, its levels 0 and 1";
    EXPECT_NE(small->gltex[0], 0u);
    EXPECT_EQ(small->Pixmap(), nullptr);
}

TEST_F(SceneTextureTest, AlphaAndMaskProcessing) {
    const auto rgb = dir.Write("rgb.png", EncodePng(2, 1, 3, Pixels({30, 60, 91, 255, 255, 255})));
    auto alpha = LoadTexture(rgb, 2);
    ASSERT_TRUE(alpha);
    EXPECT_EQ(alpha->Pixmap()->format, PF_RGBA8888);
    EXPECT_EQ(alpha->Pixmap()->Row(0)[3], 60);
    EXPECT_EQ(alpha->Pixmap()->Row(0)[7], 255);

    const auto rgba =
        dir.Write("rgba.png", EncodePng(2, 1, 4, Pixels({30, 60, 90, 17, 0, 0, 0, 99})));
    EXPECT_EQ(LoadTexture(rgba, 2)->Pixmap()->Row(0)[3], 17);

    // A black pixel among white ones, a partly transparent white pixel, and a black corner block
    // whose innermost pixel has no coloured neighbour.
    std::vector<std::uint8_t> pixels;
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x) {
            const bool black = (x == 1 && y == 1) || (x >= 2 && y >= 2);
            const std::uint8_t v = black ? 0 : 255;
            pixels.insert(pixels.end(), {v, v, v, std::uint8_t(x == 0 && y == 0 ? 10 : 255)});
        }
    auto masked = LoadTexture(dir.Write("mask.png", EncodePng(4, 4, 4, pixels)), 4);
    ASSERT_TRUE(masked);
    auto at = [&](int x, int y) { return masked->Pixmap()->Row(y) + x * 4; };
    EXPECT_EQ(std::vector<int>(at(1, 1), at(1, 1) + 4), (std::vector<int>{255, 255, 255, 0}));
    EXPECT_EQ(at(0, 0)[3], 255);
    EXPECT_EQ(std::vector<int>(at(3, 3), at(3, 3) + 4), (std::vector<int>{0, 0, 0, 0}));
    EXPECT_EQ(std::vector<int>(at(2, 3), at(2, 3) + 4), (std::vector<int>{255, 255, 255, 0}));
}

TEST_F(SceneTextureTest, PixmapConversionAndBilinearResize) {
    auto grey = TPixmap::Create(3, 1, PF_I8);
    EXPECT_EQ(grey->pitch, 4);
    grey->Row(0)[0] = 0, grey->Row(0)[1] = 90, grey->Row(0)[2] = 255;
    auto rgba = grey->Convert(PF_RGBA8888);
    EXPECT_EQ(std::vector<int>(rgba->Row(0) + 4, rgba->Row(0) + 8),
              (std::vector<int>{90, 90, 90, 255}));
    auto alpha = TPixmap::Create(1, 1, PF_A8);
    alpha->Row(0)[0] = 33;
    auto from_alpha = alpha->Convert(PF_BGRA8888);
    EXPECT_EQ(std::vector<int>(from_alpha->Row(0), from_alpha->Row(0) + 4),
              (std::vector<int>{255, 255, 255, 33}));
    auto colour = TPixmap::Create(1, 1, PF_RGB888);
    colour->Row(0)[0] = 10, colour->Row(0)[1] = 20, colour->Row(0)[2] = 31;
    EXPECT_EQ(colour->Convert(PF_I8)->Row(0)[0], 20);
    EXPECT_EQ(colour->Convert(PF_BGR888)->Row(0)[0], 31);

    // Worked by hand: source columns 0 and 255, destination samples at -0.25, 0.25, 0.75, 1.25.
    auto two = TPixmap::Create(2, 1, PF_I8);
    two->Row(0)[0] = 0, two->Row(0)[1] = 255;
    auto four = two->Resize(4, 1);
    EXPECT_EQ(four->format, PF_I8);
    EXPECT_EQ(std::vector<int>(four->Row(0), four->Row(0) + 4),
              (std::vector<int>{0, 63, 191, 255}));
    auto tall = two->Resize(2, 3);
    EXPECT_EQ(tall->Row(2)[1], 255);
}

TEST(ScenePixmap, SizesBeyondAnIntAreRefusedBeforeAnythingIsAllocated) {
    struct Case {
        int width, height, format, align;
    } too_large[] = {
        {32768, 32768, PF_RGBA8888, 4}, // 2^32 bytes: a product in 32 bits wraps to 0
        {32769, 16385, PF_RGBA8888, 4}, // a glyph with its border, as R, G, B, A
        {46341, 46341, PF_A8, 1},       {16384, 43691, PF_RGB888, 4}, {-1, 4, PF_A8, 1},
        {4, -1, PF_RGBA8888, 4},
    };
    for (const Case& c : too_large) {
        SCOPED_TRACE(std::to_string(c.width) + " x " + std::to_string(c.height));
        EXPECT_THROW(TPixmap::Create(c.width, c.height, c.format, c.align), std::length_error);
    }
    // The conversion makes its pixmap the same way: refused too, the source left as it was.
    TPixmap wide;
    wide.width = 1 << 20;
    wide.height = 1 << 12;
    wide.format = PF_A8;
    EXPECT_THROW(wide.Convert(PF_RGBA8888), std::length_error);

    auto fits = TPixmap::Create(8191, 3, PF_RGB888, 4);
    EXPECT_EQ(fits->pitch, 24576);
    EXPECT_EQ(fits->capacity, 24576 * 3);
    EXPECT_EQ(fits->pixels.size(), std::size_t(24576 * 3));
}

TEST_F(SceneTextureTest, BrushesAndTextureSettings) {
    auto brush = CreateBrush(255, 255, 255);
    EXPECT_FLOAT_EQ(brush->red, 1);
    EXPECT_FLOAT_EQ(brush->blue, 1);
    EXPECT_EQ(brush->blend, 0);
    BrushShininess(brush, 1);
    EXPECT_FLOAT_EQ(brush->shine, 1);
    auto tex = std::make_shared<TTexture>();
    EXPECT_EQ(tex->blend, 2);
    EXPECT_EQ(tex->gltex.size(), 1u);
    BrushTexture(brush, tex, 4, 2);
    EXPECT_EQ(brush->no_texs, 3);
    EXPECT_EQ(brush->tex_frame, 0);
    BrushAlpha(brush, 0.25f);
    BrushBlend(brush, 3);
    BrushFX(brush, 32);
    auto copy = CopyBrush(brush);
    EXPECT_NE(copy, brush);
    EXPECT_EQ(copy->tex[2], tex);
    EXPECT_FLOAT_EQ(copy->alpha, 0.25f);
    EXPECT_EQ(copy->fx, 32);

    RotateTexture(tex, 90);
    PositionTexture(tex, 0.5f, 0.25f);
    TextureBlend(tex, 3);
    TextureCoords(tex, 1);
    EXPECT_FLOAT_EQ(tex->angle, 90);
    EXPECT_FLOAT_EQ(tex->v_pos, 0.25f);
    EXPECT_EQ(tex->blend, 3);
    EXPECT_EQ(tex->coords, 1);
}

} // namespace
} // namespace tonvella
