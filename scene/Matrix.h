// 4x4 float matrix acting on column vectors, stored the way OpenGL reads it: grid[i][j] is column
// i, row j, and grid[3][0..2] is the translation.
#pragma once

#include <memory>

namespace tonvella {

// Trigonometry of the engine: degrees in, degrees out, evaluated in double precision.
double SinDeg(double degrees);
double CosDeg(double degrees);
double Atan2Deg(double y, double x);

class TMatrix {
public:
    float grid[4][4] = {}; // zeros, not the identity: owners load or overwrite before use

    void LoadIdentity();
    void Overwrite(const TMatrix& other);
    std::shared_ptr<TMatrix> Copy() const;
    // The following multiply on the right: M <- M * X.
    void Translate(float x, float y, float z);
    void Scale(float x, float y, float z);
    void RotatePitch(float a);
    void RotateYaw(float a);
    void RotateRoll(float a);
    void Rotate(float rx, float ry, float rz); // M * Ry(ry) * Rx(rx) * Rz(rz)
    void Multiply(const TMatrix& n);           // rows 0..2 of M * N; row 3 of M stays
    // Inverse of a rotation-and-translation matrix (not valid when it carries scale).
    TMatrix Inverse() const;
};

} // namespace tonvella
