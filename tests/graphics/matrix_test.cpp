#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "graphics/matrix.h"

namespace {

using namespace DRAVGraph;

TEST(Matrix, PerspectiveMapsNearToZeroAndFarToOne) {
    D3DMATRIX m;
    Mat4Perspective(m, static_cast<float>(M_PI / 2), 1.0f, 1.0f, 3.0f);
    EXPECT_FLOAT_EQ(m._11, 1.0f);
    EXPECT_FLOAT_EQ(m._22, 1.0f);
    EXPECT_FLOAT_EQ(m._33, -1.5f);
    EXPECT_FLOAT_EQ(m._43, -1.5f);
    EXPECT_FLOAT_EQ(m._34, -1.0f);
    EXPECT_FLOAT_EQ(m._44, 0.0f);
    // z = -near and z = -far as row vectors (0, 0, z, 1).
    for (float z : {-1.0f, -3.0f}) {
        const float depth = (z * m._33 + m._43) / (z * m._34 + m._44);
        EXPECT_NEAR(depth, z == -1.0f ? 0.0f : 1.0f, 1e-6f);
    }
}

TEST(Matrix, LookAtAlongMinusZIsATranslation) {
    const float eye[3] = {0, 0, 10}, target[3] = {0, 0, 0}, up[3] = {0, 1, 0};
    D3DMATRIX m;
    Mat4LookAt(m, eye, target, up);
    const D3DMATRIX identity = Mat4Identity();
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 4; ++c) EXPECT_FLOAT_EQ(m(r, c), identity(r, c));
    EXPECT_FLOAT_EQ(m._43, -10.0f);
    // A camera looking down from above puts the world's +x to the right and -z up the screen.
    const float high[3] = {0, 10, 0}, north[3] = {0, 0, -1};
    Mat4LookAt(m, high, target, north);
    EXPECT_NEAR(m._11, 1.0f, 1e-6f);  // world x -> view x
    EXPECT_NEAR(m._32, -1.0f, 1e-6f);  // world z -> view -y
}

TEST(Matrix, ProductAppliesTheLeftMatrixFirstAndInverseUndoesIt) {
    D3DMATRIX translate = Mat4Identity(), scale = Mat4Identity(), both, inverse, round;
    translate._41 = 5.0f;
    scale._11 = 2.0f;
    Mat4Multiply(both, translate, scale);
    EXPECT_FLOAT_EQ(both._41, 10.0f);  // translated, then scaled
    const float eye[3] = {3, 7, -2}, target[3] = {1, 0, 4}, up[3] = {0, 1, 0};
    D3DMATRIX view, product;
    Mat4LookAt(view, eye, target, up);
    Mat4Multiply(product, view, both);
    Mat4Inverse(inverse, product);
    Mat4Multiply(round, product, inverse);
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c) EXPECT_NEAR(round(r, c), r == c ? 1.0f : 0.0f, 1e-5f);
    Mat4Copy(round, product);
    EXPECT_EQ(std::memcmp(&round, &product, sizeof round), 0);
}

}  // namespace
