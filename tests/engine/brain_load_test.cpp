// Reading the "brain" element of a monster definition and the AIs inside it.

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "engine/brain/ai_cast.h"
#include "engine/brain/ai_simple.h"
#include "engine/brain/ai_wands_sing.h"
#include "engine/brain/brain.h"
#include "rules/rules_test_util.h"
#include "support/expect_drav.h"
#include "support/error_code.h"

namespace DRAV {
namespace {

using RulesTest::ReaderOver;

std::shared_ptr<CBrain> LoadBrain(const std::string& text) {
    auto reader = ReaderOver(text);
    auto brain = std::make_shared<CBrain>();
    brain->Load(*reader);
    EXPECT_TRUE(reader->AtEnd()) << "left over: " << reader->GetToken();
    return brain;
}

// A brain whose peaceful AI is `peaceful` and whose combat AI charges.
std::string BrainWith(const std::string& peaceful) {
    return "<brain> neutral false 0 <tags> </tags> <tags> </tags> <ai> " + peaceful + " </ai> <ai> charge </ai> </brain>";
}

std::int32_t LoadCode(const std::string& text) {
    return QuillmereTest::ErrorCodeOf([&] { LoadBrain(text); });
}

TEST(BrainLoad, BareRangeAndTagLists) {
    auto brain = LoadBrain(R"(
        <brain>
          hostile true 12.5
          <tags> bell_rung smugglers_alarm </tags>
          <tags> warden_called </tags>
          <ai> stand </ai>
          <ai> shoot </ai>
        </brain>)");
    EXPECT_EQ(brain->GetRelation(), RELATION_HOSTILE);
    EXPECT_TRUE(brain->IsHostileWhenAttacked());
    EXPECT_DOUBLE_EQ(brain->GetProximityRange(), 12.5);
    EXPECT_EQ(brain->GetProximityTag(), "");
    EXPECT_EQ(brain->GetTriggerTags(), (std::vector<std::string>{"bell_rung", "smugglers_alarm"}));
    EXPECT_EQ(brain->GetFireTags(), (std::vector<std::string>{"warden_called"}));
    EXPECT_NE(std::dynamic_pointer_cast<CAIStand>(brain->GetPeacefulAI()), nullptr);
    EXPECT_NE(std::dynamic_pointer_cast<CAIShoot>(brain->GetCombatAI()), nullptr);
    EXPECT_FALSE(brain->IsEquipped());
    EXPECT_TRUE(brain->GetPendingTags().empty());
}

TEST(BrainLoad, ProximityBlockWithAndWithoutTag) {
    auto tagged = LoadBrain(
        "<brain> neutral false <proximity> 30 ferry_closed </proximity> <tags> </tags> <tags> </tags>"
        " <ai> followparty </ai> <ai> charge </ai> </brain>");
    EXPECT_DOUBLE_EQ(tagged->GetProximityRange(), 30.0);
    EXPECT_EQ(tagged->GetProximityTag(), "ferry_closed");
    EXPECT_TRUE(tagged->GetTriggerTags().empty());
    EXPECT_TRUE(tagged->GetFireTags().empty());

    auto untagged = LoadBrain(
        "<brain> berserk false <proximity> 7.5 0 </proximity> <tags> </tags> <tags> </tags>"
        " <ai> stand </ai> <ai> charge </ai> </brain>");
    EXPECT_EQ(untagged->GetRelation(), RELATION_BERSERK);
    EXPECT_DOUBLE_EQ(untagged->GetProximityRange(), 7.5);
    EXPECT_EQ(untagged->GetProximityTag(), "");
}

TEST(BrainLoad, EveryRelationWord) {
    const std::pair<const char*, Relation> words[] = {
        {"party", RELATION_PARTY},     {"friendly", RELATION_FRIENDLY}, {"neutral", RELATION_NEUTRAL},
        {"hostile", RELATION_HOSTILE}, {"berserk", RELATION_BERSERK},   {"surrender", RELATION_SURRENDER},
    };
    for (const auto& [word, relation] : words) {
        auto brain = LoadBrain(std::string("<brain> ") + word +
                               " false 0 <tags> </tags> <tags> </tags> <ai> stand </ai> <ai> stand </ai> </brain>");
        EXPECT_EQ(brain->GetRelation(), relation) << word;
    }
}

TEST(BrainLoad, SimpleAIData) {
    auto stand = std::dynamic_pointer_cast<CAIStand>(LoadBrain(BrainWith("stand sneak"))->GetPeacefulAI());
    ASSERT_NE(stand, nullptr);
    EXPECT_TRUE(stand->GetSneak());
    auto plain = std::dynamic_pointer_cast<CAIStand>(LoadBrain(BrainWith("stand"))->GetPeacefulAI());
    ASSERT_NE(plain, nullptr);
    EXPECT_FALSE(plain->GetSneak());

    auto charge = std::dynamic_pointer_cast<CAICharge>(LoadBrain(BrainWith("charge spellcaster"))->GetPeacefulAI());
    ASSERT_NE(charge, nullptr);
    EXPECT_EQ(charge->GetFlags(), TARGET_PREFER_CASTERS);
    auto combat = std::dynamic_pointer_cast<CAICharge>(LoadBrain(BrainWith("stand"))->GetCombatAI());
    ASSERT_NE(combat, nullptr);
    EXPECT_EQ(combat->GetFlags(), 0u);
    EXPECT_FALSE(combat->IsPowerChosen());

    auto talk =
        std::dynamic_pointer_cast<CAIForceTalk>(LoadBrain(BrainWith("forcetalk 40 met_ferrywoman fare_paid"))->GetPeacefulAI());
    ASSERT_NE(talk, nullptr);
    EXPECT_EQ(talk->GetRange(), 40u);
    EXPECT_EQ(talk->GetTags(), (std::vector<std::string>{"met_ferrywoman", "fare_paid"}));
    auto quiet = std::dynamic_pointer_cast<CAIForceTalk>(LoadBrain(BrainWith("forcetalk 15"))->GetPeacefulAI());
    ASSERT_NE(quiet, nullptr);
    EXPECT_TRUE(quiet->GetTags().empty());

    auto wander = std::dynamic_pointer_cast<CAIWander>(LoadBrain(BrainWith("wander 17.5"))->GetPeacefulAI());
    ASSERT_NE(wander, nullptr);
    EXPECT_DOUBLE_EQ(wander->GetRadius(), 17.5);
    EXPECT_EQ(wander->GetHomeX(), 0.0);
    EXPECT_EQ(wander->GetHomeY(), 0.0);

    EXPECT_NE(std::dynamic_pointer_cast<CAIShoot>(LoadBrain(BrainWith("shoot"))->GetPeacefulAI()), nullptr);
    EXPECT_NE(std::dynamic_pointer_cast<CAIFollowParty>(LoadBrain(BrainWith("followparty"))->GetPeacefulAI()),
              nullptr);
}

TEST(BrainLoad, CastingAIData) {
    auto cast = std::dynamic_pointer_cast<CAICast>(
        LoadBrain(BrainWith("cast river_mist reed_snare <ai> charge spellcaster </ai>"))->GetPeacefulAI());
    ASSERT_NE(cast, nullptr);
    EXPECT_EQ(cast->GetSpellNames(), (std::vector<std::string>{"river_mist", "reed_snare"}));
    auto backup = std::dynamic_pointer_cast<CAICharge>(cast->GetBackup());
    ASSERT_NE(backup, nullptr);
    EXPECT_EQ(backup->GetFlags(), TARGET_PREFER_CASTERS);
    EXPECT_EQ(cast->GetNextSpellIndex(), 0u);
    EXPECT_EQ(cast->GetLastCastTick(), 0u);
    EXPECT_FALSE(cast->GetSpellLists().sorted);

    auto noSpells = std::dynamic_pointer_cast<CAICast>(LoadBrain(BrainWith("cast <ai> shoot </ai>"))->GetPeacefulAI());
    ASSERT_NE(noSpells, nullptr);
    EXPECT_TRUE(noSpells->GetSpellNames().empty());

    auto autocast = std::dynamic_pointer_cast<CAIAutocast>(
        LoadBrain(BrainWith("autocast summon hinder aid heal damage maybedamage"))->GetPeacefulAI());
    ASSERT_NE(autocast, nullptr);
    EXPECT_EQ(autocast->GetCategories(), 63u);
    auto healer = std::dynamic_pointer_cast<CAIAutocast>(LoadBrain(BrainWith("autocast heal heal"))->GetPeacefulAI());
    ASSERT_NE(healer, nullptr);
    EXPECT_EQ(healer->GetCategories(), static_cast<std::uint32_t>(AUTOCAST_HEAL));
    for (auto timer : {AUTOCAST_TIMER_SUMMON, AUTOCAST_TIMER_HINDER, AUTOCAST_TIMER_AID, AUTOCAST_TIMER_MAYBEDAMAGE})
        EXPECT_EQ(healer->GetNextTick(timer), 0u);
}

TEST(BrainLoad, NestedBackupAIs) {
    auto brain = LoadBrain(BrainWith("sing <ai> wands <ai> cast river_mist <ai> wander 10 </ai> </ai> </ai>"));
    auto sing = std::dynamic_pointer_cast<CAISing>(brain->GetPeacefulAI());
    ASSERT_NE(sing, nullptr);
    EXPECT_FALSE(sing->IsSongChosen());
    auto wands = std::dynamic_pointer_cast<CAIWands>(sing->GetBackup());
    ASSERT_NE(wands, nullptr);
    EXPECT_FALSE(wands->IsOutOfWands());
    auto cast = std::dynamic_pointer_cast<CAICast>(wands->GetBackup());
    ASSERT_NE(cast, nullptr);
    EXPECT_EQ(cast->GetSpellNames(), (std::vector<std::string>{"river_mist"}));
    auto wander = std::dynamic_pointer_cast<CAIWander>(cast->GetBackup());
    ASSERT_NE(wander, nullptr);
    EXPECT_DOUBLE_EQ(wander->GetRadius(), 10.0);
}

TEST(BrainLoad, MalformedAIDefinitions) {
    EXPECT_EQ(LoadCode(BrainWith("Stand")), 1);           // type words are case-sensitive
    EXPECT_EQ(LoadCode(BrainWith("idle")), 1);
    EXPECT_EQ(LoadCode(BrainWith("wander")), 1);          // the radius is required
    EXPECT_EQ(LoadCode(BrainWith("wander far")), 1);
    EXPECT_EQ(LoadCode(BrainWith("wander 5 6")), 1);      // a word left over
    EXPECT_EQ(LoadCode(BrainWith("stand sneak quietly")), 1);
    EXPECT_EQ(LoadCode(BrainWith("charge sneak")), 1);
    EXPECT_EQ(LoadCode(BrainWith("forcetalk")), 1);
    EXPECT_EQ(LoadCode(BrainWith("forcetalk -3")), 1);
    EXPECT_EQ(LoadCode(BrainWith("forcetalk near met")), 1);
    EXPECT_EQ(LoadCode(BrainWith("shoot arrows")), 1);
    EXPECT_EQ(LoadCode(BrainWith("followparty closely")), 1);
    EXPECT_EQ(LoadCode(BrainWith("autocast summon burn")), 1);
    EXPECT_EQ(LoadCode(BrainWith("cast river_mist")), 1);  // no backup AI
    EXPECT_EQ(LoadCode(BrainWith("cast river_mist <tags> </tags>")), 1);
    EXPECT_EQ(LoadCode(BrainWith("cast <ai> Charge </ai>")), 1);
    EXPECT_EQ(LoadCode(BrainWith("wands")), 1);
    EXPECT_EQ(LoadCode(BrainWith("sing stand")), 1);
    EXPECT_EQ(LoadCode(BrainWith("wands <ai> stand </ai> extra")), 1);
    EXPECT_EQ(LoadCode(BrainWith("")), 1);                 // no type word
}

TEST(BrainLoad, MalformedBrainElements) {
    const std::string rest = " <tags> </tags> <tags> </tags> <ai> stand </ai> <ai> stand </ai> </brain>";
    EXPECT_EQ(LoadCode("<brain> neutral false 0" + rest), 0);
    EXPECT_EQ(LoadCode("<brain> enemy false 0" + rest), 2);   // the relation parser's verdict
    const std::string message = DRAV_MESSAGE(LoadBrain("<brain> enemy false 0" + rest));
    EXPECT_NE(message.find("enemy"), std::string::npos) << message;
    EXPECT_EQ(LoadCode("<brain> Neutral false 0" + rest), 2);
    EXPECT_EQ(LoadCode("<brain>"), 1);                         // data ends where the relation belongs
    EXPECT_EQ(LoadCode("<brain> neutral yes 0" + rest), 1);
    EXPECT_EQ(LoadCode("<brain> neutral false" + rest), 1);    // no range
    EXPECT_EQ(LoadCode("<brain> neutral false <proximity> 5 </proximity>" + rest), 1);
    EXPECT_EQ(LoadCode("<brain> neutral false <proximity> 5 a b </proximity>" + rest), 1);
    EXPECT_EQ(LoadCode("<brain> neutral false 0 <tags> </tags> <ai> stand </ai> <ai> stand </ai> </brain>"), 1);
    EXPECT_EQ(LoadCode("<brain> neutral false 0 <tags> <ai> </tags> <tags> </tags> <ai> stand </ai> <ai> stand "
                       "</ai> </brain>"),
              1);
    EXPECT_EQ(LoadCode("<brain> neutral false 0 <tags> </tags> <tags> </tags> <ai> stand </ai> </brain>"), 1);
    EXPECT_EQ(LoadCode("<brain> neutral false 0 <tags> </tags> <tags> </tags> <ai> stand </ai> <ai> stand </ai>"
                       " <ai> stand </ai> </brain>"),
              1);
    EXPECT_EQ(LoadCode("<brian> neutral false 0" + rest), 1);
}

}  // namespace
}  // namespace DRAV
