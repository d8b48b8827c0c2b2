#include "world/thing_id_counter.h"

namespace DRAV {

ThingId CThingIdCounter::NewThingId(int type) {
    const std::uint32_t serial = m_next++;
    ThingId id = 0;
    MakeThingId(id, static_cast<std::uint32_t>(type), serial);
    return id;
}

}  // namespace DRAV
