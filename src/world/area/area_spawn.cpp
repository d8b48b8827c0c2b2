// Actors that enter an area from their definitions: encounter members and monsters
// called up by the wizard command or by summoning.

#include "common/exception.h"
#include "rules/module.h"
#include "rules/monsters/actor_template.h"
#include "world/area.h"
#include "world/game.h"

namespace DRAV {
namespace {

constexpr const char* kSneakPowerKey = "s_power-sneak";

}  // namespace

std::shared_ptr<CActor> CArea::CreateEncounterActor(const std::string& key, const std::string& encounterName,
                                                    std::int32_t stage, const CModule& module) {
    std::shared_ptr<CActor> actor;
    module.CreateActor(actor, m_game, key, encounterName, stage);
    actor->SetActionState(ACTION_IDLE);
    actor->SetAttackTarget(0, nullptr);
    const CActorTemplate* definition = module.FindMonsterTemplate(key);
    if (!definition) throw CDRAVException(DRAV_ERR_BAD_DATA, "no monster \"" + key + "\" is defined");
    if ((definition->GetFlags() & MONSTER_SNEAK) != 0 && actor->HasSkill(SKILL_SNEAK)) {
        if (const CSpell* sneak = FindSpell(module.GetSpells(), kSneakPowerKey)) {
            bool renewed = false;
            actor->ActivatePower(*sneak, m_game ? m_game->GetTick() : 0u, renewed);
        }
    }
    return actor;
}

void CArea::SpawnActor(const CModule& module, const std::string& key, std::uint32_t column, std::uint32_t row) {
    // No free spot: the actor is dropped without a word.
    PlaceActor(column, row, false, CreateEncounterActor(key, "", 0, module));
}

}  // namespace DRAV
