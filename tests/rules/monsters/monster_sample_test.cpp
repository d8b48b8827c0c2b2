// The Reedwater monsters: what the sample defines, inheritance and advancement as
// the sample uses them, and what loading without brains leaves out.

#include <gtest/gtest.h>

#include <algorithm>

#include "monster_test_util.h"
#include "rules/items/item_template.h"
#include "rules/magic/spell.h"
#include "rules/vocabulary/actor_class.h"
#include "script/script.h"
#include "support/sample_module.h"

namespace DRAV {
namespace {

using MonsterTest::Sample;
using MonsterTest::SampleMonster;

TEST(MonsterSample, EveryDefinitionLoadsWithItsReferences) {
    for (const char* key : {"ferryman", "ferry_keeper", "marsh_wisp", "ferryman_elder", "landing_trader",
                            "reed_smuggler", "smuggler_lookout", "smuggler_captain", "marsh_spirit"})
        EXPECT_NE(Sample().FindMonsterTemplate(key), nullptr) << key;

    for (const auto& [key, monster] : Sample().GetMonsterTemplates()) {
        EXPECT_EQ(monster->GetKey(), key);
        for (const auto* list : {&monster->GetItems(), &monster->GetDropItems()})
            for (const ItemListEntry& entry : *list)
                EXPECT_NE(FindItemTemplate(Sample().GetItemTemplates(), entry.key), nullptr) << key << " " << entry.key;
        if (monster->GetStore()) {
            for (const ItemListEntry& entry : monster->GetStore()->GetItems())
                EXPECT_NE(FindItemTemplate(Sample().GetItemTemplates(), entry.key), nullptr) << entry.key;
        }
    }
    EXPECT_EQ(SampleMonster("ferryman").GetFaction(), FindFaction(Sample().GetFactions(), "ferrymen"));
    EXPECT_EQ(SampleMonster("reed_smuggler").GetFaction(), FindFaction(Sample().GetFactions(), "reed_wardens"));
    EXPECT_EQ(SampleMonster("marsh_spirit").GetSpells(),
              (SpellList{FindSpell(Sample().GetSpells(), "marsh_fever"), FindSpell(Sample().GetSpells(), "reed_lash")}));
}

TEST(MonsterSample, MerchantSneakerAndChapterOverride) {
    const CActorTemplate& trader = SampleMonster("landing_trader");
    ASSERT_NE(trader.GetStore(), nullptr);
    EXPECT_TRUE(trader.GetStore()->GetKinds().at(ITEM_WEAPON));
    EXPECT_EQ(trader.GetStore()->GetItems().front(), (ItemListEntry{"smugglers_knife", 2}));
    EXPECT_NE(trader.GetHeartbeat(), nullptr);
    EXPECT_EQ(trader.GetTalkStates().size(), 2u);
    ASSERT_NE(trader.GetColors(), nullptr);
    EXPECT_EQ(trader.GetColors()->GetColor(DRAVGraph::CGraphicColors::TRIM), 0xC8A03Cu);

    EXPECT_TRUE(SampleMonster("reed_smuggler").GetFlags() & MONSTER_SNEAK);
    EXPECT_FALSE(SampleMonster("smuggler_lookout").GetFlags() & MONSTER_SNEAK);
    EXPECT_EQ(SampleMonster("smuggler_captain").GetFlags() & MONSTER_SURRENDER, 0u);
    EXPECT_EQ(SampleMonster("reed_smuggler").GetModifiers().size(), 1u);

    // The chapter's keeper replaced the global one: it is built on the ferryman.
    const CActorTemplate& keeper = SampleMonster("ferry_keeper");
    EXPECT_EQ(keeper.GetName(), "Mother Hesk");
    EXPECT_EQ(keeper.GetGraphic(), "m_ferryman");
    EXPECT_EQ(keeper.GetGender(), GENDER_FEMALE);
    EXPECT_EQ(keeper.GetFactionRank(), 1u);
    EXPECT_EQ(keeper.GetFlags(), MONSTER_NOFIDGET | MONSTER_SHIELD);
}

// Whoever the journal names, the label over the person's head and the name the
// conversation opens with carry that name too: one person, one name.
TEST(MonsterSample, EachPersonTheJournalNamesIsLabelledByThatName) {
    const std::vector<std::pair<const char*, const char*>> people{
        {"ferry_keeper", "Mother Hesk"}, {"innkeeper", "Hollis"},     {"boatwright", "Orrin"},
        {"reed_witch", "Marra"},         {"landing_trader", "Tansy"}, {"ferryman_elder", "Brannoc"},
        {"dock_ferryman", "Tobin"},      {"smuggler_captain", "Marrow"}};
    std::string journal;
    for (const auto& [key, text] : Sample().GetJournalTexts()) journal += text + " ";
    for (const auto& [key, name] : people) {
        EXPECT_NE(SampleMonster(key).GetName().find(name), std::string::npos) << key << " is not labelled " << name;
        EXPECT_EQ(SampleMonster(key).GetSecondName().find(name), std::string::npos)
            << key << "'s description names no one else";
    }
    // The keeper of the journal's first records is the keeper whose label says so.
    EXPECT_NE(journal.find("Mother Hesk"), std::string::npos);
    EXPECT_EQ(journal.find("Keeper of the Landing"), std::string::npos);
}

TEST(MonsterSample, AdvancedByClassLevelsFollowsTheFormulasAndLeavesItsBaseAlone) {
    const CActorTemplate& base = SampleMonster("ferryman");
    const CActorTemplate& elder = SampleMonster("ferryman_elder");
    // Four fighter levels on durability 14: durability 15; hit points 24 + 4 for the
    // two base levels + (38 + 12) x 4; the attack gains 120 x 4 / 24.
    EXPECT_EQ(elder.GetAttributes(), (AttributeScores{13, 11, 15, 10, 9}));
    EXPECT_EQ(elder.GetHitPoints(), 228u);
    ASSERT_EQ(elder.GetAttacks().size(), 1u);
    EXPECT_EQ(elder.GetAttacks()[0]->GetAttack()->attackBonus, 23);
    EXPECT_EQ(elder.GetClass(), CLASS_FIGHTER);
    EXPECT_EQ(elder.GetLevel(), 4u);
    // The fighter's free skill doubles the material gain.
    EXPECT_TRUE(elder.GetSkills().count(SKILL_IMPROVED_MATERIAL));
    EXPECT_EQ(elder.GetResistances(), (CategoryResistances{5 + 6, 10 + 13, 0 + 6}));
    EXPECT_EQ(elder.GetDefenseClass(), 40);

    EXPECT_EQ(base.GetHitPoints(), 24u);
    EXPECT_EQ(base.GetAttributes(), (AttributeScores{13, 11, 14, 10, 9}));
    EXPECT_EQ(base.GetAttacks()[0]->GetAttack()->attackBonus, 3);
    EXPECT_EQ(base.GetLevel(), 1u);
    EXPECT_FALSE(base.GetSkills().count(SKILL_IMPROVED_MATERIAL));
    EXPECT_EQ(base.GetResistances(), (CategoryResistances{5, 10, 0}));
}

TEST(MonsterSample, AdvancedAsAMonsterFollowsTheFormulas) {
    const CActorTemplate& spirit = SampleMonster("marsh_spirit");
    EXPECT_EQ(spirit.GetAttributes(), (AttributeScores{20, 22, 18, 19, 21}));
    EXPECT_EQ(spirit.GetBaseLevel(), 4);
    EXPECT_EQ(spirit.GetHitPoints(), 20u + 20u * 4u);
    // Strength 12 to 20: bonus 25 less the old 5.
    EXPECT_EQ(spirit.GetAttacks()[0]->GetAttack()->attackBonus, 4 + 20);
    EXPECT_EQ(spirit.GetAttacks()[0]->GetAttack()->bonusA, 2 + 20);
    EXPECT_EQ(spirit.GetResistances(), (CategoryResistances{5 + 20, 0 + 20, 10 + 20}));
    EXPECT_EQ(spirit.GetDefenseClass(), 40 + 30 + 10 - 10);
    EXPECT_EQ(spirit.GetClass(), CLASS_MONSTER);
    EXPECT_EQ(spirit.GetLevel(), 0u);
}

// Whoever may join the party is a character of the manual's rules: her class level
// is her whole level, and her hit points are what a hero of it rolls.
TEST(MonsterSample, EveryCompanionIsBuiltAsAHeroOfHerClassAndLevel) {
    CModule ashcombe;
    ashcombe.SetBrainFunctions(GetBrainFunctions());
    ashcombe.Load(2, nullptr, QuillmereTest::SampleFolderSource(2));
    std::size_t companions = 0;
    for (const CModule* chapter : {&Sample(), static_cast<const CModule*>(&ashcombe)})
        for (const auto& [key, monster] : chapter->GetMonsterTemplates()) {
            const TalkStateList& states = monster->GetTalkStates();
            if (std::none_of(states.begin(), states.end(), [](const auto& state) {
                    return state->GetScript()->GetSource().find("drav_join_party") != std::string::npos;
                }))
                continue;
            ++companions;
            EXPECT_EQ(monster->GetBaseLevel(), -1) << key << " has levels beyond the class's";
            const std::int64_t level = monster->GetLevel(), die = GetClassInfo(monster->GetClass()).hitDie;
            const std::int64_t bonus = (std::int64_t{monster->GetAttributes()[ATTR_DURABILITY]} - 10) * 5 / 2 +
                                       (monster->GetSkills().count(SKILL_TOUGHNESS) ? 5 : 0);
            EXPECT_GE(monster->GetHitPoints(), level * (die / 2 + 1 + bonus)) << key;
            EXPECT_LE(monster->GetHitPoints(), level * (die + bonus)) << key;
        }
    EXPECT_EQ(companions, 2u) << "Marra and Orrin";
}

TEST(MonsterSample, ALoadWithoutTheBrainReaderRefusesBrains) {
    // Dropping the brains would leave every monster without its mind.
    CModule module;
    RulesTest::ExpectThrowsCode([&] { module.Load(1, nullptr, QuillmereTest::SampleFolderSource()); }, 1,
                                "monsters.drav");
    for (const auto& [key, monster] : Sample().GetMonsterTemplates()) {
        EXPECT_NE(monster->GetBrain(), nullptr) << key;
        monster->Validate();
    }
}

}  // namespace
}  // namespace DRAV
