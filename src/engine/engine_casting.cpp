// Casting over several ticks: target check, approach, wind-up, strike (payment,
// checks, launch), pause and recovery; the gathering of extra targets and the
// teleport spells.

#include <algorithm>
#include <cmath>
#include <memory>
#include <vector>

#include "common/exception.h"
#include "common/random.h"
#include "engine/engine.h"
#include "engine/engine_relations.h"
#include "engine/spell_words.h"
#include "rules/kinds/formulas.h"
#include "rules/kinds/item_kinds.h"
#include "rules/kinds/number_texts.h"
#include "rules/kinds/thing_id.h"
#include "rules/magic/spell.h"
#include "rules/magic/spell_effects_conjure.h"
#include "rules/magic/spell_effects_motion.h"
#include "rules/vocabulary/animation_direction.h"
#include "rules/vocabulary/skills.h"
#include "world/actor.h"
#include "world/area.h"
#include "world/area/area_records.h"
#include "world/cell.h"
#include "world/effect.h"
#include "world/events/event.h"
#include "world/game.h"
#include "world/item.h"
#include "world/object.h"
#include "world/tile.h"

namespace DRAV {

namespace {

constexpr double kStrikeExtraRange = 20.0;
constexpr std::size_t kMaxExtraTargets = 8;
constexpr std::int32_t kCastingActionKind = 11;
constexpr std::uint32_t kWindUpTicks = 60;

void AbandonCast(CActor& caster) {
    if (caster.GetActionState() == ACTION_WIND_UP || caster.GetActionState() == ACTION_STRIKE)
        caster.SetActionState(ACTION_IDLE);
    caster.SetAttackTarget(0, nullptr);
    caster.SetAnimation(ANIM_DEFAULT, 0.0);
    caster.SetAnimationTime(0.0);
}

std::int32_t AvailableEnergy(const CActor& actor) {
    if (!actor.IsAlive()) return 0;
    return std::max(0, actor.GetMaxEnergy() - actor.GetEnergyUsed());
}

// The spot on the ground a spell aimed there is given as someone or something
// standing on it: the cell under them, as a click on them aims it; none when the
// one given is gone or dead.
const CTile* GroundUnder(const CArea& area, ThingId id) {
    if (const CActor* actor = area.FindActor(id))
        return actor->IsAlive() ? area.GetTileUnder(actor->GetX(), actor->GetY()) : nullptr;
    if (const CObject* object = area.FindObject(id)) return area.GetTileUnder(object->GetX(), object->GetY());
    return nullptr;
}

// Energy is paid as the spell leaves the hand: one that has too little, at the
// start or at the end of the wind-up, is told so and the cast is given up.
bool RefusedForWantOfEnergy(CGame& game, CActor& caster, const CSpell& spell, bool payEnergy) {
    if (!payEnergy || AvailableEnergy(caster) >= spell.GetEnergyCost()) return false;
    game.PushMessage(MESSAGE_NOTICE, caster.GetName() + " doesn't have enough energy to cast " + spell.GetName() + ".");
    AbandonCast(caster);
    return true;
}

}  // namespace

bool CEngine::CastHelperAttacking(CActor& caster, ThingId targetId, const CSpell& spell, bool payEnergy,
                                  CItem* item) {
    CastTarget target;
    if (CastHelperTargetCheck(caster, targetId, spell, target)) return true;
    switch (caster.GetActionState()) {
    case ACTION_RECOVERING: return CastHelperRecovering(caster, spell, target);
    case ACTION_WIND_UP:
        caster.SetAnimationTime((Game().GetTick() - caster.GetActionEndTick() + kWindUpTicks) / 30.0 * 0.5);
        return false;
    case ACTION_STRIKE: return CastHelperLaunch(caster, spell, payEnergy, item, target);
    default: return CastHelperBegin(caster, spell, payEnergy, item, target);
    }
}

bool CEngine::CastHelperTargetCheck(CActor& caster, ThingId targetId, const CSpell& spell, CastTarget& target) {
    target = CastTarget();
    if (spell.GetTargetType() == SPELL_TARGET_SELF) return false;
    if (spell.HasFlag(SPELL_MULTITARGET) && (targetId >> 24) != THING_ACTOR) return false;
    CArea& area = CurrentArea();
    if (spell.GetTargetType() == SPELL_TARGET_TILE) {
        if ((targetId >> 24) == THING_ACTOR || (targetId >> 24) == THING_OBJECT) {
            const CTile* ground = GroundUnder(area, targetId);
            if (!ground) {
                AbandonCast(caster);
                return true;
            }
            targetId = ground->GetId();
        }
        const std::uint32_t serial = targetId & kMaxThingSerial;
        const std::uint32_t column = serial % 1000;
        const std::uint32_t row = serial / 1000;
        if ((targetId >> 24) != THING_TILE || column >= area.GetColumns() || row >= area.GetRows() ||
            !area.GetTile(column, row))
            throw CDRAVException(DRAV_ERR_OUT_OF_RANGE, "no tile " + std::to_string(targetId) + " to cast at");
        target.id = targetId;
        target.present = true;
        target.x = column * kCellSize + kCellSize / 2;
        target.y = row * kCellSize + kCellSize / 2;
        caster.FaceTowardsPoint(target.x, target.y);
        return false;
    }
    if (spell.GetTargetType() != SPELL_TARGET_ACTOR)
        throw CDRAVException(DRAV_ERR_OUT_OF_RANGE, "spell target type of " + spell.GetKey());
    CActor* actor = area.FindActor(targetId);
    if (!actor || !actor->IsAlive() || !caster.CanSee(*actor)) {
        AbandonCast(caster);
        return true;
    }
    target.id = targetId;
    target.present = true;
    target.actor = actor;
    target.x = actor->GetX();
    target.y = actor->GetY();
    if (actor != &caster) caster.FaceTowards(*actor);
    return false;
}

bool CEngine::RefuseCast(CActor& caster, const CSpell& spell, bool payEnergy, const CItem* item,
                         const CastTarget& target) {
    if (RefusedForWantOfEnergy(Game(), caster, spell, payEnergy)) return true;
    // As a blow at one who has surrendered does no harm, a hostile spell takes no hold.
    std::string why;
    if (spell.IsHostile() && target.actor && target.actor->GetRelation() == RELATION_SURRENDER)
        why = target.actor->GetName() + " has surrendered.";
    for (const auto& effect : spell.GetEffects())
        if (why.empty() && effect->GetKind() == EFFECT_SUMMON && caster.GetRelation() == RELATION_PARTY)
            why = SummonFizzle(static_cast<const CSpellEffectSummon&>(*effect));
    if (why.empty()) return false;
    const std::string act = item ? " can't use " + item->GetTemplate().GetName() : " can't cast " + spell.GetName();
    const std::string at = target.actor && target.actor != &caster ? " at " + target.actor->GetName() : "";
    // Told to the player only: a friend's thinking may aim the same at every turn.
    PushActorMessage(caster, act + at + ": " + why);
    AbandonCast(caster);
    return true;
}

bool CEngine::CastHelperBegin(CActor& caster, const CSpell& spell, bool payEnergy, const CItem* item,
                              const CastTarget& target) {
    if (RefuseCast(caster, spell, payEnergy, item, target)) return true;
    if (target.present && !CurrentArea().CanReachPoint(caster, target.x, target.y, spell.GetRange(), 0.0, false)) {
        MoveActor(caster, target.x, target.y, 0.0, 0.0);
        return false;
    }
    caster.BeginAttack(Game().GetTick(), nullptr);
    std::uint32_t animation = ANIM_CAST;
    if (item && item->GetTemplate().GetKind() == ITEM_POTION) animation = ANIM_DRINK;
    if (item && item->GetTemplate().GetKind() == ITEM_WAND) animation = ANIM_WAND;
    caster.SetAnimation(animation, 0.0);
    caster.SetAnimationTime(0.0);
    return false;
}

bool CEngine::CastHelperRecovering(CActor& caster, const CSpell& spell, const CastTarget& target) {
    if (target.present && !CurrentArea().CanReachPoint(caster, target.x, target.y, spell.GetRange(), 0.0, false))
        MoveActor(caster, target.x, target.y, 0.0, 0.0);
    else
        caster.SetAnimation(ANIM_COMBAT, 1.0 / 30.0);
    return false;
}

bool CEngine::CastHelperLaunch(CActor& caster, const CSpell& spell, bool payEnergy, CItem* item,
                               const CastTarget& target) {
    CGame& game = Game();
    CArea& area = CurrentArea();
    const std::int32_t cost = spell.GetEnergyCost();
    if (RefuseCast(caster, spell, payEnergy, item, target)) return true;
    // A target that went out of reach during the wind-up is closed on again, as one
    // out of reach at the start is: nothing was paid, and the order stands.
    if (target.present &&
        !area.CanReachPoint(caster, target.x, target.y, spell.GetRange() + kStrikeExtraRange, 0.0, false)) {
        AbandonCast(caster);
        return false;
    }
    std::vector<CActor*> targets;
    ThingId tileTarget = 0;
    if (spell.GetTargetType() == SPELL_TARGET_SELF)
        targets.push_back(&caster);
    else if (target.actor)
        targets.push_back(target.actor);
    else if (target.present)
        tileTarget = target.id;
    // The item may be used up below, and a burnt-out wand is freed with it: what the
    // recovery needs of it is read now.
    const bool potion = item && item->GetTemplate().GetKind() == ITEM_POTION;
    const bool wand = item && item->GetTemplate().GetKind() == ITEM_WAND;
    // A potion is drunk and a wand or scroll used: only a spell of one's own is cast.
    const std::string launched = !item   ? " casts " + spell.GetName()
                                 : potion ? " drinks " + item->GetTemplate().GetName()
                                          : " uses " + item->GetTemplate().GetName();
    if (spell.HasFlag(SPELL_MULTITARGET) && !potion) GatherSpellTargets(&caster, nullptr, spell, targets);

    const std::int32_t difficulty = spell.GetCastingDifficulty();
    std::int32_t value = 0;
    if (!item) {
        value = caster.GetSpellCastingValue(spell);
    } else {
        std::int64_t sum = difficulty;
        if (spell.GetSchool() != SKILL_NONE) sum += GetSkillInfo(spell.GetSchool()).spellBonus;
        if (wand)
            sum += ((std::int64_t{caster.GetAttribute(ATTR_INTELLIGENCE)} + caster.GetModifier(MOD_INTELLIGENCE) - 10) *
                    5) / 2;
        value = SaturateInt32(sum);
    }
    const bool go = item || CastConcentrationCheck(caster, spell, value);
    const std::int32_t hitBonus = spell.HasFlag(SPELL_TOUCH) ? caster.GetSpellAttackBonus() : 0;
    const std::int32_t levelMargin = item ? 0 : caster.GetCasterLevelMargin(spell);
    const bool fromParty = caster.GetRelation() == RELATION_PARTY;

    if (go) {
        const CSpellEffectTeleport* teleport = nullptr;
        if (spell.FindTeleportEffect(&teleport)) {
            CastTeleportSpell(caster, spell, *teleport, target.present ? target.x : caster.GetX(),
                              target.present ? target.y : caster.GetY());
        } else {
            SkillId penetration = SKILL_NONE;
            if (!item && caster.HasSkill(SKILL_GREATER_SPELL_PENETRATION)) penetration = SKILL_GREATER_SPELL_PENETRATION;
            else if (!item && caster.HasSkill(SKILL_SPELL_PENETRATION)) penetration = SKILL_SPELL_PENETRATION;
            std::vector<ThingId> ids;
            if (tileTarget) ids.push_back(tileTarget);
            for (CActor* actor : targets) ids.push_back(actor->GetId());
            for (ThingId id : ids) {
                auto effect = std::make_shared<CEffectSpell>(game.NewEffectId(), &area, caster.GetName(),
                                                             spell.GetVisualName(), spell.GetVisualParams().get(),
                                                             id, fromParty, &spell);
                effect->caster = caster.GetId();
                // A power is not cast, and its launch says nothing of it.
                effect->announced = !spell.HasFlag(SPELL_POWER);
                effect->difficulty = value;
                effect->hitBonus = hitBonus;
                effect->casterLevel = levelMargin;
                effect->penetrationSkill = penetration;
                effect->SetPosition(area, caster.GetX(), caster.GetY(), 0.0);
                effect->SetSpeed(spell.GetEffectSpeed());
                area.AddEffect(effect);
            }
            if (spell.IsHostile()) {
                for (CActor* actor : targets) RunStrikeTriggers(caster, *actor);
                // A blast aimed at the ground starts a fight as surely as one aimed at a foe.
                if (!ids.empty()) game.SetInBattle(true);
            }
        }
    }

    if (payEnergy) {
        caster.SetEnergyUsed(caster.GetEnergyUsed() + cost);
        if (fromParty) game.PushActorInfoEvent(EVENT_ACTOR_ENERGY, caster.GetId());
    }
    if (item) UseUpCastItem(caster, *item);

    if (!spell.HasFlag(SPELL_POWER)) {
        if (go) {
            game.PushActorInfoEvent(EVENT_ACTOR_CAST, caster.GetId());
            game.PushMessage(MESSAGE_NOTICE, CSpellWords::Cast(caster, launched, targets));
        }
        const std::uint32_t now = game.GetTick();
        caster.StartRecovery(now, kCastingActionKind);
        caster.EnterPauseState(now);
        StopSneaking(caster);
        std::uint32_t animation = ANIM_CRECOVER;
        if (potion) animation = ANIM_DRECOVER;
        else if (wand) animation = ANIM_WRECOVER;
        caster.SetAnimation(animation, 0.0);
        caster.SetAnimationTime(0.0);
    } else if (spell.HasFlag(SPELL_MULTITARGET)) {
        game.PushActorInfoEvent(EVENT_ACTOR_MULTITARGET_POWER, caster.GetId());
    }
    return true;
}

void CEngine::UseUpCastItem(CActor& caster, CItem& item) {
    CGame& game = Game();
    const std::int32_t burnOut = GetItemKindInfo(item.GetTemplate().GetKind()).burnOutPercent;
    if (burnOut != 0) {
        if (!(burnOut / 100.0 > DRAVCommon::Random())) return;
        game.PushMessage(MESSAGE_NOTICE, caster.GetName() + "'s " + item.GetTemplate().GetName() + " burns out.");
    }
    if (item.GetCount() > 1) {
        item.SetCount(item.GetCount() - 1);
        return;
    }
    caster.RemoveFromBackpack(item);
}

bool CEngine::CastConcentrationCheck(CActor& caster, const CSpell& spell, std::int32_t value) {
    if (spell.HasFlag(SPELL_POWER)) return true;
    CGame& game = Game();
    const std::int32_t difficulty = spell.GetCastingDifficulty();
    if (value < difficulty) {
        const std::int32_t roll = DRAVCommon::RollDie(100);
        if (!PercentileSuccess(roll, value, difficulty)) {
            game.PushMessage(MESSAGE_NOTICE, caster.GetName() + " failed casting check for " + spell.GetName() + " " +
                                                 FormatRollText(roll, value, difficulty) + ".");
            return false;
        }
    }
    const std::int32_t lastDamage = caster.GetLastDamage();
    const auto cycle = static_cast<std::uint32_t>(
        std::trunc(30.0 * caster.GetAttackTime(kCastingActionKind, nullptr, nullptr)));
    if (lastDamage == 0 || game.GetTick() > caster.GetLastDamageTick() + cycle) return true;
    std::int32_t roll = 0;
    if (caster.HasSkill(SKILL_DEFENSIVE_CASTING)) {
        // Module numbers may reach the ends of the range; the sums saturate there.
        const std::int32_t bonus = SaturateInt32(std::int64_t{caster.GetMagicLevel()} + value);
        const std::int32_t dc = SaturateInt32(2 * std::int64_t{difficulty} + 90);
        if (PercentileCheck(bonus, dc, &roll)) {
            game.PushMessage(MESSAGE_NOTICE, caster.GetName() + " casts " + spell.GetName() + " defensively " +
                                                 FormatRollText(roll, bonus, dc) + ".");
            return true;
        }
    }
    const std::int32_t bonus = SaturateInt32(std::int64_t{value} + (caster.HasSkill(SKILL_COMBAT_CASTING) ? 20 : 0));
    const std::int32_t dc = SaturateInt32(std::int64_t{difficulty} + lastDamage + 50);
    if (PercentileCheck(bonus, dc, &roll)) return true;
    game.PushMessage(MESSAGE_NOTICE, caster.GetName() + " was disrupted casting " + spell.GetName() + " " +
                                         FormatRollText(roll, bonus, dc) + ".");
    return false;
}

bool CEngine::GatherSpellTargets(CActor* caster, const CObject* object, const CSpell& spell,
                                 std::vector<CActor*>& targets) {
    CArea& area = CurrentArea();
    const CActor* primary = targets.empty() ? nullptr : targets.front();
    std::vector<std::pair<double, CActor*>> nearest;
    for (const std::shared_ptr<CActor>& candidate : area.GetActors()) {
        if (!candidate->IsAlive() || candidate.get() == primary) continue;
        const Relation relation = candidate->GetRelation();
        bool wanted = false;
        if (spell.IsHostile())
            wanted = caster ? IsOpposed(caster->GetRelation(), relation) : relation == RELATION_PARTY;
        else if (!object) {
            const bool side = relation == RELATION_PARTY || relation == RELATION_FRIENDLY;
            wanted = caster && caster->IsPartyOrFriendly() ? side : !side;
        }
        if (!wanted ||
            !spell.CanAffect(candidate->IsSummoned(), candidate->GetRace(), [&candidate](const CDamageType& t) {
                return candidate->GetCategoryResistance(t, nullptr);
            }))
            continue;
        double distance = 0.0;
        if (caster) {
            if (!area.CanReachActor(*caster, *candidate, spell.GetRange())) continue;
            distance = caster->DistanceTo(*candidate);
        } else if (object) {
            distance = object->DistanceTo(candidate->GetX(), candidate->GetY());
            if (distance > spell.GetRange()) continue;
        }
        if (nearest.size() == kMaxExtraTargets && !(distance < nearest.back().first)) continue;
        const auto place = std::find_if(nearest.begin(), nearest.end(),
                                        [distance](const auto& entry) { return entry.first > distance; });
        nearest.insert(place, {distance, candidate.get()});
        if (nearest.size() > kMaxExtraTargets) nearest.pop_back();
    }
    for (const auto& entry : nearest) targets.push_back(entry.second);
    return !targets.empty();
}

void CEngine::CastTeleportSpell(CActor& caster, const CSpell& spell, const CSpellEffectTeleport& teleport, double x,
                                double y) {
    CGame& game = Game();
    CArea& area = CurrentArea();
    if (teleport.GetReturn()) {
        const CAreaEntry* entry = FindAreaEntry(area.GetEntries(), game.GetCurrentEntry().second);
        if (!entry) return;
        x = entry->column * kCellSize;
        y = entry->row * kCellSize;
    }
    const bool fromParty = caster.GetRelation() == RELATION_PARTY;
    ActorList moved;
    if (teleport.GetParty() && fromParty) {
        for (const auto& member : game.GetParty())
            if (member->IsAlive()) moved.push_back(member);
    } else {
        for (const auto& actor : area.GetActors())
            if (actor.get() == &caster) moved.push_back(actor);
    }
    const auto column = static_cast<std::uint32_t>(std::max(x, 0.0) / kCellSize);
    const auto row = static_cast<std::uint32_t>(std::max(y, 0.0) / kCellSize);
    const std::int32_t value = caster.GetSpellCastingValue(spell);
    for (const auto& actor : moved)
        if (actor) TeleportHelper(*actor, spell, column, row, value, fromParty);
}

}  // namespace DRAV
