#pragma once
// A sample game in the middle of everything, for saved-game tests and the save
// fuzzer: the hero, with a companion, holds every kind of order in both queues,
// some naming things that are gone, asking what cannot be done, or what no play
// gives (a give to one not of the party); she strikes a
// goblin that strikes back, talks with Mother Hesk, and both walk to a way out.

#include <memory>
#include <vector>

#include "support/sample_save.h"
#include "world/object.h"
#include "world/tile.h"

namespace QuillmereTest {

struct BusyGame {
    std::shared_ptr<DRAV::CActor> goblin;
    const DRAV::CActor* member = nullptr;
    const DRAV::CObject* wayOut = nullptr;
};

// Null members when the sample lacks what the orders name.
inline BusyGame MakeBusy(const SampleGame& game) {
    using namespace DRAV;
    BusyGame busy;
    JoinParty(game, {"reed_smuggler"}, 3, false);
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
    const CObject* basket = game.Area().FindObjectAt("float_basket", 8, 3);
    const CObject* wayOut = nullptr;
    for (const auto& object : game.Area().GetObjects())
        if (object->IsExit()) wayOut = object.get();
    if (!goblin || !hesk || !tansy || !basket || !tansy->GetStore() || !wayOut) return busy;
    const CActor& member = *game.Game().GetParty().at(1);
    game.Game().SetGold(1000);
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
             std::make_shared<CGiveOrder>(hesk->GetId(), tonic),
             std::make_shared<CUseOrder>(USE_ITEM, tonic, 0),
             std::make_shared<CTalkOrder>(hesk->GetId(), "start", "Good day, Mother."),
             std::make_shared<CPositionOrder>(1), std::make_shared<CSpendPointsOrder>(0, kNoSkill, kNoSkill),
             std::make_shared<CPowerOrder>("s_power-steady_pole"), std::make_shared<CPowerOrder>(),
             std::make_shared<CStoreOrder>(true, tansy->GetId(), stocked, 1, kStoreToBackpack),
             std::make_shared<CStoreOrder>(false, tansy->GetId(), staff, 1, kStoreToBackpack)})
        hero.PushInstantOrder(order);
    game.Game().GetParty().at(1)->PushInstantOrder(std::make_shared<COrder>(ORDER_LEAVE_PARTY));
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
    game.Game().GetWayOutWalks()[wayOut->GetId()] = {wayOut->GetId(), {hero.GetId(), member.GetId()}, 0};
    busy.goblin = goblin;
    busy.member = &member;
    busy.wayOut = wayOut;
    return busy;
}

}  // namespace QuillmereTest
