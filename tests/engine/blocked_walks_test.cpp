// Walks that meet someone standing in a narrow way: the walker goes round by
// another way when there is one, else gives up with a word, instead of pacing
// before the one in its way for ever.

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "support/sample_game.h"
#include "world/master_tile.h"
#include "world/object.h"
#include "world/tile.h"

using namespace DRAV;
using QuillmereTest::SampleGame;

namespace {

constexpr int kPatience = 900;  // thirty game seconds

// `actor` put on a free spot round (x, y), the nearest rings first.
void PutNear(const SampleGame& game, CActor& actor, double x, double y) {
    for (double away = 0.0; away < 3.0; away += 0.25)
        for (int k = 0; k < 16; ++k) {
            const double px = x + away * std::cos(k * 0.3927), py = y + away * std::sin(k * 0.3927);
            if (game.Area().CanMoveTo(actor, nullptr, px, py)) {
                actor.FinalizeMove(px, py);
                return;
            }
        }
    ADD_FAILURE() << "no room near " << x << ", " << y;
}

CActor* Person(const SampleGame& game, const std::string& templateName) {
    for (const auto& actor : game.Area().GetActors())
        if (actor->GetTemplateName() == templateName) return actor.get();
    return nullptr;
}

// What became of the walks of `walkers`: the ticks each took (-1: never ended),
// the lines said and whether a conversation began.
struct Outcome {
    std::vector<int> ticks;
    std::vector<std::string> said;
    bool talked = false;
};

Outcome Walk(const SampleGame& game, const std::vector<const CActor*>& walkers) {
    Outcome outcome;
    outcome.ticks.assign(walkers.size(), -1);
    for (int tick = 1; tick <= kPatience; ++tick) {
        game.Tick();
        bool walking = false;
        for (std::size_t i = 0; i < walkers.size(); ++i) {
            if (outcome.ticks[i] < 0 && !walkers[i]->GetCurrentOrder()) outcome.ticks[i] = tick;
            walking = walking || outcome.ticks[i] < 0;
        }
        for (const auto& event : game.DrainEvents()) {
            if (const auto* message = dynamic_cast<const CMessageEvent*>(event.get()))
                outcome.said.push_back(message->GetText());
            outcome.talked = outcome.talked || event->GetCode() == EVENT_TALK;
        }
        if (!walking) break;
    }
    return outcome;
}

// Ashcombe with the sluice house open and Wick to be seen in it.
SampleGame OpenWeir() {
    SampleGame game(2, [](CActor& main) { main.SetName("Wren"); });
    game.DrainEvents();
    for (const std::uint32_t column : {13u, 14u}) {
        CTile* door = game.Area().GetTile(column, 4);
        door->GetDoor()->SetOpen(true);
        game.Area().AddOpenDoor(*door);
    }
    return game;
}

// The marsh, entered by the lane from the landing.
SampleGame Marsh() {
    SampleGame game;
    game.Game().SetEntry(AreaEntryPoint("reed_marsh", "landing"), AREA_LOAD_FRESH, "");
    game.Game().SetStateCode(GAME_TRAVEL);
    game.Engine().LeaveArea();
    game.Engine().EnterArea();
    game.DrainEvents();
    return game;
}

}  // namespace

// The weir walk is the one way across the river: with Sefton standing in its
// middle, the hero sent from the towpath to the Guild's strongbox in the sluice
// house cannot pass him, says so, and stays on her bank.
TEST(BlockedWalks, AWalkThatCannotPassAStandingPersonEndsWithAWord) {
    auto game = OpenWeir();
    // Wick has gone from beside the strongbox.
    game.Area().RemoveActor(*Person(game, "weir_runner"));
    CActor* sefton = Person(game, "toll_keeper");
    ASSERT_TRUE(sefton);
    sefton->FinalizeMove(9 * 2.5, 5 * 2.5);
    const auto wren = game.Main();
    PutNear(game, *wren, 8.75, 6.25);
    CObject* strongbox = nullptr;
    for (const auto& object : game.Area().GetObjects())
        if (object->GetObjectName() == "strongbox") strongbox = object.get();
    ASSERT_TRUE(strongbox);
    wren->PushOrder(std::make_shared<CUseOrder>(USE_OBJECT, strongbox->GetId(), 0), false);
    const Outcome outcome = Walk(game, {wren.get()});
    ASSERT_GT(outcome.ticks[0], 0) << "Wren still pressing against Sefton at " << wren->GetX() << ", " << wren->GetY();
    EXPECT_LT(outcome.ticks[0], 300);
    EXPECT_EQ(outcome.said, std::vector<std::string>{"Wren can't reach " + strongbox->GetName() + "."});
    EXPECT_LT(wren->GetX(), 20.0) << "she stays on her bank";
}

// Nell's barge, moored to the west bank, is no way across: a talk with Wick,
// begun on the barge or on the towpath beside it, goes by the weir walk instead
// of ending against Nell or on the barge.
TEST(BlockedWalks, ATalkWithWickFromTheBargeOrTheTowpathGoesByTheWeirWalk) {
    struct Start {
        const char* where;
        double x, y;
    };
    for (const Start start : {Start{"the barge's west end", 20.75, 5.0}, Start{"the towpath", 8.75, 6.25}}) {
        SCOPED_TRACE(start.where);
        auto game = OpenWeir();
        const auto wren = game.Main();
        PutNear(game, *wren, start.x, start.y);
        CActor* wick = Person(game, "weir_runner");
        ASSERT_TRUE(wick && Person(game, "bargewoman"));
        wren->PushOrder(std::make_shared<CMoveTalkOrder>(wick->GetId()), false);
        const Outcome outcome = Walk(game, {wren.get()});
        EXPECT_GT(outcome.ticks[0], 0) << "still on her way at " << wren->GetX() << ", " << wren->GetY();
        EXPECT_TRUE(outcome.talked) << "ended at " << wren->GetX() << ", " << wren->GetY();
        EXPECT_GT(wren->GetX(), 25.0) << "across the river";
    }
}

// Marra stands below the marsh's north reeds, nearer them than the hero is wide,
// with her wisp beside her; the hero, in the lane's north-west corner behind them,
// is sent to the hide's lookout once, and only she moves. Where the open lane
// south of the pair is a way round them she takes it, whichever of the two she
// first presses against and however she is held by each in turn; where the wisp
// shuts her corner she says she can't reach him.
TEST(BlockedWalks, AWalkGoesRoundTwoPeopleSideBySideOrEndsWhereTheyShutTheWay) {
    struct Case {
        const char* what;
        double wispX, wispY;
        double fromX, fromY;
        bool through;
    };
    for (const Case c : {Case{"the wisp west of Marra, the hero walking into the gap by the reeds", 6.95, 6.37, 4.25,
                              4.25, true},
                         Case{"the wisp south-west of Marra, the hero held by each in turn", 6.22, 7.45, 6.0, 4.2, true},
                         Case{"the wisp shutting the corner", 5.99, 5.81, 4.25, 4.25, false}}) {
        SCOPED_TRACE(c.what);
        auto game = Marsh();
        CActor* marra = Person(game, "reed_witch");
        CActor* wisp = Person(game, "marsh_wisp");
        CActor* lookout = Person(game, "hide_lookout");
        ASSERT_TRUE(marra && wisp && lookout);
        marra->FinalizeMove(8.75, 6.25);
        wisp->FinalizeMove(c.wispX, c.wispY);
        const auto wren = game.Main();
        ASSERT_TRUE(game.Area().CanMoveTo(*wren, nullptr, c.fromX, c.fromY));
        wren->FinalizeMove(c.fromX, c.fromY);
        wren->PushOrder(std::make_shared<CMoveTalkOrder>(lookout->GetId()), false);
        Outcome outcome;
        for (int tick = 0; tick < 2400 && wren->GetCurrentOrder() && !outcome.talked; ++tick) {
            game.Game().SetTick(game.Game().GetTick() + 1);
            game.Engine().RunOrders();
            for (const auto& event : game.DrainEvents()) {
                if (const auto* message = dynamic_cast<const CMessageEvent*>(event.get()))
                    outcome.said.push_back(message->GetText());
                outcome.talked = outcome.talked || event->GetCode() == EVENT_TALK;
            }
        }
        EXPECT_EQ(outcome.talked, c.through) << "ended at " << wren->GetX() << ", " << wren->GetY();
        EXPECT_EQ(outcome.said, c.through ? std::vector<std::string>{}
                                          : std::vector<std::string>{"Wren can't reach Smuggler Lookout."});
        if (!c.through) {
            EXPECT_LT(wren->GetX(), 8.0) << "she stays in her corner";
        }
    }
}
