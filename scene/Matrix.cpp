#include "scene/Matrix.h"

#include <cmath>
#include <numbers>

namespace tonvella {

double SinDeg(double degrees) {
    return std::sin(degrees * std::numbers::pi / 180.0);
}

double CosDeg(double degrees) {
    return std::cos(degrees * std::numbers::pi / 180.0);
}

double Atan2Deg(double y, double x) {
    return std::atan2(y, x) * 180.0 / std::numbers::pi;
}

namespace {

// M <- M * R where R is a rotation in the plane of columns p and q:
// new column p = c*p + s*q, new column q = -s*p + c*q (s already carries the sign of the axis).
void RotateColumns(TMatrix& m, int p, int q, double c, double s) {
    for (int row = 0; row < 4; ++row) {
        const double a = m.grid[p][row];
        const double b = m.grid[q][row];
        m.grid[p][row] = float(c * a + s * b);
        m.grid[q][row] = float(-s * a + c * b);
    }
}

} // namespace

void TMatrix::LoadIdentity() {
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j)
            grid[i][j] = i == j ? 1.0f : 0.0f;
}

void TMatrix::Overwrite(const TMatrix& other) {
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j)
            grid[i][j] = other.grid[i][j];
}

std::shared_ptr<TMatrix> TMatrix::Copy() const {
    auto copy = std::make_shared<TMatrix>();
    copy->Overwrite(*this);
    return copy;
}

void TMatrix::Translate(float x, float y, float z) {
    for (int row = 0; row < 4; ++row)
        grid[3][row] += x * grid[0][row] + y * grid[1][row] + z * grid[2][row];
}

void TMatrix::Scale(float x, float y, float z) {
    for (int row = 0; row < 4; ++row) {
        grid[0][row] *= x;
        grid[1][row] *= y;
        grid[2][row] *= z;
    }
}

// Rx(a) has rows (1,0,0), (0,c,-s), (0,s,c): its column 1 is (0,c,s), column 2 is (0,-s,c).
void TMatrix::RotatePitch(float a) {
    RotateColumns(*this, 1, 2, CosDeg(a), SinDeg(a));
}

// Ry(a) has rows (c,0,s), (0,1,0), (-s,0,c): column 0 is (c,0,-s), column 2 is (s,0,c).
void TMatrix::RotateYaw(float a) {
    RotateColumns(*this, 0, 2, CosDeg(a), -SinDeg(a));
}

// Rz(a) has rows (c,-s,0), (s,c,0), (0,0,1): column 0 is (c,s,0), column 1 is (-s,c,0).
void TMatrix::RotateRoll(float a) {
    RotateColumns(*this, 0, 1, CosDeg(a), SinDeg(a));
}

void TMatrix::Rotate(float rx, float ry, float rz) {
    RotateYaw(ry);
    RotatePitch(rx);
    RotateRoll(rz);
}

void TMatrix::Multiply(const TMatrix& n) {
    float result[4][3];
    for (int col = 0; col < 4; ++col)
        for (int row = 0; row < 3; ++row) {
            double sum = 0;
            for (int k = 0; k < 4; ++k)
                sum += double(grid[k][row]) * n.grid[col][k];
            result[col][row] = float(sum);
        }
    for (int col = 0; col < 4; ++col)
        for (int row = 0; row < 3; ++row)
            grid[col][row] = result[col][row];
}

TMatrix TMatrix::Inverse() const {
    TMatrix inv;
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j)
            inv.grid[i][j] = grid[j][i];
    for (int row = 0; row < 3; ++row) {
        double t = 0;
        for (int k = 0; k < 3; ++k)
            t += double(inv.grid[k][row]) * grid[3][k];
        inv.grid[3][row] = float(-t);
    }
    inv.grid[0][3] = inv.grid[1][3] = inv.grid[2][3] = 0;
    inv.grid[3][3] = 1;
    return inv;
}

} // namespace tonvella
