// World matrices of transform sequences against matrices composed here from the elementary
// rotations, and against positions worked out by hand.
#include "scene/Scene.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <functional>
#include <numbers>

namespace tonvella {
namespace {

using M4 = std::array<std::array<double, 4>, 4>; // [row][column]

M4 Identity() {
    M4 m{};
    for (int i = 0; i < 4; ++i)
        m[i][i] = 1;
    return m;
}

M4 Mul(const M4& a, const M4& b) {
    M4 r{};
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j)
            for (int k = 0; k < 4; ++k)
                r[i][j] += a[i][k] * b[k][j];
    return r;
}

double Rad(double deg) {
    return deg * std::numbers::pi / 180;
}

M4 T(double x, double y, double z) {
    M4 m = Identity();
    m[0][3] = x, m[1][3] = y, m[2][3] = z;
    return m;
}

M4 S(double x, double y, double z) {
    M4 m = Identity();
    m[0][0] = x, m[1][1] = y, m[2][2] = z;
    return m;
}

// Rows exactly as the elementary rotations are defined.
M4 Rx(double a) {
    const double c = std::cos(Rad(a)), s = std::sin(Rad(a));
    return M4{{{1, 0, 0, 0}, {0, c, -s, 0}, {0, s, c, 0}, {0, 0, 0, 1}}};
}

M4 Ry(double a) {
    const double c = std::cos(Rad(a)), s = std::sin(Rad(a));
    return M4{{{c, 0, s, 0}, {0, 1, 0, 0}, {-s, 0, c, 0}, {0, 0, 0, 1}}};
}

M4 Rz(double a) {
    const double c = std::cos(Rad(a)), s = std::sin(Rad(a));
    return M4{{{c, -s, 0, 0}, {s, c, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}}};
}

// The world matrix an entity must have, from its stored local values and its parent's.
M4 Expected(const TEntity& e) {
    const M4 parent = e.parent ? Expected(*e.parent) : Identity();
    return Mul(Mul(Mul(Mul(Mul(parent, T(e.px, e.py, e.pz)), Ry(e.ry)), Rx(e.rx)), Rz(e.rz)),
               S(e.sx, e.sy, e.sz));
}

void ExpectMatrix(const TMatrix& m, const M4& expected, double tolerance = 1e-4) {
    for (int col = 0; col < 4; ++col)
        for (int row = 0; row < 4; ++row)
            EXPECT_NEAR(m.grid[col][row], expected[row][col], tolerance)
                << "column " << col << " row " << row;
}

void ExpectWorld(const TEntityHandle& e, double x, double y, double z) {
    EXPECT_NEAR(EntityX(e, 1), x, 1e-4);
    EXPECT_NEAR(EntityY(e, 1), y, 1e-4);
    EXPECT_NEAR(EntityZ(e, 1), z, 1e-4);
}

TEST(SceneMatrixTest, ElementaryOperationsMultiplyOnTheRight) {
    TMatrix m;
    m.LoadIdentity();
    m.Translate(1, 2, 3);
    m.RotateYaw(30);
    m.RotatePitch(-20);
    m.RotateRoll(45);
    m.Scale(2, 3, 4);
    ExpectMatrix(m, Mul(Mul(Mul(Mul(T(1, 2, 3), Ry(30)), Rx(-20)), Rz(45)), S(2, 3, 4)));

    TMatrix r;
    r.LoadIdentity();
    r.Rotate(10, 20, 30);
    ExpectMatrix(r, Mul(Mul(Ry(20), Rx(10)), Rz(30)));

    TMatrix product;
    product.Overwrite(m);
    product.Multiply(r);
    ExpectMatrix(product, Mul(Mul(Mul(Mul(Mul(T(1, 2, 3), Ry(30)), Rx(-20)), Rz(45)), S(2, 3, 4)),
                              Mul(Mul(Ry(20), Rx(10)), Rz(30))));
}

TEST(SceneMatrixTest, NewMatrixIsZeroAndCopyIsIndependent) {
    TMatrix m;
    for (auto& column : m.grid)
        for (float v : column)
            EXPECT_EQ(v, 0.0f);
    m.LoadIdentity();
    auto copy = m.Copy();
    m.Translate(5, 0, 0);
    EXPECT_EQ(copy->grid[3][0], 0.0f);
}

TEST(SceneMatrixTest, InverseUndoesRotationAndTranslation) {
    TMatrix m;
    m.LoadIdentity();
    m.Translate(3, -4, 7);
    m.Rotate(25, -70, 140);
    TMatrix product = m.Inverse();
    product.Multiply(m);
    ExpectMatrix(product, Identity(), 1e-5);
}

struct TTransformCase {
    const char* name;
    std::function<TEntityHandle()> build; // returns the entity to inspect
    double x, y, z;                       // world position
};

TEST(SceneMatrixTest, TransformSequencesGiveHandComputedPositions) {
    const TTransformCase cases[] = {
        {"position",
         [] {
             auto e = CreatePivot();
             PositionEntity(e, 1, 2, 3);
             return TEntityHandle(e);
         },
         1, 2, 3},
        {"positive yaw turns forward to the left",
         [] {
             auto e = CreatePivot();
             RotateEntity(e, 0, 90, 0);
             MoveEntity(e, 0, 0, 1);
             return TEntityHandle(e);
         },
         -1, 0, 0},
        {"positive pitch looks down",
         [] {
             auto e = CreatePivot();
             RotateEntity(e, 30, 0, 0);
             MoveEntity(e, 0, 0, 1);
             return TEntityHandle(e);
         },
         0, -0.5, std::sqrt(3.0) / 2},
        {"positive roll leans up to the left",
         [] {
             auto e = CreatePivot();
             RotateEntity(e, 0, 0, 30);
             MoveEntity(e, 0, 1, 0);
             return TEntityHandle(e);
         },
         -0.5, std::sqrt(3.0) / 2, 0},
        {"move ignores own scale",
         [] {
             auto e = CreatePivot();
             ScaleEntity(e, 5, 5, 5);
             MoveEntity(e, 0, 0, 2);
             return TEntityHandle(e);
         },
         0, 0, 2},
        {"child of a turned parent",
         [] {
             auto p = CreatePivot();
             PositionEntity(p, 5, 0, 0);
             RotateEntity(p, 0, 90, 0);
             auto c = CreatePivot(p);
             PositionEntity(c, 0, 0, 1);
             return TEntityHandle(c);
         },
         4, 0, 0},
        {"child of a scaled parent",
         [] {
             auto p = CreatePivot();
             ScaleEntity(p, 2, 2, 2);
             auto c = CreatePivot(p);
             PositionEntity(c, 1, 0, 0);
             return TEntityHandle(c);
         },
         2, 0, 0},
        {"global translate under a turned parent",
         [] {
             auto p = CreatePivot();
             RotateEntity(p, 0, 90, 0);
             auto c = CreatePivot(p);
             TranslateEntity(c, 1, 0, 0, 1);
             return TEntityHandle(c);
         },
         1, 0, 0},
        {"local translate under a turned parent",
         [] {
             auto p = CreatePivot();
             RotateEntity(p, 0, 90, 0);
             auto c = CreatePivot(p);
             TranslateEntity(c, 1, 0, 0, 0);
             return TEntityHandle(c);
         },
         0, 0, 1},
        {"moving the parent carries the grandchild",
         [] {
             auto p = CreatePivot();
             auto c = CreatePivot(p);
             auto g = CreatePivot(c);
             PositionEntity(g, 0, 1, 0);
             PositionEntity(c, 0, 0, 2);
             TurnEntity(p, 0, -90, 0);
             PositionEntity(p, 10, 0, 0);
             return TEntityHandle(g);
         },
         12, 1, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        auto e = c.build();
        ExpectWorld(e, c.x, c.y, c.z);
        ExpectMatrix(e->mat, Expected(*e));
    }
}

TEST(SceneMatrixTest, StoredSpaceNegatesZAndPitch) {
    auto e = CreatePivot();
    PositionEntity(e, 1, 2, 3);
    EXPECT_FLOAT_EQ(e->mat.grid[3][2], -3);
    EXPECT_FLOAT_EQ(e->pz, -3);
    RotateEntity(e, 30, 0, 0);
    EXPECT_FLOAT_EQ(e->rx, -30);
    EXPECT_FLOAT_EQ(EntityPitch(e), 30);
    EXPECT_NEAR(EntityPitch(e, 1), 30, 1e-4);
    RotateEntity(e, 0.00005f, 0, 0);
    EXPECT_EQ(EntityPitch(e, 1), 0.0f);
}

TEST(SceneMatrixTest, GlobalPositionInsideATurnedParent) {
    auto p = CreatePivot();
    PositionEntity(p, 5, 0, 0);
    RotateEntity(p, 0, 90, 0);
    auto c = CreatePivot(p);
    PositionEntity(c, 0, 0, 1);
    PositionEntity(c, 0, 0, 0, 1);
    EXPECT_NEAR(EntityX(c), 0, 1e-4);
    EXPECT_NEAR(EntityY(c), 0, 1e-4);
    EXPECT_NEAR(EntityZ(c), 5, 1e-4);
    ExpectWorld(c, 0, 0, 0);

    // Any point, through a parent that is moved, turned and scaled.
    auto q = CreatePivot();
    PositionEntity(q, -3, 2, 7);
    RotateEntity(q, 20, -35, 10);
    ScaleEntity(q, 2, 2, 2);
    auto d = CreatePivot(q);
    PositionEntity(d, 4, -1, 6, 1);
    ExpectWorld(d, 4, -1, 6);
}

TEST(SceneMatrixTest, GlobalScaleAndRotationAreRelativeToTheAncestors) {
    auto p = CreatePivot();
    ScaleEntity(p, 4, 4, 4);
    auto c = CreatePivot(p);
    ScaleEntity(c, 2, 2, 2, 1);
    EXPECT_FLOAT_EQ(EntityScaleX(c), 0.5f);
    EXPECT_FLOAT_EQ(EntityScaleX(c, 1), 2.0f);

    auto q = CreatePivot();
    RotateEntity(q, 0, 30, 0);
    auto d = CreatePivot(q);
    RotateEntity(d, 0, 50, 0, 1);
    EXPECT_NEAR(EntityYaw(d), 20, 1e-4);
    EXPECT_NEAR(EntityYaw(d, 1), 50, 1e-3);
}

TEST(SceneMatrixTest, TurnAccumulatesAndIgnoresTheGlobalFlag) {
    auto a = CreatePivot();
    auto b = CreatePivot();
    for (int i = 0; i < 40; ++i) {
        TurnEntity(a, 3, 10, -2, 0);
        TurnEntity(b, 3, 10, -2, 1);
    }
    EXPECT_NEAR(EntityYaw(a), 400, 1e-3);
    EXPECT_FLOAT_EQ(EntityYaw(a), EntityYaw(b));
    for (int col = 0; col < 4; ++col)
        for (int row = 0; row < 4; ++row)
            EXPECT_EQ(a->mat.grid[col][row], b->mat.grid[col][row]);
}

TEST(SceneMatrixTest, TurnThenInverseTurnRestoresTheMatrix) {
    auto p = CreatePivot();
    PositionEntity(p, 1, 2, 3);
    auto e = CreatePivot(p);
    const TMatrix before = e->mat;
    TurnEntity(e, 33, -71, 12);
    TurnEntity(e, -33, 71, -12);
    for (int col = 0; col < 4; ++col)
        for (int row = 0; row < 4; ++row)
            EXPECT_NEAR(e->mat.grid[col][row], before.grid[col][row], 1e-6);
}

TEST(SceneMatrixTest, PointEntityAimsTheForwardAxis) {
    struct TCase {
        float tx, ty, tz, pitch, yaw;
    };
    const TCase cases[] = {
        {0, 0, 10, 0, 0}, {10, 0, 0, 0, -90}, {0, 10, 10, -45, 0}, {-5, -5, 0, 45, 90}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.tx << "," << c.ty << "," << c.tz);
        auto e = CreatePivot();
        auto target = CreatePivot();
        PositionEntity(target, c.tx, c.ty, c.tz);
        PointEntity(e, target);
        EXPECT_NEAR(EntityPitch(e), c.pitch, 1e-3);
        EXPECT_NEAR(EntityYaw(e), c.yaw, 1e-3);
        // Moving forward by the distance reaches the target.
        MoveEntity(e, 0, 0, EntityDistance(e, target));
        EXPECT_NEAR(EntityDistance(e, target), 0, 1e-3);
    }
}

TEST(SceneMatrixTest, PointEntityFromInsideAHierarchy) {
    auto p = CreatePivot();
    PositionEntity(p, 2, 0, 0);
    RotateEntity(p, 0, 40, 0);
    auto e = CreatePivot(p);
    PositionEntity(e, 0, 1, 0);
    auto target = CreatePivot();
    PositionEntity(target, 2, 1, -8);
    PointEntity(e, target);
    EXPECT_NEAR(EntityYaw(e, 1), 180, 1e-3);
    EXPECT_NEAR(EntityPitch(e, 1), 0, 1e-3);
}

} // namespace
} // namespace tonvella
