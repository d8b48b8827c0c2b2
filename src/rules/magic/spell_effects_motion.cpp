#include "rules/magic/spell_effects_motion.h"

#include "common/exception.h"

namespace DRAV {

CSpellEffectTeleport::CSpellEffectTeleport(DRAVCommon::CDataFileReader& reader) : CSpellEffect(EFFECT_TELEPORT) {
    while (!reader.AtBlockEnd()) {
        if (reader.IsWord("party")) m_party = true;
        else if (reader.IsWord("return")) m_return = true;
        else reader.Fail(DRAV_ERR_BAD_DATA, "a teleport effect takes only \"party\" and \"return\"");
        reader.Advance();
    }
}

}  // namespace DRAV
