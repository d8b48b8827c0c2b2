// The module sweep's parts that the game itself must agree with: the modifier it
// puts into a definition is one the module load reads, and a save the played game
// cannot make or load back comes out as the game's fault, not as a refusal.

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "common/exception.h"
#include "engine/engine.h"
#include "rules/items/item_attribute.h"
#include "rules/magic/spell_apply.h"
#include "rules/magic/spell_apply_effect.h"
#include "rules/module.h"
#include "rules/monsters/actor_template.h"
#include "sample_play.h"
#include "support/overlay_source.h"
#include "support/sample_module.h"
#include "support/temp_dir.h"
#include "sweep/modifier_edits.h"

using namespace QuillmereSweep;

namespace {

constexpr std::int32_t kAmount = 2147483647;

bool HasInsertedModifier(const DRAV::CSpellApply& record) {
    for (const auto& part : record.GetParts()) {
        const auto* modify = dynamic_cast<const DRAV::CSpellApplyEffectModify*>(part.get());
        if (modify && modify->GetAmount() == kAmount && modify->GetMask() == DRAV::ModifierBit(DRAV::MOD_ACTION_SPEED))
            return true;
    }
    return false;
}

}  // namespace

TEST(SweepModifiers, TheGameReadsTheModifierPutIntoEveryMonsterAndItem) {
    const std::string element = ModifyElement(std::to_string(kAmount), "actionspeed");
    auto source = std::make_shared<QuillmereTest::OverlaySource>(QuillmereTest::SampleFolderSource(1));
    std::set<std::string> monsters, items;
    struct File {
        DRAVCommon::DataFileKind kind;
        const char* name;
        std::set<std::string>& keys;
    };
    for (const File& file : {File{DRAVCommon::DFK_GLOBAL, "global_monsters.drav", monsters},
                             File{DRAVCommon::DFK_CHAPTER, "monsters.drav", monsters},
                             File{DRAVCommon::DFK_GLOBAL, "global_items.drav", items},
                             File{DRAVCommon::DFK_CHAPTER, "items.drav", items}}) {
        const auto bytes = QuillmereTest::SampleFolderSource(1)->ReadAll(file.kind, DRAVCommon::DFS_NONE, file.name);
        std::string text(bytes->begin(), bytes->end());
        const std::vector<DefinitionSpot> spots = FindModifiableDefinitions(text);
        // From the last, so that the earlier spots stay where they were.
        for (auto spot = spots.rbegin(); spot != spots.rend(); ++spot)
            text = InsertIntoDefinition(text, *spot, element);
        for (const DefinitionSpot& spot : spots) file.keys.insert(spot.key);
        source->Add(file.kind, DRAVCommon::DFS_NONE, file.name, text);
    }

    DRAV::CEngine engine;
    engine.LoadModule(1, QuillmereFuzz::SampleVersion(), source);
    const DRAV::CModule& module = *engine.GetModule();
    std::set<std::string> loadedMonsters;
    for (const auto& [key, definition] : module.GetMonsterTemplates()) {
        loadedMonsters.insert(key);
        const auto& modifiers = definition->GetModifiers();
        EXPECT_TRUE(std::any_of(modifiers.begin(), modifiers.end(), [](const auto& record) {
            return HasInsertedModifier(*record);
        })) << key;
    }
    EXPECT_EQ(loadedMonsters, monsters);
    // The items the module makes of its spells have no definition to carry a modifier.
    std::size_t loadedItems = 0;
    for (const auto& [key, definition] : module.GetItemTemplates()) {
        if (!items.count(key)) continue;
        ++loadedItems;
        const auto* modify = dynamic_cast<const DRAV::CItemAttributeModify*>(
            definition->GetAttributes().back().get());
        EXPECT_TRUE(modify && HasInsertedModifier(*modify->GetModifier())) << key;
    }
    EXPECT_EQ(loadedItems, items.size());
    EXPECT_GT(items.size(), 30u);
}

TEST(SweepPlay, ASaveTheGameCannotMakeOrLoadIsItsOwnFault) {
    const QuillmereTest::TempDir folder;
    QuillmereFuzz::PlayPlan plan;
    plan.ticks = 20;
    plan.savePath = folder / "no such folder/play.drav";
    EXPECT_THROW(QuillmereFuzz::PlaySample(QuillmereTest::SampleFolderSource(1), plan), QuillmereFuzz::SaveNotLoaded);
}
