// Reading monster definitions: inheritance, advancement edge cases, flags,
// attacks in both forms, validation and malformed definitions.

#include <gtest/gtest.h>

#include <limits>

#include "monster_test_util.h"
#include "rules/monsters/actor_names.h"
#include "support/error_code.h"

namespace DRAV {
namespace {

using MonsterTest::ReadMonster;
using MonsterTest::SampleMonster;
using RulesTest::ExpectThrowsCode;

// A definition that is complete but for its brain.
const char* kComplete =
    " <name> \"Heron\" \"\" 0 0 </name> <graphic> m_heron </graphic> <type> none fey 0.8 1.2 </type>"
    " <level> 1 monster 0 </level> <stats> 10 10 10 10 10 10 </stats> ";

TEST(MonsterRead, InheritingOnlyChangesWhatIsWrittenAfter) {
    auto heir = ReadMonster("<monster2> elder <inherit> ferryman </inherit>"
                            " <name> \"Old Hand\" \"\" 0 0 </name> </monster2>");
    const CActorTemplate& base = SampleMonster("ferryman");
    EXPECT_EQ(heir->GetName(), "Old Hand");
    EXPECT_EQ(heir->GetSecondName(), "");
    EXPECT_EQ(heir->GetGraphic(), base.GetGraphic());
    EXPECT_EQ(heir->GetColors(), base.GetColors());
    EXPECT_EQ(heir->GetHitPoints(), base.GetHitPoints());
    EXPECT_EQ(heir->GetAttributes(), base.GetAttributes());
    EXPECT_EQ(heir->GetResistances(), base.GetResistances());
    EXPECT_EQ(heir->GetActionSpeed(), 5);
    EXPECT_EQ(heir->GetMovementSpeed(), 5);
    EXPECT_EQ(heir->GetFaction(), base.GetFaction());
    EXPECT_EQ(heir->GetSkills(), base.GetSkills());
    EXPECT_EQ(heir->GetItems(), base.GetItems());
    EXPECT_TRUE(heir->GetDropItems().empty());  // drop items are not inherited
    EXPECT_EQ(heir->GetFlags(), base.GetFlags());
    ASSERT_EQ(heir->GetAttacks().size(), 1u);
    // A copy of the attack, equal to the base's but its own.
    EXPECT_NE(heir->GetAttacks()[0]->GetAttack(), base.GetAttacks()[0]->GetAttack());
    EXPECT_EQ(heir->GetAttacks()[0]->GetAttack()->attackBonus, base.GetAttacks()[0]->GetAttack()->attackBonus);
}

TEST(MonsterRead, AttacksOfSeveralBasesComeInOrderBeforeTheOwnOnes) {
    auto heir = ReadMonster("<monster2> both <inherit> ferryman marsh_wisp </inherit>"
                            " <attack> \"Bite\" 1 2 0 </attack> </monster2>");
    ASSERT_EQ(heir->GetAttacks().size(), 3u);
    EXPECT_EQ(heir->GetAttacks()[0]->GetAttack()->name, "Pole strike");
    EXPECT_EQ(heir->GetAttacks()[1]->GetAttack()->name, "Cold touch");
    EXPECT_EQ(heir->GetAttacks()[1]->GetWord(), "fever_chill");
    EXPECT_EQ(heir->GetAttacks()[2]->GetAttack()->name, "Bite");
    // The wisp's race and size came last.
    EXPECT_EQ(heir->GetRace(), RACE_FEY);
    EXPECT_EQ(heir->GetGender(), GENDER_NONE);
}

TEST(MonsterRead, AnInheritedKeyMustAlreadyBeDefined) {
    ExpectThrowsCode([] { ReadMonster("<monster2> x <inherit> river_troll </inherit> </monster2>"); }, 1,
                     "river_troll");
    ExpectThrowsCode([] { ReadMonster("<monster2> x <inherit> river_troll </inherit> </monster2>"); }, 1,
                     "monster \"x\": test.drav");
}

TEST(MonsterRead, ClassLevelsWithoutABaseLevelReplaceTheHitPoints) {
    // Base level -1 (no level element): only the new levels count. Rogue hit die 40,
    // durability 14: ((123 / 4) + 10) x 3.
    auto monster = ReadMonster("<monster2> x <stats> 99 10 10 14 10 10 </stats>"
                               " <advance> rogue 3 strength </advance> </monster2>");
    EXPECT_EQ(monster->GetHitPoints(), (30u + 10u) * 3u);
    EXPECT_EQ(monster->GetLevel(), 3u);
    EXPECT_EQ(monster->GetAttributes()[ATTR_STRENGTH], 10u);  // 3 / 4 raises nothing
    // Low durability cannot take the hit points below zero.
    auto frail = ReadMonster("<monster2> y <stats> 5 10 10 0 10 10 </stats>"
                             " <advance> spellcaster 1 strength </advance> </monster2>");
    EXPECT_EQ(frail->GetHitPoints(), 0u);
}

TEST(MonsterRead, MonsterLevelsWithADefenseClass) {
    auto monster = ReadMonster("<monster2> x <level> 0 monster 0 </level> <stats> 10 10 10 10 10 10 </stats>"
                               " <monsterstats> 20 0 0 0 </monsterstats> <advance> monster 2 agility </advance>"
                               " </monster2>");
    EXPECT_EQ(monster->GetAttributes(), (AttributeScores{18, 18, 18, 18, 18}));
    EXPECT_EQ(monster->GetBaseLevel(), 2);
    // The change of the agility bonus, 20, and 10 once.
    EXPECT_EQ(monster->GetDefenseClass(), 20 + 20 + 10);
    EXPECT_EQ(monster->GetResistances(), (CategoryResistances{20, 20, 20}));
    // Base level below 2 counts as 1: 20 x (1 + 2).
    EXPECT_EQ(monster->GetHitPoints(), 10u + 60u);
}

TEST(MonsterRead, AdvancementByHugeCountsSaturatesInsteadOfWrapping) {
    constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
    constexpr std::uint32_t kMaxU = std::numeric_limits<std::uint32_t>::max();
    // Class levels multiply into the attack rate, resistances and hit points.
    auto fighter = ReadMonster("<monster2> x <level> 1 fighter 0 </level> <stats> 10 10 10 10 10 10 </stats>"
                               " <monsterstats> 20 0 0 0 </monsterstats> <attack> \"Claw\" 2 ( 4 1 ) </attack>"
                               " <advance> fighter 2147483647 strength </advance> </monster2>");
    EXPECT_EQ(fighter->GetAttacks()[0]->GetAttack()->attackBonus, kMax);
    EXPECT_EQ(fighter->GetResistances(), (CategoryResistances{kMax, kMax, kMax}));
    EXPECT_EQ(fighter->GetHitPoints(), kMaxU);
    EXPECT_EQ(fighter->GetAttributes()[ATTR_STRENGTH], 10u + 2147483647u / 4);

    // Monster levels add the statistics' bonuses to resistances, defense and attacks.
    auto monster = ReadMonster("<monster2> y <level> 5 monster 0 </level> <stats> 10 10 10 10 10 10 </stats>"
                               " <monsterstats> 20 2147483000 -5 0 </monsterstats> <attack> \"Claw\" 2 ( 4 1 ) </attack>"
                               " <advance> monster 2147483647 agility </advance> </monster2>");
    EXPECT_EQ(monster->GetAttributes(), (AttributeScores{kMaxU, kMaxU, kMaxU, kMaxU, kMaxU}));
    EXPECT_EQ(monster->GetResistances(), (CategoryResistances{kMax, kMax, kMax}));
    EXPECT_EQ(monster->GetDefenseClass(), kMax);
    EXPECT_EQ(monster->GetAttacks()[0]->GetAttack()->attackBonus, kMax);
    EXPECT_EQ(monster->GetAttacks()[0]->GetAttack()->bonusA, kMax);
    EXPECT_EQ(monster->GetBaseLevel(), kMax);
    EXPECT_EQ(monster->GetHitPoints(), kMaxU);
}

TEST(MonsterRead, FlagWordsSetAndClearInOrder) {
    EXPECT_EQ(ReadMonster("<monster2> a sneak nosneak </monster2>")->GetFlags(), 0u);
    EXPECT_EQ(ReadMonster("<monster2> a nosneak sneak </monster2>")->GetFlags(), MONSTER_SNEAK);
    EXPECT_EQ(ReadMonster("<monster2> a surrender nosurrender autospell shield nofidget nowandpotion </monster2>")
                  ->GetFlags(),
              MONSTER_AUTOSPELL | MONSTER_SHIELD | MONSTER_NOFIDGET | MONSTER_NOWANDPOTION);
}

TEST(MonsterRead, AttackWordsAndGroups) {
    auto monster = ReadMonster("<monster2> a <attack> \"Claw\" 2 ( 4 1 ) touch critical </attack>"
                               " <attack> \"Club\" 0 0 6 2 ( blunt 5 ) heavy swing </attack>"
                               " <attack> \"Slam\" 1 8 0 blunt </attack> </monster2>");
    const auto& attacks = monster->GetAttacks();
    ASSERT_EQ(attacks.size(), 3u);
    EXPECT_EQ(attacks[0]->GetAttack()->flags, 3u);
    EXPECT_EQ(attacks[0]->GetAttack()->damageType, (CDamageType{DAMAGE_PHYSICAL, ELEMENT_SHARP}));
    EXPECT_EQ(attacks[0]->GetAttack()->dieA, 4);
    EXPECT_EQ(attacks[0]->GetAttack()->bonusA, 1);
    EXPECT_EQ(attacks[1]->GetAttack()->damageType, (CDamageType{DAMAGE_PHYSICAL, ELEMENT_BLUNT}));
    EXPECT_EQ(attacks[1]->GetAttack()->enhancement, 5);
    EXPECT_EQ(attacks[1]->GetAttack()->dieA, 6);
    EXPECT_EQ(attacks[1]->GetWord(), "swing");  // a later word replaces an earlier one
    EXPECT_EQ(attacks[2]->GetAttack()->damageType, (CDamageType{DAMAGE_PHYSICAL, ELEMENT_BLUNT}));
    EXPECT_EQ(attacks[2]->GetWord(), "");
    ExpectThrowsCode([] { ReadMonster("<monster2> a <attack> \"Claw\" 2 4 1 ( fire 3 ) </attack> </monster2>"); }, 1,
                     "monster \"a\"");
}

TEST(MonsterRead, SavedAttackRoundTrip) {
    CActorMonsterAttack attack(
        std::make_shared<CAttackInfo>("Tail sweep", 5, 8, 2, 4, 1, CDamageType{DAMAGE_PHYSICAL, ELEMENT_BLUNT}, 1, 2),
        "sweep");
    for (const std::string word : {"sweep", ""}) {
        CActorMonsterAttack written(attack.GetAttack(), word);
        const std::string text = RulesTest::WrittenText([&](auto& writer) { WriteAttack(writer, written); });
        auto reader = RulesTest::ReaderOver(text);
        auto read = ReadAttack(*reader, true);
        EXPECT_TRUE(reader->AtEnd());
        EXPECT_EQ(read->GetWord(), word);
        EXPECT_EQ(RulesTest::WrittenText([&](auto& writer) { WriteAttack(writer, *read); }), text);
        EXPECT_EQ(read->GetAttack()->name, "Tail sweep");
        EXPECT_EQ(read->GetAttack()->dieB, 4);
    }
}

TEST(MonsterRead, ValidateNamesWhatIsMissing) {
    const std::pair<const char*, const char*> cases[] = {
        {"<monster2> v </monster2>", "no name"},
        {"<monster2> v <name> \"V\" \"\" 0 0 </name> </monster2>", "no graphic"},
        {"<monster2> v <inherit> marsh_wisp </inherit> <size> 0 0 </size> </monster2>", "no size"},
    };
    for (const auto& [text, missing] : cases)
        ExpectThrowsCode([&] { ReadMonster(text)->Validate(); }, 1, missing);
    auto complete = ReadMonster(std::string("<monster2> v ") + kComplete + "</monster2>");
    ExpectThrowsCode([&] { complete->Validate(); }, 1, "monster \"v\" cannot be made into an actor: no brain");
}

TEST(MonsterRead, MalformedDefinitionsNameTheFileAndKey) {
    const auto named = [](std::size_t name, std::size_t description) {
        return "<monster2> m <name> \"" + std::string(name, 'n') + "\" \"" + std::string(description, 'd') +
               "\" 0 0 </name> </monster2>";
    };
    const std::pair<std::string, std::int32_t> cases[] = {
        {"<monster2> m <colour> 1 </colour> </monster2>", 1},
        {"<monster2> m flying </monster2>", 1},
        {"<monster2> m <race> </race> </monster2>", 1},
        {"<monster2> m <race> heron </race> </monster2>", 2},
        {"<monster2> m <level> 1 wizard 2 </level> </monster2>", 2},
        {"<monster2> m <advance> fighter 2 luck </advance> </monster2>", 2},
        {"<monster2> m <advance> fighter -2 strength </advance> </monster2>", 1},
        {"<monster2> m <sex> unknown </sex> </monster2>", 1},
        {"<monster2> m <monsterstats> 1 0 0 0 </monsterstats> <monsterstats> 1 0 0 0 </monsterstats> </monster2>", 1},
        {"<monster2> m <inherit> ferryman </inherit> <monsterstats> 9 0 0 0 </monsterstats> </monster2>", 1},
        {"<monster2> m <stats> 10 10 ten 10 10 10 </stats> </monster2>", 1},
        {"<monster2> m <items> ( rusty_hook 1 ) </items> <brain> </monster2>", 1},
        {named(kActorNameLimit + 1, 1), 1},
        {named(1, kActorNameLimit + 1), 1},
    };
    for (const auto& [text, code] : cases) {
        SCOPED_TRACE(text.substr(0, 80));
        ExpectThrowsCode([&] { ReadMonster(text); }, code, "monster \"m\": test.drav");
    }
    EXPECT_EQ(ReadMonster(named(kActorNameLimit, kActorNameLimit))->GetName().size(), kActorNameLimit);
}

TEST(MonsterRead, FactionOfAnotherModuleIsNoError) {
    auto monster = ReadMonster("<monster2> m <faction> river_kings 3 </faction> </monster2>");
    EXPECT_EQ(monster->GetFaction(), nullptr);
    EXPECT_EQ(monster->GetFactionRank(), 3u);
}

}  // namespace
}  // namespace DRAV
