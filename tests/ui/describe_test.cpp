// The hover descriptions of map things, items and abilities on the sample chapter:
// recognition of sneaking monsters, containers and doors, ability costs and icons,
// and the weapon without a weapon attribute that the module refuses.

#include <gtest/gtest.h>

#include <sstream>
#include <utility>

#include "common/data_file_reader.h"
#include "rules/items/item_template.h"
#include "rules/vocabulary/special_stat.h"
#include "support/expect_drav.h"
#include "support/sample_game.h"
#include "ui/element_info.h"
#include "rules/kinds/number_texts.h"
#include "ui/info_icons.h"
#include "ui/ui_items_list.h"
#include "world/item.h"
#include "world/object.h"
#include "world/tile.h"

namespace {

using namespace DRAVUI;
using namespace DRAV;

class DescribeTest : public ::testing::Test {
protected:
    ElementInfo Describe(const CThing* thing, const CActor* viewer = nullptr) {
        ElementInfo record;
        ElementInfo::DescribeThing(record, thing, viewer);
        return record;
    }

    QuillmereTest::SampleGame m_game;
};

TEST_F(DescribeTest, AHostileSneakerThePartyCannotMakeOutIsUnknownButKeepsItsHitPointBar) {
    std::shared_ptr<CActor> smuggler = m_game.Spawn("reed_smuggler", 8, 6);
    ASSERT_TRUE(smuggler);
    smuggler->SetRelation(RELATION_HOSTILE);
    m_game.Main()->RemoveSkill(GetSpecialStatSkill(SPECIAL_OBSERVATION));
    ASSERT_GT(smuggler->GetSpecialStat(SPECIAL_STEALTH), m_game.Game().GetBestPartySpecialStat(SPECIAL_OBSERVATION));
    smuggler->SetDamageTaken(smuggler->GetMaxHitPoints() / 2);

    ElementInfo hidden = Describe(smuggler.get());
    EXPECT_EQ(hidden.kind, INFO_MAP_THING);
    EXPECT_EQ(hidden.subjectId, static_cast<std::int32_t>(smuggler->GetId()));
    EXPECT_EQ(hidden.title, "Reed Smuggler");
    EXPECT_EQ(hidden.titleColour, 0xFFFF0000u);
    EXPECT_EQ(hidden.text, "Human Unknown");
    EXPECT_EQ(hidden.badges[BADGE_BOTTOM_LEFT], 54);
    EXPECT_EQ(hidden.badges[BADGE_BOTTOM_RIGHT], 44);
    EXPECT_EQ(hidden.icon, 29);
    EXPECT_EQ(hidden.iconColour, 0xFF5A643Cu);  // ( 90 100 60 ) made opaque
    EXPECT_TRUE(hidden.hasHitPointBar);
    EXPECT_NEAR(hidden.hitPointFraction,
                double(smuggler->GetMaxHitPoints() - smuggler->GetDamageTaken()) / smuggler->GetMaxHitPoints(), 1e-9);
    EXPECT_FALSE(hidden.hasEnergyBar);
    EXPECT_EQ(hidden.actionHint, "Info");

    // Without its Stealth it is made out: race, class, level, the class badge, and
    // that it sneaks (the monster starts with its sneak power up).
    smuggler->RemoveSkill(SKILL_SNEAK);
    ASSERT_GE(m_game.Game().GetBestPartySpecialStat(SPECIAL_OBSERVATION), smuggler->GetSpecialStat(SPECIAL_STEALTH));
    ASSERT_TRUE(smuggler->GetCurrentPower() && smuggler->GetCurrentPower()->GetSchool() == SKILL_SNEAK);
    ElementInfo seen = Describe(smuggler.get());
    EXPECT_EQ(seen.text, "Human " + GetClassName(CLASS_ROGUE) + " " + std::to_string(smuggler->GetLevel()) +
                             " (Sneaking)");
    EXPECT_EQ(seen.badges[BADGE_BOTTOM_LEFT], 52);

    // A dead actor shows the dead icon and an empty bar.
    smuggler->SetActionState(ACTION_DEAD);
    ElementInfo dead = Describe(smuggler.get());
    EXPECT_EQ(dead.icon, 28);
    EXPECT_EQ(dead.hitPointFraction, 0.0);
}

// Stealth hides only whoever hides: smugglers who keep to the open are made out
// by a party with no eye for hiders.
TEST_F(DescribeTest, ASmugglerWhoDoesNotSneakIsMadeOutByAnyParty) {
    m_game.Main()->RemoveSkill(GetSpecialStatSkill(SPECIAL_OBSERVATION));
    int column = 8;
    for (const char* key : {"smuggler_lookout", "smuggler_captain"}) {
        std::shared_ptr<CActor> smuggler = m_game.Spawn(key, column++, 6);
        ASSERT_TRUE(smuggler && !smuggler->IsSneaking()) << key;
        smuggler->SetRelation(RELATION_HOSTILE);
        EXPECT_EQ(Describe(smuggler.get()).text, "Human Adventurer " + std::to_string(smuggler->GetLevel())) << key;
    }
}

// One bound to turn on whoever comes near shows as the foe it is before it has;
// the landing's folk do not, nor one that has surrendered.
TEST_F(DescribeTest, OneBoundToTurnOnThePartyIsNamedInAFoesColour) {
    const std::pair<const char*, std::uint32_t> rows[] = {
        {"smuggler_lookout", 0xFFFF0000u}, {"reed_smuggler", 0xFFFF0000u}, {"ferry_keeper", 0xFFFFFFFFu}};
    std::uint32_t column = 8;
    for (const auto& [key, colour] : rows) {
        std::shared_ptr<CActor> actor = m_game.Spawn(key, column++, 6);
        ASSERT_TRUE(actor && actor->GetRelation() == RELATION_NEUTRAL) << key;
        EXPECT_EQ(Describe(actor.get()).titleColour, colour) << key;
        actor->SetRelation(RELATION_SURRENDER);
        EXPECT_EQ(Describe(actor.get()).titleColour, 0xFFFFFFFFu) << key << " surrendered";
    }
}

TEST_F(DescribeTest, APartyMemberIsAlwaysRecognisedAndShowsBothBars) {
    std::shared_ptr<CActor> main = m_game.Main();
    main->SetSkillEdit(false);
    main->AddSkill(SKILL_SNEAK);
    for (const auto& member : m_game.Game().GetParty()) member->RemoveSkill(GetSpecialStatSkill(SPECIAL_OBSERVATION));
    const ElementInfo record = Describe(main.get());
    EXPECT_EQ(record.title, "Wren");
    EXPECT_EQ(record.titleColour, 0xFF00FF00u);
    EXPECT_EQ(record.text.find("Unknown"), std::string::npos);
    EXPECT_EQ(record.text.rfind("Human ", 0), 0u) << record.text;
    EXPECT_TRUE(record.hasHitPointBar);
    EXPECT_TRUE(record.hasEnergyBar);
}

TEST_F(DescribeTest, ContainersAndDoorsSayWhetherTheyAreLockedClosedOrEmpty) {
    const CObjectTemplate* chest = m_game.Module().FindObjectTemplate("tackle_chest");
    ASSERT_TRUE(chest);
    ThingId id = 0;
    MakeThingId(id, THING_OBJECT, 9001);
    CObject object(id, &m_game.Area(), "chest", *chest);
    object.SetLockValue(30);
    EXPECT_EQ(Describe(&object).text, "Container (Locked)");
    EXPECT_EQ(Describe(&object).title, "Tackle Chest");
    object.SetUnlocked(true);
    EXPECT_EQ(Describe(&object).text, "Container (Empty)");

    const CTileTemplate* gate = m_game.Module().FindTileTemplate("boathouse_door");
    ASSERT_TRUE(gate);
    CMasterTileDoor door(*gate, &m_game.Area(), 3, 4, static_cast<Direction>(0));
    door.SetLockValue(25);
    CTile tile(4, 3, &door);
    ElementInfo record = Describe(&tile);
    EXPECT_EQ(record.title, "Boathouse Door");
    EXPECT_EQ(record.text, "Door (Closed) (Locked)");
    EXPECT_EQ(record.subjectId, static_cast<std::int32_t>(MakeTileId(4, 3)));
    door.SetOpen(true);
    door.SetLockValue(0);
    EXPECT_EQ(Describe(&tile).text, "Door");

    // A thing of type 0 (none or self) is not described at all.
    EXPECT_EQ(Describe(nullptr).kind, INFO_NOTHING);
}

// Hovers, store cells and quick slots name an item as lists do, not by the long
// name that heads its description.
TEST_F(DescribeTest, ItemsAreTitledByTheirDisplayNameEverywhere) {
    const CItemTemplate& blade = *m_game.Module().GetItemTemplates().at("river_blade");
    ASSERT_EQ(blade.GetName(), "River Blade");
    ASSERT_NE(blade.GetFullName(), blade.GetName());
    const CItem item(0x05000100, blade, 1, 0);
    ElementInfo hover, store, slot;
    ElementInfo::DescribeThing(hover, &item, m_game.Main().get());
    ElementInfo::DescribeItemPrice(store, item, 12, m_game.Main().get());
    ElementInfo::DescribeItem(slot, blade);
    for (const ElementInfo* record : {&hover, &store, &slot}) EXPECT_EQ(record->title, "River Blade");
}

// Sneak has no rank (its level is 0): its number is the actor's Stealth, as the
// character sheet shows it.
TEST_F(DescribeTest, AbilitiesShowTheirCostOrThatTheyCannotBeUsed) {
    std::shared_ptr<CActor> main = m_game.Main();
    const std::shared_ptr<CSpell> sneak = MakeSneakPower();
    ElementInfo record;
    main->RemoveSkill(SKILL_SNEAK);
    const std::string untrained = std::to_string(main->GetSpecialStat(SPECIAL_STEALTH));
    ElementInfo::DescribeAbility(record, *sneak, *main);
    EXPECT_EQ(record.text, "Stealth " + untrained + " (-) (Power)");
    EXPECT_EQ(record.titleColour, 0xFFFF0000u);
    EXPECT_EQ(record.icon, 55);

    main->AddSkill(SKILL_SNEAK);
    const std::int32_t stealth = main->GetSpecialStat(SPECIAL_STEALTH);
    ASSERT_NE(stealth, 0) << "a number the power's level 0 cannot pass for";
    ElementInfo::DescribeAbility(record, *sneak, *main);
    EXPECT_EQ(record.text, "Stealth " + std::to_string(stealth) + " (0 energy) (Power)");
    EXPECT_EQ(record.titleColour, 0xFFFFFFFFu);
    EXPECT_EQ(record.kind, INFO_ABILITY);
    EXPECT_EQ(record.key, sneak->GetKey());
    EXPECT_EQ(record.actionHint, "Info");
}

// A spell as a module author may write it: any skill, or "0" for none, as its school.
std::shared_ptr<CSpell> SpellOfSchool(const std::string& school, const std::string& extra = "") {
    const std::string text = "<spell> of_" + school + " \"Of " + school + "\" ( 10 20 30 ) \"\" 0 " + school +
                             " <tier> 1 </tier> 0 0 0 <effect> heal <value> 8 ( 0 1 ) </value> </effect> " + extra +
                             " </spell>";
    DRAVCommon::CDataFileReader reader(std::make_shared<std::istringstream>(text), "test_magic.drav");
    return std::make_shared<CSpell>(reader);
}

TEST_F(DescribeTest, SpellsShowTheirSchoolsIconAndAnyOtherSchoolTheSpellcastersStar) {
    const struct {
        const char* school;
        int icon;
    } rows[] = {
        {"void_magic", 58},   {"matter_magic", 59},  {"energy_magic", 60}, {"spirit_magic", 61},
        {"elemental_magic", 62}, {"cosmic_magic", 63}, {"life_magic", 64},   {"high_magic", 65},
        // Ways of learning, other skills on either side of the schools and no school at all.
        {"arcane_magic", IMAGE_BADGE_SPELLCASTER}, {"religion", IMAGE_BADGE_SPELLCASTER},
        {"spirit_blood", IMAGE_BADGE_SPELLCASTER}, {"void_magic_mastery", IMAGE_BADGE_SPELLCASTER},
        {"light_blade", IMAGE_BADGE_SPELLCASTER}, {"0", IMAGE_BADGE_SPELLCASTER},
    };
    for (const auto& row : rows) EXPECT_EQ(AbilityIcon(*SpellOfSchool(row.school)), row.icon) << row.school;

    // Powers keep theirs whatever the school.
    EXPECT_EQ(AbilityIcon(*SpellOfSchool("religion", "power")), 57);
    EXPECT_EQ(AbilityIcon(*MakeSneakPower()), 55);
}

TEST_F(DescribeTest, ASpellOfAWayOfLearningOrOfNoSchoolIsDescribedWithAnIcon) {
    std::shared_ptr<CActor> main = m_game.Main();
    main->AddSkill(SKILL_RELIGION);
    ElementInfo record;
    ElementInfo::DescribeAbility(record, *SpellOfSchool("religion"), *main);
    EXPECT_EQ(record.icon, IMAGE_BADGE_SPELLCASTER);
    EXPECT_EQ(record.text.rfind("Religion 1 (", 0), 0u) << record.text;
    EXPECT_EQ(record.key, "of_religion");

    // No school: no skill can make it usable, and its rank stands alone.
    ElementInfo::DescribeAbility(record, *SpellOfSchool("0"), *main);
    EXPECT_EQ(record.icon, IMAGE_BADGE_SPELLCASTER);
    EXPECT_EQ(record.text, "Tier 1 (-)");
    EXPECT_EQ(record.titleColour, 0xFFFF0000u);
    EXPECT_EQ(record.kind, INFO_ABILITY);
}

TEST_F(DescribeTest, AWeaponWithoutItsWeaponAttributeGetsThePlainIconAndSortsAfterTheOtherWeapons) {
    const std::string text =
        "<item> bare_blade \"Bare Blade\" \"Bare Blade\" ( 10 10 10 ) \"No hilt.\" i_knife 0 metal 1 5 weapon "
        "normal </item>";
    DRAVCommon::CDataFileReader reader(std::make_shared<std::istringstream>(text), "items.drav");
    reader.BeginBlock("item");
    const CItemTemplate bare(reader, SpellMap{});
    const CItemTemplate& bow = *m_game.Module().GetItemTemplates().at("reed_bow");
    const CItem bareItem(0x05000100, bare, 1, 0), bowItem(0x05000101, bow, 1, 0);

    ElementInfo record = Describe(&bareItem);
    EXPECT_EQ(record.icon, IMAGE_INVENTORY);
    EXPECT_EQ(record.title, "Bare Blade");
    EXPECT_TRUE(record.text.empty());
    ElementInfo::DescribeItem(record, bare);
    EXPECT_EQ(record.icon, IMAGE_INVENTORY);
    // After the bow, the last weapon type, and before any armor.
    EXPECT_TRUE(ItemShownBefore(bowItem, bareItem));
    EXPECT_FALSE(ItemShownBefore(bareItem, bowItem));
    EXPECT_EQ(Describe(&bowItem).text, "Dam: " + FormatDamageRange(8, 0) + " ");
}

}  // namespace
