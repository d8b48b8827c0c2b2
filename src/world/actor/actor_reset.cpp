// Putting an actor back to what its definition and brain make it, when its area
// respawns or it is made.

#include "world/actor.h"

#include <string>

#include "world/game.h"

namespace DRAV {

void CActor::ClearEffects() {
    m_activeEffects.clear();
    // A kept power must not point at an effect that is gone.
    m_powerEffect = nullptr;
    RecountModifiers();
}

void CActor::RestoreFully() {
    ClearEffects();
    SetDamageTaken(0);
    SetLastDamage(0, 0);
    SetHealsReceived(0);
    SetEnergyUsed(0);
    SetActionState(ACTION_IDLE);
    SetAttackTarget(0, nullptr);
    SetLeaveFlag(false);
}

bool CActor::WaitsToTurn() const {
    std::string tag;
    if (m_relation != RELATION_NEUTRAL || !m_brain || !m_brainFunctions.watch || !m_brainFunctions.watch(*m_brain, tag))
        return false;
    return tag.empty() || (m_game && m_game->IsQuestTagSet(tag));
}

void CActor::ApplyBrainRelation() {
    if (m_brain && m_brainFunctions.relation) m_relation = m_brainFunctions.relation(*m_brain);
}

}  // namespace DRAV
