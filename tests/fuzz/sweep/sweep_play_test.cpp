// The module sweep's parts that the game itself must agree with: the modifier it
// puts into a definition is one the module load reads, the scripts it finds are
// every one of their kinds the game loads, the play makes each kind's script run,
// and a save the played game cannot make or load back comes out as the game's
// fault, not as a refusal.

#include <gtest/gtest.h>

#include <algorithm>
#include <ctime>
#include <functional>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "common/exception.h"
#include "engine/engine.h"
#include "engine/script_functions/script_function_lists.h"
#include "rules/items/item_attribute.h"
#include "rules/magic/spell_apply.h"
#include "rules/magic/spell_apply_effect.h"
#include "rules/module.h"
#include "rules/definitions/object_template.h"
#include "rules/definitions/quest_info.h"
#include "rules/definitions/talk_state.h"
#include "rules/monsters/actor_template.h"
#include "script/script.h"
#include "sample_play.h"
#include "support/overlay_source.h"
#include "support/sample_module.h"
#include "support/temp_dir.h"
#include "sweep/hostile_scripts.h"
#include "sweep/modifier_edits.h"
#include "sweep/script_edits.h"
#include "sweep/script_reach.h"
#include "world/game.h"

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

std::string SampleText(std::int32_t chapter, DRAVCommon::DataFileKind kind, const std::string& name) {
    const auto bytes = QuillmereTest::SampleFolderSource(chapter)->ReadAll(kind, DRAVCommon::DFS_NONE, name);
    return std::string(bytes->begin(), bytes->end());
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

TEST(SweepScripts, EveryConversationHeartbeatAndQuestTheGameLoadsIsFound) {
    const std::string found = "local found = \"sweep\"";
    struct File {
        DRAVCommon::DataFileKind kind;
        const char* name;
    };
    for (const std::int32_t chapter : {1, 2}) {
        SCOPED_TRACE(chapter);
        auto source = std::make_shared<QuillmereTest::OverlaySource>(QuillmereTest::SampleFolderSource(chapter));
        for (const File& file : {File{DRAVCommon::DFK_GLOBAL, "global_monsters.drav"},
                                 File{DRAVCommon::DFK_GLOBAL, "global_world.drav"},
                                 File{DRAVCommon::DFK_CHAPTER, "monsters.drav"},
                                 File{DRAVCommon::DFK_CHAPTER, "world.drav"},
                                 File{DRAVCommon::DFK_CHAPTER, "quests.drav"}}) {
            const std::string text = SampleText(chapter, file.kind, file.name);
            const std::vector<ScriptSpot> spots = FindScripts(text);
            std::vector<ScriptReplacement> everyOne;
            for (const ScriptSpot& spot : spots) everyOne.push_back({&spot, found});
            source->Add(file.kind, DRAVCommon::DFS_NONE, file.name, ReplaceScripts(text, everyOne));
        }

        DRAV::CEngine engine;
        engine.LoadModule(chapter, QuillmereFuzz::SampleVersion(), source);
        const DRAV::CModule& module = *engine.GetModule();
        std::size_t loaded = 0;
        auto expectFound = [&](const std::shared_ptr<DRAV::CScript>& script, const std::string& what) {
            if (!script) return;
            ++loaded;
            EXPECT_NE(script->GetSource().find(found), std::string::npos) << what;
        };
        auto expectStatesFound = [&](const DRAV::TalkStateList& states, const std::string& owner) {
            for (const auto& state : states) expectFound(state->GetScript(), owner + "/" + state->GetName());
        };
        for (const auto& [key, definition] : module.GetMonsterTemplates()) {
            expectStatesFound(definition->GetTalkStates(), key);
            expectFound(definition->GetHeartbeat(), key + " heartbeat");
        }
        for (const auto& [key, definition] : module.GetObjectTemplates())
            expectStatesFound(definition->GetTalkStates(), key);
        for (const auto& [name, quest] : module.GetQuests()) expectFound(quest->GetScript(), name);
        EXPECT_GT(loaded, 15u);
    }
}

TEST(SweepScripts, ThePlayRunsAScriptOfEachKindOverAndOver) {
    struct Case {
        std::int32_t chapter;
        const char* file;
        ScriptKind kind;
        const char* owner;
        const char* name;
    };
    const Case cases[] = {
        // Mother Hesk stands beyond talking reach among the kinds crowded round the party.
        {1, "monsters.drav", ScriptKind::TalkState, "ferry_keeper", "ferry"},
        // Objects the start area holds.
        {1, "world.drav", ScriptKind::TalkState, "heron_statue", "riddle"},
        {2, "world.drav", ScriptKind::TalkState, "chain_windlass", "release"},
        {1, "monsters.drav", ScriptKind::Heartbeat, "innkeeper", ""},
        // Waiting for no tag, and for a tag nobody sets at the start.
        {1, "quests.drav", ScriptKind::QuestCheck, "", "heron_riddle"},
        {1, "quests.drav", ScriptKind::QuestCheck, "", "boatwright_home"},
        // In the start area, and in the area the map leads to.
        {1, "reedwater_landing.drav", ScriptKind::AreaEntry, "", "trail"},
        {1, "reed_marsh.drav", ScriptKind::AreaEntry, "", "landing"},
    };
    const std::string counted =
        "drav_set_tag_value( context, \"sweep_runs\", drav_get_tag_value( context, \"sweep_runs\" ) + 1 ) "
        "return false";
    const QuillmereTest::TempDir folder;
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.file) + " " + c.owner + " " + c.name);
        const std::string text = SampleText(c.chapter, DRAVCommon::DFK_CHAPTER, c.file);
        const std::vector<ScriptSpot> spots = FindScripts(text);
        const auto spot = std::find_if(spots.begin(), spots.end(), [&](const ScriptSpot& candidate) {
            return candidate.kind == c.kind && candidate.owner == c.owner && candidate.name == c.name;
        });
        ASSERT_NE(spot, spots.end());
        auto source = std::make_shared<QuillmereTest::OverlaySource>(QuillmereTest::SampleFolderSource(c.chapter));
        source->Add(DRAVCommon::DFK_CHAPTER, DRAVCommon::DFS_NONE, c.file, ReplaceScripts(text, {{&*spot, counted}}));
        QuillmereFuzz::PlayPlan plan;
        plan.chapter = c.chapter;
        plan.ticks = 60;
        plan.savePath = folder / "play.drav";
        plan.maps = {c.chapter == 1 ? "reedwater_map" : "ashcombe_map"};
        const auto engine = QuillmereFuzz::PlaySample(source, ReachScript(plan, *spot, c.file));
        const DRAV::TagMap& tags = engine->GetGame()->GetQuestTags();
        const auto runs = tags.find("sweep_runs");
        ASSERT_NE(runs, tags.end());
        EXPECT_GE(runs->second, kReachRuns);
    }
}

// Once the module is taken, what goes wrong in a step is the game's own fault,
// whatever file it names, and never a refusal of the data.
// The scripts pass floods every native function of the game, and only those.
TEST(SweepScripts, EveryNativeFunctionIsFlooded) {
    std::set<std::string> flooded, natives;
    for (const auto& [name, call] : NativeFloodCalls({}, {}, "")) flooded.insert(name);
    for (const auto& function : DRAV::GetNativeScriptFunctions()) natives.insert(function.name);
    EXPECT_EQ(flooded, natives);
}

TEST(SweepPlay, WhatGoesWrongInPlayIsTheGamesFault) {
    using QuillmereFuzz::FaultKind;
    const QuillmereTest::TempDir folder;
    using Reach = std::function<void(DRAV::CEngine&)>;
    struct Row {
        const char* what;
        Reach reach;
        FaultKind kind;
        std::string savePath = {};
    };
    const Row rows[] = {
        {"a save the game cannot make", nullptr, FaultKind::SaveNotLoaded, folder / "no such folder/play.drav"},
        {"an error other than a script's",
         [](DRAV::CEngine&) { throw CDRAVException(DRAV_ERR_OUT_OF_RANGE, "world.drav: Game Error"); },
         FaultKind::GameError},
        {"a step that works longer than the plan allows",
         [](DRAV::CEngine&) {
             const std::clock_t end = std::clock() + CLOCKS_PER_SEC * 3 / 10;
             while (std::clock() < end) {
             }
         },
         FaultKind::SlowStep},
        {"a flood of events",
         [](DRAV::CEngine& engine) {
             for (int i = 0; i < 101; ++i) engine.GetGame()->PushMessage(0, "Hark.");
         },
         FaultKind::EventFlood},
    };
    for (const Row& row : rows) {
        QuillmereFuzz::PlayPlan plan;
        plan.ticks = 20;
        plan.stepSeconds = 0.25;
        plan.stepEvents = 100;
        plan.savePath = row.savePath.empty() ? folder / "play.drav" : row.savePath;
        if (row.reach)
            plan.reach = [&row](DRAV::CEngine& engine, const QuillmereFuzz::PlayPlan::Stepper& step) {
                step(row.what, [&] { row.reach(engine); });
            };
        try {
            QuillmereFuzz::PlaySample(QuillmereTest::SampleFolderSource(1), plan);
            ADD_FAILURE() << row.what << ": played";
        } catch (const QuillmereFuzz::PlayFault& fault) {
            EXPECT_EQ(fault.GetKind(), row.kind) << row.what << ": " << fault.what();
        }
    }
}

// The dock's entry sends the party back to the dock, then works until the game
// stops it at a quarter second of the processor's time: sixteen arrivals in a row,
// which the program makes in as many timer messages, each a step under the limit.
TEST(SweepPlay, EachArrivalOfAJourneyIsAStepOfItsOwn) {
    const QuillmereTest::TempDir folder;
    const std::string entry = "if not drav_check_and_set_tag( context, \"ferry_kit_given\" )";
    const std::string busy = "while true do drav_goto_area( context, \"reedwater_landing\", \"dock\" ) end ";
    QuillmereFuzz::PlayStats stats;
    QuillmereFuzz::PlayPlan plan;
    plan.ticks = 2;
    plan.stepSeconds = 1.0;
    plan.savePath = folder / "play.drav";
    plan.stats = &stats;
    EXPECT_NO_THROW(QuillmereFuzz::PlaySample(
        QuillmereTest::EditedSampleSource(DRAVCommon::DFK_CHAPTER, "reedwater_landing.drav", entry, busy + entry),
        plan));
    EXPECT_GT(stats.steps, 16u) << "the arrivals were steps";
}
