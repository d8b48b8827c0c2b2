#include "rules/magic/spell_effects_stat.h"

#include "rules/vocabulary/read_word.h"

namespace DRAV {

CSpellEffectModify::CSpellEffectModify(DRAVCommon::CDataFileReader& reader, std::int32_t tier)
    : CSpellEffect(EFFECT_MODIFY),
      m_duration(std::make_shared<CSpellDuration>(reader, tier)),
      m_magnitude(std::make_shared<CSpellMagnitude>(reader, tier)),
      m_mask(ParseModifierMask(reader)) {}

CSpellEffectModify::CSpellEffectModify(std::int32_t amount, ModifierMask mask)
    : CSpellEffect(EFFECT_MODIFY),
      m_duration(std::make_shared<CSpellDuration>()),
      m_magnitude(std::make_shared<CSpellMagnitude>(amount)),
      m_mask(mask) {}

CSpellEffectResist::CSpellEffectResist(DRAVCommon::CDataFileReader& reader, std::int32_t tier)
    : CSpellEffect(EFFECT_RESIST), m_duration(std::make_shared<CSpellDuration>(reader, tier)) {
    m_damageType = ReadParsedWord(reader, "a damage type", ParseDamageType);
    m_amount = reader.ReadInt();
}

CSpellEffectStatus::CSpellEffectStatus(DRAVCommon::CDataFileReader& reader, std::int32_t tier)
    : CSpellEffect(EFFECT_STATUS), m_duration(std::make_shared<CSpellDuration>(reader, tier)) {
    m_status = ReadParsedWord(reader, "a status", ParseStatus);
}

}  // namespace DRAV
