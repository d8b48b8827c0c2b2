#pragma once
// The orders an actor is given: by the interface, by the monster AI and by the
// engine. Actors keep them in two queues (instant and continuing) and compare them
// only by identity; the engine dispatches on the type code and casts to the class
// that code names. An order never changes after it is queued.
//
// The whole family lives here, beside the actor's queues, because the base's id
// accessors read the fields of every class.

#include <cstdint>
#include <string>
#include <type_traits>
#include <typeinfo>

#include "common/exception.h"
#include "rules/kinds/thing_id.h"

namespace DRAV {

// Type codes 1-19. Types 13 (leave the party) and 19 (return to the entrance) are
// plain COrder objects.
enum OrderType : std::int32_t {
    ORDER_MOVE = 1,
    ORDER_ATTACK = 2,
    ORDER_WIELD = 3,
    ORDER_UNWIELD = 4,
    ORDER_GET = 5,
    ORDER_DROP = 6,
    ORDER_SPLIT = 7,
    ORDER_COMBINE = 8,
    ORDER_GIVE = 9,
    ORDER_USE = 10,
    ORDER_CAST = 11,
    ORDER_TALK = 12,
    ORDER_LEAVE_PARTY = 13,
    ORDER_POSITION = 14,
    ORDER_SPEND_POINTS = 15,
    ORDER_POWER = 16,
    ORDER_STORE = 17,
    ORDER_MOVE_TALK = 18,
    ORDER_RETURN = 19,
};

// What a use order works on.
enum UseKind : std::int32_t { USE_TILE = 1, USE_OBJECT = 2, USE_ITEM = 5 };

// The store order's slot that puts a bought item into the backpack.
inline constexpr std::int32_t kStoreToBackpack = 7;
// Spend-points fields that ask for nothing.
inline constexpr std::int32_t kNoAttribute = 5;
inline constexpr std::int32_t kNoSkill = 98;

// Instant orders run once in the instant phase; the others step every tick.
bool IsInstantOrderType(std::int32_t type);

class COrder {
public:
    explicit COrder(OrderType type) : m_type(type) {}
    virtual ~COrder() = default;
    COrder(const COrder&) = delete;
    COrder& operator=(const COrder&) = delete;

    OrderType GetType() const { return m_type; }

    // The first, second and third 32-bit words after the type code, whatever the
    // class: the first id of a give order is its receiver, of a get or drop order
    // the container; the second of a store order is the keeper, the third its item.
    // 0 where the class has no such word.
    std::uint32_t GetThingId() const { return GetWord(0); }
    std::uint32_t GetSecondThingId() const { return GetWord(1); }
    std::uint32_t GetThirdThingId() const { return GetWord(2); }

private:
    std::uint32_t GetWord(int index) const;

    OrderType m_type;
};

class CMoveOrder final : public COrder {
public:
    CMoveOrder(double x, double y) : COrder(ORDER_MOVE), x(x), y(y) {}
    double x;  // world units
    double y;
};

class CAttackOrder final : public COrder {
public:
    explicit CAttackOrder(ThingId target) : COrder(ORDER_ATTACK), target(target) {}
    ThingId target;
};

class CWieldOrder final : public COrder {
public:
    CWieldOrder(ThingId item, std::int32_t slot) : COrder(ORDER_WIELD), item(item), slot(slot) {}
    ThingId item;
    std::int32_t slot;  // EquipSlot 0-6
};

class CUnwieldOrder final : public COrder {
public:
    explicit CUnwieldOrder(std::int32_t slot) : COrder(ORDER_UNWIELD), slot(slot) {}
    std::int32_t slot;
};

class CGetOrder final : public COrder {
public:
    CGetOrder(ThingId container, ThingId item) : COrder(ORDER_GET), container(container), item(item) {}
    ThingId container;  // a container or an item pile
    ThingId item;
};

class CDropOrder final : public COrder {
public:
    CDropOrder(ThingId container, ThingId item) : COrder(ORDER_DROP), container(container), item(item) {}
    ThingId container;  // type byte 0 (such as 0): the pile at the actor's feet
    ThingId item;
};

class CSplitOrder final : public COrder {
public:
    CSplitOrder(ThingId stack, std::uint32_t count) : COrder(ORDER_SPLIT), stack(stack), count(count) {}
    ThingId stack;
    std::uint32_t count;  // split off
};

class CCombineOrder final : public COrder {
public:
    CCombineOrder(ThingId first, ThingId second) : COrder(ORDER_COMBINE), first(first), second(second) {}
    ThingId first;
    ThingId second;
};

class CGiveOrder final : public COrder {
public:
    CGiveOrder(ThingId receiver, ThingId item) : COrder(ORDER_GIVE), receiver(receiver), item(item) {}
    ThingId receiver;
    ThingId item;
};

class CUseOrder final : public COrder {
public:
    CUseOrder(std::int32_t kind, ThingId thing, ThingId target)
        : COrder(ORDER_USE), kind(kind), thing(thing), target(target) {}
    std::int32_t kind;  // UseKind
    ThingId thing;      // the tile, object or item used
    ThingId target;     // 0 when none
};

class CCastOrder final : public COrder {
public:
    CCastOrder(std::string spell, ThingId target) : COrder(ORDER_CAST), spell(std::move(spell)), target(target) {}
    ThingId GetTargetId() const { return target; }
    std::string spell;  // the key of a spell or power of the module
    ThingId target;     // an actor or a tile
};

class CTalkOrder final : public COrder {
public:
    CTalkOrder(ThingId partner, std::string state, std::string line)
        : COrder(ORDER_TALK), partner(partner), state(std::move(state)), line(std::move(line)) {}
    ThingId partner;    // an actor or an object
    std::string state;  // the talk state to move to
    std::string line;   // the chosen line's text, may be empty
};

class CPositionOrder final : public COrder {
public:
    explicit CPositionOrder(std::int32_t index) : COrder(ORDER_POSITION), index(index) {}
    std::int32_t index;  // the member's new party index
};

class CSpendPointsOrder final : public COrder {
public:
    CSpendPointsOrder(std::int32_t attribute, std::int32_t learn, std::int32_t forget)
        : COrder(ORDER_SPEND_POINTS), attribute(attribute), learn(learn), forget(forget) {}
    std::int32_t attribute;  // 0-4, kNoAttribute for none
    std::int32_t learn;      // SkillId, kNoSkill for none
    std::int32_t forget;     // SkillId, kNoSkill for none
};

class CPowerOrder final : public COrder {
public:
    explicit CPowerOrder(std::string power = {}) : COrder(ORDER_POWER), power(std::move(power)) {}
    std::string power;  // empty switches the current power off
};

class CStoreOrder final : public COrder {
public:
    CStoreOrder(bool buy, ThingId keeper, ThingId item, std::uint32_t count, std::int32_t slot)
        : COrder(ORDER_STORE), buy(buy), keeper(keeper), item(item), count(count), slot(slot) {}
    bool buy;
    ThingId keeper;
    ThingId item;
    std::uint32_t count;
    std::int32_t slot;  // for a bought item; kStoreToBackpack for the backpack
};

class CMoveTalkOrder final : public COrder {
public:
    explicit CMoveTalkOrder(ThingId partner, std::uint32_t talksBegun = 0)
        : COrder(ORDER_MOVE_TALK), partner(partner), talksBegun(talksBegun) {}
    ThingId partner;
    // The conversations the game had begun when the order was given.
    std::uint32_t talksBegun;
};

// The order as the class its type code names; code 3 when the object is not of
// that class (an order that should never have been made). Every order class is
// final: the object's own class is compared, not searched for among its bases, as
// the engine asks this of every running order every tick.
template <class T>
const T& OrderAs(const COrder& order) {
    static_assert(std::is_final_v<T>, "an order is of its own class, never of one derived from it");
    if (typeid(order) != typeid(T)) throw CDRAVException(DRAV_ERR_PARTY_POSITION, "");
    return static_cast<const T&>(order);
}

}  // namespace DRAV
