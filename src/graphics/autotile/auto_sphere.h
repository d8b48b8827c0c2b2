#pragma once
// A unit sphere of latitude rings and longitude segments, with one textured part.

#include "graphics/autotile/auto_tile.h"

namespace DRAVGraph::AutoTile {

// Numbers: any count; the first, n, gives 4n rings and 8n segments (4 by 8 when absent
// or 0). A negative n, or one whose vertices would not fit 16-bit indices, is code 1.
AutoTileGeometry BuildAutoSphere(const CSubModelInfo& info);

}  // namespace DRAVGraph::AutoTile
