// Whoever stands on a walkable cell of any area of any chapter of the sample can be
// seen and clicked with the game view's default camera: one person stands on every
// walkable cell in turn, the view centred on them as it follows the party; what is
// drawn at their middle must change when they step there (nothing in front hides
// them), and picking at that pixel must find them. An area with doors is walked
// again with every door open. The share of cells that pass is printed per area.

#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <set>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "common/random.h"
#include "engine/engine.h"
#include "graphics/pixel/game_view_fixture.h"
#include "rules/definitions/travel_map.h"
#include "world/master_tile.h"
#include "world/tile.h"

namespace {

using namespace QuillmereTest;
using namespace DRAVGraph;

// Channel differences summed over red, green and blue: below this, a pixel is the
// same picture with the person left out (a see-through net in front still lets a
// body show by more than this).
constexpr int kShownDifference = 40;
// A person shows at their middle when a pixel of the 3 x 3 around it changes: seen
// from the front, the middle of a short person may fall in the gap between the legs.
constexpr int kBlock = 1;

int Difference(std::uint32_t a, std::uint32_t b) {
    int sum = 0;
    for (int shift : {16, 8, 0})
        sum += std::abs(static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF));
    return sum;
}

// One area of a chapter as a party reaches it: by the place of the chapter's travel
// map that leads there.
struct AreaCase {
    int chapter;
    std::string area, entry;
    bool start;      // the chapter's start area, where a new game stands already
    bool doorsOpen;  // walked with every door standing open
};

void PrintTo(const AreaCase& place, std::ostream* out) {
    *out << "chapter " << place.chapter << ", " << place.area << (place.doorsOpen ? ", doors open" : "");
}

// The cells of the area's doors.
std::vector<const DRAV::CTile*> DoorCells(const DRAV::CArea& area) {
    std::vector<const DRAV::CTile*> doors;
    for (std::uint32_t row = 0; row < area.GetRows(); ++row)
        for (std::uint32_t column = 0; column < area.GetColumns(); ++column) {
            const DRAV::CTile* tile = area.GetTile(column, row);
            if (tile && tile->GetMaster() && tile->GetMaster()->GetDefinition().GetKind() == DRAV::TILE_DOOR)
                doors.push_back(tile);
        }
    return doors;
}

// Every area the chapters' travel maps lead to, once closed and, when it has doors,
// once open; a chapter's areas are the places of the map its start area lies on.
std::vector<AreaCase> EveryAreaOfEveryChapter() {
    std::vector<AreaCase> cases;
    for (int chapter = 1; std::filesystem::exists(SampleRoot() + "/" + std::to_string(chapter) + "/world.drav");
         ++chapter) {
        const SampleGame game(chapter, [](DRAV::CActor& main) { main.SetName("Wren"); });
        const DRAV::CArea& start = game.Area();
        DRAV::CMap2* map = game.Game().FindAndLoadTempMap(start.GetWorldMapName(), game.Module());
        if (!map) throw std::runtime_error("chapter " + std::to_string(chapter) + " has no travel map");
        std::set<std::string> seen;
        for (const auto& place : map->GetAreas()) {
            if (!seen.insert(place->GetEntryArea()).second) continue;
            DRAV::CArea area(&game.Game());
            area.LoadAreaFile("", place->GetEntryArea(), game.Module(), DRAV::AREA_LOAD_FRESH, false);
            const bool isStart = place->GetEntryArea() == start.GetName();
            cases.push_back({chapter, place->GetEntryArea(), place->GetEntryName(), isStart, false});
            if (!DoorCells(area).empty()) cases.push_back({chapter, place->GetEntryArea(), place->GetEntryName(), isStart, true});
        }
    }
    return cases;
}

std::string CaseName(const testing::TestParamInfo<AreaCase>& info) {
    return "Chapter" + std::to_string(info.param.chapter) + "_" + info.param.area +
           (info.param.doorsOpen ? "_DoorsOpen" : "");
}

class AreaVisibilityPixelTest : public GameViewPixelTest, public testing::WithParamInterface<AreaCase> {
protected:
    // A new game of the case's chapter, the party travelled into the case's area.
    void Enter(const AreaCase& place) {
        StartChapter(place.chapter);
        if (place.start) return;
        const std::string map = m_game.Area().GetWorldMapName();
        m_game.Game().SetEntry({map, ""}, DRAV::AREA_LOAD_FRESH, "");
        m_game.Game().SetStateCode(DRAV::GAME_EXIT_AVAILABLE);
        m_game.Engine().LeaveArea();
        m_game.Engine().SetEntry({place.area, place.entry});
        m_game.Engine().EnterArea();
        ASSERT_EQ(m_game.Area().GetName(), place.area);
    }

    // Everyone leaves but one goblin of the lane, the smallest person of the sample:
    // whoever is taller shows above anything low that shows a goblin. With
    // `openDoors`, every door stands open and its cells are walkable too.
    void Prepare(bool openDoors = false) {
        DRAV::CArea& area = m_game.Area();
        if (openDoors)
            for (const DRAV::CTile* door : DoorCells(area)) door->GetDoor()->SetOpen(true);
        std::vector<DRAV::CActor*> everyone;
        for (const auto& actor : area.GetActors()) everyone.push_back(actor.get());
        for (DRAV::CActor* actor : everyone) m_gone.push_back(area.RemoveActor(*actor));
        m_person = area.CreateEncounterActor("reed_goblin", "", 0, m_lane.Module());
        ASSERT_TRUE(area.PlaceActor(area.GetColumns() / 2, area.GetRows() / 2, true, m_person));
        m_person->SetFacing(0.0);
        ShowArea();
    }

    std::vector<std::uint32_t> Draw(double x, double z) {
        m_lookAt[0] = static_cast<float>(x);
        m_lookAt[2] = static_cast<float>(z);
        // Flickering lights draw from the random source: both pictures draw the same.
        DRAVCommon::GetDisplayRandomEngine().seed(5489);
        return DrawView();
    }

    struct Survey {
        int walkable = 0;
        int passed = 0;
        std::string failed;  // " (column row hidden unpicked)" for each cell that did not pass
    };

    // Walks the person over every walkable cell in turn.
    Survey WalkEveryCell() {
        DRAV::CArea& area = m_game.Area();
        DRAV::CActor& person = *m_person;
        Survey survey;
        std::ostringstream failed;
        for (std::uint32_t row = 0; row < area.GetRows(); ++row)
            for (std::uint32_t column = 0; column < area.GetColumns(); ++column) {
                const double x = column * 2.5 + 1.25, z = row * 2.5 + 1.25;
                DRAV::CThing* blocker = nullptr;
                person.SetPosition(-50.0, -50.0);  // off the grid: neither drawn nor picked
                if (!area.CanMoveTo(person, &blocker, x, z)) continue;
                ++survey.walkable;
                const std::vector<std::uint32_t> without = Draw(x, z);
                person.SetPosition(x, z);
                const std::vector<std::uint32_t> with = Draw(x, z);
                const auto [px, py] = PixelOf(m_manager, kWidth, kHeight, x, person.GetSecondSize() / 2, z);
                int changed = 0;
                for (int y = py - kBlock; y <= py + kBlock; ++y)
                    for (int x = px - kBlock; x <= px + kBlock; ++x) {
                        const std::size_t at = static_cast<std::size_t>(y) * kWidth + x;
                        if (Difference(without[at], with[at]) >= kShownDifference) ++changed;
                    }
                const bool shown = changed > 0;
                PickKind kind = PICK_NOTHING;
                DRAV::CThing* thing = nullptr;
                bool nearExit = false;
                m_manager.PickAtScreen(&m_wrapper, px, py, area, kind, thing, nearExit, false);
                const bool picked = kind == PICK_ACTOR && thing == &person;
                if (shown && picked) ++survey.passed;
                else failed << " (" << column << ' ' << row << (shown ? "" : " hidden") << (picked ? "" : " unpicked") << ')';
            }
        survey.failed = failed.str();
        return survey;
    }

    void ExpectEveryoneShown(const std::string& name) {
        const Survey survey = WalkEveryCell();
        std::cout << name << ": " << survey.passed << " of " << survey.walkable
                  << " walkable cells show and pick their occupant" << survey.failed << '\n';
        EXPECT_GT(survey.walkable, 40) << name;
        EXPECT_EQ(survey.passed, survey.walkable) << name << survey.failed;
    }

    // Reedwater's lane, whose goblin walks every chapter's cells.
    const SampleGame m_lane;
    std::vector<std::shared_ptr<DRAV::CActor>> m_gone;  // those sent away, kept alive
    std::shared_ptr<DRAV::CActor> m_person;
};

TEST_P(AreaVisibilityPixelTest, EveryoneCanBeSeenAndClicked) {
    const AreaCase& place = GetParam();
    Enter(place);
    ASSERT_FALSE(HasFatalFailure());
    Prepare(place.doorsOpen);
    ExpectEveryoneShown(m_game.Area().GetDisplayName() + (place.doorsOpen ? ", every door open" : ""));
}

INSTANTIATE_TEST_SUITE_P(EveryArea, AreaVisibilityPixelTest, testing::ValuesIn(EveryAreaOfEveryChapter()), CaseName);

}  // namespace
