#include "rules/magic/spell_effects_conjure.h"

#include "rules/vocabulary/read_word.h"

namespace DRAV {

CSpellEffectSummon::CSpellEffectSummon(DRAVCommon::CDataFileReader& reader, std::int32_t tier)
    : CSpellEffect(EFFECT_SUMMON), m_duration(std::make_shared<CSpellDuration>(reader, tier)) {
    m_monsterKey = ReadKeyOrEmpty(reader, "a monster key or 0");
    m_relation = ReadParsedWord(reader, "a relation", ParseRelation);
}

CSpellEffectOngoing::CSpellEffectOngoing(DRAVCommon::CDataFileReader& reader, std::int32_t tier)
    : CSpellEffect(EFFECT_ONGOING), m_duration(std::make_shared<CSpellDuration>(reader, tier)) {
    m_spellKey = ReadKeyOrEmpty(reader, "a spell key");
}

CSpellEffectItem::CSpellEffectItem(DRAVCommon::CDataFileReader& reader, std::int32_t tier)
    : CSpellEffect(EFFECT_ITEM), m_duration(std::make_shared<CSpellDuration>(reader, tier)) {
    m_itemKey = ReadKeyOrEmpty(reader, "an item key or 0");
}

}  // namespace DRAV
