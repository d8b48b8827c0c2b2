#include "graphics/matrix.h"

#include <cmath>

namespace DRAVGraph {

void Mat4Identity(D3DMATRIX& out) {
    out = D3DMATRIX{};
    out._11 = out._22 = out._33 = out._44 = 1.0f;
}

D3DMATRIX Mat4Identity() {
    D3DMATRIX m;
    Mat4Identity(m);
    return m;
}

void Mat4Copy(D3DMATRIX& out, const D3DMATRIX& in) {
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c) out(r, c) = in(r, c);
}

void Mat4Multiply(D3DMATRIX& out, const D3DMATRIX& a, const D3DMATRIX& b) {
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j)
            out(i, j) = a(i, 0) * b(0, j) + a(i, 1) * b(1, j) + a(i, 2) * b(2, j) + a(i, 3) * b(3, j);
}

void MatrixMultiplyInPlace(D3DMATRIX& matrix, const D3DMATRIX& other) {
    D3DMATRIX product;
    Mat4Multiply(product, matrix, other);
    matrix = product;
}

void Mat4Inverse(D3DMATRIX& out, const D3DMATRIX& m) {
    // 2x2 minors of rows 1-2 (s) and of rows 3-4 (c), then the adjugate.
    const float s0 = m(0, 0) * m(1, 1) - m(1, 0) * m(0, 1);
    const float s1 = m(0, 0) * m(1, 2) - m(1, 0) * m(0, 2);
    const float s2 = m(0, 0) * m(1, 3) - m(1, 0) * m(0, 3);
    const float s3 = m(0, 1) * m(1, 2) - m(1, 1) * m(0, 2);
    const float s4 = m(0, 1) * m(1, 3) - m(1, 1) * m(0, 3);
    const float s5 = m(0, 2) * m(1, 3) - m(1, 2) * m(0, 3);
    const float c5 = m(2, 2) * m(3, 3) - m(3, 2) * m(2, 3);
    const float c4 = m(2, 1) * m(3, 3) - m(3, 1) * m(2, 3);
    const float c3 = m(2, 1) * m(3, 2) - m(3, 1) * m(2, 2);
    const float c2 = m(2, 0) * m(3, 3) - m(3, 0) * m(2, 3);
    const float c1 = m(2, 0) * m(3, 2) - m(3, 0) * m(2, 2);
    const float c0 = m(2, 0) * m(3, 1) - m(3, 0) * m(2, 1);
    const float inv = 1.0f / (s0 * c5 - s1 * c4 + s2 * c3 + s3 * c2 - s4 * c1 + s5 * c0);

    out(0, 0) = (m(1, 1) * c5 - m(1, 2) * c4 + m(1, 3) * c3) * inv;
    out(0, 1) = (-m(0, 1) * c5 + m(0, 2) * c4 - m(0, 3) * c3) * inv;
    out(0, 2) = (m(3, 1) * s5 - m(3, 2) * s4 + m(3, 3) * s3) * inv;
    out(0, 3) = (-m(2, 1) * s5 + m(2, 2) * s4 - m(2, 3) * s3) * inv;
    out(1, 0) = (-m(1, 0) * c5 + m(1, 2) * c2 - m(1, 3) * c1) * inv;
    out(1, 1) = (m(0, 0) * c5 - m(0, 2) * c2 + m(0, 3) * c1) * inv;
    out(1, 2) = (-m(3, 0) * s5 + m(3, 2) * s2 - m(3, 3) * s1) * inv;
    out(1, 3) = (m(2, 0) * s5 - m(2, 2) * s2 + m(2, 3) * s1) * inv;
    out(2, 0) = (m(1, 0) * c4 - m(1, 1) * c2 + m(1, 3) * c0) * inv;
    out(2, 1) = (-m(0, 0) * c4 + m(0, 1) * c2 - m(0, 3) * c0) * inv;
    out(2, 2) = (m(3, 0) * s4 - m(3, 1) * s2 + m(3, 3) * s0) * inv;
    out(2, 3) = (-m(2, 0) * s4 + m(2, 1) * s2 - m(2, 3) * s0) * inv;
    out(3, 0) = (-m(1, 0) * c3 + m(1, 1) * c1 - m(1, 2) * c0) * inv;
    out(3, 1) = (m(0, 0) * c3 - m(0, 1) * c1 + m(0, 2) * c0) * inv;
    out(3, 2) = (-m(3, 0) * s3 + m(3, 1) * s1 - m(3, 2) * s0) * inv;
    out(3, 3) = (m(2, 0) * s3 - m(2, 1) * s1 + m(2, 2) * s0) * inv;
}

void Mat4Perspective(D3DMATRIX& out, float fovY, float aspect, float zNear, float zFar) {
    const float h = 2.0f * zNear * static_cast<float>(std::tan(static_cast<double>(fovY) / 2.0));
    const float w = h * aspect;
    const float top = h / 2.0f;
    const float bottom = -top;
    const float right = w / 2.0f;
    const float left = -right;
    Mat4Identity(out);
    out._11 = 2.0f * zNear / (right - left);
    out._22 = 2.0f * zNear / (top - bottom);
    out._31 = (left + right) / (right - left);
    out._32 = (top + bottom) / (top - bottom);
    out._33 = zFar / (zNear - zFar);
    out._34 = -1.0f;
    out._43 = zNear * zFar / (zNear - zFar);
    out._44 = 0.0f;
}

namespace {

void Normalise(float v[3]) {
    const float length = std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]);
    for (int i = 0; i < 3; ++i) v[i] /= length;
}

void Cross(float out[3], const float a[3], const float b[3]) {
    out[0] = a[1] * b[2] - a[2] * b[1];
    out[1] = a[2] * b[0] - a[0] * b[2];
    out[2] = a[0] * b[1] - a[1] * b[0];
}

float Dot(const float a[3], const float b[3]) { return a[0] * b[0] + a[1] * b[1] + a[2] * b[2]; }

}  // namespace

void Mat4LookAt(D3DMATRIX& out, const float eye[3], const float target[3], const float up[3]) {
    float z[3] = {eye[0] - target[0], eye[1] - target[1], eye[2] - target[2]};
    Normalise(z);
    float x[3];
    Cross(x, up, z);
    Normalise(x);
    float y[3];
    Cross(y, z, x);
    Mat4Identity(out);
    for (int row = 0; row < 3; ++row) {
        out(row, 0) = x[row];
        out(row, 1) = y[row];
        out(row, 2) = z[row];
    }
    out._41 = -Dot(x, eye);
    out._42 = -Dot(y, eye);
    out._43 = -Dot(z, eye);
}

}  // namespace DRAVGraph
