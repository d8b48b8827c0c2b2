#include "rules/magic/spell_effect_dispel.h"

#include <algorithm>

#include "common/exception.h"
#include "rules/vocabulary/read_word.h"

namespace DRAV {

CSpellEffectDispel::CSpellEffectDispel(DRAVCommon::CDataFileReader& reader) : CSpellEffect(EFFECT_DISPEL) {
    while (!reader.AtBlockEnd()) {
        if (reader.IsWord("many")) {
            m_many = true;
            reader.Advance();
        } else if (reader.IsWord("hostile")) {
            m_hostile = true;
            reader.Advance();
        } else {
            m_damageTypes.push_back(ReadParsedWord(reader, "a damage type", ParseDamageType));
        }
    }
    if (m_damageTypes.empty()) reader.Fail(DRAV_ERR_BAD_DATA, "a dispel effect names no damage type");
}

bool CSpellEffectDispel::Covers(const CDamageType& type) const {
    return std::any_of(m_damageTypes.begin(), m_damageTypes.end(), [&](const CDamageType& entry) {
        return entry.category == type.category && (entry.element == ELEMENT_NONE || entry.element == type.element);
    });
}

}  // namespace DRAV
