// Continuing and instant orders driven as the application drives them: queue
// orders, run ticks, drain events.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "rules/magic/spell_apply.h"
#include "rules/magic/spell_apply_effect.h"
#include "support/expect_drav.h"
#include "support/message_texts.h"
#include "support/sample_game.h"
#include "support/temp_dir.h"

using namespace DRAV;
using QuillmereTest::SampleGame;
using QuillmereTest::StartSampleGame;

namespace {

double Centre(int cell) { return cell * 2.5 + 1.25; }

// Ticks until `actor` has no continuing order; the number of ticks, or -1 after `limit`.
int TicksUntilDone(const SampleGame& game, const CActor& actor, int limit) {
    for (int ticks = 1; ticks <= limit; ++ticks) {
        game.Tick();
        if (!actor.GetCurrentOrder()) return ticks;
    }
    return -1;
}

int CountTalkEvents(const std::vector<std::shared_ptr<CEvent>>& events) {
    int count = 0;
    for (const auto& event : events) count += event->GetCode() == EVENT_TALK;
    return count;
}

// The party in an open area, the trader standing in its row at `column`.
std::shared_ptr<CActor> TraderAhead(const SampleGame& game, int column) {
    game.EnterOpenArea(30, 8);
    auto trader = game.Spawn("landing_trader", column, 1);
    EXPECT_TRUE(trader);
    game.DrainEvents();
    return trader;
}

bool HasMessage(const std::vector<std::shared_ptr<CEvent>>& events, const std::string& text) {
    for (const auto& event : events)
        if (auto* message = dynamic_cast<const CMessageEvent*>(event.get()); message && message->GetText() == text)
            return true;
    return false;
}

}  // namespace

TEST(EngineOrders, IdAccessorsReadTheWordsAfterTheType) {
    const CGiveOrder give(0x03000007, 0x05000009);
    EXPECT_EQ(give.GetThingId(), 0x03000007u);
    EXPECT_EQ(give.GetSecondThingId(), 0x05000009u);
    const CStoreOrder store(true, 0x03000002, 0x05000004, 3, kStoreToBackpack);
    EXPECT_EQ(store.GetSecondThingId(), 0x03000002u);
    EXPECT_EQ(store.GetThirdThingId(), 0x05000004u);
    const CUseOrder use(USE_OBJECT, 0x02000001, 0);
    EXPECT_EQ(use.GetSecondThingId(), 0x02000001u);
    EXPECT_EQ(CCastOrder("spark", 0x03000005).GetTargetId(), 0x03000005u);
    EXPECT_EQ(CMoveOrder(1.0, 2.0).GetThingId(), 0u);
    // A bare order carrying a subclass's code has no fields to read, and no class to cast to.
    const COrder bare(ORDER_GIVE);
    EXPECT_EQ(bare.GetSecondThingId(), 0u);
    EXPECT_DRAV_CODE(OrderAs<CGiveOrder>(bare), DRAV_ERR_PARTY_POSITION);
}

TEST(EngineOrders, MoveArrivesInTheTimeItsSpeedAllows) {
    auto game = StartSampleGame();
    game.EnterOpenArea(30, 8);
    const auto main = game.Main();
    const double x = Centre(11), y = Centre(1);
    ASSERT_NEAR(main->DistanceToPoint(x, y), 25.0, 1e-9);
    main->PushOrder(std::make_shared<CMoveOrder>(x, y), false);
    const double step = main->GetMoveSpeed() / 30.0;
    const int ticks = TicksUntilDone(game, *main, 1000);
    ASSERT_GT(ticks, 0);
    EXPECT_LE(ticks, static_cast<int>(std::ceil(25.0 / step)) + 1);
    EXPECT_NEAR(main->GetX(), x, 1e-6);
    EXPECT_NEAR(main->GetY(), y, 1e-6);
    EXPECT_EQ(main->GetAnimation(), ANIM_MOVE);
}

TEST(EngineOrders, AnActorOnTheSpotStopsTheWalkerShort) {
    auto game = StartSampleGame();
    const auto trader = TraderAhead(game, 11);
    const auto main = game.Main();
    main->PushOrder(std::make_shared<CMoveOrder>(trader->GetX(), trader->GetY()), false);
    ASSERT_GT(TicksUntilDone(game, *main, 1000), 0);
    EXPECT_LT(main->GetX(), trader->GetX());
    EXPECT_GE(main->DistanceTo(*trader), main->GetRadius());
}

// A formation sends members to spots beside whoever or whatever stands where the
// player clicked. Every such walk ends: at its spot, pressed against the one
// standing in the way of it, or, beside a post, without a word and with the spot
// inside the walker's own circle, pressed against the post's corner that keeps the
// straight last steps off it.
TEST(EngineOrders, EveryWalkToASpotBesideAStanderOrAPostEnds) {
    struct Start { const char* side; std::uint32_t column, row; };
    for (const bool post : {false, true}) {
        for (const Start start : {Start{"west", 2, 6}, Start{"north-east", 14, 2}, Start{"south-west", 5, 10}}) {
            int walks = 0;
            for (double dx = -3.0; dx <= 3.0; dx += 0.5)
                for (double dy = -3.0; dy <= 3.0; dy += 0.5) {
                    auto game = StartSampleGame();
                    // A post two cells tall with a third cell beside its foot, or the
                    // trader standing on open ground.
                    std::vector<std::string> lines(12, std::string(20, '.'));
                    if (post) lines[5][10] = lines[6][10] = lines[7][11] = '#';
                    game.EnterDrawnArea(lines);
                    const auto trader = post ? nullptr : game.Spawn("landing_trader", 10, 6);
                    const auto main = game.Main();
                    ASSERT_TRUE((post || trader) && game.Area().RemoveActor(*main));
                    ASSERT_TRUE(game.Area().PlaceActor(start.column, start.row, false, main));
                    game.DrainEvents();
                    const double x = (post ? 25.0 : trader->GetX()) + dx, y = (post ? 17.5 : trader->GetY()) + dy;
                    CThing* blocker = nullptr;
                    // A formation never aims at a spot a wall or the area's edge holds.
                    if (!game.Area().CanMoveTo(*main, &blocker, x, y) && (blocker->GetId() >> 24) != THING_ACTOR)
                        continue;
                    ++walks;
                    main->PushOrder(std::make_shared<CMoveOrder>(x, y), false);
                    SCOPED_TRACE(std::string("from the ") + start.side + ", to the " + (post ? "post" : "trader") +
                                 "'s spot + (" + std::to_string(dx) + ", " + std::to_string(dy) + ")");
                    ASSERT_GT(TicksUntilDone(game, *main, 600), 0) << "at " << main->GetX() << ", " << main->GetY();
                    const double step = main->GetMoveSpeed() / 30.0;
                    if (post) {
                        EXPECT_LT(main->DistanceToPoint(x, y), main->GetRadius());
                        for (const auto& event : game.DrainEvents())
                            if (const auto* message = dynamic_cast<const CMessageEvent*>(event.get()))
                                ADD_FAILURE() << message->GetText();
                    } else if (main->DistanceToPoint(x, y) > step) {
                        EXPECT_LE(main->DistanceTo(*trader), main->GetRadius() + trader->GetRadius() + step);
                    }
                }
            EXPECT_GT(walks, 60) << start.side;
        }
    }
}

TEST(EngineOrders, MoveAndTalkYieldsOneConversation) {
    auto game = StartSampleGame();
    const auto trader = TraderAhead(game, 14);
    const auto main = game.Main();
    main->PushOrder(std::make_shared<CMoveTalkOrder>(trader->GetId()), false);
    ASSERT_GT(TicksUntilDone(game, *main, 1000), 0);
    game.Tick(5);
    const auto events = game.DrainEvents();
    ASSERT_EQ(CountTalkEvents(events), 1);
    for (const auto& event : events) {
        if (auto* talk = dynamic_cast<const CTalkEvent*>(event.get())) {
            EXPECT_EQ(talk->GetTalker(), main->GetId());
            EXPECT_EQ(talk->GetPartner(), trader->GetId());
        }
    }
    EXPECT_TRUE(main->GetContinuingOrders().empty());
    EXPECT_TRUE(main->GetInstantOrders().empty());
}

TEST(EngineOrders, MoveAndTalkOutsideThePartyEndsWithoutConversation) {
    auto game = StartSampleGame();
    game.EnterOpenArea(30, 8);
    const auto trader = game.Spawn("landing_trader", 14, 5);
    const auto elder = game.Spawn("ferryman_elder", 17, 5);
    ASSERT_TRUE(trader && elder);
    game.DrainEvents();
    trader->PushOrder(std::make_shared<CMoveTalkOrder>(elder->GetId()), false);
    ASSERT_GT(TicksUntilDone(game, *trader, 1000), 0);
    EXPECT_EQ(CountTalkEvents(game.DrainEvents()), 0);
}

// A hail is answered for the party by its main character within talking reach of
// whoever hailed, not by the companion the hailer walked up to, whom the words may
// be about; one too far off to be heard leaves it to him.
TEST(EngineOrders, AHailIsAnsweredByTheMainCharacterWithinReach) {
    for (const std::uint32_t mainColumn : {10u, 1u}) {
        auto game = StartSampleGame();
        game.EnterOpenArea(30, 8);
        const auto main = game.Main();
        ASSERT_TRUE(game.Area().PlaceActor(mainColumn, 2, false, game.Area().RemoveActor(*main)));
        std::shared_ptr<CActor> orrin;
        game.Module().CreateActor(orrin, &game.Game(), "boatwright", "", 0);
        game.Game().AddPartyMember(orrin);
        ASSERT_TRUE(game.Area().PlaceActor(6, 1, false, orrin));
        const auto keeper = game.Spawn("ferry_keeper", 20, 1);
        game.DrainEvents();
        keeper->PushOrder(std::make_shared<CMoveTalkOrder>(orrin->GetId(), game.Game().GetTalksBegun()), false);
        ASSERT_GT(TicksUntilDone(game, *keeper, 1000), 0);
        const auto events = game.DrainEvents();
        const auto talk = std::find_if(events.begin(), events.end(),
                                       [](const auto& event) { return event->GetCode() == EVENT_TALK; });
        ASSERT_NE(talk, events.end());
        const ThingId answerer = mainColumn == 10u ? main->GetId() : orrin->GetId();
        EXPECT_EQ(static_cast<const CTalkEvent&>(**talk).GetTalker(), answerer);
    }
}

TEST(EngineOrders, StandardCheckDelaysOrCancels) {
    auto game = StartSampleGame();
    game.EnterOpenArea(30, 8);
    const auto main = game.Main();
    // Paused: the order waits and the actor stays.
    main->SetActionState(ACTION_PAUSE);
    main->SetActionTimers(game.Game().GetTick() + 100, 0);
    main->PushOrder(std::make_shared<CMoveOrder>(Centre(9), Centre(1)), false);
    main->SetAnimation(ANIM_RECOVER, 0.0);
    const double x = main->GetX();
    game.Game().SetStateCode(GAME_EXIT_AVAILABLE);
    game.Tick(3);
    EXPECT_EQ(main->GetX(), x);
    EXPECT_TRUE(main->GetCurrentOrder());
    EXPECT_NEAR(main->GetAnimationTime(), 3.0 / 15.0, 1e-9);  // the recovery runs on meanwhile
    EXPECT_EQ(game.Game().GetStateCode(), GAME_PLAYING);      // every tick starts from 0
    // Overloaded: the order goes with a message, the next one stays queued.
    main->SetActionState(ACTION_IDLE);
    main->PushOrder(std::make_shared<CMoveOrder>(Centre(3), Centre(1)), false);
    main->AddToBackpack(game.Module().CreateItem("reed_lantern", 5000, game.Game().NewThingId(THING_ITEM), 0), false);
    game.DrainEvents();
    game.Tick();
    EXPECT_TRUE(HasMessage(game.DrainEvents(), "Wren is overloaded!"));
    EXPECT_EQ(main->GetContinuingOrders().size(), 1u);
    EXPECT_EQ(main->GetX(), x);
}

TEST(EngineOrders, AFailingOrderLeavesItsQueue) {
    auto game = StartSampleGame();
    const auto main = game.Main();
    // A friend's orders come from its own thinking, which may give them again every turn: unsaid.
    const auto wisp = game.Spawn("marsh_wisp", 6, 1);
    ASSERT_TRUE(wisp);
    wisp->SetRelation(RELATION_FRIENDLY);
    wisp->PushOrder(std::make_shared<CMoveOrder>(1e300, -1e300), false);
    wisp->PushInstantOrder(std::make_shared<CPositionOrder>(0));
    game.DrainEvents();
    // What cannot be carried out where she stands, or never runs from its queue,
    // goes with a word in the log, and the orders after it run.
    main->PushInstantOrder(std::make_shared<CPositionOrder>(4));
    main->PushInstantOrder(std::make_shared<CCastOrder>("marsh_fever", main->GetId()));
    main->PushInstantOrder(std::make_shared<CPowerOrder>("no_such_power"));
    main->PushInstantOrder(std::make_shared<CPositionOrder>(0));
    main->PushOrder(std::make_shared<CPositionOrder>(0), false);
    main->PushOrder(std::make_shared<CMoveOrder>(1e300, -1e300), false);
    // An instant order whose runner throws goes with the exception.
    EXPECT_DRAV_CODE(game.Engine().RunInstantOrders(), DRAV_ERR_PARTY_POSITION);
    EXPECT_EQ(main->GetInstantOrders().size(), 1u);
    game.Engine().RunInstantOrders();
    EXPECT_TRUE(main->GetInstantOrders().empty());
    game.Engine().RunOrders();
    game.Engine().RunOrders();
    EXPECT_FALSE(main->GetCurrentOrder());
    EXPECT_EQ(QuillmereTest::MessageTexts(game.DrainEvents()),
              (std::vector<std::string>{
                  "Wren can't change places in the party: no place 4 to move to in the party.",
                  "Wren can't cast Marsh Fever at Wren: it is no order to carry out at once.",
                  "Wren can't change places in the party: no place 0 to move to in the party.",
                  "Wren can't change places in the party: it is no order to carry out over time.",
                  "Wren can't walk there: the spot is off the map."}));
    // A continuing order naming a spell the module lacks.
    main->PushOrder(std::make_shared<CCastOrder>("no_such_spell", main->GetId()), false);
    EXPECT_DRAV_CODE(game.Tick(), DRAV_ERR_PARTY_POSITION);
    EXPECT_FALSE(main->GetCurrentOrder());
    game.Tick();  // nothing stalls
}

TEST(EngineOrders, ReturnToTheEntrance) {
    auto game = StartSampleGame();
    game.Area().ClearEncounter("lane_goblins");
    const auto main = game.Main();
    main->FinalizeMove(Centre(7), Centre(8));
    const std::uint32_t before = game.Game().GetTick();
    const std::uint32_t expected = game.Engine().GetReturnTime(game.Game().GetEntry());
    EXPECT_EQ(expected, static_cast<std::uint32_t>(main->DistanceToPoint(7 * 2.5, 3 * 2.5) * 6.0));
    game.DrainEvents();
    main->PushOrder(std::make_shared<COrder>(ORDER_RETURN), false);
    game.Tick();
    EXPECT_EQ(game.Game().GetTick(), before + 1 + expected);
    EXPECT_LT(main->DistanceToPoint(Centre(7), Centre(3)), 5.0);
    const auto events = game.DrainEvents();
    EXPECT_TRUE(HasMessage(events, "The party returns to the area entrance."));
    EXPECT_EQ(events.front()->GetCode(), EVENT_RETURNED_TO_ENTRANCE);
    EXPECT_FALSE(main->GetCurrentOrder());

    // In battle it is refused, and the order is gone.
    main->FinalizeMove(Centre(7), Centre(8));
    main->PushOrder(std::make_shared<COrder>(ORDER_RETURN), false);
    game.Game().SetInBattle(true);
    game.Engine().RunOrders();
    EXPECT_TRUE(HasMessage(game.DrainEvents(), "You cannot return while in battle."));
    EXPECT_FALSE(main->GetCurrentOrder());
    EXPECT_EQ(main->GetY(), Centre(8));

    // So is a walk the calendar has no room for, and the clock stays where it was.
    game.Game().SetInBattle(false);
    game.Game().SetTick(kLastPassedTick - expected);
    main->PushOrder(std::make_shared<COrder>(ORDER_RETURN), false);
    game.Tick();
    EXPECT_EQ(game.Game().GetTick(), kLastPassedTick - expected + 1);
    const auto refused = game.DrainEvents();
    EXPECT_TRUE(HasMessage(refused, "The walk back to the area entrance would take 1 minute, past the end of the "
                                    "game's calendar on " + game.Game().FormatDateTime(kLastPassedTick) + "."));
    EXPECT_FALSE(HasMessage(refused, "The party returns to the area entrance."));
    EXPECT_EQ(main->GetY(), Centre(8));

    // So is an entry with no room: a ferryman grown over the dock leaves the party,
    // the clock and the area's order as they were, and says why.
    game.Game().SetTick(before);
    game.Person("dock_ferryman")->SetRadius(70.0);
    const ActorList order = game.Area().GetActors();
    const double facing = main->GetFacing();
    main->PushOrder(std::make_shared<COrder>(ORDER_RETURN), false);
    EXPECT_NO_THROW(game.Engine().RunOrders());
    EXPECT_EQ(game.Game().GetTick(), before);
    EXPECT_TRUE(HasMessage(game.DrainEvents(), "The party cannot return to the area entrance: no room for Wren at "
                                               "entry \"dock\" of area \"reedwater_landing\". The party stays where it is."));
    EXPECT_EQ(main->GetY(), Centre(8));
    EXPECT_EQ(main->GetFacing(), facing);
    EXPECT_EQ(game.Area().GetActors(), order);
    EXPECT_TRUE(game.Game().GetNonLocatedActors().empty());
    EXPECT_FALSE(main->GetCurrentOrder());
}

// An exit that once came within reach leaves its destination pending after the
// party walks away; the return (also a returning teleport, also after a save and a
// load) still leads to the entry the party arrived by.
TEST(EngineOrders, ReturnAfterAnExitCameWithinReachLeadsToTheArrivalEntry) {
    auto game = StartSampleGame();
    game.Area().ClearEncounter("lane_goblins");
    const auto main = game.Main();
    const CAreaExit* marsh = FindAreaExit(game.Area().GetExits(), "marsh_path");
    ASSERT_TRUE(marsh);
    // A load makes the area anew, so the exit is kept by its place, not its address.
    const double nearExitX = marsh->x + 2.0, nearExitY = marsh->y;
    main->FinalizeMove(nearExitX, nearExitY);
    game.Tick();
    ASSERT_EQ(game.Game().GetStateCode(), GAME_EXIT_AVAILABLE);
    ASSERT_EQ(game.Game().GetEntry().first, "reed_marsh");
    main->FinalizeMove(Centre(11), Centre(3));
    game.Tick();
    ASSERT_EQ(game.Game().GetStateCode(), GAME_PLAYING);

    const auto returnFrom = [&](SampleGame& playing) {
        const auto wren = playing.Main();
        wren->FinalizeMove(Centre(11), Centre(3));
        const auto charged = static_cast<std::uint32_t>(wren->DistanceToPoint(7 * 2.5, 3 * 2.5) * 6.0);
        const std::uint32_t before = playing.Game().GetTick();
        playing.DrainEvents();
        wren->PushOrder(std::make_shared<COrder>(ORDER_RETURN), false);
        playing.Tick();
        EXPECT_EQ(playing.Game().GetTick(), before + 1 + charged);
        EXPECT_LT(wren->DistanceToPoint(Centre(7), Centre(3)), 5.0);
        EXPECT_TRUE(HasMessage(playing.DrainEvents(), "The party returns to the area entrance."));
    };
    returnFrom(game);

    main->FinalizeMove(Centre(11), Centre(3));
    const CSpell& crossing = GetSpell(game.Module().GetSpells(), "ferry_crossing");
    const CSpellEffectTeleport* home = nullptr;
    ASSERT_TRUE(crossing.FindTeleportEffect(&home));
    game.Engine().CastTeleportSpell(*main, crossing, *home, 0.0, 0.0);
    EXPECT_LT(main->DistanceToPoint(Centre(7), Centre(3)), 5.0);

    main->FinalizeMove(nearExitX, nearExitY);
    game.Tick();
    ASSERT_EQ(game.Game().GetStateCode(), GAME_EXIT_AVAILABLE);
    const QuillmereTest::TempDir folder;
    const std::string path = folder / "wren.drav";
    game.Engine().SaveGame(path, CModuleVersionRange("Orvex", 5, 0), nullptr);
    std::string bonus;
    game.Engine().LoadGame(path, CModuleVersionRange("Orvex", 5, 0), bonus);
    returnFrom(game);

    // A save of an earlier version holds no arrival: the return point stands in.
    main->FinalizeMove(nearExitX, nearExitY);
    game.Tick();
    game.Engine().SaveGame(path, CModuleVersionRange("Orvex", 5, 0), nullptr);
    std::string text = QuillmereTest::ReadTextFile(path);
    const std::size_t arrival = text.find("reedwater_landing\n", text.find("<entry>"));
    const std::size_t end = text.find("</entry>");
    ASSERT_LT(arrival, end);
    text.erase(arrival, text.rfind('\n', end) + 1 - arrival);
    folder.WriteFile("wren.drav", text);
    game.Engine().LoadGame(path, CModuleVersionRange("Orvex", 5, 0), bonus);
    returnFrom(game);
}

TEST(EngineOrders, InstantOrdersRunInQueueOrderInOnePhase) {
    auto game = StartSampleGame();
    const auto main = game.Main();
    std::shared_ptr<CActor> companion;
    game.Module().CreateActor(companion, &game.Game(), "ferryman_elder", "", 0);
    game.Game().AddPartyMember(companion);
    // A member who died still has its orders run, although it has left the area.
    companion->SetActionState(ACTION_DEAD);
    companion->PushInstantOrder(std::make_shared<CPositionOrder>(0));
    main->PushInstantOrder(std::make_shared<CPositionOrder>(1));
    main->PushInstantOrder(std::make_shared<CPositionOrder>(0));
    game.Engine().RunInstantOrders();
    // In queue order main moves to 1 and back to 0; the companion's order runs after
    // the area's actors and moves it from 1 to the front.
    EXPECT_EQ(game.Game().GetParty().front(), companion);
    EXPECT_EQ(companion->GetPartyIndex(), 0u);
    EXPECT_EQ(main->GetPartyIndex(), 1u);
    EXPECT_TRUE(main->GetInstantOrders().empty());
    EXPECT_TRUE(companion->GetInstantOrders().empty());
}

TEST(EngineOrders, TwoMembersSentToTalkToEachOtherTalkOnce) {
    auto game = StartSampleGame();
    game.EnterOpenArea(30, 8);
    const auto main = game.Main();
    std::shared_ptr<CActor> companion;
    game.Module().CreateActor(companion, &game.Game(), "ferryman_elder", "", 0);
    game.Game().AddPartyMember(companion);
    ASSERT_TRUE(game.Area().PlaceActor(12, 1, false, companion));
    game.DrainEvents();
    main->PushOrder(std::make_shared<CMoveTalkOrder>(companion->GetId()), false);
    companion->PushOrder(std::make_shared<CMoveTalkOrder>(main->GetId()), false);
    ASSERT_GT(TicksUntilDone(game, *main, 1000), 0);
    game.Tick(3);
    EXPECT_EQ(CountTalkEvents(game.DrainEvents()), 1);
    EXPECT_FALSE(companion->GetCurrentOrder());
    // One walking up to hail a member on her way to someone else stops her there:
    // she has one talk, the hail, and no second page opens over it.
    std::shared_ptr<CActor> trader, keeper;
    game.Module().CreateActor(trader, &game.Game(), "landing_trader", "", 0);
    game.Module().CreateActor(keeper, &game.Game(), "ferry_keeper", "", 0);
    ASSERT_TRUE(game.Area().PlaceActor(28, 1, false, trader));
    ASSERT_TRUE(game.Area().PlaceActor(16, 1, false, keeper));
    main->PushOrder(std::make_shared<CMoveTalkOrder>(trader->GetId()), false);
    keeper->PushOrder(std::make_shared<CMoveTalkOrder>(main->GetId(), game.Game().GetTalksBegun()), false);
    ASSERT_GT(TicksUntilDone(game, *main, 1000), 0);
    std::vector<ThingId> partners;
    for (const auto& event : game.DrainEvents()) {
        const auto* talk = dynamic_cast<const CTalkEvent*>(event.get());
        if (talk && (talk->GetTalker() == main->GetId() || talk->GetPartner() == main->GetId()))
            partners.push_back(talk->GetTalker() == main->GetId() ? talk->GetPartner() : talk->GetTalker());
    }
    EXPECT_EQ(partners, std::vector<ThingId>{keeper->GetId()});
}
