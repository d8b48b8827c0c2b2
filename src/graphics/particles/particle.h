#pragma once
// What every particle of one emitter shares, and one live particle.

#include <cstdint>
#include <memory>

#include "platform/d3d9/d3d9_types.h"

namespace DRAVGraph {

struct CParticleParams {
    std::int32_t cell = 0;  // atlas cell of the image
    double lifetime = 0;    // seconds
    double riseAcceleration = 0;
    double startSize = 0;  // edge of the square billboard at birth
    double endSize = 0;    // and at the end of life
    D3DCOLOR startColour = 0;
    D3DCOLOR endColour = 0;
};

struct CParticle {
    std::shared_ptr<const CParticleParams> params;
    float x = 0, y = 0, z = 0;
    float vx = 0, vy = 0, vz = 0;  // units per second
    double birthTime = 0;
    double lastUpdateTime = 0;
    float depth = 0;  // sort key of the current render
};

}  // namespace DRAVGraph
