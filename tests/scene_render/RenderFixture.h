// A 320 x 240 window opened through Graphics3D once per process; every test starts with an
// empty scene and ends without GL errors.
#pragma once

#include "scene/Scene.h"
#include "scene/Scene3D.h"
#include "tests/media_draw/FrameGrab.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <string>

namespace tonvella {

struct TStackDepths {
    int modelview = 0, projection = 0, texture = 0, attrib = 0, client_attrib = 0;
    bool operator==(const TStackDepths&) const = default;
};
std::ostream& operator<<(std::ostream& out, const TStackDepths& d);
TStackDepths StackDepths();

// Every GL error raised since the last call, as text; empty when there was none.
std::string GlErrors();

// A 2 x 2 PNG with the given R, G, B texels (top-left, top-right, bottom-left, bottom-right),
// written into the test's temporary directory; returns its path.
std::u16string WriteTexture(const std::string& name, const TRgb (&texels)[4]);

// A square from (-1, -1) to (1, 1) in the z = 0 plane facing -z, with texture coordinates 0..1
// from the top-left corner.
TMeshHandle CreateQuad(const TEntityHandle& parent = nullptr);

class TRenderTest : public ::testing::Test {
protected:
    static constexpr int kWidth = 320, kHeight = 240;

    void SetUp() override;
    void TearDown() override;

    // RenderWorld, then expects no GL error; the frame stays in the back buffer.
    void Frame();
    TCameraHandle camera; // at the origin looking along +z, black clear colour
};

} // namespace tonvella
