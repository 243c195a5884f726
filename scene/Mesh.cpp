#include "scene/Mesh.h"

#include <algorithm>
#include <cmath>
#include <map>

namespace tonvella {

std::shared_ptr<TMesh> TMesh::CreateMesh(const std::shared_ptr<TEntity>& parent) {
    auto mesh = std::make_shared<TMesh>();
    mesh->Register(u"Mesh", parent);
    return mesh;
}

std::shared_ptr<TSurface> TMesh::CreateSurface(const TBrush* brush) {
    auto surface = std::make_shared<TSurface>();
    surf_list->AddLast(surface);
    ++no_surfs;
    if (brush) surface->brush = *brush;
    reset_bounds = 1;
    return surface;
}

std::shared_ptr<TSurface> TMesh::GetSurface(int index) const {
    if (index < 1 || index > no_surfs) return nullptr;
    int i = 1;
    for (const auto& surface : *surf_list)
        if (i++ == index) return surface;
    return nullptr;
}

void TMesh::FlipMesh() {
    for (const auto& s : *surf_list) {
        for (int t = 0; t < s->no_tris; ++t)
            std::swap(s->tris[std::size_t(t) * 3], s->tris[std::size_t(t) * 3 + 2]);
        for (int i = 0; i < s->no_verts * 3; ++i)
            s->vert_norm[std::size_t(i)] = -s->vert_norm[std::size_t(i)];
        s->Changed(VBO_NORMALS | VBO_TRIANGLES);
    }
}

void TMesh::ScaleMesh(float sx, float sy, float sz) {
    int n = 0;
    for (const auto& s : *surf_list) {
        if (++n > no_surfs) break;
        for (int i = 0; i < s->no_verts; ++i) {
            s->vert_coords[std::size_t(i) * 3] *= sx;
            s->vert_coords[std::size_t(i) * 3 + 1] *= sy;
            s->vert_coords[std::size_t(i) * 3 + 2] *= sz;
        }
        s->Changed(VBO_POSITIONS);
    }
    reset_bounds = 1;
}

namespace {

struct TPoint {
    float x, y, z;
};

// Positions closer than this on every axis share one smooth normal.
constexpr float kWeld = 1e-6f;

struct TWeldLess {
    bool operator()(const TPoint& a, const TPoint& b) const {
        if (std::fabs(a.x - b.x) > kWeld) return a.x < b.x;
        if (std::fabs(a.y - b.y) > kWeld) return a.y < b.y;
        if (std::fabs(a.z - b.z) > kWeld) return a.z < b.z;
        return false;
    }
};

void SmoothNormals(TSurface& s) {
    std::map<TPoint, TPoint, TWeldLess> normals;
    auto position = [&](int v) {
        const float* p = &s.vert_coords[std::size_t(v) * 3];
        return TPoint{p[0], p[1], p[2]};
    };
    for (int t = 0; t < s.no_tris; ++t) {
        const int corner[3] = {s.tris[std::size_t(t) * 3], s.tris[std::size_t(t) * 3 + 1],
                               s.tris[std::size_t(t) * 3 + 2]};
        const TPoint m = position(corner[0]), l = position(corner[1]), n = position(corner[2]);
        const double ax = l.x - m.x, ay = l.y - m.y, az = l.z - m.z;
        const double bx = n.x - l.x, by = n.y - l.y, bz = n.z - l.z;
        double cx = ay * bz - az * by, cy = az * bx - ax * bz, cz = ax * by - ay * bx;
        const double length = std::sqrt(cx * cx + cy * cy + cz * cz);
        // A degenerate triangle has no direction; normalising it would spread NaN to its corners.
        if (length > 0) cx /= length, cy /= length, cz /= length;
        for (int v : corner) {
            TPoint& sum = normals.try_emplace(position(v), TPoint{0, 0, 0}).first->second;
            sum.x += float(cx), sum.y += float(cy), sum.z += float(cz);
        }
    }
    for (int v = 0; v < s.no_verts; ++v) {
        TPoint normal{0, 0, 0};
        if (auto it = normals.find(position(v)); it != normals.end()) normal = it->second;
        const double length = std::sqrt(double(normal.x) * normal.x + double(normal.y) * normal.y +
                                        double(normal.z) * normal.z);
        float* out = &s.vert_norm[std::size_t(v) * 3];
        // A vertex no triangle uses keeps a zero normal.
        out[0] = length > 0 ? float(normal.x / length) : 0.0f;
        out[1] = length > 0 ? float(normal.y / length) : 0.0f;
        out[2] = length > 0 ? float(normal.z / length) : 0.0f;
    }
    s.Changed(VBO_NORMALS);
}

} // namespace

void TMesh::UpdateNormals() {
    for (const auto& s : *surf_list)
        SmoothNormals(*s);
}

void TMesh::PaintMesh(const TBrush& from) {
    for (const auto& s : *surf_list)
        s->brush.Paint(from);
}

void TMesh::GetBounds() {
    if (reset_bounds != 1) return;
    reset_bounds = 0;
    min_x = min_y = min_z = 1e9f;
    max_x = max_y = max_z = -1e9f;
    for (const auto& s : *surf_list) {
        for (int i = 0; i < s->no_verts; ++i) {
            const float x = s->VertexX(i), y = s->VertexY(i), z = s->VertexZ(i);
            min_x = std::min(min_x, x), max_x = std::max(max_x, x);
            min_y = std::min(min_y, y), max_y = std::max(max_y, y);
            min_z = std::min(min_z, z), max_z = std::max(max_z, z);
        }
    }
    if (cull_radius >= 0) {
        const double e = std::max({max_x - min_x, max_y - min_y, max_z - min_z});
        cull_radius = float(std::sqrt(3.0 * (e / 2) * (e / 2)));
    }
}

void TMesh::CopyMeshBase(TMesh& copy, const std::shared_ptr<TEntity>& parent, bool with_bounds) {
    CopyEntityBase(copy, parent);
    copy.brush = brush;
    copy.auto_fade = auto_fade;
    copy.fade_near = fade_near;
    copy.fade_far = fade_far;
    if (with_bounds) {
        copy.min_x = min_x, copy.min_y = min_y, copy.min_z = min_z;
        copy.max_x = max_x, copy.max_y = max_y, copy.max_z = max_z;
        copy.reset_bounds = reset_bounds;
    }
    copy.no_surfs = no_surfs;
    copy.cull_radius = cull_radius;
    copy.surf_list = surf_list;
}

std::shared_ptr<TEntity> TMesh::CopyEntity(const std::shared_ptr<TEntity>& parent) {
    auto copy = std::make_shared<TMesh>();
    CopyMeshBase(*copy, parent, true);
    return copy;
}

void TMesh::FreeEntity() {
    TEntity::FreeEntity();
    // The surfaces stay with the other meshes that share them.
    surf_list = std::make_shared<TSurfaceList>();
    no_surfs = 0;
}

} // namespace tonvella
