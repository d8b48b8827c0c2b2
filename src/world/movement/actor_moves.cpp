// The actor's own part of movement: where it stands, which way it faces, how far
// it is from others.

#include <cmath>

#include "common/trace.h"
#include "world/actor.h"

namespace DRAV {

void CActor::FinalizeMove(double x, double y) {
    DRAV_TRACE(DRAVCommon::TRACE_LOW, "%s moves to (%g, %g)\n", m_name.c_str(), x, y);
    // Facing 0 looks toward -y; the turn is measured from there.
    m_facing = std::atan2(-(y - m_y), x - m_x) - 1.5707963705062866;
    m_x = x;
    m_y = y;
}

double CActor::DistanceTo(const CActor& other) const { return std::hypot(other.m_x - m_x, other.m_y - m_y); }

double CActor::DistanceToPoint(double x, double y) const { return std::hypot(x - m_x, y - m_y); }

}  // namespace DRAV
