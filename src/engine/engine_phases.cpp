// The tick's phases and the order steps whose rules are still to be written. They
// keep their places in the tick and in the order dispatch so that filling one in
// changes nothing else; until then each does nothing.

#include "engine/engine.h"

namespace DRAV {

void CEngine::RunWieldOrder(CActor&, const CWieldOrder&) {}
void CEngine::RunUnwieldOrder(CActor&, const CUnwieldOrder&) {}
void CEngine::RunGetOrder(CActor&, const CGetOrder&) {}
void CEngine::RunDropOrder(CActor&, const CDropOrder&) {}
void CEngine::RunSplitOrder(CActor&, const CSplitOrder&) {}
void CEngine::RunCombineOrder(CActor&, const CCombineOrder&) {}
void CEngine::RunGiveOrder(CActor&, const CGiveOrder&) {}
void CEngine::RunTalkOrder(CActor&, const CTalkOrder&) {}
void CEngine::RunLeavePartyOrder(CActor&) {}
void CEngine::RunSpendPointsOrder(CActor&, const CSpendPointsOrder&) {}
void CEngine::RunStoreOrder(CActor&, const CStoreOrder&) {}

}  // namespace DRAV
