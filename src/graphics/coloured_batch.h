#pragma once
// The per-frame batches of coloured vertices (the billboards, the ground markers):
// one mesh of one part with a white material, drawn unlit in world space and
// released at once.

#include <cstdint>
#include <memory>
#include <vector>

#include "graphics/mesh_vertex.h"
#include "graphics/xp_device.h"
#include "graphics/xp_texture.h"

namespace DRAVGraph {

enum class BatchDepth { Test, AlwaysPass };

// With a texture the part is blended with it; without one it is drawn in its
// vertex colours, opaque. AlwaysPass draws over whatever depth is there. The
// lighting is turned back on even when the draw fails; a failed world transform,
// buffer or draw is code 5.
void DrawColouredBatch(DRAVCommon::CXPDevice* device, const std::vector<ColouredVertex>& vertices,
                       const std::vector<std::uint16_t>& indices,
                       const std::shared_ptr<DRAVCommon::CXPTexture>& texture, BatchDepth depth);

}  // namespace DRAVGraph
