#pragma once
// Ids of world things: the type in the top byte, a serial in the low three bytes.

#include <cstdint>

namespace DRAV {

using ThingId = std::uint32_t;

enum ThingType : std::uint32_t {
    THING_TILE = 1,
    THING_OBJECT = 2,
    THING_ACTOR = 3,
    THING_EFFECT = 4,  // an effect in flight
    THING_ITEM = 5,
};

constexpr std::uint32_t kMaxThingSerial = 0xFFFFFF;

// Stores (type << 24) + serial in `id`. A type above 255 or a serial above
// kMaxThingSerial is code 2, and `id` is left unchanged.
void MakeThingId(ThingId& id, std::uint32_t type, std::uint32_t serial);

}  // namespace DRAV
