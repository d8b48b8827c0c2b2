#pragma once
// Areas drawn as text, one character a cell, so each movement case reads at a glance:
//   .  plank floor           #  reed wall (solid)      D  boathouse door (closed)
//   o  mooring post (stops feet, not the eye)          ~  river channel (empty)
//   c  tackle chest (a solid object 1.5 x 1) on floor
//   any other capital: floor, marking a cell the test names (start, goal, actor...).

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "world/area.h"
#include "world/area/area_test_support.h"
#include "world/game.h"

namespace MovementTest {

struct CellMark {
    int column;
    int row;
    // The cell's centre.
    double x() const { return column * 2.5 + 1.25; }
    double y() const { return row * 2.5 + 1.25; }
};

class TextMap {
public:
    // `objects`: further object elements, for objects not centred on a cell.
    explicit TextMap(const std::vector<std::string>& lines, std::string objects = "") {
        const int rows = static_cast<int>(lines.size());
        const int columns = rows ? static_cast<int>(lines.front().size()) : 0;
        std::string text = "( " + std::to_string(columns) + " " + std::to_string(rows) + " )";
        for (int row = 0; row < rows; ++row) {
            text += " <row>";
            for (int column = 0; column < columns; ++column) {
                const char mark = lines[row].at(column);
                text += " " + TileOf(mark);
                if (mark == 'c')
                    objects += " <object> tackle_chest ( " + std::to_string(column * 2.5 + 1.25) + " " +
                               std::to_string(row * 2.5 + 1.25) + " ) n 0 </object> ";
                else if (mark >= 'A' && mark <= 'Z' && mark != 'D')
                    m_marks[mark].push_back({column, row});
            }
            text += " </row>";
        }
        AreaTest::ReadText(area, AreaTest::AreaText(text, objects));
    }
    TextMap(const TextMap&) = delete;
    TextMap& operator=(const TextMap&) = delete;

    // The `index`th cell marked `mark`, reading rows top to bottom.
    CellMark At(char mark, std::size_t index = 0) const { return m_marks.at(mark).at(index); }
    std::size_t Count(char mark) const { return m_marks.count(mark) ? m_marks.at(mark).size() : 0; }

    // An actor standing on the centre of the cell marked `mark`, in the area, moving
    // at 10 + movementSpeed / 5 units a second.
    std::shared_ptr<DRAV::CActor> Walker(char mark, double radius = 0.5, int movementSpeed = 0) {
        const CellMark cell = At(mark);
        return Walker(cell.x(), cell.y(), radius, movementSpeed);
    }
    std::shared_ptr<DRAV::CActor> Walker(double x, double y, double radius = 0.5, int movementSpeed = 0) {
        auto actor = AreaTest::MakeActor(x, y, radius);
        actor->SetBaseMovementSpeed(movementSpeed);
        actor->SetName(std::string("walker ") + std::to_string(area.GetActors().size()));
        area.AddActor(actor);
        return actor;
    }

    DRAV::CGame game;
    DRAV::CArea area{&game};

private:
    static std::string TileOf(char mark) {
        switch (mark) {
            case '#': return "( reed_wall n )";
            case 'D': return "( boathouse_door n )";
            case 'o': return "( mooring_post n )";
            case '~': return "( river_channel n )";
            default: return "( plank_floor n )";
        }
    }

    std::map<char, std::vector<CellMark>> m_marks;
};

}  // namespace MovementTest
