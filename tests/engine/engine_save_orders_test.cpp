// Saved games in motion: every order, walk and fight comes back after a load as it
// stood at the save.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <set>
#include <sstream>

#include "support/busy_game.h"
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
// and the party's walk to a way out. An order whose item is gone is left out, at
// the save or at the load; a save from before orders were kept loads with none.
TEST(EngineSave, EveryOrderComesBackNamingTheSameThingsUnderTheirNewIds) {
    auto game = StartSampleGame();
    const QuillmereTest::BusyGame busy = QuillmereTest::MakeBusy(game);
    ASSERT_TRUE(busy.goblin);
    const CActor& hero = *game.Main();
    const auto& goblin = busy.goblin;
    const CActor& member = *busy.member;
    const CObject* wayOut = busy.wayOut;

    std::vector<std::string> before = Doing(game.Game(), hero);
    const std::vector<std::string> goblinBefore = Doing(game.Game(), *goblin);
    // What names an item that is gone does not come back, nor what no play gives,
    // which the load would refuse; an attack at someone gone, and what the engine
    // cannot carry out where the hero stands, do, for the engine to drop at its turn
    // as it would have.
    ASSERT_NE(std::find(before.begin(), before.end(), "2: gone, 0, 0"), before.end());
    for (const std::string& gone : {"now 9: " + member.GetName() + ", gone, 0",
                                    std::string("now 9: Mother Hesk, river_tonic x2 carried at 7, 0")}) {
        const auto at = std::find(before.begin(), before.end(), gone);
        ASSERT_NE(at, before.end()) << gone << " not in " << testing::PrintToString(before);
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

