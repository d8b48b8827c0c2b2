#include "world/area/cell_bits.h"

#include <algorithm>

namespace DRAV {

void CCellBits::Resize(std::uint32_t newColumns, std::uint32_t newRows) {
    if (newColumns == columns && newRows == rows) return;
    columns = newColumns;
    rows = newRows;
    words.resize(std::size_t{columns} * rows / 4 + 1, 0u);
}

void CCellBits::Clear() { std::fill(words.begin(), words.end(), 0u); }

bool CCellBits::Get(std::uint32_t column, std::uint32_t row) const {
    if (column >= columns || row >= rows) return false;
    const std::size_t cell = std::size_t{row} * columns + column;
    return (words[cell / 4] >> (cell % 32) & 1u) != 0;
}

void CCellBits::Set(std::uint32_t column, std::uint32_t row, bool on) {
    if (column >= columns || row >= rows) return;
    const std::size_t cell = std::size_t{row} * columns + column;
    const std::uint32_t bit = 1u << (cell % 32);
    if (on) words[cell / 4] |= bit;
    else words[cell / 4] &= ~bit;
}

}  // namespace DRAV
