// The chapter left to run on its own: the party and every kind of monster acting
// for a stretch of game time in the landing and then the reed marsh, the state
// checked every game minute.

#include <gtest/gtest.h>

#include <set>

#include "common/random.h"
#include "engine/brain/ai.h"
#include "support/sample_game.h"
#include "world/item.h"

using namespace DRAV;

namespace {

constexpr int kTicksPerMinute = 1800;
// Ten game hours, five in each area, with the invariants checked every minute.
constexpr int kMinutes = 600;

void CheckInvariants(const CArea& area, int minute) {
    std::set<ThingId> items;
    auto unique = [&](const std::shared_ptr<CItem>& item) {
        if (item) {
            EXPECT_TRUE(items.insert(item->GetId()).second) << "item id twice, minute " << minute;
        }
    };
    for (const auto& actor : area.GetActors()) {
        EXPECT_GE(actor->GetDamageTaken(), 0) << actor->GetName() << ", minute " << minute;
        if (actor->IsAlive()) {
            EXPECT_LE(actor->GetDamageTaken(), actor->GetMaxHitPoints()) << actor->GetName() << ", minute " << minute;
        }
        EXPECT_TRUE(area.TestTiles(*actor, nullptr, actor->GetX(), actor->GetY()))
            << actor->GetName() << " in a wall, minute " << minute;
        // Instant orders are run in the tick that issues them.
        EXPECT_TRUE(actor->GetInstantOrders().empty()) << actor->GetName() << ", minute " << minute;
        for (const auto& item : actor->GetBackpackItems()) unique(item);
        for (const auto& item : actor->GetEquipment()) unique(item);
    }
}

}  // namespace

TEST(Soak, TheLandingRunsWithEveryAIActing) {
    auto game = QuillmereTest::StartSampleGame();
    DRAVCommon::GetRandomEngine().seed(21);
    const auto wren = game.Main();
    // The fixture's Wren is a bare new character; she needs a body to last the run.
    wren->SetMaxHitPoints(400);
    for (const auto& [key, column, row] : std::initializer_list<std::tuple<const char*, std::uint32_t, std::uint32_t>>{
             {"marsh_spirit", 12, 6}, {"smuggler_captain", 13, 8}, {"reed_witch", 4, 6},
             {"landing_trader", 9, 5}, {"reed_goblin", 12, 3}, {"goblin_archer", 14, 4}})
        game.Spawn(key, column, row);
    ASSERT_GE(game.Area().GetActors().size(), 7u);
    for (int minute = 1; minute <= kMinutes; ++minute) {
        for (int tick = 0; tick < kTicksPerMinute; ++tick) {
            // Wren's wounds close at once, so the party keeps fighting for the whole run.
            wren->SetDamageTaken(0);
            if (!wren->GetCurrentOrder()) CAI::AttackNearest(*wren, 0);
            try {
                game.Tick();
            } catch (const CDRAVException& error) {
                FAIL() << "code " << error.GetCode() << ": " << error.GetMessage() << ", minute " << minute;
            }
            game.DrainEvents();
        }
        ASSERT_TRUE(wren->IsAlive());
        CheckInvariants(game.Area(), minute);
        // Half-way through, the party walks on into the reed marsh and its smugglers.
        if (minute == kMinutes / 2) {
            game.Game().SetEntry({"reed_marsh", "landing"}, AREA_LOAD_FRESH, "");
            game.Game().SetStateCode(GAME_TRAVEL);
            game.Engine().LeaveArea();
            game.Engine().EnterArea();
            ASSERT_EQ(game.Area().GetName(), "reed_marsh");
        }
        if (::testing::Test::HasFailure()) return;
    }

}
