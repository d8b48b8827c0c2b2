#pragma once
// One bit per cell of an area: seen cells, explored cells. The layout (the bit of
// cell i is bit i mod 32 of word i / 4) is the one saved games hold.

#include <cstddef>
#include <cstdint>
#include <vector>

namespace DRAV {

struct CCellBits {
    // Each word holds the bits of four cells side by side.
    static constexpr std::size_t kCellsPerWord = 4;
    static std::size_t WordOf(std::size_t cell) { return cell / kCellsPerWord; }
    static unsigned BitOf(std::size_t cell) { return static_cast<unsigned>(cell % 32); }
    // The words a grid of that size holds.
    static std::size_t WordsFor(std::uint32_t columns, std::uint32_t rows) {
        return std::size_t{columns} * rows / kCellsPerWord + 1;
    }

    std::uint32_t columns = 0;
    std::uint32_t rows = 0;
    std::vector<std::uint32_t> words;

    // Sizes the grid when its size differs; words already there keep their bits.
    void Resize(std::uint32_t newColumns, std::uint32_t newRows);
    void Clear();
    // Cells outside the grid read as clear and are never written.
    bool Get(std::uint32_t column, std::uint32_t row) const {
        if (column >= columns || row >= rows) return false;
        const std::size_t cell = std::size_t{row} * columns + column;
        return (words[WordOf(cell)] >> BitOf(cell) & 1u) != 0;
    }
    void Set(std::uint32_t column, std::uint32_t row, bool on) {
        if (column >= columns || row >= rows) return;
        const std::size_t cell = std::size_t{row} * columns + column;
        if (on) words[WordOf(cell)] |= 1u << BitOf(cell);
        else words[WordOf(cell)] &= ~(1u << BitOf(cell));
    }
    // Sets the bit of cell index `cell` (row x columns + column), which must lie on the grid.
    void SetCell(std::size_t cell) { words[WordOf(cell)] |= 1u << BitOf(cell); }
};

}  // namespace DRAV
