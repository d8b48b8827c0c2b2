// The longer texts of the information page: the special statistics box and the
// detail dialogs behind the attack, damage, defense and resistance rows. Each is a
// snapshot of the actor when it is built.

#include <cmath>
#include <iomanip>
#include <sstream>

#include "common/exception.h"
#include "engine/engine.h"
#include "game/app.h"
#include "game/dialogs/sheet/actor_info_dlg.h"
#include "game/dialogs/text_dlg.h"
#include "rules/descriptions/spell_rules_text.h"
#include "rules/kinds/attack_info.h"
#include "rules/kinds/damage.h"
#include "rules/kinds/modifiers.h"
#include "rules/kinds/number_texts.h"
#include "rules/magic/spell.h"
#include "rules/module.h"
#include "rules/vocabulary/actor_class.h"
#include "rules/vocabulary/skills.h"
#include "rules/vocabulary/special_stat.h"
#include "world/actor.h"
#include "world/game.h"

namespace {

// An Adventurer reads wands two tiers above its own spell tier.
constexpr std::int32_t kAdventurerWandTiers = 2;
// A nullification modifier counts from this base.
constexpr std::int32_t kNullificationBase = 50;

void WriteFixed(std::ostream& out, double value) { out << std::fixed << std::setprecision(1) << value; }

}  // namespace

void CActorInfoDlg::WriteSpeedLine(std::ostream& out, const DRAV::CActor& actor, const std::string& label,
                                   std::int32_t actionKind) {
    std::int32_t speed = 0;
    double fraction = 0.0;
    const double seconds = actor.GetAttackTime(actionKind, &speed, &fraction);
    out << label << ": ";
    WriteFixed(out, seconds);
    if (speed > 0) out << " (+" << speed << ")";
    if (speed < 0) out << " (-" << -std::int64_t{speed} << ")";
    if (fraction > 0.0) out << " (x2 " << static_cast<std::int64_t>(fraction * 100.0) << "%)";
    out << " LINE ";
}

std::string CActorInfoDlg::SpecialStatsText(const DRAV::CActor& actor, const DRAV::CGame& game) {
    std::ostringstream out;
    const std::uint32_t now = game.GetTick();
    out << game.FormatDateTime(now) << " LINE " << " LINE ";
    out << "Base Attack Bonus: " << actor.GetBaseAttackBonus() << " LINE ";
    out << "Spell Tier: " << actor.GetMaxSpellTier() << " LINE ";
    out << "Base Spellcaster Bonus: " << actor.GetMagicLevel() << " LINE ";

    // Written signed: a Durability driven below 0 gives no recoveries, not billions.
    const std::int64_t durability = std::int64_t{actor.GetAttribute(DRAV::ATTR_DURABILITY)} +
                                    actor.GetModifier(DRAV::GetAttributeModifierIndex(DRAV::ATTR_DURABILITY));
    const std::int64_t recoveries = durability / 2;
    out << "Recoveries: " << recoveries << " (" << recoveries - actor.GetHealsReceived() << " remaining) LINE LINE ";

    if (actor.IsSummoned()) {
        const std::uint32_t end = actor.GetSummonEndTick();
        out << "Summon Time: " << DRAV::FormatDuration(end > now ? end - now : 0) << " LINE LINE ";
    }

    out << "Special Statistics: LINE ";
    for (int i = 0; i < DRAV::kSpecialStatCount; ++i) {
        const auto stat = static_cast<DRAV::SpecialStat>(i);
        out << DRAV::GetSpecialStatName(stat) << ": " << actor.GetSpecialStat(stat) << " LINE ";
    }
    const bool wands = actor.HasSkill(DRAV::SKILL_WANDS);
    if (wands) {
        const std::int32_t bonus = actor.GetClass() == DRAV::CLASS_ROGUE ? kAdventurerWandTiers : 0;
        out << "LINE " << DRAV::GetSkillName(DRAV::SKILL_WANDS) << " Spell Tier: " << actor.GetMaxSpellTier() + bonus
            << " LINE ";
    }
    if (actor.HasSkill(DRAV::SKILL_SINGING)) {
        if (!wands) out << "LINE ";
        out << DRAV::GetSkillName(DRAV::SKILL_SINGING) << ": " << actor.GetSkillValue(DRAV::SKILL_SINGING) << " LINE ";
    }
    out << " LINE ";

    WriteSpeedLine(out, actor, "Attack Speed", DRAV::ACTIONKIND_ATTACK);
    WriteSpeedLine(out, actor, "Casting Speed", DRAV::ACTIONKIND_CAST);
    out << "Movement Speed: ";
    WriteFixed(out, actor.GetMoveSpeed());
    out << " LINE ";

    if (const std::int32_t casting = actor.GetModifier(DRAV::MOD_CASTING); casting != 0)
        out << "LINE " << "Casting Modifier: " << DRAV::FormatSignedValue(casting) << " LINE ";
    const std::int64_t nullification = actor.GetModifier(DRAV::MOD_SPELL_NULLIFICATION);
    if (nullification != 0 && nullification + kNullificationBase != 0)
        out << "LINE " << "Spell Nullification: " << nullification + kNullificationBase << " LINE ";

    std::string resistances;
    actor.GetResistanceText(resistances);
    if (!resistances.empty()) out << "LINE Magic Resistance: LINE " << resistances;
    return out.str();
}

void CActorInfoDlg::WriteSneakFlankLines(std::int32_t hand, std::ostream& out, const DRAV::CActor& actor) {
    if (actor.HasSkill(DRAV::SKILL_SNEAK)) {
        const DRAV::CAttackInfo sneak = actor.GetAttackBonus(hand, false, true, nullptr);
        out << "Sneak Attack: " << DRAV::FormatSignedValue(sneak.attackBonus) << " LINE "
            << "Sneak Damage: " << sneak.GetDamageText() << " LINE LINE ";
    }
    const DRAV::CAttackInfo flank = actor.GetAttackBonus(hand, true, false, nullptr);
    out << "Flank Attack: " << DRAV::FormatSignedValue(flank.attackBonus) << " LINE "
        << "Flank Damage: " << flank.GetDamageText() << " LINE LINE ";
}

void CActorInfoDlg::WriteSpellAttackLine(std::ostream& out, const DRAV::CActor& actor, const DRAV::CModule& module,
                                         std::int32_t hand) {
    const DRAV::CSpell* spell = actor.GetAttackSpell(module, hand);
    if (!spell) return;
    std::int32_t bonus = spell->GetBonus();
    if (spell->GetTier() != -1) {
        bonus = std::max(0, 5 * spell->GetTier() - 3);
    } else if (spell->GetLevel() != -1) {
        bonus = 0;
    }
    if (hand == 1) out << "Offhand ";
    out << "Spell Attack: " << spell->GetName() << " (Spell Bonus " << bonus << ") LINE ";
    spell->WriteRulesText(module, nullptr, out, DRAV::kDescribeEffectList);
}

std::string CActorInfoDlg::AttackDetailsText(int id, const DRAV::CActor& actor, const DRAV::CModule& module) {
    auto handText = [&](std::int32_t hand) {
        std::string breakdown;
        actor.GetAttackBonus(hand, false, false, &breakdown);
        std::ostringstream out;
        out << breakdown;
        WriteSneakFlankLines(hand, out, actor);
        WriteSpellAttackLine(out, actor, module, hand);
        return out.str();
    };
    switch (id) {
        case kAttackRow:
        case kDamageRow:
            return handText(0);
        case kOffhandRow:
            if (actor.GetFightingStyle() != DRAV::SKILL_DUAL_WIELD_STYLE) return "No offhand weapon. LINE ";
            return handText(1);
        case kDefenseRow: {
            std::string text;
            actor.GetDefenseClass(false, &text);
            return text + "Defense Class (Touch): " + std::to_string(actor.GetDefenseClass(true, nullptr));
        }
        default:
            throw CDRAVException(2, "No detail text for row " + std::to_string(id));
    }
}

void CActorInfoDlg::ShowAttackDetails(int id) {
    static const struct {
        int id;
        const char* title;
        const char* anchor;
    } kDialogs[] = {
        {kAttackRow, "Attack Bonus", "Attack_Bonus"},
        {kDamageRow, "Attack Damage", "Attack_Damage"},
        {kOffhandRow, "Offhand Damage", "Attack_Damage"},
        {kDefenseRow, "Defense Class", "Defense_Class"},
    };
    const std::string text = AttackDetailsText(id, *m_actor, *m_app->GetEngine()->GetModule());
    for (const auto& dialog : kDialogs) {
        if (dialog.id != id) continue;
        m_app->SetDialog(false, CTextDlg::CTextDlgWithAnchor(m_app, dialog.title, text, dialog.anchor));
        return;
    }
}

std::string CActorInfoDlg::ResistanceDetailsText(std::int32_t category, const DRAV::CActor& actor) {
    const DRAV::CDamageType type{static_cast<DRAV::DamageCategory>(category), DRAV::ELEMENT_NONE};
    std::string text;
    const std::int32_t total = actor.GetCategoryResistance(type, &text);
    std::ostringstream out;
    out << text;
    for (int e = 1; e < DRAV::kDamageElementCount; ++e) {
        const DRAV::DamageElementInfo& element = DRAV::GetDamageElementInfo(static_cast<DRAV::DamageElement>(e));
        if (element.category != type.category) continue;
        const DRAV::CDamageType elementType{element.category, element.value};
        const std::int32_t value = actor.GetCategoryResistance(elementType, nullptr);
        if (value != total) out << elementType.GetFullName() << ": " << value << " LINE LINE ";
    }
    return out.str();
}

void CActorInfoDlg::ShowResistanceDetails(int id) {
    const std::int32_t category = id - kFirstResistanceRow;
    const std::string text = ResistanceDetailsText(category, *m_actor);
    const DRAV::CDamageType type{static_cast<DRAV::DamageCategory>(category), DRAV::ELEMENT_NONE};
    m_app->SetDialog(false, CTextDlg::CTextDlgWithAnchor(m_app, type.GetFullName(), text, "Saving_Throws"));
}
