#include <gtest/gtest.h>

#include "rules/items/item_attribute.h"
#include "rules/items/modifier_accumulator.h"
#include "item_test_util.h"
#include "support/error_code.h"

using namespace DRAV;
using ItemsTest::ItemText;
using ItemsTest::OneSpell;
using ItemsTest::ReadTemplate;
using QuillmereTest::ErrorCodeOf;
using RulesTest::ExpectThrowsCode;
using RulesTest::ReaderOver;

namespace {

std::shared_ptr<CItemAttribute> ReadAttribute(const std::string& text, const SpellMap& spells = {}) {
    auto reader = ReaderOver(text + " end");
    auto attribute = ReadItemAttribute(*reader, spells, "Source");
    EXPECT_EQ(reader->GetToken(), "end");
    return attribute;
}

template <typename T>
const T& As(const std::shared_ptr<CItemAttribute>& attribute) {
    EXPECT_EQ(attribute->GetType(), T::kType);
    return static_cast<const T&>(*attribute);
}

std::int32_t Total(ModifierIndex index, const std::vector<std::string>& modifyElements) {
    CModifierAccumulator accumulator(index);
    for (const std::string& text : modifyElements)
        AccumulateModifier(accumulator, *As<CItemAttributeModify>(ReadAttribute(text)).GetModifier());
    return accumulator.GetTotal();
}

}  // namespace

TEST(ItemAttributes, WeaponFields) {
    auto weaponHeld = ReadAttribute("<weapon> axe true -1 12 2 3 </weapon>");
    const auto& weapon = As<CItemAttributeWeapon>(weaponHeld);
    EXPECT_EQ(weapon.GetWeaponType(), WEAPON_AXE);
    EXPECT_TRUE(weapon.IsTwoHanded());
    EXPECT_EQ(weapon.GetAttackBonus(), -1);
    EXPECT_EQ(weapon.GetDamageDie(), 12);
    EXPECT_EQ(weapon.GetDamageBonus(), 2);
    EXPECT_EQ(weapon.GetEnhancement(), 3);
}

TEST(ItemAttributes, ArmorWithAndWithoutTheAgilityGroup) {
    auto plainHeld = ReadAttribute("<armor> light_armor 3 0 1 5 </armor>");
    const auto& plain = As<CItemAttributeArmor>(plainHeld);
    EXPECT_EQ(plain.GetArmorSkill(), SKILL_LIGHT_ARMOR);
    EXPECT_EQ(plain.GetDefenseClass(), 3);
    EXPECT_FALSE(plain.HasMaxAgilityBonus());
    EXPECT_EQ(plain.GetMaxAgilityBonus(), 0);
    EXPECT_EQ(plain.GetNonProficientPenalty(), 1);
    EXPECT_EQ(plain.GetSpellcastingPenalty(), 5);

    auto cappedHeld = ReadAttribute("<armor> 0 4 ( true 3 ) -2 15 </armor>");
    const auto& capped = As<CItemAttributeArmor>(cappedHeld);
    EXPECT_EQ(capped.GetArmorSkill(), SKILL_NONE);
    EXPECT_TRUE(capped.HasMaxAgilityBonus());
    EXPECT_EQ(capped.GetMaxAgilityBonus(), 3);
    EXPECT_EQ(capped.GetNonProficientPenalty(), -2);

    // Without the group and without the "0" standing for it.
    auto bareHeld = ReadAttribute("<armor> heavy_armor 6 -3 20 </armor>");
    const auto& bare = As<CItemAttributeArmor>(bareHeld);
    EXPECT_FALSE(bare.HasMaxAgilityBonus());
    EXPECT_EQ(bare.GetNonProficientPenalty(), -3);
    EXPECT_EQ(bare.GetSpellcastingPenalty(), 20);
}

TEST(ItemAttributes, RequirementSpellAndQuest) {
    auto reqHeld = ReadAttribute("<attribute> agility 14 </attribute>");
    const auto& req = As<CItemAttributeAttributeReq>(reqHeld);
    EXPECT_EQ(req.GetAttribute(), ATTR_AGILITY);
    EXPECT_EQ(req.GetMinimum(), 14u);

    SpellMap spells = OneSpell("spark");
    auto spellHeld = ReadAttribute("<spell> spark </spell>", spells);
    const auto& spell = As<CItemAttributeSpell>(spellHeld);
    EXPECT_EQ(&spell.GetSpell(), spells.at("spark").get());

    EXPECT_EQ(As<CItemAttributeQuest>(ReadAttribute("<quest> found_it </quest>")).GetQuestTag(), "found_it");
}

TEST(ItemAttributes, ModifyAndResistBuildPermanentRecords) {
    auto modifyHeld = ReadAttribute("<modify> 2 material strength observation </modify>");
    const auto& modify = As<CItemAttributeModify>(modifyHeld);
    const CSpellApply& record = *modify.GetModifier();
    EXPECT_EQ(record.GetName(), "Source");
    EXPECT_EQ(record.GetDamageType(), (CDamageType{DAMAGE_MATERIAL, ELEMENT_NONE}));
    EXPECT_TRUE(record.IsSilent());
    EXPECT_TRUE(record.IsHidden());
    ASSERT_EQ(record.GetParts().size(), 1u);
    const auto& part = static_cast<const CSpellApplyEffectModify&>(*record.GetParts()[0]);
    EXPECT_EQ(part.GetKind(), APPLY_MODIFY);
    EXPECT_EQ(part.GetEndTick(), 0u);
    EXPECT_EQ(part.GetAmount(), 2);
    EXPECT_EQ(part.GetMask(), ModifierBit(MOD_STRENGTH) | ModifierBit(MOD_OBSERVATION));

    auto resistHeld = ReadAttribute("<resist> fire -5 </resist>");
    const auto& resist = As<CItemAttributeResist>(resistHeld);
    const CSpellApply& resistRecord = *resist.GetResistance();
    EXPECT_EQ(resistRecord.GetDamageType(), CDamageType{});
    ASSERT_EQ(resistRecord.GetParts().size(), 1u);
    const auto& resistPart = static_cast<const CSpellApplyEffectResist&>(*resistRecord.GetParts()[0]);
    EXPECT_EQ(resistPart.GetDamageType(), (CDamageType{DAMAGE_ENERGETIC, ELEMENT_FIRE}));
    EXPECT_EQ(resistPart.GetAmount(), -5);
}

TEST(ItemAttributes, TemplateDisplayNameNamesItsModifiers) {
    auto ring = ReadTemplate(ItemText("ring", "ring", 10, "<modify> 1 0 attack </modify>"));
    EXPECT_EQ(ring->GetAttributeOf<CItemAttributeModify>()->GetModifier()->GetName(), "ring name");
}

TEST(ItemAttributes, MalformedElements) {
    struct Case {
        const char* text;
        std::int32_t code;
    };
    for (const Case& c : {
             Case{"<weapon> </weapon>", DRAV_ERR_BAD_DATA},                       // no weapon type
             Case{"<weapon> spear false 0 6 0 0 </weapon>", DRAV_ERR_OUT_OF_RANGE},  // not a weapon type
             Case{"<weapon> axe yes 0 6 0 0 </weapon>", DRAV_ERR_BAD_DATA},
             Case{"<weapon> axe false 0 6 0 </weapon>", DRAV_ERR_BAD_DATA},       // one number short
             Case{"<weapon> axe false 0 6 0 0 1 </weapon>", DRAV_ERR_BAD_DATA},   // one number too many
             Case{"<armor> </armor>", DRAV_ERR_BAD_DATA},
             Case{"<armor> cloth 1 0 0 0 </armor>", DRAV_ERR_OUT_OF_RANGE},       // not a skill
             Case{"<armor> 0 1 ( 3 true ) 0 0 </armor>", DRAV_ERR_BAD_DATA},
             Case{"<attribute> luck 3 </attribute>", DRAV_ERR_OUT_OF_RANGE},
             Case{"<attribute> strength -3 </attribute>", DRAV_ERR_BAD_DATA},
             Case{"<spell> </spell>", DRAV_ERR_BAD_DATA},
             Case{"<spell> missing </spell>", DRAV_ERR_BAD_DATA},
             Case{"<quest> </quest>", DRAV_ERR_BAD_DATA},
             Case{"<modify> attack 2 </modify>", DRAV_ERR_BAD_DATA},              // value comes first
             Case{"<modify> 2 </modify>", DRAV_ERR_BAD_DATA},                     // no category
             Case{"<modify> 2 material sharpness </modify>", DRAV_ERR_BAD_DATA},
             Case{"<modify> 2 weird attack </modify>", DRAV_ERR_BAD_DATA},
             Case{"<resist> 10 fire </resist>", DRAV_ERR_BAD_DATA},               // value comes after
             Case{"<resist> </resist>", DRAV_ERR_BAD_DATA},
             Case{"<resist> fire </resist>", DRAV_ERR_BAD_DATA},
             Case{"<enchant> 1 </enchant>", DRAV_ERR_BAD_DATA},
             Case{"plain", DRAV_ERR_BAD_DATA},
         })
        EXPECT_EQ(ErrorCodeOf([&] { ReadAttribute(c.text); }), c.code) << c.text;
    ExpectThrowsCode([] { ReadAttribute("<spell> missing </spell>"); }, DRAV_ERR_BAD_DATA, "missing");
}

TEST(ModifierStacking, OnlyTheBestBonusAndWorstPenaltyOfACategoryCount) {
    EXPECT_EQ(Total(MOD_ATTACK, {"<modify> 2 material attack </modify>", "<modify> 2 material attack </modify>"}), 2);
    EXPECT_EQ(Total(MOD_ATTACK, {"<modify> 2 material attack </modify>", "<modify> 2 energetic attack </modify>"}),
              4);
    EXPECT_EQ(Total(MOD_ATTACK, {"<modify> 3 material attack </modify>", "<modify> -1 material attack </modify>"}),
              2);
    EXPECT_EQ(Total(MOD_ATTACK, {"<modify> -1 power attack </modify>", "<modify> -3 power attack </modify>"}), -3);
    EXPECT_EQ(Total(MOD_ATTACK, {"<modify> 1 physical attack </modify>", "<modify> 4 physical attack </modify>"}), 4);
    // Other statistics are left out; one element may change several.
    EXPECT_EQ(Total(MOD_DEFENSE, {"<modify> 2 material attack </modify>"}), 0);
    EXPECT_EQ(Total(MOD_DEFENSE, {"<modify> 2 material attack defense </modify>"}), 2);
    EXPECT_EQ(Total(MOD_RESIST_FIRE, {"<modify> 5 spiritual fire </modify>"}), 5);
    // Without a category there is nothing to compete with: they add up.
    EXPECT_EQ(Total(MOD_ATTACK, {"<modify> 2 0 attack </modify>", "<modify> 2 0 attack </modify>"}), 4);
}

TEST(ModifierStacking, ResistRecordsAreNotModifiers) {
    CModifierAccumulator accumulator(MOD_RESIST_FIRE);
    AccumulateModifier(accumulator, *As<CItemAttributeResist>(ReadAttribute("<resist> fire 10 </resist>")).GetResistance());
    EXPECT_EQ(accumulator.GetTotal(), 0);
}
