// A game saved and loaded at any tick goes on exactly as the game that was not
// saved: a short share of the lockstep harness, whose run at length is the
// lockstep tool's.

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <random>
#include <string>

#include "common/random.h"
#include "support/lockstep.h"
#include "support/message_texts.h"
#include "support/sample_game.h"
#include "support/temp_dir.h"
#include "world/object.h"

using namespace DRAV;
using QuillmereTest::SampleGame;

namespace {

constexpr int kSearchTicks = 1500;

// On the dock's side of the lane, away from the reeds the lane's goblins spring from.
std::shared_ptr<CActor> HostileGoblin(const SampleGame& game) {
    const auto goblin = game.Spawn("reed_goblin", 9, 3);
    if (!goblin) return nullptr;
    goblin->SetMaxHitPoints(500);
    goblin->SetRelation(RELATION_HOSTILE);
    return goblin;
}

SampleGame Landing() {
    DRAVCommon::GetRandomEngine().seed(3);
    SampleGame game;
    game.DrainEvents();
    return game;
}

SampleGame Marsh() {
    DRAVCommon::GetRandomEngine().seed(1);
    SampleGame game;
    game.Arrive("reed_marsh", "landing");
    game.DrainEvents();
    return game;
}

const CObject* WestWayOut(const SampleGame& game) {
    for (const auto& object : game.Area().GetObjects())
        if (object->IsExit() && object->GetX() < 5.0) return object.get();
    return nullptr;
}

struct SavePointCase {
    const char* what;
    std::function<SampleGame()> make;
    std::function<void(const SampleGame&)> order;
    QuillmereTest::SavePoint point;
    int ticks = 600;
};

// The lane's goblin, with a sturdy hero put a step from him; null when either is missing.
std::shared_ptr<CActor> HeroBesideTheGoblin(const SampleGame& game) {
    auto goblin = HostileGoblin(game);
    if (!goblin) return nullptr;
    game.Main()->SetMaxHitPoints(500);
    if (!QuillmereTest::PutNear(game.Area(), *game.Main(), goblin->GetX() - 1.5, goblin->GetY())) return nullptr;
    return goblin;
}

}  // namespace

// Saved in a blow's wind-up, with a spell in flight, as the party comes to the
// marsh's west way out (a close of the window saves then), with a talk about to
// open and as a page opens, the loaded game goes on as the game did: every actor,
// everything in flight, every line, question, talk and page, for 600 ticks.
TEST(Lockstep, AGameSavedAtAnyMomentGoesOnAsTheGameThatWasNotSaved) {
    const SavePointCase cases[] = {
        {"a blow wound up on the lane", Landing,
         [](const SampleGame& game) {
             const auto goblin = HeroBesideTheGoblin(game);
             ASSERT_TRUE(goblin);
             game.Main()->PushOrder(std::make_shared<CAttackOrder>(goblin->GetId()), false);
         },
         QuillmereTest::SAVE_WIND_UP},
        {"Marra's Marsh Fever in flight", Landing,
         [](const SampleGame& game) {
             const auto goblin = HostileGoblin(game);
             // Beside the goblin, so that he swings at her where he stands.
             const auto marra = game.Spawn("reed_witch", 8, 3);
             ASSERT_TRUE(goblin && marra);
             game.Game().AddPartyMember(marra);
             marra->PushOrder(std::make_shared<CCastOrder>("marsh_fever", goblin->GetId()), false);
         },
         QuillmereTest::SAVE_IN_FLIGHT},
        {"a walk held by a goblin's blows, its hold told", Landing,
         [](const SampleGame& game) {
             const auto goblin = HeroBesideTheGoblin(game);
             ASSERT_TRUE(goblin);
             goblin->PushOrder(std::make_shared<CAttackOrder>(game.Main()->GetId()), false);
             game.Main()->PushOrder(std::make_shared<CMoveOrder>(3.75, 3.75), false);
             // Saved at a later swing, once she was told.
             game.Tick(90);
             const auto told = QuillmereTest::MessageTexts(game.DrainEvents());
             ASSERT_NE(std::find(told.begin(), told.end(), "Wren is under attack and can't move."), told.end());
         },
         // While she is held: a walk's steps once free are the harness's kept difference.
         QuillmereTest::SAVE_WIND_UP, 50},
        {"the party coming to the marsh's west way out", Marsh,
         [](const SampleGame& game) {
             ASSERT_TRUE(QuillmereTest::PutNear(game.Area(), *game.Main(), 23.75, 11.25));
             const CObject* way = WestWayOut(game);
             ASSERT_TRUE(way);
             game.Main()->PushOrder(std::make_shared<CUseOrder>(USE_OBJECT, way->GetId(), 0), false);
         },
         QuillmereTest::SAVE_ARRIVING},
        {"a talk with Tobin about to open", Landing,
         [](const SampleGame& game) {
             const CActor* tobin = game.Person("ferryman");
             ASSERT_TRUE(tobin);
             game.Main()->PushOrder(std::make_shared<CMoveTalkOrder>(tobin->GetId()), false);
         },
         QuillmereTest::SAVE_TALK},
        {"the Edge of the Shallows opening", Marsh,
         [](const SampleGame& game) { game.Main()->PushOrder(std::make_shared<CMoveOrder>(23.75, 18.75), false); },
         QuillmereTest::SAVE_PAGE},
    };
    for (const SavePointCase& c : cases) {
        SCOPED_TRACE(c.what);
        const SampleGame game = c.make();
        c.order(game);
        bool saved = false;
        for (int tick = 0; tick < kSearchTicks && !saved; ++tick) {
            game.Tick();
            const auto events = QuillmereTest::TakeEvents(game.Engine());
            if (!(QuillmereTest::SavePointsNow(game.Engine(), events) & c.point)) continue;
            saved = true;
            QuillmereTest::TempDir dir;
            int compared = 0;
            const auto difference =
                QuillmereTest::RunLockstep(game.Engine(), events, {1, c.ticks, 0, 1, dir.Path().string()}, &compared);
            EXPECT_FALSE(difference) << difference->Describe();
            EXPECT_GT(compared, 0);
        }
        EXPECT_TRUE(saved) << "never " << QuillmereTest::SavePointName(c.point);
    }
}

// Random orders, given alike to the game and its loaded copy every second, change
// nothing of it: the copy goes on as the game would have.
TEST(Lockstep, RandomOrdersAfterTheLoadPlayAsInTheGameThatWasNotSaved) {
    for (const std::uint32_t seed : {1u, 2u, 3u}) {
        SCOPED_TRACE(seed);
        const SampleGame game = Landing();
        std::mt19937 chooser(seed);
        std::vector<std::shared_ptr<CEvent>> events;
        for (int tick = 1; tick <= 240; ++tick) {
            if (tick % 30 == 0) QuillmereTest::GiveRandomOrder(chooser, {&game.Engine()});
            game.Tick();
            events = QuillmereTest::TakeEvents(game.Engine());
        }
        QuillmereTest::TempDir dir;
        const auto difference =
            QuillmereTest::RunLockstep(game.Engine(), events, {1, 600, 30, seed, dir.Path().string()});
        EXPECT_FALSE(difference) << difference->Describe();
    }
}
