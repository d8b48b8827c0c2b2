// The Reedwater monsters loaded with the engine's brains: every definition can
// be made into an actor, every AI type appears, and copies are the actors' own.

#include <gtest/gtest.h>

#include <memory>
#include <set>
#include <string>
#include <typeinfo>

#include "engine/brain/ai_cast.h"
#include "engine/brain/ai_simple.h"
#include "engine/brain/ai_wands_sing.h"
#include "engine/brain/brain.h"
#include "engine/brain/brain_functions.h"
#include "rules/module.h"
#include "rules/monsters/actor_template.h"
#include "rules/rules_test_util.h"
#include "support/sample_brains.h"
#include "support/sample_module.h"

namespace DRAV {
namespace {

using QuillmereTest::SampleWithBrains;

void AddAIType(const std::shared_ptr<CAI>& ai, std::set<std::string>& types) {
    if (!ai) return;
    const CAI& object = *ai;
    types.insert(typeid(object).name());
}

TEST(MonsterBrain, EverySampleMonsterCanBeMadeAndEveryAITypeAppears) {
    std::set<std::string> types;
    for (const auto& [key, monster] : SampleWithBrains().GetMonsterTemplates()) {
        SCOPED_TRACE(key);
        EXPECT_NO_THROW(monster->Validate());
        ASSERT_NE(monster->GetBrain(), nullptr);
        AddAIType(monster->GetBrain()->GetPeacefulAI(), types);
        AddAIType(monster->GetBrain()->GetCombatAI(), types);
    }
    // The wrapping AIs stand in combat; their backups are charges, counted already.
    for (const auto& name : {typeid(CAIStand).name(), typeid(CAICharge).name(), typeid(CAICast).name(),
                             typeid(CAIForceTalk).name(), typeid(CAIWander).name(), typeid(CAIShoot).name(),
                             typeid(CAIAutocast).name(), typeid(CAIWands).name(), typeid(CAISing).name(),
                             typeid(CAIFollowParty).name()})
        EXPECT_TRUE(types.count(name)) << name;
}

TEST(MonsterBrain, InheritedBrainsAreSharedByDefinitionsAndCopiedForActors) {
    // A lookout written without a brain of its own keeps the smuggler's; the old
    // ferryman has his own.
    CModule edited;
    edited.SetBrainFunctions(GetBrainFunctions());
    edited.Load(1, nullptr,
                QuillmereTest::EditedSampleSource(DRAVCommon::DFK_CHAPTER, "monsters.drav",
                                                  "<brain> neutral true 4 <tags> smugglers_alarm </tags> <tags> "
                                                  "smugglers_alarm </tags>\n   <ai> stand </ai> <ai> shoot </ai>\n  </brain>",
                                                  ""));
    const CActorTemplate& lookout = *edited.FindMonsterTemplate("smuggler_lookout");
    const CActorTemplate& smuggler = *edited.FindMonsterTemplate("reed_smuggler");
    EXPECT_EQ(lookout.GetBrain(), smuggler.GetBrain());

    auto copy = lookout.CopyBrain();
    ASSERT_NE(copy, nullptr);
    EXPECT_NE(copy, lookout.GetBrain());
    EXPECT_EQ(copy->GetRelation(), RELATION_NEUTRAL);
    EXPECT_EQ(copy->GetProximityRange(), smuggler.GetBrain()->GetProximityRange());
    EXPECT_EQ(copy->GetFireTags(), smuggler.GetBrain()->GetFireTags());
    EXPECT_NE(copy->GetPeacefulAI(), smuggler.GetBrain()->GetPeacefulAI());

    const CActorTemplate& base = *edited.FindMonsterTemplate("ferryman");
    EXPECT_NE(edited.FindMonsterTemplate("ferryman_elder")->GetBrain(), base.GetBrain());
    const CActorTemplate& keeper = *edited.FindMonsterTemplate("ferry_keeper");
    EXPECT_EQ(keeper.GetBrain()->GetProximityTag(), "ferry_closed");
    EXPECT_NE(keeper.GetBrain(), base.GetBrain());
}

TEST(MonsterBrain, AnActorsBrainRoundTripsThroughItsSavedForm) {
    for (const char* key : {"marsh_spirit", "smuggler_captain", "landing_trader", "marsh_wisp", "ferryman"}) {
        SCOPED_TRACE(key);
        auto brain = SampleWithBrains().FindMonsterTemplate(key)->CopyBrain();
        brain->SetEquipped(true);
        const std::string text = RulesTest::WrittenText([&](auto& writer) { brain->SaveState(writer); });
        auto reader = RulesTest::ReaderOver(text);
        auto loaded = SampleWithBrains().FindMonsterTemplate(key)->CopyBrain();
        EXPECT_FALSE(loaded->IsEquipped());
        loaded->LoadState(*reader);
        EXPECT_TRUE(reader->AtEnd());
        EXPECT_TRUE(loaded->IsEquipped());
        EXPECT_EQ(RulesTest::WrittenText([&](auto& writer) { loaded->SaveState(writer); }), text);
    }
}

TEST(MonsterBrain, ABrokenBrainNamesTheMonster) {
    CModule module;
    module.SetBrainFunctions(GetBrainFunctions());
    auto reader = RulesTest::ReaderOver("<monster2> heron <brain> neutral false 0 <tags> </tags> <tags> </tags>"
                                        " <ai> dance </ai> <ai> charge </ai> </brain> </monster2>");
    RulesTest::ExpectThrowsCode([&] { CActorTemplate(*reader, module); }, 1, "monster \"heron\": test.drav");
}

}  // namespace
}  // namespace DRAV
