// Every actor gets its own copy of the definition's brain, and a brain's run-time
// state travels through saved games.

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "engine/brain/ai_cast.h"
#include "engine/brain/ai_simple.h"
#include "engine/brain/ai_wands_sing.h"
#include "engine/brain/brain.h"
#include "rules/rules_test_util.h"
#include "support/error_code.h"

namespace DRAV {
namespace {

using RulesTest::ReaderOver;
using RulesTest::WrittenText;

std::shared_ptr<CBrain> LoadBrain(const std::string& peaceful, const std::string& combat) {
    auto reader = ReaderOver("<brain> neutral true <proximity> 20 alarm </proximity> <tags> bell </tags>"
                             " <tags> horn drum </tags> <ai> " + peaceful + " </ai> <ai> " + combat +
                             " </ai> </brain>");
    auto brain = std::make_shared<CBrain>();
    brain->Load(*reader);
    return brain;
}

template <typename T>
std::shared_ptr<T> As(const std::shared_ptr<CAI>& ai) {
    auto typed = std::dynamic_pointer_cast<T>(ai);
    EXPECT_NE(typed, nullptr);
    return typed;
}

// Stands in for a spell definition: the AIs only keep the address.
const CSpell* FakeSpell(int n) { return reinterpret_cast<const CSpell*>(static_cast<std::uintptr_t>(0x1000 + 16 * n)); }

TEST(BrainClone, CopiesDefinitionDataAndStartsFresh) {
    auto prototype = LoadBrain("wander 12", "cast mist snare <ai> charge spellcaster </ai>");
    prototype->SetEquipped(true);
    prototype->QueueFireTags();
    As<CAIWander>(prototype->GetPeacefulAI())->SetHome(40.0, 52.5);

    auto clone = prototype->Clone();
    EXPECT_EQ(clone->GetRelation(), RELATION_NEUTRAL);
    EXPECT_TRUE(clone->IsHostileWhenAttacked());
    EXPECT_DOUBLE_EQ(clone->GetProximityRange(), 20.0);
    EXPECT_EQ(clone->GetProximityTag(), "alarm");
    EXPECT_EQ(clone->GetTriggerTags(), (std::vector<std::string>{"bell"}));
    EXPECT_EQ(clone->GetFireTags(), (std::vector<std::string>{"horn", "drum"}));
    EXPECT_FALSE(clone->IsEquipped());
    EXPECT_TRUE(clone->GetPendingTags().empty());
    EXPECT_EQ(prototype->GetPendingTags(), (std::vector<std::string>{"horn", "drum"}));

    // Each actor works on its own AI objects.
    EXPECT_NE(clone->GetPeacefulAI(), prototype->GetPeacefulAI());
    EXPECT_NE(clone->GetCombatAI(), prototype->GetCombatAI());
    auto wander = As<CAIWander>(clone->GetPeacefulAI());
    EXPECT_DOUBLE_EQ(wander->GetRadius(), 12.0);
    EXPECT_DOUBLE_EQ(wander->GetHomeX(), 40.0);  // the home is kept
    EXPECT_DOUBLE_EQ(wander->GetHomeY(), 52.5);
    wander->SetHome(1.0, 2.0);
    EXPECT_DOUBLE_EQ(As<CAIWander>(prototype->GetPeacefulAI())->GetHomeX(), 40.0);
}

TEST(BrainClone, CastingAIsStartOver) {
    auto prototype = LoadBrain("autocast summon heal", "cast mist snare <ai> charge spellcaster </ai>");
    auto cast = As<CAICast>(prototype->GetCombatAI());
    cast->SetNextSpellIndex(2);
    cast->SetLastCastTick(9000);
    cast->SetOutOfPotions();
    cast->GetSpellLists().sorted = true;
    cast->GetSpellLists().damage.push_back(FakeSpell(1));
    As<CAICharge>(cast->GetBackup())->SetChosenPower(FakeSpell(2));
    As<CAICharge>(cast->GetBackup())->SetPowerStarted(true);
    auto autocast = As<CAIAutocast>(prototype->GetPeacefulAI());
    autocast->SetNextTick(AUTOCAST_TIMER_AID, 777);
    autocast->GetSpellLists().sorted = true;
    autocast->GetSpellLists().heal.push_back(FakeSpell(3));

    auto clone = prototype->Clone();
    auto castClone = As<CAICast>(clone->GetCombatAI());
    EXPECT_EQ(castClone->GetSpellNames(), (std::vector<std::string>{"mist", "snare"}));
    EXPECT_EQ(castClone->GetNextSpellIndex(), 0u);
    EXPECT_EQ(castClone->GetLastCastTick(), 0u);
    EXPECT_FALSE(castClone->IsOutOfPotions());
    EXPECT_FALSE(castClone->GetSpellLists().sorted);
    EXPECT_TRUE(castClone->GetSpellLists().damage.empty());
    ASSERT_NE(castClone->GetBackup(), cast->GetBackup());
    auto chargeClone = As<CAICharge>(castClone->GetBackup());
    EXPECT_EQ(chargeClone->GetFlags(), TARGET_PREFER_CASTERS);
    EXPECT_FALSE(chargeClone->IsPowerChosen());
    EXPECT_EQ(chargeClone->GetPower(), nullptr);
    EXPECT_FALSE(chargeClone->IsPowerStarted());

    auto autocastClone = As<CAIAutocast>(clone->GetPeacefulAI());
    EXPECT_EQ(autocastClone->GetCategories(), static_cast<std::uint32_t>(AUTOCAST_SUMMON | AUTOCAST_HEAL));
    EXPECT_EQ(autocastClone->GetNextTick(AUTOCAST_TIMER_AID), 0u);
    EXPECT_FALSE(autocastClone->GetSpellLists().sorted);
    EXPECT_TRUE(autocastClone->GetSpellLists().heal.empty());

    // Changing the clone leaves the prototype alone.
    castClone->SetNextSpellIndex(5);
    chargeClone->SetChosenPower(nullptr);
    EXPECT_EQ(cast->GetNextSpellIndex(), 2u);
    EXPECT_EQ(As<CAICharge>(cast->GetBackup())->GetPower(), FakeSpell(2));
}

TEST(BrainClone, WrappersCloneTheirBackupAndForgetTheirChoices) {
    auto prototype = LoadBrain("sing <ai> forcetalk 30 greeted </ai>", "wands <ai> stand sneak </ai>");
    auto sing = As<CAISing>(prototype->GetPeacefulAI());
    sing->SetChosenSong(FakeSpell(4));
    auto wands = As<CAIWands>(prototype->GetCombatAI());
    wands->SetOutOfWands();

    auto clone = prototype->Clone();
    auto singClone = As<CAISing>(clone->GetPeacefulAI());
    EXPECT_FALSE(singClone->IsSongChosen());
    EXPECT_EQ(singClone->GetSong(), nullptr);
    ASSERT_NE(singClone->GetBackup(), sing->GetBackup());
    auto talk = As<CAIForceTalk>(singClone->GetBackup());
    EXPECT_EQ(talk->GetRange(), 30u);
    EXPECT_EQ(talk->GetTags(), (std::vector<std::string>{"greeted"}));

    auto wandsClone = As<CAIWands>(clone->GetCombatAI());
    EXPECT_FALSE(wandsClone->IsOutOfWands());
    ASSERT_NE(wandsClone->GetBackup(), wands->GetBackup());
    EXPECT_TRUE(As<CAIStand>(wandsClone->GetBackup())->GetSneak());
    EXPECT_TRUE(sing->IsSongChosen());
}

TEST(BrainClone, BrainThatWasNeverLoaded) {
    CBrain empty;
    auto clone = empty.Clone();
    EXPECT_EQ(clone->GetRelation(), RELATION_PARTY);
    EXPECT_EQ(clone->GetPeacefulAI(), nullptr);
    EXPECT_EQ(clone->GetCombatAI(), nullptr);
    const std::string text = WrittenText([&](DRAVCommon::CDataFileWriter& writer) { clone->SaveState(writer); });
    EXPECT_EQ(text, "<brain>\n false\n</brain>\n");
    auto reader = ReaderOver("<brain> true </brain>");
    clone->LoadState(*reader);
    EXPECT_TRUE(clone->IsEquipped());
}

TEST(BrainClone, FireTagsQueueAndAreTakenOnce) {
    auto brain = LoadBrain("stand", "shoot");
    brain->QueueFireTags();
    brain->QueueFireTags();
    EXPECT_EQ(brain->TakePendingTags(), (std::vector<std::string>{"horn", "drum", "horn", "drum"}));
    EXPECT_TRUE(brain->GetPendingTags().empty());
    EXPECT_TRUE(brain->TakePendingTags().empty());
}

TEST(BrainState, CastWithNestedBackupLayout) {
    auto brain = LoadBrain("stand", "cast mist <ai> wander 8 </ai>");
    brain->SetEquipped(true);
    auto cast = As<CAICast>(brain->GetCombatAI());
    cast->SetNextSpellIndex(1);
    cast->SetLastCastTick(123456);
    As<CAIWander>(cast->GetBackup())->SetHome(37.5, 12.25);

    const std::string text = WrittenText([&](DRAVCommon::CDataFileWriter& writer) { brain->SaveState(writer); });
    EXPECT_EQ(text,
              "<brain>\n"
              " true\n"
              " <ai-cast>\n"
              "  1\n"
              "  123456\n"
              "  <ai-wander>\n"
              "   37.5\n"
              "   12.25\n"
              "  </ai-wander>\n"
              " </ai-cast>\n"
              "</brain>\n");

    // A fresh actor of the same definition picks the state up again.
    auto loaded = LoadBrain("stand", "cast mist <ai> wander 8 </ai>")->Clone();
    auto reader = ReaderOver(text);
    loaded->LoadState(*reader);
    EXPECT_TRUE(reader->AtEnd());
    EXPECT_TRUE(loaded->IsEquipped());
    auto loadedCast = As<CAICast>(loaded->GetCombatAI());
    EXPECT_EQ(loadedCast->GetNextSpellIndex(), 1u);
    EXPECT_EQ(loadedCast->GetLastCastTick(), 123456u);
    auto wander = As<CAIWander>(loadedCast->GetBackup());
    EXPECT_DOUBLE_EQ(wander->GetHomeX(), 37.5);
    EXPECT_DOUBLE_EQ(wander->GetHomeY(), 12.25);
    EXPECT_DOUBLE_EQ(wander->GetRadius(), 8.0);
}

TEST(BrainState, EveryStateBlockRoundTrips) {
    auto brain = LoadBrain("sing <ai> autocast aid maybedamage </ai>",
                           "wands <ai> cast <ai> forcetalk 3 </ai> </ai>");
    auto autocast = As<CAIAutocast>(As<CAISing>(brain->GetPeacefulAI())->GetBackup());
    autocast->SetNextTick(AUTOCAST_TIMER_SUMMON, 11);
    autocast->SetNextTick(AUTOCAST_TIMER_HINDER, 22);
    autocast->SetNextTick(AUTOCAST_TIMER_AID, 4000000000u);
    autocast->SetNextTick(AUTOCAST_TIMER_MAYBEDAMAGE, 44);
    As<CAICast>(As<CAIWands>(brain->GetCombatAI())->GetBackup())->SetLastCastTick(5);

    const std::string text = WrittenText([&](DRAVCommon::CDataFileWriter& writer) { brain->SaveState(writer); });
    EXPECT_EQ(text,
              "<brain>\n false\n <ai-sing>\n  <ai-autocast>\n   11\n   22\n   4000000000\n   44\n  </ai-autocast>\n"
              " </ai-sing>\n <ai-wands>\n  <ai-cast>\n   0\n   5\n  </ai-cast>\n </ai-wands>\n</brain>\n");

    auto loaded = brain->Clone();
    auto reader = ReaderOver(text);
    loaded->LoadState(*reader);
    const std::string again = WrittenText([&](DRAVCommon::CDataFileWriter& writer) { loaded->SaveState(writer); });
    EXPECT_EQ(again, text);
}

TEST(BrainState, MismatchedOrMalformedBlocksFail) {
    auto castBrain = [] { return LoadBrain("stand", "cast mist <ai> wander 8 </ai>")->Clone(); };
    auto codeOf = [&](const std::string& text) {
        auto brain = castBrain();
        auto reader = ReaderOver(text);
        return QuillmereTest::ErrorCodeOf([&] { brain->LoadState(*reader); });
    };
    const std::string good = "<brain> true <ai-cast> 1 2 <ai-wander> 3 4 </ai-wander> </ai-cast> </brain>";
    EXPECT_EQ(codeOf(good), 0);
    // A saved game written while the definition had another AI.
    EXPECT_EQ(codeOf("<brain> true <ai-autocast> 1 2 3 4 </ai-autocast> </brain>"), 1);
    EXPECT_EQ(codeOf("<brain> true <ai-cast> 1 2 <ai-sing> </ai-sing> </ai-cast> </brain>"), 1);
    EXPECT_EQ(codeOf("<brain> true </brain>"), 1);
    EXPECT_EQ(codeOf("<brain> maybe <ai-cast> 1 2 <ai-wander> 3 4 </ai-wander> </ai-cast> </brain>"), 1);
    EXPECT_EQ(codeOf("<brain> true <ai-cast> -1 2 <ai-wander> 3 4 </ai-wander> </ai-cast> </brain>"), 1);
    EXPECT_EQ(codeOf("<brain> true <ai-cast> 1 2 <ai-wander> 3 x </ai-wander> </ai-cast> </brain>"), 1);
    EXPECT_EQ(codeOf("<brain> true <ai-cast> 1 2 <ai-wander> 3 4 5 </ai-wander> </ai-cast> </brain>"), 1);
    EXPECT_EQ(codeOf("<brain> true <ai-cast> 1 <ai-wander> 3 4 </ai-wander> </ai-cast> </brain>"), 1);

    // Stateless AIs read nothing: a block where none belongs is left over for the brain's end.
    auto stand = LoadBrain("stand", "shoot")->Clone();
    auto reader = ReaderOver("<brain> false <ai-wander> 1 2 </ai-wander> </brain>");
    EXPECT_EQ(QuillmereTest::ErrorCodeOf([&] { stand->LoadState(*reader); }), 1);
}

}  // namespace
}  // namespace DRAV

namespace DRAV {
namespace {

TEST(BrainClone, WrappingAIsRefuseAMissingBackup) {
    EXPECT_EQ(QuillmereTest::ErrorCodeOf([] { CAICast({"mist"}, nullptr); }), DRAV_ERR_UNEXPECTED);
    EXPECT_EQ(QuillmereTest::ErrorCodeOf([] { CAIWands(nullptr); }), DRAV_ERR_UNEXPECTED);
    EXPECT_EQ(QuillmereTest::ErrorCodeOf([] { CAISing(nullptr); }), DRAV_ERR_UNEXPECTED);
    EXPECT_EQ(QuillmereTest::ErrorCodeOf([] { CAISing(std::make_shared<CAIShoot>()); }), 0);
}

}  // namespace
}  // namespace DRAV
