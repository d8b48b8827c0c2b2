// The tick's phases and the order steps whose rules are still to be written. They
// keep their places in the tick and in the order dispatch so that filling one in
// changes nothing else; until then each does nothing.

#include "engine/engine.h"

namespace DRAV {

void CEngine::UpdateActorEffects() {}
void CEngine::RunMaintainedPowers() {}
void CEngine::RunOngoingSpells() {}
// Without the battle rules no enemy counts as a threat.
bool CEngine::IsPartySafe() { return true; }
void CEngine::RunEffects() {}
void CEngine::RunDetection() {}
void CEngine::RunHeartbeats() {}
void CEngine::RemoveDeadActors() {}
void CEngine::UnsummonItems() {}
void CEngine::RunStealthChecks() {}
void CEngine::CheckForExits() {}
void CEngine::StopSneaking(CActor&) {}
void CEngine::RunMeleeAttack(CActor&, const CAttackOrder&) {}
void CEngine::RunRangedAttack(CActor&, const CAttackOrder&) {}
void CEngine::RunUseTileOrder(CActor&, const CUseOrder&) {}
void CEngine::RunUseObjectOrder(CActor&, const CUseOrder&) {}
void CEngine::RunUseItemOrder(CActor&, const CUseOrder&, bool) {}
bool CEngine::CastHelperAttacking(CActor&, std::uint32_t, const CSpell&, std::int32_t, std::int32_t) { return false; }
void CEngine::RunTalkOrder(CActor&, const CTalkOrder&) {}
void CEngine::RunLeavePartyOrder(CActor&) {}
void CEngine::RunSpendPointsOrder(CActor&, const CSpendPointsOrder&) {}
void CEngine::RunPowerOrder(CActor&, const CPowerOrder&) {}

}  // namespace DRAV
