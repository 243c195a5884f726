// The OpenGL side of the 2D layer: colour, blending, rectangles and textured quads in window
// pixels, skipping state changes that are already in effect.
#pragma once

#include <cstdint>

namespace tonvella {

class TGLImageFrame;

class TGLLumo2DDriver {
public:
    std::uint8_t color[4] = {255, 255, 255, 255};
    int applied_blend = -1;     // -1: unknown
    unsigned bound_texture = 0; // as the driver last bound it (0 after Attach)
    int texturing = -1;         // -1 unknown, 0 off, 1 on
    bool colour_sum = false;    // quads add a secondary colour (see Attach)

    // Projection for a width x height window with y downwards; forgets every cached value.
    void Attach(int width, int height);
    void SetColor(int r, int g, int b);
    void SetAlpha(float alpha);
    void SetClsColor(int r, int g, int b);
    void Cls();
    void SetBlend(int mode);
    void DrawRect(float x0, float y0, float x1, float y1);
    void DrawFrame(const TGLImageFrame& frame, float x0, float y0, float x1, float y1, float tx0,
                   float ty0, float tx1, float ty1);

private:
    void ApplyColor();
    void VertexColours();
    void Texturing(); // every quad is textured (see DrawRect)
    void Bind(unsigned name);
};

TGLLumo2DDriver& Lumo2DDriver();

} // namespace tonvella
