// The saved actor block: round trips, older saves, dropped items and bad blocks.

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "support/expect_drav.h"
#include "support/temp_dir.h"
#include "world/actor_test_support.h"
#include "world/order.h"

using namespace DRAV;
using WorldTest::LoadActor;
using WorldTest::SampleActor;
using WorldTest::SampleItem;
using WorldTest::Spell;
using WorldTest::SampleWithBrains;
using WorldTest::SavedText;

namespace {

// The captain as the middle of a fight leaves him: wounded, armed, under a spell,
// keeping up a power, his brain roused.
std::shared_ptr<CActor> PopulatedCaptain(CGame& game) {
    auto captain = SampleActor("smuggler_captain", &game);
    captain->SetPosition(31.25, 8.75);
    captain->SetFacing(1.5);
    captain->SetEncounter("reed_ambush", 2);
    captain->SetCompletionTag("captain_dead");
    captain->SetColor(std::make_shared<DRAVGraph::CGraphicColors>());
    captain->GetColor()->SetColor(DRAVGraph::CGraphicColors::TRIM, 0x963228);
    captain->SetRelation(RELATION_HOSTILE);
    captain->SetPartyIndex(3);
    captain->SetExperience(4200);
    captain->SetUnspentPoints(1);
    captain->SetSkillEdit(true);
    captain->SetDefenseAdjustment(-4);
    captain->SetBaseActionSpeed(3);
    captain->SetBaseMovementSpeed(-2);
    captain->SetCategoryResistance(CDamageType{DAMAGE_MATERIAL, ELEMENT_NONE}, 12);
    captain->SetDamageTaken(7);
    captain->SetLastDamage(7, 880);
    captain->SetHealsReceived(1);
    captain->SetEnergyUsed(2);
    captain->SetActionState(ACTION_WIND_UP);
    captain->SetActionTimers(870, 940);
    captain->SetSummonEndTick(0);
    captain->SetPowerCooldownTick(1200);
    captain->SetEquipment(SLOT_WEAPON, SampleItem("boarding_axe"));
    captain->SetEquipment(SLOT_ARMOR, SampleItem("chain_shirt"));
    captain->SetEquipment(SLOT_LEFT_RING, SampleItem("ring_of_the_current"));
    game.SetTick(900);
    const CSaveOutcome full;
    captain->AddSpellEffect(full, Spell("marsh_fever"), 25, 4, full, &SampleWithBrains());
    bool renewed = false;
    captain->ActivatePower(Spell("s_power-steady_pole"), 900, renewed);
    return captain;
}

// Marra as an older save wrote her when she travelled with the party: no <ids>
// block, and a backpack holding an anchor this chapter no longer has.
std::string LegacyWitch(const std::string& serial = "7", const std::string& relation = "party",
                        const std::string& hitPoints = "20", const std::string& effects = "") {
    return "<actor> " + serial + " 10 12.5 0 1 1.7 m_witch \"Marra\" \"old Marra\" ( 110 150 90 )\n"
           " 0 main 0 0\n " + relation + " 0 spellcaster female human 0 1 3 2000 0 0\n"
           " ( ferrymen 1 ) 8 10 11 16 12 0 0 0 0 0 0\n"
           " <skills> life_magic matter_magic </skills>\n"
           " 0 " + hitPoints + " 0 0 0 0  3 0 0 0 0 0 0\n"
           " <spellapplylist> " + effects + " </spellapplylist>\n"
           " ( quarterstaff 1 0 ) 0 0 0 0 0 0\n"
           " <backpack> ( sunken_anchor 1 0 ) ( river_tonic 2 0 ) </backpack>\n"
           " <dropitems> ( eel_pie 1 0 ) </dropitems>\n"
           " <spells> ferry_blessing marsh_fever </spells>\n"
           "</actor>\n";
}

// The witch with an "orders" element of `order`, `times` over.
std::string Orders(const std::string& order, int times = 1) {
    std::string text = LegacyWitch(), orders;
    while (times-- > 0) orders += order + " ";
    return text.insert(text.find("</actor>"), "<orders> " + orders + "</orders>\n");
}

std::string Replace(std::string text, const std::string& from, const std::string& to) {
    std::size_t at = text.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    if (at != std::string::npos) text.replace(at, from.size(), to);
    return text;
}

}  // namespace

TEST(ActorSave, APopulatedActorSavesLoadsAndSavesTheSame) {
    QuillmereTest::TempDir folder;
    CGame game;
    auto captain = PopulatedCaptain(game);
    const std::string first = SavedText(*captain, folder / "first.drav");

    CGame later;
    auto loaded = LoadActor(first, later);
    EXPECT_EQ(SavedText(*loaded, folder / "second.drav"), first);
    EXPECT_EQ(loaded->GetId(), captain->GetId());
    EXPECT_EQ(loaded->GetGame(), &later);
    EXPECT_EQ(loaded->GetEncounterIndex(), 2);
    EXPECT_EQ(loaded->GetFaction(), captain->GetFaction());
    EXPECT_EQ(loaded->GetEquipped(SLOT_WEAPON)->GetTemplate().GetKey(), "boarding_axe");
    EXPECT_EQ(loaded->GetEquipped(SLOT_WEAPON)->GetHolder(), loaded.get());
    EXPECT_EQ(loaded->GetCurrentPower(), &Spell("s_power-steady_pole"));
    ASSERT_NE(loaded->GetPowerEffect(), nullptr);  // so ending the power takes its effect
    loaded->EndPower();
    EXPECT_EQ(loaded->GetActiveEffects().size(), captain->GetActiveEffects().size() - 1);
    ASSERT_NE(loaded->GetBrain(), nullptr);
    EXPECT_NE(loaded->GetBrain(), captain->GetBrain());
    EXPECT_EQ(loaded->GetDefenseClass(false, nullptr), captain->GetDefenseClass(false, nullptr) - 5);
}

TEST(ActorSave, AnOlderBlockLoadsAndItemsOfLostTemplatesAreDropped) {
    QuillmereTest::TempDir folder;
    CGame game;
    auto witch = LoadActor(LegacyWitch(), game);
    // Numbered anew by the game it loads into, and known by the serial it was saved with.
    EXPECT_EQ(witch->GetId(), 0x3000001u);
    EXPECT_EQ(game.FindLoadedActor(0x3000007u), witch->GetId());
    EXPECT_EQ(witch->GetTemplateName(), "main");
    EXPECT_EQ(witch->GetEncounterIndex(), 0);
    EXPECT_EQ(witch->GetFactionText(), "The Ferrymen's Guild 2 (Ferrymistress)");
    ASSERT_EQ(witch->GetBackpackItems().size(), 1u);
    EXPECT_EQ(witch->GetBackpackItems()[0]->GetTemplate().GetKey(), "river_tonic");
    EXPECT_EQ(witch->GetBackpackItems()[0]->GetCount(), 2);
    EXPECT_EQ(witch->GetDropItemList().size(), 1u);
    EXPECT_EQ(game.GetThingSerialCounter(), 6u);  // the dropped anchor still took its id
    EXPECT_TRUE(witch->GetTalkStates().empty());
    EXPECT_EQ(witch->GetBrain(), nullptr);
    EXPECT_TRUE(witch->HasLevelPoints());  // a spellcaster of three levels with two skills

    const std::string saved = SavedText(*witch, folder / "witch.drav");
    EXPECT_EQ(saved.find("<brain>"), std::string::npos);
    EXPECT_EQ(saved.find("sunken_anchor"), std::string::npos);
    CGame later;
    EXPECT_EQ(SavedText(*LoadActor(saved, later), folder / "again.drav"), saved);
}

TEST(ActorSave, MalformedBlocksNameTheFileAndTheElement) {
    struct Case {
        std::string text;
        std::int32_t code;
        std::string named;
    };
    const std::string ongoing =
        "<spellapply> \"Marsh Fever\" poison 25 4 false false <effectlist> "
        "<effectongoing> 1800 no_such_spell </effectongoing> </effectlist> </spellapply>";
    const Case cases[] = {
        {LegacyWitch("16777216"), 2, "serial"},
        {LegacyWitch("7", "friend"), 2, "relation"},
        {LegacyWitch("7", "party", "twenty"), 1, "hit points"},
        {LegacyWitch("7", "party", "20", ongoing), 1, "no_such_spell"},
        {Replace(LegacyWitch(), "</backpack>", ""), 1, "backpack"},
        {Replace(LegacyWitch(), " main ", " sea_serpent "), 1, "sea_serpent"},
        {Replace(LegacyWitch(), "( quarterstaff 1 0 )", "( quarterstaff -1 0 )"), 1, "equipment"},
        // A count that would come back negative, and damage below nothing.
        {Replace(LegacyWitch(), "( quarterstaff 1 0 )", "( quarterstaff 2147483648 0 )"), 1, "equipment"},
        {Replace(LegacyWitch(), " 0 20 0 0 0 0 ", " -3 20 0 0 0 0 "), 1, "hit points"},
        {Replace(LegacyWitch(), " 3 0 0 0 0 0 0", " 6 0 0 0 0 0 0"), 2, "action state"},
        {Replace(LegacyWitch(), "</actor>", "<extra> </extra> </actor>"), 1, "actor"},
        {LegacyWitch().substr(0, LegacyWitch().find("<dropitems>")), 1, "dropitems"},
        // What she was doing: only orders play gives, in the queue that runs them.
        {Orders("<attack> <pack> 0 river_tonic </pack> </attack>"), 1, "expected the one attacked"},
        {Orders("<fly> 1 2 </fly>"), 1, "expected an order"},
        {Orders("<instant> <move> 1 2 </move> </instant>"), 1, "expected an instant order"},
        {Orders("<instant> <wield> <pack> 0 river_tonic </pack> 9 </wield> </instant>"), 1, "equipment slot"},
        {Orders("<cast> no_such_spell 0 </cast>"), 1, "expected a spell of the module"},
        {Orders("<cast> call_wisp <actor> 7 </actor> </cast>"), 1, "a target the spell can be cast at"},
        {Orders("<instant> <split> <pack> 0 river_tonic </pack> 0 </split> </instant>"), 1, "a count"},
        {Orders("<instant> <power> ferry_blessing </power> </instant>"), 1, "expected a power"},
        {Orders("<use> 3 0 0 </use>"), 1, "not a kind of use"},
        {Orders("<move> 1e999 2 </move>"), 1, "1e999"},
        {Orders("<return> </return>", 65), 1, "more than the 64 orders a queue holds"},
    };
    for (const Case& bad : cases) {
        CGame game;
        auto caught = QuillmereTest::CatchDrav([&] { LoadActor(bad.text, game); });
        ASSERT_TRUE(caught) << bad.text;
        EXPECT_EQ(caught->GetCode(), bad.code) << caught->GetMessage();
        EXPECT_NE(caught->GetMessage().find("save.drav"), std::string::npos) << caught->GetMessage();
        EXPECT_NE(caught->GetMessage().find(bad.named), std::string::npos) << caught->GetMessage();
    }
    CGame game;
    const auto last = LoadActor(LegacyWitch("16777215"), game);
    EXPECT_EQ(game.FindLoadedActor(0x3FFFFFFu), last->GetId());
    // The same serial again names two actors, which play never makes.
    const auto twice = QuillmereTest::CatchDrav([&] { LoadActor(LegacyWitch("16777215"), game); });
    ASSERT_TRUE(twice);
    EXPECT_NE(twice->GetMessage().find("two saved actors have the serial 16777215 (saved actor, element \"serial\")"),
              std::string::npos)
        << twice->GetMessage();
}

// What its load would refuse a save leaves out, by the load's own checks, and keeps the rest.
TEST(ActorSave, ASaveLeavesOutEveryOrderItsLoadWouldRefuse) {
    QuillmereTest::TempDir folder;
    CGame game;
    auto witch = LoadActor(LegacyWitch(), game);
    // A ground spell cast at someone, a spell or a power the module lacks, a split of nothing.
    witch->PushOrder(std::make_shared<CCastOrder>("call_wisp", witch->GetId()), true);
    witch->PushOrder(std::make_shared<CCastOrder>("no_such_spell", 0), true);
    witch->PushOrder(std::make_shared<CMoveOrder>(10.0, 12.5), true);
    witch->PushInstantOrder(std::make_shared<CPowerOrder>("ferry_blessing"));
    witch->PushInstantOrder(std::make_shared<CSplitOrder>(witch->GetBackpackItems()[0]->GetId(), 0));
    const std::string saved = SavedText(*witch, folder / "witch.drav");
    for (const char* refused : {"<cast>", "<power>", "<split>"}) EXPECT_EQ(saved.find(refused), std::string::npos) << saved;
    EXPECT_NE(saved.find("<move>"), std::string::npos) << saved;
    CGame later;
    const auto caught = QuillmereTest::CatchDrav([&] { LoadActor(saved, later); });
    EXPECT_FALSE(caught) << caught->GetMessage();
}

TEST(ActorSave, AStoreKeeperJoinsTheGamesStoresOnlyWhenItsBlockIsWhole) {
    QuillmereTest::TempDir folder;
    CGame game;
    const std::string saved = SavedText(*SampleActor("landing_trader", &game), folder / "trader.drav");
    CGame broken;
    EXPECT_DRAV_CODE(LoadActor(Replace(saved, "</actor>", "<extra> </extra> </actor>"), broken), 1);
    EXPECT_TRUE(broken.GetStores().empty());

    CGame later;
    auto trader = LoadActor(saved, later);
    ASSERT_NE(trader->GetStore(), nullptr);
    EXPECT_EQ(trader->GetStore(), later.GetStores().at("landing_trader"));
    EXPECT_EQ(trader->GetStartStateName(), "start");
    EXPECT_NE(trader->GetHeartbeat(), nullptr);
    EXPECT_FALSE(trader->GetStoreFlag());
}

TEST(ActorSave, RemovingAnActorFromAListHandsItBack) {
    ActorList actors{SampleActor("ferryman"), SampleActor("marsh_wisp")};
    CActor stranger(0);
    auto wisp = actors[1];
    EXPECT_EQ(RemoveActorFromList(actors, *wisp), wisp);
    EXPECT_EQ(actors.size(), 1u);
    EXPECT_DRAV_CODE(RemoveActorFromList(actors, stranger), 2);
}
