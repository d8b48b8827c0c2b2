#pragma once
// The base of the orders an actor is given: by the interface, by the monster AI and
// by the engine. Actors keep them in two queues and compare them only by identity;
// the engine dispatches on the type code.

#include <cstdint>

namespace DRAV {

// Type codes 1-19; the classes that carry more fields derive from COrder.
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

class COrder {
public:
    explicit COrder(OrderType type) : m_type(type) {}
    virtual ~COrder() = default;
    COrder(const COrder&) = delete;
    COrder& operator=(const COrder&) = delete;

    OrderType GetType() const { return m_type; }

private:
    OrderType m_type;
};

}  // namespace DRAV
