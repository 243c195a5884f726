#include "tests/scene_render/RenderFixture.h"

#include "media/Graphics.h"

#include <filesystem>
#include <vector>

namespace tonvella {

std::ostream& operator<<(std::ostream& out, const TStackDepths& d) {
    return out << "modelview " << d.modelview << ", projection " << d.projection << ", texture "
               << d.texture << ", attrib " << d.attrib << ", client attrib " << d.client_attrib;
}

TStackDepths StackDepths() {
    TStackDepths d;
    glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &d.modelview);
    glGetIntegerv(GL_PROJECTION_STACK_DEPTH, &d.projection);
    GLint active = 0;
    glGetIntegerv(GL_ACTIVE_TEXTURE, &active);
    glActiveTexture(GL_TEXTURE0);
    glGetIntegerv(GL_TEXTURE_STACK_DEPTH, &d.texture);
    glActiveTexture(GLenum(active));
    glGetIntegerv(GL_ATTRIB_STACK_DEPTH, &d.attrib);
    glGetIntegerv(GL_CLIENT_ATTRIB_STACK_DEPTH, &d.client_attrib);
    return d;
}

std::string GlErrors() {
    std::string errors;
    for (GLenum e = glGetError(); e != GL_NO_ERROR; e = glGetError())
        errors += " 0x" + [](GLenum v) {
            char buf[16];
            std::snprintf(buf, sizeof buf, "%04X", v);
            return std::string(buf);
        }(e);
    return errors;
}

std::u16string WriteTexture(const std::string& name, const TRgb (&texels)[4]) {
    const auto dir = std::filesystem::temp_directory_path() / "tonvella_scene_render";
    std::filesystem::create_directories(dir);
    const std::string path = (dir / (name + ".png")).string();
    std::vector<std::uint8_t> rows;
    for (const TRgb& t : texels)
        rows.insert(rows.end(), {std::uint8_t(t.r), std::uint8_t(t.g), std::uint8_t(t.b)});
    WritePng(path, 2, 2, 3, rows);
    return std::u16string(path.begin(), path.end());
}

TMeshHandle CreateQuad(const TEntityHandle& parent) {
    TMeshHandle mesh = CreateMesh(parent);
    TSurfaceHandle s = CreateSurface(mesh);
    AddVertex(s, -1, -1, 0, 0, 1);
    AddVertex(s, -1, 1, 0, 0, 0);
    AddVertex(s, 1, 1, 0, 1, 0);
    AddVertex(s, 1, -1, 0, 1, 1);
    for (int v = 0; v < 4; ++v)
        VertexNormal(s, v, 0, 0, -1);
    AddTriangle(s, 0, 1, 2);
    AddTriangle(s, 0, 2, 3);
    return mesh;
}

void TRenderTest::SetUp() {
    if (!CurrentGraphics()) ASSERT_EQ(Graphics3D(kWidth, kHeight, 0, 2, 60, -1), 0);
    ASSERT_NE(CurrentGraphics(), nullptr) << GraphicsError();
    GlErrors();
    AmbientLight(127.5f, 127.5f, 127.5f);
    camera = CreateCamera();
}

void TRenderTest::TearDown() {
    EXPECT_EQ(GlErrors(), "");
    camera.reset();
    // Freeing the roots frees their subtrees.
    std::vector<TEntityHandle> roots;
    for (const auto& e : EntityList())
        if (!e->parent) roots.push_back(e);
    for (const auto& e : roots)
        FreeEntity(e);
}

void TRenderTest::Frame() {
    RenderWorld();
    EXPECT_EQ(GlErrors(), "") << "after RenderWorld";
}

} // namespace tonvella
