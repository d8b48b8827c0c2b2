#include "game/dialogs/sheet/spell_effects_dlg.h"

#include <algorithm>
#include <sstream>

#include "engine/engine.h"
#include "game/app.h"
#include "rules/descriptions/spell_rules_text.h"
#include "rules/kinds/number_texts.h"
#include "rules/magic/spell_apply.h"
#include "rules/magic/spell_effects_vital.h"
#include "rules/vocabulary/status.h"
#include "world/actor.h"
#include "world/game.h"

namespace {

// Applied spells without a damage type still say what kind of thing they are.
std::string DamageTypeName(const DRAV::CDamageType& type) {
    return type.category == DRAV::DAMAGE_NONE ? std::string("None") : type.GetFullName();
}

// " (5 min)"; nothing for songs, powers and effects without an end. An end tick
// already passed reads as no time left, never as a wrapped-around eternity.
std::string Remaining(const DRAV::CSpellApply& record, const DRAV::CSpellApplyEffect& effect, std::uint32_t now) {
    const DRAV::DamageCategory category = record.GetDamageType().category;
    if (category == DRAV::DAMAGE_MUSICAL || category == DRAV::DAMAGE_POWER || effect.GetEndTick() == 0) return "";
    const std::uint32_t left = effect.GetEndTick() > now ? effect.GetEndTick() - now : 0;
    return " (" + DRAV::FormatDuration(left) + ")";
}

void WriteOngoing(const DRAV::CSpellApply& record, const DRAV::CSpellApplyEffectOngoing& ongoing,
                  const std::string& suffix, std::ostream& out) {
    for (const auto& effect : ongoing.GetSpell().GetEffects()) {
        const auto* damage = dynamic_cast<const DRAV::CSpellEffectDamage*>(effect.get());
        if (!damage) continue;
        const DRAV::CSpellMagnitude& magnitude = damage->GetMagnitude();
        std::int32_t dieSize = magnitude.GetDice();
        std::int32_t bonus = magnitude.GetBonus();
        if (magnitude.GetLevelCap() != 0) {
            const std::int32_t level = std::min(record.GetCasterLevel(), magnitude.GetLevelCap());
            dieSize += magnitude.GetDicePerLevel() * level;
            bonus += magnitude.GetBonusPerLevel() * level;
        }
        out << "Ongoing Damage: " << DRAV::FormatDamageRange(dieSize, bonus) << suffix << " LINE ";
    }
}

void WriteEffect(const DRAV::CSpellApply& record, const DRAV::CSpellApplyEffect& effect, std::uint32_t now,
                 std::ostream& out) {
    const std::string suffix = Remaining(record, effect, now);
    if (const auto* modify = dynamic_cast<const DRAV::CSpellApplyEffectModify*>(&effect)) {
        out << (modify->GetAmount() > 0 ? "Bonus: +" : "Penalty: ") << modify->GetAmount() << " to ";
        DRAV::GetModifierKindName(out, modify->GetMask());
        out << suffix << " LINE ";
    } else if (const auto* status = dynamic_cast<const DRAV::CSpellApplyEffectStatus*>(&effect)) {
        out << "Status: " << DRAV::GetStatusName(status->GetStatus()) << suffix << " LINE ";
    } else if (const auto* ongoing = dynamic_cast<const DRAV::CSpellApplyEffectOngoing*>(&effect)) {
        WriteOngoing(record, *ongoing, suffix, out);
    } else if (const auto* resist = dynamic_cast<const DRAV::CSpellApplyEffectResist*>(&effect)) {
        if (resist->GetAmount() >= 20)
            out << "Immune: " << DamageTypeName(resist->GetDamageType());
        else
            out << "Resist: " << DamageTypeName(resist->GetDamageType()) << " +" << resist->GetAmount();
        out << suffix << " LINE ";
    }
}

}  // namespace

std::string WriteSpellEffectsText(const DRAV::CActor& actor, std::uint32_t now) {
    std::ostringstream out;
    bool any = false;
    for (const auto& record : actor.GetActiveEffects()) {
        // Effects of worn items are marked hidden: the item's own page tells of them.
        if (!record || record->IsHidden()) continue;
        any = true;
        out << record->GetName() << " LINE ";
        out << "Effect Type: " << DamageTypeName(record->GetDamageType()) << " LINE ";
        if (record->GetDamageType().category < DRAV::DAMAGE_PHYSICAL)
            out << "Spellcaster Bonus: " << record->GetCastingValue() << " LINE ";
        for (const auto& effect : record->GetParts())
            if (effect) WriteEffect(*record, *effect, now, out);
        out << " LINE ";
    }
    return any ? out.str() : "No effects. LINE ";
}

CSpellEffectsDlg::CSpellEffectsDlg(CDRAVApp* app, DRAV::CActor& actor) : CTextDlg(app, "", "", &actor, false) {
    m_title = actor.GetName();
    const DRAV::CGame* game = app->GetEngine() ? app->GetEngine()->GetGame().get() : nullptr;
    m_text = WriteSpellEffectsText(actor, game ? game->GetTick() : 0);
}
