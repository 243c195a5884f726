// A growable vertex buffer with a triangle list and its own brush. Data is stored ready for
// OpenGL: z of positions and normals negated, the corners of each triangle reversed. Writers
// and readers take and give the public (left-handed) values.
#pragma once

#include "scene/Brush.h"

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

namespace tonvella {

// Bits of reset_vbo: the arrays changed since the last upload.
enum : int {
    VBO_POSITIONS = 1,
    VBO_TEX_COORDS = 2,
    VBO_NORMALS = 4,
    VBO_COLOURS = 8,
    VBO_TRIANGLES = 16,
    VBO_ALL = -1,
};

class TSurface {
public:
    int no_verts = 0;
    int no_tris = 0;
    std::vector<std::uint16_t> tris;     // 3 stored corners per triangle
    std::vector<float> vert_coords;      // x, y, stored z
    std::vector<float> vert_tex_coords0; // u, v
    std::vector<float> vert_tex_coords1; // u, v
    std::vector<float> vert_norm;        // nx, ny, stored nz
    std::vector<float> vert_col;         // r, g, b, a in 0..1
    TBrush brush;
    std::array<unsigned, 7> vbo_id{}; // buffer names, 0 while there are none
    int vert_array_size = 1;
    int tri_array_size = 1;
    int reset_vbo = VBO_ALL;
    int alpha_enable = 0;
    // A number no surface had before, taken anew by every write to the arrays: the check whether
    // a frame would repeat the picture compares it instead of reading all the arrays, which an
    // idle game would otherwise fetch from memory ten times a second. Whoever writes the arrays
    // other than through the writers here calls Changed.
    std::uint64_t version = 0;

    TSurface();
    TSurface(const TSurface&) = delete;
    TSurface& operator=(const TSurface&) = delete;
    ~TSurface();

    int AddVertex(float x, float y, float z, float u = 0, float v = 0, float w = 0); // index
    int AddTriangle(int a, int b, int c); // the new triangle count
    int CountVertices() const { return no_verts; }
    int CountTriangles() const { return no_tris; }
    // Writers ignore a vertex index that does not exist.
    void VertexNormal(int index, float nx, float ny, float nz);
    void VertexTexCoords(int index, float u, float v, float w = 0, int set = 0);
    void VertexColor(int index, float red, float green, float blue,
                     float alpha = 1); // 0..255, 0..1

    // Readers (0 for a vertex that does not exist).
    float VertexX(int index) const;
    float VertexY(int index) const;
    float VertexZ(int index) const;
    float VertexNX(int index) const;
    float VertexNY(int index) const;
    float VertexNZ(int index) const;
    float VertexU(int index, int set = 0) const;
    float VertexV(int index, int set = 0) const;
    // Corner 0, 1 or 2 of a triangle in the order it was given.
    int TriangleVertex(int triangle, int corner) const;

    void PaintSurface(const TBrush& brush);
    // The arrays were written: a new version, and the buffer objects of vbo_bits are made again.
    void Changed(int vbo_bits = 0);

    // Uploads the arrays flagged in reset_vbo into buffer objects (made on first use).
    void UpdateVBO();
    // Deletes the buffer objects and forgets their names, which the driver may reuse.
    void FreeVBO();

private:
    void GrowVertices(int count);
    bool HasVertex(int index) const { return index >= 0 && index < no_verts; }
};

using TSurfaceHandle = std::shared_ptr<TSurface>;

} // namespace tonvella
