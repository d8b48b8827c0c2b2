// What the party sees and has explored, on maps drawn as text; the expected cells
// are drawn the same way ('*' set, '.' clear).

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "world/movement/party_visibility.h"
#include "world/movement/text_map.h"

using namespace DRAV;
using MovementTest::TextMap;

namespace {

std::vector<std::string> Drawn(const CCellBits& bits) {
    std::vector<std::string> lines(bits.rows, std::string(bits.columns, '.'));
    for (std::uint32_t row = 0; row < bits.rows; ++row)
        for (std::uint32_t column = 0; column < bits.columns; ++column)
            if (bits.Get(column, row)) lines[row][column] = '*';
    return lines;
}

std::shared_ptr<CActor> Member(TextMap& map, double x, double y) {
    auto member = map.Walker(x, y);
    member->SetRelation(RELATION_PARTY);
    return member;
}

}  // namespace

TEST(PartyVisibility, WallsBoundTheViewUntilADoorOpens) {
    TextMap map({
        "##########",
        "#...#....#",
        "#.P.#....#",
        "#...D....#",
        "#...#....#",
        "#...#....#",
        "##########",
    });
    const ActorList party{Member(map, map.At('P').x(), map.At('P').y())};
    // Entering the area marks the view stale: a full pass.
    ASSERT_TRUE(map.area.IsViewStale());
    EXPECT_TRUE(UpdatePartyVisibility(&map.area, party));
    EXPECT_FALSE(map.area.IsViewStale());
    const std::vector<std::string> leftRoom(7, "*****.....");
    EXPECT_EQ(Drawn(map.area.GetSeenCells()), leftRoom);
    EXPECT_EQ(Drawn(map.area.GetExploredCells()), leftRoom);

    // Standing still: nothing to do.
    EXPECT_FALSE(UpdatePartyVisibility(&map.area, party));
    EXPECT_EQ(Drawn(map.area.GetSeenCells()), leftRoom);

    // The door opens as a door does: its open-door record marks the view stale and
    // the next pass runs in full, through the doorway.
    CTile* door = map.area.GetTile(4, 3);
    door->GetDoor()->SetOpen(true);
    map.area.AddOpenDoor(*door);
    EXPECT_TRUE(map.area.IsViewStale());
    EXPECT_TRUE(UpdatePartyVisibility(&map.area, party));
    const std::vector<std::string> everything(7, "**********");
    EXPECT_EQ(Drawn(map.area.GetSeenCells()), everything);
    EXPECT_EQ(Drawn(map.area.GetExploredCells()), everything);

    // With everything known, a step onto a new cell adds nothing.
    CActor& member = *party.front();
    member.SetPosition(map.At('P').x() + 2.5, map.At('P').y());
    EXPECT_FALSE(UpdatePartyVisibility(&map.area, party));
    EXPECT_EQ(Drawn(map.area.GetSeenCells()), everything);

    // Closed again, the view shrinks back to the room, and stays there when the
    // member steps onto a new cell.
    door->GetDoor()->SetOpen(false);
    map.area.RemoveOpenDoor(*door);
    EXPECT_TRUE(map.area.IsViewStale());
    EXPECT_TRUE(UpdatePartyVisibility(&map.area, party));
    EXPECT_EQ(Drawn(map.area.GetSeenCells()), leftRoom);
    member.SetPosition(map.At('P').x() + 2.5, map.At('P').y() + 2.5);
    EXPECT_FALSE(UpdatePartyVisibility(&map.area, party));
    EXPECT_EQ(Drawn(map.area.GetSeenCells()), leftRoom);

    // Carried through the wall, the member floods the other room.
    member.SetPosition(7 * 2.5 + 1.25, 3 * 2.5 + 1.25);
    EXPECT_FALSE(UpdatePartyVisibility(&map.area, party));
    EXPECT_EQ(Drawn(map.area.GetSeenCells()), everything);

    EXPECT_FALSE(UpdatePartyVisibility(nullptr, party));
}

TEST(PartyVisibility, PostsAndWaterLetTheEyeThrough) {
    TextMap map({
        "...o.~..",
        ".P.o.~..",
        "...o.~..",
        "...o.~.#",
        "...o.~..",
    });
    const ActorList party{Member(map, map.At('P').x(), map.At('P').y())};
    EXPECT_TRUE(UpdatePartyVisibility(&map.area, party));
    EXPECT_EQ(Drawn(map.area.GetSeenCells()), std::vector<std::string>(5, "********"));
}

TEST(PartyVisibility, ExploredCellsStopAt49RingsAndNewCellsFloodPartly) {
    const std::string open(120, '.');
    TextMap map({open, open, open, open, open});
    const auto member = Member(map, 2 * 2.5 + 1.25, 2 * 2.5 + 1.25);
    const auto fallen = Member(map, 3 * 2.5 + 1.25, 1.25);
    fallen->SetActionState(ACTION_DEAD);
    const ActorList party{fallen, member};
    CCellBits& explored = map.area.GetExploredCells();
    CCellBits& seen = map.area.GetSeenCells();

    EXPECT_TRUE(UpdatePartyVisibility(&map.area, party));
    EXPECT_TRUE(seen.Get(119, 4));
    EXPECT_TRUE(explored.Get(51, 0));
    EXPECT_FALSE(explored.Get(52, 2));

    // One cell on, all but the far column of its reach is known: that column is
    // explored too.
    member->SetPosition(3 * 2.5 + 1.25, 2 * 2.5 + 1.25);
    EXPECT_FALSE(UpdatePartyVisibility(&map.area, party));
    EXPECT_TRUE(explored.Get(52, 2));
    EXPECT_FALSE(explored.Get(53, 2));

    // Onto a cell not flooded from yet: its 49 rings are explored too, and the
    // pass is not a full one.
    member->SetPosition(60 * 2.5 + 1.25, 2 * 2.5 + 1.25);
    EXPECT_FALSE(UpdatePartyVisibility(&map.area, party));
    EXPECT_TRUE(map.area.GetSecondSeenCells().Get(60, 2));
    EXPECT_TRUE(explored.Get(109, 2));
    EXPECT_FALSE(explored.Get(110, 2));
    EXPECT_TRUE(explored.Get(52, 2));

    // The dead neither flood nor make a pass happen.
    fallen->SetPosition(118 * 2.5 + 1.25, 1.25);
    EXPECT_FALSE(UpdatePartyVisibility(&map.area, party));
    EXPECT_FALSE(map.area.GetSecondSeenCells().Get(118, 0));
    EXPECT_FALSE(explored.Get(118, 0));

    // A member on the border floods without reaching past the grid.
    member->SetPosition(119 * 2.5 + 1.0, 1.0);
    EXPECT_FALSE(UpdatePartyVisibility(&map.area, party));
    EXPECT_TRUE(explored.Get(118, 0));

    // A full pass starts the seen cells afresh; the explored ones stay.
    map.area.SetViewStale(true);
    EXPECT_TRUE(UpdatePartyVisibility(&map.area, party));
    EXPECT_TRUE(explored.Get(2, 2));
    EXPECT_FALSE(map.area.GetSecondSeenCells().Get(60, 2));
    EXPECT_TRUE(map.area.GetSecondSeenCells().Get(119, 0));
    EXPECT_TRUE(seen.Get(0, 0));
}
