// Camera settings, the in-view test against the frustum of the last pass, and light slots.
#include "tests/scene_render/RenderFixture.h"

#include <cmath>

namespace tonvella {
namespace {

class TViewTest : public TRenderTest {};

TEST_F(TViewTest, NewCameraCoversTheWindowAndViewportCountsFromTheTop) {
    EXPECT_EQ(camera->vx, 0);
    EXPECT_EQ(camera->vy, 0);
    EXPECT_EQ(camera->vwidth, kWidth);
    EXPECT_EQ(camera->vheight, kHeight);
    CameraViewport(camera, 10, 20, 160, 120);
    EXPECT_EQ(camera->vx, 10);
    EXPECT_EQ(camera->vy, kHeight - 120 - 20);
    CameraClsColor(camera, 255, 51, 0);
    EXPECT_FLOAT_EQ(camera->cls_g, 0.2f);
    AmbientLight(55, 55, 55);
    EXPECT_NEAR(TGlobal::ambient_red, 0.2157f, 1e-4f);
}

TEST_F(TViewTest, EntityInViewTable) {
    CameraRange(camera, 1, 100);
    TMeshHandle probe_cube = CreateCube();
    TPivotHandle probe_point = CreatePivot();
    // Before the first pass the frustum is all zeros: a sphere tests as its radius.
    EXPECT_NEAR(EntityInView(camera, probe_cube), std::sqrt(3.0f), 1e-4f);
    EXPECT_EQ(EntityInView(camera, probe_point), 0.0f);
    Frame();
    const float r = std::sqrt(3.0f);
    struct TCase {
        const char* what;
        bool cube;
        float x, y, z;
        float min, max; // expected result range
    } cases[] = {
        {"cube ahead", true, 0, 0, 10, 9 + r - 0.01f, 9 + r + 0.01f},
        {"cube behind", true, 0, 0, -10, 0, 0},
        {"cube far right", true, 20, 0, 10, 0, 0},
        {"cube beyond the far plane", true, 0, 0, 110, 0, 0},
        {"cube straddling the near plane", true, 0, 0, 0.5f, 0.1f, r - 0.01f},
        {"cube just past the right edge", true, 10 + r * 1.41f + 0.1f, 0, 10, 0, 0},
        {"cube just inside the right edge", true, 10 + r * 1.41f - 0.2f, 0, 10, 0.1f, 20},
        {"point ahead", false, 0, 5, 10, 8.99f, 9.01f},
        {"point on the right plane", false, 10, 0, 10, 0, 0},
        {"point just inside the right plane", false, 9.9f, 0, 10, 8.9f, 9.1f},
        {"point above the top plane", false, 0, 8, 10, 0, 0},
    };
    for (const auto& c : cases) {
        TEntityHandle e = c.cube ? TEntityHandle(probe_cube) : TEntityHandle(probe_point);
        PositionEntity(e, c.x, c.y, c.z);
        const float got = EntityInView(camera, e);
        EXPECT_GE(got, c.min) << c.what;
        EXPECT_LE(got, c.max) << c.what;
    }
    // Scaling a mesh scales its sphere.
    PositionEntity(probe_cube, 0, 0, 10);
    ScaleEntity(probe_cube, 1, 4, 1);
    EXPECT_NEAR(EntityInView(camera, probe_cube), 9 + 4 * r, 0.01f);
}

TEST_F(TViewTest, NinthLightIsRefusedUntilOneIsFreed) {
    std::vector<TLightHandle> lights;
    for (int i = 0; i < 8; ++i) {
        lights.push_back(CreateLight(2));
        ASSERT_NE(lights.back(), nullptr) << i;
    }
    EXPECT_EQ(CreateLight(2), nullptr);
    EXPECT_EQ(LightCount(), 8);
    FreeEntity(lights[3]);
    EXPECT_EQ(LightCount(), 7);
    EXPECT_NE(CreateLight(1), nullptr);
    Frame();
    LightRange(lights[0], 50);
    EXPECT_FLOAT_EQ(lights[0]->range, 0.02f);
    LightConeAngles(lights[0], 30, 90);
    EXPECT_FLOAT_EQ(lights[0]->inner_ang, 15);
    EXPECT_FLOAT_EQ(lights[0]->outer_ang, 45);
}

TEST_F(TViewTest, HiddenCameraDrawsNothing) {
    CameraClsColor(camera, 0, 255, 0);
    Frame();
    EXPECT_EQ(ColourDistance(ReadPixel(5, 5), {0, 255, 0}), 0);
    CameraClsColor(camera, 255, 0, 0);
    HideEntity(camera);
    Frame();
    EXPECT_EQ(ColourDistance(ReadPixel(5, 5), {0, 255, 0}), 0);
}

} // namespace
} // namespace tonvella
