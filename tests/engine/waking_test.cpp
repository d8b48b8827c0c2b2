// A party wiped out wakes where the chapter brings it back, the landing's dock,
// with the foe that felled it a few steps off: the lookout the smugglers post once
// the party crossed theirs at the hide, or the goblin out of the lane's reeds. The
// foe holds back, through the half minute's calm after the wake however near the
// party comes, then until the party comes to it or fights, whatever the rolls.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "common/random.h"
#include "engine/spell_words.h"
#include "rules/magic/spell_effects_conjure.h"
#include "support/expect_drav.h"
#include "support/sample_game.h"
#include "support/sample_save.h"
#include "support/temp_dir.h"
#include "world/order.h"

using namespace DRAV;
using QuillmereTest::SampleGame;
using QuillmereTest::StartSampleGame;

namespace {

struct Foe {
    const char* tag;  // the tag that brings it to the landing
    const char* key;
    double postX, postY;  // the middle of the cell its encounter puts it on
};
constexpr Foe kLookout{"hide_fought", "smuggler_lookout", 12 * 2.5 + 1.25, 5 * 2.5 + 1.25};
constexpr Foe kGoblin{"lane_ambush", "reed_goblin", 6 * 2.5 + 1.25, 9 * 2.5 + 1.25};
constexpr std::uint32_t kSeeds[] = {1, 2, 3, 7, 11};
// The dice of a test with one throw of its own, whatever tests ran before it in
// the process: a blow or spell that lands or misses by them decides what it shows.
constexpr std::uint32_t kDice = 4;
constexpr int kHalfMinute = 30 * 60;  // engine ticks at the window's pace

// The hero walks up to the foe, which lets her be until she comes near, and stays
// there until it kills her; she rests and wakes on the dock. True once she is
// back on her feet. Whoever hails her on the way stops her, and she is sent on.
bool WipedOutAndWoken(const SampleGame& game, const Foe& foe) {
    game.Engine().SetTag(foe.tag, true);
    CActor& hero = *game.Main();
    for (int tick = 0; tick < 6000 && game.Game().GetStateCode() != GAME_WIPED_OUT; ++tick) {
        if (!hero.GetCurrentOrder() && hero.DistanceToPoint(foe.postX, foe.postY) > 2.5)
            hero.PushOrder(std::make_shared<CMoveOrder>(foe.postX, foe.postY), false);
        game.Tick();
    }
    if (game.Game().GetStateCode() != GAME_WIPED_OUT) return false;
    game.Engine().LeaveArea();
    game.Engine().RestParty();
    game.Engine().EnterArea();
    game.DrainEvents();
    return game.Main()->IsAlive();
}

std::vector<std::string> Lines(const SampleGame& game) {
    std::vector<std::string> lines;
    for (const auto& event : game.DrainEvents())
        if (const auto* line = dynamic_cast<const CMessageEvent*>(event.get())) lines.push_back(line->GetText());
    return lines;
}

long LinesOf(const std::vector<std::string>& lines, const std::string& who) {
    long count = 0;
    for (const auto& line : lines) count += line.rfind(who, 0) == 0;
    return count;
}

// The hero walks to (x, y); the number of ticks until the foe swings at her, or -1.
// Whoever hails her on the way, she is sent on.
int TicksUntilItStrikes(const SampleGame& game, const CActor& foe, double x, double y) {
    CActor& hero = *game.Main();
    for (int tick = 0; tick < 1200; ++tick) {
        if (!hero.GetCurrentOrder() && (tick == 0 || hero.DistanceToPoint(x, y) > 2.5))
            hero.PushOrder(std::make_shared<CMoveOrder>(x, y), false);
        game.Tick();
        if (LinesOf(Lines(game), foe.GetName()) > 0) return tick;
    }
    return -1;
}

// The party, having crossed the lookouts at the smugglers' hide, falls there and
// wakes on the landing's dock, as the program wakes it.
bool WipedOutAtTheHide(const SampleGame& game) {
    game.Arrive("reed_marsh", "hideout");
    game.Engine().SetTag("hide_fought", true);
    game.Engine().ResolveActorDied("Smuggler Lookout", *game.Main());
    game.Tick();
    game.Engine().LeaveArea();
    game.Engine().RestParty();
    game.Engine().EnterArea();
    game.DrainEvents();
    return game.Area().GetName() == "reedwater_landing";
}

// The lane's goblin, sprung by its tag; null when the tag brings none.
CActor* SprungGoblin(SampleGame& game) {
    game.Engine().SetTag(kGoblin.tag, true);
    return game.Person(kGoblin.key);
}

}  // namespace

// Half a minute standing where she woke, every roll of the dice: the foe went back
// to its post and stays there, the hero is not touched, and no battle keeps her
// from going back to the entrance. Walking up to it, she finds it a foe still.
TEST(Waking, AHeroWipedOutStandsHalfAMinuteUnharmedWhereSheWakes) {
    for (const Foe& foe : {kLookout, kGoblin}) {
        for (const std::uint32_t seed : kSeeds) {
            SCOPED_TRACE(std::string(foe.key) + ", seed " + std::to_string(seed));
            DRAVCommon::GetRandomEngine().seed(seed);
            auto game = StartSampleGame();
            ASSERT_TRUE(WipedOutAndWoken(game, foe));
            CActor* enemy = game.Person(foe.key);
            ASSERT_NE(enemy, nullptr);
            EXPECT_LE(enemy->DistanceToPoint(foe.postX, foe.postY), 3 * 2.5) << "back at its post";
            game.Tick(kHalfMinute);
            game.Main()->PushOrder(std::make_shared<COrder>(ORDER_RETURN), false);
            game.Tick();
            const auto lines = Lines(game);
            EXPECT_EQ(LinesOf(lines, enemy->GetName()), 0);
            EXPECT_EQ(game.Main()->GetDamageTaken(), 0);
            ASSERT_TRUE(game.Main()->IsAlive());
            EXPECT_FALSE(game.Game().IsInBattle());
            EXPECT_EQ(LinesOf(lines, "You cannot return while in battle."), 0);
            EXPECT_EQ(LinesOf(lines, "The party returns to the area entrance."), 1);

            EXPECT_GE(TicksUntilItStrikes(game, *enemy, enemy->GetX(), enemy->GetY()), 0) << "once she walks up";
            EXPECT_EQ(enemy->GetRelation(), RELATION_HOSTILE);
            EXPECT_TRUE(game.Game().IsInBattle());
        }
    }
}

// Wiped out at the hide, the party wakes on the landing's dock with no foe in its
// reach, and in the half minute after no foe comes for it, wherever the hero
// walks: to Mother Hesk, up to the lookout posted on the trail head, across the
// lane's reeds and up to the goblin they spring.
TEST(Waking, NoFoeComesForThePartyInTheHalfMinuteAfterItWakes) {
    auto game = StartSampleGame();
    ASSERT_TRUE(WipedOutAtTheHide(game));
    CActor& hero = *game.Main();
    for (const auto& actor : game.Area().GetActors())
        EXPECT_FALSE(game.Game().IsHoldingBack(actor->GetId()) && actor->IsWithin(hero, 4 * 2.5)) << actor->GetName();
    const std::vector<std::pair<double, double>> walk{
        {31.25, 8.75}, {36.25, 11.25}, {16.25, 16.25}, {kGoblin.postX + 3.0, kGoblin.postY}};
    std::size_t next = 0;
    long blows = 0;
    for (std::uint32_t tick = 0; tick + 1 < CEngine::kWakeCalmTicks && next < walk.size(); ++tick) {
        const auto [x, y] = walk[next];
        if (hero.DistanceToPoint(x, y) < 2.5) ++next;
        else if (!hero.GetCurrentOrder()) hero.PushOrder(std::make_shared<CMoveOrder>(x, y), false);
        game.Tick();
        const auto lines = Lines(game);
        blows += LinesOf(lines, "Smuggler Lookout") + LinesOf(lines, "Reed Goblin");
    }
    EXPECT_EQ(next, walk.size()) << "she walked all the way";
    EXPECT_TRUE(game.Person(kGoblin.key) && game.Person(kLookout.key));
    EXPECT_EQ(blows, 0);
}

// The foe that felled the party, calmed by the rest to wait at its post, has still
// nothing to say: a member sent to talk to it is told it is a foe, and no talk
// opens on "has nothing to say".
TEST(Waking, TheFoeThatFelledThePartyIsNoOneToTalkToAfterTheWake) {
    for (const Foe& foe : {kLookout, kGoblin}) {
        auto game = StartSampleGame();
        ASSERT_TRUE(WipedOutAndWoken(game, foe));
        CActor* enemy = game.Person(foe.key);
        ASSERT_NE(enemy, nullptr);
        game.Main()->PushOrder(std::make_shared<CMoveTalkOrder>(enemy->GetId()), false);
        game.Tick();
        const std::string refused = "Wren can't talk to " + enemy->GetName() + ", who is hostile.";
        EXPECT_EQ(Lines(game), std::vector<std::string>{refused});
        EXPECT_EQ(game.Main()->GetCurrentOrder(), nullptr) << "no walk on to a talk";
    }
}

// A foe whose post is beside the place where the party wakes waits too: standing
// in its reach is not walking into it. Once she steps up to it, it fights.
TEST(Waking, AFoePostedWhereThePartyWakesWaitsUntilItActs) {
    DRAVCommon::GetRandomEngine().seed(kDice);
    auto game = StartSampleGame();
    ASSERT_TRUE(WipedOutAndWoken(game, kLookout));
    CActor* lookout = game.Person(kLookout.key);
    ASSERT_NE(lookout, nullptr);
    CActor& hero = *game.Main();
    std::shared_ptr<CActor> moved = game.Area().RemoveActor(*lookout);
    ASSERT_TRUE(game.Area().PlaceActor(static_cast<std::uint32_t>(hero.GetX() / 2.5) + 1,
                                       static_cast<std::uint32_t>(hero.GetY() / 2.5), false, moved));
    ASSERT_LT(lookout->DistanceTo(hero), 2 * 2.5);
    game.Tick(kHalfMinute);
    EXPECT_EQ(LinesOf(Lines(game), lookout->GetName()), 0);
    EXPECT_EQ(hero.GetDamageTaken(), 0);
    EXPECT_GE(TicksUntilItStrikes(game, *lookout, lookout->GetX(), lookout->GetY()), 0);
}

// A strike ends the hold: the party striking anyone but a friend has chosen to
// fight, and its foes far off hold back no longer (the goblin, calmed by the
// hours of rest, waits at its post for whoever comes near); a foe struck where it
// holds back strikes back, whoever struck it, once the calm after the wake is over.
// A friend of the party leaves a held foe be, as the party does.
TEST(Waking, AStrikeEndsTheHold) {
    struct Strike {
        const char* what;
        Relation newcomer;  // of one who comes to the cell, struck or striking
        std::uint32_t column, row;
        bool strikesBack;  // the goblin itself was struck
        bool holdEnds;
    };
    for (const Strike& strike : {Strike{"the hero strikes a neutral", RELATION_NEUTRAL, 9, 4, false, true},
                                 Strike{"a stranger strikes the goblin", RELATION_BERSERK, 6, 8, true, true},
                                 Strike{"a friend goes for the goblin", RELATION_FRIENDLY, 6, 8, false, false}}) {
        SCOPED_TRACE(strike.what);
        DRAVCommon::GetRandomEngine().seed(kDice);
        auto game = StartSampleGame();
        ASSERT_TRUE(WipedOutAndWoken(game, kGoblin));
        if (strike.strikesBack) game.Tick(CEngine::kWakeCalmTicks);
        CActor* goblin = game.Person(kGoblin.key);
        ASSERT_NE(goblin, nullptr);
        const auto newcomer = game.Spawn("reed_goblin", strike.column, strike.row);
        ASSERT_NE(newcomer, nullptr);
        newcomer->SetName("Tam");
        newcomer->SetRelation(strike.newcomer);
        newcomer->SetMaxHitPoints(500);
        if (strike.newcomer == RELATION_NEUTRAL)
            game.Main()->PushOrder(std::make_shared<CAttackOrder>(newcomer->GetId()), false);
        else
            newcomer->PushOrder(std::make_shared<CAttackOrder>(goblin->GetId()), false);
        ASSERT_TRUE(game.Game().IsHoldingBack(goblin->GetId()));
        long goblinLines = 0;
        for (int tick = 0; tick < kHalfMinute && (goblinLines == 0 || game.Game().IsHoldingBack(goblin->GetId()));
             ++tick) {
            game.Tick();
            goblinLines += LinesOf(Lines(game), goblin->GetName());
        }
        EXPECT_EQ(game.Game().IsHoldingBack(goblin->GetId()), !strike.holdEnds);
        EXPECT_EQ(goblinLines > 0, strike.strikesBack);
    }
}

// A box the game stops for, whoever opens it, holds back the foe already upon a
// hero, and one waiting to turn on her in whose reach she stands, as Captain
// Marrow stands over Orrin's skiff when Orrin joins her, so that the alarm it would
// raise turns nobody: closed again, she is not struck while she stands, nor in the
// moment after a box as she walks up to a foe; then it fights on, though her walk
// ended in its reach within the moment, which was the player's to call off. A
// wisp's spell at the foe, begun before the box, does not call it out again.
TEST(Waking, ABoxThatOpensHoldsBackTheFoeUponAStandingHero) {
    for (const auto& [waiting, wisp] : {std::pair{false, false}, {true, false}, {false, true}}) {
        SCOPED_TRACE(waiting ? "waiting to turn" : wisp ? "a wisp fighting it" : "upon her");
        DRAVCommon::GetRandomEngine().seed(kDice);
        auto game = StartSampleGame();
        CActor& hero = *game.Main();
        std::vector<CActor*> foes{SprungGoblin(game)};
        const auto friendly = wisp ? game.Spawn("marsh_wisp", 3, 5) : nullptr;
        const auto aimed = [&] {
            const auto order = friendly ? friendly->GetCurrentOrder() : nullptr;
            return !friendly || (order && (order->GetType() == ORDER_CAST || order->GetType() == ORDER_ATTACK));
        };
        if (waiting) {
            foes = {game.Spawn("reed_smuggler", 10, 4).get(), game.Spawn("reed_smuggler", 2, 3).get()};
            ASSERT_TRUE(hero.IsWithin(*foes[0], 4 * 2.5) && !hero.IsWithin(*foes[1], 4 * 2.5));
        } else {
            hero.PushOrder(std::make_shared<CMoveOrder>(kGoblin.postX, kGoblin.postY), false);
            for (int tick = 0; tick < 3000 && (foes[0]->GetActionState() != ACTION_WIND_UP || !aimed()); ++tick)
                game.Tick();
            ASSERT_TRUE(foes[0]->GetActionState() == ACTION_WIND_UP && aimed());
        }
        hero.ClearOrders();
        Lines(game);  // what came before the box
        const std::int32_t damage = hero.GetDamageTaken();
        game.Engine().HoldFoesBackForPage();  // a box put before the player
        game.Tick(kHalfMinute / 6);
        const std::vector<std::string> held = Lines(game);
        EXPECT_EQ(LinesOf(held, foes[0]->GetName()) + LinesOf(held, "Marsh Wisp"), 0);
        EXPECT_EQ(hero.GetDamageTaken(), damage);
        // Another box as she sets off towards a foe, held or not yet turned: she comes
        // into its reach unharmed for the moment after, and it comes on once it ends,
        // though she stopped in its reach meanwhile.
        CActor& met = *foes.back();
        game.Engine().HoldFoesBackForPage();
        hero.PushOrder(std::make_shared<CMoveOrder>(met.GetX(), met.GetY()), false);
        int cameOn = -1;
        for (int tick = 1; tick < kHalfMinute / 6 && cameOn < 0; ++tick) {
            game.Tick();
            if (met.GetAttackTarget() || met.GetCurrentOrder()) cameOn = tick;
            if (tick + 1 == int{CEngine::kPageMomentTicks}) {
                EXPECT_TRUE(waiting || !hero.GetCurrentOrder());
            }
        }
        EXPECT_GE(cameOn, int{CEngine::kPageMomentTicks});
    }
}

// The hero calls a marsh wisp onto the goblin's cell, hardy enough to last the
// fight, and sets it on the goblin; the wisp, or nullptr when it had no room.
CActor* CallAWispOnto(const SampleGame& game, const CActor& goblin) {
    const CSpell& spell = *game.Module().GetSpells().at("call_wisp");
    game.Engine().ResolveSummon(CSpellWords({game.Main()->GetName(), game.Main()->GetId(), false}, spell),
                                static_cast<std::int32_t>(goblin.GetX() / 2.5),
                                static_cast<std::int32_t>(goblin.GetY() / 2.5), true,
                                static_cast<const CSpellEffectSummon&>(*spell.GetEffects().front()), 1);
    for (const auto& actor : game.Area().GetActors())
        if (actor->IsSummoned() && actor->GetTemplateName() == "marsh_wisp") {
            actor->SetMaxHitPoints(5000);
            actor->PushOrder(std::make_shared<CAttackOrder>(goblin.GetId()), false);
            return actor.get();
        }
    return nullptr;
}

// A box in the middle of a fight stops nobody: the goblin the hero fights, or the
// wisp she called to fight for her, keeps its order and its target, and fights on
// once the box closes; so it does in a game saved in that fight and loaded again,
// before another blow has passed.
TEST(Waking, ABoxThatOpensInAFightLetsItGoOn) {
    for (const auto& [reloaded, called] : {std::pair{false, false}, {true, false}, {false, true}, {true, true}}) {
        SCOPED_TRACE(std::string(reloaded ? "saved in the fight and loaded" : "as it goes") +
                     (called ? ", a called wisp fighting" : ", the hero fighting"));
        DRAVCommon::GetRandomEngine().seed(kDice);
        auto game = StartSampleGame();
        CActor* goblin = SprungGoblin(game);
        ASSERT_NE(goblin, nullptr);
        game.Main()->SetMaxHitPoints(5000);
        goblin->SetMaxHitPoints(5000);  // the fight lasts
        CActor* fighter = game.Main().get();
        if (called) {
            fighter = CallAWispOnto(game, *goblin);
            ASSERT_NE(fighter, nullptr);
        } else {
            game.Main()->PushOrder(std::make_shared<CAttackOrder>(goblin->GetId()), false);
        }
        long blows = 0;
        for (int tick = 0; tick < 3000 && (blows == 0 || goblin->GetAttackTarget() != fighter); ++tick) {
            game.Tick();
            blows += LinesOf(Lines(game), goblin->GetName());
        }
        ASSERT_TRUE(blows > 0 && goblin->GetAttackTarget() == fighter) << "the fight is under way";
        if (reloaded) {
            const QuillmereTest::TempDir dir;
            game.Engine().SaveGame(dir / "fight.drav", QuillmereTest::kSampleVersion, nullptr);
            std::string quickActions;
            game.Engine().LoadGame(dir / "fight.drav", QuillmereTest::kSampleVersion, quickActions);
            goblin = game.Person(kGoblin.key);
            ASSERT_NE(goblin, nullptr);
            fighter = called ? game.Person("marsh_wisp") : game.Main().get();
            ASSERT_NE(fighter, nullptr);
        }
        const std::shared_ptr<COrder> order = goblin->GetCurrentOrder();
        game.Engine().HoldFoesBackForPage();  // a box put before the player
        EXPECT_FALSE(game.Game().IsHoldingBack(goblin->GetId()));
        EXPECT_EQ(goblin->GetAttackTarget(), fighter);
        EXPECT_EQ(goblin->GetCurrentOrder(), order);
        game.Tick(kHalfMinute / 4);
        EXPECT_GT(LinesOf(Lines(game), goblin->GetName()), 0);
    }
}

// The lookout gave up; the goblin wipes the party out later. After eight hours'
// rest, the lookout has still given up and lets the party be.
TEST(Waking, AFoeThatSurrenderedStaysSurrenderedAfterTheWake) {
    auto game = StartSampleGame();
    game.Engine().SetTag(kLookout.tag, true);
    CActor* lookout = game.Person(kLookout.key);
    ASSERT_NE(lookout, nullptr);
    game.Engine().ResolveActorDied(game.Main()->GetName(), *lookout);
    ASSERT_EQ(lookout->GetRelation(), RELATION_SURRENDER);
    ASSERT_TRUE(WipedOutAndWoken(game, kGoblin));
    EXPECT_EQ(lookout->GetRelation(), RELATION_SURRENDER);
    game.Main()->PushOrder(std::make_shared<CMoveOrder>(lookout->GetX(), lookout->GetY()), false);
    game.Tick(kHalfMinute);
    EXPECT_EQ(LinesOf(Lines(game), lookout->GetName() + " ("), 0);
    EXPECT_EQ(lookout->GetRelation(), RELATION_SURRENDER);
}

// Saved while its foes hold back and loaded again, the party still stands in peace;
// the save of a game without a wake keeps no foe back, and a broken list of held
// foes is refused with the running game kept.
TEST(Waking, FoesHoldBackInAGameSavedAndLoaded) {
    const CModuleVersionRange expected("Orvex", 5, 0);
    QuillmereTest::TempDir dir;
    auto game = StartSampleGame();
    ASSERT_TRUE(WipedOutAndWoken(game, kLookout));
    game.Engine().SaveGame(dir / "woken.drav", expected, nullptr);

    std::string quick;
    // A held foe that is no actor's serial, or no number at all, is a broken save.
    const std::string text = QuillmereTest::ReadTextFile(dir / "woken.drav");
    const auto block = text.find("<holding>");
    ASSERT_NE(block, std::string::npos);
    const auto number = text.find_first_of("0123456789", block);
    const auto end = text.find_first_not_of("0123456789", number);
    for (const auto& [value, code] :
         {std::pair{"16777216", DRAV_ERR_OUT_OF_RANGE}, std::pair{"lookout", DRAV_ERR_BAD_DATA}}) {
        const std::string broken = text.substr(0, number) + value + text.substr(end);
        EXPECT_DRAV_CODE(game.Engine().LoadGame(dir.WriteFile("broken.drav", broken), expected, quick), code);
    }
    // Nor is a calm longer than a wake leaves.
    const auto calm = text.find("<calm>");
    ASSERT_NE(calm, std::string::npos);
    const std::string endless =
        text.substr(0, calm) + "<calm> 4026531840 </calm>" + text.substr(text.find("</calm>", calm) + 7);
    EXPECT_DRAV_CODE(game.Engine().LoadGame(dir.WriteFile("broken.drav", endless), expected, quick),
                     DRAV_ERR_OUT_OF_RANGE);
    ASSERT_TRUE(game.Game().IsHoldingBack(game.Person(kLookout.key)->GetId()));

    // Loaded, the party has what is left of the calm: the hero walks up to the
    // lookout, and it holds back still.
    game.Engine().LoadGame(dir / "woken.drav", expected, quick);
    CActor* lookout = game.Person(kLookout.key);
    ASSERT_NE(lookout, nullptr);
    EXPECT_FALSE(game.Game().IsInBattle());
    EXPECT_LT(TicksUntilItStrikes(game, *lookout, lookout->GetX(), lookout->GetY()), 0);
    EXPECT_EQ(game.Main()->GetDamageTaken(), 0);

    // The same lookout posted in a game that never lost a fight holds nothing back:
    // it comes for the hero as soon as she walks up to it.
    auto fresh = StartSampleGame();
    fresh.Engine().SetTag(kLookout.tag, true);
    fresh.Engine().SaveGame(dir / "posted.drav", expected, nullptr);
    fresh.Engine().LoadGame(dir / "posted.drav", expected, quick);
    CActor* posted = fresh.Person(kLookout.key);
    ASSERT_NE(posted, nullptr);
    EXPECT_FALSE(fresh.Game().IsHoldingBack(posted->GetId()));
    fresh.DrainEvents();
    EXPECT_GE(TicksUntilItStrikes(fresh, *posted, posted->GetX(), posted->GetY()), 0);
}
