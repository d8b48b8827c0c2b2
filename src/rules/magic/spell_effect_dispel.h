#pragma once
// The effect that removes applied spells of some damage types from its target.

#include <deque>

#include "common/data_file_reader.h"
#include "rules/kinds/damage.h"
#include "rules/magic/spell_effect.h"

namespace DRAV {

class CSpellEffectDispel : public CSpellEffect {
public:
    // Words up to the end of the element: "many", "hostile" and at least one damage
    // type ("0" for none); without any damage type code 1.
    explicit CSpellEffectDispel(DRAVCommon::CDataFileReader& reader);

    // With the hostile flag the dispel removes hostile applied spells, which helps its target.
    bool IsHostile() const override { return !m_hostile; }

    // True when some listed type has the same category and is the whole category or the same element.
    bool Covers(const CDamageType& type) const;

    bool GetMany() const { return m_many; }
    bool GetHostile() const { return m_hostile; }
    const std::deque<CDamageType>& GetDamageTypes() const { return m_damageTypes; }

private:
    bool m_many = false;
    bool m_hostile = false;
    std::deque<CDamageType> m_damageTypes;
};

}  // namespace DRAV
