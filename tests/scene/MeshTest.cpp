// Generated geometry: tables, counts, normals, closed surfaces, whole-mesh edits and buffers.
#include "scene/Scene.h"
#include "tests/scene/FakeGpu.h"

#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <tuple>
#include <vector>

namespace tonvella {
namespace {

struct V3 {
    double x, y, z;
};

V3 Sub(V3 a, V3 b) {
    return {a.x - b.x, a.y - b.y, a.z - b.z};
}
V3 Cross(V3 a, V3 b) {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
double Dot(V3 a, V3 b) {
    return a.x * b.x + a.y * b.y + a.z * b.z;
}
double Length(V3 a) {
    return std::sqrt(Dot(a, a));
}

V3 Position(const TSurface& s, int v) {
    return {s.VertexX(v), s.VertexY(v), s.VertexZ(v)};
}
V3 Normal(const TSurface& s, int v) {
    return {s.VertexNX(v), s.VertexNY(v), s.VertexNZ(v)};
}

// Outward direction of a triangle from its corners in the order they were given (left-handed
// space; the stored, z-mirrored and reversed corners are counter-clockwise for OpenGL).
V3 FaceDirection(const TSurface& s, int t) {
    const V3 a = Position(s, s.TriangleVertex(t, 0));
    const V3 b = Position(s, s.TriangleVertex(t, 1));
    const V3 c = Position(s, s.TriangleVertex(t, 2));
    return Cross(Sub(b, a), Sub(c, a));
}

using TKey = std::tuple<long, long, long>;
TKey Key(V3 p) {
    return {std::lround(p.x * 1e4), std::lround(p.y * 1e4), std::lround(p.z * 1e4)};
}

// Every edge of the welded surfaces is used exactly once in each direction: no holes, and the
// neighbours agree on which side is outside.
void ExpectClosed(const std::vector<TSurfaceHandle>& surfaces) {
    std::map<std::pair<TKey, TKey>, int> edges;
    for (const auto& s : surfaces)
        for (int t = 0; t < s->CountTriangles(); ++t)
            for (int k = 0; k < 3; ++k) {
                const TKey a = Key(Position(*s, s->TriangleVertex(t, k)));
                const TKey b = Key(Position(*s, s->TriangleVertex(t, (k + 1) % 3)));
                ++edges[{a, b}];
            }
    for (const auto& [edge, count] : edges) {
        EXPECT_EQ(count, 1);
        auto back = edges.find({edge.second, edge.first});
        EXPECT_TRUE(back != edges.end() && back->second == 1);
    }
}

TEST(SceneMeshTest, CubeMatchesItsTable) {
    auto cube = CreateCube();
    ASSERT_EQ(CountSurfaces(cube), 1);
    EXPECT_EQ(cube->class_name, u"Mesh");
    auto s = GetSurface(cube, 1);
    ASSERT_EQ(CountVertices(s), 24);
    ASSERT_EQ(CountTriangles(s), 12);

    // Triangle order as given, stored reversed.
    EXPECT_EQ(s->TriangleVertex(0, 0), 0);
    EXPECT_EQ(s->TriangleVertex(0, 2), 2);
    EXPECT_EQ(s->tris[0], 2);
    EXPECT_EQ(s->tris[2], 0);
    EXPECT_EQ(s->TriangleVertex(4, 0), 14);
    EXPECT_EQ(s->TriangleVertex(11, 2), 20);

    for (int t = 0; t < 12; ++t) {
        SCOPED_TRACE(t);
        const V3 face = FaceDirection(*s, t);
        for (int k = 0; k < 3; ++k) {
            const int v = s->TriangleVertex(t, k);
            const V3 n = Normal(*s, v);
            // The vertex normal is the face's outward unit normal, and the vertex is on that face.
            EXPECT_NEAR(Dot(n, face) / Length(face), 1, 1e-6);
            EXPECT_NEAR(Dot(n, Position(*s, v)), 1, 1e-6);
        }
    }
    // Texture coordinates: both sets alike; every face uses the four corners of the square.
    const float expected_uv[24][2] = {{0, 1}, {0, 0}, {1, 0}, {1, 1}, {1, 1}, {1, 0},
                                      {0, 0}, {0, 1}, {0, 1}, {0, 0}, {1, 0}, {1, 1},
                                      {0, 0}, {0, 1}, {1, 1}, {1, 0}, {0, 1}, {0, 0},
                                      {1, 0}, {1, 1}, {1, 1}, {1, 0}, {0, 0}, {0, 1}};
    for (int v = 0; v < 24; ++v) {
        EXPECT_EQ(s->VertexU(v, 0), expected_uv[v][0]) << v;
        EXPECT_EQ(s->VertexV(v, 0), expected_uv[v][1]) << v;
        EXPECT_EQ(s->VertexU(v, 1), expected_uv[v][0]) << v;
        EXPECT_EQ(s->VertexV(v, 1), expected_uv[v][1]) << v;
    }
    // Stored data is mirrored in z for OpenGL.
    EXPECT_EQ(s->vert_coords[2], 1.0f); // vertex 0 has public z = -1
    EXPECT_EQ(s->vert_norm[2], 1.0f);
}

TEST(SceneMeshTest, SegmentLimits) {
    const int before = EntityList().Count();
    EXPECT_EQ(CreateSphere(1), nullptr);
    EXPECT_EQ(CreateSphere(101), nullptr);
    EXPECT_EQ(CreateCylinder(2), nullptr);
    EXPECT_EQ(CreateCylinder(101), nullptr);
    EXPECT_EQ(EntityList().Count(), before);
    for (auto mesh : {CreateSphere(2), CreateSphere(100), CreateCylinder(3), CreateCylinder(100)})
        EXPECT_NE(mesh, nullptr);
}

TEST(SceneMeshTest, OctahedronForTwoSegments) {
    auto s = GetSurface(CreateSphere(2), 1);
    ASSERT_EQ(CountVertices(s), 16);
    ASSERT_EQ(CountTriangles(s), 8);
    for (int v = 0; v < 16; ++v) {
        const float y = s->VertexY(v);
        EXPECT_TRUE(std::fabs(y) < 1e-6 || std::fabs(std::fabs(y) - 1) < 1e-6) << y;
    }
    ExpectClosed({s});
}

TEST(SceneMeshTest, SpheresAreClosedWithOutwardUnitNormals) {
    for (int n : {3, 8, 17}) {
        SCOPED_TRACE(n);
        auto sphere = CreateSphere(n);
        auto s = GetSurface(sphere, 1);
        EXPECT_EQ(CountVertices(s), 12 * n + 8 * n * (n - 2));
        EXPECT_EQ(CountTriangles(s), 4 * n + 4 * n * (n - 2));
        for (int v = 0; v < CountVertices(s); ++v) {
            const V3 p = Position(*s, v), nrm = Normal(*s, v);
            EXPECT_NEAR(Length(p), 1, 1e-5);
            EXPECT_NEAR(Length(nrm), 1, 1e-5);
            EXPECT_GT(Dot(p, nrm), 0.9);
        }
        for (int t = 0; t < CountTriangles(s); ++t)
            EXPECT_GT(Dot(FaceDirection(*s, t), Position(*s, s->TriangleVertex(t, 0))), 0);
        ExpectClosed({s});
    }
    auto s8 = GetSurface(CreateSphere(8), 1);
    EXPECT_EQ(CountVertices(s8), 480);
    EXPECT_EQ(CountTriangles(s8), 224);
}

TEST(SceneMeshTest, CylindersHaveSideAndCaps) {
    for (int n : {3, 16}) {
        SCOPED_TRACE(n);
        auto solid = CreateCylinder(n, 1);
        ASSERT_EQ(CountSurfaces(solid), 2);
        auto side = GetSurface(solid, 1), caps = GetSurface(solid, 2);
        EXPECT_EQ(CountVertices(side), 2 * (n + 1));
        EXPECT_EQ(CountTriangles(side), 2 * n);
        EXPECT_EQ(CountVertices(caps), 2 * n);
        EXPECT_EQ(CountTriangles(caps), 2 * (n - 2));
        for (int v = 0; v < CountVertices(side); ++v) {
            const V3 p = Position(*side, v), nrm = Normal(*side, v);
            EXPECT_NEAR(Length(nrm), 1, 1e-5);
            EXPECT_NEAR(nrm.y, 0, 1e-5);
            EXPECT_GT(Dot({p.x, 0, p.z}, nrm), 0.5); // faces are averaged per triangle
        }
        for (int v = 0; v < CountVertices(caps); ++v) {
            EXPECT_NEAR(caps->VertexNY(v), caps->VertexY(v), 1e-5);
            EXPECT_FLOAT_EQ(caps->VertexU(v, 1), caps->VertexU(v, 0));
        }
        ExpectClosed({side, caps});
        // The seam repeats the first position with u = 0.
        EXPECT_NEAR(side->VertexX(n), side->VertexX(0), 1e-5);
        EXPECT_NEAR(side->VertexU(n), 0, 1e-6);
        EXPECT_FLOAT_EQ(side->VertexU(0), 1);
    }
    auto c16 = CreateCylinder(16, 1);
    EXPECT_EQ(CountVertices(GetSurface(c16, 1)), 34);
    EXPECT_EQ(CountTriangles(GetSurface(c16, 2)), 28);
    for (int solid : {0, 2})
        EXPECT_EQ(CountSurfaces(CreateCylinder(16, solid)), 1);
}

TEST(SceneMeshTest, FlipMeshTurnsInsideOutAndBack) {
    auto cube = CreateCube();
    auto s = GetSurface(cube, 1);
    const auto tris = s->tris;
    const auto normals = s->vert_norm;
    const auto coords = s->vert_coords;
    s->reset_vbo = 0;
    FlipMesh(cube);
    EXPECT_EQ(s->reset_vbo, VBO_NORMALS | VBO_TRIANGLES);
    for (int t = 0; t < CountTriangles(s); ++t) {
        EXPECT_EQ(s->tris[t * 3], tris[t * 3 + 2]);
        EXPECT_EQ(s->tris[t * 3 + 1], tris[t * 3 + 1]);
        EXPECT_EQ(s->tris[t * 3 + 2], tris[t * 3]);
        EXPECT_LT(Dot(FaceDirection(*s, t), Position(*s, s->TriangleVertex(t, 0))), 0);
    }
    for (int v = 0; v < CountVertices(s); ++v)
        EXPECT_NEAR(Dot(Normal(*s, v), Position(*s, v)), -1, 1e-6);
    FlipMesh(cube);
    EXPECT_EQ(s->tris, tris);
    EXPECT_EQ(s->vert_norm, normals);
    EXPECT_EQ(s->vert_coords, coords);
}

TEST(SceneMeshTest, ScaleMeshBoundsAndSharedGeometry) {
    auto cube = CreateCube();
    HideEntity(cube);
    auto copy = std::static_pointer_cast<TMesh>(CopyEntity(cube));
    EXPECT_EQ(Hidden(copy), 0);
    EXPECT_EQ(copy->surf_list, cube->surf_list);

    const auto normals = GetSurface(cube, 1)->vert_norm;
    ScaleMesh(copy, 2, 1, 1);
    cube->GetBounds();
    EXPECT_FLOAT_EQ(cube->min_x, -2);
    EXPECT_FLOAT_EQ(cube->max_x, 2);
    EXPECT_FLOAT_EQ(cube->min_z, -1);
    EXPECT_FLOAT_EQ(cube->max_z, 1);
    EXPECT_NEAR(cube->cull_radius, 2 * std::sqrt(3.0), 1e-5);
    EXPECT_EQ(GetSurface(cube, 1)->vert_norm, normals);
    copy->GetBounds();
    EXPECT_FLOAT_EQ(copy->max_x, 2);

    EntityColor(copy, 0, 0, 0);
    EXPECT_FLOAT_EQ(cube->brush.red, 1);
    EXPECT_FLOAT_EQ(copy->brush.red, 0);

    // Freeing one sharer leaves the geometry to the other.
    FreeEntity(copy);
    EXPECT_EQ(CountVertices(GetSurface(cube, 1)), 24);

    auto empty = CreateMesh();
    CreateSurface(empty);
    empty->GetBounds();
    EXPECT_FLOAT_EQ(empty->min_y, 1e9f);
    EXPECT_FLOAT_EQ(empty->max_y, -1e9f);
}

TEST(SceneMeshTest, MeshCopyTakesTheBrushAndSharesTextures) {
    auto cube = CreateCube();
    auto child = CreateCube(cube);
    PositionEntity(child, 0, 3, 0);
    auto tex = std::make_shared<TTexture>();
    EntityTexture(cube, tex);
    EntityAlpha(cube, 0.5f);
    auto copy = std::static_pointer_cast<TMesh>(CopyEntity(cube));
    EXPECT_EQ(copy->brush.tex[0], tex);
    EXPECT_FLOAT_EQ(copy->brush.alpha, 0.5f);
    ASSERT_EQ(copy->child_list.Count(), 1);
    auto copied_child = std::static_pointer_cast<TMesh>(copy->child_list.First());
    EXPECT_EQ(copied_child->surf_list, child->surf_list);
    EXPECT_NEAR(EntityY(copied_child, 1), 3, 1e-6);
    EXPECT_EQ(copied_child->class_name, u"Mesh");
}

TEST(SceneMeshTest, SurfaceBuildingAndGrowth) {
    auto mesh = CreateMesh();
    auto brush = CreateBrush(0, 255, 0);
    auto s = CreateSurface(mesh, brush);
    BrushColor(brush, 255, 0, 0);
    EXPECT_FLOAT_EQ(s->brush.green, 1); // the surface keeps its own copy
    EXPECT_EQ(AddVertex(s, 0, 0, 0), 0);
    EXPECT_EQ(AddTriangle(s, 0, 0, 0), 1);
    for (int i = 1; i < 1000; ++i)
        EXPECT_EQ(AddVertex(s, float(i), -float(i), float(2 * i), 0.5f, 0.25f), i);
    EXPECT_EQ(s->vert_array_size, 1024);
    for (int i : {1, 511, 512, 999}) {
        EXPECT_FLOAT_EQ(s->VertexX(i), float(i));
        EXPECT_FLOAT_EQ(s->VertexZ(i), float(2 * i));
        EXPECT_FLOAT_EQ(s->VertexU(i, 0), 0.5f);
        EXPECT_FLOAT_EQ(s->VertexU(i, 1), 0.0f);
        EXPECT_FLOAT_EQ(s->vert_col[std::size_t(i) * 4 + 3], 1.0f);
    }
    // Writers ignore vertices that do not exist instead of writing past the arrays.
    VertexNormal(s, 5000, 1, 0, 0);
    VertexTexCoords(s, -1, 1, 1);
    VertexTexCoords(s, 3, 1, 1, 0, 2);
    EXPECT_FLOAT_EQ(s->VertexU(3, 0), 0.5f);
    EXPECT_EQ(GetSurface(mesh, 0), nullptr);
    EXPECT_EQ(GetSurface(mesh, 2), nullptr);
}

TEST(SceneMeshTest, UpdateNormalsWeldsByPosition) {
    auto mesh = CreateMesh();
    auto s = CreateSurface(mesh);
    // Two triangles of a fold sharing an edge through separate vertices, and one degenerate.
    AddVertex(s, 0, 0, 0);
    AddVertex(s, 1, 0, 0);
    AddVertex(s, 0, 1, 0);
    AddVertex(s, 0, 0, 0);
    AddVertex(s, 0, 1, 0);
    AddVertex(s, 0, 0, 1);
    AddVertex(s, 5, 5, 5);
    AddVertex(s, 9, 9, 9);
    AddTriangle(s, 0, 1, 2);
    AddTriangle(s, 3, 4, 5);
    AddTriangle(s, 6, 6, 6);
    UpdateNormals(mesh);
    // The shared edge averages the two faces; unshared corners keep their face's normal.
    EXPECT_NEAR(Dot(Normal(*s, 0), Normal(*s, 3)), 1, 1e-6);
    EXPECT_NEAR(Length(Normal(*s, 0)), 1, 1e-6);
    EXPECT_NEAR(std::fabs(s->VertexNZ(1)), 1, 1e-6);
    EXPECT_NEAR(std::fabs(s->VertexNX(5)), 1, 1e-6);
    for (int v : {6, 7}) { // degenerate or unused: no direction, and no NaN
        EXPECT_EQ(Length(Normal(*s, v)), 0.0);
    }
}

TEST(SceneMeshTest, BuffersAreUploadedByBitsAndForgottenAfterDeletion) {
    TFakeGpu gpu;
    auto s = GetSurface(CreateSphere(8), 1);
    s->UpdateVBO();
    EXPECT_EQ(s->reset_vbo, 0);
    ASSERT_NE(s->vbo_id[0], 0u);
    EXPECT_EQ(gpu.buffer_bytes[s->vbo_id[0]], std::size_t(480 * 12));
    EXPECT_EQ(gpu.buffer_bytes[s->vbo_id[4]], std::size_t(480 * 16));
    EXPECT_EQ(gpu.buffer_bytes[s->vbo_id[5]], std::size_t(224 * 6));

    gpu.buffer_bytes.clear();
    VertexNormal(s, 0, 0, 1, 0);
    s->UpdateVBO();
    EXPECT_EQ(gpu.buffer_bytes.size(), 1u);
    EXPECT_TRUE(gpu.buffer_bytes.count(s->vbo_id[3]));

    s->FreeVBO();
    EXPECT_EQ(gpu.deleted.size(), 6u);
    for (unsigned id : s->vbo_id)
        EXPECT_EQ(id, 0u);
    s->FreeVBO(); // nothing left to delete
    EXPECT_EQ(gpu.deleted.size(), 6u);
    s->UpdateVBO(); // new names, every array again
    EXPECT_EQ(gpu.buffer_bytes[s->vbo_id[0]], std::size_t(480 * 12));
    EXPECT_EQ(gpu.live_buffers.size(), 6u);
    {
        auto temporary = std::make_shared<TSurface>();
        temporary->AddVertex(0, 0, 0);
        temporary->UpdateVBO();
    } // destroying a surface deletes its buffers
    EXPECT_EQ(gpu.live_buffers.size(), 6u);
    EXPECT_EQ(gpu.deleting_dead, 0);
}

} // namespace
} // namespace tonvella
