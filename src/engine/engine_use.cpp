// The use order: items the actor carries (scrolls, potions, wands), door tiles and
// the objects of the area (containers and talking objects).

#include <cmath>
#include <limits>
#include <memory>
#include <vector>

#include "common/exception.h"
#include "common/trace.h"
#include "engine/engine.h"
#include "engine/engine_relations.h"
#include "rules/definitions/object_template.h"
#include "rules/definitions/tile_template.h"
#include "rules/kinds/item_kinds.h"
#include "rules/kinds/number_texts.h"
#include "rules/kinds/thing_id.h"
#include "rules/kinds/tile_effect_kinds.h"
#include "rules/vocabulary/special_stat.h"
#include "script/script.h"
#include "world/actor.h"
#include "world/area.h"
#include "world/cell.h"
#include "world/events/event.h"
#include "world/game.h"
#include "world/item.h"
#include "world/master_tile.h"
#include "world/object.h"
#include "world/tile.h"

namespace DRAV {

namespace {

constexpr double kDoorReach = 5.0;
constexpr double kDoorGuardDistance = 25.0;
constexpr std::int32_t kLockBase = 50;
constexpr std::int32_t kEventDoorsPicked = 2;

}  // namespace

void CEngine::RunUseItemOrder(CActor& actor, const CUseOrder& order, bool instant) {
    CGame& game = Game();
    CItem* item = actor.FindItem(order.thing, nullptr);
    if (!item) {
        game.PushMessage(MESSAGE_NOTICE, actor.GetName() + " has no such item.");
        if (!instant) actor.PopOrder(order);
        return;
    }
    if (!actor.CanUseMagicItem(*item, instant)) {
        game.PushMessage(MESSAGE_NOTICE, actor.GetName() + " can't use " + item->GetTemplate().GetName() + ".");
        if (!instant) actor.PopOrder(order);
        return;
    }
    bool done = true;
    switch (item->GetTemplate().GetKind()) {
    case ITEM_SCROLL: RunUseScrollOrder(actor, *item); break;
    case ITEM_POTION: done = UsePotion(actor, *item); break;
    case ITEM_WAND: done = UseWand(actor, *item, order.target); break;
    default: break;
    }
    if (done && !instant) actor.PopOrder(order);
}

void CEngine::RunUseScrollOrder(CActor& actor, CItem& scroll) {
    const CSpell& spell = RequireItemSpell(scroll);
    if (!actor.LacksSpell(spell)) {
        DRAV_TRACE(DRAVCommon::TRACE_LOW, "%s tried to inscribe %s, failed\n", actor.GetName().c_str(),
                   spell.GetName().c_str());
        return;
    }
    actor.AddSpell(spell);
    if (scroll.GetCount() > 1)
        scroll.SetCount(scroll.GetCount() - 1);
    else
        actor.RemoveFromBackpack(scroll);
    Game().PushMessage(MESSAGE_NOTICE, actor.GetName() + " inscribes " + spell.GetName() + ".");
}

bool CEngine::UsePotion(CActor& actor, CItem& potion) {
    return CastHelperAttacking(actor, actor.GetId(), RequireItemSpell(potion), false, &potion);
}

bool CEngine::UseWand(CActor& actor, CItem& wand, ThingId target) {
    return CastHelperAttacking(actor, target, RequireItemSpell(wand), false, &wand);
}

void CEngine::RunUseTileOrder(CActor& actor, const CUseOrder& order) {
    CArea& area = CurrentArea();
    const std::uint32_t serial = order.thing & kMaxThingSerial;
    const std::uint32_t column = serial % 1000;
    const std::uint32_t row = serial / 1000;
    CTile* tile = (order.thing >> 24) == THING_TILE && column < area.GetColumns() && row < area.GetRows()
                      ? area.GetTile(column, row)
                      : nullptr;
    auto* door = tile ? dynamic_cast<CMasterTileDoor*>(tile->GetMaster()) : nullptr;
    if (door && door->GetDefinition().GetKind() != TILE_DOOR) door = nullptr;
    // A wall, or no tile at all, is a bad order: it goes at once rather than
    // holding the actor in front of something it can never open.
    if (!door) {
        DRAV_TRACE(DRAVCommon::TRACE_LOW, "%s wall can't be opened\n", actor.GetName().c_str());
        actor.PopOrder(order);
        return;
    }
    const double centreX = column * kCellSize + kCellSize / 2;
    const double centreY = row * kCellSize + kCellSize / 2;
    const double reach = actor.GetRadius() + kDoorReach + kCellSize;
    if (std::pow(actor.GetX() - centreX, 2) + std::pow(actor.GetY() - centreY, 2) > reach * reach) {
        MoveActor(actor, door->GetColumn() * kCellSize + door->GetWidth() * kCellSize / 2,
                  door->GetRow() * kCellSize + door->GetDepth() * kCellSize / 2, kCellSize, kCellSize);
        return;
    }
    actor.PopOrder(order);
    if (door->IsOpen())
        CloseDoor(actor, *tile);
    else
        OpenDoor(actor, *tile, *door);
}

void CEngine::CloseDoor(CActor& actor, CTile& tile) {
    CGame& game = Game();
    CArea& area = CurrentArea();
    if (game.IsInBattle()) {
        CActor* enemy = nullptr;
        double nearest = std::numeric_limits<double>::max();
        for (const auto& other : area.GetActors()) {
            if (!other->IsAlive() || !IsOpposed(actor.GetRelation(), other->GetRelation())) continue;
            const double distance = actor.DistanceTo(*other);
            if (distance < nearest) {
                nearest = distance;
                enemy = other.get();
            }
        }
        if (enemy && nearest <= kDoorGuardDistance) {
            game.PushMessage(MESSAGE_NOTICE, enemy->GetName() + " won't let " + actor.GetName() + " close the door.");
            return;
        }
    }
    std::vector<CTile*> run;
    area.CollectDoorTiles(tile, run);
    for (CTile* part : run) {
        const CMasterTileDoor& door = *part->GetDoor();
        if (door.CanClose()) continue;
        DRAV_TRACE(DRAVCommon::TRACE_LOW, "%s door can't be closed (script)\n", actor.GetName().c_str());
        // The click that asked for it is told why the door stays open.
        const std::string name = door.GetDefinition().GetName();
        const CActor* inDoorway = door.GetDefinition().HasFlag(TILE_FLAG_NOCLOSE) ? nullptr : door.FindActorInDoorway();
        game.PushMessage(MESSAGE_NOTICE, actor.GetName() + " can't close the " + name + ": " +
                                             (inDoorway ? inDoorway->GetName() + " stands in the doorway."
                                                        : "once open, they stay open."));
        return;
    }
    for (CTile* part : run) {
        part->GetDoor()->SetOpen(false);
        area.RemoveOpenDoor(*part);
    }
    game.PushEvent(std::make_shared<CInfoEvent>(EVENT_DOORS_CLOSED));
    // A door changes what the party can see through it.
    area.SetViewStale(true);
}

void CEngine::OpenDoor(CActor& actor, CTile& tile, CMasterTileDoor& door) {
    CGame& game = Game();
    CArea& area = CurrentArea();
    bool picked = false;
    if (door.GetLockValue() != 0) {
        const std::int32_t stat = actor.GetSpecialStat(SPECIAL_LOCKS);
        const auto lock = static_cast<std::int64_t>(door.GetLockValue());
        const std::string check = FormatNamedRollText("Locks", kLockBase, stat, static_cast<std::int32_t>(lock));
        if (lock >= std::int64_t{stat} + kLockBase) {
            game.PushMessage(MESSAGE_LOCK_NOT_PICKED, actor.GetName() + " can't open the locked door " + check + ".");
            return;
        }
        game.PushMessage(MESSAGE_NOTICE, actor.GetName() + " picks the locked door " + check + ".");
        door.SetLockValue(0);
        picked = true;
    }
    if (const auto& script = door.GetDefinition().GetScript()) {
        CScriptContext context;
        context.engine = this;
        context.actor = &actor;
        if (!script->Eval(this, context)) {
            DRAV_TRACE(DRAVCommon::TRACE_LOW, "%s fails script to open wall\n", actor.GetName().c_str());
            return;
        }
    }
    std::vector<CTile*> run;
    area.CollectDoorTiles(tile, run);
    for (CTile* part : run) {
        part->GetDoor()->SetLockValue(0);
        part->GetDoor()->SetOpen(true);
        area.AddOpenDoor(*part);
    }
    StopSneaking(actor);
    game.PushEvent(std::make_shared<CInfoEvent>(picked ? kEventDoorsPicked : EVENT_DOORS_OPENED));
    area.SetViewStale(true);
}

void CEngine::RunUseObjectOrder(CActor& actor, const CUseOrder& order) {
    CGame& game = Game();
    CObject* object = CurrentArea().FindObject(order.thing);
    if (!object) {
        actor.PopOrder(order);
        return;
    }
    if (!actor.IsNextToObject(*object)) {
        const bool turned = object->GetFacing() == 1 || object->GetFacing() == 3;
        const double width = object->GetTemplate().GetWidth() / 2;
        const double depth = object->GetTemplate().GetDepth() / 2;
        MoveActor(actor, object->GetX(), object->GetY(), turned ? depth : width, turned ? width : depth);
        return;
    }
    actor.PopOrder(order);
    // Walking into exits belongs to the exit pass.
    if (object->IsExit()) return;
    if (!CheckObjectLock(actor, *object)) return;
    StopSneaking(actor);
    if (object->GetTalkStates().empty())
        game.PushEvent(std::make_shared<CInvEvent>(actor.GetId(), object->GetId()));
    else
        game.BeginTalk(actor.GetId(), object->GetId());
}

}  // namespace DRAV
