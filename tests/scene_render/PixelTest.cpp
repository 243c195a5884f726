// Small scenes rendered into the back buffer and probed at chosen pixels.
#include "tests/scene_render/RenderFixture.h"

namespace tonvella {
namespace {

constexpr int kCx = 160, kCy = 120; // window centre

class TPixelTest : public TRenderTest {};

TEST_F(TPixelTest, LitCubeTakesDiffuseAndAmbientLight) {
    struct TCase {
        const char* what;
        bool light;
        float ambient;
        int min_red, max_red;
    } cases[] = {
        {"directional light, no ambient", true, 0, 120, 255},
        {"light hidden, no ambient", false, 0, 0, 3},
        {"light hidden, ambient 55", false, 55, 52, 58},
    };
    TMeshHandle cube = CreateCube();
    PositionEntity(cube, 0, 0, 5);
    RotateEntity(cube, 20, 30, 0);
    EntityColor(cube, 255, 0, 0);
    CameraClsColor(camera, 0, 0, 40);
    TLightHandle light = CreateLight(1);
    ASSERT_NE(light, nullptr);
    for (const auto& c : cases) {
        if (c.light)
            ShowEntity(light);
        else
            HideEntity(light);
        AmbientLight(c.ambient, c.ambient, c.ambient);
        Frame();
        const TRgb centre = ReadPixel(kCx, kCy);
        EXPECT_GE(centre.r, c.min_red) << c.what << ": " << centre;
        EXPECT_LE(centre.r, c.max_red) << c.what << ": " << centre;
        EXPECT_LE(centre.g + centre.b, 2) << c.what << ": " << centre;
        EXPECT_EQ(ColourDistance(ReadPixel(2, 2), {0, 0, 40}), 0) << c.what;
        if (c.light) SaveScreenshot("scene_lit_cube", kWidth, kHeight);
    }
    // Faces turned away from the light are darker than the face towards it.
    ShowEntity(light);
    AmbientLight(0, 0, 0);
    Frame();
    EXPECT_GT(ReadPixel(kCx, kCy).r, ReadPixel(kCx - 32, kCy).r + 20);
}

TEST_F(TPixelTest, TexturedQuadShowsItsTexelsAndAModulatingSecondLayer) {
    const TRgb red{255, 0, 0}, green{0, 255, 0}, blue{0, 0, 255}, white{255, 255, 255};
    TTextureHandle texture = LoadTexture(WriteTexture("quad", {red, green, blue, white}), 1);
    ASSERT_NE(texture, nullptr);
    TMeshHandle quad = CreateQuad();
    PositionEntity(quad, 0, 0, 3);
    EntityFX(quad, 1); // full bright: texels show unchanged
    EntityTexture(quad, texture);
    Frame();
    SaveScreenshot("scene_textured_quad", kWidth, kHeight);
    // The quad spans 1/3 of the half-width; texel centres lie half-way to its edges.
    const int d = 160 / 3 / 2;
    struct TProbe {
        int x, y;
        TRgb want;
    } probes[] = {{kCx - d, kCy - d, red},
                  {kCx + d, kCy - d, green},
                  {kCx - d, kCy + d, blue},
                  {kCx + d, kCy + d, white},
                  {kCx, kCy - 70, {0, 0, 0}}};
    for (const auto& p : probes)
        EXPECT_LE(ColourDistance(ReadPixel(p.x, p.y), p.want), 12)
            << p.x << ", " << p.y << ": " << ReadPixel(p.x, p.y);

    const TRgb grey{128, 128, 128};
    TTextureHandle shade = LoadTexture(WriteTexture("shade", {grey, grey, grey, grey}), 1);
    EntityTexture(quad, shade, 0, 1);
    Frame();
    EXPECT_LE(ColourDistance(ReadPixel(kCx + d, kCy + d), grey), 12) << ReadPixel(kCx + d, kCy + d);
    EXPECT_LE(ColourDistance(ReadPixel(kCx - d, kCy - d), {128, 0, 0}), 12)
        << ReadPixel(kCx - d, kCy - d);
}

TEST_F(TPixelTest, TextureThatFailedToLoadLeavesTheQuadUntextured) {
    TMeshHandle quad = CreateQuad();
    PositionEntity(quad, 0, 0, 3);
    EntityFX(quad, 1);
    EntityColor(quad, 200, 100, 0);
    EntityTexture(quad, LoadTexture(u"/nonexistent/texture.png", 1));
    TSpriteHandle sprite = LoadSprite(u"/nonexistent/sprite.png", 2);
    ASSERT_NE(sprite, nullptr);
    PositionEntity(sprite, 3, 0, 5);
    Frame();
    EXPECT_LE(ColourDistance(ReadPixel(kCx, kCy), {200, 100, 0}), 2) << ReadPixel(kCx, kCy);
}

TEST_F(TPixelTest, BillboardFacesTheCameraFromBothSides) {
    struct TCase {
        int mode;
        bool from_behind;
        bool visible;
    } cases[] = {
        {1, false, true}, {1, true, true}, {3, true, true}, {2, false, true}, {2, true, false}};
    TSpriteHandle sprite = CreateSprite();
    PositionEntity(sprite, 0, 0, 5);
    EntityColor(sprite, 0, 255, 0);
    for (const auto& c : cases) {
        SpriteViewMode(sprite, c.mode);
        // A facing sprite's world matrix took the camera's orientation; derive it afresh.
        RotateEntity(sprite, 0, 0, 0);
        PositionEntity(camera, 0, 0, c.from_behind ? 10 : 0);
        RotateEntity(camera, 0, c.from_behind ? 180 : 0, 0);
        Frame();
        const TRgb centre = ReadPixel(kCx, kCy);
        EXPECT_EQ(ColourDistance(centre, c.visible ? TRgb{0, 255, 0} : TRgb{0, 0, 0}), 0)
            << "mode " << c.mode << (c.from_behind ? " from behind" : " from the front") << ": "
            << centre;
        if (c.mode == 1 && c.from_behind) SaveScreenshot("scene_billboard_behind", kWidth, kHeight);
    }
}

TEST_F(TPixelTest, SpriteScaleAndHandleMoveTheQuad) {
    TSpriteHandle sprite = CreateSprite();
    PositionEntity(sprite, 0, 0, 10);
    EntityColor(sprite, 255, 255, 0);
    // At distance 10 one unit is 16 pixels. Scaled by 3 the quad spans 48 pixels each way.
    ScaleSprite(sprite, 3, 3);
    Frame();
    EXPECT_GT(ReadPixel(kCx + 44, kCy).r, 200);
    EXPECT_EQ(ReadPixel(kCx + 52, kCy).r, 0);
    // Handle (1, 1): the quad's top-right corner sits at the entity position.
    ScaleSprite(sprite, 1, 1);
    HandleSprite(sprite, 1, 1);
    Frame();
    EXPECT_GT(ReadPixel(kCx - 8, kCy + 8).r, 200);
    EXPECT_EQ(ReadPixel(kCx + 8, kCy - 8).r, 0);
}

TEST_F(TPixelTest, TransparentQuadsBlendFarToNearWhateverTheirCreationOrder) {
    for (bool near_first : {true, false}) {
        TSpriteHandle near_quad, far_quad;
        auto make = [&](TSpriteHandle& s, float z, float r, float b) {
            s = CreateSprite();
            PositionEntity(s, 0, 0, z);
            EntityColor(s, r, 0, b);
            EntityAlpha(s, 0.5f);
        };
        if (near_first) {
            make(near_quad, 4, 255, 0);
            make(far_quad, 8, 0, 255);
        } else {
            make(far_quad, 8, 0, 255);
            make(near_quad, 4, 255, 0);
        }
        // An opaque backdrop behind both, created last so that it is not first by accident.
        TMeshHandle wall = CreateQuad();
        PositionEntity(wall, 0, 0, 20);
        ScaleEntity(wall, 30, 30, 1);
        EntityFX(wall, 1);
        EntityColor(wall, 0, 100, 0);
        Frame();
        // Far blue over green: (0, 50, 127); near red over that: (127, 25, 63).
        const TRgb centre = ReadPixel(kCx, kCy);
        EXPECT_LE(ColourDistance(centre, {127, 25, 63}), 4)
            << (near_first ? "near created first: " : "far created first: ") << centre;
        if (near_first) SaveScreenshot("scene_transparent", kWidth, kHeight);
        FreeEntity(near_quad);
        FreeEntity(far_quad);
        FreeEntity(wall);
    }
}

TEST_F(TPixelTest, CamerasDrawIntoTheirViewportsInListOrder) {
    CameraViewport(camera, 0, 0, 160, 240);
    CameraClsColor(camera, 255, 0, 0);
    TCameraHandle second = CreateCamera();
    CameraViewport(second, 160, 120, 160, 120);
    CameraClsColor(second, 0, 0, 255);
    Frame();
    SaveScreenshot("scene_viewports", kWidth, kHeight);
    EXPECT_EQ(ColourDistance(ReadPixel(80, 120), {255, 0, 0}), 0);
    EXPECT_EQ(ColourDistance(ReadPixel(240, 180), {0, 0, 255}), 0);
    // Each camera clears only its own viewport.
    EXPECT_NE(ColourDistance(ReadPixel(240, 60), {0, 0, 255}), 0);
    EXPECT_NE(ColourDistance(ReadPixel(240, 60), {255, 0, 0}), 0);
}

TEST_F(TPixelTest, ZoomNarrowsTheFieldOfView) {
    TMeshHandle cube = CreateCube();
    PositionEntity(cube, 0, 0, 5); // front face at distance 4, half a unit wide per 40 pixels
    EntityFX(cube, 1);
    struct TCase {
        float zoom;
        int edge; // pixels from the centre to the cube's edge
    } cases[] = {{1, 40}, {2, 80}, {0.5f, 20}};
    for (const auto& c : cases) {
        CameraZoom(camera, c.zoom);
        Frame();
        EXPECT_GT(ReadPixel(kCx + c.edge - 3, kCy).r, 200) << "zoom " << c.zoom;
        EXPECT_EQ(ReadPixel(kCx + c.edge + 3, kCy).r, 0) << "zoom " << c.zoom;
    }
    // A viewport of a quarter of the window with the same aspect shows the same view smaller.
    CameraZoom(camera, 1);
    CameraViewport(camera, 0, 0, 160, 120);
    Frame();
    EXPECT_GT(ReadPixel(80 + 17, 60).r, 200);
    EXPECT_EQ(ReadPixel(80 + 23, 60).r, 0);
}

} // namespace
} // namespace tonvella
