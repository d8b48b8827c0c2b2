// The game state: party rules and gold, experience, journals and revealed places,
// the words that a save must be able to hold, text expansion and the calendar.

#include <gtest/gtest.h>

#include "common/data_file_reader.h"
#include "common/data_file_writer.h"
#include "support/expect_drav.h"
#include "support/temp_dir.h"
#include "world/actor_test_support.h"
#include "world/area.h"
#include "world/order.h"

using namespace DRAV;
using WorldTest::SampleWithBrains;

namespace {

std::shared_ptr<CActor> Member(const std::string& name, std::uint32_t summonEnd = 0) {
    static ThingId next = 0x03000100;
    auto actor = std::make_shared<CActor>(next++);
    actor->SetName(name);
    actor->SetClass(CLASS_FIGHTER);
    actor->SetLevel(3);
    actor->SetActionState(ACTION_IDLE);
    actor->SetSummonEndTick(summonEnd);
    return actor;
}

std::vector<std::string> Messages(CGame& game) {
    std::vector<std::string> texts;
    std::shared_ptr<CEvent> event;
    while (game.PopEvent(event)) {
        if (auto* message = dynamic_cast<CMessageEvent*>(event.get())) texts.push_back(message->GetText());
        else texts.push_back("event " + std::to_string(event->GetCode()));
    }
    return texts;
}

}  // namespace

TEST(Game, PartyHoldsFourOwnMembersOrSixInAll) {
    CGame game;
    for (int i = 0; i < 3; ++i) game.AddPartyMember(Member("own"));
    game.AddPartyMember(Member("wisp", 900));
    game.AddPartyMember(Member("wisp", 900));
    EXPECT_FALSE(game.IsPartyFull());
    game.AddPartyMember(Member("own"));
    EXPECT_TRUE(game.IsPartyFull());

    CGame summoned;
    for (int i = 0; i < 5; ++i) summoned.AddPartyMember(Member("wisp", 900));
    EXPECT_FALSE(summoned.IsPartyFull());
    summoned.AddPartyMember(Member("wisp", 900));
    EXPECT_TRUE(summoned.IsPartyFull());
}

TEST(Game, AJoiningMemberHandsItsGoldToTheParty) {
    CGame game;
    auto ann = Member("Ann");
    ann->AddToBackpack(SampleWithBrains().CreateItem("gold", 30, 0x5000001, 0), false);
    ann->AddToBackpack(SampleWithBrains().CreateItem("river_tonic", 1, 0x5000002, 0), false);
    ann->AddToBackpack(SampleWithBrains().CreateItem("gold", 12, 0x5000003, 0), false);
    game.SetGold(5);
    game.AddPartyMember(ann);
    EXPECT_EQ(game.GetGold(), 47);
    EXPECT_EQ(ann->GetRelation(), RELATION_PARTY);
    ASSERT_EQ(ann->GetBackpack().size(), 1u);
    EXPECT_EQ(ann->GetBackpack().front()->GetTemplate().GetKey(), "river_tonic");
    EXPECT_EQ(Messages(game), (std::vector<std::string>{"The party has gained 30 gold.", "The party has gained 12 gold."}));
}

TEST(Game, PartyOrderAndLeavingKeepIndicesInStep) {
    CGame game;
    auto main = Member("Ann");
    main->SetTemplateName("main");
    game.SetFirstPartyMember(main);
    auto bo = Member("Bo");
    auto cy = Member("Cy");
    game.AddPartyMember(bo);
    game.AddPartyMember(cy);
    EXPECT_EQ(game.GetMainActor(), main);
    game.MovePartyMember(0, 2);
    EXPECT_EQ(game.GetParty(), (ActorList{bo, cy, main}));
    EXPECT_EQ(main->GetPartyIndex(), 2u);
    EXPECT_DRAV_CODE(game.MovePartyMember(1, 1), 3);
    EXPECT_DRAV_CODE(game.MovePartyMember(3, 0), 3);

    game.AddNonLocatedActor(bo);
    bo->SetActionState(ACTION_DEAD);
    game.RemovePartyMember(*bo);
    EXPECT_EQ(bo->GetRelation(), RELATION_NEUTRAL);
    EXPECT_EQ(game.GetNonLocatedActors(), (ActorList{main}));  // the dead leave the game
    EXPECT_EQ(cy->GetPartyIndex(), 0u);
    EXPECT_DRAV_CODE(game.RemovePartyMember(*bo), 2);
    EXPECT_DRAV_CODE(game.RemoveNonLocatedActor(*bo), 2);
    EXPECT_DRAV_CODE(game.RemovePartyMember(*main), 3);
    EXPECT_EQ(game.GetMainActor(), main);
    // Told to wait as the party walks off, she stays where she left it.
    cy->PushOrder(std::make_shared<CMoveOrder>(40.0, 12.0), false);
    game.RemovePartyMember(*cy);
    EXPECT_EQ(cy->GetCurrentOrder(), nullptr);
}

TEST(Game, OneAwardCanRaiseSeveralLevels) {
    CGame game;
    auto ann = Member("Ann");
    ann->SetLevel(1);
    auto wisp = Member("Wisp", 900);
    game.AddPartyMember(ann);
    game.AddPartyMember(wisp);
    game.AwardExperience(7000);  // past the thresholds of levels 2 and 3, short of 4
    EXPECT_EQ(ann->GetLevel(), 3u);
    EXPECT_EQ(ann->GetExperience(), 7000u);
    EXPECT_EQ(wisp->GetExperience(), 0u);
    const std::string level = "event " + std::to_string(EVENT_ACTOR_LEVEL);
    EXPECT_EQ(Messages(game), (std::vector<std::string>{"The party gains 7000 experience each.",
                                                        "Ann has gained a level!", level, "Ann has gained a level!",
                                                        level}));
}

TEST(Game, BestSpecialStatOfTheLivingMembers) {
    CGame game;
    EXPECT_EQ(game.GetBestPartySpecialStat(SPECIAL_LOCKS), -100000);
    auto witch = WorldTest::SampleActor("reed_witch");
    auto smuggler = WorldTest::SampleActor("reed_smuggler");
    game.AddPartyMember(witch);
    game.AddPartyMember(smuggler);
    const std::int32_t both = std::max(witch->GetSpecialStat(SPECIAL_STEALTH), smuggler->GetSpecialStat(SPECIAL_STEALTH));
    EXPECT_EQ(game.GetBestPartySpecialStat(SPECIAL_STEALTH), both);
    smuggler->SetActionState(ACTION_DEAD);
    EXPECT_EQ(game.GetBestPartySpecialStat(SPECIAL_STEALTH), witch->GetSpecialStat(SPECIAL_STEALTH));
}

TEST(Game, JournalEntriesAndLocationsAreAnnouncedOnce) {
    CGame game;
    game.SetTick(450);
    game.AddJournalEntry("orrin_missing", "find_orrin");
    game.AddJournalEntry("orrin_missing", "find_orrin");
    game.AddJournalEntry("orrin_missing", "");
    ASSERT_EQ(game.GetJournal().size(), 2u);
    EXPECT_EQ(game.GetJournal().front()->GetTick(), 450u);
    game.RevealArea("reed_marsh");
    game.RevealArea("reed_marsh");
    game.RevealArea("smugglers_hide");
    // Two records, and two places, shown at once are one update each; once shown, the next is announced again.
    EXPECT_EQ(Messages(game), (std::vector<std::string>{"Your Journal has been updated.",
                                                        "A new location has been added to your map."}));
    game.AddJournalEntry("orrin_found", "find_orrin");
    EXPECT_EQ(Messages(game), std::vector<std::string>{"Your Journal has been updated."});
}

TEST(Game, NamesASaveCannotHoldAreRefusedWhereTheyEnter) {
    CGame game;
    for (const std::string bad : {"a b", "#note", "<tag>", "(x", "tab\there"}) {
        EXPECT_DRAV_CODE(game.SetQuestTag(bad, 1), 2);
        EXPECT_DRAV_CODE(game.RevealArea(bad), 2);
        EXPECT_DRAV_CODE(game.AddJournalEntry(bad, ""), 2);
        EXPECT_DRAV_CODE(game.AddJournalEntry("ok", bad), 2);
        EXPECT_DRAV_CODE(AddPeopleJournalEntry(game.GetPeopleJournal(), bad, "Name", "Area", "Hello."), 2);
    }
    EXPECT_TRUE(game.GetQuestTags().empty());
    EXPECT_TRUE(game.GetRevealedLocations().empty());
    EXPECT_TRUE(game.GetJournal().empty());
    EXPECT_TRUE(game.GetPeopleJournal().empty());
    game.SetQuestTag("ferry_fare_asked", 2);
    EXPECT_TRUE(game.IsQuestTagSet("ferry_fare_asked"));
}

TEST(Game, ARemarkWithAQuoteIsRecordedSoThatTheGameStillSaves) {
    CGame game;
    CArea area(&game);
    area.LoadAreaFile("", "reedwater_landing", SampleWithBrains(), AREA_LOAD_FRESH, false);
    auto keeper = WorldTest::SampleActor("ferry_keeper");
    keeper->SetNameWord("hesk");
    game.UpdatePeopleJournal(area, *keeper, "She said \"five silver\",\nno less.");
    keeper->SetNameWord("");
    game.UpdatePeopleJournal(area, *keeper, "Unrecorded.");
    ASSERT_EQ(game.GetPeopleJournal().size(), 1u);

    QuillmereTest::TempDir dir;
    const std::string path = dir / "people.drav";
    DRAVCommon::CDataFileWriter writer(path);
    SavePeopleJournal(game.GetPeopleJournal(), writer);
    writer.Finish();
    PeopleJournal loaded;
    DRAVCommon::CDataFileReader reader(path);
    LoadPeopleJournal(loaded, reader, {"hesk"});
    const auto& hesk = *loaded.at("hesk");
    EXPECT_EQ(hesk.GetLocation(), "Reedwater Landing");
    EXPECT_EQ(hesk.GetName(), "Mother Hesk");
    EXPECT_EQ(hesk.GetNotes(), (std::vector<std::string>{"She said 'five silver', no less."}));
}

TEST(Game, ExpandTextListsThePartyAndNamesTheMainCharacter) {
    CGame game;
    std::string text = "Welcome, MAINNAME.";
    game.ExpandText(text);
    EXPECT_EQ(text, "Welcome, MAINNAME.");
    text = "MAINNAME";
    game.ExpandText(text);
    EXPECT_EQ(text, "MAINNAME");  // no main character yet

    auto ann = Member("Ann");
    ann->SetTemplateName("main");
    game.AddPartyMember(ann);
    text = "Hello PARTY bye";
    game.ExpandText(text);
    EXPECT_EQ(text, "Hello - Ann (Fighter 3) LINE  bye");
    text = "  PARTY\tthanks \n MAINNAME  ";
    game.ExpandText(text);
    EXPECT_EQ(text, " - Ann (Fighter 3) LINE thanks Ann");
    text = "Farewell, MAINNAME. (MAINNAME's) \"PARTY\" MAINNAMES _MAINNAME";
    game.ExpandText(text);
    // Punctuated as the name would be, a marker is filled; in a longer word it is none.
    EXPECT_EQ(text, "Farewell, Ann. (Ann's) \" - Ann (Fighter 3) LINE  \" MAINNAMES _MAINNAME");
}

TEST(Game, CalendarCountsThirtyDayMonthsAndTwelveHourClock) {
    CGame game;
    game.SetCalendarBase(612, 0, 9);
    EXPECT_EQ(game.FormatDateTime(0), "January 1, 612 9:00am");
    const std::uint32_t fiveMinutes = 5 * 60 * 30;
    for (auto [hour, clock] : {std::pair{0u, "12:05am"}, {12u, "12:05pm"}, {13u, "1:05pm"}, {23u, "11:05pm"}}) {
        game.SetCalendarBase(612, 0, hour);
        EXPECT_EQ(game.FormatDateTime(fiveMinutes), std::string("January 1, 612 ") + clock);
    }
    game.SetCalendarBase(612, 30, 0);
    EXPECT_EQ(game.FormatDateTime(0), "February 1, 612 12:00am");
    game.SetCalendarBase(612, 359, 23);
    EXPECT_EQ(game.FormatDateTime(3600 * 30), "January 1, 613 12:00am");
    std::uint32_t year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
    game.GetCalendarTime(0xFFFFFFFFu, year, month, day, hour, minute, second);
    EXPECT_EQ(second, (0xFFFFFFFFu / 30) % 60);
}

TEST(Game, ANewGameHeadsForTheModulesStart) {
    CGame game;
    EXPECT_EQ(game.GetStateCode(), GAME_NOT_STARTED);
    game.SetTick(77);
    game.SetGold(12);
    game.InitNewGame(SampleWithBrains());
    EXPECT_EQ(game.GetStateCode(), GAME_ENTERING);
    EXPECT_EQ(game.GetEntry(), (AreaEntryPoint{SampleWithBrains().GetStartArea(), SampleWithBrains().GetStartEntry()}));
    EXPECT_EQ(game.GetResurrectionPoint(), game.GetEntry());
    EXPECT_EQ(game.GetTick(), 0u);
    EXPECT_EQ(game.GetGold(), 0);
}
