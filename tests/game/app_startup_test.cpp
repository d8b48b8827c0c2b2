#include <gtest/gtest.h>

#include <filesystem>
#include <vector>

#include "app_test_access.h"
#include "platform/win32/platform_observer.h"
#include "support/error_code.h"
#include "support/sample_module.h"
#include "support/temp_dir.h"

namespace {

namespace fs = std::filesystem;

class BoxRecorder : public Win32::CPlatformObserver {
public:
    BoxRecorder() { Win32::SetPlatformObserver(this); }
    ~BoxRecorder() override { Win32::SetPlatformObserver(nullptr); }
    std::optional<int> OnMessageBox(const std::string& text, const std::string& caption, UINT) override {
        boxes.push_back({caption, text});
        return IDOK;
    }
    std::vector<std::pair<std::string, std::string>> boxes;
};

const char* kChapterTwo = "<chapter> ( 2 4 ) 3 ( 2 9 ) \"Chapter Two\" \"\" \"\" \"\" </chapter>";

// Module folders put together from the built sample: the packed archives, the
// loose tree, or both, with chapters of the test's own beside them.
class StartupTest : public ::testing::Test {
protected:
    StartupTest() { setenv("XDG_CONFIG_HOME", (m_folder / "config").c_str(), 1); }

    // The sample's chapter 1 (unless `withChapterOne` is false) and shared folders;
    // its later chapters are left out so that a test's own chapters take their numbers.
    void LinkLooseTree(bool withChapterOne = true) {
        for (const auto& entry : fs::directory_iterator(QuillmereTest::SampleFolderRoot())) {
            const std::string name = entry.path().filename().string();
            // The interface archive is each test's own choice.
            if (name == "uiwin32.drav") continue;
            if ((name != "1" || !withChapterOne) && name.find_first_not_of("0123456789") == std::string::npos)
                continue;
            fs::create_symlink(entry.path(), m_folder.Path() / name);
        }
    }
    void LinkArchive(const std::string& name) {
        fs::create_symlink(fs::path(QuillmereTest::SampleArchiveRoot()) / name, m_folder.Path() / name);
    }
    // A loose chapter `number`: chapter 1's files with a record of its own.
    void AddLooseChapter(int number, const std::string& record) {
        fs::path chapter = m_folder.Path() / std::to_string(number);
        fs::create_directories(chapter);
        for (const auto& entry : fs::directory_iterator(fs::path(QuillmereTest::SampleFolderRoot()) / "1"))
            if (entry.path().filename() != "chapter.drav") fs::create_symlink(entry.path(), chapter / entry.path().filename());
        m_folder.WriteFile(std::to_string(number) + "/chapter.drav", record);
    }
    int StateOf(int chapter) const {
        const CDRAVChapterInfo* entry = m_app.GetChapterTable().Find(chapter);
        return entry ? entry->m_state : -1;
    }
    std::string Folder() const { return m_folder.Path().string(); }

    QuillmereTest::TempDir m_folder;
    BoxRecorder m_boxes;
    CDRAVApp m_app;
};

TEST_F(StartupTest, ThePackedFormWinsAndDecidesTheFormOfLaterChapters) {
    LinkLooseTree();
    LinkArchive("module1.drav");
    LinkArchive("uiwin32.drav");
    AddLooseChapter(2, kChapterTwo);
    ASSERT_TRUE(m_app.InitLoadModule(Folder())) << (m_boxes.boxes.empty() ? "" : m_boxes.boxes[0].second);
    EXPECT_TRUE(m_app.IsPackedModule());
    EXPECT_EQ(m_app.GetModuleFolder(), Folder());
    EXPECT_EQ(m_app.GetManualPath(), Folder() + "\\manual\\rules.htm");
    EXPECT_EQ(m_app.GetChapterTable().size(), 2u) << "the sample's two chapters";
    EXPECT_EQ(StateOf(1), CDRAVChapterInfo::kStatePresent);
    EXPECT_EQ(StateOf(2), 0) << "a loose chapter beside packed ones stays absent";
    ASSERT_TRUE(m_app.GetEngine());
    EXPECT_TRUE(m_app.GetAudio());
    EXPECT_TRUE(m_boxes.boxes.empty());
}

TEST_F(StartupTest, LooseChaptersAreProbedAndOneThatDoesNotReadIsAbsent) {
    // A first chapter that announces four.
    LinkLooseTree(false);
    AddLooseChapter(1, "<chapter> ( 1 4 ) 1 ( 1 8 ) \"Chapter One\" \"\" \"\" \"\" </chapter>");
    LinkArchive("uiwin32.drav");
    AddLooseChapter(2, kChapterTwo);
    AddLooseChapter(3, "<chapter> ( 3 4 ) 1 0 \"broken\" </chapter>");
    AddLooseChapter(5, kChapterTwo);  // past the chapter count
    ASSERT_TRUE(m_app.InitLoadModule(Folder()));
    EXPECT_FALSE(m_app.IsPackedModule());
    EXPECT_EQ(StateOf(2), CDRAVChapterInfo::kStatePresent);
    EXPECT_EQ(m_app.GetChapterTable().Find(2)->m_startingLevel, 3);
    EXPECT_EQ(StateOf(3), 0);
    EXPECT_EQ(StateOf(4), 0);
    EXPECT_EQ(StateOf(5), -1);
    EXPECT_TRUE(m_boxes.boxes.empty());
}

TEST_F(StartupTest, AnUnreadableArchiveFallsBackToTheLooseTree) {
    LinkLooseTree();
    LinkArchive("uiwin32.drav");
    m_folder.WriteFile("module1.drav", "no");
    ASSERT_TRUE(m_app.InitLoadModule(Folder()));
    EXPECT_FALSE(m_app.IsPackedModule());
}

TEST_F(StartupTest, ABrokenModuleShowsTheModuleMessageWithTheFolderAsGiven) {
    LinkArchive("uiwin32.drav");
    LinkArchive("module1.drav");
    // The folder is taken as given: a padded argument names no folder.
    EXPECT_FALSE(m_app.InitLoadModule(Folder() + " "));
    ASSERT_EQ(m_boxes.boxes.size(), 1u);
    EXPECT_EQ(m_boxes.boxes[0].first, "Game Error");
    EXPECT_EQ(m_boxes.boxes[0].second,
              "Failed to load module \"" + Folder() + " \". \"uiwin32.drav\" is missing. The game is broken. "
              "Try reinstalling, or contact Velmarsh for support.");

    // Chapter 1's record that does not read is the same failure, not a crash.
    CDRAVApp second;
    QuillmereTest::TempDir loose;
    for (const auto& entry : fs::directory_iterator(QuillmereTest::SampleFolderRoot()))
        if (entry.path().filename() != "1") fs::create_symlink(entry.path(), loose.Path() / entry.path().filename());
    fs::create_directories(loose.Path() / "1");
    for (const auto& entry : fs::directory_iterator(fs::path(QuillmereTest::SampleFolderRoot()) / "1"))
        if (entry.path().filename() != "chapter.drav")
            fs::create_symlink(entry.path(), loose.Path() / "1" / entry.path().filename());
    loose.WriteFile("1/chapter.drav", "<chapter> 0 </chapter>");
    EXPECT_FALSE(second.InitLoadModule(loose.Path().string()));
    ASSERT_EQ(m_boxes.boxes.size(), 2u);
    EXPECT_EQ(m_boxes.boxes[1].second.rfind("Failed to load module \"" + loose.Path().string() + "\"", 0), 0u);
    EXPECT_NE(m_boxes.boxes[1].second.find("chapter.drav"), std::string::npos) << m_boxes.boxes[1].second;

    // Without chapter 1 in either form, the box names both files it looked for; an
    // archive that does not read is named as such.
    CDRAVApp third;
    QuillmereTest::TempDir bare;
    fs::create_symlink(fs::path(QuillmereTest::SampleArchiveRoot()) / "uiwin32.drav", bare.Path() / "uiwin32.drav");
    EXPECT_FALSE(third.InitLoadModule(bare.Path().string()));
    ASSERT_EQ(m_boxes.boxes.size(), 3u);
    EXPECT_NE(m_boxes.boxes[2].second.find("\"module1.drav\" is missing, and so is \"1\\world.drav\"."),
              std::string::npos)
        << m_boxes.boxes[2].second;
    bare.WriteFile("module1.drav", "no");
    EXPECT_FALSE(third.InitLoadModule(bare.Path().string()));
    ASSERT_EQ(m_boxes.boxes.size(), 4u);
    EXPECT_NE(m_boxes.boxes[3].second.find("\"module1.drav\" cannot be read."), std::string::npos)
        << m_boxes.boxes[3].second;
}

TEST_F(StartupTest, MakingAnEngineForAnAbsentOrUnknownChapterIsCodeOne) {
    LinkArchive("uiwin32.drav");
    LinkArchive("module1.drav");
    ASSERT_TRUE(m_app.InitLoadModule(Folder()));
    std::shared_ptr<DRAV::CEngine> first = m_app.GetEngine();
    m_app.MakeEngine(1);
    EXPECT_EQ(m_app.GetEngine(), first) << "the running chapter's engine stays";
    for (int chapter : {2, 5})
        EXPECT_EQ(QuillmereTest::ErrorCodeOf([&] { m_app.MakeEngine(chapter); }), 1) << chapter;
    EXPECT_EQ(m_app.GetEngine(), first);
}

}  // namespace
