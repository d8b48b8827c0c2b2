#pragma once
// One bit per cell of an area: seen cells, explored cells. The layout (the bit of
// cell i is bit i mod 32 of word i / 4) is the one saved games hold.

#include <cstdint>
#include <vector>

namespace DRAV {

struct CCellBits {
    std::uint32_t columns = 0;
    std::uint32_t rows = 0;
    std::vector<std::uint32_t> words;

    // Sizes the grid when its size differs; words already there keep their bits.
    void Resize(std::uint32_t newColumns, std::uint32_t newRows);
    void Clear();
    // Cells outside the grid read as clear and are never written.
    bool Get(std::uint32_t column, std::uint32_t row) const;
    void Set(std::uint32_t column, std::uint32_t row, bool on);
};

}  // namespace DRAV
