#include "media/draw/GLDriver.h"

#include "media/Graphics.h"
#include "media/draw/Draw2D.h"
#include "media/draw/Image.h"
#include "scene/Render.h"

#include <GL/gl.h>

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace tonvella {

namespace {

int Clamp255(int v) {
    return std::clamp(v, 0, 255);
}

constexpr GLenum kColourSum = 0x8458; // GL_COLOR_SUM of OpenGL 1.4 and EXT_secondary_color

using TSecondaryColour = void(APIENTRY*)(GLubyte, GLubyte, GLubyte);
TSecondaryColour secondary_colour = nullptr;

// glSecondaryColor3ub of the current context, when it has colour sum (OpenGL 1.4, or the
// extension it came from); null otherwise.
TSecondaryColour SecondaryColourFunction() {
    const auto* version = reinterpret_cast<const char*>(glGetString(GL_VERSION));
    const auto* extensions = reinterpret_cast<const char*>(glGetString(GL_EXTENSIONS));
    int major = 0, minor = 0;
    if (version) std::sscanf(version, "%d.%d", &major, &minor);
    const char* name = nullptr;
    if (major > 1 || (major == 1 && minor >= 4))
        name = "glSecondaryColor3ub";
    else if (extensions && std::strstr(extensions, "GL_EXT_secondary_color"))
        name = "glSecondaryColor3ubEXT";
    return name ? reinterpret_cast<TSecondaryColour>(GlFunction(name)) : nullptr;
}

} // namespace

TGLLumo2DDriver& Lumo2DDriver() {
    static TGLLumo2DDriver driver;
    return driver;
}

void TGLLumo2DDriver::Attach(int width, int height) {
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0, width, height, 0, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glViewport(0, 0, width, height);
    glDisable(GL_TEXTURE_2D);
    applied_blend = -1;
    bound_texture = 0;
    texturing = 0;
    // Quads add a secondary colour of black, which changes no pixel: their fragments then take
    // the same inputs as those of the lit 3D scene, so that a software renderer draws both with
    // the programs it compiled for the scene. Each program of its own would cost milliseconds in
    // the first frame. (Lit drawing adds the secondary colour whether colour sum is on or not.)
    secondary_colour = SecondaryColourFunction();
    colour_sum = secondary_colour != nullptr;
    if (colour_sum) glEnable(kColourSum);
    ApplyColor();
}

void TGLLumo2DDriver::ApplyColor() {
    glColor4ub(color[0], color[1], color[2], color[3]);
}

// Inside glBegin, so that every quad carries its colours in its vertices. A colour that is only
// the current one reaches a software renderer as a constant, and it compiles programs for the
// constant kind and others for the per-vertex kind (which a colour set between two quads
// becomes).
void TGLLumo2DDriver::VertexColours() {
    ApplyColor();
    if (colour_sum) secondary_colour(0, 0, 0);
}

void TGLLumo2DDriver::SetColor(int r, int g, int b) {
    color[0] = std::uint8_t(Clamp255(r));
    color[1] = std::uint8_t(Clamp255(g));
    color[2] = std::uint8_t(Clamp255(b));
    ApplyColor();
}

void TGLLumo2DDriver::SetAlpha(float alpha) {
    color[3] = std::uint8_t(std::clamp(alpha, 0.0f, 1.0f) * 255.0f);
    ApplyColor();
}

void TGLLumo2DDriver::SetClsColor(int r, int g, int b) {
    glClearColor(float(Clamp255(r)) / 255.0f, float(Clamp255(g)) / 255.0f,
                 float(Clamp255(b)) / 255.0f, 1.0f);
}

void TGLLumo2DDriver::Cls() {
    glClear(GL_COLOR_BUFFER_BIT);
}

void TGLLumo2DDriver::SetBlend(int mode) {
    if (mode == applied_blend) return;
    applied_blend = mode;
    glDisable(GL_ALPHA_TEST);
    glDisable(GL_BLEND);
    switch (mode) {
    case BLEND2D_MASK:
        glEnable(GL_ALPHA_TEST);
        glAlphaFunc(GL_GEQUAL, 0.5f);
        break;
    case BLEND2D_ALPHA:
        glEnable(GL_BLEND);
        glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
        break;
    case BLEND2D_ADD:
        glEnable(GL_BLEND);
        glBlendFunc(GL_SRC_ALPHA, GL_ONE);
        break;
    case BLEND2D_MULTIPLY:
        glEnable(GL_BLEND);
        glBlendFunc(GL_DST_COLOR, GL_ZERO);
        break;
    default:
        break;
    }
}

void TGLLumo2DDriver::Texturing() {
    if (texturing == 1) return;
    glEnable(GL_TEXTURE_2D);
    texturing = 1;
}

void TGLLumo2DDriver::Bind(unsigned name) {
    if (name == bound_texture) return;
    glBindTexture(GL_TEXTURE_2D, name);
    bound_texture = name;
}

void TGLLumo2DDriver::DrawRect(float x0, float y0, float x1, float y1) {
    // Modulated by one white texel, like every untextured surface of the scene (WhiteTexture).
    Bind(WhiteTexture());
    Texturing();
    glBegin(GL_QUADS);
    VertexColours();
    glTexCoord2f(0, 0);
    glVertex2f(x0, y0);
    glVertex2f(x1, y0);
    glVertex2f(x1, y1);
    glVertex2f(x0, y1);
    glEnd();
}

void TGLLumo2DDriver::DrawFrame(const TGLImageFrame& frame, float x0, float y0, float x1, float y1,
                                float tx0, float ty0, float tx1, float ty1) {
    Bind(frame.name);
    Texturing();
    glBegin(GL_QUADS);
    VertexColours();
    glTexCoord2f(tx0, ty0);
    glVertex2f(x0, y0);
    glTexCoord2f(tx1, ty0);
    glVertex2f(x1, y0);
    glTexCoord2f(tx1, ty1);
    glVertex2f(x1, y1);
    glTexCoord2f(tx0, ty1);
    glVertex2f(x0, y1);
    glEnd();
}

} // namespace tonvella
