// What fits in which slot, the backpack and its stacks, finding and weighing items,
// the store's prices, the graphics of carried items and inscribed spells.

#include <gtest/gtest.h>

#include "support/expect_drav.h"
#include "world/actor_test_support.h"

using namespace DRAV;
using WorldTest::SampleActor;
using WorldTest::SampleItem;
using WorldTest::SampleWithBrains;

namespace {

std::shared_ptr<CItem> Item(const std::string& key, ThingId id, std::int32_t count = 1, std::uint32_t expiry = 0) {
    return SampleWithBrains().CreateItem(key, count, id, expiry);
}

}  // namespace

TEST(ActorInventory, ATwoHandedWeaponAndTheOffHandBlockEachOther) {
    auto ferryman = SampleActor("ferryman");
    ferryman->SetAttribute(ATTR_STRENGTH, 16);
    auto maul = SampleItem("war_maul");
    auto buckler = SampleItem("ferry_buckler");
    auto sword = SampleItem("longsword");
    CItem* blocking = nullptr;

    ferryman->SetEquipment(SLOT_WEAPON, maul);
    EXPECT_FALSE(ferryman->CheckTwoHandedConflict(SLOT_OFFHAND, *buckler, &blocking));
    EXPECT_EQ(blocking, maul.get());

    ferryman->SetEquipment(SLOT_WEAPON, nullptr);
    ferryman->SetEquipment(SLOT_OFFHAND, buckler);
    EXPECT_FALSE(ferryman->CheckTwoHandedConflict(SLOT_WEAPON, *maul, &blocking));
    EXPECT_EQ(blocking, buckler.get());
    EXPECT_TRUE(ferryman->CheckTwoHandedConflict(SLOT_WEAPON, *sword, &blocking));
    EXPECT_EQ(blocking, nullptr);
    EXPECT_TRUE(ferryman->CheckTwoHandedConflict(SLOT_ARMOR, *SampleItem("chain_shirt"), nullptr));

    // A main-hand item that is no weapon cannot say whether it takes both hands.
    ferryman->SetEquipment(SLOT_WEAPON, SampleItem("reed_lantern"));
    EXPECT_DRAV_CODE(ferryman->CheckTwoHandedConflict(SLOT_OFFHAND, *buckler, nullptr), 2);
    EXPECT_DRAV_CODE(ferryman->CheckTwoHandedConflict(SLOT_WEAPON, *SampleItem("reed_lantern"), nullptr), 2);
}

TEST(ActorInventory, OffHandWeaponsNeedDualWieldAndRingsFitEitherHand) {
    auto ferryman = SampleActor("ferryman");
    auto dagger = SampleItem("dagger");
    EXPECT_TRUE(ferryman->CanEquipInSlot(SLOT_WEAPON, *dagger));
    EXPECT_FALSE(ferryman->CanEquipInSlot(SLOT_OFFHAND, *dagger));
    ferryman->AddSkill(SKILL_DUAL_WIELD_STYLE);
    EXPECT_TRUE(ferryman->CanEquipInSlot(SLOT_OFFHAND, *dagger));
    EXPECT_FALSE(ferryman->CanEquipInSlot(SLOT_OFFHAND, *SampleItem("ferrymans_pole")));
    EXPECT_TRUE(ferryman->CanEquipInSlot(SLOT_OFFHAND, *SampleItem("ferry_buckler")));
    EXPECT_FALSE(ferryman->CanEquipInSlot(SLOT_WEAPON, *SampleItem("ferry_buckler")));

    auto ring = SampleItem("ring_of_the_current");
    EXPECT_TRUE(ferryman->CanEquipInSlot(SLOT_LEFT_RING, *ring));
    EXPECT_TRUE(ferryman->CanEquipInSlot(SLOT_RIGHT_RING, *ring));
    EXPECT_FALSE(ferryman->CanEquipInSlot(SLOT_AMULET, *ring));
    EXPECT_TRUE(ferryman->CanUseItem(*ring));

    ferryman->SetSummonEndTick(900);
    for (const char* key : {"dagger", "ferry_buckler", "ring_of_the_current", "chain_shirt"})
        EXPECT_FALSE(ferryman->CanUseItem(*SampleItem(key))) << key;
}

TEST(ActorInventory, AttributeRequirementsCountModifiers) {
    auto ferryman = SampleActor("ferryman");
    auto axe = SampleItem("boarding_axe");  // strength 13
    ferryman->SetAttribute(ATTR_STRENGTH, 13);
    EXPECT_TRUE(ferryman->CanUseItem(*axe));
    ferryman->SetAttribute(ATTR_STRENGTH, 12);
    EXPECT_FALSE(ferryman->CanUseItem(*axe));
    EXPECT_TRUE(ferryman->IsProficientWith(*SampleItem("ferrymans_pole")));
    EXPECT_FALSE(ferryman->IsProficientWith(*axe));
}

TEST(ActorInventory, ScrollsWandsAndPotionsAskForTheirSkills) {
    auto witch = SampleActor("reed_witch");
    auto scroll = SampleItem("i_scroll-reed_lash");
    auto wand = SampleItem("smugglers_flare");
    auto potion = SampleItem("river_tonic");
    EXPECT_TRUE(witch->CanUseMagicItem(*potion, false));
    EXPECT_FALSE(witch->CanUseMagicItem(*potion, true));
    EXPECT_FALSE(witch->CanUseMagicItem(*wand, false));
    witch->AddSkill(SKILL_WANDS);
    EXPECT_TRUE(witch->CanUseMagicItem(*wand, false));
    EXPECT_FALSE(witch->CanUseMagicItem(*wand, true));
    EXPECT_FALSE(witch->CanUseMagicItem(*scroll, false));
    witch->AddSkill(SKILL_ARCANE_MAGIC);
    witch->AddSkill(SKILL_ELEMENTAL_MAGIC);
    EXPECT_TRUE(witch->CanUseItem(*scroll));
    EXPECT_FALSE(witch->CanUseMagicItem(*SampleItem("eel_pie"), false));
}

TEST(ActorInventory, StacksMergeOnlyWithTheSameTemplateAndExpiry) {
    auto ferryman = SampleActor("ferryman");
    const std::size_t carried = ferryman->GetBackpack().size();
    ferryman->AddToBackpack(Item("river_tonic", 0x5000101, 2), true);
    auto second = Item("river_tonic", 0x5000102, 3);
    ferryman->AddToBackpack(second, true);
    ASSERT_EQ(ferryman->GetBackpack().size(), carried + 1);
    EXPECT_EQ(ferryman->GetBackpack().back()->GetCount(), 5);
    EXPECT_EQ(ferryman->GetBackpack().back()->GetId(), 0x5000101u);
    EXPECT_EQ(second->GetHolder(), nullptr);

    // Summoned tonic keeps a stack of its own: merged, the permanent ones would go with it.
    ferryman->AddToBackpack(Item("river_tonic", 0x5000103, 1, 900), true);
    ASSERT_EQ(ferryman->GetBackpack().size(), carried + 2);
    EXPECT_EQ(ferryman->GetBackpack().back()->GetExpiryTick(), 900u);
    ferryman->AddToBackpack(Item("river_tonic", 0x5000104, 1), false);
    EXPECT_EQ(ferryman->GetBackpack().size(), carried + 3);
    EXPECT_EQ(ferryman->GetBackpack().back()->GetHolder(), ferryman.get());
}

TEST(ActorInventory, RemovingAnItemThatIsNotThereIsCodeOne) {
    auto ferryman = SampleActor("ferryman");
    auto tonic = SampleItem("river_tonic");
    EXPECT_DRAV_CODE(ferryman->RemoveFromBackpack(*tonic), 1);
    EXPECT_DRAV_CODE(ferryman->RemoveDropItem(*tonic), 1);
    const auto backpack = ferryman->GetBackpack();
    ASSERT_GE(backpack.size(), 2u);
    EXPECT_EQ(ferryman->RemoveFromBackpack(*backpack[0]), backpack[0]);
    EXPECT_EQ(ferryman->GetBackpack().front(), backpack[1]);
    EXPECT_EQ(ferryman->RemoveEquipment(SLOT_HELMET), nullptr);
}

TEST(ActorInventory, FindItemLooksInTheBackpackFirstAndWeighsEverythingCarried) {
    auto actor = std::make_shared<CActor>(0x3000001);
    auto packed = Item("river_tonic", 0x5000007, 3);
    auto worn = Item("chain_shirt", 0x5000007);
    auto sword = Item("longsword", 0x5000008);
    actor->SetEquipment(SLOT_ARMOR, worn);
    actor->SetEquipment(SLOT_WEAPON, sword);
    actor->AddToBackpack(packed, false);
    std::int32_t position = -1;
    EXPECT_EQ(actor->FindItem(0x5000007, &position), packed.get());
    EXPECT_EQ(position, kBackpackPosition);
    EXPECT_EQ(actor->FindItem(0x5000008, &position), sword.get());
    EXPECT_EQ(position, SLOT_WEAPON);
    EXPECT_EQ(actor->FindItem(0x5000009, &position), nullptr);
    const double expected = 3 * packed->GetTemplate().GetWeight() + worn->GetTemplate().GetWeight() +
                            sword->GetTemplate().GetWeight();
    EXPECT_DOUBLE_EQ(actor->GetCarriedWeight(), expected);
}

TEST(ActorInventory, TheStoreBuysItsKindsAtHalfTheValueRoundedUp) {
    CGame game;
    auto trader = SampleActor("landing_trader", &game);
    std::uint32_t price = 0;
    EXPECT_TRUE(trader->GetStoreBuyPrice(*SampleItem("eel_pie"), price));  // value 3
    EXPECT_EQ(price, 2u);
    EXPECT_TRUE(trader->GetStoreBuyPrice(*SampleItem("river_tonic"), price));
    EXPECT_EQ(price, 20u);
    EXPECT_FALSE(trader->GetStoreBuyPrice(*SampleItem("ferry_buckler"), price));

    const ItemPtrList offered = trader->GetStoreItems();
    ASSERT_FALSE(offered.empty());
    const auto taken = trader->TakeStoreItem(offered.front()->GetId());
    EXPECT_EQ(taken, offered.front());
    EXPECT_EQ(trader->GetStoreItems().size(), offered.size() - 1);
    EXPECT_DRAV_CODE(trader->TakeStoreItem(taken->GetId()), 1);

    auto ferryman = SampleActor("ferryman");
    EXPECT_FALSE(ferryman->GetStoreBuyPrice(*SampleItem("eel_pie"), price));
    EXPECT_TRUE(ferryman->GetStoreItems().empty());
    EXPECT_DRAV_CODE(ferryman->TakeStoreItem(1), 2);
}

TEST(ActorInventory, CarriedGraphicsAreListedForColouredActorsOnly) {
    auto ferryman = SampleActor("ferryman");  // has a colour set
    ferryman->SetEquipment(SLOT_WEAPON, SampleItem("boarding_axe"));
    ferryman->SetEquipment(SLOT_OFFHAND, SampleItem("ferry_buckler"));
    std::string name;
    DRAVGraph::GraphicOverrideList overrides;
    EXPECT_TRUE(ferryman->SetGraphic(name, &overrides));
    EXPECT_EQ(name, "m_ferryman");
    EXPECT_EQ(overrides, (DRAVGraph::GraphicOverrideList{{"i_greataxe", false}, {"i_buckler", true}}));

    ferryman->SetGender(GENDER_FEMALE);
    overrides.clear();
    ferryman->SetGraphic(name, &overrides);
    EXPECT_EQ(overrides.front().name, "i_greataxe_back");

    auto smuggler = SampleActor("reed_smuggler");  // no colours, not in the party
    smuggler->SetEquipment(SLOT_WEAPON, SampleItem("boarding_axe"));
    overrides.clear();
    smuggler->SetGraphic(name, &overrides);
    EXPECT_EQ(name, "m_smuggler");
    EXPECT_TRUE(overrides.empty());
    EXPECT_EQ(CActor::GetEquipSlotName(SLOT_RIGHT_RING), "Right Ring");
    EXPECT_DRAV_CODE(CActor::GetEquipSlotName(7), 2);
}

TEST(ActorInventory, InscribingAddsSchoolAndFactionSpellsOnceWithAMessageEach) {
    CGame game;
    auto witch = SampleActor("reed_witch");
    witch->AddSkill(SKILL_RELIGION);
    const std::size_t known = witch->GetSpells().size();
    const CSpell& mend = WorldTest::Spell("mend_wounds");    // life magic, granted by religion
    const CSpell& still = WorldTest::Spell("still_water");  // spirit magic, and the Guild's deckhand spell
    ASSERT_TRUE(witch->LacksSpell(mend));
    witch->InscribeScroll(SampleWithBrains(), &game);
    EXPECT_FALSE(witch->LacksSpell(mend));
    EXPECT_FALSE(witch->LacksSpell(WorldTest::Spell("lantern_light")));
    EXPECT_TRUE(witch->LacksSpell(still)) << "neither pass gives a spell of a school she lacks";
    const std::size_t added = witch->GetSpells().size() - known;
    ASSERT_GE(added, 1u);

    std::shared_ptr<CEvent> event;
    ASSERT_TRUE(game.PopEvent(event));
    // The module's spells in key order: the reed lantern, life magic as well, comes first.
    EXPECT_EQ(static_cast<CMessageEvent&>(*event).GetText(), "Marra the Reed Witch inscribes Reed Lantern.");
    std::size_t messages = 1;
    while (game.PopEvent(event)) ++messages;
    EXPECT_EQ(messages, added);

    witch->InscribeScroll(SampleWithBrains(), nullptr);
    EXPECT_EQ(witch->GetSpells().size(), known + added);

    // The school without the way of learning: only her Guild rank gives Still Water,
    // beside Heron's Calm and Heron's Cry, which the school grants by itself.
    witch->RemoveSkill(SKILL_RELIGION);
    witch->AddSkill(SKILL_SPIRIT_MAGIC);
    ASSERT_GE(witch->GetMaxSpellTier(), still.GetTier());
    witch->InscribeScroll(SampleWithBrains(), nullptr);
    EXPECT_FALSE(witch->LacksSpell(still));
    EXPECT_FALSE(witch->LacksSpell(WorldTest::Spell("heron_calm")));
    EXPECT_FALSE(witch->LacksSpell(WorldTest::Spell("heron_cry")));
    EXPECT_EQ(witch->GetSpells().size(), known + added + 3);
}
