#pragma once
// Flat auto-tiles of one textured quad: a floor of whole cells showing one atlas tile,
// a decal just above the ground and an upright mural.

#include "graphics/autotile/auto_tile.h"

namespace DRAVGraph::AutoTile {

// Numbers: size in cells, cols, col, rows, row.
AutoTileGeometry BuildAutoFloor(const CSubModelInfo& info);
// Numbers: width along x, depth along z, in units.
AutoTileGeometry BuildAutoDecal(const CSubModelInfo& info);
// Numbers: bottom height, width, height, in units. Lit like a floor: its normals point up.
AutoTileGeometry BuildAutoMural(const CSubModelInfo& info);

}  // namespace DRAVGraph::AutoTile
