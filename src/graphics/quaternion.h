#pragma once
// Rotations of figure pieces as unit quaternions, in single precision.

#include "platform/d3d9/d3d9_types.h"

namespace DRAVGraph {

struct Quaternion {
    float x = 0.0f, y = 0.0f, z = 0.0f, w = 1.0f;
};

float AcosF(float value);

// Angle in radians about the axis as given (not normalised).
Quaternion QuaternionFromAxisAngle(float ax, float ay, float az, float angle);

// The Hamilton product a * b.
Quaternion QuaternionMultiply(const Quaternion& a, const Quaternion& b);

// The rotation matrix for row vectors.
D3DMATRIX QuaternionToMatrix(const Quaternion& q);

// Spherical interpolation along the shorter arc; below `epsilon` of arc sine the two
// are blended linearly and renormalised.
Quaternion QuaternionSlerp(const Quaternion& a, Quaternion b, float f, float epsilon);

}  // namespace DRAVGraph
