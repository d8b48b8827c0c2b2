#pragma once
// Auto-tiles for ground that changes level within one cell: high at y = 0, low at y = -D.

#include "graphics/autotile/auto_tile.h"

namespace DRAVGraph::AutoTile {

// Numbers: cols, col, rows, row, D. A floor tile with a drop face hanging from its -z
// edge, or from its +z edge when plusZ is set.
AutoTileGeometry BuildAutoDownEdge(const CSubModelInfo& info, bool plusZ);
// Numbers: cols, col, D. The +z face of a pit, seen from inside the cell.
AutoTileGeometry BuildAutoVoidEdge(const CSubModelInfo& info);
// Numbers: D. The +z and -x faces of a pit's inner corner, the image once around them.
AutoTileGeometry BuildAutoVoidCorner(const CSubModelInfo& info);
// Numbers: cols, col, D. Falls from the +z edge to the -z edge.
AutoTileGeometry BuildAutoSlopeDown(const CSubModelInfo& info);
// Numbers: D. Only the corner (-x, +z) is high.
AutoTileGeometry BuildAutoSlopeDownInner(const CSubModelInfo& info);
// Numbers: D. Only the corner (+x, -z) is low.
AutoTileGeometry BuildAutoSlopeDownOuter(const CSubModelInfo& info);

}  // namespace DRAVGraph::AutoTile
