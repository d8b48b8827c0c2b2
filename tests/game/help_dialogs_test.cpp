#include <gtest/gtest.h>

#include <memory>
#include <set>

#include "common/exception.h"
#include "dialog_test_support.h"
#include "game/dialogs/play/death_dlg.h"
#include "game/dialogs/front/difficulty_dlg.h"
#include "game/dialogs/maps/help_dlg.h"
#include "game/dialogs/maps/help_pages.h"
#include "platform/win32/virtual_keys.h"
#include "support/sample_game.h"
#include "world/events/event.h"
#include "ui/ui_image.h"
#include "ui/ui_list_element.h"
#include "ui/ui_manager.h"

namespace {

using QuillmereTest::ShellOnSample;

std::int32_t ThrownCode(const std::string& key) {
    try {
        FindHelpPageByKey(key);
    } catch (const CDRAVException& failure) {
        return failure.GetCode();
    }
    return -1;
}

TEST(HelpPageTable, KeysMatchExactlyAndTheMainChainRunsFromEightToFifteen) {
    EXPECT_EQ(FindHelpPageByKey("store"), 21);
    EXPECT_EQ(FindHelpPageByKey("tutorial_start"), 0);
    EXPECT_EQ(FindHelpPageByKey("main_party"), 10) << "a prefix of main_party2 matches only its own row";
    EXPECT_EQ(FindHelpPageByKey("main_party2"), 11);
    for (const char* key : {"Store", "store ", ""}) EXPECT_EQ(ThrownCode(key), DRAV_ERR_SCRIPT) << key;

    std::vector<std::int32_t> chain;
    for (std::int32_t page = kHelpMainStart; page != kHelpPageCount; page = HelpPages[page].nextPage)
        chain.push_back(page);
    EXPECT_EQ(chain, (std::vector<std::int32_t>{8, 9, 10, 11, 12, 13, 14, 15}));

    std::set<std::string> keys;
    for (std::int32_t id = 0; id < kHelpPageCount; ++id) {
        const HelpPage& page = HelpPages[id];
        EXPECT_EQ(page.id, id);
        EXPECT_EQ(page.pictureId, 85 + id);
        keys.insert(page.key);
        if (id < 8 || id > 14) {
            EXPECT_EQ(page.nextPage, kHelpPageCount) << id;
        }
        // Markup is resolved by the text widget: no doubled blanks around LINE.
        EXPECT_EQ(page.text.find("  "), std::string::npos) << id;
    }
    EXPECT_EQ(keys.size(), static_cast<std::size_t>(kHelpPageCount));
    EXPECT_EQ(HelpPages[16].text, "1) Hover a field for quick information. LINE 2) Right-click a field to view the manual.");
    EXPECT_EQ(HelpPages[0].text.rfind("Welcome to GAMENAME LINE LINE ", 0), 0u);
    EXPECT_EQ(HelpPages[8].text.rfind("In GAMENAME the game area", 0), 0u);
    EXPECT_TRUE(HelpPages[15].text.ends_with("Enjoy GAMENAME !"));
    EXPECT_TRUE(HelpPages[21].text.ends_with("LINE "));
    for (std::int32_t id : {16, 17, 19, 20, 21}) EXPECT_EQ(HelpPages[id].text.rfind("1) Hover ", 0), 0u) << id;
    // The battle page tells what the party does: only what it is told.
    const std::string& battle = HelpPages[FindHelpPageByKey("tutorial_combat")].text;
    EXPECT_EQ(battle.find("your party fights on"), std::string::npos);
    EXPECT_NE(battle.find("An actor you have given no order does not fight back"), std::string::npos);
    // Where the controls do what a player might not guess, the page says so: a spell
    // is cast once, a click while paused adds an order, the F-keys act for one actor,
    // the store lets nobody drag what the party cannot afford or the keeper does not buy, the action page chooses
    // nothing for an item its actor cannot use, injuries and death heal at an inn, whoever still stands asking,
    // a right-click on a button is a click, and a talk with several replies is left only by one.
    const std::string shortcuts = BuildShortcutsText();
    const std::pair<const std::string*, const char*> told[] = {
        {&HelpPages[FindHelpPageByKey("tutorial_combat")].text, "is cast at it once"},
        {&HelpPages[FindHelpPageByKey("tutorial_combat")].text, "Wield any weapon and wear any armour your actors carry"},
        {&HelpPages[FindHelpPageByKey("main_pause")].text, "every click adds an order"},
        {&HelpPages[FindHelpPageByKey("main_actions")].text, "with the whole party selected the F-keys"},
        {&HelpPages[kHelpStore].text, "an item the party cannot afford, or one the keeper does not buy, does not move"},
        {&HelpPages[kHelpAction].text, "an item named in red is one the actor cannot use: clicking it chooses nothing"},
        {&HelpPages[FindHelpPageByKey("main_injury")].text, "ask an innkeeper for a room"},
        {&HelpPages[FindHelpPageByKey("main_injury")].text, "speak for the party with any member still standing"},
        {&shortcuts, "A right-click on a button counts as a click"},
        {&shortcuts, "with several replies only a reply ends the talk"}};
    for (const auto& [text, words] : told) EXPECT_NE(text->find(words), std::string::npos) << words;
}

class HelpDialogTest : public ::testing::Test, protected ShellOnSample {
protected:
    CHelpDlg& Current() { return dynamic_cast<CHelpDlg&>(*app.GetCurrentDialog()); }
    DRAVUI::CUIListElement* PageList() { return FindList(app.GetUIManager().GetElements()); }
    template <typename Children>
    static DRAVUI::CUIListElement* FindList(const Children& children) {
        for (const auto& element : children) {
            if (auto* list = dynamic_cast<DRAVUI::CUIListElement*>(element.get())) return list;
            if (auto* group = dynamic_cast<DRAVUI::CUIGroup*>(element.get()))
                if (auto* list = FindList(group->GetChildren())) return list;
        }
        return nullptr;
    }
    // Clicks as the UI events do: the handler first, then the close.
    void Press(int id) {
        if (app.GetCurrentDialog()->OnButton(id)) app.CloseDialog(id);
    }
};

TEST_F(HelpDialogTest, ScreenshotClicksFollowTheChainAndEndWithTheCoveredDialog) {
    ASSERT_TRUE(loaded);
    auto below = std::make_shared<CDeathDlg>(&app);
    app.SetDialog(true, below);
    app.SetDialog(true, std::make_shared<CHelpDlg>(&app, kHelpMainStart));
    EXPECT_EQ(recorder.titles.back(), "Quillmere - Help - Actors");
    std::vector<int> ids = ScreenIds();
    EXPECT_EQ(std::count_if(ids.begin(), ids.end(), [](int id) { return id == CHelpDlg::kDisableTutorial; }), 0);
    for (int click = 0; click < 7; ++click) Press(CHelpDlg::kScreenshot);
    EXPECT_EQ(Current().GetPage().id, 15);
    EXPECT_EQ(recorder.titles.back(), "Quillmere - Help - Help End");
    EXPECT_EQ(app.GetCoveredDialogs().size(), 1u) << "each page takes the place of the one before";
    Press(CHelpDlg::kScreenshot);
    EXPECT_EQ(app.GetCurrentDialog(), below);

    // Nothing on the text or the list's own id; Esc closes with nothing else.
    app.SetDialog(true, std::make_shared<CHelpDlg>(&app, kHelpStore));
    EXPECT_FALSE(app.GetCurrentDialog()->OnButton(0));
    app.HandleMessage(WM_KEYDOWN, VK_ESCAPE, 0);
    EXPECT_EQ(app.GetCurrentDialog(), below);
    EXPECT_THROW(CHelpDlg(&app, 3).OnClose(9), CDRAVException);
}

TEST_F(HelpDialogTest, ThePageListCarriesItsScrollPositionClampedToTheNewRange) {
    ASSERT_TRUE(loaded);
    app.SetDialog(true, std::make_shared<CHelpDlg>(&app, kHelpMainStart));
    ASSERT_NE(PageList(), nullptr);
    auto& bar = PageList()->ScrollBar();
    ASSERT_GT(bar.m_range, 3u) << "22 rows do not fit";
    const std::uint32_t range = bar.m_range;
    bar.m_position = 3;
    Press(CHelpDlg::kFirstPageEntry + 10);
    EXPECT_EQ(Current().GetPage().id, 10);
    EXPECT_EQ(PageList()->ScrollBar().m_position, 3u);
    // The screenshot opens its page with the list at the top.
    Press(CHelpDlg::kScreenshot);
    EXPECT_EQ(Current().GetPage().id, 11);
    EXPECT_EQ(PageList()->ScrollBar().m_position, 0u);

    PageList()->ScrollBar().m_position = range + 40;
    Press(CHelpDlg::kFirstPageEntry + 11);
    EXPECT_EQ(Current().GetPage().id, 11) << "the shown page reopens";
    EXPECT_EQ(PageList()->ScrollBar().m_position, range);
}

TEST_F(HelpDialogTest, TheTutorialFormAddsTheScriptTextAndCanBeSwitchedOff) {
    ASSERT_TRUE(loaded);
    CHelpDlg bare(&app, 0, "");
    EXPECT_EQ(bare.BuildText(), HelpPages[0].text);
    CHelpDlg tutorial(&app, 0, "Speak with the ferrywoman.");
    EXPECT_EQ(tutorial.BuildText(), HelpPages[0].text + " LINE LINE Speak with the ferrywoman.");
    EXPECT_EQ(tutorial.GetTitle(), "Help - Tutorial - Welcome");

    app.SetDialog(true, std::make_shared<CHelpDlg>(&app, 0, "Speak with the ferrywoman."));
    EXPECT_EQ(PageList(), nullptr);
    const std::vector<int> ids = ScreenIds();
    EXPECT_NE(std::find(ids.begin(), ids.end(), CHelpDlg::kDisableTutorial), ids.end());
    EXPECT_FALSE(app.IsTutorialDisabled());
    Press(CHelpDlg::kDisableTutorial);
    EXPECT_TRUE(app.IsTutorialDisabled());
    EXPECT_EQ(app.GetCurrentDialog(), nullptr);

    // A tutorial page's screenshot leads nowhere; a main page reached from a
    // tutorial form is browsed without the script's text.
    app.SetDialog(true, std::make_shared<CHelpDlg>(&app, 8, "extra"));
    Press(CHelpDlg::kScreenshot);
    EXPECT_TRUE(Current().ShowsPageList());
    EXPECT_EQ(Current().BuildText(), HelpPages[9].text);
}

TEST_F(HelpDialogTest, TutorialEventsOpenTheirPageUntilSwitchedOffAndAnUnknownKeyIsAScriptError) {
    ASSERT_TRUE(loaded);
    QuillmereTest::SampleGame sample;
    CDRAVAppTestAccess::SetEngine(app, sample.EnginePtr());
    CDRAVAppTestAccess::StartPlaying(app);
    auto goblin = sample.Spawn("reed_goblin", 9, 8);  // held back for a page shown, and for no other
    goblin->SetRelation(DRAV::RELATION_HOSTILE);

    app.OnDialogBoxEvent(DRAV::CDialogBoxEvent(DRAV::EVENT_TUTORIAL, "Tutorial_start", "Ask the heron."));
    EXPECT_EQ(app.GetCurrentDialog(), nullptr);
    ASSERT_EQ(recorder.boxes.size(), 1u);
    EXPECT_EQ(recorder.boxes[0].first, "Script Error");
    EXPECT_EQ(recorder.boxes[0].second,
              "You may continue to play, however things may be broken\n\nNo help page has the key \"Tutorial_start\".")
        << "the box names the key a module author has to mend";

    app.OnDialogBoxEvent(DRAV::CDialogBoxEvent(DRAV::EVENT_TUTORIAL, "tutorial_start", "Ask the heron."));
    EXPECT_EQ(recorder.titles.back(), "Quillmere - Help - Tutorial - Welcome");
    EXPECT_EQ(Current().BuildText(), HelpPages[0].text + " LINE LINE Ask the heron.");
    Press(CHelpDlg::kExit);
    // A page opens once a game: raised again, as a second companion joins, it stays
    // shut, and what the run says with it goes to the log.
    for (const char* again : {"tutorial_party", "tutorial_start", "tutorial_party"}) {
        const std::size_t lines = app.GetMessageLog().size();
        app.OnDialogBoxEvent(DRAV::CDialogBoxEvent(DRAV::EVENT_TUTORIAL, again, std::string(again) + " again"));
        EXPECT_EQ(sample.Game().IsHoldingBack(goblin->GetId()), app.GetCurrentDialog() != nullptr) << again;
        sample.Game().EndAllHolds();
        if (app.GetCurrentDialog()) {
            EXPECT_EQ(app.GetMessageLog().size(), lines);
            Press(CHelpDlg::kExit);
        } else {
            ASSERT_EQ(app.GetMessageLog().size(), lines + 1);
            EXPECT_EQ(app.GetMessageLog().back(), std::string(again) + " again");
        }
    }
    EXPECT_EQ(std::count(recorder.titles.begin(), recorder.titles.end(), "Quillmere - Help - Tutorial - Party"), 1);
    EXPECT_EQ(std::count(recorder.titles.begin(), recorder.titles.end(), "Quillmere - Help - Tutorial - Welcome"), 1);
    app.OnDialogBoxEvent(DRAV::CDialogBoxEvent(DRAV::EVENT_TUTORIAL, "tutorial_combat", "Goblins!"));
    Press(CHelpDlg::kDisableTutorial);
    sample.Game().EndAllHolds();
    app.OnDialogBoxEvent(DRAV::CDialogBoxEvent(DRAV::EVENT_TUTORIAL, "tutorial_inspect", "Hover."));
    EXPECT_EQ(app.GetCurrentDialog(), nullptr);
    EXPECT_FALSE(sample.Game().IsHoldingBack(goblin->GetId()));
    // The browse form stays: '?' opens the main chain.
    app.HandleMessage(WM_KEYDOWN, VK_OEM_2, 0);
    EXPECT_EQ(recorder.titles.back(), "Quillmere - Help - Actors");
}

// The page opens over the fight, where a player still clicks at the foes as the
// last member falls: a press on its picture or text leaves it up, and only its
// buttons, Enter and Esc answer it.
TEST_F(HelpDialogTest, TheDeathDialogClosesOnItsButtonsAndKeysAndTellsTheProductTitle) {
    ASSERT_TRUE(loaded);
    CDeathDlg death(&app);
    for (int id : {CDeathDlg::kDone, CDeathDlg::kDifficulty}) EXPECT_TRUE(death.OnButton(id));
    EXPECT_NE(BuildDeathText().find("in Quillmere, when your party is killed"), std::string::npos);
    app.SetDialog(false, std::make_shared<CDeathDlg>(&app));
    EXPECT_EQ(recorder.titles.back(), "Quillmere - Party Dead");
    const std::vector<int> ids = ScreenIds();
    const int page = CDeathDlg::kPage;
    EXPECT_EQ(ids, (std::vector<int>{0, page, page, CDeathDlg::kDifficulty, CDeathDlg::kDone, 0}))
        << "picture, text, Difficulty Level, Done";
    const LONG scale = static_cast<LONG>(app.GetUIManager().GetScale());
    for (const POINT at : {POINT{512, 384}, POINT{300, 200}, POINT{512, 250}, POINT{700, 560}}) {
        app.HandleMessage(WM_LBUTTONDOWN, 0, MAKELPARAM(at.x * scale / 100, at.y * scale / 100));
        app.HandleMessage(WM_LBUTTONUP, 0, MAKELPARAM(at.x * scale / 100, at.y * scale / 100));
        ASSERT_NE(app.GetCurrentDialog(), nullptr) << "a press at " << at.x << ", " << at.y << " closed the page";
    }
    app.HandleMessage(WM_KEYDOWN, VK_RETURN, 0);
    EXPECT_EQ(app.GetCurrentDialog(), nullptr);

    QuillmereTest::SampleGame sample;
    CDRAVAppTestAccess::SetEngine(app, sample.EnginePtr());
    CDRAVAppTestAccess::StartPlaying(app);
    app.SetDialog(false, std::make_shared<CDeathDlg>(&app));
    app.CloseDialog(CDeathDlg::kDifficulty);
    EXPECT_NE(dynamic_cast<CDifficultyDlg*>(app.GetCurrentDialog().get()), nullptr);
}

}  // namespace
