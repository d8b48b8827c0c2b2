#include "rules/magic/spell_effects_vital.h"

#include <string>

#include "common/exception.h"

namespace DRAV {

CSpellEffectHeal::CSpellEffectHeal(SpellEffectKind kind, DRAVCommon::CDataFileReader& reader, std::int32_t tier)
    : CSpellEffect(kind) {
    if (kind != EFFECT_HEAL && kind != EFFECT_MANA)
        throw CDRAVException(DRAV_ERR_BAD_DATA, "a heal effect restores hit points or energy, not kind " +
                                                    std::to_string(kind));
    m_magnitude = std::make_shared<CSpellMagnitude>(reader, tier);
}

CSpellEffectDamage::CSpellEffectDamage(DRAVCommon::CDataFileReader& reader, std::int32_t tier)
    : CSpellEffect(EFFECT_DAMAGE), m_magnitude(std::make_shared<CSpellMagnitude>(reader, tier)) {}

CSpellEffectRaise::CSpellEffectRaise(DRAVCommon::CDataFileReader& reader) : CSpellEffect(EFFECT_RAISE) {
    while (!reader.AtBlockEnd()) {
        if (!reader.IsWord("heal")) reader.Fail(DRAV_ERR_BAD_DATA, "a raise effect takes only \"heal\"");
        m_heal = true;
        reader.Advance();
    }
}

}  // namespace DRAV
