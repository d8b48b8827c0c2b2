#include "world/actor.h"

namespace DRAV {

CActor::CActor(ThingId id) : CThing(id) {}

void CActor::SetPosition(double x, double y) {
    m_x = x;
    m_y = y;
}

}  // namespace DRAV
