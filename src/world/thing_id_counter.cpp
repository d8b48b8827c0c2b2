#include "world/thing_id_counter.h"

namespace DRAV {

ThingId CThingIdCounter::NewThingId(int type) {
    if (m_next > kMaxThingSerial)
        throw CThingSerialsSpent("the game has made all " + std::to_string(kMaxThingSerial) +
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
