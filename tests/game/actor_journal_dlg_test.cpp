// The journal page on the engine fixture: which quests it lists, the text of the
// records, and its modes.

#include <gtest/gtest.h>

#include "game/dialogs/sheet/actor_journal_dlg.h"
#include "trade_test_support.h"
#include "ui/ui_button.h"
#include "ui/ui_list_element.h"
#include "ui/ui_text_element.h"
#include "world/journal_entry.h"
#include "world/people_journal.h"

namespace {

using QuillmereTest::ShellWithGame;
using Keys = std::vector<std::string>;

class JournalPageTest : public ::testing::Test, public ShellWithGame {
protected:
    void SetUp() override { ASSERT_TRUE(loaded); }
    Keys Quests(bool hideFinished) { return CActorJournalDlg::KnownQuests(game.Module(), game.Game(), hideFinished); }
    std::string Text(const std::string& quest, bool hideFinished) {
        return CActorJournalDlg::JournalText(game.Module(), game.Game(), quest, hideFinished);
    }
    void Record(const std::string& entry, const std::string& quest, std::uint32_t tick) {
        game.Game().GetJournal().push_back(std::make_shared<DRAV::CJournalEntry>(entry, quest, tick));
    }
    std::string Stamp(std::uint32_t tick) { return game.Game().FormatDateTime(tick); }
    void Tag(const std::string& tag) { game.Game().SetQuestTag(tag, 1); }
    CActorJournalDlg& Open() {
        app.SetDialog(true, std::make_shared<CActorJournalDlg>(&app, &Wren()));
        return *Current<CActorJournalDlg>();
    }
    static std::string Shown(const CActorJournalDlg& page) {
        std::string text;
        for (const std::string& line : page.GetTextView()->GetOwnLines()) text += line + "|";
        return text;
    }
};

TEST_F(JournalPageTest, QuestsAreKnownByTheirAssignmentOrCompletionAndListedInKeyOrder) {
    EXPECT_TRUE(Quests(false).empty());
    // Assigned in the other order; listed in the table's.
    Tag("boatwright_asked");
    Tag("ferry_fare_asked");
    EXPECT_EQ(Quests(true), (Keys{"ferry_passage", "find_boatwright"}));
    // Assigned and completed: listed only while finished quests are shown.
    Tag("find_boatwright");
    EXPECT_EQ(Quests(true), (Keys{"boatwright_home", "ferry_passage"})) << "completing the search assigns the way home";
    EXPECT_EQ(Quests(false), (Keys{"boatwright_home", "ferry_passage", "find_boatwright"}));
    // A quest nobody assigns is known once done, so never listed with the box on.
    Tag("heron_riddle");
    EXPECT_EQ(Quests(true), (Keys{"boatwright_home", "ferry_passage"}));
    Tag("boatwright_home");
    Tag("ferry_passage");
    EXPECT_TRUE(Quests(true).empty());
    EXPECT_EQ(Quests(false), (Keys{"boatwright_home", "ferry_passage", "find_boatwright", "heron_riddle"}));
}

TEST_F(JournalPageTest, TheTextDatesEachRecordAndHidesFinishedQuests) {
    EXPECT_EQ(Text("", true), "");
    Record("boatwright_missing", "find_boatwright", 100);
    Record("smugglers_seen", "", 4000);
    Record("ferry_fare", "ferry_passage", 9000);
    const std::string missing = Stamp(100) + " The Missing Boatwright LINE " +
                                game.Module().GetJournalTexts().at("boatwright_missing") + " LINE  LINE ";
    const std::string seen =
        Stamp(4000) + " LINE " + game.Module().GetJournalTexts().at("smugglers_seen") + " LINE  LINE ";
    const std::string fare = Stamp(9000) + " Passage Across LINE " +
                             game.Module().GetJournalTexts().at("ferry_fare") + " LINE  LINE ";
    EXPECT_EQ(Text("", true), missing + seen + fare);
    EXPECT_EQ(Text("ferry_passage", true), fare);
    Tag("find_boatwright");
    EXPECT_EQ(Text("", true), seen + fare) << "the record without a quest stays";
    EXPECT_EQ(Text("", false), missing + seen + fare);
    EXPECT_EQ(Text("find_boatwright", true), "");
}

// A record naming text or a quest the module lacks still shows, and the page opens.
TEST_F(JournalPageTest, RecordsTheModuleCannotNameDoNotStopThePage) {
    Record("torn_page", "", 50);
    Record("ferry_crossed", "drowned_quest", 60);
    EXPECT_EQ(Text("", true), Stamp(50) + " LINE (The journal has no text for \"torn_page\".) LINE  LINE " +
                                  Stamp(60) + " LINE " + game.Module().GetJournalTexts().at("ferry_crossed") +
                                  " LINE  LINE ");
    CActorJournalDlg& page = Open();
    EXPECT_EQ(page.GetTitle(), "Wren - Journal");
    EXPECT_NE(Shown(page).find("torn_page"), std::string::npos);
}

TEST_F(JournalPageTest, ModesListRowsAndShowOneQuestOrPerson) {
    Tag("boatwright_asked");
    Tag("smugglers_asked");
    Record("boatwright_missing", "find_boatwright", 100);
    Record("smugglers_seen", "reed_smugglers", 200);
    DRAV::AddPeopleJournalEntry(game.Game().GetPeopleJournal(), "hollis", "Hollis", "Reedwater Landing",
                                "Mind the reeds after dark.");
    CActorJournalDlg& page = Open();
    EXPECT_TRUE(page.GetTextView()->HasFlag(DRAVUI::UIF_SHOWN));
    EXPECT_FALSE(page.GetRowList()->HasFlag(DRAVUI::UIF_SHOWN));

    page.OnButton(CActorJournalDlg::kQuestsMode);
    EXPECT_FALSE(page.GetTextView()->HasFlag(DRAVUI::UIF_SHOWN));
    EXPECT_EQ(page.GetRowKeys(), (Keys{"find_boatwright", "reed_smugglers"}));
    ASSERT_EQ(page.GetRowList()->GetColumn(0).size(), 2u);
    EXPECT_EQ(static_cast<DRAVUI::CUITextButton&>(*page.GetRowList()->GetColumn(0)[1]).m_label, "Smoke in the Reeds");
    page.OnButton(CActorJournalDlg::kFirstRow + 1);
    EXPECT_TRUE(page.GetTextView()->HasFlag(DRAVUI::UIF_SHOWN));
    EXPECT_EQ(Shown(page).find("boatwright"), std::string::npos) << "only the chosen quest's records";
    EXPECT_NE(Shown(page).find("Smoke in the Reeds"), std::string::npos);

    // The box is off-screen in People and comes back as it was.
    auto* hide = dynamic_cast<DRAVUI::CUICheckButton*>(FindElement(CActorJournalDlg::kHideFinished));
    ASSERT_NE(hide, nullptr);
    hide->m_checked = false;
    page.OnButton(CActorJournalDlg::kPeopleMode);
    EXPECT_FALSE(hide->HasFlag(DRAVUI::UIF_SHOWN));
    EXPECT_EQ(page.GetRowKeys(), Keys{"hollis"});
    EXPECT_EQ(page.GetRowList()->GetCaption(), "People");
    page.OnButton(CActorJournalDlg::kFirstRow);
    EXPECT_NE(Shown(page).find("Mind the reeds after dark."), std::string::npos);
    EXPECT_EQ(Shown(page).rfind("Hollis|", 0), 0u);
    page.OnButton(CActorJournalDlg::kAllMode);
    EXPECT_TRUE(hide->HasFlag(DRAVUI::UIF_SHOWN));
    EXPECT_FALSE(hide->m_checked);
    EXPECT_TRUE(page.GetTextView()->HasFlag(DRAVUI::UIF_SHOWN));
    EXPECT_THROW(page.OnButton(CActorJournalDlg::kFirstRow), CDRAVException) << "no rows in the All mode";
}

}  // namespace
