// The effects phase: missiles and launched spells fly one step a tick towards
// their target and are resolved on arrival; an arrived effect stays one more tick
// for the graphics, then goes.

#include <cmath>
#include <memory>
#include <vector>

#include "common/exception.h"
#include "common/trace.h"
#include "engine/engine.h"
#include "engine/spell_words.h"
#include "world/actor.h"
#include "world/area.h"
#include "world/effect.h"

namespace DRAV {

void CEngine::RunEffects() {
    CArea& area = CurrentArea();
    const std::vector<std::shared_ptr<CEffect>> effects(area.GetEffects().begin(), area.GetEffects().end());
    for (const auto& effect : effects) {
        if (effect->IsDone()) {
            area.RemoveEffect(*effect);
            continue;
        }
        CActor* target = nullptr;
        double targetX = 0.0;
        double targetY = 0.0;
        if ((effect->GetTarget() >> 24) == THING_ACTOR) {
            target = area.FindActor(effect->GetTarget());
            if (!target || !target->IsAlive()) {
                DRAV_TRACE(DRAVCommon::TRACE_LOW, "Target %s is dead, kill effect\n",
                           target ? target->GetName().c_str() : "");
                area.RemoveEffect(*effect);
                continue;
            }
        }
        effect->GetTargetPoint(area, targetX, targetY);
        const double step = effect->GetSpeed() / 30.0;
        const double distance = std::hypot(targetX - effect->GetX(), targetY - effect->GetY());
        if (step < distance) {
            const double x = effect->GetX() - (effect->GetX() - targetX) * step / distance;
            const double y = effect->GetY() - (effect->GetY() - targetY) * step / distance;
            effect->SetPosition(area, x, y, effect->GetZ());
            continue;
        }
        DRAV_TRACE(DRAVCommon::TRACE_LOW, "Effect reached target %s (%g %g), resolve\n",
                   target ? target->GetName().c_str() : "", targetX, targetY);
        effect->SetPosition(area, targetX, targetY, effect->GetZ());
        effect->SetDone();
        ResolveEffectArrival(*effect, target);
    }
}

void CEngine::ResolveEffectArrival(CEffect& effect, CActor* target) {
    switch (effect.GetKind()) {
        case EFFECT_ATTACK: {
            const auto& missile = dynamic_cast<const CEffectAttack&>(effect);
            if (!target) throw CDRAVException(DRAV_ERR_OUT_OF_RANGE, "a missile aimed at a tile");
            const bool hit = ResolveAttack2(*target, missile.GetAttack(), missile.IsFromParty());
            if (target->IsAlive() && target->GetRelation() != RELATION_SURRENDER && hit && missile.GetOnHitSpell())
                LaunchAttackSpell(missile.GetSourceName(), missile.IsFromParty(), *missile.GetOnHitSpell(), *target);
            return;
        }
        case EFFECT_SPELL: {
            const auto& launched = dynamic_cast<const CEffectSpell&>(effect);
            const CSpellSender sender{launched.GetSourceName(), launched.caster, launched.announced, launched.whose,
                                      launched.pulses};
            ResolveSpell(sender, target, effect.GetX(), effect.GetY(), launched.IsFromParty(), *launched.GetSpell(),
                         launched.difficulty, launched.hitBonus, launched.casterLevel, launched.penetrationSkill);
            return;
        }
        default:
            throw CDRAVException(DRAV_ERR_OUT_OF_RANGE, "effect kind " + std::to_string(effect.GetKind()));
    }
}

}  // namespace DRAV
