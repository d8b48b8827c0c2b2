// The tick's phases and the order steps whose rules are still to be written. They
// keep their places in the tick and in the order dispatch so that filling one in
// changes nothing else; until then each does nothing.

#include "engine/engine.h"

namespace DRAV {

void CEngine::RunMaintainedPowers() {}
void CEngine::RunOngoingSpells() {}
void CEngine::RunDetection() {}
void CEngine::RunUseTileOrder(CActor&, const CUseOrder&) {}
void CEngine::RunUseObjectOrder(CActor&, const CUseOrder&) {}
void CEngine::RunUseItemOrder(CActor&, const CUseOrder&, bool) {}
bool CEngine::CastHelperAttacking(CActor&, std::uint32_t, const CSpell&, std::int32_t, std::int32_t) { return false; }
void CEngine::RunPowerOrder(CActor&, const CPowerOrder&) {}

}  // namespace DRAV
