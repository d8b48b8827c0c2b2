// Encounters: named groups of monsters an area places in stages, kept, cleared or
// renewed as the party comes and goes, and the proximity test that wakes them.

#include <string>

#include "common/exception.h"
#include "common/trace.h"
#include "world/area.h"
#include "world/cell.h"
#include "world/game.h"

namespace DRAV {

bool CArea::IsQuestComplete(const CPatchActionEncounter& encounter) const {
    return !encounter.quest.empty() && IsQuestTagSet(encounter.quest);
}

void CArea::LoadOneEncounter(const CPatchActionEncounter& encounter, const CModule& module, std::int32_t loadType,
                             bool respawned) {
    const char* name = encounter.name.c_str();
    const char* quest = encounter.quest.c_str();
    if (loadType == AREA_LOAD_FRESH) {
        if (EncounterActorsPresent(encounter.name) != 0)
            throw CDRAVException(DRAV_ERR_BAD_DATA,
                                 m_name + ".drav: encounter \"" + encounter.name + "\" is already here");
        if (IsQuestComplete(encounter)) {
            DRAV_TRACE(1, "Encounter %s, quest %s complete, don't load\n", name, quest);
            return;
        }
        LoadEncounterStage(encounter, module, 0);
    } else if (loadType == AREA_LOAD_REACTIVATE) {
        if (!encounter.respawn) {
            DRAV_TRACE(1, "Encounter %s doesn't respawn, leave in its current state\n", name);
        } else if (IsQuestComplete(encounter)) {
            DRAV_TRACE(1, "Encounter %s, quest %s complete, clear\n", name, quest);
            ClearEncounter(encounter.name);
        } else if (respawned) {
            ClearEncounter(encounter.name);
            DRAV_TRACE(1, "Encounter %s, quest %s incomplete, respawn\n", name, quest);
            LoadEncounterStage(encounter, module, 0);
        }
    }
    // A saved game's actors carry the encounter's state.
}

void CArea::LoadEncounterStage(const CPatchActionEncounter& encounter, const CModule& module, std::size_t stage) {
    for (const CEncounterMonster& monster : encounter.stages.at(stage).monsters) {
        std::shared_ptr<CActor> actor =
            CreateEncounterActor(monster.key, encounter.name, static_cast<std::int32_t>(stage), module);
        if (!monster.completionTag.empty()) actor->SetCompletionTag(monster.completionTag);
        if (!PlaceActor(encounter.column, encounter.row, false, actor))
            throw CDRAVException(DRAV_ERR_OUT_OF_RANGE, m_name + ".drav: no room near (" +
                                                            std::to_string(encounter.column) + " " +
                                                            std::to_string(encounter.row) + ") for encounter \"" +
                                                            encounter.name + "\"");
        actor->SetPost(actor->GetX(), actor->GetY());
    }
}

void CArea::AdvanceEncounterStage(const std::string& name, const CModule& module, std::size_t stage) {
    const CPatchActionEncounter& encounter = FindEncounter(name);
    if (stage < encounter.stages.size()) LoadEncounterStage(encounter, module, stage);
}

const CPatchActionEncounter& CArea::FindEncounter(const std::string& name) const {
    if (const CPatchActionEncounter* encounter = FindEncounterIfAny(name)) return *encounter;
    throw CDRAVException(DRAV_ERR_BAD_DATA, m_name + ": no encounter \"" + name + "\"");
}

const CPatchActionEncounter* CArea::FindEncounterIfAny(const std::string& name) const {
    for (const CPatchActionEncounter& encounter : m_encounters)
        if (encounter.name == name) return &encounter;
    for (const std::shared_ptr<CPatch>& patch : m_patches) {
        if (FindName(m_firedPatches, patch->GetName()) == m_firedPatches.end()) continue;
        for (const std::shared_ptr<CPatchAction>& action : patch->GetActions()) {
            if (action->GetType() != PATCH_ENCOUNTER) continue;
            const auto& encounter = static_cast<const CPatchActionEncounter&>(*action);
            if (encounter.name == name) return &encounter;
        }
    }
    return nullptr;
}

std::size_t CArea::EncounterActorsPresent(const std::string& name) const {
    const auto belongs = [&](const std::shared_ptr<CActor>& actor) {
        return !actor->GetEncounterName().empty() && actor->GetEncounterName() == name;
    };
    std::size_t count = 0;
    for (const std::shared_ptr<CActor>& actor : m_actors) count += belongs(actor) ? 1 : 0;
    if (m_game)
        for (const std::shared_ptr<CActor>& actor : m_game->GetParty()) count += belongs(actor) ? 1 : 0;
    return count;
}

void CArea::ClearEncounter(const std::string& name) {
    DRAV_TRACE(1, "Clearing encounter %s from area %s.\n", name.c_str(), m_name.c_str());
    for (std::size_t index = 0; index < m_actors.size();) {
        const CActor& actor = *m_actors[index];
        if (!actor.GetEncounterName().empty() && actor.GetEncounterName() == name) {
            DRAV_TRACE(1, "Whack actor %s\n", actor.GetName().c_str());
            EraseActor(index);
        } else {
            ++index;
        }
    }
}

void CArea::RemoveEncounter(const std::string& name) {
    DRAV_TRACE(1, "Remove encounter %s from area %s.\n", name.c_str(), m_name.c_str());
    for (const std::shared_ptr<CActor>& actor : m_actors) {
        if (actor->GetEncounterName().empty() || actor->GetEncounterName() != name) continue;
        DRAV_TRACE(1, "Whack actor %s\n", actor->GetName().c_str());
        actor->SetActionState(ACTION_DEAD);
        actor->SetLeaveNoItemsFlag(true);
        actor->SetAttackTarget(0, nullptr);
    }
}

bool CArea::PartyProximityTest(const CActor& actor, CActor** other, double range) const {
    if (other) *other = nullptr;
    const auto column = static_cast<std::uint32_t>(actor.GetX() / kCellSize);
    const auto row = static_cast<std::uint32_t>(actor.GetY() / kCellSize);
    if (actor.GetX() < 0.0 || actor.GetY() < 0.0 || !m_seenCells.Get(column, row)) return false;
    CNearActors near;
    m_actorGrid.Near(actor.GetX(), actor.GetY(), range, near);
    for (CActor* candidate : near) {
        const Relation relation = candidate->GetRelation();
        if (candidate == &actor) continue;
        if ((relation != RELATION_PARTY && relation != RELATION_FRIENDLY) || candidate->IsSneaking()) continue;
        if (!actor.IsWithin(*candidate, range)) continue;
        DRAV_TRACE(1, "%s (%g %g) hits proximity test (%s (%g %g))\n", actor.GetName().c_str(), actor.GetX(),
                   actor.GetY(), candidate->GetName().c_str(), candidate->GetX(), candidate->GetY());
        if (other) *other = candidate;
        return true;
    }
    return false;
}

}  // namespace DRAV
