// The visibility pass against the plain flood it stands for: fresh stop and
// visited grids every pass, every seed flooded. Members wander over random maps of
// walls and doors that open and close, and after every pass both must have marked
// the same cells seen and explored.

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "world/movement/party_visibility.h"
#include "world/movement/text_map.h"

using namespace DRAV;
using MovementTest::TextMap;

namespace {

struct Grids {
    CCellBits seen;
    CCellBits flooded;
    CCellBits explored;
};

// The pass as first written, on grids of its own.
bool ReferencePass(const CArea& area, const ActorList& party, bool full, Grids& grids) {
    const std::uint32_t columns = area.GetColumns();
    const std::uint32_t rows = area.GetRows();
    std::vector<std::pair<std::uint32_t, std::uint32_t>> cells;
    for (const auto& member : party) {
        const double column = std::floor(member->GetX() / 2.5);
        const double row = std::floor(member->GetY() / 2.5);
        if (member->IsAlive() && column >= 0 && row >= 0 && column < columns && row < rows)
            cells.emplace_back(static_cast<std::uint32_t>(column), static_cast<std::uint32_t>(row));
    }
    if (full) {
        grids.seen.Clear();
        grids.flooded.Clear();
    } else {
        bool all = true;
        for (const auto& [column, row] : cells) all = all && grids.flooded.Get(column, row);
        if (all) return false;
    }
    CCellBits stop;
    CCellBits visited;
    stop.Resize(columns, rows);
    visited.Resize(columns, rows);
    for (std::uint32_t row = 0; row < rows; ++row)
        for (std::uint32_t column = 0; column < columns; ++column)
            stop.Set(column, row,
                     row == 0 || column == 0 || row + 1 == rows || column + 1 == columns ||
                         area.GetTile(column, row)->BlocksView());
    std::vector<std::pair<std::uint32_t, std::uint32_t>> ring;
    for (const auto& [column, row] : cells) {
        if (grids.flooded.Get(column, row)) continue;
        grids.flooded.Set(column, row, true);
        grids.seen.Set(column, row, true);
        grids.explored.Set(column, row, true);
        visited.Set(column, row, true);
        ring.emplace_back(column, row);
    }
    for (int r = 0; !ring.empty(); ++r) {
        if (r >= 49 && !full) break;
        std::vector<std::pair<std::uint32_t, std::uint32_t>> next;
        for (const auto& [column, row] : ring) {
            for (int dc = -1; dc <= 1; ++dc) {
                for (int dr = -1; dr <= 1; ++dr) {
                    const long c = long(column) + dc;
                    const long w = long(row) + dr;
                    if ((dc == 0 && dr == 0) || c < 0 || w < 0 || c >= long(columns) || w >= long(rows)) continue;
                    if (visited.Get(c, w)) continue;
                    visited.Set(c, w, true);
                    grids.seen.Set(c, w, true);
                    if (r < 49) grids.explored.Set(c, w, true);
                    if (!stop.Get(c, w)) next.emplace_back(c, w);
                }
            }
        }
        ring = std::move(next);
    }
    return full;
}

// Open ground 130 x 70 with wall runs and a few doors.
std::vector<std::string> RandomLines(std::mt19937& random) {
    std::vector<std::string> lines(70, std::string(130, '.'));
    for (int wall = 0; wall < 14; ++wall) {
        const bool across = random() % 2 == 0;
        const int column = static_cast<int>(random() % 130);
        const int row = static_cast<int>(random() % 70);
        const int length = 5 + static_cast<int>(random() % 40);
        for (int i = 0; i < length; ++i) {
            const int c = across ? column + i : column;
            const int r = across ? row : row + i;
            if (c < 130 && r < 70) lines[r][c] = i % 11 == 5 ? 'D' : '#';
        }
    }
    return lines;
}

}  // namespace

TEST(PartyVisibilityReference, SameCellsAsThePlainFlood) {
    std::mt19937 random(2718);
    for (int map = 0; map < 3; ++map) {
        TextMap text(RandomLines(random));
        CArea& area = text.area;
        ActorList party;
        for (int i = 0; i < 4; ++i) {
            auto member = text.Walker(2.5 * (1 + random() % 128) + 1.25, 2.5 * (1 + random() % 68) + 1.25);
            member->SetRelation(RELATION_PARTY);
            party.push_back(member);
        }
        Grids grids;
        for (CCellBits* grid : {&grids.seen, &grids.flooded, &grids.explored}) grid->Resize(130, 70);
        std::vector<CTile*> doors;
        for (std::uint32_t row = 0; row < 70; ++row)
            for (std::uint32_t column = 0; column < 130; ++column)
                if (dynamic_cast<CMasterTileDoor*>(area.GetTile(column, row)->GetMaster()))
                    doors.push_back(area.GetTile(column, row));
        for (int step = 0; step < 400; ++step) {
            // Members wander a cell or two at a time, now and then one far off, now
            // and then one dies; a door opens or closes.
            auto& member = *party[random() % party.size()];
            if (random() % 25 == 0) {
                member.SetPosition(2.5 * (random() % 130) + 1.0, 2.5 * (random() % 70) + 1.0);
            } else {
                const double x = member.GetX() + 2.5 * (static_cast<int>(random() % 5) - 2);
                const double y = member.GetY() + 2.5 * (static_cast<int>(random() % 5) - 2);
                if (x > 0 && y > 0 && x < 325 && y < 175) member.SetPosition(x, y);
            }
            if (random() % 60 == 0) member.SetActionState(member.IsAlive() ? ACTION_DEAD : ACTION_IDLE);
            if (!doors.empty() && random() % 30 == 0) {
                CTile& door = *doors[random() % doors.size()];
                const bool open = !door.GetDoor()->IsOpen();
                door.GetDoor()->SetOpen(open);
                if (open) area.AddOpenDoor(door);
                else area.RemoveOpenDoor(door);
            }
            const bool full = area.IsViewStale();
            const bool expected = ReferencePass(area, party, full, grids);
            ASSERT_EQ(UpdatePartyVisibility(&area, party), expected) << "map " << map << " step " << step;
            ASSERT_EQ(area.GetSeenCells().words, grids.seen.words) << "map " << map << " step " << step;
            ASSERT_EQ(area.GetExploredCells().words, grids.explored.words) << "map " << map << " step " << step;
            ASSERT_EQ(area.GetSecondSeenCells().words, grids.flooded.words) << "map " << map << " step " << step;
        }
    }
}
