#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "dialog_test_support.h"
#include "engine/engine.h"
#include "game/dialogs/front/difficulty_dlg.h"
#include "game/dialogs/maps/exit_area_dlg.h"
#include "game/dialogs/play/game_menu_dlg.h"
#include "game/dialogs/front/load_dlg.h"
#include "game/dialogs/front/start_dlg.h"
#include "game/dialogs/front/volume_dlg.h"
#include "platform/win32/virtual_keys.h"
#include "support/temp_dir.h"
#include "ui/ui_list_element.h"
#include "world/area.h"
#include "world/game.h"

namespace {

namespace fs = std::filesystem;

TEST(LoadRoute, CompletedChaptersContinueOnlyIntoAChapterThatIsThere) {
    ChapterInfoMap table;
    for (int n = 1; n <= 4; ++n) table[n] = std::make_shared<CDRAVChapterInfo>(n, 4);
    table[1]->m_state = table[2]->m_state = CDRAVChapterInfo::kStatePresent;
    struct Case {
        int chapter;
        bool completed;
        LoadRoute route;
    };
    const Case cases[] = {
        {1, false, LoadRoute::Load},             // a game in progress loads as it is
        {9, false, LoadRoute::Load},             // LoadGame reports an unknown chapter itself
        {1, true, LoadRoute::Load},              // chapter 2 is installed: carried over
        {2, true, LoadRoute::ChapterPage},       // chapter 3 is not
        {4, true, LoadRoute::Congratulations},   // the last chapter is done
        {7, true, LoadRoute::Unknown},           // made with a module of more chapters
    };
    for (const Case& test : cases) {
        CLoadInfoItem row;
        row.m_chapter = test.chapter;
        row.m_chapterCompleted = test.completed;
        EXPECT_EQ(ChooseLoadRoute(row, table), test.route) << test.chapter << (test.completed ? " done" : "");
    }
    table.erase(4);
    CLoadInfoItem third;
    third.m_chapter = 3;
    third.m_chapterCompleted = true;
    EXPECT_EQ(ChooseLoadRoute(third, table), LoadRoute::Unknown) << "the next chapter has no entry";
}

class VolumeAudio : public QuillmereTest::CountedAudio {
public:
    void SetVolume(int value) override { set.push_back(value); }
    int GetVolume() override { return volume; }
    int volume = 100;
    std::vector<int> set;
};

// The shell on the sample with a game of "Wren" running and saving into a
// documents folder of the test's own.
class SaveDialogsTest : public ::testing::Test, protected QuillmereTest::ShellOnSample {
protected:
    SaveDialogsTest() {
        setenv("XDG_DOCUMENTS_DIR", (m_docs / "docs").c_str(), 1);
        CDRAVAppTestAccess::SetAudio(app, volumeAudio);
    }
    ~SaveDialogsTest() override { unsetenv("XDG_DOCUMENTS_DIR"); }

    void StartGame() {
        ASSERT_TRUE(loaded);
        DRAV::CEngine& engine = *app.GetEngine();
        std::shared_ptr<DRAV::CActor> main = engine.NewGame();
        main->SetName("Wren");
        engine.BeginNewGame(main);
        engine.EnterArea();
        CDRAVAppTestAccess::StartPlaying(app);
    }
    DRAV::CGame& Game() { return QuillmereTest::RunningGameOf(app); }
    fs::path Saves() const { return m_docs.Path() / "docs" / "Orvex Saved Games"; }
    template <typename T>
    T* Current() {
        return dynamic_cast<T*>(app.GetCurrentDialog().get());
    }
    DRAVUI::CUIElement* Element(int id) {
        DRAVUI::CUIElement* found = nullptr;
        for (const auto& element : app.GetUIManager().GetElements()) FindIn(*element, id, found);
        return found;
    }

    QuillmereTest::TempDir m_docs;
    std::shared_ptr<VolumeAudio> volumeAudio = std::make_shared<VolumeAudio>();

private:
    static void FindIn(DRAVUI::CUIElement& element, int id, DRAVUI::CUIElement*& found) {
        if (element.GetId() == id && !found) found = &element;
        if (auto* group = dynamic_cast<DRAVUI::CUIGroup*>(&element))
            for (const auto& child : group->GetChildren()) FindIn(*child, id, found);
        if (auto* list = dynamic_cast<DRAVUI::CUIListElement*>(&element))
            for (int column = 0; column < 2; ++column)
                for (const auto& cell : list->GetColumn(column)) FindIn(*cell, id, found);
    }
};

TEST_F(SaveDialogsTest, AHundredAndOneSavesShowAHundredRowsAndARowResumesItsGame) {
    StartGame();
    Game().SetGold(321);
    ASSERT_TRUE(app.SaveGame());
    for (int i = 0; i < 100; ++i) fs::copy_file(Saves() / "Wren.drav", Saves() / ("Copy" + std::to_string(i) + ".drav"));
    app.SetDialog(true, std::make_shared<CLoadDlg>(&app));
    auto* dialog = Current<CLoadDlg>();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->GetList()->m_items.size(), 101u);
    EXPECT_EQ(recorder.titles.back(), "Quillmere - Load Game");
    for (int id : {100, 199, 200, 299, 1}) EXPECT_NE(Element(id), nullptr) << id;
    EXPECT_EQ(Element(300), nullptr);
    EXPECT_EQ(Element(200 + 100), nullptr);
    EXPECT_FALSE(Element(100)->HasFlag(DRAVUI::UIF_ALT_IS_CLICK)) << "a right click on a title does not continue";
    EXPECT_TRUE(Element(200)->HasFlag(DRAVUI::UIF_ALT_IS_CLICK));
    EXPECT_FALSE(dialog->OnButton(300));

    Game().SetGold(5);
    int row = 0;
    while (dialog->GetList()->m_items[row]->m_path.find("Wren.drav") == std::string::npos) ++row;
    app.CloseDialog(CLoadDlg::kFirstGame + row);
    EXPECT_EQ(app.GetCurrentDialog(), nullptr);
    EXPECT_TRUE(app.IsGameRunning());
    EXPECT_EQ(Game().GetGold(), 321);
    EXPECT_TRUE(recorder.boxes.empty());
}

TEST_F(SaveDialogsTest, DeletingAsksRemovesOnlyTheSaveAndReportsAFailure) {
    StartGame();
    ASSERT_TRUE(app.SaveGame());
    ASSERT_TRUE(app.SaveGame());
    app.SetDialog(true, std::make_shared<CLoadDlg>(&app));
    app.CloseDialog(CLoadDlg::kFirstDelete);
    ASSERT_NE(Current<CLoadDlgConfirm>(), nullptr);
    EXPECT_EQ(recorder.titles.back(), "Quillmere - Delete Game?");
    app.HandleMessage(WM_KEYDOWN, 'N', 0);
    ASSERT_NE(Current<CLoadDlg>(), nullptr);
    EXPECT_EQ(Current<CLoadDlg>()->GetList()->m_items.size(), 1u);

    app.CloseDialog(CLoadDlg::kFirstDelete);
    app.HandleMessage(WM_KEYDOWN, 'Y', 0);
    ASSERT_NE(Current<CLoadDlg>(), nullptr);
    EXPECT_TRUE(Current<CLoadDlg>()->GetList()->m_items.empty());
    EXPECT_FALSE(fs::exists(Saves() / "Wren.drav"));
    EXPECT_TRUE(fs::exists(Saves() / "Wren.drav.bak")) << "only the save itself goes";
    EXPECT_TRUE(recorder.boxes.empty());

    // A save that has gone by the time the answer comes cannot be deleted.
    ASSERT_TRUE(app.SaveGame());
    app.SetDialog(true, std::make_shared<CLoadDlg>(&app));
    app.CloseDialog(CLoadDlg::kFirstDelete);
    fs::remove(Saves() / "Wren.drav");
    app.HandleMessage(WM_KEYDOWN, 'Y', 0);
    ASSERT_EQ(recorder.boxes.size(), 1u);
    EXPECT_NE(recorder.boxes[0].second.find("Wren.drav"), std::string::npos);
    EXPECT_NE(Current<CLoadDlg>(), nullptr);

    app.CloseDialog(CLoadDlg::kCancel);
    EXPECT_NE(Current<CStartDlg>(), nullptr);
}

TEST_F(SaveDialogsTest, ADamagedOrUnknownSaveGivesLoadErrorAndTheFrontPage) {
    StartGame();
    ASSERT_TRUE(app.SaveGame());
    std::ifstream in(Saves() / "Wren.drav");
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::ofstream(Saves() / "Wren.drav") << text.substr(0, text.size() / 2);
    std::string done = text;
    done.replace(done.find("false"), 5, "true");
    const std::size_t chapter = done.find("( 1") != std::string::npos ? done.find("( 1") : done.find("(1");
    done.replace(chapter, done.find('\n', chapter) - chapter, "(9");
    std::ofstream(Saves() / "Other.drav") << done;

    app.SetDialog(true, std::make_shared<CLoadDlg>(&app));
    auto* dialog = Current<CLoadDlg>();
    ASSERT_NE(dialog, nullptr);
    ASSERT_EQ(dialog->GetList()->m_items.size(), 2u) << "the header survives the cut";
    app.CloseDialog(CLoadDlg::kFirstGame);
    ASSERT_NE(Current<CStartDlg>(), nullptr);
    app.SetDialog(true, std::make_shared<CLoadDlg>(&app));
    app.CloseDialog(CLoadDlg::kFirstGame + 1);
    EXPECT_NE(Current<CStartDlg>(), nullptr);
    ASSERT_EQ(recorder.boxes.size(), 2u);
    for (const auto& box : recorder.boxes) EXPECT_EQ(box.first, "Load Error");
}

TEST_F(SaveDialogsTest, VolumeHighlightsItsStepAndHandsTheVolumeOnHoweverItCloses) {
    StartGame();
    app.HandleMessage(WM_KEYDOWN, 'V', 0);
    ASSERT_NE(Current<CDRAVVolumeDlg>(), nullptr);
    EXPECT_EQ(recorder.titles.back(), "Quillmere - Volume");
    EXPECT_TRUE(Element(200)->HasFlag(DRAVUI::UIF_SELECTED));
    EXPECT_FALSE(Element(130)->HasFlag(DRAVUI::UIF_SELECTED));
    EXPECT_FALSE(Current<CDRAVVolumeDlg>()->OnButton(99));
    ASSERT_TRUE(Current<CDRAVVolumeDlg>()->OnButton(130));
    app.CloseDialog(130);
    app.ShowVolumeDlg(true);
    app.HandleMessage(WM_KEYDOWN, VK_ESCAPE, 0);
    volumeAudio->volume = 55;
    app.ShowVolumeDlg(true);
    for (int id = 100; id <= 200; id += 10) EXPECT_FALSE(Element(id)->HasFlag(DRAVUI::UIF_SELECTED)) << id;
    app.CloseDialog(100);
    EXPECT_EQ(volumeAudio->set, (std::vector<int>{30, 100, 55}));
}

TEST_F(SaveDialogsTest, TheMenuStacksSixButtonsAndMainMenuKeepsAGameItCouldNotSave) {
    StartGame();
    app.HandleMessage(WM_KEYDOWN, VK_RETURN, 0);
    ASSERT_NE(Current<CDRAVGameMenuDlg>(), nullptr);
    EXPECT_EQ(recorder.titles.back(), "Quillmere - Game Menu");
    LONG previousBottom = 0;
    for (int id : {2, 3, 5, 6, 9, 7}) {
        const RECT* rect = Element(id)->GetRect();
        EXPECT_EQ(rect->bottom - rect->top, 32);
        if (previousBottom) {
            EXPECT_EQ(rect->top, previousBottom + 16) << id;
        }
        previousBottom = rect->bottom;
    }

    unsetenv("XDG_DOCUMENTS_DIR");
    const std::string home = getenv("HOME") ? getenv("HOME") : "";
    unsetenv("HOME");
    app.CloseDialog(CDRAVGameMenuDlg::kMainMenu);
    if (!home.empty()) setenv("HOME", home.c_str(), 1);
    EXPECT_TRUE(app.IsGameRunning());
    EXPECT_EQ(app.GetCurrentDialog(), nullptr);
    ASSERT_EQ(recorder.boxes.size(), 1u);
    EXPECT_EQ(recorder.boxes[0].first, "Save Error");

    setenv("XDG_DOCUMENTS_DIR", (m_docs / "docs").c_str(), 1);
    app.HandleMessage(WM_KEYDOWN, VK_RETURN, 0);
    app.CloseDialog(CDRAVGameMenuDlg::kMainMenu);
    EXPECT_TRUE(fs::exists(Saves() / "Wren.drav"));
    EXPECT_NE(Current<CStartDlg>(), nullptr);
}

TEST_F(SaveDialogsTest, DifficultyIsSetAndSavedByItsKey) {
    StartGame();
    app.ShowDifficultyDlg();
    ASSERT_NE(Current<CDifficultyDlg>(), nullptr);
    EXPECT_TRUE(Element(100)->HasFlag(DRAVUI::UIF_SELECTED));
    EXPECT_FALSE(Element(102)->HasFlag(DRAVUI::UIF_SELECTED));
    app.HandleMessage(WM_KEYDOWN, VK_ESCAPE, 0);
    EXPECT_EQ(Game().GetDifficulty(), DRAV::DIFFICULTY_CORE);
    app.ShowDifficultyDlg();
    app.CloseDialog(102);
    EXPECT_EQ(Game().GetDifficulty(), DRAV::DIFFICULTY_EASY);
    ASSERT_TRUE(app.SaveGame());
    std::ifstream in(Saves() / "Wren.drav");
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const std::size_t block = text.find("<difficulty>");
    ASSERT_NE(block, std::string::npos);
    std::istringstream words(text.substr(block + 12));
    std::string key;
    words >> key;
    EXPECT_EQ(key, "easy");
    EXPECT_NE(BuildDifficultyText().find("Easy: At Easy difficulty"), std::string::npos);
}

TEST_F(SaveDialogsTest, TheExitQuestionNamesTheExitAndNoKeepsTheParty) {
    StartGame();
    app.SetDialog(false, std::make_shared<CExitAreaDlg>(&app, "Reed Marsh"));
    EXPECT_EQ(recorder.titles.back(), "Quillmere - Exit?");
    const std::string area = Game().GetCurrentArea()->GetName();
    app.HandleMessage(WM_KEYDOWN, VK_RETURN, 0);
    EXPECT_NE(Current<CExitAreaDlg>(), nullptr) << "Enter is no answer";
    app.HandleMessage(WM_KEYDOWN, 'N', 0);
    EXPECT_EQ(app.GetCurrentDialog(), nullptr);
    EXPECT_EQ(Game().GetCurrentArea()->GetName(), area);
}

}  // namespace
