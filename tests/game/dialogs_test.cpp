#include <gtest/gtest.h>

#include <memory>

#include "common/data_file_memory.h"
#include "common/exception.h"
#include <SDL_image.h>
#include <SDL_ttf.h>
#include "dialog_test_support.h"
#include "engine/engine.h"
#include "game/dialogs/front/about_dlg.h"
#include "game/dialogs/front/chapter_dlg.h"
#include "game/dialogs/front/start_dlg.h"
#include "game/dialogs/text_dlg.h"
#include "game/dialogs/yes_no_dlg.h"
#include "platform/win32/virtual_keys.h"
#include "ui/ui_button.h"
#include "ui/ui_image.h"
#include "ui/ui_manager.h"

namespace {

using QuillmereTest::ShellOnSample;

// The dialogs draw text and pictures: the font and image libraries live for the
// whole test program, as they do for the program. SDL itself is left to the
// window layer, which the other shell tests drive on their own terms.
class SdlEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        TTF_Init();
        IMG_Init(IMG_INIT_JPG | IMG_INIT_PNG);
    }
    void TearDown() override {
        IMG_Quit();
        TTF_Quit();
    }
};

[[maybe_unused]] ::testing::Environment* const g_environment = ::testing::AddGlobalTestEnvironment(new SdlEnvironment);

// Builds nothing but what it is told to.
class BareDlg : public CDRAVDlg {
public:
    explicit BareDlg(RECT controls = RECT{0, 0, 0, 0}) : CDRAVDlg(nullptr), m_controls(controls) {}
    std::string GetTitle() override { return "Bare"; }
    void CreateControls(RECT, DRAVUI::CUIManager& container) override {
        if (m_controls.right == m_controls.left) return;
        auto button = std::make_shared<DRAVUI::CUITextButton>(4, "Four", container.GetConfig());
        button->SetRect(m_controls);
        container.AddElement(button);
    }
    bool OnButton(int) override { return false; }
    void OnClose(int) override {}

private:
    RECT m_controls;
};

class Answers : public CYesNoDlg {
public:
    Answers() : CYesNoDlg(nullptr, "Wield?", "Wield the knife?") {}
    void OnYes() override { answers += "y"; }
    void OnNo() override { answers += "n"; }
    std::string answers;
};

std::vector<int> Ids(DRAVUI::CUIManager& ui) {
    std::vector<int> ids;
    for (const auto& element : ui.GetElements()) ids.push_back(element->GetId());
    return ids;
}

bool SameRect(const RECT& a, const RECT& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

TEST(DialogFrame, AnEmptyDialogGetsATitleAndFrameOnTheCentreAndRebuildsTheSame) {
    DRAVUI::CUIManager ui;
    BareDlg bare;
    const RECT area{0, 0, 1024, 768};
    bare.Create(area, ui);
    ASSERT_EQ(Ids(ui), (std::vector<int>{0, 0}));
    const RECT title = *ui.GetElements()[1]->GetRect();
    EXPECT_TRUE(SameRect(title, RECT{512, 384 - 16, 512, 384})) << "a title's height above the centre";
    EXPECT_TRUE(SameRect(*ui.GetElements()[0]->GetRect(), RECT{508, 364, 516, 388}));

    ui.Clear();
    bare.Create(area, ui);
    EXPECT_EQ(Ids(ui), (std::vector<int>{0, 0}));
    EXPECT_TRUE(SameRect(*ui.GetElements()[1]->GetRect(), title));

    // Controls near the top squeeze the title between 0 and them; the large
    // layout's title is taller.
    DRAVUI::CUIManager top;
    top.GetConfig()->flags = DRAVUI::CUIConfig::LARGE_LAYOUT;
    BareDlg high(RECT{400, 10, 600, 42});
    high.Create(area, top);
    ASSERT_EQ(Ids(top), (std::vector<int>{0, 4, 0}));
    EXPECT_TRUE(SameRect(*top.GetElements()[2]->GetRect(), RECT{400, 0, 600, 10}));
    DRAVUI::CUIManager lower;
    lower.GetConfig()->flags = DRAVUI::CUIConfig::LARGE_LAYOUT;
    BareDlg low(RECT{400, 100, 600, 132});
    low.Create(area, lower);
    EXPECT_TRUE(SameRect(*lower.GetElements()[2]->GetRect(), RECT{400, 76, 600, 100}));
    EXPECT_TRUE(SameRect(*lower.GetElements()[0]->GetRect(), RECT{396, 72, 604, 388}))
        << "4 beyond the title, the controls and the centre";
}

TEST(DialogKeys, EachDialogKindAnswersTheKeysItsOwnWay) {
    BareDlg bare;
    Answers question;
    CTextDlg text(nullptr, "Help", "Some text", nullptr, false);
    CStartDlg start(nullptr);
    struct Row {
        CDRAVDlg* dialog;
        int key;
        bool closes;
        int result;
    };
    const Row rows[] = {
        {&bare, VK_ESCAPE, true, 0},   {&bare, VK_RETURN, true, 0},      {&bare, 'Y', false, 0},
        {&question, 'Y', true, 1},     {&question, 'N', true, 2},        {&question, VK_ESCAPE, true, 2},
        {&question, VK_RETURN, false, 0}, {&text, VK_ESCAPE, true, 0},   {&text, VK_RETURN, true, 0},
        {&start, VK_ESCAPE, false, 0}, {&start, VK_RETURN, false, 0},    {&start, 'N', false, 0},
    };
    for (const Row& row : rows) {
        int result = -1;
        const bool closes = row.dialog->OnKey(row.key, false, &result);
        EXPECT_EQ(closes, row.closes) << row.dialog->GetTitle() << " key " << row.key;
        if (closes) {
            EXPECT_EQ(result, row.result) << row.dialog->GetTitle() << " key " << row.key;
        }
    }
}

TEST(YesNoDialog, KeepsItsSizeInBothLayoutsAndAnswersNoToAnythingButYes) {
    for (bool large : {false, true}) {
        DRAVUI::CUIManager ui;
        if (large) ui.GetConfig()->flags = DRAVUI::CUIConfig::LARGE_LAYOUT;
        Answers question;
        question.CreateControls(RECT{0, 0, 1024, 768}, ui);
        ASSERT_EQ(Ids(ui), (std::vector<int>{0, 1, 2}));
        EXPECT_TRUE(SameRect(*ui.GetElements()[0]->GetRect(), RECT{288, 240, 736, 480}));
        const int width = large ? 80 : 64;
        EXPECT_TRUE(SameRect(*ui.GetElements()[1]->GetRect(), RECT{504 - width, 496, 504, 528}));
        EXPECT_TRUE(SameRect(*ui.GetElements()[2]->GetRect(), RECT{520, 496, 520 + width, 528}));
    }
    Answers question;
    for (int result : {1, 2, 0}) question.OnClose(result);
    EXPECT_EQ(question.answers, "ynn");
    EXPECT_TRUE(question.OnButton(1));
    EXPECT_TRUE(question.OnButton(2));
    EXPECT_FALSE(question.OnButton(0));
}

TEST(TextDialog, ShowsManualAndExtraButtonsOnlyWhenGivenAndRefusesUnknownResults) {
    class Extra : public CTextDlg {
    public:
        Extra() : CTextDlg(nullptr, "Item", "A knife.", nullptr, true) { m_extraLabel = "Use"; }
        void OnExtraButton() override { ++extra; }
        int extra = 0;
    };
    auto buttonIds = [](CTextDlg& dialog, RECT* done) {
        DRAVUI::CUIManager ui;
        dialog.CreateControls(RECT{0, 0, 1024, 768}, ui);
        auto* row = dynamic_cast<DRAVUI::CUIGroup*>(ui.GetElements().back().get());
        std::vector<int> ids;
        for (const auto& child : row->GetChildren()) ids.push_back(child->GetId());
        if (done) *done = *row->GetChildren().back()->GetRect();
        return ids;
    };
    CTextDlg plain(nullptr, "Help", "Text", nullptr, false);
    RECT done{};
    EXPECT_EQ(buttonIds(plain, &done), std::vector<int>{1});
    EXPECT_EQ((done.left + done.right) / 2, 512) << "Done alone stands in the middle";
    EXPECT_EQ(done.bottom, 608) << "centred 32 above the bottom of the 480-high panel";
    auto anchored = CTextDlg::CTextDlgWithAnchor(nullptr, "Strength", "Text", "Attributes");
    EXPECT_EQ(buttonIds(*anchored, nullptr), (std::vector<int>{2, 1}));
    Extra extra;
    EXPECT_EQ(buttonIds(extra, nullptr), (std::vector<int>{3, 1}));

    extra.OnClose(3);
    extra.OnClose(0);
    extra.OnClose(1);
    EXPECT_EQ(extra.extra, 1);
    EXPECT_FALSE(extra.OnButton(0));
    try {
        extra.OnClose(4);
        FAIL() << "an unknown result is refused";
    } catch (const CDRAVException& failure) {
        EXPECT_EQ(failure.GetCode(), DRAV_ERR_UNEXPECTED);
        EXPECT_TRUE(failure.GetMessage().empty());
    }
}

class FrontPageTest : public ::testing::Test, protected ShellOnSample {
protected:
    CDRAVChapterInfo& Chapter(int n) { return *app.GetChapterTable().at(n); }
    DRAVUI::CUIGroup* Strip() {
        auto* page = dynamic_cast<DRAVUI::CUIGroup*>(app.GetUIManager().GetElements()[1].get());
        return page ? dynamic_cast<DRAVUI::CUIGroup*>(page->GetChildren().back().get()) : nullptr;
    }
    void StartPlayingChapterTwo() {
        auto engine = std::make_shared<DRAV::CEngine>();
        engine->LoadModule(2, DRAV::CModuleVersionRange("Orvex", 5, 0), Chapter(2).m_package);
        CDRAVAppTestAccess::SetEngine(app, engine);
        CDRAVAppTestAccess::StartPlaying(app);
    }
};

TEST_F(FrontPageTest, TheStripShowsInstalledChaptersThePurchasePictureAndBlanks) {
    ASSERT_TRUE(loaded);
    // The sample holds two chapters and says so: two pictures and nothing more.
    EXPECT_EQ(Chapter(1).m_chapterCount, 2);
    ASSERT_EQ(Chapter(2).m_state, CDRAVChapterInfo::kStatePresent);
    EXPECT_EQ(Chapter(2).m_chapterCount, 2);
    EXPECT_EQ(app.GetChapterTable().size(), 2u);
    app.SetDialog(true, std::make_shared<CStartDlg>(&app));
    EXPECT_EQ(recorder.titles.back(), "Quillmere - Welcome");
    EXPECT_EQ(ScreenIds(), (std::vector<int>{0, 0, 0, 1, 2, 3, 4, 5, 100, 101, 0}));

    // A module announcing four chapters of which two are installed.
    AnnounceChapters(4);
    app.SetDialog(true, std::make_shared<CStartDlg>(&app));
    EXPECT_EQ(ScreenIds(), (std::vector<int>{0, 0, 0, 1, 2, 3, 4, 5, 100, 101, 102, 0, 0}));
    ASSERT_NE(Strip(), nullptr);
    std::vector<int> images;
    for (const auto& child : Strip()->GetChildren()) {
        images.push_back(dynamic_cast<DRAVUI::CUIImageButton&>(*child).GetImageId());
        EXPECT_EQ(DRAVUI::Width(*child->GetRect()), 66);
    }
    // The two thumbnails were realized as pictures of their own.
    EXPECT_GE(images[0], 1000);
    EXPECT_GE(images[1], 1000);
    EXPECT_EQ(images[2], CStartDlg::kPurchaseImage);
    EXPECT_EQ(images[3], 0);

    // The blank button does nothing; nor do the keys.
    auto page = app.GetCurrentDialog();
    EXPECT_FALSE(page->OnButton(0));
    app.HandleMessage(WM_KEYDOWN, VK_ESCAPE, 0);
    app.HandleMessage(WM_KEYDOWN, VK_RETURN, 0);
    EXPECT_EQ(app.GetCurrentDialog(), page);
    EXPECT_THROW(page->OnClose(6), CDRAVException);
}

TEST_F(FrontPageTest, AboutCoversAFreshFrontPageAndManualFailuresAreReportedOnce) {
    ASSERT_TRUE(loaded);
    app.SetDialog(true, std::make_shared<CStartDlg>(&app));
    auto first = app.GetCurrentDialog();
    app.CloseDialog(CStartDlg::kAbout);
    EXPECT_NE(dynamic_cast<CAboutDlg*>(app.GetCurrentDialog().get()), nullptr);
    ASSERT_EQ(app.GetCoveredDialogs().size(), 1u);
    EXPECT_NE(app.GetCoveredDialogs().back(), first) << "a fresh front page";
    EXPECT_EQ(recorder.titles.back(), "Quillmere - About");
    app.HandleMessage(WM_KEYDOWN, VK_ESCAPE, 0);
    EXPECT_EQ(recorder.titles.back(), "Quillmere - Welcome");

    // No browser on this machine's PATH for the tests: one box, then a new page.
    setenv("PATH", "/nonexistent", 1);
    auto before = app.GetCurrentDialog();
    app.CloseDialog(CStartDlg::kManual);
    ASSERT_EQ(recorder.boxes.size(), 1u);
    EXPECT_EQ(recorder.boxes[0].first, "Manual Error");
    EXPECT_EQ(recorder.boxes[0].second,
              "Failed to load manual. You may continue to play, however, you can contact Velmarsh for support.");
    EXPECT_NE(dynamic_cast<CStartDlg*>(app.GetCurrentDialog().get()), nullptr);
    EXPECT_NE(app.GetCurrentDialog(), before);
}

TEST_F(FrontPageTest, AboutNamesTheChapterOnlyWhileAGameIsPlayed) {
    ASSERT_TRUE(loaded);
    const std::string chapterLine = " LINE Chapter 2: The Weir at Ashcombe (5.1) LINE ";
    const std::string before = BuildAboutText(app);
    EXPECT_EQ(before.find(" LINE Chapter "), std::string::npos) << "chapter 1's engine is made at start-up";
    EXPECT_EQ(before.rfind("Quillmere LINE Version ", 0), 0u);
    StartPlayingChapterTwo();
    const std::string during = BuildAboutText(app);
    const std::size_t at = during.find(chapterLine);
    ASSERT_NE(at, std::string::npos) << during;
    EXPECT_LT(during.find("Copyright"), at);
    EXPECT_GT(during.find("Visit the official website:"), at);
    EXPECT_LT(during.find("Visit the official website:"), during.find("Libraries:"));
}

TEST_F(FrontPageTest, ChapterPagesOfPresentAndAbsentChapters) {
    ASSERT_TRUE(loaded);
    CChapterDlg present(&app, 2);
    EXPECT_FALSE(present.IsChapterAbsent());
    EXPECT_EQ(present.GetTitle(), "The Weir at Ashcombe");
    EXPECT_EQ(present.BuildChapterText(), "Chapter 2: The Weir at Ashcombe (5.1) LINE " + Chapter(2).m_text2 + " LINE ");
    Chapter(2).m_versionMajor = 0;
    EXPECT_EQ(present.BuildChapterText().find("("), std::string::npos) << "no version for major version 0";
    Chapter(2).m_versionMajor = 1;
    Chapter(2).m_versionMinor = 2;
    EXPECT_NE(present.BuildChapterText().find("Ashcombe (1.2) LINE"), std::string::npos);

    // The sample's last chapter announces none after it.
    EXPECT_TRUE(Chapter(2).m_text3.empty());
    EXPECT_TRUE(Chapter(2).m_text4.empty());
    EXPECT_THROW(CChapterDlg(&app, 3), CDRAVException);

    // A third chapter announced by the second but not installed.
    AnnounceChapters(3);
    Chapter(2).m_text3 = "The Mill Race";
    Chapter(2).m_text4 = "Below the weir a wheel turns again.";
    CChapterDlg absent(&app, 3);
    EXPECT_TRUE(absent.IsChapterAbsent());
    EXPECT_EQ(absent.GetTitle(), "The Mill Race");
    EXPECT_EQ(absent.BuildChapterText(), "Chapter 3: The Mill Race LINE Below the weir a wheel turns again. LINE ");
    EXPECT_THROW(CChapterDlg(&app, 9), CDRAVException);
    // Chapter 1 announces chapter 2 when its files are gone.
    Chapter(2).m_state = 0;
    EXPECT_EQ(CChapterDlg(&app, 2).GetTitle(), "The Weir at Ashcombe");
    Chapter(2).m_state = CDRAVChapterInfo::kStatePresent;

    // Done, Esc and Enter, and the purchase button: always a new front page.
    for (int id : {CChapterDlg::kDone, 0}) {
        app.SetDialog(true, std::make_shared<CChapterDlg>(&app, 3));
        const std::size_t covered = app.GetCoveredDialogs().size();
        EXPECT_EQ(ScreenIds(), (std::vector<int>{0, 0, 0, 3, 1, 0}));
        app.CloseDialog(id);
        EXPECT_NE(dynamic_cast<CStartDlg*>(app.GetCurrentDialog().get()), nullptr);
        EXPECT_EQ(app.GetCoveredDialogs().size(), covered) << "the new front page takes the chapter page's place";
    }
    EXPECT_EQ(ChapterPurchasePage(3), "https://quillmere.example/3.html");
}

TEST_F(FrontPageTest, UnreadablePicturesLeaveEmptyPicturesOfTheSameSize) {
    ASSERT_TRUE(loaded);
    // Chapter 2's files are gone after start-up, and chapter 1's thumbnail is no image.
    Chapter(2).m_package = std::make_shared<DRAVCommon::CDataFileFactoryMemory>();
    auto broken = std::make_shared<DRAVCommon::CDataFileFactoryMemory>();
    broken->Add(DRAVCommon::DFK_CHAPTER, DRAVCommon::DFS_NONE, "thumb.jpg", {'n', 'o', 't', ' ', 'a', ' ', 'j', 'p', 'g'});
    Chapter(1).m_package = broken;

    app.SetDialog(true, std::make_shared<CStartDlg>(&app));
    EXPECT_EQ(ScreenIds(), (std::vector<int>{0, 0, 0, 1, 2, 3, 4, 5, 100, 101, 0}));
    for (int n : {0, 1}) {
        auto& button = dynamic_cast<DRAVUI::CUIImageButton&>(*Strip()->GetChildren()[n]);
        EXPECT_EQ(button.GetImageId(), 0);
        EXPECT_EQ(DRAVUI::Width(*button.GetRect()), 66);
    }

    app.CloseDialog(101);
    ASSERT_NE(dynamic_cast<CChapterDlg*>(app.GetCurrentDialog().get()), nullptr);
    auto* page = dynamic_cast<DRAVUI::CUIGroup*>(app.GetUIManager().GetElements()[1].get());
    ASSERT_NE(page, nullptr);
    auto& picture = dynamic_cast<DRAVUI::CUIImage&>(*page->GetChildren()[0]);
    EXPECT_EQ(picture.GetImageId(), 0);
    EXPECT_EQ(DRAVUI::Width(*picture.GetRect()), 730);
    EXPECT_EQ(DRAVUI::Height(*picture.GetRect()), 366);
    EXPECT_TRUE(recorder.boxes.empty());
}

}  // namespace
