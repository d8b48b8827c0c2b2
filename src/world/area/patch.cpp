#include "world/area/patch.h"

#include <algorithm>

#include "common/data_file_reader.h"
#include "common/exception.h"
#include "rules/module.h"
#include "rules/vocabulary/read_word.h"
#include "script/script_loader.h"
#include "world/area/area_records.h"

namespace DRAV {

CPatchActionObject::CPatchActionObject(DRAVCommon::CDataFileReader& reader, const CModule& module) {
    reader.BeginBlock("object");
    if (reader.BeginGroup(2, false)) {
        templateName = ReadKeyOrEmpty(reader, "an object template");
        objectName = ReadKeyOrEmpty(reader, "an object name");
    } else {
        templateName = ReadKeyOrEmpty(reader, "an object template");
    }
    // The position may stand in parentheses or bare.
    reader.BeginGroup(2, false);
    x = reader.ReadDouble();
    y = reader.ReadDouble();
    facing = ReadFacing(reader);
    lockValue = reader.ReadUInt();
    ReadItemList(reader, module.GetItemTemplates(), items);
    reader.EndBlock();
}

}  // namespace DRAV

namespace DRAV {

namespace {

[[noreturn]] void FailElement(const DRAVCommon::CDataFileReader& reader, const std::string& what) {
    throw CDRAVException(DRAV_ERR_BAD_DATA, reader.GetSourceName() + ": " + what);
}

}  // namespace

std::shared_ptr<CPatchAction> CPatchAction::Load(DRAVCommon::CDataFileReader& reader, const CModule& module) {
    if (reader.IsBlock("removeobject")) return std::make_shared<CPatchActionRemoveObject>(reader);
    if (reader.IsBlock("object")) return std::make_shared<CPatchActionObject>(reader, module);
    if (reader.IsBlock("encounter")) return std::make_shared<CPatchActionEncounter>(reader);
    if (reader.IsBlock("tiles")) return std::make_shared<CPatchActionTiles>(reader);
    if (reader.IsBlock("effect")) return std::make_shared<CPatchActionEffect>(reader);
    if (reader.IsBlock("opendoor")) return std::make_shared<CPatchActionDoor>(reader, true);
    if (reader.IsBlock("closedoor")) return std::make_shared<CPatchActionDoor>(reader, false);
    FailElement(reader, "\"" + reader.GetToken() + "\" is not a patch action");
}

CPatchActionRemoveObject::CPatchActionRemoveObject(DRAVCommon::CDataFileReader& reader) {
    reader.BeginBlock("removeobject");
    objectName = ReadKeyOrEmpty(reader, "an object name");
    reader.EndBlock();
}

CPatchActionEncounter::CPatchActionEncounter(DRAVCommon::CDataFileReader& reader) {
    reader.BeginBlock("encounter");
    name = ReadKeyOrEmpty(reader, "an encounter name");
    reader.BeginGroup(2, false);
    column = reader.ReadUInt();
    row = reader.ReadUInt();
    text = reader.ReadQuoted();
    quest = ReadKeyOrEmpty(reader, "a quest name");
    respawn = reader.ReadBool();
    if (reader.IsBlock("stage")) {
        while (!reader.AtBlockEnd()) {
            reader.BeginBlock("stage");
            stages.push_back(ReadStage(reader, name));
            reader.EndBlock();
        }
    } else {
        stages.push_back(ReadStage(reader, name));
    }
    reader.EndBlock();
}

CEncounterStage CPatchActionEncounter::ReadStage(DRAVCommon::CDataFileReader& reader, const std::string& encounter) {
    CEncounterStage stage;
    while (!reader.AtBlockEnd()) {
        if (IsScriptBlock(reader)) {
            if (stage.script) FailElement(reader, "an encounter stage holds a second script");
            stage.script = LoadScript(reader, "encounter " + encounter);
        } else if (reader.BeginGroup(2, false)) {
            CEncounterMonster monster;
            monster.key = ReadKeyOrEmpty(reader, "a monster key");
            monster.completionTag = KeptWord(reader, ReadKeyOrEmpty(reader, "a completion tag"), "a completion tag");
            stage.monsters.push_back(std::move(monster));
        } else {
            stage.monsters.push_back({ReadKeyOrEmpty(reader, "a monster key"), std::string()});
        }
    }
    return stage;
}

CPatchTile::CPatchTile(DRAVCommon::CDataFileReader& reader) {
    ReadCellGroup(reader, "a patch tile", column, row);
    reader.BeginGroup(2, false);
    tileName = ReadKeyOrEmpty(reader, "a tile key");
    facing = ReadFacing(reader);
}

CPatchActionTiles::CPatchActionTiles(DRAVCommon::CDataFileReader& reader) {
    reader.BeginBlock("tiles");
    while (!reader.AtBlockEnd()) tiles.push_back(std::make_shared<CPatchTile>(reader));
    reader.EndBlock();
}

CPatchActionEffect::CPatchActionEffect(DRAVCommon::CDataFileReader& reader) {
    reader.BeginBlock("effect");
    reader.BeginGroup(2, false);
    x = reader.ReadDouble();
    y = reader.ReadDouble();
    effectName = ReadKeyOrEmpty(reader, "an effect name");
    params = std::make_shared<DRAVGraph::CEffectParams>(reader);
    reader.EndBlock();
}

CPatchActionDoor::CPatchActionDoor(DRAVCommon::CDataFileReader& reader, bool open) : open(open) {
    reader.BeginBlock(open ? "opendoor" : "closedoor");
    while (!reader.AtBlockEnd()) tileNames.push_back(ReadKeyOrEmpty(reader, "a door tile key"));
    reader.EndBlock();
}

CPatch::CPatch(DRAVCommon::CDataFileReader& reader, const CModule& module) {
    reader.BeginBlock("patch");
    m_name = ReadKeyOrEmpty(reader, "a patch name");
    m_triggerTag = ReadKeyOrEmpty(reader, "a trigger tag");
    while (!reader.AtBlockEnd()) m_actions.push_back(CPatchAction::Load(reader, module));
    reader.EndBlock();
}

std::list<std::string>::const_iterator FindName(const std::list<std::string>& names, const std::string& name) {
    return std::find(names.begin(), names.end(), name);
}

std::list<std::string>::iterator FindName(std::list<std::string>& names, const std::string& name) {
    return std::find(names.begin(), names.end(), name);
}

}  // namespace DRAV
