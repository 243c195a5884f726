// The primitive generators. Vertex and triangle order are part of the contract (texture
// coordinates and the game's geometry depend on them).
#include "scene/Mesh.h"

namespace tonvella {

namespace {

struct TCubeVertex {
    float x, y, z, nx, ny, nz, u, v;
};

constexpr TCubeVertex kCubeVertices[24] = {
    {-1, -1, -1, 0, 0, -1, 0, 1}, {-1, 1, -1, 0, 0, -1, 0, 0}, {1, 1, -1, 0, 0, -1, 1, 0},
    {1, -1, -1, 0, 0, -1, 1, 1},  {-1, -1, 1, 0, 0, 1, 1, 1},  {-1, 1, 1, 0, 0, 1, 1, 0},
    {1, 1, 1, 0, 0, 1, 0, 0},     {1, -1, 1, 0, 0, 1, 0, 1},   {-1, -1, 1, 0, -1, 0, 0, 1},
    {-1, 1, 1, 0, 1, 0, 0, 0},    {1, 1, 1, 0, 1, 0, 1, 0},    {1, -1, 1, 0, -1, 0, 1, 1},
    {-1, -1, -1, 0, -1, 0, 0, 0}, {-1, 1, -1, 0, 1, 0, 0, 1},  {1, 1, -1, 0, 1, 0, 1, 1},
    {1, -1, -1, 0, -1, 0, 1, 0},  {-1, -1, 1, -1, 0, 0, 0, 1}, {-1, 1, 1, -1, 0, 0, 0, 0},
    {1, 1, 1, 1, 0, 0, 1, 0},     {1, -1, 1, 1, 0, 0, 1, 1},   {-1, -1, -1, -1, 0, 0, 1, 1},
    {-1, 1, -1, -1, 0, 0, 1, 0},  {1, 1, -1, 1, 0, 0, 0, 0},   {1, -1, -1, 1, 0, 0, 0, 1},
};

constexpr int kCubeTriangles[12][3] = {
    {0, 1, 2},    {0, 2, 3},    // front (z = -1)
    {6, 5, 4},    {7, 6, 4},    // back (z = 1)
    {14, 13, 9},  {10, 14, 9},  // top
    {8, 12, 15},  {8, 15, 11},  // bottom
    {22, 18, 19}, {23, 22, 19}, // right (x = 1)
    {16, 17, 21}, {16, 21, 20}, // left (x = -1)
};

// A vertex whose texture coordinates go to both sets.
int AddVertexBothSets(TSurface& s, double x, double y, double z, double u, double v) {
    const int i = s.AddVertex(float(x), float(y), float(z), float(u), float(v));
    s.VertexTexCoords(i, float(u), float(v), 0, 1);
    return i;
}

int AddVertex(TSurface& s, double x, double y, double z, double u, double v) {
    return s.AddVertex(float(x), float(y), float(z), float(u), float(v));
}

void BuildOctahedron(TSurface& s) {
    const double d = 90, du = 0.25;
    double u = 1, a = 90;
    for (int k = 0; k < 4; ++k) {
        const int top = AddVertex(s, 0, 1, 0, u - du / 2, 0);
        const int bottom = AddVertex(s, 0, -1, 0, u - du / 2, 1);
        const int p1 = AddVertex(s, -CosDeg(a), 0, SinDeg(a), u, 0.5);
        a += d;
        if (a >= 360) a -= 360;
        u -= du;
        const int p2 = AddVertex(s, -CosDeg(a), 0, SinDeg(a), u, 0.5);
        s.AddTriangle(top, p1, p2);
        s.AddTriangle(p2, p1, bottom);
    }
}

void BuildSphere(TSurface& s, int n) {
    const double d = 360.0 / (2 * n), du = 1.0 / (2 * n), dv = 1.0 / n;
    // The polar caps; every cap triangle has its own pole vertex.
    double u = 1, a = 90;
    const double y = CosDeg(d), r = SinDeg(d);
    for (int k = 0; k < 2 * n; ++k) {
        const int top = AddVertex(s, 0, 1, 0, u - du / 2, 0);
        const int bottom = AddVertex(s, 0, -1, 0, u - du / 2, 1);
        const int p1 = AddVertex(s, -CosDeg(a) * r, y, SinDeg(a) * r, u, dv);
        const int q1 = AddVertex(s, -CosDeg(a) * r, -y, SinDeg(a) * r, u, 1 - dv);
        a += d;
        u -= du;
        const int p2 = AddVertex(s, -CosDeg(a) * r, y, SinDeg(a) * r, u, dv);
        const int q2 = AddVertex(s, -CosDeg(a) * r, -y, SinDeg(a) * r, u, 1 - dv);
        s.AddTriangle(top, p1, p2);
        s.AddTriangle(q2, q1, bottom);
    }
    // The bands between the caps, one column at a time.
    u = 1, a = 90;
    for (int k = 0; k < 2 * n; ++k) {
        double v = dv;
        for (int m = 1; m <= n - 2; ++m) {
            const double r1 = SinDeg(d * m), y1 = CosDeg(d * m);
            const double r2 = SinDeg(d * (m + 1)), y2 = CosDeg(d * (m + 1));
            const double a2 = a + d, u2 = u - du;
            const int va = AddVertexBothSets(s, -CosDeg(a) * r1, y1, SinDeg(a) * r1, u, v);
            const int vb = AddVertexBothSets(s, -CosDeg(a) * r2, y2, SinDeg(a) * r2, u, v + dv);
            const int vc = AddVertexBothSets(s, -CosDeg(a2) * r1, y1, SinDeg(a2) * r1, u2, v);
            const int vd = AddVertexBothSets(s, -CosDeg(a2) * r2, y2, SinDeg(a2) * r2, u2, v + dv);
            s.AddTriangle(vc, va, vb);
            s.AddTriangle(vd, vc, vb);
            v += dv;
        }
        u -= du;
        a += d;
    }
}

void BuildCylinderCaps(TSurface& s, int n) {
    const double d = 360.0 / n;
    double a = 90;
    auto rim = [&](double y) {
        const double x = -CosDeg(a), z = SinDeg(a);
        return AddVertexBothSets(s, x, y, z, x / 2 + 0.5, z / 2 + 0.5);
    };
    const int t0 = rim(1), b0 = rim(-1);
    a += d;
    int t1 = rim(1), b1 = rim(-1);
    for (int k = 0; k < n - 2; ++k) {
        a += d;
        const int t2 = rim(1), b2 = rim(-1);
        s.AddTriangle(t0, t1, t2);
        s.AddTriangle(b2, b1, b0);
        t1 = t2;
        b1 = b2;
    }
}

void BuildCylinderSide(TSurface& s, int n) {
    const double d = 360.0 / n, du = 1.0 / n;
    // Two rings of n + 1 vertices; the last repeats the first with u = 0 (the texture seam).
    for (double y : {1.0, -1.0}) {
        double a = 90, u = 1;
        const double v = y > 0 ? 0 : 1;
        AddVertexBothSets(s, -CosDeg(a), y, SinDeg(a), u, v);
        for (int i = 1; i <= n; ++i) {
            a += d;
            u -= du;
            AddVertexBothSets(s, -CosDeg(a), y, SinDeg(a), u, v);
        }
    }
    const int q = n + 1; // first index of the bottom ring
    for (int i = 1; i <= n; ++i) {
        s.AddTriangle(i, i - 1, q + i - 1);
        s.AddTriangle(q + i, i, q + i - 1);
    }
}

} // namespace

std::shared_ptr<TMesh> TMesh::CreateCube(const std::shared_ptr<TEntity>& parent) {
    auto mesh = CreateMesh(parent);
    auto s = mesh->CreateSurface();
    for (const TCubeVertex& c : kCubeVertices) {
        const int i = s->AddVertex(c.x, c.y, c.z, 0, 0);
        s->VertexNormal(i, c.nx, c.ny, c.nz);
        s->VertexTexCoords(i, c.u, c.v, 0, 0);
        s->VertexTexCoords(i, c.u, c.v, 0, 1);
    }
    for (const auto& t : kCubeTriangles)
        s->AddTriangle(t[0], t[1], t[2]);
    return mesh;
}

std::shared_ptr<TMesh> TMesh::CreateSphere(int segments, const std::shared_ptr<TEntity>& parent) {
    if (segments < 2 || segments > 100) return nullptr;
    auto mesh = CreateMesh(parent);
    auto s = mesh->CreateSurface();
    if (segments == 2)
        BuildOctahedron(*s);
    else
        BuildSphere(*s, segments);
    mesh->UpdateNormals();
    return mesh;
}

std::shared_ptr<TMesh> TMesh::CreateCylinder(int segments, int solid,
                                             const std::shared_ptr<TEntity>& parent) {
    if (segments < 3 || segments > 100) return nullptr;
    auto mesh = CreateMesh(parent);
    auto side = mesh->CreateSurface();
    if (solid == 1) BuildCylinderCaps(*mesh->CreateSurface(), segments);
    BuildCylinderSide(*side, segments);
    mesh->UpdateNormals();
    return mesh;
}

} // namespace tonvella
