#pragma once
// An axis-aligned box grown point by point: the room a mesh or a whole figure takes.

#include <algorithm>
#include <array>
#include <limits>

#include "platform/d3d9/d3d9_types.h"

namespace DRAVGraph {

struct BoundingBox {
    std::array<float, 3> low{std::numeric_limits<float>::infinity(), std::numeric_limits<float>::infinity(),
                             std::numeric_limits<float>::infinity()};
    std::array<float, 3> high{-std::numeric_limits<float>::infinity(), -std::numeric_limits<float>::infinity(),
                              -std::numeric_limits<float>::infinity()};

    // True until a point is added.
    bool IsEmpty() const { return !(low[0] <= high[0] && low[1] <= high[1] && low[2] <= high[2]); }

    void Add(float x, float y, float z) {
        const float point[3] = {x, y, z};
        for (int axis = 0; axis < 3; ++axis) {
            low[axis] = std::min(low[axis], point[axis]);
            high[axis] = std::max(high[axis], point[axis]);
        }
    }

    // The eight corners of `box` under the row-vector transform `m`; nothing for an empty box.
    void AddTransformed(const BoundingBox& box, const D3DMATRIX& m) {
        if (box.IsEmpty()) return;
        for (int corner = 0; corner < 8; ++corner) {
            const float x = (corner & 1) ? box.high[0] : box.low[0];
            const float y = (corner & 2) ? box.high[1] : box.low[1];
            const float z = (corner & 4) ? box.high[2] : box.low[2];
            Add(x * m._11 + y * m._21 + z * m._31 + m._41, x * m._12 + y * m._22 + z * m._32 + m._42,
                x * m._13 + y * m._23 + z * m._33 + m._43);
        }
    }
};

}  // namespace DRAVGraph
