#pragma once
// Effects that bring something into play: a summoned creature, an item, or another
// spell carried on the target while the effect lasts.

#include <cstdint>
#include <memory>
#include <string>

#include "common/data_file_reader.h"
#include "rules/vocabulary/relation.h"
#include "rules/magic/spell_effect.h"
#include "rules/magic/spell_scaling.h"

namespace DRAV {

class CSpellEffectSummon : public CSpellEffect {
public:
    // Duration word, monster definition key ("0" for none), relation word.
    CSpellEffectSummon(DRAVCommon::CDataFileReader& reader, std::int32_t tier);

    bool IsHostile() const override { return false; }

    const CSpellDuration& GetDuration() const { return *m_duration; }
    const std::string& GetMonsterKey() const { return m_monsterKey; }
    Relation GetRelation() const { return m_relation; }

private:
    std::shared_ptr<CSpellDuration> m_duration;
    std::string m_monsterKey;
    Relation m_relation = RELATION_NEUTRAL;
};

class CSpellEffectOngoing : public CSpellEffect {
public:
    // Duration word, the key of the carried spell.
    CSpellEffectOngoing(DRAVCommon::CDataFileReader& reader, std::int32_t tier);

    bool IsHostile() const override { return true; }

    const CSpellDuration& GetDuration() const { return *m_duration; }
    const std::string& GetSpellKey() const { return m_spellKey; }

private:
    std::shared_ptr<CSpellDuration> m_duration;
    std::string m_spellKey;
};

class CSpellEffectItem : public CSpellEffect {
public:
    // Duration word, item template key ("0" for none).
    CSpellEffectItem(DRAVCommon::CDataFileReader& reader, std::int32_t tier);

    bool IsHostile() const override { return false; }

    const CSpellDuration& GetDuration() const { return *m_duration; }
    const std::string& GetItemKey() const { return m_itemKey; }

private:
    std::shared_ptr<CSpellDuration> m_duration;
    std::string m_itemKey;
};

}  // namespace DRAV
