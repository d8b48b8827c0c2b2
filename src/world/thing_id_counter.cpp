#include "world/thing_id_counter.h"

#include <string>

#include "common/exception.h"

namespace DRAV {

ThingId CThingIdCounter::NewThingId(int type) {
    if (m_next > kMaxThingSerial)
        throw CDRAVException(DRAV_ERR_OUT_OF_RANGE, "the game has made all " + std::to_string(kMaxThingSerial) +
                                                        " things a save can number");
    const std::uint32_t serial = m_next++;
    ThingId id = 0;
    MakeThingId(id, static_cast<std::uint32_t>(type), serial);
    return id;
}

ThingId CThingIdCounter::NewRecurringThingId(int type) {
    if (m_next > kMaxThingSerial) m_next = 1;
    return NewThingId(type);
}

}  // namespace DRAV
