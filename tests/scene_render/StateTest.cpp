// The OpenGL state around a frame: no errors, balanced stacks, and the switch into 2D and back.
#include "media/draw/Draw2D.h"
#include "tests/scene_render/GameScene.h"
#include "tests/scene_render/RenderFixture.h"

#include <algorithm>
#include <cstdlib>
#include <iostream>
#include <vector>

namespace tonvella {
namespace {

class TStateTest : public TRenderTest {};

TEST_F(TStateTest, BusyFrameRaisesNoErrorAndKeepsStacksBalanced) {
    BuildGameScene(kAssetsDir);
    const TStackDepths before = StackDepths();
    // One saved 2D state lies on every stack the driver has.
    EXPECT_EQ(before.attrib, 1);
    EXPECT_EQ(before.client_attrib, 1);
    EXPECT_EQ(before.modelview, 2);
    EXPECT_EQ(before.projection, 2);
    EXPECT_EQ(before.texture, 2);
    for (int frame = 0; frame < 3; ++frame) {
        Frame();
        EXPECT_EQ(StackDepths(), before) << "after RenderWorld " << frame;
        BeginLumo2D();
        const TStackDepths in_2d = StackDepths();
        EXPECT_EQ(in_2d.attrib, before.attrib - 1);
        EXPECT_EQ(in_2d.modelview, before.modelview - 1);
        EXPECT_EQ(in_2d.texture, before.texture - 1);
        DrawGameHud();
        EXPECT_EQ(GlErrors(), "") << "2D pass " << frame;
        EXPECT_EQ(StackDepths(), in_2d);
        EndLumo2D();
        EXPECT_EQ(StackDepths(), before) << "after EndLumo2D " << frame;
        EXPECT_EQ(GlErrors(), "") << "frame " << frame;
    }
    std::cout << "colour matrix stack: "
              << (THardwareInfo::color_matrix_supported ? "present" : "missing, skipped")
              << "; buffer objects: " << TGlobal::vbo_enabled << "\n";
    SaveScreenshot("scene_game", kWidth, kHeight);
}

TEST_F(TStateTest, OverlayDrawsInWindowPixelsAndHandsBackThe3DState) {
    TMeshHandle cube = CreateCube();
    PositionEntity(cube, 0, 0, 5);
    EntityFX(cube, 1);
    Frame();
    BeginLumo2D();
    EXPECT_FALSE(glIsEnabled(GL_LIGHTING));
    EXPECT_FALSE(glIsEnabled(GL_SCISSOR_TEST));
    SetBlendMode(2);
    SetDrawColour(0, 0, 255);
    FillRect(0, 0, 20, 10);
    SetDrawColour(255, 255, 255);
    EndLumo2D();
    EXPECT_EQ(ColourDistance(ReadPixel(0, 0), {0, 0, 255}), 0);
    EXPECT_EQ(ColourDistance(ReadPixel(19, 9), {0, 0, 255}), 0);
    EXPECT_EQ(ColourDistance(ReadPixel(20, 10), {0, 0, 0}), 0);
    EXPECT_EQ(ColourDistance(ReadPixel(160, 120), {255, 255, 255}), 0);
    for (GLenum cap : {GL_LIGHTING, GL_DEPTH_TEST, GL_FOG, GL_CULL_FACE, GL_SCISSOR_TEST,
                       GL_NORMALIZE, GL_VERTEX_ARRAY, GL_COLOR_ARRAY, GL_NORMAL_ARRAY})
        EXPECT_TRUE(glIsEnabled(cap)) << std::hex << cap;
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
    GLint depth_func = 0;
    glGetIntegerv(GL_DEPTH_FUNC, &depth_func);
    EXPECT_EQ(depth_func, GL_LEQUAL);
    // The 2D state set in the overlay survives the 3D frame in between.
    Frame();
    BeginLumo2D();
    EXPECT_EQ(CurrentLumo2D()->blend_mode, 2);
    FillRect(30, 0, 10, 10);
    EndLumo2D();
    EXPECT_EQ(ColourDistance(ReadPixel(35, 5), {255, 255, 255}), 0);
}

// The lights' settings must survive the switch into 2D and back: every frame of an unchanged scene
// shows the same pixels as its first.
class TLightsAcrossFramesTest : public TStateTest {
protected:
    struct TComparison {
        int differing_pixels = 0, largest_difference = 0;
        double first_mean = 0, third_mean = 0; // mean channel value
    };

    // A grey shiny wall across the view at z = 6, facing the camera. Lighting is per vertex: the
    // wall is finely divided so that a light cone shows on it.
    static TMeshHandle Wall() {
        TMeshHandle wall = CreateMesh();
        TSurfaceHandle s = CreateSurface(wall);
        constexpr int kCells = 24;
        for (int i = 0; i <= kCells; ++i)
            for (int j = 0; j <= kCells; ++j) {
                const float x = -1 + 2.0f * float(i) / kCells, y = -1 + 2.0f * float(j) / kCells;
                VertexNormal(s, AddVertex(s, x, y, 0), 0, 0, -1);
            }
        for (int i = 0; i < kCells; ++i)
            for (int j = 0; j < kCells; ++j) {
                const int a = i * (kCells + 1) + j, d = a + kCells + 1;
                AddTriangle(s, a, a + 1, d + 1);
                AddTriangle(s, a, d + 1, d);
            }
        PositionEntity(wall, 0, 0, 6);
        ScaleEntity(wall, 6, 6, 1);
        EntityColor(wall, 180, 180, 180);
        EntityShininess(wall, 0.8f);
        return wall;
    }

    // Frames 1 and 3, each frame followed by the game's 2D pass.
    TComparison CompareFirstAndThirdFrame(const char* screenshot) {
        std::vector<std::uint8_t> first, third;
        for (int frame = 1; frame <= 3; ++frame) {
            Frame();
            if (frame == 1) first = ReadFrame(kWidth, kHeight);
            if (frame == 3) third = ReadFrame(kWidth, kHeight);
            BeginLumo2D();
            DrawGameHud();
            EndLumo2D();
        }
        SaveScreenshot(screenshot, kWidth, kHeight);
        TComparison c;
        for (std::size_t i = 0; i < first.size(); i += 3) {
            int largest = 0;
            for (std::size_t k = i; k < i + 3; ++k) {
                largest = std::max(largest, std::abs(int(first[k]) - int(third[k])));
                c.first_mean += first[k];
                c.third_mean += third[k];
            }
            c.differing_pixels += largest > 0;
            c.largest_difference = std::max(c.largest_difference, largest);
        }
        c.first_mean /= double(first.size());
        c.third_mean /= double(third.size());
        std::cout << screenshot << ": mean " << c.first_mean << " in frame 1, " << c.third_mean
                  << " in frame 3; " << c.differing_pixels << " pixels differ, by up to "
                  << c.largest_difference << "\n";
        return c;
    }
};

TEST_F(TLightsAcrossFramesTest, GameRoomWithItsThreePointLights) {
    HideEntity(camera);
    BuildGameScene(kAssetsDir);
    const TComparison c = CompareFirstAndThirdFrame("scene_lights_room");
    EXPECT_EQ(c.differing_pixels, 0) << "by up to " << c.largest_difference;
}

TEST_F(TLightsAcrossFramesTest, ShinyWallUnderASpotAndAPointLight) {
    Wall();
    TMeshHandle ball = CreateSphere(16);
    PositionEntity(ball, 1.5f, -0.5f, 4);
    EntityShininess(ball, 1);
    AmbientLight(30, 30, 30);
    TLightHandle spot = CreateLight(3);
    ASSERT_NE(spot, nullptr);
    PositionEntity(spot, 0, 0, 1);
    LightRange(spot, 10);
    LightConeAngles(spot, 20, 60);
    LightColor(spot, 110, 110, 110); // dim enough that neither frame saturates
    TLightHandle point = CreateLight(2);
    ASSERT_NE(point, nullptr);
    PositionEntity(point, -2, 2, 1);
    LightRange(point, 8);
    LightColor(point, 80, 90, 110);
    const TComparison c = CompareFirstAndThirdFrame("scene_lights_spot");
    EXPECT_EQ(c.differing_pixels, 0) << "by up to " << c.largest_difference;
}

// Without a 2D pass in between the slots keep what the last light set in them; a light that takes
// over a spot light's slot must not shine through the old cone.
TEST_F(TLightsAcrossFramesTest, PointLightInAFormerSpotLightsSlotLightsTheWholeWall) {
    Wall();
    AmbientLight(30, 30, 30);
    // Narrow spot lights in all eight slots, so that the point light gets a former spot's slot
    // whichever the rotating assignment hands it.
    std::vector<TLightHandle> spots;
    for (int i = 0; i < TLight::kMaxLights; ++i) {
        spots.push_back(CreateLight(3));
        PositionEntity(spots.back(), 0, 0, 1);
        LightConeAngles(spots.back(), 10, 20);
    }
    Frame();
    for (const auto& spot : spots)
        FreeEntity(spot);
    TLightHandle point = CreateLight(2);
    PositionEntity(point, 0, 0, 1);
    LightColor(point, 110, 110, 110);
    LightRange(point, 10);
    std::vector<std::uint8_t> frames[2];
    for (auto& pixels : frames) {
        Frame();
        pixels = ReadFrame(kWidth, kHeight);
        BeginLumo2D();
        EndLumo2D();
    }
    int differing = 0;
    for (std::size_t i = 0; i < frames[0].size(); ++i)
        differing += frames[0][i] != frames[1][i];
    EXPECT_EQ(differing, 0) << "channel values that differ between the two frames";
}

TEST_F(TStateTest, LargeSurfacesUseBufferObjectsAndSmallOnesGiveThemUp) {
    TMeshHandle ball = CreateSphere(24);
    PositionEntity(ball, 0, 0, 5);
    EntityFX(ball, 1);
    TSurfaceHandle s = GetSurface(ball, 1);
    ASSERT_GE(CountTriangles(s), 250);
    Frame();
    if (TGlobal::vbo_enabled) {
        EXPECT_NE(s->vbo_id[0], 0u);
        EXPECT_EQ(s->reset_vbo, 0);
    }
    EXPECT_EQ(ColourDistance(ReadPixel(160, 120), {255, 255, 255}), 0);
    TMeshHandle cube = CreateCube();
    PositionEntity(cube, 3, 0, 8);
    Frame();
    EXPECT_EQ(GetSurface(cube, 1)->vbo_id[0], 0u);
}

} // namespace
} // namespace tonvella
