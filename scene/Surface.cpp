#include "scene/Surface.h"

#include "scene/GpuBackend.h"

namespace tonvella {

namespace {

std::uint64_t last_version = 0; // surfaces are made and written on the main thread only

} // namespace

TSurface::TSurface()
    : tris(3), vert_coords(3), vert_tex_coords0(2), vert_tex_coords1(2), vert_norm(3), vert_col(4),
      version(++last_version) {}

void TSurface::Changed(int vbo_bits) {
    reset_vbo |= vbo_bits;
    version = ++last_version;
}

TSurface::~TSurface() {
    FreeVBO();
}

void TSurface::GrowVertices(int count) {
    if (vert_array_size > count) return;
    while (vert_array_size <= count)
        vert_array_size *= 2;
    const std::size_t n = std::size_t(vert_array_size);
    vert_coords.resize(n * 3);
    vert_tex_coords0.resize(n * 2);
    vert_tex_coords1.resize(n * 2);
    vert_norm.resize(n * 3);
    vert_col.resize(n * 4);
}

int TSurface::AddVertex(float x, float y, float z, float u, float v, float) {
    ++no_verts;
    GrowVertices(no_verts);
    const std::size_t i = std::size_t(no_verts - 1);
    vert_coords[i * 3] = x;
    vert_coords[i * 3 + 1] = y;
    vert_coords[i * 3 + 2] = -z;
    vert_tex_coords0[i * 2] = u;
    vert_tex_coords0[i * 2 + 1] = v;
    for (int c = 0; c < 4; ++c)
        vert_col[i * 4 + c] = 1.0f;
    Changed();
    return no_verts - 1;
}

int TSurface::AddTriangle(int a, int b, int c) {
    ++no_tris;
    if (tri_array_size <= no_tris) {
        while (tri_array_size <= no_tris)
            tri_array_size *= 2;
        tris.resize(std::size_t(tri_array_size) * 3);
    }
    const std::size_t t = std::size_t(no_tris - 1) * 3;
    tris[t] = std::uint16_t(c);
    tris[t + 1] = std::uint16_t(b);
    tris[t + 2] = std::uint16_t(a);
    Changed(VBO_POSITIONS | VBO_TEX_COORDS | VBO_TRIANGLES);
    return no_tris;
}

void TSurface::VertexNormal(int index, float nx, float ny, float nz) {
    if (!HasVertex(index)) return;
    const std::size_t i = std::size_t(index) * 3;
    vert_norm[i] = nx;
    vert_norm[i + 1] = ny;
    vert_norm[i + 2] = -nz;
    Changed(VBO_NORMALS);
}

void TSurface::VertexTexCoords(int index, float u, float v, float, int set) {
    if (!HasVertex(index) || (set != 0 && set != 1)) return;
    auto& coords = set == 0 ? vert_tex_coords0 : vert_tex_coords1;
    coords[std::size_t(index) * 2] = u;
    coords[std::size_t(index) * 2 + 1] = v;
    Changed(VBO_TEX_COORDS);
}

void TSurface::VertexColor(int index, float red, float green, float blue, float alpha) {
    if (!HasVertex(index)) return;
    const std::size_t i = std::size_t(index) * 4;
    vert_col[i] = red / 255.0f;
    vert_col[i + 1] = green / 255.0f;
    vert_col[i + 2] = blue / 255.0f;
    vert_col[i + 3] = alpha;
    Changed(VBO_COLOURS);
}

float TSurface::VertexX(int index) const {
    return HasVertex(index) ? vert_coords[std::size_t(index) * 3] : 0.0f;
}

float TSurface::VertexY(int index) const {
    return HasVertex(index) ? vert_coords[std::size_t(index) * 3 + 1] : 0.0f;
}

float TSurface::VertexZ(int index) const {
    return HasVertex(index) ? -vert_coords[std::size_t(index) * 3 + 2] : 0.0f;
}

float TSurface::VertexNX(int index) const {
    return HasVertex(index) ? vert_norm[std::size_t(index) * 3] : 0.0f;
}

float TSurface::VertexNY(int index) const {
    return HasVertex(index) ? vert_norm[std::size_t(index) * 3 + 1] : 0.0f;
}

float TSurface::VertexNZ(int index) const {
    return HasVertex(index) ? -vert_norm[std::size_t(index) * 3 + 2] : 0.0f;
}

float TSurface::VertexU(int index, int set) const {
    if (!HasVertex(index)) return 0.0f;
    return (set == 1 ? vert_tex_coords1 : vert_tex_coords0)[std::size_t(index) * 2];
}

float TSurface::VertexV(int index, int set) const {
    if (!HasVertex(index)) return 0.0f;
    return (set == 1 ? vert_tex_coords1 : vert_tex_coords0)[std::size_t(index) * 2 + 1];
}

int TSurface::TriangleVertex(int triangle, int corner) const {
    if (triangle < 0 || triangle >= no_tris || corner < 0 || corner > 2) return 0;
    return tris[std::size_t(triangle) * 3 + std::size_t(2 - corner)];
}

void TSurface::PaintSurface(const TBrush& from) {
    brush.Paint(from);
}

void TSurface::UpdateVBO() {
    TGpuBackend& gpu = GpuBackend();
    if (vbo_id[0] == 0) {
        gpu.GenBuffers(6, vbo_id.data());
        if (vbo_id[0] == 0) return; // no buffers to be had; the arrays are drawn directly
    }
    const int bits = reset_vbo == VBO_ALL ? 31 : reset_vbo;
    const std::size_t verts = std::size_t(no_verts);
    if (bits & VBO_POSITIONS)
        gpu.BufferData(TBufferTarget::Array, vbo_id[0], vert_coords.data(), verts * 12);
    if (bits & VBO_TEX_COORDS) {
        gpu.BufferData(TBufferTarget::Array, vbo_id[1], vert_tex_coords0.data(), verts * 8);
        gpu.BufferData(TBufferTarget::Array, vbo_id[2], vert_tex_coords1.data(), verts * 8);
    }
    if (bits & VBO_NORMALS)
        gpu.BufferData(TBufferTarget::Array, vbo_id[3], vert_norm.data(), verts * 12);
    if (bits & VBO_COLOURS)
        gpu.BufferData(TBufferTarget::Array, vbo_id[4], vert_col.data(), verts * 16);
    if (bits & VBO_TRIANGLES)
        gpu.BufferData(TBufferTarget::ElementArray, vbo_id[5], tris.data(),
                       std::size_t(no_tris) * 6);
    reset_vbo = 0;
}

void TSurface::FreeVBO() {
    if (vbo_id[0] == 0) return;
    GpuBackend().DeleteBuffers(6, vbo_id.data());
    vbo_id.fill(0);
    reset_vbo = VBO_ALL; // buffers made later must receive every array again
}

} // namespace tonvella
