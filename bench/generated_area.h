#pragma once
// A generated area file of any size, for benchmarks that need a large area.

#include <sstream>
#include <string>

namespace BenchSupport {

// A walled square of `size` cells a side: reed walls around, planks and muddy path
// inside with a net rack every few rows, an object every tenth cell, one entry and one exit.
inline std::string GeneratedArea(int size) {
    std::ostringstream text;
    text << "<area> \"Generated\" true <rows> ( " << size << ' ' << size << " )\n";
    for (int row = 0; row < size; ++row) {
        text << " <row>";
        for (int column = 0; column < size; ++column) {
            const bool edge = row == 0 || column == 0 || row == size - 1 || column == size - 1;
            const bool rackRow = row % 4 == 1 && column % 6 == 2 && column + 2 < size - 1 && row + 1 < size - 1;
            const bool underRack = (row % 4 == 1 || row % 4 == 2) && column % 6 >= 2 && column % 6 <= 4 &&
                                   column - column % 6 + 4 < size - 1 && row - (row % 4 - 1) + 1 < size - 1 &&
                                   !(row % 4 == 1 && column % 6 == 2);
            if (edge) text << " ( reed_wall n )";
            else if (rackRow) text << " ( drying_rack n )";
            else if (underRack) text << " 0";
            else text << ((row + column) % 2 ? " ( plank_floor n )" : " ( landing_path n )");
        }
        text << " </row>\n";
    }
    text << " </rows>\n <objects>\n";
    for (int cell = 0; cell < size * size; cell += 10)
        text << "  <object> tackle_chest ( " << (cell % size) * 2.5 + 1.25 << ' ' << (cell / size) * 2.5 + 1.25
             << " ) n 0 <items> ( eel_pie 2 ) </items> </object>\n";
    text << " </objects>\n <entries> <entry> start \"Start\" ( 1 1 ) </entry> </entries>\n"
         << " <exits> <exit> out \"Out\" ( 1 2 ) 0 reedwater_landing </exit> </exits>\n</area>\n";
    return text.str();
}

}  // namespace BenchSupport
