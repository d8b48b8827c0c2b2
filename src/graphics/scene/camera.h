#pragma once
// What the application says about the view of one frame: where the camera looks,
// from how far and at what angles, and what the player points at.

#include <cstdint>

#include "platform/win32/windef.h"

namespace DRAVGraph {

struct CCamera {
    // The device's viewport rectangle, owned by the caller.
    const RECT* viewport = nullptr;
    // The point looked at (x, y, z), owned by the caller.
    const float* lookAt = nullptr;
    float distance = 350.0f;
    float fieldOfView = 0.19634955f;  // pi / 16, radians
    float yaw = 330.0f;               // degrees
    float pitch = 32.5f;              // degrees
    // Rings every actor and container, not only the selected and hovered ones.
    bool showAll = false;
    std::uint32_t hoveredId = 0;
};

}  // namespace DRAVGraph
