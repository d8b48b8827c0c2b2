#include "rules/descriptions/item_description.h"

#include <algorithm>

#include "rules/descriptions/description_frame.h"
#include "rules/descriptions/description_viewer.h"
#include "rules/descriptions/spell_rules_text.h"
#include "rules/items/item_template.h"
#include "rules/kinds/number_texts.h"
#include "rules/magic/spell_apply_effect.h"
#include "rules/vocabulary/skills.h"

namespace DRAV {

namespace {

std::int32_t GetItemSpellBonus(const CSpell& spell) {
    if (spell.GetTier() != -1) return std::max(5 * spell.GetTier() - 3, 0);
    if (spell.GetLevel() == -1) return spell.GetBonus();
    return 0;
}

void WriteWeapon(std::ostream& out, const CItemTemplate& item, const CItemAttributeWeapon& weapon) {
    const WeaponTypeInfo& type = GetWeaponTypeInfo(weapon.GetWeaponType());
    out << "Weapon Type: " << type.name;
    if (weapon.IsTwoHanded()) out << " (Requires two hands)";
    if (type.light) out << " (light)";
    out << " LINE " << "Damage: " << FormatDamageRange(weapon.GetDamageDie(), weapon.GetDamageBonus());
    if (type.blunt) out << " (blunt)";
    if (type.critical) out << " (" << 10 << "% critical)";
    out << " LINE ";
    if (type.value == WEAPON_BOW) {
        const auto* requirement = item.GetAttributeOf<CItemAttributeAttributeReq>();
        if (requirement && requirement->GetAttribute() == ATTR_STRENGTH) {
            const std::int64_t damage = (std::int64_t{requirement->GetMinimum()} - 10) * 5 / 2;
            if (damage > 0) out << GetAttributeName(ATTR_STRENGTH) << " Damage: " << damage << " LINE ";
        }
    }
    if (weapon.GetAttackBonus() != 0) out << "Attack Bonus: " << weapon.GetAttackBonus() << " LINE ";
    if (weapon.GetEnhancement() > 0) out << "Enhancement: +" << weapon.GetEnhancement() << " LINE ";
}

void WriteArmor(std::ostream& out, const CItemAttributeArmor& armor) {
    // Armor that asks no proficiency ("0" in the definition) has no skill to name.
    out << "Armor Type: " << (armor.GetArmorSkill() == SKILL_NONE ? "None" : GetSkillName(armor.GetArmorSkill()))
        << " LINE " << "Defense Class: " << armor.GetDefenseClass() << " LINE ";
    if (armor.HasMaxAgilityBonus()) out << "Maximum Agility Bonus: " << armor.GetMaxAgilityBonus() << " LINE ";
    out << "Non-Proficient Attack Penalty: " << armor.GetNonProficientPenalty() << " LINE "
        << "Spellcasting Penalty: " << armor.GetSpellcastingPenalty() << " LINE ";
}

void WriteSpellAttribute(std::ostream& out, const CItemTemplate& item, const CSpell& spell, const CModule& module,
                         const CDescriptionViewer* viewer) {
    const ItemKind kind = item.GetKind();
    if (kind == ITEM_SCROLL) {
        if (viewer && viewer->KnowsSpell(spell))
            out << "This spell is already in " << viewer->GetName() << "'s spellbook." << " LINE ";
        // Inscribing asks what casting the spell asks: its school, beside Arcane Magic.
        out << "Requires: ";
        WriteSkillLink(SKILL_ARCANE_MAGIC, out);
        if (spell.GetSchool() != SKILL_NONE && spell.GetSchool() != SKILL_ARCANE_MAGIC) {
            out << " and ";
            WriteSkillLink(spell.GetSchool(), out);
        }
        out << " to inscribe." << " LINE " << "Requires: Spell Tier " << spell.GetTier() << " to inscribe." << " LINE ";
    }
    if (kind == ITEM_WAND) {
        out << "Requires: ";
        WriteSkillLink(SKILL_WANDS, out);
        out << " Spell Tier " << spell.GetTier() << " to use." << " LINE ";
    }
    if (kind == ITEM_SCROLL) {
        out << "Spell: ";
        WriteSpellLink(spell, out);
        if (spell.GetSchool() != SKILL_NONE) {
            out << " (";
            WriteSkillLink(spell.GetSchool(), out);
            out << " Tier " << spell.GetTier() << ")";
        }
        out << " LINE " << " LINE ";
    }
    out << (kind == ITEM_POTION ? "Potion Effect: " : kind == ITEM_SCROLL ? "Inscribed Spell: " : "Spell Attack: ")
        << spell.GetName() << " (Spell Bonus " << GetItemSpellBonus(spell) << ")" << " LINE ";
    spell.WriteRulesText(module, nullptr, out, kind);
}

void WriteModifyAttribute(std::ostream& out, const CItemAttributeModify& modify) {
    const CSpellApply& applied = *modify.GetModifier();
    if (applied.GetDamageType().category != DAMAGE_NONE)
        out << "Save Effect Type: " << applied.GetDamageType().GetFullName() << " LINE ";
    for (const auto& part : applied.GetParts()) {
        if (part->GetKind() != APPLY_MODIFY) continue;
        const auto& bonus = static_cast<const CSpellApplyEffectModify&>(*part);
        const bool positive = bonus.GetAmount() >= 1;
        out << (positive ? "Grants a bonus to statistics: " : "Inflicts a penalty to statistics: ");
        GetModifierKindName(out, bonus.GetMask());
        out << " LINE " << (positive ? "Bonus Points: " : "Penalty Points: ") << FormatSignedValue(bonus.GetAmount())
            << " LINE ";
    }
}

void WriteResistAttribute(std::ostream& out, const CItemAttributeResist& resist) {
    for (const auto& part : resist.GetResistance()->GetParts()) {
        if (part->GetKind() != APPLY_RESIST) continue;
        const auto& resistance = static_cast<const CSpellApplyEffectResist&>(*part);
        const std::string type = resistance.GetDamageType().GetFullName();
        if (resistance.GetAmount() >= 20) out << "Grants immunity to spell type " << type << ".";
        else out << "Grants resistance +" << resistance.GetAmount() << " to spell type " << type << ".";
        out << " LINE ";
    }
}

}  // namespace

void WriteItemDescription(const CItemTemplate& item, const CModule& module, const CDescriptionViewer* viewer,
                          std::ostream& out) {
    BeginListingTable(out, item.GetName());
    const ItemKindInfo& kind = GetItemKindInfo(item.GetKind());
    const auto* spellAttribute = item.GetAttributeOf<CItemAttributeSpell>();
    out << "Type: " << kind.name << " LINE " << "Value: " << item.GetValue() << " LINE " << "Weight: "
        << item.GetWeight() << " LINE ";
    if (kind.value == ITEM_WAND && spellAttribute) {
        const CSpell& spell = spellAttribute->GetSpell();
        out << "Skill: ";
        WriteSkillLink(SKILL_WANDS, out);
        if (spell.GetTier() > 0) out << " Spell Tier " << spell.GetTier();
        out << " LINE " << "Spell: ";
        WriteSpellLink(spell, out);
        out << " LINE ";
    }
    if (item.HasFlag(ITEMFLAG_NOGIVE)) out << "Can't be given or dropped." << " LINE ";
    if (kind.burnOutPercent != 0)
        out << "Has a " << kind.burnOutPercent << "% chance of burning out on use." << " LINE ";
    out << " LINE ";
    for (const auto& attribute : item.GetAttributes()) {
        switch (attribute->GetType()) {
            case ITEMATTR_WEAPON: WriteWeapon(out, item, static_cast<const CItemAttributeWeapon&>(*attribute)); break;
            case ITEMATTR_ARMOR: WriteArmor(out, static_cast<const CItemAttributeArmor&>(*attribute)); break;
            case ITEMATTR_ATTRIBUTE_REQ: {
                const auto& requirement = static_cast<const CItemAttributeAttributeReq&>(*attribute);
                out << "Attribute: " << GetAttributeName(requirement.GetAttribute()) << " "
                    << requirement.GetMinimum() << " LINE ";
                break;
            }
            case ITEMATTR_SPELL:
                WriteSpellAttribute(out, item, static_cast<const CItemAttributeSpell&>(*attribute).GetSpell(), module,
                                    viewer);
                break;
            case ITEMATTR_QUEST: break;
            case ITEMATTR_MODIFY: WriteModifyAttribute(out, static_cast<const CItemAttributeModify&>(*attribute)); break;
            case ITEMATTR_RESIST: WriteResistAttribute(out, static_cast<const CItemAttributeResist&>(*attribute)); break;
        }
    }
    out << " LINE ";
    EndListingTable(out);
}

}  // namespace DRAV
