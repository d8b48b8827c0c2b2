#include <gtest/gtest.h>

#include "rules/kinds/damage.h"
#include "rules/kinds/modifiers.h"
#include "rules/kinds/save_outcome.h"
#include "rules_test_util.h"

using namespace DRAV;
using RulesTest::ExpectThrowsCode;
using RulesTest::ReaderOver;

namespace {

// Parses the modifier words of a "modify" block written out in full.
ModifierMask MaskOf(const std::string& words) {
    auto reader = ReaderOver("<modify> " + words + " </modify>");
    reader->BeginBlock("modify");
    ModifierMask mask = ParseModifierMask(*reader);
    reader->EndBlock();
    return mask;
}

}  // namespace

TEST(DamageType, ElementsCarryTheirCategoryAndResistanceIndex) {
    EXPECT_EQ(ParseDamageType("force"), (CDamageType{DAMAGE_ENERGETIC, ELEMENT_FORCE}));
    EXPECT_EQ(GetDamageTypeModifierIndex(ParseDamageType("force")), 37);
    EXPECT_EQ(ParseDamageType("debility"), (CDamageType{DAMAGE_MATERIAL, ELEMENT_DEBILITY}));
    EXPECT_EQ(GetDamageTypeModifierIndex(ParseDamageType("debility")), 43);
    EXPECT_EQ(ParseDamageType("illusion"), (CDamageType{DAMAGE_SPIRITUAL, ELEMENT_ILLUSION}));
    EXPECT_EQ(GetDamageTypeModifierIndex(ParseDamageType("illusion")), 47);
    EXPECT_EQ(ParseDamageType("physical"), (CDamageType{DAMAGE_PHYSICAL, ELEMENT_NONE}));
    ExpectThrowsCode([] { GetDamageTypeModifierIndex(ParseDamageType("physical")); }, DRAV_ERR_OUT_OF_RANGE, "3");
}

TEST(DamageType, NoneAndItsWords) {
    for (const char* word : {"", "0", "none"}) EXPECT_EQ(ParseDamageType(word), CDamageType{}) << word;
    EXPECT_FALSE(IsDamageTypeWord("0"));
    EXPECT_FALSE(IsDamageTypeWord(""));
    EXPECT_TRUE(IsDamageTypeWord("none"));
    EXPECT_EQ(CDamageType{}.GetKey(), "0");
    EXPECT_EQ((CDamageType{DAMAGE_MATERIAL, ELEMENT_NONE}).GetKey(), "material");
    EXPECT_EQ((CDamageType{DAMAGE_ENERGETIC, ELEMENT_FIRE}).GetKey(), "fire");
    ExpectThrowsCode([] { ParseDamageType("Fire"); }, DRAV_ERR_BAD_DATA, "Fire");
    // The none type has no category row to name it.
    ExpectThrowsCode([] { CDamageType{}.GetShortName(); }, DRAV_ERR_OUT_OF_RANGE, "6");
    ExpectThrowsCode([] { CDamageType{}.GetFullName(); }, DRAV_ERR_OUT_OF_RANGE, "6");
}

TEST(DamageType, ShortAndFullNames) {
    const CDamageType fire{DAMAGE_ENERGETIC, ELEMENT_FIRE};
    EXPECT_EQ(fire.GetShortName(), "Fire");
    EXPECT_EQ(fire.GetFullName(), "Energetic/Fire");
    const CDamageType musical{DAMAGE_MUSICAL, ELEMENT_NONE};
    EXPECT_EQ(musical.GetShortName(), "Musical");
    EXPECT_EQ(musical.GetFullName(), "Musical");
}

TEST(DamageType, ResistedCategoriesNameTheirSaveSkillsAndAttribute) {
    for (int c = 0; c < kDamageCategoryCount; ++c) {
        const DamageCategoryInfo& info = GetDamageCategoryInfo(static_cast<DamageCategory>(c));
        bool resisted = c <= DAMAGE_SPIRITUAL;
        EXPECT_EQ(info.attribute != ATTR_NONE, resisted) << c;
        EXPECT_EQ(info.improvedSkill != SKILL_NONE, resisted) << c;
        EXPECT_EQ(info.resistSkill != SKILL_NONE, resisted) << c;
    }
}

TEST(ModifierIndex, ResistanceIndexesAndDamageTypesAreInverse) {
    int resisted = 0;
    for (int index = 0; index < 64; ++index) {
        if (index < MOD_RESIST_ENERGETIC || index > MOD_RESIST_ILLUSION) {
            ExpectThrowsCode([&] { GetModifierDamageType(index); }, DRAV_ERR_OUT_OF_RANGE, std::to_string(index));
            continue;
        }
        CDamageType type = GetModifierDamageType(index);
        EXPECT_EQ(GetDamageTypeModifierIndex(type), index);
        ++resisted;
    }
    EXPECT_EQ(resisted, 16);
    // An element paired with another category is no resistance.
    ExpectThrowsCode([] { GetDamageTypeModifierIndex({DAMAGE_ENERGETIC, ELEMENT_POISON}); }, DRAV_ERR_OUT_OF_RANGE,
                     "(0, 8)");
    ExpectThrowsCode([] { GetDamageTypeModifierIndex(CDamageType{}); }, DRAV_ERR_OUT_OF_RANGE, "(6, 0)");
}

TEST(ModifierIndex, SpecialStatisticsAndAttributes) {
    EXPECT_EQ(GetSpecialStatModifierIndex(SPECIAL_LOCKS), MOD_LOCKS);
    EXPECT_EQ(GetSpecialStatModifierIndex(SPECIAL_OBSERVATION), MOD_OBSERVATION);
    EXPECT_EQ(GetAttributeModifierIndex(ATTR_STRENGTH), MOD_STRENGTH);
    EXPECT_EQ(GetAttributeModifierIndex(ATTR_PERSONALITY), MOD_PERSONALITY);
    ExpectThrowsCode([] { GetSpecialStatModifierIndex(SPECIAL_NONE); }, DRAV_ERR_OUT_OF_RANGE, "5");
    ExpectThrowsCode([] { GetAttributeModifierIndex(ATTR_NONE); }, DRAV_ERR_OUT_OF_RANGE, "5");
}

TEST(ModifierMask, WordsSetTheirBits) {
    EXPECT_EQ(MaskOf("agility"), ModifierBit(MOD_AGILITY));
    EXPECT_EQ(MaskOf("agility stealth casting"), (ModifierMask{1} << 9) | (ModifierMask{1} << 6) | (ModifierMask{1} << 13));
    EXPECT_EQ(MaskOf("attack damage defense energetic"), 0x7 | (ModifierMask{1} << 32));
    EXPECT_EQ(MaskOf("spellnullification actionspeed movementspeed illusion"),
              ModifierBit(MOD_SPELL_NULLIFICATION) | ModifierBit(MOD_ACTION_SPEED) |
                  ModifierBit(MOD_MOVEMENT_SPEED) | ModifierBit(MOD_RESIST_ILLUSION));
    EXPECT_EQ(MaskOf(""), 0u);
}

TEST(ModifierMask, BadWordsFailNamingTheWord) {
    ExpectThrowsCode([] { MaskOf("speed"); }, DRAV_ERR_BAD_DATA, "\"speed\"");
    ExpectThrowsCode([] { MaskOf("attack physical"); }, DRAV_ERR_OUT_OF_RANGE, "\"physical\"");
    ExpectThrowsCode([] { MaskOf("blunt"); }, DRAV_ERR_OUT_OF_RANGE, "\"blunt\"");
    ExpectThrowsCode([] { MaskOf("none"); }, DRAV_ERR_OUT_OF_RANGE, "\"none\"");
}

TEST(ModifierMask, TheLeftOpenBlockIsTheCallers) {
    auto reader = ReaderOver("<modify> attack </modify> next");
    reader->BeginBlock("modify");
    EXPECT_EQ(ParseModifierMask(*reader), ModifierBit(MOD_ATTACK));
    EXPECT_TRUE(reader->AtBlockEnd());
}

TEST(ModifierMask, BlockRoundTrip) {
    auto reader = ReaderOver("<modify> 3 1 </modify>");
    ModifierMask mask = 0;
    ReadModifierMask(mask, *reader);
    EXPECT_EQ(mask, ModifierBit(MOD_ATTACK) | ModifierBit(MOD_DAMAGE) | ModifierBit(MOD_RESIST_ENERGETIC));
    EXPECT_TRUE(reader->AtEnd());

    const ModifierMask wide = ModifierBit(MOD_MOVEMENT_SPEED) | ModifierBit(MOD_RESIST_ILLUSION) | 0x80000000u;
    const std::string text = RulesTest::WrittenText([&](DRAVCommon::CDataFileWriter& w) { WriteModifierMask(wide, w); });
    EXPECT_EQ(text, "<modify>\n 2147549184\n 32768\n</modify>\n");
    auto back = ReaderOver(text);
    ReadModifierMask(mask, *back);
    EXPECT_EQ(mask, wide);
}

TEST(ModifierMask, AbsentBlockReadsAsZero) {
    auto reader = ReaderOver("<other> </other>");
    ModifierMask mask = ~ModifierMask{0};
    ReadModifierMask(mask, *reader);
    EXPECT_EQ(mask, 0u);
    EXPECT_TRUE(reader->IsBlock("other"));
    auto negative = ReaderOver("<modify> -1 0 </modify>");
    ExpectThrowsCode([&] { ReadModifierMask(mask, *negative); }, DRAV_ERR_BAD_DATA, "-1");
}

TEST(SaveOutcome, WordsAndTheirKinds) {
    EXPECT_EQ(ParseSaveOutcome("none"), CSaveOutcome{});
    EXPECT_EQ(ParseSaveOutcome("half").percent, 50);
    EXPECT_EQ(ParseSaveOutcome("negate").percent, 0);
    for (const char* word : {"none", "half", "mineffect", "mintime", "negate"}) {
        CSaveOutcome outcome = ParseSaveOutcome(word);
        EXPECT_EQ(outcome.IsMinEffect(), std::string(word) == "mineffect") << word;
        EXPECT_EQ(outcome.IsMinTime(), std::string(word) == "mintime") << word;
    }
    EXPECT_FALSE(CSaveOutcome{}.IsMinEffect());
    EXPECT_FALSE(CSaveOutcome{}.IsMinTime());
    ExpectThrowsCode([] { ParseSaveOutcome("Half"); }, DRAV_ERR_BAD_DATA, "Half");
}
