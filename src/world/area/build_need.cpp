#include "world/area/build_need.h"

#include "common/data_file.h"
#include "common/data_file_reader.h"
#include "common/exception.h"
#include "rules/module.h"
#include "rules/monsters/actor_template.h"
#include "rules/monsters/store_template.h"
#include "world/area/patch.h"

namespace DRAV {
namespace {

std::uint64_t ObjectNeed(const CPatchActionObject& object) { return 1 + object.items.size(); }

// A monster, what it carries and drops, and the store its kind opens once a game.
std::uint64_t EncounterNeed(const CPatchActionEncounter& encounter, const CModule& module) {
    std::uint64_t need = 0;
    for (const CEncounterStage& stage : encounter.stages) {
        for (const CEncounterMonster& monster : stage.monsters) {
            ++need;
            const CActorTemplate* definition = module.FindMonsterTemplate(monster.key);
            if (!definition) continue;
            need += definition->GetItems().size() + definition->GetDropItems().size();
            if (definition->GetStore()) need += definition->GetStore()->GetItems().size();
        }
    }
    return need;
}

std::uint64_t PatchNeed(const CPatch& patch, const CModule& module) {
    std::uint64_t need = 0;
    for (const std::shared_ptr<CPatchAction>& action : patch.GetActions()) {
        if (action->GetType() == PATCH_OBJECT) need += ObjectNeed(static_cast<const CPatchActionObject&>(*action));
        if (action->GetType() == PATCH_ENCOUNTER)
            need += EncounterNeed(static_cast<const CPatchActionEncounter&>(*action), module);
    }
    return need;
}

}  // namespace

std::uint64_t MostSerialsABuildTakes(const CModule& module, const std::string& areaName) {
    if (!module.GetPackage()) throw CDRAVException(DRAV_ERR_BAD_DATA, "no data source to read area " + areaName);
    DRAVCommon::CDataFileReader reader(*module.GetPackage(), DRAVCommon::DFK_CHAPTER, DRAVCommon::DFS_NONE,
                                       areaName + ".drav");
    std::uint64_t need = 0;
    reader.BeginBlock("area");
    reader.ReadQuoted();
    reader.ReadBool();
    while (!reader.AtBlockEnd()) {
        const std::string element = reader.PeekBlockName();
        if (element.empty()) reader.Fail(DRAV_ERR_BAD_DATA, "expected an element of the area");
        if (element != "objects" && element != "encounters" && element != "exits" && element != "patches") {
            reader.SkipBlock(element);
            continue;
        }
        reader.BeginBlock(element);
        while (!reader.AtBlockEnd()) {
            if (element == "objects") {
                need += ObjectNeed(CPatchActionObject(reader, module));
            } else if (element == "encounters") {
                need += EncounterNeed(CPatchActionEncounter(reader), module);
            } else if (element == "exits") {
                reader.SkipBlock("exit");
                ++need;
            } else {
                need += PatchNeed(CPatch(reader, module), module);
            }
        }
        reader.EndBlock();
    }
    return need;
}

}  // namespace DRAV
