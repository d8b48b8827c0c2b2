#pragma once
// What an order needs before the engine carries it out: the queue it runs from,
// and for an instant order, the state of the game where its actor stands. The
// engine asks before it runs any order, dropping with a word what it turns down;
// the save asks before it writes one and the load before it takes one back. An
// instant order's runner is reached only after the rule said Now, and works on
// the things the rule found for it (OrderThings): none of them keeps a list of
// its own.

#include <cstdint>
#include <memory>
#include <string>

#include "world/order.h"

namespace DRAV {

class CActor;
class CGame;
class CItem;
class CObject;
class CSpell;
class CTalkState;

// How near the other one must be: a keeper to trade, a member to hand an item
// to, a partner to talk (beyond the two circles, and in reach past walls).
inline constexpr double kStoreReach = 25.0;
inline constexpr double kGiveReach = 25.0;
inline constexpr double kTalkOrderReach = 10.0;

enum class OrderFit {
    Now,     // the engine can carry it out
    NotNow,  // it could have been given, but what it needs is gone, away or used up
    Never,   // no play gives it: a save holding it was edited
};

struct OrderVerdict {
    OrderFit fit = OrderFit::Now;
    std::string why;   // what stands in the way, in the words of the load's refusal
    std::string told;  // the same for the player, where `why` does not read so; else empty

    // The reason the player reads for the order that went.
    const std::string& Told() const { return told.empty() ? why : told; }
};

// What an instant order names, as the rule found it where its actor stands.
struct OrderThings {
    CActor* other = nullptr;            // the receiver, the keeper, the partner
    CObject* object = nullptr;          // the container (none for the ground), the partner
    std::shared_ptr<CItem> item;        // the item the order moves, the first stack
    std::shared_ptr<CItem> second;      // the second stack
    std::int32_t position = 0;          // where a sold item is carried (kBackpackPosition or a slot)
    const CTalkState* state = nullptr;  // the state a talk opens with; none for a last reply
};

// Whether the queue of instant orders (`instant`) or of continuing ones runs
// `order`: each kind runs from one of them, a use of an item from either, a use of
// a tile or an object only from the continuing one.
bool RunsFrom(const COrder& order, bool instant);

// Whether the engine can carry out `order`, of `actor`'s queue of instant orders
// (`instant`) or of continuing ones, in `game` as things stand in the current
// area. A continuing order is judged only on what its runner cannot walk to or
// wait for: its queue, a walk off the map of its actor's area, a wand's tile
// spell aimed at anything but a tile, and a friend's blow or spell at a foe that
// holds back. An instant order of a dead actor that moves an item, hands one over,
// trades or talks is NotNow. An instant order judged Now leaves in `found`, when
// given, what it names, for its runner.
OrderVerdict JudgeOrder(const COrder& order, const CActor& actor, const CGame& game, bool instant,
                        OrderThings* found = nullptr);

// Whether `actor` can cast `spell` at all: it knows the spell's school and reaches
// its tier or its level. The cast order's runner asks, as it alone holds the
// module's spells, and so do the quick actions before they take a cast, so that
// a spell shown red is refused in the same words wherever it is given.
OrderVerdict JudgeCaster(const CActor& actor, const CSpell& spell);

}  // namespace DRAV
