// Casting numbers, requirements, powers, and the timed effects on an actor.

#include <algorithm>
#include <limits>
#include <utility>

#include "common/exception.h"
#include "common/random.h"
#include "rules/items/item_template.h"
#include "rules/kinds/formulas.h"
#include "rules/kinds/number_texts.h"
#include "rules/magic/spell_apply_effect.h"
#include "rules/magic/spell_apply_renewal.h"
#include "rules/magic/spell_effects_conjure.h"
#include "rules/magic/spell_effects_stat.h"
#include "rules/module.h"
#include "world/actor.h"
#include "world/game.h"

namespace DRAV {
namespace {

constexpr std::uint32_t kPowerTicks = 300;
constexpr double kTicksPerSecond = 30.0;

bool HoldsStatus(const CSpellApply& applied, StatusKind status) {
    return std::any_of(applied.GetParts().begin(), applied.GetParts().end(), [&](const auto& part) {
        return part->GetKind() == APPLY_STATUS &&
               static_cast<const CSpellApplyEffectStatus&>(*part).GetStatus() == status;
    });
}

bool TakesOrders(const CSpellApply& applied) {
    return HoldsStatus(applied, STATUS_CONFUSED) || HoldsStatus(applied, STATUS_DOMINATED);
}

bool IsSong(const CSpell& spell) {
    return spell.HasFlag(SPELL_POWER) && spell.GetSaveDamageType().category == DAMAGE_MUSICAL;
}

}  // namespace

void CActor::AddSpell(const CSpell& spell) {
    if (std::find(m_spells.begin(), m_spells.end(), &spell) == m_spells.end()) m_spells.push_back(&spell);
}

bool CActor::MeetsSpellRequirements(const CSpell& spell) const {
    if (!HasSkill(spell.GetSchool())) return false;
    if (spell.GetLevel() == -1) return GetMaxSpellTier() >= spell.GetTier();
    return std::int64_t{m_baseLevel} + 1 + m_level >= spell.GetLevel();
}

std::int32_t CActor::GetSpellCastingValue(const CSpell& spell) const {
    const SkillId school = spell.GetSchool();
    if (spell.HasFlag(SPELL_POWER)) {
        switch (GetSkillInfo(school).skillClass) {
            case CLASS_FIGHTER: return GetBaseAttackBonus();
            case CLASS_ROGUE: return GetSkillValue(school);
            case CLASS_SPELLCASTER: return GetMagicLevel();
            default:
                throw CDRAVException(DRAV_ERR_OUT_OF_RANGE, "power " + spell.GetKey() + " of a monster school");
        }
    }
    std::int64_t tierTerm = 0;
    if (spell.GetTier() >= 0) tierTerm = std::max<std::int64_t>(0, std::int64_t{spell.GetTier()} * 5 - 3);
    else if (spell.GetLevel() == -1) tierTerm = spell.GetBonus();
    std::int64_t value = (std::int64_t{GetMagicLevel()} + tierTerm) / 2;
    if (school != SKILL_NONE) {
        const SkillInfo& info = GetSkillInfo(school);
        value += info.spellBonus;
        if (info.attribute != ATTR_NONE) {
            std::int32_t bonus = GetAttributeBonus(static_cast<Attribute>(info.attribute));
            if (bonus < 0 && HasSkill(SKILL_MONSTER_MAGIC)) bonus = 0;
            value += bonus;
        }
        if (info.mastery != SKILL_NONE && HasSkill(static_cast<SkillId>(info.mastery))) value += 10;
    }
    std::int64_t penalty = 0;
    for (EquipSlot slot : {SLOT_ARMOR, SLOT_OFFHAND})
        if (const CItemAttributeArmor* armor = GetArmorIn(slot)) penalty += armor->GetSpellcastingPenalty();
    if (HasSkill(SKILL_ARMORED_SPELLCASTING)) penalty -= 10;
    if (HasSkill(SKILL_ARMORED_SPELLCASTING_MASTERY)) penalty -= 10;
    penalty = std::max<std::int64_t>(penalty, 0);
    return SaturateInt32(GetModifier(MOD_CASTING) + value - penalty);
}

std::int32_t CActor::GetCasterLevelMargin(const CSpell& spell) const {
    if (spell.GetTier() == -1) return 0;
    std::int64_t margin = std::int64_t{m_baseLevel} + m_level + 1 - GetMinLevelForTier(m_class, spell.GetTier());
    SkillId school = spell.GetSchool();
    if (school != SKILL_NONE) {
        std::int32_t mastery = GetSkillInfo(school).mastery;
        if (mastery != SKILL_NONE && HasSkill(static_cast<SkillId>(mastery))) margin += 2;
    }
    return SaturateInt32(std::max<std::int64_t>(margin, 0));
}

bool CActor::CanUsePower(const CSpell& spell) const {
    if (!spell.HasFlag(SPELL_POWER)) return false;
    const WeaponType required = spell.GetPowerWeaponType();
    if (required >= 0 && required < kWeaponTypeCount) {
        const CItemAttributeWeapon* main = GetWeaponIn(SLOT_WEAPON);
        if (!main || main->GetWeaponType() != required) return false;
        const CItem* offHand = GetEquipped(SLOT_OFFHAND);
        if (offHand && offHand->GetTemplate().GetKind() == ITEM_WEAPON) {
            const CItemAttributeWeapon* off = GetWeaponIn(SLOT_OFFHAND);
            if (!off || off->GetWeaponType() != required) return false;
        }
    }
    return spell.GetPowerSkill() == SKILL_NONE || GetFightingStyle() == spell.GetPowerSkill();
}

const CSpell* CActor::GetAttackSpell(const CModule& module, std::int32_t hand) const {
    if (m_attacks.empty()) {
        if (hand != 0 && hand != 1) throw CDRAVException(DRAV_ERR_OUT_OF_RANGE, "no hand " + std::to_string(hand));
        const CItem* item = GetEquipped(static_cast<EquipSlot>(hand));
        if (!item) return nullptr;
        const auto* spell = item->GetTemplate().GetAttributeOf<CItemAttributeSpell>();
        return spell ? &spell->GetSpell() : nullptr;
    }
    std::size_t index = hand >= 0 && static_cast<std::size_t>(hand) < m_attacks.size() ? hand : 0;
    const std::string& key = m_attacks[index]->GetWord();
    return key.empty() ? nullptr : &GetSpell(module.GetSpells(), key);
}

std::uint32_t CActor::GetEffectEndTick(const CSpell& spell, const CSpellDuration* duration, std::int32_t casterLevel,
                                       const CSaveOutcome& outcome) const {
    if (!duration) return 0;
    double seconds = 0.0;
    if (spell.HasFlag(SPELL_POWER)) {
        seconds = spell.HasFlag(SPELL_MULTITARGET) ? 10.1 : 10.0;
    } else {
        if (duration->GetBase() == 0 && duration->GetPerLevel() == 0) return 0;
        seconds = duration->GetValue(casterLevel, outcome);
    }
    std::int64_t end = static_cast<std::int64_t>(seconds * kTicksPerSecond) + GetTick();
    return static_cast<std::uint32_t>(std::clamp<std::int64_t>(end, 0, std::numeric_limits<std::uint32_t>::max()));
}

void CActor::AddEffectPart(CSpellApply& applied, const CSpellEffect& effect, const CSpell& spell,
                           const CSaveOutcome& outcome, std::int32_t casterLevel,
                           const CSaveOutcome& durationOutcome, const CModule* module) {
    auto endTick = [&](const CSpellDuration& duration) {
        return GetEffectEndTick(spell, &duration, casterLevel, durationOutcome);
    };
    switch (effect.GetKind()) {
        case EFFECT_MODIFY: {
            const auto& modify = static_cast<const CSpellEffectModify&>(effect);
            std::int32_t value = modify.GetMagnitude().GetValue(casterLevel, outcome);
            applied.GetParts().push_back(
                std::make_shared<CSpellApplyEffectModify>(endTick(modify.GetDuration()), modify.GetMask(), value));
            PushPartyEvent(EVENT_ACTOR_MODIFIERS);
            break;
        }
        case EFFECT_STATUS: {
            const auto& status = static_cast<const CSpellEffectStatus&>(effect);
            const StatusKind kind = status.GetStatus();
            if (!HasStatus(kind)) {
                switch (kind) {
                    case STATUS_FEAR:
                    case STATUS_CHARMED: StopAttacking(); break;
                    case STATUS_HELD:
                    case STATUS_CONFUSED:
                    case STATUS_DOMINATED:
                        ClearOrders();
                        EndPower();
                        break;
                    case STATUS_IMMOBILE: break;
                    default: throw CDRAVException(DRAV_ERR_OUT_OF_RANGE, "status " + std::to_string(kind));
                }
            }
            applied.GetParts().push_back(std::make_shared<CSpellApplyEffectStatus>(endTick(status.GetDuration()), kind));
            PushPartyEvent(EVENT_ACTOR_STATUS);
            break;
        }
        case EFFECT_ONGOING: {
            const auto& ongoing = static_cast<const CSpellEffectOngoing&>(effect);
            if (!module) throw CDRAVException(DRAV_ERR_OUT_OF_RANGE, "ongoing effect of " + spell.GetKey() + " without module");
            const CSpell& carried = GetSpell(module->GetSpells(), ongoing.GetSpellKey());
            applied.GetParts().push_back(
                std::make_shared<CSpellApplyEffectOngoing>(endTick(ongoing.GetDuration()), carried));
            PushPartyEvent(EVENT_ACTOR_STATUS);
            break;
        }
        case EFFECT_RESIST: {
            const auto& resist = static_cast<const CSpellEffectResist&>(effect);
            applied.GetParts().push_back(std::make_shared<CSpellApplyEffectResist>(
                endTick(resist.GetDuration()), resist.GetDamageType(), resist.GetAmount()));
            PushPartyEvent(EVENT_ACTOR_RESISTANCES);
            break;
        }
        default: break;
    }
}

std::shared_ptr<CSpellApply> CActor::AddSpellEffect(const CSaveOutcome& outcome, const CSpell& spell,
                                                    std::int32_t castingValue, std::int32_t casterLevel,
                                                    const CSaveOutcome& durationOutcome, const CModule* module,
                                                    const std::string& casterName) {
    auto applied = std::make_shared<CSpellApply>(spell.GetName(), spell.GetSaveDamageType(), castingValue, casterLevel,
                                                 spell.HasFlag(SPELL_POWER), false);
    applied->SetCasterName(casterName);
    for (const auto& effect : spell.GetEffects())
        AddEffectPart(*applied, *effect, spell, outcome, casterLevel, durationOutcome, module);
    return TakeHold(std::move(applied));
}

std::shared_ptr<CSpellApply> CActor::TakeHold(std::shared_ptr<CSpellApply> applied) {
    const auto renewed = std::find_if(m_activeEffects.begin(), m_activeEffects.end(),
                                      [&](const auto& held) { return Renews(*applied, *held); });
    if (renewed == m_activeEffects.end()) {
        const auto outlasting = std::find_if(m_activeEffects.begin(), m_activeEffects.end(),
                                             [&](const auto& held) { return Outlasts(*held, *applied); });
        if (outlasting != m_activeEffects.end()) return *outlasting;
        m_activeEffects.push_back(applied);
        RecountModifiers();
        return applied;
    }
    // The renewal takes the first renewed effect's place in the list, and its pulses'
    // rhythm; whatever else it renews goes. The statuses they hold stay held, so no
    // order is dropped.
    RenewPulses(*applied, **renewed);
    std::shared_ptr<CSpellApply> replaced = std::exchange(*renewed, applied);
    std::erase_if(m_activeEffects, [&](const std::shared_ptr<CSpellApply>& held) {
        if (held == applied || !Renews(*applied, *held)) return false;
        if (m_powerEffect == held.get()) m_powerEffect = applied.get();
        return true;
    });
    if (m_powerEffect == replaced.get()) m_powerEffect = applied.get();
    RecountModifiers();
    return applied;
}

void CActor::AppendEffects(const SpellApplyList& effects) {
    m_activeEffects.insert(m_activeEffects.end(), effects.begin(), effects.end());
    RecountModifiers();
}

void CActor::DropOrdersForStatus() {
    ClearOrders();
}

void CActor::RemoveEffect(const CSpellApply& effect) {
    if (m_powerEffect == &effect) m_powerEffect = nullptr;
    auto found = std::find_if(m_activeEffects.begin(), m_activeEffects.end(),
                              [&](const auto& entry) { return entry.get() == &effect; });
    if (found == m_activeEffects.end()) return;
    std::shared_ptr<CSpellApply> removed = std::move(*found);
    m_activeEffects.erase(found);
    RecountModifiers();
    if (TakesOrders(*removed)) DropOrdersForStatus();
}

void CActor::RemoveCharm() {
    std::erase_if(m_activeEffects, [&](const std::shared_ptr<CSpellApply>& effect) {
        if (!HoldsStatus(*effect, STATUS_CHARMED)) return false;
        if (m_powerEffect == effect.get()) m_powerEffect = nullptr;
        return true;
    });
    RecountModifiers();
}

bool CActor::HasStatus(StatusKind status) const {
    return std::any_of(m_activeEffects.begin(), m_activeEffects.end(),
                       [&](const auto& effect) { return HoldsStatus(*effect, status); });
}

void CActor::ActivatePower(const CSpell& power, std::uint32_t tick, bool& renewed) {
    renewed = false;
    if (m_currentPower) EndPower();
    std::int64_t cost = 0;
    if (power.GetSchool() == SKILL_SNEAK) cost = 0;
    else if (!power.HasFlag(SPELL_POWER)) cost = GetEnergyCostForTier(power.GetTier());
    else cost = std::max(1, power.GetLevel());
    if (cost > GetEnergy()) return;
    if (IsSong(power)) {
        const std::int32_t roll = DRAVCommon::RollDie(100);
        const std::int32_t bonus = GetSkillValue(SKILL_SINGING);
        const std::int32_t target = SaturateInt32((std::int64_t{power.GetLevel()} + 10) * 5);
        if (roll < 6 || (roll < 96 && std::int64_t{roll} + bonus <= target)) {
            cost *= 2;
            PushMessage(m_name + " failed singing " + power.GetName() +
                        FormatNamedRollText("Singing", roll, bonus, target) + ", double energy cost.");
        }
    }
    m_energyUsed = std::max(0, SaturateInt32(m_energyUsed + cost));
    renewed = tick < m_powerEndTick;
    m_currentPower = &power;
    m_powerEndTick = static_cast<std::uint32_t>(std::min<std::uint64_t>(std::uint64_t{tick} + kPowerTicks, UINT32_MAX));
    if (!power.HasFlag(SPELL_MULTITARGET)) {
        const CSaveOutcome full;
        m_powerEffect = AddSpellEffect(full, power, GetSpellCastingValue(power), 0, full, nullptr).get();
    }
}

void CActor::EndPower() {
    if (m_powerEffect) RemoveEffect(*m_powerEffect);
    m_currentPower = nullptr;
}

void CActor::ExpireEffects(std::uint32_t tick) {
    bool modifierEnded = false;
    for (const auto& effect : m_activeEffects) {
        auto& parts = effect->GetParts();
        // Told once for the spell, however many of its parts end together.
        bool told = effect->IsSilent();
        for (auto part = parts.begin(); part != parts.end();) {
            const std::uint32_t end = (*part)->GetEndTick();
            if (end == 0 || end > tick) {
                ++part;
                continue;
            }
            if (!told) PushMessage(effect->GetName() + " (on " + m_name + ") expired.");
            told = true;
            switch ((*part)->GetKind()) {
                case APPLY_MODIFY:
                    modifierEnded = true;
                    PushPartyEvent(EVENT_ACTOR_MODIFIERS);
                    break;
                case APPLY_STATUS:
                case APPLY_ONGOING: PushPartyEvent(EVENT_ACTOR_STATUS); break;
                case APPLY_RESIST: PushPartyEvent(EVENT_ACTOR_RESISTANCES); break;
            }
            bool takesOrders = false;
            if ((*part)->GetKind() == APPLY_STATUS) {
                StatusKind status = static_cast<const CSpellApplyEffectStatus&>(**part).GetStatus();
                takesOrders = status == STATUS_CONFUSED || status == STATUS_DOMINATED;
            }
            part = parts.erase(part);
            if (takesOrders) DropOrdersForStatus();
        }
    }
    std::erase_if(m_activeEffects, [&](const std::shared_ptr<CSpellApply>& effect) {
        if (!effect->GetParts().empty()) return false;
        if (m_powerEffect == effect.get()) m_powerEffect = nullptr;
        return true;
    });
    if (modifierEnded) RecountModifiers();
    m_storeFlag = 0;
    StepActionState(tick);
}

void CActor::StepActionState(std::uint32_t tick) {
    switch (m_actionState) {
        case ACTION_PAUSE:
            if (tick < m_pauseEndTick) break;
            m_actionState = ACTION_RECOVERING;
            [[fallthrough]];
        case ACTION_RECOVERING:
            if (tick >= m_actionEndTick) m_actionState = ACTION_IDLE;
            break;
        case ACTION_WIND_UP:
            if (tick >= m_actionEndTick) m_actionState = ACTION_STRIKE;
            break;
        case ACTION_DEAD:
        case ACTION_IDLE:
        case ACTION_STRIKE: break;
        default:
            throw CDRAVException(DRAV_ERR_OUT_OF_RANGE, "action state " + std::to_string(m_actionState));
    }
}

void CActor::GetEffectsText(bool withTimes, std::string& text) const {
    bool first = true;
    for (const auto& effect : m_activeEffects) {
        if (effect->IsHidden()) continue;
        if (first) text += "Effects: LINE ";
        first = false;
        text += effect->GetName() + " ";
        const DamageCategory category = effect->GetDamageType().category;
        if (withTimes && category != DAMAGE_MUSICAL && category != DAMAGE_POWER) {
            std::uint32_t latest = 0;
            for (const auto& part : effect->GetParts()) latest = std::max(latest, part->GetEndTick());
            if (latest != 0) text += "(" + FormatDuration(latest > GetTick() ? latest - GetTick() : 0) + ") ";
        }
        text += "LINE ";
    }
}

}  // namespace DRAV
