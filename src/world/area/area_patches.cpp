// Patches: changes the area file ties to quest tags, fired when the tag is set and
// applied again, silently, whenever the area is rebuilt.

#include <algorithm>
#include <string>

#include "common/exception.h"
#include "world/area.h"

namespace DRAV {

namespace {

FiredPatchList::iterator FindFired(FiredPatchList& fired, const std::string& name) {
    return std::find(fired.begin(), fired.end(), name);
}

}  // namespace

void CArea::LinkPatches(const CModule& module, std::int32_t loadType, bool respawned) {
    for (const std::shared_ptr<CPatch>& patch : m_patches) {
        const bool tagSet = IsQuestTagSet(patch->GetTriggerTag());
        const auto fired = FindFired(m_firedPatches, patch->GetName());
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

void CArea::TriggerTagPatches(const std::string& tag, const CModule& module) {
    bool applied = false;
    for (const std::shared_ptr<CPatch>& patch : m_patches) {
        if (patch->GetTriggerTag() != tag || FindFired(m_firedPatches, patch->GetName()) != m_firedPatches.end())
            continue;
        m_firedPatches.push_back(patch->GetName());
        ApplyPatch(*patch, module, AREA_LOAD_FRESH, false, false);
        applied = true;
    }
    if (applied) DropWaypointCalculator();
}

void CArea::ApplyPatch(const CPatch& patch, const CModule& module, std::int32_t, bool, bool reapply) {
    for (const std::shared_ptr<CPatchAction>& action : patch.GetActions()) {
        switch (action->GetType()) {
            case PATCH_OBJECT:
                PlaceObject(static_cast<const CPatchActionObject&>(*action), module, !reapply);
                break;
            default:
                throw CDRAVException(DRAV_ERR_OUT_OF_RANGE, "patch \"" + patch.GetName() + "\": action " +
                                                                std::to_string(action->GetType()) +
                                                                " is not supported");
        }
    }
}

}  // namespace DRAV
