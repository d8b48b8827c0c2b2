#pragma once
// A patch: a named change an area file ties to a quest tag, and its actions. The
// "object" action doubles as the area file's placed-object element, the
// "encounter" action as the area file's encounter record.

#include <cstdint>
#include <list>
#include <memory>
#include <string>
#include <vector>

#include "rules/items/item_list.h"
#include "common/effect_params.h"
#include "rules/vocabulary/animation_direction.h"
#include "script/script.h"

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

    // Reads the action element that stands next; code 1 for any other element.
    static std::shared_ptr<CPatchAction> Load(DRAVCommon::CDataFileReader& reader, const CModule& module);

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

// Marks every object of that object name for removal.
class CPatchActionRemoveObject final : public CPatchAction {
public:
    // Reads one "removeobject" element.
    explicit CPatchActionRemoveObject(DRAVCommon::CDataFileReader& reader);

    PatchActionType GetType() const override { return PATCH_REMOVE_OBJECT; }

    std::string objectName;
};

// One monster of an encounter stage; the completion tag is set when it is killed.
struct CEncounterMonster {
    std::string key;
    std::string completionTag;
};

// The monsters placed together, and the script run once they are all gone.
struct CEncounterStage {
    std::vector<CEncounterMonster> monsters;
    // May be null; shared by the copies of the record.
    std::shared_ptr<CScript> script;
};

// A named group of monsters placed near a cell in stages: from the area's
// "encounters" block or from a patch. Copies share the stage scripts.
class CPatchActionEncounter final : public CPatchAction {
public:
    // Reads one "encounter" element.
    explicit CPatchActionEncounter(DRAVCommon::CDataFileReader& reader);
    CPatchActionEncounter(const CPatchActionEncounter&) = default;
    CPatchActionEncounter& operator=(const CPatchActionEncounter&) = default;

    PatchActionType GetType() const override { return PATCH_ENCOUNTER; }

    // Reads monster entries and at most one script up to the end of the enclosing element.
    static CEncounterStage ReadStage(DRAVCommon::CDataFileReader& reader, const std::string& encounter);

    std::string name;
    std::uint32_t column = 0;
    std::uint32_t row = 0;
    std::string text;
    // Empty: none. Once that quest is done the encounter is not placed again.
    std::string quest;
    bool respawn = false;
    std::vector<CEncounterStage> stages;
};

// A tile placed by a patch over whatever the cells held.
class CPatchTile {
public:
    // Reads one entry of a "tiles" element: ( column row ) ( tile facing ).
    explicit CPatchTile(DRAVCommon::CDataFileReader& reader);

    std::uint32_t column = 0;
    std::uint32_t row = 0;
    std::string tileName;
    Direction facing = DIR_NORTH;
};

class CPatchActionTiles final : public CPatchAction {
public:
    // Reads one "tiles" element.
    explicit CPatchActionTiles(DRAVCommon::CDataFileReader& reader);

    PatchActionType GetType() const override { return PATCH_TILES; }

    std::vector<std::shared_ptr<CPatchTile>> tiles;
};

// A visual effect shown where the patch fires; nothing is left behind.
class CPatchActionEffect final : public CPatchAction {
public:
    // Reads one "effect" element.
    explicit CPatchActionEffect(DRAVCommon::CDataFileReader& reader);

    PatchActionType GetType() const override { return PATCH_EFFECT; }

    std::string effectName;
    std::shared_ptr<DRAVGraph::CEffectParams> params;
    double x = 0.0;
    double y = 0.0;
};

// Opens or closes every door cell of the named tile definitions.
class CPatchActionDoor final : public CPatchAction {
public:
    // Reads one "opendoor" (open) or "closedoor" element.
    CPatchActionDoor(DRAVCommon::CDataFileReader& reader, bool open);
    // One door by name, as the script functions ask for it.
    CPatchActionDoor(bool open, std::string tileName) : open(open), tileNames{std::move(tileName)} {}

    PatchActionType GetType() const override { return open ? PATCH_OPEN_DOOR : PATCH_CLOSE_DOOR; }

    bool open = true;
    std::vector<std::string> tileNames;
};

using PatchActionList = std::vector<std::shared_ptr<CPatchAction>>;

class CPatch {
public:
    // Reads one "patch" element.
    CPatch(DRAVCommon::CDataFileReader& reader, const CModule& module);
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

// The first entry equal to `name`, or the end of the list.
std::list<std::string>::const_iterator FindName(const std::list<std::string>& names, const std::string& name);
std::list<std::string>::iterator FindName(std::list<std::string>& names, const std::string& name);

}  // namespace DRAV
