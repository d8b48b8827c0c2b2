#pragma once
// A spell that has taken hold on an actor, or a permanent modifier from an item or a
// monster definition: where it came from and its parts, saved with the actor.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "common/data_file_reader.h"
#include "common/data_file_writer.h"
#include "rules/kinds/damage.h"
#include "rules/magic/spell.h"
#include "rules/magic/spell_apply_effect.h"

namespace DRAV {

using SpellApplyEffectList = std::vector<std::shared_ptr<CSpellApplyEffect>>;

class CSpellApply {
public:
    CSpellApply(std::string name, const CDamageType& damageType, std::int32_t castingValue,
                std::int32_t casterLevel, bool silent, bool hidden);
    // Reads one "spellapply" element.
    CSpellApply(DRAVCommon::CDataFileReader& reader, const SpellMap& spells);

    void Save(DRAVCommon::CDataFileWriter& writer) const;

    // False when some part helps: a bonus, a resistance, or a carried spell that is not hostile.
    bool IsHostile() const;

    const std::string& GetName() const { return m_name; }
    const CDamageType& GetDamageType() const { return m_damageType; }
    std::int32_t GetCastingValue() const { return m_castingValue; }
    std::int32_t GetCasterLevel() const { return m_casterLevel; }
    bool IsSilent() const { return m_silent; }
    bool IsHidden() const { return m_hidden; }
    // Who cast it, so that the pulses of a lasting harm say whose it is; empty when
    // nobody did (a trap, a script, an item) or the save is older than the name.
    const std::string& GetCasterName() const { return m_casterName; }
    void SetCasterName(std::string name) { m_casterName = std::move(name); }
    const SpellApplyEffectList& GetParts() const { return m_parts; }
    SpellApplyEffectList& GetParts() { return m_parts; }

private:
    std::string m_name;
    CDamageType m_damageType;
    std::int32_t m_castingValue = 0;
    std::int32_t m_casterLevel = 0;
    bool m_silent = false;
    bool m_hidden = false;
    std::string m_casterName;
    SpellApplyEffectList m_parts;
};

using SpellApplyList = std::vector<std::shared_ptr<CSpellApply>>;

// The "effectlist" element.
void WriteEffectList(const SpellApplyEffectList& parts, DRAVCommon::CDataFileWriter& writer);
void ReadEffectList(SpellApplyEffectList& parts, DRAVCommon::CDataFileReader& reader, const SpellMap& spells);

// The "spellapplylist" element; reading appends.
void WriteSpellApplyList(const SpellApplyList& applied, DRAVCommon::CDataFileWriter& writer);
void ReadSpellApplyList(SpellApplyList& applied, DRAVCommon::CDataFileReader& reader, const SpellMap& spells);

}  // namespace DRAV
