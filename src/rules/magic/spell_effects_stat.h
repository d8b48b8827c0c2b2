#pragma once
// Effects that change the target's numbers for a while: statistics, resistances and status.

#include <cstdint>
#include <memory>

#include "common/data_file_reader.h"
#include "rules/kinds/damage.h"
#include "rules/kinds/modifiers.h"
#include "rules/magic/spell_effect.h"
#include "rules/magic/spell_scaling.h"
#include "rules/vocabulary/status.h"

namespace DRAV {

class CSpellEffectModify : public CSpellEffect {
public:
    // Duration word, magnitude, then modifier words up to the end of the element.
    CSpellEffectModify(DRAVCommon::CDataFileReader& reader, std::int32_t tier);
    // A fixed amount that does not expire.
    CSpellEffectModify(std::int32_t amount, ModifierMask mask);

    bool IsHostile() const override { return !m_magnitude->IsPositive(); }

    const CSpellDuration& GetDuration() const { return *m_duration; }
    const CSpellMagnitude& GetMagnitude() const { return *m_magnitude; }
    ModifierMask GetMask() const { return m_mask; }

private:
    std::shared_ptr<CSpellDuration> m_duration;
    std::shared_ptr<CSpellMagnitude> m_magnitude;
    ModifierMask m_mask = 0;
};

class CSpellEffectResist : public CSpellEffect {
public:
    // Duration word, damage-type word, amount.
    CSpellEffectResist(DRAVCommon::CDataFileReader& reader, std::int32_t tier);
    // Shares the other effect's duration record.
    CSpellEffectResist(const CSpellEffectResist& other) = default;

    bool IsHostile() const override { return false; }

    const CSpellDuration& GetDuration() const { return *m_duration; }
    const std::shared_ptr<CSpellDuration>& GetDurationRecord() const { return m_duration; }
    const CDamageType& GetDamageType() const { return m_damageType; }
    std::int32_t GetAmount() const { return m_amount; }

private:
    std::shared_ptr<CSpellDuration> m_duration;
    CDamageType m_damageType;
    std::int32_t m_amount = 0;
};

class CSpellEffectStatus : public CSpellEffect {
public:
    // Duration word, status word.
    CSpellEffectStatus(DRAVCommon::CDataFileReader& reader, std::int32_t tier);

    bool IsHostile() const override { return true; }

    const CSpellDuration& GetDuration() const { return *m_duration; }
    StatusKind GetStatus() const { return m_status; }

private:
    std::shared_ptr<CSpellDuration> m_duration;
    StatusKind m_status = STATUS_FEAR;
};

}  // namespace DRAV
