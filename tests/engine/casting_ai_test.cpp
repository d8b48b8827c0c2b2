// Monsters that cast, use wands and sing: the orders their AIs give.

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <set>
#include <string>

#include "common/random.h"
#include "engine/brain/ai_cast.h"
#include "engine/brain/ai_simple.h"
#include "engine/brain/ai_wands_sing.h"
#include "engine/brain/brain.h"
#include "rules/module.h"
#include "rules/monsters/actor_template.h"
#include "support/overlay_source.h"
#include "support/sample_module.h"
#include "engine/monster_field.h"
#include "support/sample_game.h"
#include "world/item.h"
#include "world/order.h"
#include "world/tile.h"

using namespace DRAV;
using QuillmereTest::SampleGame;

namespace {

SampleGame OpenField() {
    SampleGame game = QuillmereTest::MonsterField(5);
    game.Game().SetTick(1000);
    return game;
}

using QuillmereTest::CurrentOrder;

const CSpell& Spell(const SampleGame& game, const std::string& key) { return *game.Engine().GetModule()->GetSpells().at(key); }

std::shared_ptr<CItem> Give(const SampleGame& game, CActor& actor, const std::string& key) {
    auto item = game.Engine().GetModule()->CreateItem(key, 1, game.Game().NewThingId(THING_ITEM), 0);
    actor.AddToBackpack(item, false);
    return item;
}

// The reed witch, turned on the party, knowing the ember hex.
std::shared_ptr<CActor> HexingWitch(const SampleGame& game) {
    const auto witch = game.Spawn("reed_witch", 3, 1);
    EXPECT_TRUE(witch);
    if (!witch) return nullptr;
    witch->SetRelation(RELATION_HOSTILE);
    witch->AddSpell(Spell(game, "ember_hex"));
    return witch;
}

}  // namespace

TEST(CastingAI, CastsItsSpellsInOrderThenFallsBackAndStartsAgainAfterAnHour) {
    auto game = OpenField();
    const auto spirit = game.Spawn("marsh_spirit", 6, 1);
    ASSERT_TRUE(spirit);
    spirit->SetRelation(RELATION_HOSTILE);  // roused: it waits for whoever comes near
    CAICast ai({"marsh_fever", "reed_lash"}, std::make_shared<CAICharge>(0u));
    auto step = [&] {
        spirit->ClearOrders();
        ai.IssueOrders(game.Engine(), *spirit);
    };
    step();
    ASSERT_NE(CurrentOrder<CCastOrder>(*spirit), nullptr);
    EXPECT_EQ(CurrentOrder<CCastOrder>(*spirit)->spell, "marsh_fever");
    EXPECT_EQ(CurrentOrder<CCastOrder>(*spirit)->target, game.Main()->GetId());
    step();
    ASSERT_NE(CurrentOrder<CCastOrder>(*spirit), nullptr);
    EXPECT_EQ(CurrentOrder<CCastOrder>(*spirit)->spell, "reed_lash");
    // One idle tick, then the backup AI charges.
    step();
    EXPECT_EQ(spirit->GetCurrentOrder(), nullptr);
    step();
    ASSERT_NE(CurrentOrder<CAttackOrder>(*spirit), nullptr);
    // Busy with an order, the sequence waits.
    ai.SetNextSpellIndex(0);
    ai.IssueOrders(game.Engine(), *spirit);
    EXPECT_NE(CurrentOrder<CAttackOrder>(*spirit), nullptr);

    ai.SetNextSpellIndex(3);
    game.Game().SetTick(ai.GetLastCastTick() + 108001);
    step();
    ASSERT_NE(CurrentOrder<CCastOrder>(*spirit), nullptr);
    EXPECT_EQ(CurrentOrder<CCastOrder>(*spirit)->spell, "marsh_fever");
}

TEST(CastingAI, UnknownSpellNamesAreDroppedWhenTheModuleLoads) {
    // A module author's slip: the spirit's first spell is misspelt.
    std::ifstream file(QuillmereTest::SampleRoot() + "/1/monsters.drav");
    std::string text((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    const std::string listed = "cast marsh_fever reed_lash";
    ASSERT_NE(text.find(listed), std::string::npos);
    text.replace(text.find(listed), listed.size(), "cast marsh_fevre reed_lash");
    auto source = std::make_shared<QuillmereTest::OverlaySource>(QuillmereTest::SampleFolderSource());
    source->Add(DRAVCommon::DFK_CHAPTER, DRAVCommon::DFS_NONE, "monsters.drav", text);
    CEngine engine;
    engine.LoadModule(1, CModuleVersionRange("Orvex", 5, 0), source);
    const CActorTemplate* spirit = engine.GetModule()->FindMonsterTemplate("marsh_spirit");
    ASSERT_NE(spirit, nullptr);
    const auto* ai = dynamic_cast<const CAICast*>(spirit->GetBrain()->GetCombatAI().get());
    ASSERT_NE(ai, nullptr);
    EXPECT_EQ(ai->GetSpellNames(), std::vector<std::string>{"reed_lash"});
}

TEST(CastingAI, AutocastHealsAWoundedAllyAndDrinksForMana) {
    auto game = OpenField();
    const auto witch = game.Spawn("reed_witch", 3, 1);
    ASSERT_TRUE(witch);
    witch->AddSpell(Spell(game, "mend_wounds"));
    CAIAutocast ai(AUTOCAST_HEAL);
    const auto wren = game.Main();
    const std::int32_t half = wren->GetMaxHitPoints() / 2;

    wren->SetDamageTaken(wren->GetMaxHitPoints() - half - 1);
    ai.IssueOrders(game.Engine(), *witch);
    EXPECT_EQ(witch->GetCurrentOrder(), nullptr);  // above half: no heal, and no enemy to attack

    wren->SetDamageTaken(wren->GetMaxHitPoints() - half);
    ai.IssueOrders(game.Engine(), *witch);
    ASSERT_NE(CurrentOrder<CCastOrder>(*witch), nullptr);
    EXPECT_EQ(CurrentOrder<CCastOrder>(*witch)->spell, "mend_wounds");
    EXPECT_EQ(CurrentOrder<CCastOrder>(*witch)->target, wren->GetId());

    // Out of energy, she reaches for the best mana potion instead.
    witch->ClearOrders();
    witch->SetEnergyUsed(witch->GetEnergy());
    ASSERT_LT(witch->GetEnergy(), Spell(game, "mend_wounds").GetEnergyCost());
    Give(game, *witch, "river_tonic");
    const auto draught = Give(game, *witch, "still_water_draught");
    ai.IssueOrders(game.Engine(), *witch);
    const auto* use = CurrentOrder<CUseOrder>(*witch);
    ASSERT_NE(use, nullptr);
    EXPECT_EQ(use->kind, USE_ITEM);
    EXPECT_EQ(use->thing, draught->GetId());
    EXPECT_EQ(use->target, witch->GetId());
    EXPECT_FALSE(ai.IsOutOfPotions());
}

// Marrow fires the best wand that would change something where he aims it: his
// flare's smoke, a tile spell, acts on nobody in the cell, so the cheaper ferry
// wand goes first; with only the flare left his backup AI fights at once.
TEST(CastingAI, TheWandUserFiresTheBestWandThatWouldChangeSomethingThenFallsBack) {
    auto game = OpenField();
    const auto captain = game.Spawn("smuggler_captain", 6, 1);
    ASSERT_TRUE(captain);
    captain->SetRelation(RELATION_HOSTILE);
    const auto weaker = Give(game, *captain, "ferry_wand");
    CAIWands ai(std::make_shared<CAICharge>(0u));
    auto step = [&] {
        captain->ClearOrders();
        ai.IssueOrders(game.Engine(), *captain);
    };
    step();
    ASSERT_NE(CurrentOrder<CUseOrder>(*captain), nullptr);
    EXPECT_EQ(CurrentOrder<CUseOrder>(*captain)->thing, weaker->GetId());
    EXPECT_EQ(CurrentOrder<CUseOrder>(*captain)->target, game.Main()->GetId());

    captain->RemoveFromBackpack(*weaker);
    step();
    EXPECT_TRUE(ai.IsOutOfWands());
    EXPECT_NE(CurrentOrder<CAttackOrder>(*captain), nullptr);
}

TEST(CastingAI, TheSingerKeepsItsSongUp) {
    auto game = OpenField();
    const auto tansy = game.Spawn("landing_trader", 6, 1);
    ASSERT_TRUE(tansy);
    const CSpell& chant = Spell(game, "s_power-boatmans_chant");
    tansy->AddSpell(chant);
    CAISing ai(std::make_shared<CAIStand>(false));
    ai.IssueOrders(game.Engine(), *tansy);
    ASSERT_EQ(ai.GetSong(), &chant);
    const auto* power = dynamic_cast<const CPowerOrder*>(tansy->GetInstantOrder().get());
    ASSERT_NE(power, nullptr);
    EXPECT_EQ(power->power, chant.GetKey());

    bool renewed = false;
    tansy->ClearOrders();
    tansy->ActivatePower(chant, game.Game().GetTick(), renewed);
    ai.IssueOrders(game.Engine(), *tansy);
    EXPECT_EQ(tansy->GetInstantOrder(), nullptr);  // still singing

    tansy->EndPower();
    ai.IssueOrders(game.Engine(), *tansy);
    EXPECT_NE(dynamic_cast<const CPowerOrder*>(tansy->GetInstantOrder().get()), nullptr);
}

TEST(CastingAI, AHexIsNotLaidTwiceNorAStatusOnAnAffectedTarget) {
    auto game = OpenField();
    const auto witch = HexingWitch(game);
    ASSERT_TRUE(witch);
    const CSpell& hex = Spell(game, "ember_hex");
    CAIAutocast ai(AUTOCAST_HINDER);
    const auto wren = game.Main();
    ASSERT_TRUE(ai.CastModifySpell(*witch, hex));
    EXPECT_EQ(CurrentOrder<CCastOrder>(*witch)->target, wren->GetId());

    witch->ClearOrders();
    const CSaveOutcome full;
    wren->AddSpellEffect(full, hex, 20, 3, full, game.Engine().GetModule().get());
    EXPECT_FALSE(ai.CastModifySpell(*witch, hex));
    EXPECT_EQ(witch->GetCurrentOrder(), nullptr);

    const CSpell& smoke = Spell(game, "smugglers_smoke");
    wren->AddSpellEffect(full, smoke, 30, 3, full, game.Engine().GetModule().get());
    ASSERT_TRUE(wren->HasStatus(STATUS_CONFUSED));
    EXPECT_FALSE(ai.CastModifySpell(*witch, smoke));  // a tile spell has no actor target
}

// A hex of the lowest dice and a further -1 is still a penalty, however its sum is taken.
TEST(CastingAI, AHexAtTheFarEndOfTheNumbersIsNotLaidTwice) {
    SampleGame game(QuillmereTest::EditedSampleSource(DRAVCommon::DFK_CHAPTER, "magic.drav",
                                                      "<effect> modify 10rounds -2 attack </effect>",
                                                      "<effect> modify 10rounds ( -2147483648 -1 ) attack </effect>"));
    game.EnterOpenArea(40, 12);
    game.Game().SetInBattle(false);
    const auto witch = HexingWitch(game);
    ASSERT_TRUE(witch);
    const CSpell& hex = Spell(game, "ember_hex");
    CAIAutocast ai(AUTOCAST_HINDER);
    const auto wren = game.Main();
    const CSaveOutcome full;
    wren->AddSpellEffect(full, hex, 20, 3, full, game.Engine().GetModule().get());
    ASSERT_LT(wren->GetModifier(MOD_ATTACK), 0);
    EXPECT_FALSE(ai.CastModifySpell(*witch, hex));
    EXPECT_EQ(witch->GetCurrentOrder(), nullptr);
}

TEST(CastingAI, ATileSpellLandsOnTheEnemyOrHalfwayToIt) {
    auto game = OpenField();
    const auto witch = game.Spawn("reed_witch", 10, 6);
    ASSERT_TRUE(witch);
    witch->SetRelation(RELATION_HOSTILE);
    game.Main()->SetPosition(10.0, 4.9);
    witch->SetPosition(30.0, 15.0);
    CAIAutocast ai(AUTOCAST_SUMMON);
    const CSpell& wisp = Spell(game, "call_wisp");
    const ThingId onTarget = MakeTileId(1, 4);
    const ThingId halfway = MakeTileId(3, 8);  // (20.0, 9.95)
    std::set<ThingId> tiles;
    for (int i = 0; i < 40; ++i) {
        witch->ClearOrders();
        ASSERT_TRUE(ai.CastTileTargetSpell(*witch, wisp));
        tiles.insert(CurrentOrder<CCastOrder>(*witch)->target);
    }
    EXPECT_EQ(tiles, (std::set<ThingId>{onTarget, halfway}));
    EXPECT_FALSE(ai.CastTileTargetSpell(*witch, Spell(game, "ember_hex")));  // not a tile spell
}

// What an actor cannot use counts as none, and it strikes instead: a wand it has no
// skill for, and spells it knows but not their school, as Marra the wisp's call and
// the ember hex. The engine drops such a cast, and an AI that ordered them again
// every tick would never strike.
TEST(CastingAI, AWandOrASpellTheActorCannotUseCountsAsNone) {
    auto game = OpenField();
    const auto goblin = game.Spawn("reed_goblin", 6, 1);  // no wand skill
    const auto witch = game.Spawn("reed_witch", 3, 1);
    ASSERT_TRUE(goblin && witch);
    Give(game, *goblin, "ferry_wand");
    ASSERT_FALSE(witch->MeetsSpellRequirements(Spell(game, "call_wisp")));
    ASSERT_FALSE(witch->MeetsSpellRequirements(Spell(game, "ember_hex")));
    for (CActor* actor : {goblin.get(), witch.get()}) actor->SetRelation(RELATION_HOSTILE);
    CAIWands ai(std::make_shared<CAICharge>(0u));
    ai.IssueOrders(game.Engine(), *goblin);
    EXPECT_TRUE(ai.IsOutOfWands());
    ai.IssueOrders(game.Engine(), *goblin);
    CAIAutocast(AUTOCAST_SUMMON | AUTOCAST_HINDER).IssueOrders(game.Engine(), *witch);
    for (CActor* actor : {goblin.get(), witch.get()})
        EXPECT_NE(CurrentOrder<CAttackOrder>(*actor), nullptr) << actor->GetName();
}
