// Leaving an area (it shrinks to what must outlive the visit) and coming back to
// it (rebuilt from its file, with a respawn when the party was away long enough).

#include <string>

#include "common/exception.h"
#include "world/area.h"
#include "world/game.h"
#include "world/movement/party_visibility.h"

namespace DRAV {

void CArea::MakeInactive() {
    const std::uint32_t tick = m_game ? m_game->GetTick() : 0u;
    for (const std::shared_ptr<CActor>& actor : m_actors) {
        actor->ClearOrders();
        actor->ReleaseAttackers(false, tick);
        actor->EndPower();
    }
    // Taken while the area is still built: an inactive area keeps its records.
    CaptureItemStacks();
    CaptureLocksAndTraps();
    // Cells point at the masters, so they go first.
    m_grid.clear();
    m_masterTiles.clear();
    m_objects.clear();
    m_objectsToRemove.clear();
    m_columns = 0;
    m_rows = 0;
    m_entries.clear();
    m_exits.clear();
    m_patches.clear();
    m_effects.clear();
    m_effectPlaces.clear();
    DropWaypointCalculator();
    m_partyView.reset();
    m_leaveTick = tick;
}

void CArea::Reactivate(const std::string& fromArea, const CModule& module) {
    bool respawned = false;
    LoadAreaFile(fromArea, m_name, module, AREA_LOAD_REACTIVATE, true, &respawned);
    ApplyOpenDoors(respawned);
    ApplyItemStacks(module);
    ApplyLocksAndTraps();
    if (!respawned) return;
    for (const std::shared_ptr<CActor>& actor : m_actors) {
        actor->ClearEffects();
        actor->SetDamageTaken(0);
        actor->SetLastDamage(0, 0);
        actor->SetHealsReceived(0);
        actor->SetEnergyUsed(0);
        actor->SetActionState(ACTION_IDLE);
        actor->SetAttackTarget(0, nullptr);
        // Whoever gave up stays given up: the time that heals a foe does not
        // rearm one that surrendered.
        if (actor->GetRelation() != RELATION_SURRENDER) actor->ApplyBrainRelation();
        actor->ClearOrders();
        // A sneaking actor keeps hiding; its power's effect went with the others.
        if (!actor->IsSneaking()) actor->EndPower();
    }
}

void CArea::ApplyOpenDoors(bool respawned) {
    for (auto record = m_openDoors.begin(); record != m_openDoors.end();) {
        const CTile* cell = GetTile((*record)->column, (*record)->row);
        if (!cell || !cell->IsDoor())
            throw CDRAVException(DRAV_ERR_OUT_OF_RANGE, m_name + ": no door at open-door cell (" +
                                                            std::to_string((*record)->column) + " " +
                                                            std::to_string((*record)->row) + ")");
        CMasterTileDoor* door = cell->GetDoor();
        if (respawned && door->GetDefinition().HasFlag(TILE_FLAG_RESET)) {
            record = m_openDoors.erase(record);
            continue;
        }
        door->SetLockValue(0);
        door->SetOpen(true);
        ++record;
    }
}

}  // namespace DRAV
