#pragma once
// Upright auto-tiles standing on the ground: wall slabs and square pillars. Their upright
// faces map the image's height to 10 units from the ground up.

#include "graphics/autotile/auto_tile.h"

namespace DRAVGraph::AutoTile {

// Numbers: length in cells, cols, col (more are ignored). A one-sided wall shows one
// texture on both faces; a two-sided wall takes one per face.
AutoTileGeometry BuildAutoWall(const CSubModelInfo& info, bool twoSided);

// Numbers: width in cells, then the height in units (10 when absent; more are ignored).
// wrap: the image goes once around the four sides; repeat: the sides share one texture;
// texturedTop: the lid takes the next texture instead of being black.
AutoTileGeometry BuildAutoPillar(const CSubModelInfo& info, bool wrap, bool repeat,
                                 bool texturedTop);

}  // namespace DRAVGraph::AutoTile
