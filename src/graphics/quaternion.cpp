#include "graphics/quaternion.h"

#include <algorithm>
#include <cmath>

namespace DRAVGraph {

float AcosF(float value) { return std::acos(value); }

Quaternion QuaternionFromAxisAngle(float ax, float ay, float az, float angle) {
    const float s = std::sin(angle / 2.0f);
    return {ax * s, ay * s, az * s, std::cos(angle / 2.0f)};
}

Quaternion QuaternionMultiply(const Quaternion& a, const Quaternion& b) {
    return {a.w * b.x + a.x * b.w + a.y * b.z - a.z * b.y, a.w * b.y - a.x * b.z + a.y * b.w + a.z * b.x,
            a.w * b.z + a.x * b.y - a.y * b.x + a.z * b.w, a.w * b.w - a.x * b.x - a.y * b.y - a.z * b.z};
}

D3DMATRIX QuaternionToMatrix(const Quaternion& q) {
    const float x = q.x, y = q.y, z = q.z, w = q.w;
    D3DMATRIX m{};
    m._11 = 1 - 2 * (y * y + z * z);
    m._12 = 2 * (x * y + z * w);
    m._13 = 2 * (x * z - y * w);
    m._21 = 2 * (x * y - z * w);
    m._22 = 1 - 2 * (x * x + z * z);
    m._23 = 2 * (y * z + x * w);
    m._31 = 2 * (x * z + y * w);
    m._32 = 2 * (y * z - x * w);
    m._33 = 1 - 2 * (x * x + y * y);
    m._44 = 1;
    return m;
}

Quaternion QuaternionSlerp(const Quaternion& a, Quaternion b, float f, float epsilon) {
    float d = a.x * b.x + a.y * b.y + a.z * b.z + a.w * b.w;
    if (d < 0.0f) {
        b = {-b.x, -b.y, -b.z, -b.w};
        d = -d;
    }
    d = std::clamp(d, -1.0f, 1.0f);
    const float theta = AcosF(d);
    const float s = std::sin(theta);
    Quaternion q;
    if (s >= epsilon) {
        const float ka = std::sin((1.0f - f) * theta) / s, kb = std::sin(f * theta) / s;
        q = {a.x * ka + b.x * kb, a.y * ka + b.y * kb, a.z * ka + b.z * kb, a.w * ka + b.w * kb};
    } else {
        q = {a.x * (1 - f) + b.x * f, a.y * (1 - f) + b.y * f, a.z * (1 - f) + b.z * f, a.w * (1 - f) + b.w * f};
        const float length = std::sqrt(q.x * q.x + q.y * q.y + q.z * q.z + q.w * q.w);
        // Opposite quaternions were turned to meet above, so the blend never vanishes.
        q = {q.x / length, q.y / length, q.z / length, q.w / length};
    }
    return q;
}

}  // namespace DRAVGraph
