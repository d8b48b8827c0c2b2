#pragma once
// Effects on the target's life and energy: healing, restoring energy, damage and raising the fallen.

#include <cstdint>
#include <memory>

#include "common/data_file_reader.h"
#include "rules/magic/spell_effect.h"
#include "rules/magic/spell_scaling.h"

namespace DRAV {

// EFFECT_HEAL restores hit points, EFFECT_MANA energy.
class CSpellEffectHeal : public CSpellEffect {
public:
    // Code 1 for any kind other than heal and mana.
    CSpellEffectHeal(SpellEffectKind kind, DRAVCommon::CDataFileReader& reader, std::int32_t tier);

    bool IsHostile() const override { return false; }
    const CSpellMagnitude& GetMagnitude() const { return *m_magnitude; }

private:
    std::shared_ptr<CSpellMagnitude> m_magnitude;
};

class CSpellEffectDamage : public CSpellEffect {
public:
    CSpellEffectDamage(DRAVCommon::CDataFileReader& reader, std::int32_t tier);

    bool IsHostile() const override { return true; }
    const CSpellMagnitude& GetMagnitude() const { return *m_magnitude; }

private:
    std::shared_ptr<CSpellMagnitude> m_magnitude;
};

class CSpellEffectRaise : public CSpellEffect {
public:
    // Words up to the end of the element: "heal".
    explicit CSpellEffectRaise(DRAVCommon::CDataFileReader& reader);

    bool IsHostile() const override { return false; }
    bool GetHeal() const { return m_heal; }

private:
    bool m_heal = false;
};

}  // namespace DRAV
