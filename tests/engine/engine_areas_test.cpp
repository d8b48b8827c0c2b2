// The cycle between areas as the application drives it: leave, rest or choose on
// the map, enter.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "support/expect_drav.h"
#include "support/overlay_source.h"
#include "support/sample_game.h"
#include "support/unbuildable_area.h"
#include "world/area.h"
#include "world/object.h"
#include "world/cell.h"

using namespace DRAV;
using QuillmereTest::StartSampleGame;

namespace {

std::vector<std::string> Messages(const std::vector<std::shared_ptr<CEvent>>& events) {
    std::vector<std::string> texts;
    for (const auto& event : events)
        if (auto* message = dynamic_cast<const CMessageEvent*>(event.get())) texts.push_back(message->GetText());
    return texts;
}

}  // namespace

TEST(EngineAreas, LeaveRestAndEnterHealsTheParty) {
    auto game = StartSampleGame();
    const auto main = game.Main();
    main->SetDamageTaken(3);
    game.Game().SetStateCode(GAME_WIPED_OUT);
    game.Engine().LeaveArea();
    EXPECT_EQ(game.Game().GetStateCode(), GAME_RESTING);
    EXPECT_EQ(game.Game().GetCurrentArea(), nullptr);
    EXPECT_EQ(game.Game().GetLastArea(), "reedwater_landing");
    EXPECT_TRUE(main->GetLeaveFlag());
    EXPECT_EQ(game.Game().GetNonLocatedActors().size(), 1u);

    const std::uint32_t before = game.Game().GetTick();
    game.DrainEvents();
    game.Engine().RestParty();
    EXPECT_EQ(game.Game().GetTick(), before + 864000u);
    EXPECT_EQ(main->GetDamageTaken(), 0);
    EXPECT_FALSE(main->GetLeaveFlag());
    EXPECT_EQ(Messages(game.DrainEvents()),
              (std::vector<std::string>{"Wren is healed.", "The party has rested and healed for 8 hours."}));
    EXPECT_EQ(game.Game().GetStateCode(), GAME_ENTERING);

    game.Engine().EnterArea();
    EXPECT_EQ(game.Game().GetStateCode(), GAME_PLAYING);
    EXPECT_EQ(main->GetArea(), game.Game().GetCurrentArea());
    EXPECT_TRUE(game.Game().GetNonLocatedActors().empty());
}

TEST(EngineAreas, CallsOutOfTheirStateChangeNothing) {
    auto game = StartSampleGame();
    game.DrainEvents();  // the dock's entry script greets the party
    const std::uint32_t tick = game.Game().GetTick();
    game.Main()->SetDamageTaken(2);
    EXPECT_DRAV_CODE(game.Engine().RestParty(), DRAV_ERR_OUT_OF_RANGE);
    EXPECT_DRAV_CODE(game.Engine().SetEntry({"reed_marsh", "landing"}), DRAV_ERR_OUT_OF_RANGE);
    EXPECT_DRAV_CODE(game.Engine().EnterArea(), DRAV_ERR_OUT_OF_RANGE);
    EXPECT_EQ(game.Game().GetTick(), tick);
    EXPECT_EQ(game.Main()->GetDamageTaken(), 2);
    EXPECT_EQ(game.Game().GetStateCode(), GAME_PLAYING);
    EXPECT_TRUE(game.DrainEvents().empty());
}

TEST(EngineAreas, AnExitWithoutEntryLeadsThroughTheMap) {
    auto game = StartSampleGame();
    game.Game().SetEntry({"reedwater_map", ""}, AREA_LOAD_FRESH, "");
    game.Game().SetStateCode(GAME_EXIT_AVAILABLE);
    AreaEntryPoint offered;
    EXPECT_TRUE(game.Engine().GetAvailableExit(offered));
    EXPECT_EQ(offered, (AreaEntryPoint{"reedwater_map", ""}));
    game.Engine().LeaveArea();
    EXPECT_EQ(game.Game().GetStateCode(), GAME_ON_MAP);
    ASSERT_NE(game.Game().GetCurrentMap(), nullptr);

    game.Engine().SetEntry({"reed_marsh", "landing"});
    EXPECT_EQ(game.Game().GetStateCode(), GAME_ENTERING);
    game.Engine().EnterArea();
    EXPECT_EQ(game.Area().GetName(), "reed_marsh");
    EXPECT_EQ(game.Game().GetReturnPoint(), (AreaEntryPoint{"reed_marsh", "landing"}));
    EXPECT_EQ(game.Main()->GetArea(), &game.Area());
}

// The lane between the landing and the marsh takes an hour either way, and says so.
TEST(EngineAreas, TheWayBetweenTheLandingAndTheMarshTakesAnHourEitherWay) {
    auto game = StartSampleGame();
    game.DrainEvents();
    for (const AreaEntryPoint& to :
         {AreaEntryPoint{"reed_marsh", "landing"}, AreaEntryPoint{"reedwater_landing", "lane"}}) {
        const std::uint32_t before = game.Game().GetTick();
        game.Game().SetEntry(to, AREA_LOAD_FRESH, "");
        game.Game().SetStateCode(GAME_TRAVEL);
        game.Engine().LeaveArea();
        game.Engine().EnterArea();
        const auto lines = Messages(game.DrainEvents());
        const std::string said = to.first == "reed_marsh" ? "Your journey to the Reed Marsh takes 1 hour."
                                                          : "Your journey to Reedwater Landing takes 1 hour.";
        EXPECT_EQ(std::count(lines.begin(), lines.end(), said), 1) << to.first;
        EXPECT_EQ((game.Game().GetTick() - before) / 108000u, 1u) << "an hour, and the tick of the arrival";
    }
}

// The travel map's Reedwater Landing names no entry: the party comes in at the
// area's first, as at the start, and a return or a revival later finds it again.
TEST(EngineAreas, AMapPlaceWithoutEntryBringsThePartyInAtTheAreasFirstEntry) {
    auto game = StartSampleGame();
    const auto first = game.Area().GetEntries().front();
    game.Game().SetEntry({"reedwater_map", ""}, AREA_LOAD_FRESH, "");
    game.Game().SetStateCode(GAME_EXIT_AVAILABLE);
    game.Engine().LeaveArea();
    ASSERT_EQ(game.Game().GetStateCode(), GAME_ON_MAP);
    CMap2Area* landing = nullptr;
    for (const auto& place : game.Game().GetCurrentMap()->GetAreas())
        if (place->GetEntryArea() == "reedwater_landing") landing = place.get();
    ASSERT_NE(landing, nullptr);
    ASSERT_EQ(landing->GetEntryName(), "");

    game.Engine().SetEntry({landing->GetEntryArea(), landing->GetEntryName()});
    game.Engine().EnterArea();
    EXPECT_EQ(game.Game().GetStateCode(), GAME_PLAYING);
    EXPECT_EQ(game.Main()->GetArea(), &game.Area());
    EXPECT_LT(game.Main()->DistanceToPoint((first->column + 0.5) * kCellSize, (first->row + 0.5) * kCellSize),
              2 * kCellSize);
    EXPECT_EQ(game.Game().GetCurrentEntry(), (AreaEntryPoint{"reedwater_landing", first->name}));
}

// A module author's slip: a map leads to an area whose file the chapter lacks, or
// to an entry its area lacks. The map is read before the party leaves, so the
// party stays where it stood.
TEST(EngineAreas, AMapLeadingNowhereIsRefusedBeforeThePartyLeaves) {
    for (const char* place : {"sunken_mill", "( reed_marsh ferry )"}) {
        SCOPED_TRACE(place);
        auto source = std::make_shared<QuillmereTest::OverlaySource>(QuillmereTest::SampleFolderSource());
        source->Add(DRAVCommon::DFK_CHAPTER, DRAVCommon::DFS_NONE, "mill_map.drav",
                    "<map> mill_map \"reedwater_map.jpg\" \"reedwater_map_areas.png\" <areas>"
                    " <area> reed_marsh \"The Reed Marsh\" 24 40 120 72 true reed_marsh </area>"
                    " <area> sunken_mill \"The Sunken Mill\" 60 60 30 30 true " +
                        std::string(place) + " </area> </areas> </map>");
        CEngine engine;
        engine.LoadModule(1, CModuleVersionRange("Orvex", 5, 0), source);
        engine.BeginNewGame(engine.NewGame());
        engine.EnterArea();
        CGame& game = *engine.GetGame();
        CArea* landing = game.GetCurrentArea();
        const auto main = game.GetMainActor();
        game.SetEntry({"mill_map", ""}, AREA_LOAD_FRESH, "");
        game.SetStateCode(GAME_EXIT_AVAILABLE);

        const auto caught = QuillmereTest::CatchDrav([&] { engine.LeaveArea(); });
        ASSERT_TRUE(caught);
        EXPECT_EQ(caught->GetCode(), DRAV_ERR_BAD_DATA);
        EXPECT_NE(caught->GetMessage().find("mill_map"), std::string::npos) << caught->GetMessage();
        EXPECT_NE(caught->GetMessage().find(place[0] == '(' ? "ferry" : place), std::string::npos)
            << caught->GetMessage();
        EXPECT_EQ(game.GetCurrentArea(), landing);
        EXPECT_GT(landing->GetColumns(), 0u);
        EXPECT_EQ(main->GetArea(), landing);
        EXPECT_FALSE(main->GetLeaveFlag());
        EXPECT_TRUE(game.GetNonLocatedActors().empty());
        EXPECT_EQ(game.GetStateCode(), GAME_EXIT_AVAILABLE);
        EXPECT_EQ(game.GetCurrentMap(), nullptr);
        engine.RunTick();  // and play goes on
    }
}

TEST(EngineAreas, AFailedEntryLeavesTheGameAsItWas) {
    auto game = StartSampleGame();
    game.Game().SetEntry({"reed_marsh", "landing"}, AREA_LOAD_FRESH, "");
    game.Game().SetStateCode(GAME_EXIT_AVAILABLE);
    game.Engine().LeaveArea();
    const std::uint32_t tick = game.Game().GetTick();

    // An area never visited, and the area just left (cached), both without the entry.
    for (const char* area : {"reed_marsh", "reedwater_landing", "no_such_area"}) {
        game.Game().SetEntry({area, "nowhere"}, AREA_LOAD_FRESH, "");
        const auto caught = QuillmereTest::CatchDrav([&] { game.Engine().EnterArea(); });
        ASSERT_TRUE(caught) << area;
        EXPECT_EQ(caught->GetCode(), DRAV_ERR_BAD_DATA);
        EXPECT_NE(caught->GetMessage().find(std::string(area) + ".drav"), std::string::npos) << caught->GetMessage();
        EXPECT_EQ(game.Game().GetStateCode(), GAME_ENTERING);
        EXPECT_EQ(game.Game().GetCurrentArea(), nullptr);
        EXPECT_EQ(game.Game().GetTick(), tick);
        EXPECT_EQ(game.Game().GetNonLocatedActors().size(), 1u);
        EXPECT_EQ(game.Game().GetAreas().count("reed_marsh"), 0u);
    }
    // Nor does a game with too few serials left for the area and the way back.
    game.Game().SetEntry({"reed_marsh", "landing"}, AREA_LOAD_FRESH, "");
    const std::uint32_t counter = game.Game().GetThingSerialCounter();
    game.Game().SetThingSerialCounter(kMaxThingSerial - 40);
    EXPECT_DRAV_CODE(game.Engine().EnterArea(), DRAV_ERR_OUT_OF_RANGE);
    EXPECT_EQ(game.Game().GetCurrentArea(), nullptr);
    EXPECT_EQ(game.Game().GetThingSerialCounter(), kMaxThingSerial - 40);
    // The same game then enters where it meant to.
    game.Game().SetThingSerialCounter(counter);
    game.Engine().EnterArea();
    EXPECT_EQ(game.Area().GetName(), "reed_marsh");
}

// A module author's slip in a journey, a rest or a resurrection: an area the
// chapter lacks, or an entry its area lacks. Found before the party leaves, so it
// stays where it stood and the journey may be made again once mended.
TEST(EngineAreas, AJourneyToAPlaceTheModuleLacksIsRefusedBeforeThePartyLeaves) {
    auto game = StartSampleGame();
    CArea* landing = &game.Area();
    const auto main = game.Main();
    // Or a game that has too few serials left to build the place and the way back,
    const std::string spent = "the game has too few numbers left for the things it may make there: save the game and "
                              "load it to number its things anew";
    // or a calendar with no room for the hours of the rest or the way to the marsh.
    const std::string calendarEnd = ", past the end of the game's calendar on " +
                                    game.Game().FormatDateTime(kLastPassedTick) + ".";
    const std::uint32_t counter = game.Game().GetThingSerialCounter();
    const std::uint32_t tick = game.Game().GetTick();
    const struct {
        std::int32_t state;
        AreaEntryPoint place;
        std::string named;
        std::uint32_t serialsLeft = kMaxThingSerial;
        std::uint32_t ticksLeft = 0;  // before the calendar's end; 0: the game's own tick
    } rows[] = {
        {GAME_TRAVEL, {"reed_marshes", "landing"}, "the module has no area \"reed_marshes\""},
        {GAME_EXIT_AVAILABLE, {"reed_marsh", "dock"}, "area \"reed_marsh\" has no entry \"dock\""},
        {GAME_WIPED_OUT, {"reedwater_landing", "slipway"}, "area \"reedwater_landing\" has no entry \"slipway\""},
        {GAME_WIPED_OUT, {"", ""}, "the module has no area \"\""},
        {GAME_TRAVEL, {"reed_marsh", "landing"}, spent, 40},
        {GAME_EXIT_AVAILABLE, {"reedwater_map", ""}, spent, 10},  // the way back alone
        {GAME_WIPED_OUT, {"reedwater_landing", "dock"}, spent, 40},
        {GAME_TRAVEL, {"reed_marsh", "landing"}, "The journey would take 1 hour" + calendarEnd, kMaxThingSerial,
         kTicksPerTravelHour - 1},
        {GAME_WIPED_OUT, {"reedwater_landing", "dock"}, "The rest would take 8 hours" + calendarEnd, kMaxThingSerial,
         8 * kTicksPerTravelHour - 1},
    };
    for (const auto& row : rows) {
        game.Game().SetEntry(row.place, AREA_LOAD_FRESH, "");
        game.Game().SetStateCode(row.state);
        game.Game().SetThingSerialCounter(row.serialsLeft == kMaxThingSerial ? counter
                                                                             : kMaxThingSerial + 1 - row.serialsLeft);
        game.Game().SetTick(row.ticksLeft == 0 ? tick : kLastPassedTick - row.ticksLeft);
        EXPECT_EQ(DRAV_MESSAGE(game.Engine().CheckDestination()), row.named);
        EXPECT_DRAV_CODE(game.Engine().LeaveArea(), row.serialsLeft == kMaxThingSerial && row.ticksLeft == 0
                                                        ? DRAV_ERR_BAD_DATA
                                                        : DRAV_ERR_OUT_OF_RANGE);
        EXPECT_EQ(game.Game().GetCurrentArea(), landing) << row.named;
        EXPECT_EQ(main->GetArea(), landing) << row.named;
        EXPECT_TRUE(game.Game().GetNonLocatedActors().empty()) << row.named;
        EXPECT_EQ(game.Game().GetStateCode(), row.state) << row.named;
    }
    // Once mended, the journey is made, its hour to the calendar's last tick.
    game.Game().SetThingSerialCounter(counter);
    game.Game().SetTick(kLastPassedTick - kTicksPerTravelHour);
    game.Game().SetEntry({"reed_marsh", "hideout"}, AREA_LOAD_FRESH, "");
    game.Game().SetStateCode(GAME_TRAVEL);
    game.Engine().LeaveArea();
    game.Engine().EnterArea();
    EXPECT_EQ(game.Area().GetName(), "reed_marsh");
    EXPECT_EQ(game.Game().GetTick(), kLastPassedTick + 1) << "the hour, and the tick of the arrival";
}

// An area that fails only as it is built: the party goes back to the area it left,
// each member about where it stood, and play goes on there.
TEST(EngineAreas, AnAreaThatFailsToBuildSendsThePartyBack) {
    auto source = std::make_shared<QuillmereTest::OverlaySource>(QuillmereTest::SampleFolderSource());
    source->Add(DRAVCommon::DFK_CHAPTER, DRAVCommon::DFS_NONE, std::string(QuillmereTest::kUnbuildableAreaName) + ".drav",
                QuillmereTest::kUnbuildableAreaText);
    CEngine engine;
    engine.LoadModule(1, CModuleVersionRange("Orvex", 5, 0), source);
    engine.BeginNewGame(engine.NewGame());
    engine.EnterArea();
    CGame& game = *engine.GetGame();
    const std::string landing = game.GetCurrentArea()->GetName();
    const auto main = game.GetMainActor();
    const auto cell = [](const CActor& actor) {
        return std::make_pair(static_cast<int>(actor.GetX() / kCellSize), static_cast<int>(actor.GetY() / kCellSize));
    };
    const auto stood = cell(*main);
    game.SetEntry({QuillmereTest::kUnbuildableAreaName, "gate"}, AREA_LOAD_FRESH, "");
    game.SetStateCode(GAME_TRAVEL);
    engine.LeaveArea();
    const std::uint32_t tick = game.GetTick();
    EXPECT_DRAV_CODE(engine.EnterArea(), DRAV_ERR_BAD_DATA);
    // The journey that never came gave its hours back and told of none.
    EXPECT_EQ(game.GetTick(), tick);
    std::shared_ptr<CEvent> event;
    while (game.PopEvent(event)) {
        if (const auto* message = dynamic_cast<const CMessageEvent*>(event.get())) {
            EXPECT_EQ(message->GetText().find("journey"), std::string::npos) << message->GetText();
        }
    }

    engine.ReturnToLastArea();
    ASSERT_NE(game.GetCurrentArea(), nullptr);
    EXPECT_EQ(game.GetCurrentArea()->GetName(), landing);
    EXPECT_EQ(main->GetArea(), game.GetCurrentArea());
    EXPECT_EQ(cell(*main), stood);
    EXPECT_TRUE(game.GetNonLocatedActors().empty());
    EXPECT_EQ(game.GetStateCode(), GAME_PLAYING);
    // Only after a failed entry, and only to an area that was left.
    EXPECT_DRAV_CODE(engine.ReturnToLastArea(), DRAV_ERR_OUT_OF_RANGE);
    game.SetLastArea("");
    game.SetStateCode(GAME_ENTERING);
    EXPECT_DRAV_CODE(engine.ReturnToLastArea(), DRAV_ERR_OUT_OF_RANGE);
}

// A party arriving anywhere in the chapter must be able to look round before a
// way out is offered: every entry of every area reachable from the start stands
// more than the exit range from every exit that may be open, with no tags set
// and with every exit's own tag set.
TEST(EngineAreas, NoEntryOfTheSampleOffersAnExitOnArrival) {
    const auto start = StartSampleGame();
    std::vector<std::string> areas{start.Area().GetName()};
    for (std::size_t index = 0; index < areas.size(); ++index) {
        const std::string name = areas[index];
        CArea probe(&start.Game());
        probe.LoadAreaFile("", name, start.Module(), AREA_LOAD_FRESH, false);
        std::vector<std::string> exitTags;
        for (const auto& exit : probe.GetExits()) {
            if (!exit->requiredTag.empty()) exitTags.push_back(exit->requiredTag);
            if (!exit->destinationEntry.empty() &&
                std::find(areas.begin(), areas.end(), exit->destinationArea) == areas.end())
                areas.push_back(exit->destinationArea);
        }
        for (const auto& entry : probe.GetEntries()) {
            for (const bool tagsSet : {false, true}) {
                auto game = StartSampleGame();
                for (const auto& tag : exitTags) {
                    ASSERT_FALSE(game.Game().IsQuestTagSet(tag)) << tag;
                    if (tagsSet) game.Game().SetQuestTag(tag, 1);
                }
                game.Game().SetEntry({name, entry->name}, AREA_LOAD_FRESH, "");
                game.Game().SetStateCode(GAME_EXIT_AVAILABLE);
                game.Engine().LeaveArea();
                game.Engine().EnterArea();
                EXPECT_EQ(game.Game().GetStateCode(), GAME_PLAYING)
                    << name << " entry " << entry->name << (tagsSet ? " with exit tags set" : "") << " offers "
                    << game.Game().GetAvailableExitName() << " at " << game.Main()->GetX() << ", "
                    << game.Main()->GetY();
            }
        }
    }
    EXPECT_EQ(areas.size(), 2u);
}

// The landing's way to the marsh is a gap in the reed wall that a hero fits
// through: a click on the ground in it walks her there, and the walk ends with
// the way out offered, instead of leaving her pressing against the reeds.
TEST(EngineAreas, AClickInTheGapOfTheWayToTheMarshWalksTheHeroIntoIt) {
    for (const double x : {1.75, 2.25}) {
        SCOPED_TRACE(x);
        auto game = StartSampleGame();
        // Nobody springs from the lane's reeds on the way.
        for (const auto& object : game.Area().GetObjects())
            if (object->GetObjectName() == "lane_ambush_reeds") {
                game.Area().RemoveObject(*object);
                break;
            }
        game.DrainEvents();
        const auto hero = game.Main();
        const double y = 9 * kCellSize + 0.5;
        hero->PushOrder(std::make_shared<CMoveOrder>(x, y), false);
        for (int tick = 0; tick < 900 && hero->GetCurrentOrder(); ++tick) game.Tick();
        EXPECT_FALSE(hero->GetCurrentOrder()) << "still walking at " << hero->GetX() << ", " << hero->GetY();
        EXPECT_LT(hero->DistanceToPoint(x, y), 0.1);
        EXPECT_EQ(game.Game().GetStateCode(), GAME_EXIT_AVAILABLE);
        EXPECT_EQ(game.Game().GetAvailableExitName(), "marsh_path");
    }
}
