// Walks that meet someone standing in a narrow way: the walker goes round by
// another way when there is one, else gives up with a word, instead of pacing
// before the one in its way for ever.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <memory>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "common/random.h"
#include "rules/magic/spell_apply.h"
#include "rules/magic/spell_apply_effect.h"
#include "support/sample_game.h"
#include "support/sample_save.h"
#include "support/temp_dir.h"
#include "world/master_tile.h"
#include "world/object.h"
#include "world/tile.h"

using namespace DRAV;
using QuillmereTest::SampleGame;

namespace {

constexpr int kPatience = 900;  // thirty game seconds

void PutNear(const SampleGame& game, CActor& actor, double x, double y) {
    if (!QuillmereTest::PutNear(game.Area(), actor, x, y)) ADD_FAILURE() << "no room near " << x << ", " << y;
}

// What became of the walks of `walkers`: the ticks each took (-1: never ended),
// the lines said and whether a conversation began.
struct Outcome {
    std::vector<int> ticks;
    std::vector<std::string> said;
    bool talked = false;
    bool askedToLeave = false;
};

// What the queued events said, and whether one began a conversation.
void Hear(const SampleGame& game, Outcome& outcome) {
    for (const auto& event : game.DrainEvents()) {
        if (const auto* message = dynamic_cast<const CMessageEvent*>(event.get()))
            outcome.said.push_back(message->GetText());
        outcome.talked = outcome.talked || event->GetCode() == EVENT_TALK;
        outcome.askedToLeave = outcome.askedToLeave || event->GetCode() == EVENT_WAY_OUT_REACHED;
    }
}

// Ticks until every walk ends, or with `untilAWord` until something is said.
Outcome Walk(const SampleGame& game, const std::vector<const CActor*>& walkers, bool untilAWord = false,
             const std::function<void()>& meanwhile = [] {}) {
    Outcome outcome;
    outcome.ticks.assign(walkers.size(), -1);
    for (int tick = 1; tick <= kPatience; ++tick) {
        meanwhile();
        game.Tick();
        bool walking = false;
        for (std::size_t i = 0; i < walkers.size(); ++i) {
            if (outcome.ticks[i] < 0 && !walkers[i]->GetCurrentOrder()) outcome.ticks[i] = tick;
            walking = walking || outcome.ticks[i] < 0;
        }
        Hear(game, outcome);
        if (!walking || (untilAWord && !outcome.said.empty())) break;
    }
    return outcome;
}

// Ashcombe as the chapter begins: the sluice house shut, Wick inside it.
SampleGame ShutWeir() {
    SampleGame game(2, [](CActor& main) { main.SetName("Wren"); });
    game.DrainEvents();
    return game;
}

// Ashcombe with the sluice house open and Wick to be seen in it.
SampleGame OpenWeir() {
    SampleGame game = ShutWeir();
    for (const std::uint32_t column : {13u, 14u}) {
        CTile* door = game.Area().GetTile(column, 4);
        door->GetDoor()->SetOpen(true);
        game.Area().AddOpenDoor(*door);
    }
    return game;
}

// The landing with its lane's reeds gone, so no goblin springs out on the way.
SampleGame ClearLanding() {
    SampleGame game;
    for (const auto& object : std::vector<std::shared_ptr<CObject>>(game.Area().GetObjects()))
        if (object->GetTemplate().GetKey() == "lane_reeds") game.Area().RemoveObject(*object);
    game.DrainEvents();
    return game;
}

// `templateName` made and, as a `member`, taken into the party, standing round (x, y).
CActor& Companion(const SampleGame& game, const std::string& templateName, double x, double y, bool member = true) {
    std::shared_ptr<CActor> companion;
    game.Module().CreateActor(companion, &game.Game(), templateName, "", 0);
    if (member) game.Game().AddPartyMember(companion);
    game.Area().AddActor(companion);
    PutNear(game, *companion, x, y);
    return *companion;
}

CObject* WayOut(const SampleGame& game, double westOf) {
    for (const auto& object : game.Area().GetObjects())
        if (object->IsExit() && object->GetX() < westOf) return object.get();
    return nullptr;
}

CObject* Named(const SampleGame& game, const std::string& name) {
    for (const auto& object : game.Area().GetObjects())
        if (object->GetObjectName() == name) return object.get();
    return nullptr;
}

// The marsh, entered by the lane from the landing, its people placed as on the
// first seed, whatever the tests before drew.
SampleGame Marsh() {
    DRAVCommon::GetRandomEngine().seed(1);
    SampleGame game;
    game.Arrive("reed_marsh", "landing");
    return game;
}

}  // namespace

// The weir walk is the one way across the river: with Sefton standing in its
// middle, the hero sent from the towpath to the Guild's strongbox in the sluice
// house cannot pass him, says so, and stays on her bank.
TEST(BlockedWalks, AWalkThatCannotPassAStandingPersonEndsWithAWord) {
    auto game = OpenWeir();
    // Wick has gone from beside the strongbox.
    game.Area().RemoveActor(*game.Person("weir_runner"));
    CActor* sefton = game.Person("toll_keeper");
    ASSERT_TRUE(sefton);
    sefton->FinalizeMove(9 * 2.5, 5 * 2.5);
    const auto wren = game.Main();
    PutNear(game, *wren, 8.75, 6.25);
    CObject* strongbox = Named(game, "strongbox");
    ASSERT_TRUE(strongbox);
    wren->PushOrder(std::make_shared<CUseOrder>(USE_OBJECT, strongbox->GetId(), 0), false);
    const Outcome outcome = Walk(game, {wren.get()});
    ASSERT_GT(outcome.ticks[0], 0) << "Wren still pressing against Sefton at " << wren->GetX() << ", " << wren->GetY();
    EXPECT_LT(outcome.ticks[0], 300);
    EXPECT_EQ(outcome.said, std::vector<std::string>{"Wren can't reach " + strongbox->GetName() + ": " +
                                                     sefton->GetName() + " is in the way."});
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
        CActor* wick = game.Person("weir_runner");
        ASSERT_TRUE(wick && game.Person("bargewoman"));
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
        CActor* marra = game.Person("reed_witch");
        CActor* wisp = game.Person("marsh_wisp");
        CActor* lookout = game.Person("hide_lookout");
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
            Hear(game, outcome);
        }
        EXPECT_EQ(outcome.talked, c.through) << "ended at " << wren->GetX() << ", " << wren->GetY();
        EXPECT_EQ(outcome.said, c.through ? std::vector<std::string>{}
                                          : std::vector<std::string>{"Wren can't reach Smuggler Lookout: " +
                                                                     wisp->GetName() + " is in the way."});
        if (!c.through) {
            EXPECT_LT(wren->GetX(), 8.0) << "she stays in her corner";
        }
    }
}

// A foe set on `member`: one who has her for its target holds her where she
// stands, until it lets her go. It stands nowhere and strikes no blow.
std::shared_ptr<CActor> Holder(const SampleGame& game, CActor& member) {
    std::shared_ptr<CActor> holder;
    game.Module().CreateActor(holder, &game.Game(), "ferryman", "", 0);
    holder->SetAttackTarget(game.Game().GetTick(), &member);
    return holder;
}

// The landing's lane past Hollis, from the ferry or the dock, and the marsh's west
// gap past Marra: the first to get near stands in the narrow way beside them. The
// last walk to end asks whether to leave; with a member left by the ferry, no
// question comes and a word names him. So it does when the last walker falls on the
// way. One held on the way by a foe is told so, and the party is asked from where
// she stands, within reach of the way out; out of it, she walks on once let go, and
// the party is asked once she falls there.
TEST(BlockedWalks, APartyWalkingToAWayOutPastSomeoneIsAskedToLeaveWithoutAWord) {
    struct Case {
        const char* where;
        bool marsh;
        double heroX, heroY, companionX, companionY;
        const char* exit;
        int leftBehind = 0;  // members left by the ferry
        bool falls = false;  // the companion, once the hero stands there
        bool held = false;   // the companion, from the first
        bool behindFalls = false;  // the one left by the ferry, once the word is said
    };
    for (const Case c : {Case{"the landing, from the ferry", false, 18.75, 4.0, 20.75, 8.0, "marsh_path"},
                         Case{"the landing, from the dock", false, 21.0, 8.0, 23.0, 6.5, "marsh_path"},
                         Case{"the marsh, from the lane", true, 23.75, 11.25, 21.25, 11.25, "landing_path"},
                         Case{"the landing, one left by the ferry", false, 18.75, 4.0, 20.75, 8.0, "", true},
                         Case{"the landing, both at it already", false, 3.75, 22.5, 3.75, 25.0, "marsh_path"},
                         Case{"the landing, both at it already, one left by the ferry", false, 3.75, 22.5, 3.75,
                              25.0, "", true},
                         Case{"the landing, two left by the ferry", false, 18.75, 4.0, 20.75, 8.0, "", 2},
                         Case{"the marsh, the last walker falling", true, 6.25, 11.25, 21.25, 11.25, "landing_path",
                              false, true},
                         Case{"the marsh, the last walker held within reach of the way out", true, 23.75, 11.25,
                              16.25, 11.25, "landing_path", false, false, true},
                         Case{"the marsh, the last walker held in the lane", true, 23.75, 11.25, 26.25, 11.25, "",
                              false, false, true},
                         Case{"the marsh, the last walker held in the lane, then falling", true, 23.75, 11.25, 26.25,
                              11.25, "landing_path", false, true, true},
                         Case{"the landing, one left by the ferry, who falls there", false, 18.75, 4.0, 20.75, 8.0,
                              "", 1, false, false, true}}) {
        SCOPED_TRACE(c.where);
        auto game = c.marsh ? Marsh() : ClearLanding();
        const auto wren = game.Main();
        PutNear(game, *wren, c.heroX, c.heroY);
        CActor& companion = Companion(game, c.marsh ? "ferryman" : "reed_witch", c.companionX, c.companionY);
        std::vector<std::string> behind;
        CActor* byTheFerry = c.leftBehind > 0 ? &Companion(game, "ferryman", 16.25, 3.75) : nullptr;
        if (byTheFerry) behind.push_back(byTheFerry->GetName());
        if (c.leftBehind > 1) behind.push_back(Companion(game, "marsh_wisp", 17.5, 7.5).GetName());
        const std::shared_ptr<CActor> holder = c.held ? Holder(game, companion) : nullptr;
        CObject* way = WayOut(game, 5.0);
        ASSERT_TRUE(way);
        for (CActor* walker : {wren.get(), &companion})
            walker->PushOrder(std::make_shared<CUseOrder>(USE_OBJECT, way->GetId(), 0), false);
        const Outcome outcome = Walk(game, {wren.get(), &companion}, false, [&] {
            if (c.falls && !wren->GetCurrentOrder()) companion.SetActionState(ACTION_DEAD);
        });
        EXPECT_GT(outcome.ticks[0], 0) << "Wren still walking at " << wren->GetX() << ", " << wren->GetY();
        // Held within reach of the way out, her walk ends with the question.
        EXPECT_EQ(outcome.ticks[1] > 0, !c.held || *c.exit) << "the companion at " << companion.GetX() << ", "
                                                             << companion.GetY();
        std::vector<std::string> said;
        if (c.held) said.push_back(companion.GetName() + " is under attack and can't move.");
        if (c.falls) said.push_back(companion.GetName() + " has died!");
        // The way out is named by the place it leads to: every one is a "Way Out".
        if (!behind.empty())
            said.push_back((behind.size() == 1 ? behind[0] + " is" : behind[0] + " and " + behind[1] + " are") +
                           " too far from the way out to " + way->GetExitText() + " for the party to leave.");
        EXPECT_EQ(outcome.said, said);
        const bool asked = behind.empty() && *c.exit;
        EXPECT_EQ(outcome.askedToLeave, asked);
        game.Tick();
        EXPECT_EQ(game.Game().GetStateCode(), asked ? GAME_EXIT_AVAILABLE : GAME_PLAYING);
        EXPECT_EQ(game.Game().GetAvailableExitName(), c.exit);
        if (c.behindFalls) {
            // The walkers wait there, silent, until the one they wait for can no
            // longer keep the party: then it is asked, however he came to fall.
            Outcome waited;
            for (int tick = 0; tick < 30; ++tick) game.Tick(), Hear(game, waited);
            EXPECT_EQ(waited.said, std::vector<std::string>{});
            EXPECT_FALSE(waited.askedToLeave);
            byTheFerry->SetActionState(ACTION_DEAD);
            game.Tick();
            Hear(game, waited);
            EXPECT_TRUE(waited.askedToLeave) << "the walkers stood at the way out with no question";
            continue;
        }
        if (!c.held || asked) continue;
        holder->SetAttackTarget(game.Game().GetTick(), nullptr);
        const Outcome freed = Walk(game, {&companion});
        EXPECT_GT(freed.ticks[0], 0) << "the companion still held at " << companion.GetX() << ", " << companion.GetY();
        EXPECT_EQ(freed.said, std::vector<std::string>{});
        EXPECT_TRUE(freed.askedToLeave) << "once let go";
    }
}

// Held where she stands, by a foe or unable to move, the hero is told why once,
// keeps her walk and takes it up once free, whatever she walks to. Held on her way
// to the marsh's landing path, near the hidden trail Marra is sent to, she stands
// within the trail's reach: Marra's walk asks whether to leave by it.
TEST(BlockedWalks, AWalkerHeldWhereSheStandsIsToldWhyAndWalksOnOnceFree) {
    using Order = std::function<std::shared_ptr<COrder>(const SampleGame&)>;
    const auto use = [](UseKind kind, std::function<ThingId(const SampleGame&)> thing) -> Order {
        return [kind, thing](const SampleGame& game) { return std::make_shared<CUseOrder>(kind, thing(game), 0); };
    };
    const Order ground = [](const SampleGame&) { return std::make_shared<CMoveOrder>(8.75, 13.75); };
    // The hide's lookouts gone, who would hail the party.
    const auto marsh = [] {
        SampleGame game = Marsh();
        while (CActor* lookout = game.Person("hide_lookout")) game.Area().RemoveActor(*lookout);
        return game;
    };
    struct Case {
        const char* what;
        std::function<SampleGame()> start;
        double fromX, fromY;
        Order order;
        bool immobile = false;
    };
    const Case cases[] = {
        {"the ground", ClearLanding, 21.25, 13.75, ground},
        {"the ground, immobile", ClearLanding, 21.25, 13.75, ground, true},
        {"Hollis, to talk", ClearLanding, 21.25, 13.75,
         [](const SampleGame& game) { return std::make_shared<CMoveTalkOrder>(game.Person("innkeeper")->GetId()); }},
        {"Orrin's tackle chest", ClearLanding, 8.75, 13.75,
         use(USE_OBJECT, [](const SampleGame& game) { return Named(game, "orrins_tackle")->GetId(); })},
        {"the sluice house doors", ShutWeir, 8.75, 6.25,
         use(USE_TILE, [](const SampleGame& game) { return game.Area().GetTile(13, 4)->GetId(); })},
        {"the landing path, Marra to the hidden trail", marsh, 45.0, 6.25,
         use(USE_OBJECT, [](const SampleGame& game) { return WayOut(game, 5.0)->GetId(); })},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        auto game = c.start();
        const auto wren = game.Main();
        PutNear(game, *wren, c.fromX, c.fromY);
        const double x = wren->GetX(), y = wren->GetY();
        auto rooted = std::make_shared<CSpellApply>("Rooted", CDamageType{}, 0, 0, false, false);
        rooted->GetParts().push_back(std::make_shared<CSpellApplyEffectStatus>(~0u, STATUS_IMMOBILE));
        if (c.immobile) wren->AppendEffects({rooted});
        const std::shared_ptr<CActor> holder = c.immobile ? nullptr : Holder(game, *wren);
        wren->PushOrder(c.order(game), false);
        const bool marra = game.Area().GetName() == "reed_marsh";
        for (const auto& object : game.Area().GetObjects())
            if (marra && object->GetExitName() == "hidden_trail")
                Companion(game, "reed_witch", 38.75, 13.75)
                    .PushOrder(std::make_shared<CUseOrder>(USE_OBJECT, object->GetId(), 0), false);
        Outcome held;
        for (int tick = 0; tick < 300; ++tick, Hear(game, held)) game.Tick();
        EXPECT_EQ(held.said, std::vector<std::string>{"Wren is " + std::string(c.immobile ? "immobile" : "under attack") +
                                                      " and can't move."});
        EXPECT_LT(wren->DistanceToPoint(x, y), 0.1) << "she stands where she was held";
        EXPECT_TRUE(wren->GetCurrentOrder()) << "her walk waits";
        EXPECT_EQ(held.askedToLeave, marra);
        if (marra) continue;
        if (c.immobile) wren->RemoveEffect(*rooted);
        else holder->SetAttackTarget(game.Game().GetTick(), nullptr);
        const Outcome freed = Walk(game, {wren.get()});
        EXPECT_GT(freed.ticks[0], 0) << "still on her way at " << wren->GetX() << ", " << wren->GetY();
        EXPECT_GT(wren->DistanceToPoint(x, y), 2.0) << "she walked on";
        for (const std::string& line : freed.said) EXPECT_EQ(line.find("can't move"), std::string::npos) << line;
    }
}

// Nell's barge is a pier the path search keeps off; she stands at its far end or
// is killed.
TEST(BlockedWalks, FromNellsBargeAWalkLeavesItOrSaysItCannot) {
    struct Case {
        const char* what;
        std::function<std::shared_ptr<COrder>(const SampleGame&)> order;
        std::string said;
        double x, y;  // where it ends, within two cells, unless it says it can't
    };
    const Case cases[] = {
        {"the strongbox",
         [](const SampleGame& game) {
             return std::make_shared<CUseOrder>(USE_OBJECT, Named(game, "strongbox")->GetId(), 0);
         },
         "Wren can't reach Strongbox.", 0.0, 0.0},
        {"the sluice house doors",
         [](const SampleGame& game) {
             return std::make_shared<CUseOrder>(USE_TILE, game.Area().GetTile(13, 4)->GetId(), 0);
         },
         "The sluice house doors are locked, and Sefton the toll-keeper keeps the key.", 26.25, 11.25},
        {"the towpath", [](const SampleGame&) { return std::make_shared<CMoveOrder>(8.75, 16.25); }, "", 8.75,
         16.25},
    };
    struct Start {
        const char* where;
        double x, y;
    };
    const Start starts[] = {{"the barge's west end", 20.6, 3.75}, {"mid-barge", 21.25, 5.0},
                            {"beside Nell", 22.0, 6.4}};
    for (const bool nellKilled : {false, true}) {
        for (const Case& c : cases) {
            for (const Start& start : starts) {
                SCOPED_TRACE(std::string(c.what) + " from " + start.where + (nellKilled ? ", Nell killed" : ""));
                auto game = ShutWeir();
                if (nellKilled) game.Area().RemoveActor(*game.Person("bargewoman"));
                const auto wren = game.Main();
                PutNear(game, *wren, start.x, start.y);
                // Where she ends: where she is sent, or, with no way, where she stood.
                const bool cannot = c.said.rfind("Wren can't", 0) == 0;
                const double endX = cannot ? wren->GetX() : c.x;
                const double endY = cannot ? wren->GetY() : c.y;
                wren->PushOrder(c.order(game), false);
                const Outcome outcome = Walk(game, {wren.get()});
                ASSERT_GT(outcome.ticks[0], 0) << "still walking at " << wren->GetX() << ", " << wren->GetY();
                EXPECT_LT(outcome.ticks[0], 300);
                EXPECT_EQ(outcome.said, c.said.empty() ? std::vector<std::string>{} : std::vector<std::string>{c.said});
                EXPECT_LT(wren->DistanceToPoint(endX, endY), 5.0)
                    << "ended at " << wren->GetX() << ", " << wren->GetY();
            }
        }
    }
}

// The way to Nell goes round the chain post the weir walk passes under, where the
// walk's north edge leaves less room than the hero is wide.
TEST(BlockedWalks, AnAttackOnNellFromTheWeirWalkReachesHer) {
    int attacks = 0;
    for (double x = 16.0; x <= 30.0; x += 2.0)
        for (const double y : {11.5, 13.5}) {
            auto game = ShutWeir();
            const auto wren = game.Main();
            if (!game.Area().CanMoveTo(*wren, nullptr, x, y)) continue;
            ++attacks;
            SCOPED_TRACE("from " + std::to_string(x) + ", " + std::to_string(y));
            wren->FinalizeMove(x, y);
            wren->PushOrder(std::make_shared<CAttackOrder>(game.Person("bargewoman")->GetId()), false);
            const std::vector<std::string> said = Walk(game, {wren.get()}, true).said;
            ASSERT_FALSE(said.empty()) << "no blow at " << wren->GetX() << ", " << wren->GetY();
            EXPECT_NE(said.front().find("Nell the Bargewoman"), std::string::npos) << said.front();
            EXPECT_EQ(said.front().find("can't reach"), std::string::npos) << said.front();
        }
    EXPECT_GT(attacks, 8);
}

// Wick is in the locked sluice house.
TEST(BlockedWalks, AnAttackOnSomeoneOutOfReachEndsWithAWordAndTheNextWalkGoes) {
    auto game = ShutWeir();
    const auto wren = game.Main();
    PutNear(game, *wren, 28.75, 13.75);
    CActor* wick = game.Person("weir_runner");
    ASSERT_TRUE(wick);
    wren->PushOrder(std::make_shared<CAttackOrder>(wick->GetId()), false);
    const Outcome outcome = Walk(game, {wren.get()});
    ASSERT_GT(outcome.ticks[0], 0) << "still after Wick at " << wren->GetX() << ", " << wren->GetY();
    EXPECT_EQ(outcome.said, std::vector<std::string>{"Wren can't reach Wick the Runner."});
    EXPECT_EQ(wren->GetAttackTarget(), nullptr);

    wren->PushOrder(std::make_shared<CMoveOrder>(31.25, 18.75), false);
    const Outcome walk = Walk(game, {wren.get()});
    EXPECT_GT(walk.ticks[0], 0);
    EXPECT_EQ(walk.said, std::vector<std::string>{});
    EXPECT_LT(wren->DistanceToPoint(31.25, 18.75), 1.0);
}

// Marra, setting out for the dock from the point the hero is sent to, brushes
// past her: the hero walks on to it rather than stopping where Marra touched her.
TEST(BlockedWalks, SomeonePassingOverTheGoalDoesNotEndTheWalkShort) {
    auto game = ClearLanding();
    const auto wren = game.Main();
    CActor& marra = Companion(game, "reed_witch", 20.75, 8.0);
    marra.FinalizeMove(20.75, 8.0);
    marra.PushOrder(std::make_shared<CMoveOrder>(23.0, 6.5), false);
    game.Tick();
    wren->FinalizeMove(marra.GetX() - wren->GetRadius() - marra.GetRadius() - 0.1, marra.GetY());
    wren->PushOrder(std::make_shared<CMoveOrder>(20.75, 8.0), false);
    EXPECT_EQ(Walk(game, {wren.get(), &marra}).said, std::vector<std::string>{});
    EXPECT_LT(wren->DistanceToPoint(20.75, 8.0), 1.0) << "ended at " << wren->GetX() << ", " << wren->GetY();
}

// Sent alone from the middle of the marsh to the way out past the hide, the hero
// is stopped by the lookout's hail; sent on past him once she left the talk, again.
// Sent to strike Orrin at the hide, she is stopped by the hail all the same.
TEST(BlockedWalks, TheLookoutsHailEndsAWalkPastThemAndMeetsAPartyThatComesOnAgain) {
    auto game = Marsh();
    game.Area().RemoveActor(*game.Person("hide_lookout"));
    const auto wren = game.Main();
    PutNear(game, *wren, 23.75, 13.75);
    Companion(game, "ferryman", 21.25, 13.75);
    const ObjectList objects = game.Area().GetObjects();
    const auto trail = std::find_if(objects.begin(), objects.end(),
                                    [](const auto& object) { return object->GetExitName() == "hidden_trail"; });
    ASSERT_NE(trail, objects.end());
    for (const char* walk : {"the first walk", "sent on"}) {
        wren->PushOrder(std::make_shared<CUseOrder>(USE_OBJECT, (*trail)->GetId(), 0), false);
        const Outcome outcome = Walk(game, {wren.get()});
        EXPECT_TRUE(outcome.talked) << walk;
        EXPECT_FALSE(outcome.askedToLeave) << walk << ": through to " << wren->GetX() << ", " << wren->GetY();
    }
    PutNear(game, *wren, 23.75, 13.75);
    wren->PushOrder(std::make_shared<CAttackOrder>(game.Person("boatwright")->GetId()), false);
    const Outcome outcome = Walk(game, {wren.get()});
    EXPECT_TRUE(outcome.talked && outcome.ticks[0] > 0) << "on to Orrin at " << wren->GetX() << ", " << wren->GetY();
}

// A lookout struck, who chased the party out by the lane and was calmed by the hour
// it was away, is back on guard at the hide when it comes in again: he hails it.
TEST(BlockedWalks, ALookoutWhoChasedThePartyOutHailsItAgainAtHisPost) {
    auto game = Marsh();
    game.Area().RemoveActor(*game.Person("hide_lookout"));
    CActor* lookout = game.Person("hide_lookout");
    game.Engine().RunStrikeTriggers(*game.Main(), *lookout);
    PutNear(game, *lookout, 6.25, 11.25);
    game.Arrive("reedwater_landing", "lane");
    game.Arrive("reed_marsh", "landing");
    game.Main()->PushOrder(std::make_shared<CMoveOrder>(45.0, 8.75), false);
    EXPECT_TRUE(Walk(game, {game.Main().get()}).talked);
}

// A walk through a narrow way ends where it was sent, or with a word naming who is
// in the way. One of the party standing still there lets the walker through: in
// the marsh's gap between the fence and the stream Marra steps aside for the hero,
// in a corridor with no room to she trades places with her; rooted, or not of the
// party, she stands. A walk to the rim of the marsh's bridge, where the hero has no
// room beside the water, ends on the planks as near as she has room, a load on the
// way or not. Past the hide, a walk to a spot a lookout stands on names him.
TEST(BlockedWalks, AWalkPastOneOfThePartyOrToTheBridgesRimEndsThereOrNamesWhoIsInTheWay) {
    enum Standing { kNobody, kMember, kStranger, kRooted, kLookouts };
    struct Case {
        std::string what;
        bool corridor;  // else the marsh
        Standing marra;
        double fromX, fromY, toX, toY;
        std::string said;  // nothing: through
        bool reloaded = false;  // saved and loaded on the way
    };
    std::vector<Case> cases{{"the marsh gap", false, kMember, 23.75, 12.5, 16.25, 23.75, ""},
                            {"the marsh gap, Marra not of the party", false, kStranger, 23.75, 12.5, 16.25, 23.75,
                             "Wren can't reach Muddy Path: Marra the Reed Witch is in the way."},
                            {"a corridor", true, kMember, 5.0, 5.0, 25.0, 5.0, ""},
                            {"a corridor, Marra rooted", true, kRooted, 5.0, 5.0, 25.0, 5.0,
                             "Wren can't reach Plank Floor: Marra the Reed Witch is in the way."},
                            {"past the lookouts, to a spot one stands on", false, kLookouts, 40.65, 8.79, 51.74, 2.62,
                             "Wren can't reach Muddy Path: Smuggler Lookout is in the way."},
                            {"past the lookouts, beside the one she stands by", false, kLookouts, 48.89, 7.98, 53.37,
                             5.07, "Wren can't reach Muddy Path: Smuggler Lookout is in the way."},
                            {"to the bridge's rim, saved on the way", false, kNobody, 22.0, 12.5, 30.0, 7.6, "", true}};
    for (const auto& [fromX, fromY] : {std::pair{16.0, 9.5}, {22.0, 12.5}, {34.0, 12.5}})
        for (const auto& [toX, toY] : {std::pair{30.0, 7.6}, {27.6, 14.9}, {32.4, 7.6}})
            cases.push_back({"to the bridge's rim at " + std::to_string(toX) + ", " + std::to_string(toY), false,
                             kNobody, fromX, fromY, toX, toY, ""});
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what + " from " + std::to_string(c.fromX) + ", " + std::to_string(c.fromY));
        auto game = Marsh();
        // The drowned watch, who would fall on the hero in the lane below the gap.
        while (CActor* warden = game.Person("drowned_warden")) game.Area().RemoveActor(*warden);
        if (c.corridor) game.EnterDrawnArea({"############", "#..........#", "#..........#", "############"});
        if (c.marra == kLookouts) {
            game.Engine().SetTag("hide_passage", true);
            std::vector<std::pair<double, double>> posts{{51.25, 6.25}, {47.33, 5.4}};
            for (const auto& lookout : game.Area().GetActors())
                if (lookout->GetTemplateName() == "hide_lookout" && !posts.empty()) {
                    lookout->FinalizeMove(posts.back().first, posts.back().second);
                    posts.pop_back();
                }
        }
        const double x = c.corridor ? 15.0 : 23.75, y = c.corridor ? 5.0 : 18.75;
        const bool alone = c.marra == kNobody || c.marra == kLookouts;
        CActor* marra = alone ? nullptr : &Companion(game, "reed_witch", x, y, c.marra != kStranger);
        auto rooted = std::make_shared<CSpellApply>("Rooted", CDamageType{}, 0, 0, false, false);
        rooted->GetParts().push_back(std::make_shared<CSpellApplyEffectStatus>(~0u, STATUS_IMMOBILE));
        if (c.marra == kRooted) marra->AppendEffects({rooted});
        auto wren = game.Main();
        wren->FinalizeMove(c.fromX, c.fromY);
        wren->PushOrder(std::make_shared<CMoveOrder>(c.toX, c.toY), false);
        if (c.reloaded) {
            // The goal its first step worked out is not saved: the load works out the same.
            game.Tick(10);
            std::pair<double, double> saved, loaded;
            ASSERT_TRUE(wren->GetWalkGoal(saved.first, saved.second));
            const QuillmereTest::TempDir dir;
            game.Engine().SaveGame(dir / "walk.drav", QuillmereTest::kSampleVersion, nullptr);
            std::string quickActions;
            game.Engine().LoadGame(dir / "walk.drav", QuillmereTest::kSampleVersion, quickActions);
            wren = game.Main();
            game.Tick();
            ASSERT_TRUE(wren->GetWalkGoal(loaded.first, loaded.second));
            EXPECT_EQ(loaded, saved);
        }
        const Outcome outcome = Walk(game, {wren.get()});
        ASSERT_GT(outcome.ticks[0], 0) << "still walking at " << wren->GetX() << ", " << wren->GetY();
        EXPECT_LT(outcome.ticks[0], 150);
        // A basket's snap, or the smugglers' lanterns, may be heard or seen on the way.
        std::vector<std::string> said;
        for (const std::string& line : outcome.said)
            if (line.find("can't") != std::string::npos) said.push_back(line);
        EXPECT_EQ(said, c.said.empty() ? std::vector<std::string>{} : std::vector<std::string>{c.said});
        EXPECT_EQ(wren->DistanceToPoint(c.toX, c.toY) < wren->GetRadius() + 0.25, c.said.empty())
            << "ended at " << wren->GetX() << ", " << wren->GetY();
        EXPECT_TRUE(!marra || marra->DistanceToPoint(x, y) < 5.0)
            << "Marra went off to " << marra->GetX() << ", " << marra->GetY();
    }
}

// Members sent one at a time to spots among the others on the dock make way for
// each other once met, never trading places with one the walker has not come up to.
TEST(BlockedWalks, MembersMakingWayForEachOtherNeverJumpAcrossTheGround) {
    SampleGame game = ClearLanding();
    const std::vector<CActor*> party = {game.Main().get(), &Companion(game, "reed_witch", 20.0, 10.0),
                                        &Companion(game, "boatwright", 22.5, 10.0)};
    std::mt19937 random(4);
    std::uniform_real_distribution<double> x(12.5, 30.0), y(8.75, 15.0);
    for (int tick = 1; tick <= 20 * kPatience; ++tick) {
        if (tick % 90 == 1)
            party[tick / 90 % party.size()]->PushOrder(std::make_shared<CMoveOrder>(x(random), y(random)), false);
        std::vector<std::pair<double, double>> before;
        for (const CActor* member : party) before.emplace_back(member->GetX(), member->GetY());
        game.Tick();
        for (std::size_t i = 0; i < party.size(); ++i)
            ASSERT_LT(party[i]->DistanceToPoint(before[i].first, before[i].second), party[i]->GetRadius() * 2 + 1.0)
                << party[i]->GetName() << " at tick " << tick;
    }
}
