#include "rules/kinds/thing_id.h"

#include <string>

#include "common/exception.h"

namespace DRAV {

void MakeThingId(ThingId& id, std::uint32_t type, std::uint32_t serial) {
    if (type > 0xFF)
        throw CDRAVException(DRAV_ERR_OUT_OF_RANGE, "thing type out of range: " + std::to_string(type));
    if (serial > kMaxThingSerial)
        throw CDRAVException(DRAV_ERR_OUT_OF_RANGE, "thing serial out of range: " + std::to_string(serial));
    id = (type << 24) + serial;
}

}  // namespace DRAV
