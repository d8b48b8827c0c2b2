#include <gtest/gtest.h>

#include <algorithm>

#include "rules/vocabulary/actor_class.h"
#include "rules/vocabulary/attributes.h"
#include "rules/vocabulary/skills.h"
#include "rules_test_util.h"

using namespace DRAV;
using RulesTest::ExpectThrowsCode;
using RulesTest::ReaderOver;

namespace {

bool IsSkillReference(int id) { return (id >= 0 && id < kSkillCount) || id == SKILL_NONE || id == SKILL_ANY_MAGIC; }

}  // namespace

TEST(SkillTable, RowsAreConsistent) {
    for (int v = 0; v < kSkillCount; ++v) {
        SCOPED_TRACE(v);
        const SkillInfo& info = GetSkillInfo(static_cast<SkillId>(v));
        EXPECT_EQ(info.skillId, v);
        EXPECT_EQ(GetSkillName(static_cast<SkillId>(v)), info.name);
        EXPECT_TRUE(info.attribute >= 0 && info.attribute <= ATTR_NONE);
        EXPECT_TRUE(info.skillClass >= 0 && info.skillClass < kClassCount);
        EXPECT_TRUE(info.level == 0 || info.level == 5 || info.level == 10);
        ASSERT_NE(info.description, nullptr);
        EXPECT_GT(std::string(info.description).size(), 20u);
        for (int prerequisite : info.prerequisites) {
            EXPECT_TRUE(IsSkillReference(prerequisite));
            EXPECT_NE(prerequisite, v);
        }
        // A mastery lists the skill it improves among its prerequisites.
        if (info.mastery != SKILL_NONE) {
            const SkillInfo& mastery = GetSkillInfo(static_cast<SkillId>(info.mastery));
            EXPECT_NE(std::find(std::begin(mastery.prerequisites), std::end(mastery.prerequisites), v),
                      std::end(mastery.prerequisites));
        }
    }
}

TEST(SkillTable, KeysThatDifferFromTheirNames) {
    EXPECT_EQ(ParseSkill("sneak"), SKILL_SNEAK);
    EXPECT_EQ(GetSkillName(SKILL_SNEAK), "Stealth");
    ExpectThrowsCode([] { ParseSkill("stealth"); }, DRAV_ERR_OUT_OF_RANGE, "stealth");
    EXPECT_EQ(GetSkillName(ParseSkill("shield_style")), "Shield");
    EXPECT_EQ(GetSkillName(ParseSkill("matter_blood")), "Dverger Blood");
    EXPECT_EQ(GetSkillName(ParseSkill("armored_spellcasting")), "Armored Casting");
    EXPECT_EQ(GetSkillDescription(SKILL_TOUGHNESS), GetSkillInfo(SKILL_TOUGHNESS).description);
}

TEST(SkillTable, OnlyInherentMagicIsAMonsterSkill) {
    for (int v = 0; v < kSkillCount; ++v)
        EXPECT_EQ(GetSkillInfo(static_cast<SkillId>(v)).skillClass == CLASS_MONSTER, v == SKILL_MONSTER_MAGIC) << v;
}

TEST(SkillBlock, WriteThenReadGivesTheSameSetInAscendingOrder) {
    const SkillSet skills{SKILL_MONSTER_MAGIC, SKILL_AXE, SKILL_SNEAK, SKILL_NONE, SKILL_LIGHT_BLADE};
    const std::string text = RulesTest::WrittenText([&](DRAVCommon::CDataFileWriter& w) { WriteSkills(skills, w); });
    EXPECT_EQ(text, "<skills>\n light_blade\n axe\n sneak\n monster_magic\n 0\n</skills>\n");
    auto reader = ReaderOver(text);
    SkillSet read{SKILL_BOW};
    ReadSkills(read, *reader, true);
    EXPECT_EQ(read, skills);
    EXPECT_TRUE(reader->AtEnd());
}

TEST(SkillBlock, EveryKeyRoundTripsThroughTheBlock) {
    SkillSet all;
    for (int v = 0; v < kSkillCount; ++v) all.insert(static_cast<SkillId>(v));
    const std::string text = RulesTest::WrittenText([&](DRAVCommon::CDataFileWriter& w) { WriteSkills(all, w); });
    auto reader = ReaderOver(text);
    SkillSet read;
    ReadSkills(read, *reader, false);
    EXPECT_EQ(read, all);
}

TEST(SkillBlock, EmptySetWritesAnEmptyBlock) {
    const std::string text = RulesTest::WrittenText([](DRAVCommon::CDataFileWriter& w) { WriteSkills({}, w); });
    EXPECT_EQ(text, "<skills>\n</skills>\n");
    SkillSet read{SKILL_AXE};
    auto reader = ReaderOver(text);
    ReadSkills(read, *reader, true);
    EXPECT_TRUE(read.empty());
}

TEST(SkillBlock, TheBlockIsOptionalAndClearingIsTheCallersChoice) {
    SkillSet skills{SKILL_AXE};
    auto other = ReaderOver("<spells> </spells>");
    ReadSkills(skills, *other, false);
    EXPECT_EQ(skills, SkillSet{SKILL_AXE});
    EXPECT_TRUE(other->IsBlock("spells")) << "nothing is consumed without a skills block";
    ReadSkills(skills, *other, true);
    EXPECT_TRUE(skills.empty());

    skills = {SKILL_AXE};
    auto added = ReaderOver("<skills> bow 0 bow </skills>");
    ReadSkills(skills, *added, false);
    EXPECT_EQ(skills, (SkillSet{SKILL_AXE, SKILL_BOW, SKILL_NONE}));
}

TEST(SkillBlock, BadBlocksFail) {
    SkillSet skills;
    auto unknown = ReaderOver("<skills> axe Axe </skills>");
    ExpectThrowsCode([&] { ReadSkills(skills, *unknown, true); }, DRAV_ERR_OUT_OF_RANGE, "\"Axe\"");
    auto unclosed = ReaderOver("<skills> axe bow");
    ExpectThrowsCode([&] { ReadSkills(skills, *unclosed, true); }, DRAV_ERR_BAD_DATA, "end of the data");
}

TEST(SkillBlock, ValuesOutsideTheTableAreNotWritten) {
    QuillmereTest::TempDir dir;
    DRAVCommon::CDataFileWriter writer(dir / "out.drav");
    ExpectThrowsCode([&] { WriteSkills({SKILL_ANY_MAGIC}, writer); }, DRAV_ERR_OUT_OF_RANGE, "1000");
}
