#pragma once
// The cells of an area's grid.

namespace DRAV {

// World units along each side of a cell.
constexpr double kCellSize = 2.5;

}  // namespace DRAV
