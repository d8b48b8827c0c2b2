// The word an order the rule turned down leaves behind: "Wren can't give Eel Pie
// to Mother Hesk: Mother Hesk is not of the party." Whatever the order names is
// named as it can still be found; what is gone is "it", "someone" or "something".

#include <string>

#include "common/trace.h"
#include "engine/engine.h"
#include "rules/items/item_template.h"
#include "rules/magic/spell.h"
#include "world/actor.h"
#include "world/area.h"
#include "world/item.h"
#include "world/object.h"
#include "world/order_rule.h"

namespace DRAV {
namespace {

// Finds the names of what an order names where its actor stands.
class CNamer {
public:
    CNamer(const CActor& actor, const CArea* area, const CModule& module)
        : m_actor(actor), m_area(area), m_module(module) {}

    std::string Person(ThingId id) const {
        const CActor* person = m_area ? m_area->FindActor(id) : nullptr;
        return person ? person->GetName() : "someone";
    }
    std::string Thing(ThingId id) const {
        const CObject* object = m_area ? m_area->FindObject(id) : nullptr;
        return object ? object->GetName() : "something";
    }
    std::string Partner(ThingId id) const { return (id >> 24) == THING_OBJECT ? Thing(id) : Person(id); }
    // An item the actor carries, or one held by `holder` (a container or a keeper).
    std::string Item(ThingId id, ThingId holder = 0) const {
        if (const CItem* item = m_actor.FindItem(id, nullptr)) return item->GetTemplate().GetName();
        ItemPtrList held;
        if (const CObject* container = m_area ? m_area->FindObject(holder) : nullptr) held = container->GetItems();
        if (const CActor* keeper = m_area ? m_area->FindActor(holder) : nullptr) held = keeper->GetStoreItems();
        for (const auto& item : held)
            if (item->GetId() == id) return item->GetTemplate().GetName();
        return "it";
    }
    std::string Spell(const std::string& key) const {
        const CSpell* spell = FindSpell(m_module.GetSpells(), key);
        return spell ? spell->GetName() : "a spell";
    }

private:
    const CActor& m_actor;
    const CArea* m_area;
    const CModule& m_module;
};

// What the order asks, after "can't".
std::string OrderWords(const COrder& order, const CNamer& name) {
    switch (order.GetType()) {
        case ORDER_MOVE: return "walk there";
        case ORDER_ATTACK: return "attack " + name.Person(OrderAs<CAttackOrder>(order).target);
        case ORDER_WIELD: return "wield " + name.Item(OrderAs<CWieldOrder>(order).item);
        case ORDER_UNWIELD: return "unwield that";
        case ORDER_GET: {
            const auto& get = OrderAs<CGetOrder>(order);
            return "take " + name.Item(get.item, get.container) + " from " + name.Thing(get.container);
        }
        case ORDER_DROP: {
            const auto& drop = OrderAs<CDropOrder>(order);
            if ((drop.container >> 24) == 0) return "drop " + name.Item(drop.item);
            return "put " + name.Item(drop.item) + " in " + name.Thing(drop.container);
        }
        case ORDER_SPLIT: return "split " + name.Item(OrderAs<CSplitOrder>(order).stack);
        case ORDER_COMBINE: {
            const auto& combine = OrderAs<CCombineOrder>(order);
            return "combine " + name.Item(combine.first) + " with " + name.Item(combine.second);
        }
        case ORDER_GIVE: {
            const auto& give = OrderAs<CGiveOrder>(order);
            return "give " + name.Item(give.item) + " to " + name.Person(give.receiver);
        }
        case ORDER_USE: {
            const auto& use = OrderAs<CUseOrder>(order);
            if (use.kind == USE_ITEM) return "use " + name.Item(use.thing);
            return use.kind == USE_OBJECT ? "use " + name.Thing(use.thing) : "use that";
        }
        case ORDER_CAST: {
            const auto& cast = OrderAs<CCastOrder>(order);
            const std::string spell = "cast " + name.Spell(cast.spell);
            return (cast.target >> 24) == THING_ACTOR ? spell + " at " + name.Person(cast.target) : spell;
        }
        case ORDER_TALK: return "talk to " + name.Partner(OrderAs<CTalkOrder>(order).partner);
        case ORDER_LEAVE_PARTY: return "leave the party";
        case ORDER_POSITION: return "change places in the party";
        case ORDER_SPEND_POINTS: return "spend points";
        case ORDER_POWER: return "use a power";
        case ORDER_STORE: {
            const auto& trade = OrderAs<CStoreOrder>(order);
            if (trade.buy) return "buy " + name.Item(trade.item, trade.keeper) + " from " + name.Person(trade.keeper);
            return "sell " + name.Item(trade.item) + " to " + name.Person(trade.keeper);
        }
        case ORDER_MOVE_TALK: return "walk up to " + name.Person(OrderAs<CMoveTalkOrder>(order).partner);
        case ORDER_RETURN: return "return to the area entrance";
    }
    return "do that";
}

}  // namespace

void CEngine::TellDroppedOrder(const CActor& actor, const COrder& order, const OrderVerdict& verdict) {
    DRAV_TRACE(DRAVCommon::TRACE_LOW, "%s: %s, order dropped\n", actor.GetName().c_str(), verdict.why.c_str());
    if (!actor.IsPartyMember()) return;
    const std::string what = OrderWords(order, CNamer(actor, Game().GetCurrentArea(), Module()));
    Game().PushMessage(MESSAGE_NOTICE, actor.GetName() + " can't " + what + ": " + verdict.Told() + ".");
}

}  // namespace DRAV
