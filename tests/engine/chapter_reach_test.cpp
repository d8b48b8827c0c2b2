// Nobody standing at a post blocks the chapter's story. At each stage of the
// story as the walkthrough passes it, everyone stands where the story puts them,
// and from every entry of the area the main character alone walks with the
// engine's own orders and movement to every entry, exit, person and container the
// story needs at that stage. A person is clicked as a player clicks: one order,
// from wherever on the area's open ground the party may stand, and it must lead
// to the conversation. Nothing else of the world moves meanwhile.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <functional>
#include <iomanip>
#include <map>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "support/sample_game.h"
#include "world/area/area_records.h"
#include "world/movement/pathfind.h"
#include "world/object.h"

using namespace DRAV;

namespace {

constexpr double kCell = 2.5;
// Far more than the longest walk across either area takes.
constexpr int kWalkTicks = 2400;

struct Stage {
    const char* name;
    const char* area;
    std::vector<std::string> tags;       // set, in order, with the area current
    std::vector<std::string> fought;     // encounters whose people are gone
    std::function<void(QuillmereTest::SampleGame&)> arrange;  // people moved by the story
    std::vector<std::string> exits;      // the ways out the story takes from here
    std::vector<std::string> people;     // template names the story talks to
    std::vector<std::string> objects;    // object names the story opens or talks to
};

std::shared_ptr<CActor> Person(const CArea& area, const std::string& templateName) {
    for (const auto& actor : area.GetActors())
        if (actor->GetTemplateName() == templateName && actor->IsAlive() && !actor->IsPartyMember()) return actor;
    return nullptr;
}

CObject* Thing(const CArea& area, const std::string& objectName) {
    for (const auto& object : area.GetObjects())
        if (object->GetObjectName() == objectName) return object.get();
    return nullptr;
}

class Walker {
public:
    explicit Walker(QuillmereTest::SampleGame& game) : m_game(game) {}

    // The main character stands at the point, alone, with no orders: placed at its
    // cell as the party is placed at an entry, then on the point itself.
    void StandAt(double x, double y) {
        const std::shared_ptr<CActor> main = m_game.Main();
        main->ClearOrders();
        main->GetPathfinder()->Reset();
        m_game.Area().RemoveActor(*main);
        const auto column = static_cast<std::uint32_t>(x / kCell), row = static_cast<std::uint32_t>(y / kCell);
        ASSERT_TRUE(m_game.Area().PlaceActor(column, row, false, main)) << column << ", " << row;
        if (m_game.Area().CanMoveTo(*main, nullptr, x, y)) main->FinalizeMove(x, y);
        m_game.DrainEvents();
    }

    // Steps the order until `arrived` holds after a step; false when it never did.
    // Unless `once`, an order that lapsed (the way was blocked for the moment) is
    // given again.
    bool Walk(const std::shared_ptr<COrder>& order, const std::function<bool()>& arrived, bool once = false) {
        CActor& main = *m_game.Main();
        main.PushOrder(order, false);
        bool done = false;
        for (int tick = 0; tick < kWalkTicks && !done; ++tick) {
            m_game.Game().SetTick(m_game.Game().GetTick() + 1);
            if (!main.GetCurrentOrder()) {
                if (once) break;
                main.PushOrder(order, false);
            }
            m_game.Engine().RunOrders();
            done = arrived();
        }
        main.ClearOrders();
        main.GetPathfinder()->Reset();
        m_game.DrainEvents();
        return done;
    }

    // A click on the person: one order, which ends in the conversation.
    bool ToPerson(const CActor& person) {
        return Walk(std::make_shared<CMoveTalkOrder>(person.GetId()), [&] { return Heard<CTalkEvent>(person.GetId()); },
                    true);
    }
    bool ToObject(const CObject& object) {
        CActor& main = *m_game.Main();
        return Walk(std::make_shared<CUseOrder>(USE_OBJECT, object.GetId(), 0),
                    [&] { return main.IsNextToObject(object); });
    }
    bool ToEntry(const CAreaEntry& entry) {
        const double x = entry.column * kCell + kCell / 2;
        const double y = entry.row * kCell + kCell / 2;
        return Walk(std::make_shared<CMoveOrder>(x, y), [&] { return m_game.Main()->DistanceToPoint(x, y) < kCell; });
    }
    // The exit is offered to the party, as the tick's exit check offers it.
    bool ToExit(const CAreaExit& exit) {
        CGame& game = m_game.Game();
        return Walk(std::make_shared<CMoveOrder>(exit.x, exit.y), [&] {
            game.SetStateCode(GAME_PLAYING);
            m_game.Engine().CheckForExits();
            const bool offered = game.GetStateCode() == GAME_EXIT_AVAILABLE && game.GetEntryExitText() == exit.text;
            game.SetStateCode(GAME_PLAYING);
            return offered;
        });
    }

private:
    template <class Event>
    bool Heard(ThingId partner) {
        for (const auto& event : m_game.DrainEvents())
            if (const auto* talk = dynamic_cast<const Event*>(event.get()); talk && talk->GetPartner() == partner)
                return true;
        return false;
    }

    QuillmereTest::SampleGame& m_game;
};

// The party travels to the area's entry as an exit or a journey takes it.
void Enter(QuillmereTest::SampleGame& game, const std::string& area, const std::string& entry) {
    if (game.Area().GetName() == area) return;
    game.Arrive(area, entry);
}

// Where a walk may begin: each entry, and where the party stands once it has come
// to each person and object the story sends it to, from where it sets out for the
// next.
struct Start {
    std::string name;
    double x;
    double y;
};

// A point of each cell where the main character can stand and which it can walk
// to from `from`: the open ground the party may cross, found in steps of a fifth
// of a cell, less than anyone's radius, so that no gap too narrow to pass joins
// two places.
std::vector<Start> OpenGround(const CArea& area, const CActor& main, const Start& from) {
    constexpr int kSteps = 5;
    constexpr double kStep = kCell / kSteps;
    const int width = static_cast<int>(area.GetColumns()) * kSteps, height = static_cast<int>(area.GetRows()) * kSteps;
    const auto point = [&](int i, int j) { return std::pair{(i + 0.5) * kStep, (j + 0.5) * kStep}; };
    std::vector<bool> seen(std::size_t(width) * height, false);
    std::vector<std::pair<int, int>> queue{{static_cast<int>(from.x / kStep), static_cast<int>(from.y / kStep)}};
    seen[queue.front().second * width + queue.front().first] = true;
    // Each cell's point nearest its middle.
    std::map<std::pair<int, int>, Start> ground;
    const auto offMiddle = [](double x, double y, int column, int row) {
        return std::hypot(x - (column + 0.5) * kCell, y - (row + 0.5) * kCell);
    };
    for (std::size_t next = 0; next < queue.size(); ++next) {
        const auto [i, j] = queue[next];
        const auto [x, y] = point(i, j);
        if (next != 0 && !area.CanMoveTo(main, nullptr, x, y)) continue;
        const int column = i / kSteps, row = j / kSteps;
        const auto held = ground.find({column, row});
        if (held == ground.end() ||
            offMiddle(x, y, column, row) < offMiddle(held->second.x, held->second.y, column, row))
            ground[{column, row}] = {"cell " + std::to_string(column) + " " + std::to_string(row), x, y};
        for (const auto& [di, dj] : {std::pair{-1, 0}, {1, 0}, {0, -1}, {0, 1}}) {
            const int ni = i + di, nj = j + dj;
            if (ni < 0 || nj < 0 || ni >= width || nj >= height || seen[nj * width + ni]) continue;
            seen[nj * width + ni] = true;
            queue.emplace_back(ni, nj);
        }
    }
    std::vector<Start> starts;
    for (const auto& [cell, start] : ground) starts.push_back(start);
    return starts;
}

void ExpectEverythingReachable(const Stage& stage) {
    SCOPED_TRACE(stage.name);
    QuillmereTest::SampleGame game;
    Enter(game, stage.area, "landing");
    for (const auto& tag : stage.tags) game.Engine().SetTag(tag, true);
    for (const auto& encounter : stage.fought) {
        const ActorList actors = game.Area().GetActors();
        for (const auto& actor : actors)
            if (actor->GetEncounterName() == encounter && !actor->IsPartyMember()) game.Area().RemoveActor(*actor);
    }
    if (stage.arrange) stage.arrange(game);
    game.DrainEvents();

    CArea& area = game.Area();
    for (const auto& name : stage.people) ASSERT_TRUE(Person(area, name)) << name << " is not here";
    for (const auto& name : stage.objects) ASSERT_TRUE(Thing(area, name)) << name << " is not here";
    Walker walker(game);
    std::vector<std::string> unreached;
    const auto where = [](const CActor& actor) {
        std::ostringstream text;
        text << "(" << std::fixed << std::setprecision(1) << actor.GetX() << ", " << actor.GetY() << ")";
        return text.str();
    };
    const auto walk = [&](const Start& from, const std::string& to, const std::function<bool()>& go) {
        walker.StandAt(from.x, from.y);
        const std::string start = where(*game.Main());
        if (!go()) unreached.push_back("from " + from.name + " " + start + " to " + to + ", held at " + where(*game.Main()));
    };
    std::vector<Start> starts;
    for (const auto& entry : area.GetEntries())
        starts.push_back({"the entry " + entry->name, (entry->column + 0.5) * kCell, (entry->row + 0.5) * kCell});
    const Start first = starts.front();
    const auto arrival = [&](const std::string& name, const std::function<bool()>& go) {
        walk(first, name, go);
        starts.push_back({"beside " + name, game.Main()->GetX(), game.Main()->GetY()});
    };
    for (const auto& name : stage.people) arrival(name, [&] { return walker.ToPerson(*Person(area, name)); });
    for (const auto& name : stage.objects) arrival(name, [&] { return walker.ToObject(*Thing(area, name)); });

    for (const Start& from : OpenGround(area, *game.Main(), first))
        for (const auto& name : stage.people) walk(from, name, [&] { return walker.ToPerson(*Person(area, name)); });
    for (const Start& from : starts) {
        for (const auto& entry : area.GetEntries())
            walk(from, "the entry " + entry->name, [&] { return walker.ToEntry(*entry); });
        for (const auto& name : stage.exits)
            walk(from, "the exit " + name, [&] { return walker.ToExit(*FindAreaExit(area.GetExits(), name)); });
        for (const auto& name : stage.people)
            walk(from, name, [&] { return walker.ToPerson(*Person(area, name)); });
        for (const auto& name : stage.objects)
            walk(from, name, [&] { return walker.ToObject(*Thing(area, name)); });
    }
    std::string list;
    for (const auto& way : unreached) list += "\n  " + way;
    EXPECT_TRUE(unreached.empty()) << unreached.size() << " ways blocked:" << list;
}

// The landing's people and things whom every stage of the story may send the
// party to.
const std::vector<std::string> kLandingPeople{"ferry_keeper", "dock_ferryman", "innkeeper", "landing_trader",
                                              "ferryman_elder"};
const std::vector<std::string> kLandingThings{"dock_basket", "old_heron", "orrins_tackle", "orrins_strongbox"};

std::vector<std::string> With(std::vector<std::string> list, std::initializer_list<const char*> more) {
    list.insert(list.end(), more.begin(), more.end());
    return list;
}

void Surrender(QuillmereTest::SampleGame& game, const std::string& templateName) {
    const auto actor = Person(game.Area(), templateName);
    ASSERT_TRUE(actor);
    actor->SetRelation(RELATION_SURRENDER);
}

// Once the smugglers' trail is open its reach holds all of the river road's, and
// the trail is the way out offered there.
const Stage kStages[] = {
    {"the landing on arrival", "reedwater_landing", {}, {}, nullptr, {"marsh_path", "river_road"}, kLandingPeople,
     With(kLandingThings, {"reed_crate"})},
    {"the lane's goblins beaten", "reedwater_landing", {"lane_ambush"}, {"lane_goblins"}, nullptr,
     {"marsh_path", "river_road"}, kLandingPeople, With(kLandingThings, {"reed_crate"})},
    {"the lookout on the trail head gives up", "reedwater_landing", {"lane_ambush", "smugglers_seen", "hide_fought"},
     {"lane_goblins"}, [](QuillmereTest::SampleGame& game) { Surrender(game, "smuggler_lookout"); },
     {"marsh_path", "smugglers_trail"}, With(kLandingPeople, {"smuggler_lookout"}),
     With(kLandingThings, {"reed_crate"})},
    {"Orrin at his slip", "reedwater_landing",
     {"lane_ambush", "smugglers_seen", "hide_fought", "boatwright_found", "boatwright_returned"},
     {"lane_goblins", "trail_lookout"},
     nullptr, {"marsh_path", "smugglers_trail"}, With(kLandingPeople, {"boatwright"}),
     With(kLandingThings, {"reed_crate"})},
    {"the smugglers reported", "reedwater_landing",
     {"lane_ambush", "smugglers_seen", "hide_fought", "boatwright_found", "boatwright_returned", "smugglers_reported"},
     {"lane_goblins", "trail_lookout"}, nullptr, {"marsh_path", "smugglers_trail"},
     With(kLandingPeople, {"boatwright"}), With(kLandingThings, {"wardens_notice"})},
    {"the marsh on arrival", "reed_marsh", {}, {}, nullptr, {"landing_path", "hidden_trail"},
     {"reed_witch", "hide_lookout"}, {}},
    {"the hide passed by talking", "reed_marsh", {"smugglers_seen", "hide_passage"}, {}, nullptr,
     {"landing_path", "hidden_trail"}, {"reed_witch", "hide_lookout", "boatwright"}, {}},
    {"the hide broken", "reed_marsh", {"smugglers_seen", "smugglers_routed"}, {"smugglers_hide"}, nullptr,
     {"landing_path", "hidden_trail"}, {"reed_witch", "boatwright"}, {}},
};

TEST(ChapterReach, EveryStageLeavesTheWayOpen) {
    for (const Stage& stage : kStages) ExpectEverythingReachable(stage);
}

}  // namespace
