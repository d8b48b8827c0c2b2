#include "world/descriptions/actor_description.h"

#include <algorithm>
#include <string>

#include "rules/kinds/formulas.h"
#include "rules/kinds/number_texts.h"
#include "rules/vocabulary/skills.h"
#include "world/actor.h"
#include "world/game.h"

namespace DRAV {

namespace {

// The main character before any attribute was raised shows no statistics yet.
bool IsUnrolledMainCharacter(const CActor& actor) {
    if (!actor.IsMainCharacter()) return false;
    for (int a = 0; a < kAttributeCount; ++a) {
        const auto attribute = static_cast<Attribute>(a);
        if (std::int64_t{actor.GetAttribute(attribute)} + actor.GetModifier(GetAttributeModifierIndex(attribute)) > 6)
            return false;
    }
    return true;
}

std::int32_t GetAttackCount(const CActor& actor) {
    if (!actor.GetAttacks().empty()) return static_cast<std::int32_t>(actor.GetAttacks().size());
    return actor.GetFightingStyle() == SKILL_DUAL_WIELD_STYLE ? 2 : 1;
}

void WriteAttack(std::ostream& out, const CActor& actor, const CModule& module, std::int32_t hand) {
    const CAttackInfo attack = actor.GetAttackBonus(hand, false, false, nullptr);
    out << "Attack Bonus: " << attack.attackBonus << " LINE " << "Attack Damage: " << attack.GetDamageText();
    if (attack.damageType.element == ELEMENT_BLUNT) out << " (blunt)";
    if (attack.flags & ATTACK_CRITICAL) out << " (crit x2)";
    if (attack.enhancement > 0) out << " (enhancement +" << attack.enhancement << ")";
    out << " LINE ";
    if (const CSpell* spell = actor.GetAttackSpell(module, hand)) {
        const std::int32_t bonus = spell->GetTier() != -1 ? 5 * spell->GetTier() - 3 : spell->GetBonus();
        out << "Attack Spell: " << spell->GetName() << " (";
        // A spell without a saving throw has no type to name.
        if (spell->GetSaveDamageType().category != DAMAGE_NONE) out << spell->GetSaveDamageType().GetFullName() << " ";
        out << bonus << ") LINE ";
    }
    out << " LINE ";
}

void WriteStatistics(std::ostream& out, const CActor& actor, const CModule& module) {
    for (int a = 0; a < kAttributeCount; ++a) {
        const auto attribute = static_cast<Attribute>(a);
        out << GetAttributeName(attribute) << ": "
            << std::int64_t{actor.GetAttribute(attribute)} + actor.GetModifier(GetAttributeModifierIndex(attribute))
            << " LINE ";
    }
    out << " LINE ";
    const std::int32_t attacks = GetAttackCount(actor);
    for (std::int32_t hand = 0; hand < attacks; ++hand) WriteAttack(out, actor, module, hand);
    out << "Defense Class: " << actor.GetDefenseClass(false, nullptr) << " LINE " << "Defense Class (Touch): "
        << actor.GetDefenseClass(true, nullptr) << " LINE " << " LINE ";
    for (DamageCategory category : {DAMAGE_ENERGETIC, DAMAGE_MATERIAL, DAMAGE_SPIRITUAL})
        out << GetDamageCategoryInfo(category).name << ": "
            << actor.GetCategoryResistance(CDamageType{category, ELEMENT_NONE}, nullptr) << " LINE ";
    out << " LINE Skills: ";
    const char* separator = "";
    bool any = false;
    for (SkillId skill : actor.GetSkills()) {
        if (GetSkillInfo(skill).skillClass == CLASS_MONSTER) continue;
        out << separator << GetSkillName(skill);
        separator = ", ";
        any = true;
    }
    if (!any) out << "None";
    out << " LINE ";
    std::string resistances;
    actor.GetResistanceText(resistances);
    if (!resistances.empty()) out << " LINE Magic Resistances: LINE " << resistances;
    const std::int32_t nullification = actor.GetModifier(MOD_SPELL_NULLIFICATION);
    if (nullification != 0 && nullification != -50)
        out << "Spell Nullification: " << std::int64_t{nullification} + 50 << " LINE LINE ";
}

void WritePresence(std::ostream& out, const CActor& actor, std::int32_t knowledge) {
    std::string effects;
    actor.GetEffectsText(knowledge >= kKnowledgeFull, effects);
    if (!effects.empty()) out << effects << " LINE ";
    if (actor.IsSummoned() && actor.IsPartyOrFriendly()) {
        const std::uint32_t now = actor.GetGame() ? actor.GetGame()->GetTick() : 0;
        const std::uint32_t end = actor.GetSummonEndTick();
        out << "Summon Time: " << FormatDuration(end > now ? end - now : 0) << " LINE LINE ";
    }
    if (!actor.GetGame()) return;
    const PeopleJournal& people = actor.GetGame()->GetPeopleJournal();
    const auto noted = people.find(actor.GetNameWord());
    if (noted != people.end() && noted->second) noted->second->WriteDescription(out);
}

}  // namespace

const std::string& DescribedName(const CActor& actor) {
    static const std::string unnamed = "Unnamed Hero";
    return actor.GetName().empty() ? unnamed : actor.GetName();
}

void WriteActorDescription(const CActor& actor, const CModule& module, std::int32_t knowledge, std::ostream& out) {
    out << DescribedName(actor) << " LINE LINE ";
    out << GetGenderName(actor.GetGender()) << " " << GetRaceName(actor.GetRace()) << " LINE ";
    const std::int32_t maxHitPoints = actor.GetMaxHitPoints();
    out << "Hit Points: " << (actor.IsAlive() ? actor.GetHitPoints() : 0) << "/" << maxHitPoints << " LINE ";
    out << "Class: "
        << (knowledge < kKnowledgeBasic               ? std::string("Unknown")
            : actor.GetClass() == CLASS_MONSTER ? std::string("None")
                                                      : GetClassName(actor.GetClass()))
        << " LINE ";
    if (knowledge >= kKnowledgeBasic) {
        if (actor.GetLevel() != 0) out << "Level: " << actor.GetLevel() << " LINE ";
        if (!actor.IsPartyMember()) {
            const std::int64_t encounterLevel = std::int64_t{actor.GetBaseLevel()} + actor.GetLevel();
            out << "Encounter Level: " << encounterLevel << " ("
                << GetEncounterLevelValue(SaturateInt32(encounterLevel)) << "xp) LINE ";
        }
    }
    if (knowledge >= kKnowledgeFull && actor.GetFaction()) out << "Faction: " << actor.GetFactionText() << " LINE ";
    if (knowledge >= kKnowledgeFull && !IsUnrolledMainCharacter(actor)) WriteStatistics(out, actor, module);
    if (!actor.GetSecondName().empty()) out << " Description: " << actor.GetSecondName() << " LINE LINE ";
    if (actor.GetArea()) WritePresence(out, actor, knowledge);
}

}  // namespace DRAV
