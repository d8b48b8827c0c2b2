#pragma once
// Effects that move creatures: teleporting and repulsing.

#include "common/data_file_reader.h"
#include "rules/magic/spell_effect.h"

namespace DRAV {

class CSpellEffectTeleport : public CSpellEffect {
public:
    // Words up to the end of the element: "party", "return"; none at all is allowed.
    explicit CSpellEffectTeleport(DRAVCommon::CDataFileReader& reader);

    bool IsHostile() const override { return false; }
    bool GetParty() const { return m_party; }
    bool GetReturn() const { return m_return; }

private:
    bool m_party = false;
    bool m_return = false;
};

class CSpellEffectRepulse : public CSpellEffect {
public:
    CSpellEffectRepulse() : CSpellEffect(EFFECT_REPULSE) {}

    bool IsHostile() const override { return true; }
};

}  // namespace DRAV
