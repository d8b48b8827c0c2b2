// Patches: changes the area file ties to quest tags, fired when the tag is set and
// applied again, silently, whenever the area is rebuilt.

#include <algorithm>
#include <cstdint>
#include <string>

#include "common/exception.h"
#include "rules/module.h"
#include "script/script_run.h"
#include "world/area.h"
#include "world/events/event.h"
#include "world/game.h"

namespace DRAV {

void CArea::LinkPatches(const CModule& module, std::int32_t loadType, bool respawned) {
    for (const std::shared_ptr<CPatch>& patch : m_patches) {
        const bool tagSet = IsQuestTagSet(patch->GetTriggerTag());
        const auto fired = FindName(m_firedPatches, patch->GetName());
        if (fired != m_firedPatches.end()) {
            // A respawn undoes a patch whose tag has been cleared since.
            if (respawned && !tagSet) m_firedPatches.erase(fired);
            else ApplyPatch(*patch, module, loadType, respawned, true);
        } else if (tagSet) {
            m_firedPatches.push_back(patch->GetName());
            ApplyPatch(*patch, module, loadType, respawned, false);
        }
    }
}

bool CArea::IsPatchAwaiting(const CPatch& patch, const std::string& tag) const {
    return patch.GetTriggerTag() == tag && FindName(m_firedPatches, patch.GetName()) == m_firedPatches.end();
}

bool CArea::AwaitsTag(const std::string& tag) const {
    return std::any_of(m_patches.begin(), m_patches.end(),
                       [&](const std::shared_ptr<CPatch>& patch) { return IsPatchAwaiting(*patch, tag); });
}

void CArea::TriggerTagPatches(const std::string& tag, const CModule& module) {
    bool applied = false;
    for (const std::shared_ptr<CPatch>& patch : m_patches) {
        if (!IsPatchAwaiting(*patch, tag)) continue;
        m_firedPatches.push_back(patch->GetName());
        ApplyPatch(*patch, module, AREA_LOAD_FRESH, false, false);
        applied = true;
    }
    if (applied) DropWaypointCalculator();
}

void CArea::ApplyPatch(const CPatch& patch, const CModule& module, std::int32_t loadType, bool respawned,
                       bool reapply) {
    for (const std::shared_ptr<CPatchAction>& action : patch.GetActions()) {
        switch (action->GetType()) {
            case PATCH_REMOVE_OBJECT:
                ApplyRemoveObjectPatch(static_cast<const CPatchActionRemoveObject&>(*action).objectName);
                break;
            case PATCH_OBJECT:
                PlaceObject(static_cast<const CPatchActionObject&>(*action), module, !reapply);
                break;
            case PATCH_ENCOUNTER: {
                const auto& encounter = static_cast<const CPatchActionEncounter&>(*action);
                if (!reapply) LoadOneEncounter(encounter, module, AREA_LOAD_FRESH, false);
                else if (loadType == AREA_LOAD_FRESH || loadType == AREA_LOAD_REACTIVATE)
                    LoadOneEncounter(encounter, module, loadType, respawned);
                break;
            }
            case PATCH_TILES:
                ApplyTilesPatch(static_cast<const CPatchActionTiles&>(*action), module);
                break;
            case PATCH_EFFECT:
                ApplyEffectPatch(static_cast<const CPatchActionEffect&>(*action), reapply);
                break;
            case PATCH_OPEN_DOOR:
            case PATCH_CLOSE_DOOR:
                SetDoorState(static_cast<const CPatchActionDoor&>(*action), reapply);
                break;
            default:
                throw CDRAVException(DRAV_ERR_OUT_OF_RANGE, "patch \"" + patch.GetName() + "\": action " +
                                                                std::to_string(action->GetType()) +
                                                                " is not supported");
        }
    }
}

void CArea::ApplyTilesPatch(const CPatchActionTiles& action, const CModule& module) {
    // Every entry is checked before the first cell changes, so a bad patch leaves the grid whole.
    std::vector<std::shared_ptr<CMasterTile>> masters;
    for (const std::shared_ptr<CPatchTile>& tile : action.tiles) {
        const CTileTemplate* definition = module.FindTileTemplate(tile->tileName);
        if (!definition)
            throw CDRAVException(DRAV_ERR_BAD_DATA,
                                 m_name + ".drav: patch tile \"" + tile->tileName + "\" is not defined");
        std::shared_ptr<CMasterTile> master;
        // A door laid by a patch starts closed, whatever its definition says.
        if (definition->GetKind() == TILE_DOOR)
            master = std::make_shared<CMasterTileDoor>(*definition, this, tile->column, tile->row, tile->facing);
        else master = std::make_shared<CMasterTile>(*definition, this, tile->column, tile->row, tile->facing);
        if (std::uint64_t{tile->column} + master->GetWidth() > m_columns ||
            std::uint64_t{tile->row} + master->GetDepth() > m_rows)
            throw CDRAVException(DRAV_ERR_BAD_DATA, m_name + ".drav: patch tile \"" + tile->tileName + "\" at (" +
                                                        std::to_string(tile->column) + " " +
                                                        std::to_string(tile->row) + ") reaches past the grid");
        masters.push_back(std::move(master));
    }
    for (const std::shared_ptr<CMasterTile>& master : masters) {
        m_masterTiles.push_back(master);
        for (std::uint32_t x = master->GetColumn(); x < master->GetColumn() + master->GetWidth(); ++x) {
            for (std::uint32_t y = master->GetRow(); y < master->GetRow() + master->GetDepth(); ++y) {
                CTile& cell = *GetTile(x, y);
                // The cell's old door is gone; its record would point at no door.
                if (cell.IsDoor()) RemoveOpenDoor(cell);
                cell.SetMaster(master.get());
            }
        }
    }
    ReplaceBlockedActors();
    PurgeUnusedMasters();
    if (m_game) {
        if (CArea* current = m_game->GetCurrentArea()) current->SetViewStale(true);
        m_game->PushEvent(std::make_shared<CInfoEvent>(EVENT_TILES_REPLACED));
    }
}

void CArea::ApplyEffectPatch(const CPatchActionEffect& action, bool reapply) {
    if (reapply || !m_game) return;
    m_game->PushEvent(std::make_shared<CEffectEvent>(action.effectName, std::shared_ptr<const DRAVGraph::CEffectParams>(action.params),
                                                     action.x, action.y));
}

void CArea::SetDoorState(const CPatchActionDoor& action, bool reapply) {
    const PatchActionType type = action.GetType();
    if (type != PATCH_OPEN_DOOR && type != PATCH_CLOSE_DOOR)
        throw CDRAVException(DRAV_ERR_OUT_OF_RANGE, "door action " + std::to_string(type));
    CountMadeThing();
    // Rebuilding, the open-door records already hold what became of the patched
    // doors, closings since included; they are applied after the patches.
    if (!reapply) {
        for (std::uint32_t column = 0; column < m_columns; ++column) {
            for (std::uint32_t row = 0; row < m_rows; ++row) {
                CTile& cell = *GetTile(column, row);
                if (!cell.IsDoor()) continue;
                CMasterTileDoor* door = cell.GetDoor();
                const std::string& key = door->GetDefinition().GetKey();
                if (std::find(action.tileNames.begin(), action.tileNames.end(), key) == action.tileNames.end())
                    continue;
                if (action.open) {
                    door->SetOpen(true);
                    door->SetLockValue(0);
                    AddOpenDoor(cell);
                } else {
                    door->SetOpen(false);
                    RemoveOpenDoor(cell);
                }
            }
        }
        if (m_game)
            m_game->PushEvent(std::make_shared<CInfoEvent>(action.open ? EVENT_DOORS_OPENED : EVENT_DOORS_CLOSED));
    }
    ReplaceBlockedActors();
    SetViewStale(true);
}

}  // namespace DRAV
