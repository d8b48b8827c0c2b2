// Saved games in motion: every order, walk and fight comes back after a load as it
// stood at the save.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <set>
#include <sstream>

#include "support/expect_drav.h"
#include "support/sample_save.h"
#include "support/save_text.h"
#include "support/temp_dir.h"
#include "rules/monsters/actor_names.h"
#include "script/script_limits.h"
#include "world/object.h"
#include "world/save_head.h"
#include "world/tile.h"

using namespace DRAV;
using QuillmereTest::FreshSampleEngine;
using QuillmereTest::kSampleVersion;
using QuillmereTest::ReadTextFile;
using QuillmereTest::StartSampleGame;
using QuillmereTest::TempDir;

namespace {

// An order as what it names: its kind, its numbers, and each thing by what it is,
// so that an order before a save and the same order after the load read alike
// though the load numbered every thing anew.
std::string Told(const CGame& game, const CActor& actor, const COrder& order) {
    const CArea& area = *game.GetCurrentArea();
    const auto thing = [&](ThingId id) -> std::string {
        if ((id >> 24) == 0) return std::to_string(id);
        if (const CActor* other = area.FindActor(id)) return other->GetName();
        if (const CObject* object = area.FindObject(id)) return object->GetTemplate().GetKey();
        if ((id >> 24) == THING_TILE) return "tile " + std::to_string(id & kMaxThingSerial);
        std::int32_t position = 0;
        if (const CItem* item = actor.FindItem(id, &position))
            return item->GetTemplate().GetKey() + " x" + std::to_string(item->GetCount()) + " carried at " +
                   std::to_string(position);
        for (const auto& object : area.GetObjects())
            for (const auto& item : object->GetItems())
                if (item->GetId() == id) return item->GetTemplate().GetKey() + " in " + object->GetTemplate().GetKey();
        for (const auto& [owner, store] : game.GetStores())
            for (const auto& item : store->GetStock())
                if (item->GetId() == id) return item->GetTemplate().GetKey() + " sold by " + owner;
        return "gone";
    };
    std::string told = std::to_string(order.GetType()) + ": " + thing(order.GetThingId()) + ", " +
                       thing(order.GetSecondThingId()) + ", " + thing(order.GetThirdThingId());
    if (const auto* move = dynamic_cast<const CMoveOrder*>(&order))
        told += " to " + std::to_string(move->x) + " " + std::to_string(move->y);
    if (const auto* cast = dynamic_cast<const CCastOrder*>(&order)) told += " " + cast->spell + " at " + thing(cast->target);
    if (const auto* talk = dynamic_cast<const CTalkOrder*>(&order)) told += " " + talk->state + " \"" + talk->line + "\"";
    if (const auto* power = dynamic_cast<const CPowerOrder*>(&order)) told += " " + power->power;
    if (const auto* trade = dynamic_cast<const CStoreOrder*>(&order))
        told += " " + std::to_string(trade->count) + " to " + std::to_string(trade->slot);
    if (const auto* walk = dynamic_cast<const CMoveTalkOrder*>(&order))
        told += " after " + std::to_string(game.GetTalksBegun() - walk->talksBegun) + " talks";
    return told;
}

// Every order of the actor, instant ones first, then her target and her attackers.
std::vector<std::string> Doing(const CGame& game, const CActor& actor) {
    std::vector<std::string> doing;
    for (const auto& order : actor.GetInstantOrders()) doing.push_back("now " + Told(game, actor, *order));
    for (const auto& order : actor.GetContinuingOrders()) doing.push_back(Told(game, actor, *order));
    if (actor.GetAttackTarget()) doing.push_back("striking " + actor.GetAttackTarget()->GetName());
    for (const CActor* attacker : actor.GetAttackers()) doing.push_back("struck by " + attacker->GetName());
    return doing;
}

}  // namespace

// A load gives back what everyone was doing: every kind of order, in either queue,
// naming what it named before under the id the load gave it, the foe each strikes,
// and the party's walk to a way out. An order whose thing is gone is left out, at
// the save or at the load; a save from before orders were kept loads with none.
TEST(EngineSave, EveryOrderComesBackNamingTheSameThingsUnderTheirNewIds) {
    auto game = StartSampleGame();
    QuillmereTest::JoinParty(game, {"reed_smuggler"}, 3, false);
    CActor& hero = *game.Main();
    const CModule& module = game.Module();
    const auto carried = [&](const char* key, std::int32_t count) {
        auto item = module.CreateItem(key, count, game.Game().NewThingId(THING_ITEM), 0);
        hero.AddToBackpack(item, false);
        return item->GetId();
    };
    const ThingId dagger = carried("dagger", 1), pies = carried("eel_pie", 3), pie = carried("eel_pie", 2),
                  tonic = carried("river_tonic", 2), flare = carried("smugglers_flare", 1);
    hero.SetEquipment(SLOT_WEAPON, module.CreateItem("quarterstaff", 1, game.Game().NewThingId(THING_ITEM), 0));
    const auto goblin = game.Spawn("reed_goblin", 9, 6);
    CActor* hesk = game.Person("ferry_keeper");
    CActor* tansy = game.Person("landing_trader");
    const CActor& member = *game.Game().GetParty().at(1);
    const CObject* basket = game.Area().FindObjectAt("float_basket", 8, 3);
    ASSERT_TRUE(goblin && hesk && tansy && basket && tansy->GetStore());
    ThingId door = 0;
    for (std::uint32_t row = 0; row < game.Area().GetRows() && !door; ++row)
        for (std::uint32_t column = 0; column < game.Area().GetColumns() && !door; ++column)
            if (game.Area().GetTile(column, row)->IsDoor()) door = game.Area().GetTile(column, row)->GetId();
    const ThingId staff = hero.GetEquipped(SLOT_WEAPON)->GetId();
    const ThingId stocked = tansy->GetStore()->GetStock().front()->GetId();
    ThingId nobody = 0, noItem = 0;
    MakeThingId(nobody, THING_ACTOR, 0xFFFF0);
    MakeThingId(noItem, THING_ITEM, 0xFFFF0);
    for (const std::shared_ptr<COrder>& order : std::vector<std::shared_ptr<COrder>>{
             std::make_shared<CWieldOrder>(dagger, SLOT_WEAPON), std::make_shared<CUnwieldOrder>(SLOT_WEAPON),
             std::make_shared<CGetOrder>(basket->GetId(), basket->GetItems().front()->GetId()),
             std::make_shared<CDropOrder>(0, pies), std::make_shared<CDropOrder>(basket->GetId(), pie),
             std::make_shared<CSplitOrder>(pies, 1), std::make_shared<CCombineOrder>(pies, pie),
             std::make_shared<CSplitOrder>(pie, 2), std::make_shared<CCombineOrder>(pie, pie),
             std::make_shared<CPositionOrder>(0),
             std::make_shared<CGiveOrder>(member.GetId(), tonic), std::make_shared<CGiveOrder>(member.GetId(), noItem),
             std::make_shared<CUseOrder>(USE_ITEM, tonic, 0),
             std::make_shared<CTalkOrder>(hesk->GetId(), "start", "Good day, Mother."),
             std::make_shared<COrder>(ORDER_LEAVE_PARTY), std::make_shared<CPositionOrder>(1),
             std::make_shared<CSpendPointsOrder>(0, kNoSkill, kNoSkill),
             std::make_shared<CPowerOrder>("s_power-steady_pole"), std::make_shared<CPowerOrder>(),
             std::make_shared<CStoreOrder>(true, tansy->GetId(), stocked, 1, kStoreToBackpack),
             std::make_shared<CStoreOrder>(false, tansy->GetId(), staff, 1, kStoreToBackpack)})
        hero.PushInstantOrder(order);
    for (const std::shared_ptr<COrder>& order : std::vector<std::shared_ptr<COrder>>{
             std::make_shared<CMoveOrder>(30.5, 12.25), std::make_shared<CAttackOrder>(goblin->GetId()),
             std::make_shared<CAttackOrder>(nobody), std::make_shared<CUseOrder>(USE_TILE, door, 0),
             std::make_shared<CUseOrder>(USE_OBJECT, basket->GetId(), 0),
             std::make_shared<CUseOrder>(USE_ITEM, tonic, goblin->GetId()),
             std::make_shared<CUseOrder>(USE_ITEM, flare, door), std::make_shared<CUseOrder>(USE_ITEM, flare, goblin->GetId()),
             std::make_shared<CCastOrder>("marsh_fever", goblin->GetId()),
             std::make_shared<CMoveTalkOrder>(hesk->GetId(), game.Game().GetTalksBegun()),
             std::make_shared<COrder>(ORDER_RETURN)})
        hero.PushOrder(order, false);
    hero.SetAttackTarget(game.Game().GetTick(), goblin.get());
    goblin->PushOrder(std::make_shared<CAttackOrder>(hero.GetId()), false);
    goblin->SetAttackTarget(game.Game().GetTick(), &hero);
    game.Game().BeginTalk(hero.GetId(), hesk->GetId());
    const CObject* wayOut = nullptr;
    for (const auto& object : game.Area().GetObjects())
        if (object->IsExit()) wayOut = object.get();
    ASSERT_TRUE(wayOut);
    game.Game().GetWayOutWalks()[wayOut->GetId()] = {wayOut->GetId(), {hero.GetId(), member.GetId()}, 0};

    std::vector<std::string> before = Doing(game.Game(), hero);
    const std::vector<std::string> goblinBefore = Doing(game.Game(), *goblin);
    // What names a thing that is gone does not come back, nor what the engine could not carry out.
    for (const std::string& gone : {"now 9: " + member.GetName() + ", gone, 0", std::string("2: gone, 0, 0"),
                                    std::string("now 7: eel_pie x2 carried at 7, 2, 0"),
                                    std::string("now 8: eel_pie x2 carried at 7, eel_pie x2 carried at 7, 0"),
                                    std::string("now 14: 0, 0, 0"),
                                    std::string("10: 5, smugglers_flare x1 carried at 7, Reed Goblin")}) {
        const auto at = std::find(before.begin(), before.end(), gone);
        ASSERT_NE(at, before.end()) << gone;
        before.erase(at);
    }
    TempDir dir;
    game.Engine().SaveGame(dir / "busy.drav", kSampleVersion, nullptr);
    const auto engine = FreshSampleEngine();
    std::string bonus;
    engine->LoadGame(dir / "busy.drav", kSampleVersion, bonus);
    const CGame& loaded = *engine->GetGame();
    const CActor& heroAgain = *loaded.GetMainActor();
    EXPECT_EQ(Doing(loaded, heroAgain), before);
    ASSERT_TRUE(heroAgain.GetAttackTarget());
    EXPECT_EQ(Doing(loaded, *heroAgain.GetAttackTarget()), goblinBefore);
    ASSERT_EQ(loaded.GetWayOutWalks().size(), 1u);
    const CGame::WayOutWalk& walk = loaded.GetWayOutWalks().begin()->second;
    const CObject* wayOutAgain = loaded.GetCurrentArea()->FindObject(walk.marker);
    ASSERT_TRUE(wayOutAgain);
    EXPECT_EQ(wayOutAgain->GetExitName(), wayOut->GetExitName());
    EXPECT_EQ(walk.walkers, (std::set<ThingId>{heroAgain.GetId(), loaded.GetParty().at(1)->GetId()}));
    EXPECT_EQ(loaded.GetTalksBegun() - walk.talksBegun, 1u);

    // One way out is walked to by one walk.
    std::string old = ReadTextFile(dir / "busy.drav");
    const std::size_t from = old.find("<wayout>"), to = old.find("</wayout>") + 9;
    std::string twice = old;
    twice.insert(to, "\n" + old.substr(from, to - from));
    EXPECT_DRAV_CODE(engine->LoadGame(dir.WriteFile("twice.drav", twice), kSampleVersion, bonus), DRAV_ERR_BAD_DATA);

    // Saved before the game kept them: nobody does anything, nobody walks.
    for (std::size_t at; (at = old.find("<orders>")) != std::string::npos;)
        old.erase(at, old.find("</orders>", at) + 9 - at);
    old.erase(old.find("<wayout>"), old.find("</wayout>") + 9 - old.find("<wayout>"));
    engine->LoadGame(dir.WriteFile("old.drav", old), kSampleVersion, bonus);
    for (const auto& actor : engine->GetGame()->GetCurrentArea()->GetActors())
        EXPECT_EQ(Doing(*engine->GetGame(), *actor), std::vector<std::string>{}) << actor->GetName();
    EXPECT_TRUE(engine->GetGame()->GetWayOutWalks().empty());
}

namespace {

// The ticks of the hero's blows over the next `ticks` ticks of `engine`'s game:
// whatever the rolls, she strikes as her swings and her foe's come round.
std::vector<std::uint32_t> HerBlows(CEngine& engine, int ticks) {
    std::vector<std::uint32_t> blows;
    for (int i = 0; i < ticks; ++i) {
        engine.RunTick();
        std::shared_ptr<CEvent> event;
        while (engine.GetGame()->PopEvent(event))
            if (const auto* line = dynamic_cast<const CMessageEvent*>(event.get());
                line && (line->GetText().rfind("Wren hits ", 0) == 0 || line->GetText().rfind("Wren misses ", 0) == 0))
                blows.push_back(engine.GetGame()->GetTick());
    }
    return blows;
}

}  // namespace

// Saved as the hero strikes a goblin beside her and it strikes back, the fight
// goes on after the load blow for blow as it would have gone on without it: she
// keeps her order, her foe, and the swing she had begun.
TEST(EngineSave, AFightSavedMidwayGoesOnBlowForBlowAfterTheLoad) {
    auto game = StartSampleGame();
    // No goblin springs from the lane's reeds to hold her off her own.
    for (const auto& reeds : ObjectList(game.Area().GetObjects()))
        if (reeds->GetTemplate().GetKey() == "lane_reeds") game.Area().RemoveObject(*reeds);
    CActor& hero = *game.Main();
    hero.SetMaxHitPoints(500);
    const auto goblin = game.Spawn("reed_goblin", 8, 6);
    ASSERT_TRUE(goblin);
    goblin->SetMaxHitPoints(500);
    goblin->SetRelation(RELATION_HOSTILE);
    ASSERT_TRUE(QuillmereTest::PutNear(game.Area(), hero, goblin->GetX() - 3.0, goblin->GetY()));
    hero.PushOrder(std::make_shared<CAttackOrder>(goblin->GetId()), false);
    // Into the fight, past the first blows, and on to the middle of a swing.
    ASSERT_FALSE(HerBlows(game.Engine(), 400).empty());
    for (int i = 0; i < 300 && hero.GetActionState() != ACTION_WIND_UP; ++i) game.Tick();
    ASSERT_EQ(hero.GetActionState(), ACTION_WIND_UP);
    game.Tick(20);
    TempDir dir;
    game.Engine().SaveGame(dir / "fight.drav", kSampleVersion, nullptr);
    game.DrainEvents();

    const std::vector<std::uint32_t> unsaved = HerBlows(game.Engine(), 600);
    const auto engine = FreshSampleEngine();
    std::string bonus;
    engine->LoadGame(dir / "fight.drav", kSampleVersion, bonus);
    EXPECT_EQ(HerBlows(*engine, 600), unsaved);
    EXPECT_GE(unsaved.size(), 3u);
}

