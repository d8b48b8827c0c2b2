#pragma once
// The cells of an area's grid.

#include <cstdint>

namespace DRAV {

// World units along each side of a cell.
constexpr double kCellSize = 2.5;

// Whether a point lies on a grid of `columns` by `rows` cells: off it, it has no
// cell, nothing can reach it and no record finds it again by its cell.
inline bool IsOnGrid(double x, double y, std::uint32_t columns, std::uint32_t rows) {
    return x >= 0.0 && x < columns * kCellSize && y >= 0.0 && y < rows * kCellSize;
}

}  // namespace DRAV
