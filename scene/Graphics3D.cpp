#include "scene/Graphics3D.h"

#include "media/Graphics.h"
#include "scene/GlGpu.h"
#include "scene/Texture.h"

#include <GL/glew.h>

namespace tonvella {

namespace {

bool Has(const std::string& extensions, const char* name) {
    return extensions.find(name) != std::string::npos;
}

std::string GlString(GLenum which) {
    const GLubyte* s = glGetString(which);
    return s ? reinterpret_cast<const char*>(s) : "";
}

constexpr GLbitfield kAllAttribBits = 0xFFFFF;

void SaveState() {
    glPushAttrib(kAllAttribBits);
    glPushClientAttrib(GL_CLIENT_ALL_ATTRIB_BITS);
    PushAllMatrices();
}

} // namespace

void PushAllMatrices() {
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glMatrixMode(GL_TEXTURE);
    glPushMatrix();
    if (THardwareInfo::color_matrix_supported) {
        glMatrixMode(GL_COLOR);
        glPushMatrix();
    }
    glMatrixMode(GL_MODELVIEW);
}

void PopAllMatrices() {
    glMatrixMode(GL_MODELVIEW);
    glPopMatrix();
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_TEXTURE);
    glPopMatrix();
    if (THardwareInfo::color_matrix_supported) {
        glMatrixMode(GL_COLOR);
        glPopMatrix();
    }
    glMatrixMode(GL_MODELVIEW);
}

void THardwareInfo::GetInfo() {
    vendor = GlString(GL_VENDOR);
    renderer = GlString(GL_RENDERER);
    version = GlString(GL_VERSION);
    extensions = GlString(GL_EXTENSIONS);
    const std::string& e = extensions;
    vbo_supported = Has(e, "GL_ARB_vertex_buffer_object");
    tc_supported = Has(e, "GL_ARB_texture_compression");
    s3tc_supported = Has(e, "GL_EXT_texture_compression_s3tc");
    anis_supported = Has(e, "GL_EXT_texture_filter_anisotropic");
    multitex_supported = Has(e, "GL_ARB_multitexture");
    tex_combine_supported =
        Has(e, "GL_EXT_texture_env_combine") || Has(e, "GL_ARB_texture_env_combine");
    cubemap_supported = Has(e, "GL_ARB_texture_cube_map");
    depthtex_supported = Has(e, "GL_ARB_depth_texture");
    vp_supported = Has(e, "GL_ARB_vertex_program");
    fp_supported = Has(e, "GL_ARB_fragment_program");
    shader_supported = Has(e, "GL_ARB_shader_objects");
    vs_supported = Has(e, "GL_ARB_vertex_shader");
    fs_supported = Has(e, "GL_ARB_fragment_shader");
    sl100_supported = Has(e, "GL_ARB_shading_language_100");
    if (!(vs_supported && fs_supported)) shader_supported = 0;
    color_matrix_supported = Has(e, "GL_ARB_imaging");
    // Buffer objects and texture units are reached through the loaded entry points; an extension
    // that is announced but whose functions are missing counts as absent.
    if (!glGenBuffersARB || !glBindBufferARB || !glBufferDataARB || !glDeleteBuffersARB)
        vbo_supported = 0;
    if (vbo_supported && (!glActiveTextureARB || !glClientActiveTextureARB)) vbo_supported = 0;
    GLint value = 1;
    glGetIntegerv(GL_MAX_TEXTURE_UNITS_ARB, &value);
    max_tex_units = value;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &value);
    max_tex_size = value;
    glGetIntegerv(GL_MAX_LIGHTS, &value);
    max_lights = value;
}

int TGlobal::Graphics3D(int width, int height, int depth, int mode, int rate, int flags) {
    if (flags == -1) flags = GRAPHICS_BACKBUFFER | GRAPHICS_DEPTHBUFFER | GRAPHICS_ACCUMBUFFER;
    if (mode == 0 || mode == GRAPHICS3D_FULLSCREEN) {
        if (depth == 0) depth = 16;
    } else {
        depth = 0;
    }
    graphics_width = width;
    graphics_height = height;
    graphics_mode = mode;
    graphics_depth = depth;
    graphics_rate = rate;
    SetGraphicsDriverGL(GRAPHICS_BACKBUFFER);
    if (!OpenGraphics(width, height, depth, rate, flags)) return -1;
    GraphicsInit();
    return 0;
}

void TGlobal::GraphicsInit() {
    TTexture::TextureFilter(u"", TEX_COLOR | TEX_MIPMAPPED);
    glewInit();
    THardwareInfo::GetInfo();
    vbo_enabled = THardwareInfo::vbo_supported;
    InstallGlGpu();
    SaveState();
    EnableStates();
    BaselineState();
}

void TGlobal::EnableStates() {
    glEnable(GL_LIGHTING);
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_FOG);
    glEnable(GL_CULL_FACE);
    glEnable(GL_SCISSOR_TEST);
    glEnable(GL_NORMALIZE);
    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_COLOR_ARRAY);
    glEnableClientState(GL_NORMAL_ARRAY);
}

void TGlobal::BaselineState() {
    glLightModeli(GL_LIGHT_MODEL_COLOR_CONTROL, GL_SEPARATE_SPECULAR_COLOR);
    glLightModeli(GL_LIGHT_MODEL_LOCAL_VIEWER, 1);
    glClearDepth(1.0);
    glDepthFunc(GL_LEQUAL);
    glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_NICEST);
    glAlphaFunc(GL_GEQUAL, 0.5f);
}

void TGlobal::AmbientLight(float red, float green, float blue) {
    ambient_red = red / 255.0f;
    ambient_green = green / 255.0f;
    ambient_blue = blue / 255.0f;
}

void TOverlay2D::BeginLumo2D() {
    glPopClientAttrib();
    glPopAttrib();
    PopAllMatrices();
}

void TOverlay2D::EndLumo2D() {
    SaveState();
    TGlobal::EnableStates();
    glDisable(GL_TEXTURE_2D);
    TGlobal::BaselineState();
}

} // namespace tonvella
