#include "world/effect.h"

#include <cmath>

#include "common/exception.h"
#include "rules/kinds/thing_id.h"
#include "world/actor.h"
#include "world/area.h"
#include "world/cell.h"

namespace DRAV {
namespace {

// The quarter turn as the heading has always been computed: the single-precision
// value, widened.
constexpr double kQuarterTurn = static_cast<double>(1.5707963705062866f);
constexpr std::uint32_t kTileRowFactor = 1000;

}  // namespace

CEffect::CEffect(ThingId id, EffectKind kind, CArea* area, std::string sourceName, std::string visualName,
                 const DRAVGraph::CEffectParams* visualParams, ThingId target, bool fromParty)
    : CThing(id),
      m_kind(kind),
      m_area(area),
      m_target(target),
      m_sourceName(std::move(sourceName)),
      m_fromParty(fromParty),
      m_visualName(std::move(visualName)),
      m_visualParams(visualParams) {}

bool CEffect::GetTargetPoint(const CArea& area, double& x, double& y) const {
    switch (m_target >> 24) {
        case THING_ACTOR: {
            const CActor* actor = area.FindActor(m_target);
            if (!actor) return false;
            x = actor->GetX();
            y = actor->GetY();
            return true;
        }
        case THING_TILE: {
            const std::uint32_t serial = m_target & kMaxThingSerial;
            x = (serial % kTileRowFactor) * kCellSize + kCellSize / 2.0;
            y = (serial / kTileRowFactor) * kCellSize + kCellSize / 2.0;
            return true;
        }
        default:
            throw CDRAVException(DRAV_ERR_OUT_OF_RANGE,
                                 "an effect in flight aims at thing " + std::to_string(m_target));
    }
}

void CEffect::SetPosition(CArea& area, double x, double y, double z) {
    m_x = x;
    m_y = y;
    m_z = z;
    double targetX = 0.0;
    double targetY = 0.0;
    if (!GetTargetPoint(area, targetX, targetY)) return;
    const double dx = targetX - x;
    const double dy = targetY - y;
    if (dx == 0.0 && dy == 0.0) return;
    m_heading = std::atan2(-dy, dx) - kQuarterTurn;
}

}  // namespace DRAV
