// The OpenGL state around a frame: no errors, balanced stacks, and the switch into 2D and back.
#include "GameScene.h"
#include "RenderFixture.h"
#include "media/draw/Draw2D.h"

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
