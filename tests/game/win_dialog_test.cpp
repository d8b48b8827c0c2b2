#include <gtest/gtest.h>

#include <memory>

#include "common/data_file_memory.h"
#include "dialog_test_support.h"
#include "game/dialogs/front/chapter_dlg.h"
#include "game/dialogs/front/load_dlg.h"
#include "game/dialogs/front/start_dlg.h"
#include "game/dialogs/chapter_end/win_dlg.h"
#include "support/sample_game.h"
#include "ui/ui_button.h"
#include "ui/ui_image.h"
#include "ui/ui_manager.h"
#include "world/game.h"

namespace {

using QuillmereTest::ShellOnSample;

std::shared_ptr<DRAVCommon::CDataFileFactoryMemory> ChapterWith(const std::string& win) {
    auto source = std::make_shared<DRAVCommon::CDataFileFactoryMemory>();
    if (!win.empty())
        source->Add(DRAVCommon::DFK_CHAPTER, DRAVCommon::DFS_NONE, "win.drav",
                    DRAVCommon::ByteVector(win.begin(), win.end()));
    return source;
}

void CollectButtons(const DRAVUI::CUIElement& element, std::vector<std::string>& labels) {
    if (auto* button = dynamic_cast<const DRAVUI::CUITextButton*>(&element)) labels.push_back(button->m_label);
    if (auto* group = dynamic_cast<const DRAVUI::CUIGroup*>(&element))
        for (const auto& child : group->GetChildren()) CollectButtons(*child, labels);
}

std::vector<std::string> Buttons(CWinDlg& page) {
    DRAVUI::CUIManager ui;
    page.CreateControls(RECT{0, 0, 1024, 768}, ui);
    std::vector<std::string> labels;
    for (const auto& element : ui.GetElements()) CollectButtons(*element, labels);
    return labels;
}

const std::vector<std::string> kLastOfLastChapter{"Launch Website", "Exit"};

TEST(WinPages, TheFileGivesItsPagesInOrderAndTheClosingPageAlwaysComesLast) {
    const std::string three =
        "<win> <page> \"a.png\" \"First\" </page> <page> \"b.png\" \"Second of\n two\" </page>"
        " <page> \"c.png\" \"Third\" </page> </win>";
    struct Case {
        std::string file;
        std::vector<std::string> pictures;
    };
    const std::vector<Case> cases = {
        {"", {"chapter.jpg"}},
        {"<win> </win>", {"chapter.jpg"}},
        {"<win> <page> \"a.png\" \"First\" </page> <page> \"b.png\" </page> </win>", {"a.png", "chapter.jpg"}},
        {"<win> <page> \"a.png\" \"First\" </win>", {"a.png", "chapter.jpg"}},
        {"not a win file", {"chapter.jpg"}},
        {three, {"a.png", "b.png", "c.png", "chapter.jpg"}},
    };
    for (const Case& c : cases) {
        auto source = ChapterWith(c.file);
        CWinDlg first(nullptr, source.get(), "Congratulations!", "The marsh is quiet.", false, false);
        std::vector<std::string> pictures;
        for (const WinPage& page : first.GetPages()) pictures.push_back(page.picture);
        EXPECT_EQ(pictures, c.pictures) << c.file;
        EXPECT_EQ(first.GetPages().back().kind, DRAVCommon::DFK_CHAPTER);
        EXPECT_EQ(first.GetPages().front().kind, c.pictures.size() > 1 ? DRAVCommon::DFK_UI : DRAVCommon::DFK_CHAPTER);
        if (c.pictures.size() == 1) {
            EXPECT_EQ(Buttons(first), kLastOfLastChapter) << c.file;
        }
    }

    auto source = ChapterWith(three);
    CWinDlg first(nullptr, source.get(), "Congratulations!", "The marsh is quiet.", false, true);
    EXPECT_EQ(first.GetPages()[1].text, "Second of two") << "a text spanning lines is one text";
    // A chapter that leads on is not where the game ends: no thanks yet. The site is
    // the one the front page gives and the Launch Website button opens.
    EXPECT_EQ(first.GetPages().back().text,
              "The marsh is quiet. LINE LINE For more information on Quillmere, visit our site: LINE LINE "
              "https://quillmere.example/ LINE ");
    CWinDlg last(nullptr, source.get(), "Congratulations!", "The marsh is quiet.", false, false);
    EXPECT_EQ(last.GetPages().back().text,
              "The marsh is quiet. LINE LINE Thank you for playing Quillmere! LINE LINE For more information on "
              "Quillmere, visit our site: LINE LINE https://quillmere.example/ LINE ");
    std::deque<WinPage> pages = first.GetPages();
    while (pages.size() > 1) {
        CWinDlg page(nullptr, source.get(), "Congratulations!", pages, false, true);
        EXPECT_EQ(Buttons(page), std::vector<std::string>{"Next"});
        pages.pop_front();
    }
    CWinDlg absent(nullptr, source.get(), "Congratulations!", pages, false, true);
    EXPECT_EQ(Buttons(absent), (std::vector<std::string>{"Next Chapter Purchase Info", "Launch Website", "Exit"}));
    CWinDlg present(nullptr, source.get(), "Congratulations!", pages, true, true);
    EXPECT_EQ(Buttons(present), (std::vector<std::string>{"Play Next Chapter", "Launch Website", "Exit"}));

    // None of the pictures exists: each page still shows, with an empty picture of the full size.
    DRAVUI::CUIManager ui;
    first.CreateControls(RECT{0, 0, 1024, 768}, ui);
    auto& group = dynamic_cast<DRAVUI::CUIGroup&>(*ui.GetElements().front());
    auto& picture = dynamic_cast<DRAVUI::CUIImage&>(*group.GetChildren().front());
    EXPECT_EQ(picture.GetImageId(), 0);
    EXPECT_EQ(DRAVUI::Width(*picture.GetRect()), ui.GetConfig()->Pick(514, 730));
    EXPECT_EQ(DRAVUI::Height(*picture.GetRect()), ui.GetConfig()->Pick(258, 366));
}

class ChapterEndTest : public ::testing::Test, protected ShellOnSample {
protected:
    static int FindPicture(const DRAVUI::CUIElement& element) {
        if (auto* image = dynamic_cast<const DRAVUI::CUIImage*>(&element)) return image->GetImageId();
        if (auto* group = dynamic_cast<const DRAVUI::CUIGroup*>(&element))
            for (const auto& child : group->GetChildren())
                if (int id = FindPicture(*child); id != -1) return id;
        return -1;
    }
    int FirstPicture() {
        for (const auto& element : app.GetUIManager().GetElements())
            if (int id = FindPicture(*element); id != -1) return id;
        return -1;
    }
    // The sample's game played by the shell and won with `closing` as its closing text.
    void Win(const std::string& closing) {
        CDRAVAppTestAccess::SetEngine(app, m_sample.EnginePtr());
        CDRAVAppTestAccess::StartPlaying(app);
        m_sample.Game().SetClosingText(closing);
        app.OnChapterComplete(true);
    }

    QuillmereTest::SampleGame m_sample;
};

TEST_F(ChapterEndTest, ThePagesOpenOnceFollowEachOtherAndTheLastLeadsOn) {
    ASSERT_TRUE(loaded);
    Win("Reedwater is safe.");
    EXPECT_TRUE(m_sample.Game().GetClosingText().empty()) << "taken by the first page";
    auto* first = dynamic_cast<CWinDlg*>(app.GetCurrentDialog().get());
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(recorder.titles.back(), "Quillmere - Congratulations!");
    const std::size_t count = first->GetPages().size();
    ASSERT_EQ(count, 3u) << "the chapter's two pages and the closing page";
    EXPECT_EQ(first->GetPages()[0].picture, "win1_ferry.jpg");
    EXPECT_GE(FirstPicture(), 1000) << "read from the chapter's ui pictures";
    EXPECT_EQ(first->GetPages().back().text.rfind("Reedwater is safe. LINE LINE", 0), 0u);
    EXPECT_EQ(first->GetPages().back().text.find("Thank you"), std::string::npos) << "the game goes on";
    EXPECT_FALSE(first->OnButton(CWinDlg::kWebsite)) << "the website leaves the page open";

    for (std::size_t page = 1; page < count; ++page) {
        app.CloseDialog(page % 2 ? CWinDlg::kNext : 0);
        auto* next = dynamic_cast<CWinDlg*>(app.GetCurrentDialog().get());
        ASSERT_NE(next, nullptr);
        EXPECT_EQ(next->GetPages().size(), count - page);
        EXPECT_EQ(next->GetTitle(), "Congratulations!");
    }
    EXPECT_TRUE(app.GetCoveredDialogs().empty());
    app.CloseDialog(CWinDlg::kNext);
    EXPECT_NE(dynamic_cast<CStartDlg*>(app.GetCurrentDialog().get()), nullptr);
}

// Ashcombe is the sample's last chapter: its closing page offers no next chapter,
// and Exit goes back to the front page.
TEST_F(ChapterEndTest, TheSamplesSecondChapterEndsAsTheLast) {
    ASSERT_TRUE(loaded);
    QuillmereTest::SampleGame ashcombe(2, [](DRAV::CActor& hero) { hero.SetName("Wren"); });
    CDRAVAppTestAccess::SetEngine(app, ashcombe.EnginePtr());
    CDRAVAppTestAccess::StartPlaying(app);
    ashcombe.Game().SetClosingText("The boats go down past the chain.");
    app.OnChapterComplete(true);
    CWinDlg* page = nullptr;
    while ((page = dynamic_cast<CWinDlg*>(app.GetCurrentDialog().get())) && page->GetPages().size() > 1) {
        EXPECT_EQ(Buttons(*page), std::vector<std::string>{"Next"});
        // The closing text tells the boats going down over the weir, on every road.
        EXPECT_EQ(page->GetPages().front().text.find("go down"), std::string::npos) << page->GetPages().front().text;
        app.CloseDialog(CWinDlg::kNext);
    }
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(Buttons(*page), kLastOfLastChapter);
    // Where the game ends, the thanks follow the story at once, in sight above the site.
    EXPECT_EQ(page->GetPages().back().text.rfind(
                  "The boats go down past the chain. LINE LINE Thank you for playing Quillmere! LINE LINE", 0),
              0u);
    app.CloseDialog(CWinDlg::kNext);  // Exit
    EXPECT_NE(dynamic_cast<CStartDlg*>(app.GetCurrentDialog().get()), nullptr);
    EXPECT_FALSE(app.IsGameRunning());
    // Its save, loaded again, shows the congratulations rather than a chapter to buy.
    CLoadInfoItem finished;
    finished.m_chapter = 2;
    finished.m_chapterCompleted = true;
    EXPECT_EQ(ChooseLoadRoute(finished, app.GetChapterTable()), LoadRoute::Congratulations);
}

// The save listed as "End of Chapter N", continued from the load dialog; nothing is
// loaded. It closes as its road closed, or, saved before the game kept the ending,
// on a page of its own. Chapter 1 is the last of a module of Reedwater alone.
TEST_F(ChapterEndTest, AFinishedLastChaptersSaveShowsThatChaptersOwnEnding) {
    ASSERT_TRUE(loaded);
    ChapterInfoMap& table = CDRAVAppTestAccess::ChapterTable(app);
    struct Case {
        int chapter;
        int chapters;        // what chapter 1's record announces
        std::string ending;  // what the chapter was won with; none for an older save
        std::vector<std::string> pictures;
    };
    const std::vector<std::string> ashcombe{"win2_boats.jpg", "win2_ledger.jpg", "chapter.jpg"};
    const std::vector<Case> cases = {
        {2, 2, "Sefton's chain drops into the river. LINE LINE Sefton keeps Marrow's ledger.", ashcombe},
        {2, 2, "Wren turns the windlass, the boats go \"one by one\". LINE LINE Wren follows the ledger.", ashcombe},
        {1, 1, "The ferry pulls away from Reedwater.", {"win1_ferry.jpg", "win1_marsh.jpg", "chapter.jpg"}},
        {2, 2, "", ashcombe},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("chapter " + std::to_string(c.chapter) + ": " + c.ending);
        table.at(1)->m_chapterCount = c.chapters;
        const std::string title = "Wren (End of Chapter " + std::to_string(c.chapter);
        std::string closing = "You have completed Quillmere. LINE LINE";
        if (c.ending.empty()) {
            home.folder.WriteFile("docs/Orvex Saved Games/Wren.drav",
                                  "<save> <version> Orvex 5 0 </version> ( " + std::to_string(c.chapter) +
                                      " true ) \"Wren.drav\" \"Wren\" \"" + title + ")\" </save>");
        } else {  // won, and saved by the last page's Exit
            QuillmereTest::SampleGame won(c.chapter, [](DRAV::CActor& hero) { hero.SetName("Wren"); });
            CDRAVAppTestAccess::SetEngine(app, won.EnginePtr());
            CDRAVAppTestAccess::StartPlaying(app);
            won.Game().SetClosingText(c.ending);
            won.Game().SetStateCode(DRAV::GAME_WON);
            app.OnChapterComplete(true);
            closing = dynamic_cast<CWinDlg&>(*app.GetCurrentDialog()).GetPages().back().text;
            for (std::size_t page = 0; page < c.pictures.size(); ++page) app.CloseDialog(CWinDlg::kNext);
        }
        app.SetDialog(true, std::make_shared<CLoadDlg>(&app));
        auto* load = dynamic_cast<CLoadDlg*>(app.GetCurrentDialog().get());
        ASSERT_NE(load, nullptr);
        ASSERT_EQ(load->GetList()->m_items.size(), 1u);
        EXPECT_EQ(load->GetList()->m_items[0]->m_title.rfind(title, 0), 0u);
        app.CloseDialog(CLoadDlg::kFirstGame);

        auto* page = dynamic_cast<CWinDlg*>(app.GetCurrentDialog().get());
        ASSERT_NE(page, nullptr);
        EXPECT_EQ(page->GetSource(), table.at(c.chapter)->m_package.get()) << "the pictures are the chapter's own";
        std::vector<std::string> pictures;
        for (const WinPage& each : page->GetPages()) pictures.push_back(each.picture);
        EXPECT_EQ(pictures, c.pictures);
        EXPECT_EQ(page->GetPages().back().text.rfind(closing, 0), 0u);
        EXPECT_GE(FirstPicture(), 1000) << "the first page's picture was read";
        EXPECT_FALSE(app.IsGameRunning());
        CDRAVAppTestAccess::DropDialogs(app);
    }
}

TEST_F(ChapterEndTest, AnAbsentNextChapterLeadsToItsChapterPage) {
    ASSERT_TRUE(loaded);
    app.GetChapterTable().at(2)->m_state = 0;
    Win("Done.");
    while (auto* page = dynamic_cast<CWinDlg*>(app.GetCurrentDialog().get())) {
        ASSERT_LT(page->GetPages().size(), 10u);
        app.CloseDialog(page->GetPages().size() == 1 ? CWinDlg::kNextChapter : CWinDlg::kNext);
    }
    auto* chapter = dynamic_cast<CChapterDlg*>(app.GetCurrentDialog().get());
    ASSERT_NE(chapter, nullptr);
    EXPECT_TRUE(chapter->IsChapterAbsent());
}

TEST_F(ChapterEndTest, ASaveThatFailsOnTheLastPageKeepsThatPageAndItsWayOn) {
    ASSERT_TRUE(loaded);
    Win("Reedwater is safe.");
    while (auto* page = dynamic_cast<CWinDlg*>(app.GetCurrentDialog().get())) {
        if (page->GetPages().size() == 1) break;
        app.CloseDialog(CWinDlg::kNext);
    }
    // A documents "folder" below a file: no save folder can be made.
    setenv("XDG_DOCUMENTS_DIR", "/dev/null/docs", 1);
    for (int way : {CWinDlg::kNextChapter, CWinDlg::kNext}) {
        recorder.boxes.clear();
        app.CloseDialog(way);
        ASSERT_EQ(recorder.boxes.size(), 1u) << way;
        EXPECT_EQ(recorder.boxes[0].first, "Save Error");
        auto* last = dynamic_cast<CWinDlg*>(app.GetCurrentDialog().get());
        ASSERT_NE(last, nullptr) << way << ": the last page is shown again";
        EXPECT_EQ(last->GetPages().size(), 1u);
        EXPECT_EQ(Buttons(*last), (std::vector<std::string>{"Play Next Chapter", "Launch Website", "Exit"}));
        EXPECT_TRUE(app.IsGameRunning());
    }
    setenv("XDG_DOCUMENTS_DIR", (home.folder / "docs").c_str(), 1);
    app.CloseDialog(CWinDlg::kNext);
    EXPECT_NE(dynamic_cast<CStartDlg*>(app.GetCurrentDialog().get()), nullptr) << "saved, the way on is open";
    EXPECT_FALSE(app.IsGameRunning());
}

}  // namespace
