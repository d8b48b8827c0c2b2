// Moving actors by magic: the repulse effect and the teleport step it shares with
// casting and scripts.

#include <algorithm>
#include <cmath>
#include <memory>

#include "common/exception.h"
#include "common/random.h"
#include "engine/engine.h"
#include "rules/magic/spell.h"
#include "rules/magic/spell_effect.h"
#include "world/actor.h"
#include "world/area.h"
#include "world/cell.h"
#include "world/effect.h"
#include "world/events/event.h"
#include "world/game.h"

namespace DRAV {

namespace {

constexpr int kRepulseTries = 20;
constexpr double kRepulseRadius = 50.0;
constexpr double kTwoPi = 6.2831854820251465;

}  // namespace

void CEngine::ResolveRepulse(CActor& target, const CSpell& spell, std::int32_t difficulty, bool fromParty) {
    CArea& area = CurrentArea();
    for (int i = 0; i < kRepulseTries; ++i) {
        const double angle = DRAVCommon::Random() * kTwoPi;
        const double radius = kRepulseRadius - i * 0.5 * kRepulseRadius / kRepulseTries;
        const double x = target.GetX() + std::sin(angle) * radius;
        const double y = target.GetY() + std::cos(angle) * radius;
        const auto column = static_cast<std::int64_t>(x / kCellSize);
        const auto row = static_cast<std::int64_t>(y / kCellSize);
        if (x < 0 || y < 0 || column >= area.GetColumns() || row >= area.GetRows()) continue;
        if (!area.CanReachPoint(target, x, y, 100.0, 0.0, true)) continue;
        if (TeleportHelper(target, spell, static_cast<std::uint32_t>(column), static_cast<std::uint32_t>(row),
                           difficulty, fromParty))
            return;
    }
}

bool CEngine::TeleportHelper(CActor& actor, const CSpell& spell, std::uint32_t column, std::uint32_t row,
                             std::int32_t difficulty, bool fromParty) {
    CGame& game = Game();
    CArea& area = CurrentArea();
    const auto oldColumn = static_cast<std::uint32_t>(std::max(actor.GetX(), 0.0) / kCellSize);
    const auto oldRow = static_cast<std::uint32_t>(std::max(actor.GetY(), 0.0) / kCellSize);
    actor.ReleaseAttackers(false, game.GetTick());
    if (actor.GetActionState() == ACTION_WIND_UP || actor.GetActionState() == ACTION_STRIKE)
        actor.SetActionState(ACTION_IDLE);
    actor.SetAttackTarget(game.GetTick(), nullptr);
    // A party member in its right mind keeps the player's orders.
    const bool ownMind = actor.GetRelation() == RELATION_PARTY && !actor.HasStatus(STATUS_CONFUSED) &&
                         !actor.HasStatus(STATUS_DOMINATED);
    if (!ownMind) {
        actor.ClearOrders();
        actor.SetOrdersChanged(true);
    }
    std::shared_ptr<CActor> held = area.RemoveActor(actor);
    if (!held) throw CDRAVException(DRAV_ERR_OUT_OF_RANGE, actor.GetName() + " is not in the current area");
    if (!area.PlaceActor(column, row, false, held)) {
        if (!area.PlaceActor(oldColumn, oldRow, false, held))
            throw CDRAVException(DRAV_ERR_OUT_OF_RANGE, "no room to put " + actor.GetName() + " back");
        return false;
    }
    game.PushActorInfoEvent(EVENT_ACTOR_TELEPORTED, actor.GetId());
    area.SetViewStale(true);
    // A spell that pushes its target away would push it again on arrival, and again
    // each time after: it is not sent after the actor.
    const auto& effects = spell.GetEffects();
    const bool repulses = std::any_of(effects.begin(), effects.end(),
                                      [](const auto& effect) { return effect->GetKind() == EFFECT_REPULSE; });
    if (!repulses) LaunchSpellAt(actor, spell, fromParty, difficulty, 0, std::string(), 1);
    return true;
}

void CEngine::LaunchSpellAt(CActor& actor, const CSpell& spell, bool fromParty, std::int32_t difficulty,
                            std::int32_t casterLevel, const std::string& whose, std::int32_t pulses) {
    CArea& area = CurrentArea();
    // Nobody sends it: the actor bears it, or it came with her arrival.
    auto effect = std::make_shared<CEffectSpell>(Game().NewEffectId(), &area, std::string(),
                                                 spell.GetVisualName(), spell.GetVisualParams().get(),
                                                 actor.GetId(), fromParty, &spell);
    effect->difficulty = difficulty;
    effect->casterLevel = casterLevel;
    effect->whose = whose;
    effect->pulses = pulses;
    effect->SetPosition(area, actor.GetX(), actor.GetY(), 0.0);
    effect->SetSpeed(spell.GetEffectSpeed());
    area.AddEffect(effect);
}

}  // namespace DRAV
