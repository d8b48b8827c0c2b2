#include <gtest/gtest.h>

#include "rules/kinds/attack_info.h"
#include "rules/kinds/item_kinds.h"
#include "rules/vocabulary/skills.h"
#include "rules/kinds/thing_id.h"
#include "rules/kinds/tile_effect_kinds.h"
#include "rules_test_util.h"

using namespace DRAV;
using RulesTest::ExpectThrowsCode;
using RulesTest::ReaderOver;

TEST(ItemKindTable, RangeAndBurnOut) {
    EXPECT_EQ(GetItemKindName(ITEM_MONEY), "Money");
    ExpectThrowsCode([] { GetItemKindName(static_cast<ItemKind>(11)); }, DRAV_ERR_OUT_OF_RANGE, "11");
    ExpectThrowsCode([] { GetItemKindName(static_cast<ItemKind>(-1)); }, DRAV_ERR_OUT_OF_RANGE, "-1");
    for (int v = 0; v < kItemKindCount; ++v) {
        const ItemKindInfo& info = GetItemKindInfo(static_cast<ItemKind>(v));
        EXPECT_EQ(info.value, v);
        EXPECT_EQ(info.burnOutPercent != 0, v == ITEM_WAND) << v;
    }
    auto reader = ReaderOver("Weapon");
    ExpectThrowsCode([&] { ReadItemKind(*reader); }, DRAV_ERR_BAD_DATA, "Weapon");
}

TEST(WeaponTypeTable, ProficiencySkillsShareTheKey) {
    for (int v = 0; v < kWeaponTypeCount; ++v) {
        const WeaponTypeInfo& info = GetWeaponTypeInfo(static_cast<WeaponType>(v));
        EXPECT_EQ(info.value, v);
        EXPECT_EQ(GetSkillKey(info.proficiency), info.key);
    }
    EXPECT_TRUE(GetWeaponTypeInfo(ParseWeaponType("staff")).blunt);
    EXPECT_TRUE(GetWeaponTypeInfo(ParseWeaponType("axe")).critical);
}

TEST(TileKindTable, UnknownWordsAreInvalidForCellsAndRejectedForObjects) {
    EXPECT_EQ(ParseTileKind("Door"), TILE_INVALID);
    EXPECT_EQ(ParseTileKind(""), TILE_INVALID);
    EXPECT_EQ(ParseTileKind("door"), TILE_DOOR);
    ExpectThrowsCode([] { ParseObjectTileKind("door"); }, DRAV_ERR_OUT_OF_RANGE, "door");
    ExpectThrowsCode([] { ParseObjectTileKind("Floor"); }, DRAV_ERR_OUT_OF_RANGE, "Floor");
    ExpectThrowsCode([] { ParseSpellEffectKind("heals"); }, DRAV_ERR_OUT_OF_RANGE, "heals");
}

TEST(AttackInfo, DamageTextSumsBothDice) {
    const CAttackInfo attack("Claw", 3, 6, 2, 4, -1, {DAMAGE_PHYSICAL, ELEMENT_SHARP}, 0, 0);
    EXPECT_EQ(attack.GetDamageText(), "(1 to 10) + 1");
    // Sums past the 32-bit range hold at its ends rather than wrapping round.
    const CAttackInfo huge("Claw", 0, INT32_MAX, INT32_MIN, 1, -1, {DAMAGE_PHYSICAL, ELEMENT_SHARP}, 0, 0);
    EXPECT_EQ(huge.GetDamageText(), "(1 to 2147483647) - 2147483648");
    const CAttackInfo copy(attack);
    EXPECT_EQ(copy.name, "Claw");
    EXPECT_EQ(copy.bonusB, -1);
    EXPECT_EQ(copy.damageType, attack.damageType);
}

TEST(AttackInfo, SaveAndLoadRoundTrip) {
    const CAttackInfo attack("Bite of the Wolf", -2, 8, 3, 6, -4, {DAMAGE_PHYSICAL, ELEMENT_BLUNT}, 2,
                             ATTACK_TOUCH | ATTACK_CRITICAL | 0x100);
    const std::string text = RulesTest::WrittenText([&](DRAVCommon::CDataFileWriter& w) { attack.Save(w); });
    EXPECT_EQ(text, "<attackinfo>\n \"Bite of the Wolf\"\n -2\n 8\n 3\n 6\n -4\n blunt\n 2\n 259\n</attackinfo>\n");
    auto reader = ReaderOver(text);
    CAttackInfo loaded;
    loaded.Load(*reader);
    EXPECT_TRUE(reader->AtEnd());
    EXPECT_EQ(loaded.name, attack.name);
    EXPECT_EQ(loaded.attackBonus, attack.attackBonus);
    EXPECT_EQ(loaded.dieA, attack.dieA);
    EXPECT_EQ(loaded.bonusA, attack.bonusA);
    EXPECT_EQ(loaded.dieB, attack.dieB);
    EXPECT_EQ(loaded.bonusB, attack.bonusB);
    EXPECT_EQ(loaded.damageType, attack.damageType);
    EXPECT_EQ(loaded.enhancement, attack.enhancement);
    EXPECT_EQ(loaded.flags, attack.flags);
}

TEST(AttackInfo, NoneDamageTypeIsWrittenAsZero) {
    CAttackInfo attack;
    attack.damageType = {DAMAGE_ENERGETIC, ELEMENT_FIRE};
    const CAttackInfo none("Touch", 0, 0, 0, 0, 0, {}, 0, 0);
    const std::string text = RulesTest::WrittenText([&](DRAVCommon::CDataFileWriter& w) { none.Save(w); });
    EXPECT_NE(text.find("\n 0\n 0\n 0\n 0\n 0\n 0\n 0\n 0\n</attackinfo>"), std::string::npos) << text;
    auto reader = ReaderOver(text);
    attack.Load(*reader);
    EXPECT_EQ(attack.damageType, CDamageType{});
}

TEST(AttackInfo, MalformedBlocksFail) {
    CAttackInfo attack;
    auto wrongBlock = ReaderOver("<attack> \"A\" 0 0 0 0 0 0 0 0 </attack>");
    ExpectThrowsCode([&] { attack.Load(*wrongBlock); }, DRAV_ERR_BAD_DATA, "<attackinfo>");
    auto badType = ReaderOver("<attackinfo> \"A\" 0 0 0 0 0 burning 0 0 </attackinfo>");
    ExpectThrowsCode([&] { attack.Load(*badType); }, DRAV_ERR_BAD_DATA, "\"burning\"");
    auto truncated = ReaderOver("<attackinfo> \"A\" 0 0 0 0 0");
    ExpectThrowsCode([&] { attack.Load(*truncated); }, DRAV_ERR_BAD_DATA, "end of the data");
    auto unclosed = ReaderOver("<attackinfo> \"A\" 0 0 0 0 0 fire 0 0 extra </attackinfo>");
    ExpectThrowsCode([&] { attack.Load(*unclosed); }, DRAV_ERR_BAD_DATA, "</attackinfo>");
    auto badNumber = ReaderOver("<attackinfo> \"A\" 0 x 0 0 0 fire 0 0 </attackinfo>");
    ExpectThrowsCode([&] { attack.Load(*badNumber); }, DRAV_ERR_BAD_DATA, "\"x\"");
}

TEST(ThingId, TypeInTheTopByteAndLimits) {
    ThingId id = 0;
    MakeThingId(id, THING_ITEM, kMaxThingSerial);
    EXPECT_EQ(id, 0x05FFFFFFu);
    MakeThingId(id, THING_TILE, 12 * 1000 + 34);
    EXPECT_EQ(id, (1u << 24) + 12034u);
    ExpectThrowsCode([&] { MakeThingId(id, THING_ITEM, kMaxThingSerial + 1); }, DRAV_ERR_OUT_OF_RANGE, "16777216");
    ExpectThrowsCode([&] { MakeThingId(id, 256, 1); }, DRAV_ERR_OUT_OF_RANGE, "256");
    EXPECT_EQ(id, (1u << 24) + 12034u) << "a rejected id leaves the old one";
    MakeThingId(id, 255, 0);
    EXPECT_EQ(id, 0xFF000000u);
}
