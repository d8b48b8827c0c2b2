// The cycle between areas as the application drives it: leave, rest or choose on
// the map, enter.

#include <gtest/gtest.h>

#include "support/expect_drav.h"
#include "support/sample_game.h"

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
    game.DrainEvents();
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
        EXPECT_EQ(game.Game().GetStateCode(), GAME_ENTERING);
        EXPECT_EQ(game.Game().GetCurrentArea(), nullptr);
        EXPECT_EQ(game.Game().GetTick(), tick);
        EXPECT_EQ(game.Game().GetNonLocatedActors().size(), 1u);
        EXPECT_EQ(game.Game().GetAreas().count("reed_marsh"), 0u);
    }
    // The same game then enters where it meant to.
    game.Game().SetEntry({"reed_marsh", "landing"}, AREA_LOAD_FRESH, "");
    game.Engine().EnterArea();
    EXPECT_EQ(game.Area().GetName(), "reed_marsh");
}
