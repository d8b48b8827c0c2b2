#include "world/item.h"

namespace DRAV {

CItem::CItem(ThingId id, const CItemTemplate& itemTemplate, std::int32_t count, std::uint32_t expiryTick)
    : CThing(id), m_template(&itemTemplate), m_count(count), m_expiryTick(expiryTick) {}

}  // namespace DRAV
