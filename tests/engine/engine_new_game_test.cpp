#include <gtest/gtest.h>

#include "support/expect_drav.h"
#include "support/sample_game.h"
#include "rules/definitions/object_template.h"
#include "rules/definitions/tile_template.h"
#include "rules/items/item_template.h"
#include "rules/kinds/formulas.h"
#include "rules/kinds/item_kinds.h"
#include "world/item.h"
#include "world/master_tile.h"
#include "world/object.h"
#include "world/tile.h"

#include <map>

using namespace DRAV;
using QuillmereTest::StartSampleGame;

TEST(EngineNewGame, PartyStandsAtTheStartEntry) {
    auto game = StartSampleGame();
    EXPECT_EQ(game.Game().GetStateCode(), GAME_PLAYING);
    EXPECT_EQ(game.Area().GetName(), game.Module().GetStartArea());
    ASSERT_EQ(game.Game().GetParty().size(), 1u);
    const auto main = game.Main();
    EXPECT_EQ(main->GetTemplateName(), "main");
    EXPECT_EQ(main->GetArea(), &game.Area());
    EXPECT_TRUE(game.Game().GetNonLocatedActors().empty());
    // At the dock entry, cell (7, 3).
    EXPECT_LT(main->DistanceToPoint(7 * 2.5 + 1.25, 3 * 2.5 + 1.25), 2.5 * 2);
    EXPECT_EQ(game.Game().GetGold(), GetStartingGold(1));
    EXPECT_EQ(game.Game().GetTick(), 1u);  // entering runs one tick
    EXPECT_EQ(game.Game().GetReturnPoint(), game.Game().GetEntry());
}

TEST(EngineNewGame, NewCharacterBeforeCreation) {
    CEngine engine;
    engine.LoadModule(1, CModuleVersionRange("Orvex", 5, 0), QuillmereTest::SampleFolderSource());
    const auto actor = engine.NewGame();
    EXPECT_EQ(actor->GetName(), "");
    EXPECT_EQ(actor->GetLevel(), 1u);
    EXPECT_EQ(actor->GetClass(), CLASS_MONSTER);
    EXPECT_EQ(actor->GetGender(), GENDER_NONE);
    EXPECT_EQ(actor->GetRace(), RACE_HUMAN);
    EXPECT_EQ(actor->GetUnspentPoints(), 72u);
    EXPECT_TRUE(engine.GetGame()->GetParty().empty());
    EXPECT_EQ(engine.GetGame()->GetStateCode(), GAME_ENTERING);
}

TEST(EngineNewGame, FailedModuleLoadKeepsTheRunningChapter) {
    auto game = StartSampleGame();
    const auto module = game.Engine().GetModule();
    const auto source = game.Engine().GetDataSource();
    EXPECT_DRAV_CODE(game.Engine().LoadModule(1, CModuleVersionRange("Other", 5, 0), source), DRAV_ERR_BAD_DATA);
    EXPECT_DRAV_CODE(game.Engine().LoadModule(1, CModuleVersionRange("Orvex", 4, 0), source),
                     DRAV_ERR_MODULE_TOO_NEW);
    EXPECT_EQ(game.Engine().GetModule(), module);
    EXPECT_EQ(game.Engine().GetDataSource(), source);
    game.Tick();  // still runs on the old module
}

TEST(EngineNewGame, NewChapterCarriesTheCharacterOver) {
    auto old = StartSampleGame();
    const auto main = old.Main();
    main->SetSecondName("the Ferrier");
    main->SetExperience(1234);
    main->SetUnspentPoints(1);
    main->AddToBackpack(old.Module().CreateItem("reed_lantern", 1, old.Game().NewThingId(THING_ITEM), 0), false);
    auto pole = old.Module().CreateItem("ferrymans_pole", 1, old.Game().NewThingId(THING_ITEM), 0);
    main->SetEquipment(SLOT_WEAPON, pole);
    old.Game().SetGold(-40);
    old.Game().SetTick(5000);
    // The next chapter imports these two tags, not the third.
    old.Game().SetQuestTag("smugglers_reported", 3);
    old.Game().SetQuestTag("smugglers_routed", 0);
    old.Game().SetQuestTag("smugglers_seen", 1);

    CEngine next;
    next.LoadModule(2, CModuleVersionRange("Orvex", 5, 0), QuillmereTest::SampleFolderSource(2));
    next.NewChapterGame(old.EnginePtr()->GetGame());
    const CGame& game = *next.GetGame();
    const auto carried = game.GetMainActor();
    EXPECT_NE(carried, main);
    EXPECT_EQ(carried->GetName(), "Wren");
    EXPECT_EQ(carried->GetSecondName(), "the Ferrier");
    EXPECT_EQ(carried->GetExperience(), 1234u);
    EXPECT_TRUE(carried->HasLevelPoints()) << "the point still to spend is shown on the portrait";
    EXPECT_EQ(carried->GetEquipped(SLOT_WEAPON), nullptr);
    ASSERT_EQ(carried->GetBackpack().size(), 2u);
    EXPECT_EQ(carried->GetBackpack()[1]->GetTemplate().GetKey(), "ferrymans_pole");
    EXPECT_NE(carried->GetBackpack()[1], pole);
    EXPECT_EQ(carried->GetHitPoints(), main->GetMaxHitPoints());
    EXPECT_EQ(game.GetGold(), 0);  // never below 0
    EXPECT_EQ(game.GetTick(), 5000u);
    EXPECT_EQ(game.GetQuestTags().at("smugglers_reported"), 3);
    EXPECT_EQ(game.GetQuestTags().count("smugglers_routed"), 0u);
    EXPECT_EQ(game.GetQuestTags().count("smugglers_seen"), 0u);
    EXPECT_EQ(game.GetStateCode(), GAME_ENTERING);
}

// A human hero's base level sits one below the first, so its class level alone
// counts: every number below is worked from the rule tables by hand.
TEST(EngineNewGame, StartingNumbersOfALevelOneAndALevelFiveHero) {
    auto game = StartSampleGame();
    const auto wren = game.Main();  // class "Common": attack rate 120, magic rate 30, attributes 6
    EXPECT_EQ(wren->GetBaseLevel(), -1);
    EXPECT_EQ(wren->GetLevel(), 1u);
    EXPECT_EQ(wren->GetExperience(), 1584u);   // the level-1 threshold, not level 2's 2511
    EXPECT_EQ(wren->GetBaseAttackBonus(), 5);  // 0 x 5 + 1 x 120 / 24
    EXPECT_EQ(wren->GetMagicLevel(), 1);       // 0 x 30 / 24 + 1 x 30 / 24
    EXPECT_EQ(wren->GetMaxEnergy(), 1);        // n = 1: max(2 x 3 - 10, 1, 1)
    wren->AddSkill(SKILL_SNEAK);
    EXPECT_EQ(wren->GetSkillBase(SKILL_SNEAK), 5);  // (-1 + 1 + 1) x 5
    // 927 experience to the next level: 2510 is not enough, 2511 is.
    wren->SetExperience(2510);
    EXPECT_FALSE(wren->AdvanceLevel());
    wren->SetExperience(2511);
    EXPECT_TRUE(wren->AdvanceLevel());
    EXPECT_EQ(wren->GetLevel(), 2u);

    // A fighter started at level 5, as the level page of character creation makes one.
    CEngine engine;
    engine.LoadModule(1, CModuleVersionRange("Orvex", 5, 0), QuillmereTest::SampleFolderSource());
    const auto hero = engine.NewGame();
    hero->SetClass(CLASS_FIGHTER);
    hero->SetLevel(5);
    hero->SetExperience(static_cast<std::uint32_t>(GetXpThreshold(hero->GetBaseLevel() + 1 + 5)));
    engine.BeginNewGame(hero);
    EXPECT_EQ(hero->GetExperience(), 10000u);
    EXPECT_EQ(hero->GetBaseAttackBonus(), 25);  // 5 x 120 / 24
    EXPECT_EQ(hero->GetMagicLevel(), 6);        // 5 x 30 / 24
    EXPECT_EQ(hero->GetMaxEnergy(), 5);         // n = 5: max(2 x 8 - 20, 5, 1)
    EXPECT_EQ(engine.GetGame()->GetGold(), 10000);
    hero->SetExperience(15847);
    EXPECT_FALSE(hero->AdvanceLevel());
    hero->SetExperience(15848);
    EXPECT_TRUE(hero->AdvanceLevel());

    // The next chapter carries the same footing over.
    CEngine next;
    next.LoadModule(1, CModuleVersionRange("Orvex", 5, 0), QuillmereTest::SampleFolderSource());
    next.NewChapterGame(engine.GetGame());
    const auto carried = next.GetGame()->GetMainActor();
    EXPECT_EQ(carried->GetBaseLevel(), -1);
    EXPECT_EQ(carried->GetLevel(), 6u);
    EXPECT_EQ(carried->GetBaseAttackBonus(), 30);
}

TEST(EngineNewGame, SummonedItemsKeepTheirTimeInTheNextChapter) {
    auto old = StartSampleGame();
    old.Game().SetTick(9000);
    const auto main = old.Main();
    auto NewLantern = [&](std::uint32_t expiry) {
        return old.Module().CreateItem("reed_lantern", 1, old.Game().NewThingId(THING_ITEM), expiry);
    };
    main->AddToBackpack(NewLantern(12000), false);  // an hour and a half of light left
    main->AddToBackpack(NewLantern(9000), false);   // runs out this very tick
    main->SetEquipment(SLOT_OFFHAND, NewLantern(0));

    CEngine next;
    next.LoadModule(1, CModuleVersionRange("Orvex", 5, 0), QuillmereTest::SampleFolderSource());
    next.NewChapterGame(old.EnginePtr()->GetGame());
    const auto& backpack = next.GetGame()->GetMainActor()->GetBackpack();
    ASSERT_EQ(backpack.size(), 2u);
    EXPECT_EQ(backpack[0]->GetExpiryTick(), 12000u);
    EXPECT_EQ(backpack[1]->GetExpiryTick(), 0u);  // the lantern that was no spell's stays for good
    EXPECT_EQ(next.GetGame()->GetTick(), 9000u);
}

TEST(EngineNewGame, TheDockGivesANewHeroTheFerryKitOnce) {
    QuillmereTest::SampleGame game([](CActor& main) { main.SetName("Wren"); }, true);
    CActor& wren = *game.Main();
    auto kit = [&] {
        std::map<std::string, std::int32_t> counts;
        for (const auto& item : wren.GetBackpackItems()) counts[item->GetTemplate().GetKey()] += item->GetCount();
        return counts;
    };
    const std::map<std::string, std::int32_t> expected{
        {"river_tonic", 2}, {"still_water_draught", 1}, {"ferry_wand", 1}, {"lantern_scroll", 1}};
    EXPECT_EQ(kit(), expected);
    EXPECT_TRUE(game.Game().IsQuestTagSet(QuillmereTest::SampleGame::kStartKitTag));
    const auto& templates = game.Module().GetItemTemplates();
    EXPECT_EQ(templates.at("river_tonic")->GetKind(), ITEM_POTION);
    EXPECT_EQ(templates.at("still_water_draught")->GetKind(), ITEM_POTION);
    EXPECT_EQ(templates.at("ferry_wand")->GetKind(), ITEM_WAND);
    EXPECT_EQ(templates.at("lantern_scroll")->GetKind(), ITEM_SCROLL);
    EXPECT_TRUE(templates.at("river_tonic")->HasFlag(ITEMFLAG_MANUAL)) << "the tonic has its manual entry";
    EXPECT_FALSE(templates.at("still_water_draught")->HasFlag(ITEMFLAG_MANUAL));

    // Coming back to the dock gives nothing more.
    game.Engine().RunEntryScript("dock");
    EXPECT_EQ(kit(), expected);
}

TEST(EngineNewGame, TheStartHasADoorAChestAFriendAndAFoeWithinAShortWalk) {
    auto game = StartSampleGame();
    CActor& wren = *game.Main();
    constexpr double kShortWalk = 35.0;
    bool door = false, container = false, friendly = false, hostile = false;
    CArea& area = game.Area();
    // Nobody fights at the dock; the foes wait in the reeds by the lane and spring
    // on whoever walks there.
    for (const auto& actor : area.GetActors()) EXPECT_FALSE(actor->IsHostile()) << actor->GetName();
    const CObject* reeds = nullptr;
    for (const auto& object : area.GetObjects())
        if (object->GetObjectName() == "lane_ambush_reeds") reeds = object.get();
    ASSERT_TRUE(reeds);
    EXPECT_LT(wren.DistanceToPoint(reeds->GetX(), reeds->GetY()), kShortWalk);
    const double dockX = wren.GetX(), dockY = wren.GetY();
    // The goblin springs, and turns on her at her nearness the tick after.
    wren.FinalizeMove(reeds->GetX(), reeds->GetY());
    game.Tick(2);
    wren.FinalizeMove(dockX, dockY);
    for (std::uint32_t row = 0; row < 12; ++row)
        for (std::uint32_t column = 0; column < 16; ++column)
            if (const CTile* tile = area.GetTile(column, row);
                tile && tile->GetMaster() && tile->GetMaster()->GetDefinition().GetKind() == TILE_DOOR &&
                wren.DistanceToPoint((column + 0.5) * 2.5, (row + 0.5) * 2.5) < kShortWalk)
                door = true;
    for (const auto& object : area.GetObjects())
        if (object->GetTemplate().IsContainer() && wren.DistanceToPoint(object->GetX(), object->GetY()) < kShortWalk)
            container = true;
    for (const auto& actor : area.GetActors()) {
        if (actor.get() == &wren || wren.DistanceToPoint(actor->GetX(), actor->GetY()) >= kShortWalk) continue;
        if (actor->IsHostile()) hostile = true;
        else if (!actor->GetTalkStates().empty()) friendly = true;
    }
    EXPECT_TRUE(door);
    EXPECT_TRUE(container);
    EXPECT_TRUE(friendly) << "someone to talk to";
    EXPECT_TRUE(hostile) << "someone to fight";
}
