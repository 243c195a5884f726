// Opening the 3D graphics, the engine's baseline OpenGL state, the driver's capabilities and the
// switch between 3D rendering and 2D overlay drawing.
#pragma once

#include <string>

namespace tonvella {

// Window modes of Graphics3D: 0 counts as full screen too, any other mode as a window.
enum : int { GRAPHICS3D_FULLSCREEN = 1, GRAPHICS3D_WINDOWED = 2 };

// Engine-wide values and the operations that work on all cameras and lights.
struct TGlobal {
    static inline int graphics_width = 0, graphics_height = 0;
    static inline int graphics_depth = 0, graphics_mode = 0, graphics_rate = 0;
    static inline float ambient_red = 0.5f, ambient_green = 0.5f, ambient_blue = 0.5f;
    static inline int vbo_enabled = 0;

    // Flags -1 ask for back, depth and accumulation buffers. 0 on success, -1 when the window
    // could not be opened.
    static int Graphics3D(int width, int height, int depth = 0, int mode = 0, int rate = 60,
                          int flags = -1);
    static void AmbientLight(float red, float green, float blue); // 0..255
    static void GraphicsInit();
    static void EnableStates();
    // Light model, depth and alpha function of the 3D state.
    static void BaselineState();

    // Draws every camera's view into the back buffer.
    static int RenderWorld();
};

struct THardwareInfo {
    static inline std::string vendor, renderer, version, extensions;
    static inline int vbo_supported = 0, tc_supported = 0, s3tc_supported = 0, anis_supported = 0,
                      multitex_supported = 0, tex_combine_supported = 0, cubemap_supported = 0,
                      depthtex_supported = 0, vp_supported = 0, fp_supported = 0,
                      shader_supported = 0, vs_supported = 0, fs_supported = 0, sl100_supported = 0;
    // Not every driver has the colour matrix stack (software renderers lack ARB_imaging); its
    // pushes and pops are skipped there so that no other stack takes them.
    static inline int color_matrix_supported = 0;
    static inline int max_tex_units = 1, max_tex_size = 0, max_lights = 8;

    static void GetInfo();
};

// Switching between the engine's 3D state and the 2D layer's state, which live in turn on
// OpenGL's attribute and matrix stacks. Begin and end alternate, begin first after Graphics3D.
struct TOverlay2D {
    static void BeginLumo2D();
    static void EndLumo2D();
};

// Pushes or pops the matrices of every mode the driver has (modelview, projection, texture,
// colour), leaving the modelview mode selected.
void PushAllMatrices();
void PopAllMatrices();

} // namespace tonvella
