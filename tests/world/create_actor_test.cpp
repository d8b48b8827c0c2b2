// Actors and items made from the sample chapter's definitions.

#include <gtest/gtest.h>

#include "engine/brain/brain_functions.h"
#include "rules/monsters/actor_template.h"
#include "support/expect_drav.h"
#include "world/actor_test_support.h"

using namespace DRAV;
using WorldTest::SampleWithBrains;

namespace {

std::vector<std::string> Keys(const ItemPtrList& items) {
    std::vector<std::string> keys;
    for (const auto& item : items) keys.push_back(item->GetTemplate().GetKey());
    return keys;
}

std::shared_ptr<CActor> Create(const std::string& key, CGame* game) {
    std::shared_ptr<CActor> actor;
    SampleWithBrains().CreateActor(actor, game, key, "ferry_watch", 2);
    return actor;
}

}  // namespace

TEST(CreateActor, EverySampleMonsterIsMadeWithItsBrainsRelationAndIdle) {
    CGame game;
    for (const auto& [key, definition] : SampleWithBrains().GetMonsterTemplates()) {
        auto actor = Create(key, &game);
        ASSERT_NE(actor, nullptr) << key;
        EXPECT_EQ(actor->GetId() >> 24, static_cast<ThingId>(THING_ACTOR)) << key;
        EXPECT_EQ(actor->GetTemplateName(), key);
        EXPECT_EQ(actor->GetName(), definition->GetName());
        EXPECT_EQ(actor->GetEncounterName(), "ferry_watch");
        EXPECT_EQ(actor->GetEncounterIndex(), 2);
        EXPECT_EQ(actor->GetGame(), &game);
        EXPECT_EQ(actor->GetActionState(), ACTION_IDLE);
        EXPECT_EQ(actor->GetHitPoints(), actor->GetMaxHitPoints());
        EXPECT_EQ(actor->GetBackpack().size(), definition->GetItems().size()) << key;
        EXPECT_EQ(actor->GetDropItems().size(), definition->GetDropItems().size()) << key;
        for (const CSpell* spell : definition->GetSpells()) EXPECT_FALSE(actor->LacksSpell(*spell)) << key;
        EXPECT_NE(actor->GetBrain(), definition->GetBrain()) << "each actor thinks with its own brain";
    }
    EXPECT_EQ(Create("reed_smuggler", &game)->GetRelation(), RELATION_NEUTRAL);
    EXPECT_EQ(Create("reed_witch", &game)->GetRelation(), RELATION_FRIENDLY);
    EXPECT_EQ(Create("ferryman", &game)->GetRelation(), RELATION_NEUTRAL);
}

TEST(CreateActor, IdsCountFromSerialOneThroughTheActorAndItsItems) {
    CGame game;
    auto ferryman = Create("ferryman", &game);
    EXPECT_EQ(ferryman->GetId(), 0x03000001u);
    EXPECT_EQ(Keys(ferryman->GetBackpack()), (std::vector<std::string>{"ferrymans_pole", "ferry_token"}));
    EXPECT_EQ(ferryman->GetBackpack()[0]->GetId(), 0x05000002u);
    EXPECT_EQ(ferryman->GetBackpack()[1]->GetId(), 0x05000003u);
    EXPECT_EQ(ferryman->GetBackpack()[1]->GetCount(), 2);
    EXPECT_EQ(Keys(ferryman->GetDropItems()), (std::vector<std::string>{"eel_pie"}));
    EXPECT_EQ(ferryman->GetDropItems()[0]->GetId(), 0x05000004u);
    EXPECT_EQ(ferryman->GetDropItems()[0]->GetHolder(), ferryman.get());
    EXPECT_EQ(game.GetThingSerialCounter(), 5u);

    auto loose = Create("ferryman", nullptr);
    EXPECT_EQ(loose->GetId(), 0u);
    EXPECT_EQ(loose->GetBackpack()[0]->GetId(), 0u);
    EXPECT_EQ(loose->GetGame(), nullptr);
}

TEST(CreateActor, MerchantsOfOneDefinitionShareTheGamesStore) {
    CGame game;
    auto first = Create("landing_trader", &game);
    auto second = Create("landing_trader", &game);
    ASSERT_NE(first->GetStore(), nullptr);
    EXPECT_EQ(first->GetStore(), second->GetStore());
    EXPECT_EQ(FindStore(game.GetStores(), "landing_trader"), first->GetStore());
    first->TakeStoreItem(first->GetStoreItems().front()->GetId());
    EXPECT_EQ(second->GetStoreItems().size(), first->GetStoreItems().size());

    auto alone = Create("landing_trader", nullptr);
    auto other = Create("landing_trader", nullptr);
    EXPECT_NE(alone->GetStore(), other->GetStore());
    EXPECT_EQ(alone->GetStore()->GetStock().front()->GetId(), 0u);
}

TEST(CreateActor, DefenseClassGivesTheAdjustmentAndTheResistances) {
    auto smuggler = Create("reed_smuggler", nullptr);  // defense 35, agility 15
    EXPECT_EQ(smuggler->GetDefenseAdjustment(), 35 - 25 / 2 - 50);
    auto ferryman = Create("ferryman", nullptr);  // 40 5 10 0, agility 11
    EXPECT_EQ(ferryman->GetDefenseAdjustment(), 40 - 5 / 2 - 50);
    const CDamageType material{DAMAGE_MATERIAL, ELEMENT_NONE};
    EXPECT_EQ(ferryman->GetCategoryResistance(material, nullptr), 10);
    auto witch = Create("reed_witch", nullptr);  // no defense class
    EXPECT_EQ(witch->GetDefenseAdjustment(), 0);
    for (DamageCategory category : {DAMAGE_ENERGETIC, DAMAGE_MATERIAL, DAMAGE_SPIRITUAL})
        EXPECT_EQ(witch->GetBaseResistance(category), 0);
}

TEST(CreateActor, LowAgilityHalvesTowardZero) {
    CModule module;
    module.SetBrainFunctions(GetBrainFunctions());
    auto reader = DRAVCommon::CDataFileReader(QuillmereTest::TextStream(
                                                  "<monsters> <monster2> slow_eel <name> \"Slow Eel\" \"an eel\" 0 0 </name>"
                                                  " <graphic> m_eel </graphic> <type> none fey 1 1 </type>"
                                                  " <level> 1 monster 0 </level> <stats> 10 10 7 10 10 10 </stats>"
                                                  " <monsterstats> 60 0 0 0 </monsterstats>"
                                                  " <brain> hostile false 0 <tags> </tags> <tags> </tags>"
                                                  " <ai> stand </ai> <ai> charge </ai> </brain> </monster2> </monsters>"),
                                              "monsters.drav");
    module.ParseMonsters(reader);
    std::shared_ptr<CActor> eel;
    module.CreateActor(eel, nullptr, "slow_eel", "", 0);
    EXPECT_EQ(eel->GetDefenseAdjustment(), 17);  // 60 - (-15 / 2) - 50
}

TEST(CreateActor, AnUnknownOrIncompleteDefinitionIsCodeOneAndMakesNothing) {
    std::shared_ptr<CActor> actor = Create("ferryman", nullptr);
    EXPECT_DRAV_CODE(SampleWithBrains().CreateActor(actor, nullptr, "drowned_king", "", 0), 1);
    EXPECT_EQ(actor, nullptr);
    EXPECT_DRAV_CODE(SampleWithBrains().CreateItem("golden_oar", 1, 0, 0), 1);
    const auto tonic = SampleWithBrains().CreateItem("river_tonic", 3, 0x5000010, 600);
    EXPECT_EQ(tonic->GetCount(), 3);
    EXPECT_EQ(tonic->GetExpiryTick(), 600u);
    EXPECT_EQ(tonic->GetHolder(), nullptr);
}
