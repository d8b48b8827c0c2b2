#pragma once
// A patch: a named change an area file ties to a quest tag, and its actions. The
// "object" action doubles as the area file's placed-object element.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "rules/items/item_list.h"
#include "rules/vocabulary/animation_direction.h"

namespace DRAVCommon {
class CDataFileReader;
}

namespace DRAV {

class CModule;

enum PatchActionType : std::int32_t {
    PATCH_REMOVE_OBJECT = 0,
    PATCH_OBJECT = 1,
    PATCH_ENCOUNTER = 2,
    PATCH_TILES = 3,
    PATCH_EFFECT = 4,
    PATCH_OPEN_DOOR = 5,
    PATCH_CLOSE_DOOR = 6,
};

class CPatchAction {
public:
    virtual ~CPatchAction() = default;
    virtual PatchActionType GetType() const = 0;

protected:
    CPatchAction() = default;
    CPatchAction(const CPatchAction&) = default;
    CPatchAction& operator=(const CPatchAction&) = default;
};

// An object to place: from the area's "objects" block or from a patch.
class CPatchActionObject final : public CPatchAction {
public:
    // Reads one "object" element; item keys are checked when the items are made.
    CPatchActionObject(DRAVCommon::CDataFileReader& reader, const CModule& module);

    PatchActionType GetType() const override { return PATCH_OBJECT; }

    std::string templateName;
    // Empty unless the element names the object.
    std::string objectName;
    // World units.
    double x = 0.0;
    double y = 0.0;
    Direction facing = DIR_NORTH;
    // 0: no lock.
    std::uint32_t lockValue = 0;
    // Made only when the area is built fresh.
    ItemList items;
};

using PatchActionList = std::vector<std::shared_ptr<CPatchAction>>;

class CPatch {
public:
    CPatch(std::string name, std::string triggerTag, PatchActionList actions = {})
        : m_name(std::move(name)), m_triggerTag(std::move(triggerTag)), m_actions(std::move(actions)) {}

    // The name under which the area records that the patch has fired.
    const std::string& GetName() const { return m_name; }
    const std::string& GetTriggerTag() const { return m_triggerTag; }
    const PatchActionList& GetActions() const { return m_actions; }

private:
    std::string m_name;
    std::string m_triggerTag;
    PatchActionList m_actions;
};

using PatchList = std::vector<std::shared_ptr<CPatch>>;

}  // namespace DRAV
