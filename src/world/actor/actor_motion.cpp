// Animation codes, fidgeting, moving and facing, distances and reach.

#include <cmath>

#include "common/random.h"
#include "common/trace.h"
#include "rules/monsters/actor_template.h"
#include "world/actor.h"
#include "world/movement/distance_compare.h"
#include "world/object.h"

namespace DRAV {
namespace {

// The single-precision quarter turn the facings are measured from.
constexpr double kQuarterTurn = 1.5707963705062866;
constexpr double kFidgetStep = 1.0 / 150.0;
constexpr double kFidgetChance = 1.0 / 300.0;
constexpr double kFidgetVariants = 100000.0;
constexpr double kReachMargin = 25.0;
constexpr double kObjectMargin = 5.0;

double FacingTowards(double fromX, double fromY, double toX, double toY) {
    return std::atan2(-(toY - fromY), toX - fromX) - kQuarterTurn;
}

}  // namespace

void CActor::StartAttackAnimation() {
    const bool fast = GetActionSpeed(ACTIONKIND_ATTACK, nullptr) > 20;
    const SkillId style = GetFightingStyle();
    if (m_attacks.size() >= 2 || style == SKILL_DUAL_WIELD_STYLE)
        m_animation = fast ? ANIM_2WATTACK_FAST : ANIM_2WATTACK;
    else if (style == SKILL_TWO_HANDED_STYLE)
        m_animation = fast ? ANIM_2HATTACK_FAST : ANIM_2HATTACK;
    else if (style == SKILL_MARKSMAN_STYLE)
        m_animation = ANIM_RATTACK;
    else
        m_animation = fast ? ANIM_ATTACK_FAST : ANIM_ATTACK;
    m_animationTime = 0.0;
}

void CActor::SetAnimation(std::uint32_t code, double elapsed) {
    if (code == ANIM_COMBAT) {
        const SkillId style = GetFightingStyle();
        if (style == SKILL_TWO_HANDED_STYLE) code = ANIM_2HCOMBAT;
        else if (style == SKILL_MARKSMAN_STYLE) code = ANIM_RCOMBAT;
    }
    if (code != m_animation) {
        m_animation = code;
        m_animationTime = 0.0;
    } else {
        m_animationTime += elapsed;
    }
}

void CActor::UpdateFidget() {
    if (HasStatus(STATUS_HELD) || HasStatus(STATUS_IMMOBILE) || (m_monsterFlags & MONSTER_NOFIDGET) != 0) {
        m_animation = ANIM_DEFAULT;
        m_animationTime = 0.0;
        return;
    }
    if (m_animation == ANIM_FIDGET) {
        m_animationTime += kFidgetStep;
        if (m_animationTime >= 1.0) {
            m_animation = ANIM_DEFAULT;
            m_animationTime = 0.0;
        }
        return;
    }
    m_animationTime = 0.0;
    // A fidget is only shown, and no save keeps it: it draws from the display's
    // source, so that the rules roll alike in a game and in its loaded copy.
    if (DRAVCommon::DisplayRandom() < kFidgetChance) {
        m_animation = ANIM_FIDGET;
        m_animationVariant = 1 + static_cast<std::uint32_t>(DRAVCommon::DisplayRandom() * kFidgetVariants);
    } else {
        m_animation = ANIM_DEFAULT;
    }
}

void CActor::FinalizeMove(double x, double y) {
    DRAV_TRACE(DRAVCommon::TRACE_LOW, "%s moves to (%g, %g)\n", m_name.c_str(), x, y);
    m_facing = FacingTowards(m_x, m_y, x, y);
    m_x = x;
    m_y = y;
    if (m_gridFiling.grid) m_gridFiling.grid->Refile(*this);
}

void CActor::FaceTowards(const CActor& other) { m_facing = FacingTowards(m_x, m_y, other.m_x, other.m_y); }

void CActor::FaceTowardsPoint(double x, double y) { m_facing = FacingTowards(m_x, m_y, x, y); }

double CActor::DistanceTo(const CActor& other) const { return DistanceToPoint(other.m_x, other.m_y); }

bool CActor::IsWithin(const CActor& other, double range) const {
    return IsWithinRange(other.m_x - m_x, other.m_y - m_y, range);
}

double CActor::DistanceToPoint(double x, double y) const { return std::hypot(x - m_x, y - m_y); }

bool CActor::IsNextToObject(const CObject& object) const {
    return object.DistanceTo(m_x, m_y) <= m_radius + kObjectMargin;
}

bool CActor::IsWithinReach(const CActor& other) const {
    return IsAlive() && other.IsAlive() && DistanceTo(other) <= m_radius + kReachMargin + other.m_radius;
}

}  // namespace DRAV
