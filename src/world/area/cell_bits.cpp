#include "world/area/cell_bits.h"

#include <algorithm>

namespace DRAV {

void CCellBits::Resize(std::uint32_t newColumns, std::uint32_t newRows) {
    if (newColumns == columns && newRows == rows) return;
    columns = newColumns;
    rows = newRows;
    words.resize(WordsFor(columns, rows), 0u);
}

void CCellBits::Clear() { std::fill(words.begin(), words.end(), 0u); }

}  // namespace DRAV
