#pragma once
// An actor as the character a spell, skill or item page is written for.

#include "rules/descriptions/description_viewer.h"
#include "world/actor.h"

namespace DRAV {

class CActorViewer final : public CDescriptionViewer {
public:
    // `actor` must outlive the view.
    explicit CActorViewer(const CActor& actor) : m_actor(actor) {}

    const std::string& GetName() const override;
    bool MeetsSpellRequirements(const CSpell& spell) const override { return m_actor.MeetsSpellRequirements(spell); }
    std::int32_t GetCasterLevelMargin(const CSpell& spell) const override {
        return m_actor.GetCasterLevelMargin(spell);
    }
    std::int32_t GetSpellCastingValue(const CSpell& spell) const override {
        return m_actor.GetSpellCastingValue(spell);
    }
    std::int32_t GetMaxSpellTier() const override { return m_actor.GetMaxSpellTier(); }
    std::int32_t GetAttributeBonus(Attribute attribute) const override {
        return m_actor.GetAttributeBonus(attribute);
    }
    std::int32_t GetSkillValue(SkillId skill) const override { return m_actor.GetSkillValue(skill); }
    bool KnowsSpell(const CSpell& spell) const override;

private:
    const CActor& m_actor;
};

}  // namespace DRAV
