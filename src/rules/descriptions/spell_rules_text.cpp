#include "rules/descriptions/spell_rules_text.h"

#include <algorithm>

#include "common/exception.h"
#include "rules/descriptions/description_frame.h"
#include "rules/descriptions/description_viewer.h"
#include "rules/descriptions/item_description.h"
#include "rules/kinds/formulas.h"
#include "rules/kinds/number_texts.h"
#include "rules/magic/spell_effect_dispel.h"
#include "rules/magic/spell_effects_conjure.h"
#include "rules/magic/spell_effects_motion.h"
#include "rules/magic/spell_effects_stat.h"
#include "rules/magic/spell_effects_vital.h"
#include "rules/module.h"
#include "rules/monsters/actor_template.h"
#include "rules/vocabulary/skills.h"

namespace DRAV {

namespace {

// The spells whose rules texts are being written, outermost first. A spell that
// creates an item holding a spell that creates the first item again would
// otherwise describe itself without end.
std::vector<const CSpell*>& OpenSpellTexts() {
    static std::vector<const CSpell*> open;
    return open;
}

class OpenSpellText {
public:
    explicit OpenSpellText(const CSpell& spell) { OpenSpellTexts().push_back(&spell); }
    ~OpenSpellText() { OpenSpellTexts().pop_back(); }
    OpenSpellText(const OpenSpellText&) = delete;
    OpenSpellText& operator=(const OpenSpellText&) = delete;
};

bool IsSpellTextOpen(const CSpell& spell) {
    const auto& open = OpenSpellTexts();
    return std::find(open.begin(), open.end(), &spell) != open.end();
}

bool CarriesOpenSpell(const CItemTemplate& item) {
    for (const auto& attribute : item.GetAttributes())
        if (attribute->GetType() == ITEMATTR_SPELL &&
            IsSpellTextOpen(static_cast<const CItemAttributeSpell&>(*attribute).GetSpell()))
            return true;
    return false;
}

std::string MagnitudeAt(const CSpellMagnitude& magnitude, std::int32_t margin) {
    std::int64_t die = magnitude.GetDice();
    std::int64_t bonus = magnitude.GetBonus();
    if (magnitude.GetLevelCap() != 0) {
        const std::int64_t levels = std::min(margin, magnitude.GetLevelCap());
        die += magnitude.GetDicePerLevel() * levels;
        bonus += magnitude.GetBonusPerLevel() * levels;
    }
    return FormatDamageRange(SaturateInt32(die), SaturateInt32(bonus));
}

// A key the module does not define is named in place of what it stands for.
void WriteUnknownKey(std::ostream& out, const CSpell& spell, const char* what, const std::string& key) {
    out << spell.GetName() << " " << what << " \"" << key << "\", which this chapter does not define. ";
}

// The actor line is written only for a viewer who could cast the spell.
const CDescriptionViewer* Caster(const CDescriptionViewer* viewer, const CSpell& spell) {
    return viewer && viewer->MeetsSpellRequirements(spell) ? viewer : nullptr;
}

bool GrowsOnPage(const CSpellMagnitude& magnitude, std::int32_t context) {
    return context == kDescribeSpellPage && magnitude.GetLevelCap() != 0;
}

// The growth and the viewer's amount of a damage magnitude, on the spell's page.
void WriteDamageGrowth(std::ostream& out, const CSpell& spell, const CSpellMagnitude& magnitude,
                       const CDescriptionViewer* viewer, std::int32_t context) {
    if (!GrowsOnPage(magnitude, context)) return;
    out << "The damage increases by " << FormatMagnitudePerLevel(magnitude) << " per level, with a maximum of "
        << magnitude.GetLevelCap() << " levels. ";
    if (const CDescriptionViewer* caster = Caster(viewer, spell))
        out << "The damage for " << caster->GetName() << " is " << FormatMagnitudeForActor(magnitude, *caster, spell)
            << ". ";
}

void WriteModify(std::ostream& out, const CSpell& spell, const CSpellEffectModify& effect,
                 const CDescriptionViewer* viewer, std::int32_t context) {
    const CSpellMagnitude& magnitude = effect.GetMagnitude();
    const bool bonus = std::int64_t{magnitude.GetDice()} + magnitude.GetBonus() >= 1;
    const char* word = bonus ? "bonus" : "penalty";
    out << spell.GetName() << " " << (bonus ? "grants a bonus of " : "inflicts a penalty of ")
        << FormatMagnitude(magnitude) << " points, to statistics: ";
    GetModifierKindName(out, effect.GetMask());
    out << ". ";
    if (GrowsOnPage(magnitude, context)) {
        out << "The " << word << " increases by " << FormatMagnitudePerLevel(magnitude)
            << " points per level, with a maximum of " << magnitude.GetLevelCap() << " levels. ";
        if (const CDescriptionViewer* caster = Caster(viewer, spell))
            out << "For " << caster->GetName() << ", the " << word << " is "
                << FormatMagnitudeForActor(magnitude, *caster, spell) << " points.";
    }
    WriteDurationText(out, spell, effect.GetDuration(), viewer, context);
}

void WriteSummon(std::ostream& out, const CSpell& spell, const CSpellEffectSummon& effect, const CModule& module,
                 const CDescriptionViewer* viewer, std::int32_t context) {
    const CActorTemplate* summoned = module.FindMonsterTemplate(effect.GetMonsterKey());
    if (!summoned) return WriteUnknownKey(out, spell, "summons the creature", effect.GetMonsterKey());
    out << spell.GetName() << " summons a " << summoned->GetName() << " ("
        << GetClassLinkText(summoned->GetClass(), summoned->GetRace()) << " "
        << std::int64_t{summoned->GetBaseLevel()} + summoned->GetLevel() << "), "
        << " with an attitude of " << GetRelationName(effect.GetRelation()) << ". ";
    WriteDurationText(out, spell, effect.GetDuration(), viewer, context);
}

void WriteRestore(std::ostream& out, const CSpell& spell, const CSpellEffectHeal& effect,
                  const CDescriptionViewer* viewer) {
    const bool heal = effect.GetKind() == EFFECT_HEAL;
    const char* noun = heal ? "healing" : "restoration";
    const CSpellMagnitude& magnitude = effect.GetMagnitude();
    out << spell.GetName() << " " << (heal ? "heals" : "restores") << " " << FormatMagnitude(magnitude) << " "
        << (heal ? "hit points" : "energy points") << ", at the cost of one recovery for the target. ";
    if (magnitude.GetLevelCap() == 0) return;
    out << "The " << noun << " increases by " << FormatMagnitudePerLevel(magnitude) << " per level, with a maximum of "
        << magnitude.GetLevelCap() << " levels. ";
    if (const CDescriptionViewer* caster = Caster(viewer, spell))
        out << "For " << caster->GetName() << ", the " << noun << " is "
            << FormatMagnitudeForActor(magnitude, *caster, spell) << ". ";
}

void WriteOngoing(std::ostream& out, const CSpell& spell, const CSpellEffectOngoing& effect, const CModule& module,
                  const CDescriptionViewer* viewer, std::int32_t context) {
    const CSpell* carried = FindSpell(module.GetSpells(), effect.GetSpellKey());
    if (!carried) return WriteUnknownKey(out, spell, "carries the spell", effect.GetSpellKey());
    const CSpellEffectDamage* damage = nullptr;
    for (const auto& part : carried->GetEffects())
        if (part->GetKind() == EFFECT_DAMAGE) damage = static_cast<const CSpellEffectDamage*>(part.get());
    if (!damage) return;
    out << spell.GetName() << " hits for " << FormatMagnitude(damage->GetMagnitude())
        << " hit points of damage every " << 10 << " seconds. ";
    WriteDamageGrowth(out, spell, damage->GetMagnitude(), viewer, context);
    WriteDurationText(out, spell, effect.GetDuration(), viewer, context);
}

void WriteDispel(std::ostream& out, const CSpell& spell, const CSpellEffectDispel& effect) {
    const char* what = effect.GetHostile() ? (effect.GetMany() ? "dispels multiple penalty effects"
                                                               : "dispels one penalty effect")
                                           : (effect.GetMany() ? "dispels multiple bonus effects"
                                                               : "dispels one bonus effect");
    out << spell.GetName() << " " << what << " of type ";
    const char* separator = "";
    for (const CDamageType& type : effect.GetDamageTypes()) {
        out << separator << type.GetFullName();
        separator = ", ";
    }
    out << ". ";
}

void WriteCreatedItem(std::ostream& out, const CSpell& spell, const CSpellEffectItem& effect, const CModule& module,
                      const CDescriptionViewer* viewer, std::int32_t context) {
    const CItemTemplate* item = FindItemTemplate(module.GetItemTemplates(), effect.GetItemKey());
    if (!item) return WriteUnknownKey(out, spell, "creates the item", effect.GetItemKey());
    out << spell.GetName() << " creates the item " << item->GetName() << ". ";
    WriteDurationText(out, spell, effect.GetDuration(), viewer, context);
    // The item's own block stands apart from the sentence that makes it.
    if (!CarriesOpenSpell(*item)) {
        out << " LINE LINE ";
        WriteItemDescription(*item, module, viewer, out);
    }
}

void WriteResist(std::ostream& out, const CSpell& spell, const CSpellEffectResist& effect,
                 const CDescriptionViewer* viewer, std::int32_t context) {
    if (effect.GetAmount() >= 20) out << "Grants immunity";
    else out << "Grants resistance +" << effect.GetAmount();
    out << " against spells of type " << effect.GetDamageType().GetFullName() << ". ";
    WriteDurationText(out, spell, effect.GetDuration(), viewer, context);
}

const char* GetSaveEffectWord(const CSaveOutcome& outcome) {
    switch (outcome.percent) {
        case 100: return "full";
        case 50: return "half effect";
        case 0: return "none";
        case 10:
            if (outcome.IsMinEffect()) return "minimized effect";
            if (outcome.IsMinTime()) return "minimized duration";
            break;
        default: break;
    }
    throw CDRAVException(DRAV_ERR_OUT_OF_RANGE, "save outcome of " + std::to_string(outcome.percent) + " percent");
}

}  // namespace

void CSpell::WriteRulesText(const CModule& module, const CDescriptionViewer* viewer, std::ostream& out,
                            std::int32_t context) const {
    OpenSpellText open(*this);
    if (context != kDescribeEffectList && context != ITEM_POTION) {
        if (m_targetType == SPELL_TARGET_SELF) {
            out << "Range: Caster only" << " LINE ";
        } else {
            out << "Range: " << m_range << " feet" << " LINE ";
            if (HasFlag(SPELL_TOUCH)) out << "Attack: Touch required" << " LINE ";
        }
    }
    if (m_saveDamageType.category != DAMAGE_NONE) {
        const std::string type = m_saveDamageType.GetFullName();
        out << (m_saveOutcome.percent == 100 ? "Effect Type: " : "Save: ") << type << " LINE ";
        if (m_saveLimit != 0) out << "Immune: " << type << " greater than " << m_saveLimit << " LINE ";
    }
    if (context != kDescribeEffectList && !HasFlag(SPELL_POWER) && m_school != SKILL_NONE) {
        const auto attribute = static_cast<Attribute>(GetSkillInfo(m_school).attribute);
        if (attribute != ATTR_NONE) {
            out << "Attribute: " << GetAttributeName(attribute);
            if (viewer) out << " (" << FormatSignedValue(viewer->GetAttributeBonus(attribute)) << ")";
            out << " LINE ";
        }
    }
    if (context != ITEM_POTION && HasFlag(SPELL_MULTITARGET)) out << "Affects: Multiple creatures" << " LINE ";
    if (HasFlag(SPELL_SUMMONTARGET)) out << "Affects: Summoned creatures" << " LINE ";
    if (!m_races.empty()) {
        out << "Affects: ";
        WriteRaceList(out, m_races);
        out << " LINE ";
    }
    if (!m_excludedRaces.empty()) {
        out << "Immune: ";
        WriteRaceList(out, m_excludedRaces);
        out << " LINE ";
    }
    if (context != kDescribeEffectList) {
        if (m_powerWeaponType != kWeaponTypeCount)
            out << "Weapon Requirement: " << GetWeaponTypeName(m_powerWeaponType) << " LINE ";
        if (m_powerSkill != SKILL_NONE) out << "Style Requirement: " << GetSkillName(m_powerSkill) << " LINE ";
    }
    if (HasFlag(SPELL_POWER) && m_saveDamageType.category == DAMAGE_MUSICAL)
        out << "Song Difficulty: " << std::int64_t{m_level} * 5 + 50 << " LINE ";
    out << " LINE " << "Effect:" << " LINE ";
    for (const auto& effect : m_effects) {
        WriteSpellEffectText(out, *this, *effect, module, viewer, context);
        out << " LINE ";
    }
    if (context != kDescribeEffectList) out << " LINE ";
    if (m_hostile) out << "Effect on Save: " << GetSaveEffectWord(m_saveOutcome) << " LINE " << " LINE ";
    if (HasFlag(SPELL_NORESIST)) out << m_name << " bypasses spell resistance." << " LINE ";
}

void WriteSpellEffectText(std::ostream& out, const CSpell& spell, const CSpellEffect& effect, const CModule& module,
                          const CDescriptionViewer* viewer, std::int32_t context) {
    const std::string& name = spell.GetName();
    switch (effect.GetKind()) {
        case EFFECT_MODIFY:
            WriteModify(out, spell, static_cast<const CSpellEffectModify&>(effect), viewer, context);
            return;
        case EFFECT_SUMMON:
            WriteSummon(out, spell, static_cast<const CSpellEffectSummon&>(effect), module, viewer, context);
            return;
        case EFFECT_HEAL:
        case EFFECT_MANA:
            WriteRestore(out, spell, static_cast<const CSpellEffectHeal&>(effect), viewer);
            return;
        case EFFECT_DAMAGE: {
            const CSpellMagnitude& magnitude = static_cast<const CSpellEffectDamage&>(effect).GetMagnitude();
            out << name << " hits for " << FormatMagnitude(magnitude) << " hit points of damage. ";
            WriteDamageGrowth(out, spell, magnitude, viewer, context);
            return;
        }
        case EFFECT_ONGOING:
            WriteOngoing(out, spell, static_cast<const CSpellEffectOngoing&>(effect), module, viewer, context);
            return;
        case EFFECT_TELEPORT: {
            const auto& teleport = static_cast<const CSpellEffectTeleport&>(effect);
            out << name << " " << (teleport.GetParty() ? "teleports the party " : "teleports the caster ")
                << (teleport.GetReturn() ? "back to the area entry. " : "to a point within the caster's sight. ");
            return;
        }
        case EFFECT_STATUS: {
            const auto& status = static_cast<const CSpellEffectStatus&>(effect);
            out << name << " inflicts the status " << GetStatusName(status.GetStatus()) << ". ";
            WriteDurationText(out, spell, status.GetDuration(), viewer, context);
            return;
        }
        case EFFECT_DISPEL:
            WriteDispel(out, spell, static_cast<const CSpellEffectDispel&>(effect));
            return;
        case EFFECT_ITEM:
            WriteCreatedItem(out, spell, static_cast<const CSpellEffectItem&>(effect), module, viewer, context);
            return;
        case EFFECT_REPULSE:
            out << name << " repulses the enemy target.";
            return;
        case EFFECT_RAISE:
            out << name << " raises one dead party member, "
                << (static_cast<const CSpellEffectRaise&>(effect).GetHeal() ? "healing all damage, " : "")
                << "at the cost of one recovery for the target.";
            return;
        case EFFECT_RESIST:
            WriteResist(out, spell, static_cast<const CSpellEffectResist&>(effect), viewer, context);
            return;
    }
    throw CDRAVException(DRAV_ERR_OUT_OF_RANGE,
                         "spell " + spell.GetKey() + ": effect kind " + std::to_string(effect.GetKind()));
}

void WriteDurationText(std::ostream& out, const CSpell& spell, const CSpellDuration& duration,
                       const CDescriptionViewer* viewer, std::int32_t context) {
    if (duration.GetBase() == 0 && duration.GetPerLevel() == 0) {
        out << (spell.HasFlag(SPELL_POWER) ? "This effect  lasts while maintained" : "This effect  lasts indefinitely");
    } else {
        out << "This effect lasts for a duration of ";
        FormatTimeWords(out, SaturateInt32(duration.GetBase() +
                                           std::int64_t{duration.GetPerLevel()} * std::min(duration.GetLevelCap(), 0)));
    }
    if (context == kDescribeSpellPage && duration.GetPerLevel() != 0) {
        out << ", increasing by ";
        FormatTimeWords(out, duration.GetPerLevel());
        out << " per level, with a maximum of " << duration.GetLevelCap() << " levels";
        if (const CDescriptionViewer* caster = Caster(viewer, spell)) {
            out << ", and for " << caster->GetName() << ", the duration is ";
            FormatTimeWords(out, duration.GetValue(caster->GetCasterLevelMargin(spell), CSaveOutcome{}));
        }
    }
    out << ". ";
}

void FormatTimeWords(std::ostream& out, std::int32_t seconds) {
    const std::int32_t hours = seconds / 3600;
    const std::int32_t minutes = seconds / 60 % 60;
    const std::int32_t rest = seconds % 60;
    // The smaller unit follows only when it is not 0.
    auto smaller = [&out](std::int32_t count, const char* unit) {
        if (count > 1) out << " " << count << " " << unit << "s";
        else if (count == 1) out << " 1 " << unit;
    };
    if (hours >= 1) {
        if (hours == 1) out << "1 hour";
        else out << hours << " hours";
        smaller(minutes, "minute");
    } else if (minutes >= 1) {
        if (minutes == 1) out << "1 minute";
        else out << minutes << " minutes";
        smaller(rest, "second");
    } else if (rest == 1) {
        out << "1 second";
    } else {
        out << rest << " seconds";
    }
}

void WriteRaceList(std::ostream& out, const std::vector<Race>& races) {
    const char* separator = "";
    for (Race race : races) {
        out << separator << GetRaceName(race);
        separator = ", ";
    }
}

std::string FormatMagnitude(const CSpellMagnitude& magnitude) { return MagnitudeAt(magnitude, 0); }

std::string FormatMagnitudePerLevel(const CSpellMagnitude& magnitude) {
    return FormatDamageRange(magnitude.GetDicePerLevel(), magnitude.GetBonusPerLevel());
}

std::string FormatMagnitudeForActor(const CSpellMagnitude& magnitude, const CDescriptionViewer& viewer,
                                    const CSpell& spell) {
    return MagnitudeAt(magnitude, viewer.GetCasterLevelMargin(spell));
}

void GetModifierKindName(std::ostream& out, ModifierMask mask) {
    const char* separator = "";
    auto name = [&](std::int32_t bit, const std::string& text) {
        if ((mask & (ModifierMask{1} << bit)) == 0) return;
        out << separator << text;
        separator = ", ";
    };
    for (int a = 0; a < kAttributeCount; ++a)
        name(GetAttributeModifierIndex(static_cast<Attribute>(a)), GetAttributeName(static_cast<Attribute>(a)));
    name(MOD_ATTACK, "Attack Bonus");
    name(MOD_DAMAGE, "Attack Damage");
    name(MOD_DEFENSE, "Defense Class");
    for (std::int32_t bit = MOD_RESIST_ENERGETIC; bit <= MOD_RESIST_ILLUSION; ++bit)
        if ((mask & (ModifierMask{1} << bit)) != 0) name(bit, GetModifierDamageType(bit).GetFullName());
    for (int s = 0; s < kSpecialStatCount; ++s)
        name(GetSpecialStatModifierIndex(static_cast<SpecialStat>(s)), GetSpecialStatName(static_cast<SpecialStat>(s)));
    name(MOD_CASTING, "Spellcasting");
    name(MOD_SPELL_NULLIFICATION, "Spell Nullification");
    name(MOD_ACTION_SPEED, "Action Speed");
    name(MOD_MOVEMENT_SPEED, "Movement Speed");
}

}  // namespace DRAV
