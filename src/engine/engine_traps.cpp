// Traps on the objects of an area: party members notice hidden traps near them,
// and whoever touches a trapped object disarms it or springs it.

#include <algorithm>
#include <cmath>
#include <limits>
#include <memory>
#include <vector>

#include "common/trace.h"
#include "engine/engine.h"
#include "rules/definitions/trap.h"
#include "rules/kinds/number_texts.h"
#include "rules/magic/spell.h"
#include "rules/vocabulary/skills.h"
#include "rules/vocabulary/special_stat.h"
#include "script/script.h"
#include "world/actor.h"
#include "world/area.h"
#include "world/effect.h"
#include "world/events/event.h"
#include "world/game.h"
#include "world/object.h"

namespace DRAV {

namespace {

constexpr std::int32_t kTrapsBase = 50;
constexpr double kDetectRange = 50.0;
constexpr std::int32_t kDetectMargin = 20;
// A trap disarmed or spent on an object that still holds items: it stays with the
// object (and in the area's lock and trap records) but never works again.
constexpr std::uint32_t kSpentTrapTick = std::numeric_limits<std::uint32_t>::max();

std::string TrapsCheck(std::int32_t skill, std::int32_t target) {
    return FormatNamedRollText(GetSkillName(SKILL_TRAPS), kTrapsBase, skill, target);
}

bool IsSpent(const CTrap& trap) { return trap.GetReadyTick() == kSpentTrapTick; }

bool IsLive(const std::shared_ptr<CTrap>& trap) { return trap && !IsSpent(*trap); }

// Whether a step of `actor`'s may have met `object`'s trap: a living member within its reach.
bool IsWithinTrapReach(const CObject& object, const CActor& actor) {
    return actor.IsAlive() && actor.GetRelation() == RELATION_PARTY &&
           object.DistanceTo(actor.GetX(), actor.GetY()) <= actor.GetRadius();
}

}  // namespace

void CEngine::RunDetection() {
    CGame& game = Game();
    CArea& area = CurrentArea();
    // Each member's step is taken every tick, whether a trap lies near or not: the
    // next trap judges the step that meets it, from where the member stood before.
    game.TakePartySteps();
    const ObjectList& placed = area.GetObjects();
    if (std::none_of(placed.begin(), placed.end(), [](const auto& object) { return IsLive(object->GetTrap()); }))
        return;
    // Every step onto a trap meets it, whatever else sprang or went in the same
    // tick: the member stands in its reach from then on, and a step not met now is
    // never met. A spring that takes its object away ends that object's turn only.
    const auto pass = [&](const ObjectList& objects, const ActorList& actors) {
        for (const auto& object : objects) {
            const std::shared_ptr<CTrap> trap = object->GetTrap();
            if (!IsLive(trap)) continue;
            for (const auto& actor : actors) {
                if (!actor->IsAlive() || actor->GetRelation() != RELATION_PARTY) continue;
                const double distance = object->DistanceTo(actor->GetX(), actor->GetY());
                if (distance <= actor->GetRadius()) {
                    // A trap is met by a step onto it: one who stood within its reach
                    // before the step (or was put there since) springs nothing.
                    if (object->DistanceTo(actor->GetStepStartX(), actor->GetStepStartY()) <= actor->GetRadius())
                        continue;
                    if (HitTrap(area, *object, *trap, *actor) || IsSpent(*trap)) break;
                    continue;
                }
                if (distance > kDetectRange || !trap->IsHidden() || trap->GetDifficulty() == 0) continue;
                const std::int32_t skill = actor->GetSpecialStat(SPECIAL_TRAPS);
                const std::int64_t target = std::int64_t{trap->GetDifficulty()} +
                                            static_cast<std::int64_t>(std::trunc(distance)) + kDetectMargin;
                if (skill <= 0 || std::int64_t{skill} + kTrapsBase <= target) continue;
                trap->SetHidden(false);
                game.PushMessage(MESSAGE_CHECK_SUCCEEDED, actor->GetName() + " detects " + object->GetName() + " " +
                                                              TrapsCheck(skill, static_cast<std::int32_t>(target)) + ".");
            }
        }
    };
    // A spring's script may change the objects and the actors, and only a member
    // within a live trap's reach can spring one: most ticks nobody is, and the
    // pass, which then only notices traps, looks at the lists as they stand.
    const ActorList& standing = area.GetActors();
    const bool mayMeetATrap = std::any_of(placed.begin(), placed.end(), [&](const auto& object) {
        return IsLive(object->GetTrap()) && std::any_of(standing.begin(), standing.end(), [&](const auto& actor) {
                   return IsWithinTrapReach(*object, *actor);
               });
    });
    if (mayMeetATrap) pass(ObjectList(placed), ActorList(standing));
    else pass(placed, standing);
}

bool CEngine::HitTrap(CArea& area, CObject& object, CTrap& trap, CActor& actor) {
    CGame& game = Game();
    const std::int32_t skill = actor.GetSpecialStat(SPECIAL_TRAPS);
    const auto difficulty = static_cast<std::int32_t>(trap.GetDifficulty());
    if (difficulty != 0 && std::int64_t{skill} + kTrapsBase > difficulty) {
        game.PushMessage(MESSAGE_CHECK_SUCCEEDED, actor.GetName() + " disarms " + object.GetName() + " " +
                                                      TrapsCheck(skill, difficulty) + ".");
        DRAV_TRACE(DRAVCommon::TRACE_LOW, "%s (%d) disarms %s (%d)\n", actor.GetName().c_str(), skill,
                   object.GetName().c_str(), difficulty);
        return RemoveTrap(area, object, trap);
    }
    if (game.GetTick() < trap.GetReadyTick()) return false;
    bool sprung = false;
    if (!trap.GetSpellKey().empty()) {
        game.PushMessage(MESSAGE_NOTICE, actor.GetName() + " springs " + object.GetName() + " " +
                                             TrapsCheck(skill, difficulty) + ".");
        const CSpell& spell = GetSpell(Module().GetSpells(), trap.GetSpellKey());
        std::vector<CActor*> targets{&actor};
        if (spell.HasFlag(SPELL_MULTITARGET)) GatherSpellTargets(nullptr, &object, spell, targets);
        for (CActor* target : targets) {
            auto effect = std::make_shared<CEffectSpell>(game.NewEffectId(), &area, object.GetName(),
                                                         spell.GetVisualName(), spell.GetVisualParams().get(),
                                                         target->GetId(), false, &spell);
            effect->difficulty = trap.GetSpellLevel();
            effect->hitBonus = trap.GetSpellLevel();
            effect->SetPosition(area, actor.GetX(), actor.GetY(), 0.0);
            effect->SetSpeed(spell.GetEffectSpeed());
            area.AddEffect(effect);
        }
        sprung = true;
    }
    // A failed script uses the trap up all the same: else it fails again on every
    // tick someone stands on it.
    std::exception_ptr scriptFailure;
    if (const auto& script = trap.GetScript()) {
        CScriptContext context;
        context.engine = this;
        context.actor = &actor;
        scriptFailure = HoldScriptError([&] { script->Eval(this, context); });
    }
    if (sprung) trap.SetHidden(false);
    const bool removed = SpendTrap(area, object, trap);
    if (scriptFailure) std::rethrow_exception(scriptFailure);
    return removed;
}

bool CEngine::SpendTrap(CArea& area, CObject& object, CTrap& trap) {
    if (trap.GetRearmDelay() != 0.0) {
        trap.SetReadyTick(Game().GetTick() + static_cast<std::uint32_t>(std::trunc(trap.GetRearmDelay() * 30.0)));
        return false;
    }
    DRAV_TRACE(DRAVCommon::TRACE_LOW, "One time trap %s fired, remove it\n", object.GetName().c_str());
    return RemoveTrap(area, object, trap);
}

bool CEngine::RemoveTrap(CArea& area, CObject& object, CTrap& trap) {
    // A chest keeps what it holds: only its trap goes.
    if (!object.GetItems().empty()) {
        trap.SetHidden(false);
        trap.SetReadyTick(kSpentTrapTick);
        return false;
    }
    area.RemoveSprungTrapObject(object);
    return true;
}

}  // namespace DRAV
