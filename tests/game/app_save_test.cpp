#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "app_test_access.h"
#include "dialog_test_support.h"
#include "engine/engine.h"
#include "platform/win32/platform_observer.h"
#include "support/overlay_source.h"
#include "support/sample_game.h"
#include "support/sample_module.h"
#include "support/save_text.h"
#include "support/temp_dir.h"
#include "support/unbuildable_area.h"
#include "world/actor.h"
#include "world/area.h"
#include "world/cell.h"
#include "world/events/event.h"
#include "world/game.h"
#include "world/object.h"
#include "world/order.h"

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

std::string Bytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// The shell started on the sample chapter with a new game of "Wren" running,
// saving into a documents folder of the test's own.
class AppSaveTest : public ::testing::Test {
protected:
    AppSaveTest() {
        fs::permissions(m_folder.Path(), fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                                             fs::perms::others_read | fs::perms::others_exec);
        setenv("XDG_CONFIG_HOME", (m_folder / "config").c_str(), 1);
        setenv("XDG_DOCUMENTS_DIR", (m_folder / "docs").c_str(), 1);
        for (const auto& entry : fs::directory_iterator(QuillmereTest::SampleFolderRoot()))
            fs::create_symlink(entry.path(), m_folder.Path() / "module" / entry.path().filename());
    }
    ~AppSaveTest() override {
        // A loaded game starts the clock; its timer must not tick into later tests.
        if (CDRAVAppTestAccess::TimerId(m_app)) KillTimer(nullptr, CDRAVAppTestAccess::TimerId(m_app));
        unsetenv("XDG_DOCUMENTS_DIR");
    }

    // With `chapter`, chapter 1 is read from it in place of the module folder.
    void StartGame(std::shared_ptr<DRAVCommon::CDataFileFactory> chapter = nullptr) {
        ASSERT_TRUE(m_app.InitLoadModule((m_folder.Path() / "module").string()));
        CDRAVAppTestAccess::SetAudio(m_app, std::make_shared<CountingAudio>());
        if (chapter) {
            auto own = std::make_shared<DRAV::CEngine>();
            own->LoadModule(1, DRAV::CModuleVersionRange("Orvex", 5, 0), chapter);
            CDRAVAppTestAccess::SetEngine(m_app, own);
        }
        DRAV::CEngine& engine = *m_app.GetEngine();
        std::shared_ptr<DRAV::CActor> main = engine.NewGame();
        main->SetName("Wren");
        engine.BeginNewGame(main);
        engine.EnterArea();
        CDRAVAppTestAccess::StartPlaying(m_app);
    }
    DRAV::CGame& Game() { return QuillmereTest::RunningGameOf(m_app); }
    fs::path Saves() const { return m_folder.Path() / "docs" / "Orvex Saved Games"; }
    fs::path SaveFile() const { return Saves() / "Wren.drav"; }
    // Two saves with different gold: the save and its ".bak" differ.
    void SaveTwice() {
        Game().SetGold(11);
        ASSERT_TRUE(m_app.SaveGame());
        Game().SetGold(22);
        ASSERT_TRUE(m_app.SaveGame());
    }

    QuillmereTest::TempDir m_folder{};
    BoxRecorder m_boxes;
    CDRAVApp m_app;

private:
    bool m_made = fs::create_directories(m_folder.Path() / "module");
};

TEST_F(AppSaveTest, ASecondSaveKeepsTheFirstAsBackupAndLoadingResumesIt) {
    StartGame();
    Game().SetGold(11);
    ASSERT_TRUE(m_app.SaveGame());
    EXPECT_FALSE(fs::exists(SaveFile().string() + ".bak"));
    const std::string first = Bytes(SaveFile());
    Game().SetGold(22);
    const std::uint32_t tick = Game().GetTick();
    ASSERT_TRUE(m_app.SaveGame());
    EXPECT_EQ(Bytes(SaveFile().string() + ".bak"), first);
    EXPECT_FALSE(fs::exists(SaveFile().string() + ".new"));
    EXPECT_EQ(m_app.GetSuspendCount(), 1) << "the clock's suspension is released";
    EXPECT_TRUE(m_boxes.boxes.empty());
    m_app.PumpEngineEvents();  // their lines logged before a load drops the game

    const std::shared_ptr<CLoadInfo> list = m_app.ListSavedGames();
    ASSERT_EQ(list->m_items.size(), 1u);
    EXPECT_EQ(list->m_items[0]->m_name, "Wren");
    Game().SetGold(99);
    m_app.QueueEvent(std::make_shared<DRAV::CDialogBoxEvent>(DRAV::EVENT_DIALOG_BOX, "Hark", "Of the game before."));
    ASSERT_TRUE(m_app.LoadGame(list->m_items[0]->m_path, 1, false));
    // What waited in the game before goes with it; what waited in the saved game, such
    // as the welcome page not yet opened when it was saved, waits again.
    for (const auto& event : m_app.GetPendingEvents()) {
        const auto* page = dynamic_cast<const DRAV::CDialogBoxEvent*>(event.get());
        EXPECT_FALSE(page && page->GetText() == "Of the game before.") << "what waited goes with the game before";
    }
    EXPECT_EQ(Game().GetGold(), 22);
    EXPECT_EQ(Game().GetTick(), tick);
    EXPECT_TRUE(m_app.IsGameRunning());
    ASSERT_EQ(m_app.GetQuickActionTable().size(), Game().GetParty().size());
    EXPECT_EQ(m_app.GetQuickActionTable().begin()->second->m_current, CDRAVActorInfo::kNoSlot);
    // The log names every save by its name, the one a journey makes as well.
    ASSERT_TRUE(m_app.SaveGame());
    Game().SetStateCode(DRAV::GAME_TRAVEL);
    Game().SetEntry({"reed_marsh", "landing"}, 0, "");
    m_app.CheckPartyAndChangeArea();
    ASSERT_EQ(Game().GetCurrentArea()->GetName(), "reed_marsh");
    m_app.PumpEngineEvents();
    std::vector<std::string> lines;
    for (const std::string& line : m_app.GetMessageLog())
        if (line.find(" game: ") != std::string::npos) lines.push_back(line);
    EXPECT_EQ(lines, (std::vector<std::string>{"Saved game: Wren", "Saved game: Wren", "Loaded game: Wren",
                                               "Saved game: Wren", "Saved game: Wren"}));
}

// The party came to the landing's way out on the tick the window was closed: the
// question of leaving waited with the dialogs for the timer, and the close saved
// the game then. The loaded game asks it, as a save through the menu's did; the
// party never stands at the way out with no question and no word.
TEST_F(AppSaveTest, AWindowClosedAsThePartyReachesAWayOutAsksTheQuestionAfterTheLoad) {
    StartGame();
    DRAV::CArea& landing = *Game().GetCurrentArea();
    for (const auto& reeds : DRAV::ObjectList(landing.GetObjects()))
        if (reeds->GetTemplate().GetKey() == "lane_reeds") landing.RemoveObject(*reeds);
    const DRAV::CObject* way = nullptr;
    for (const auto& object : landing.GetObjects())
        if (object->IsExit() && object->GetX() < 5.0) way = object.get();
    ASSERT_TRUE(way);
    const std::shared_ptr<DRAV::CActor> wren = Game().GetMainActor();
    ASSERT_TRUE(QuillmereTest::PutNear(landing, *wren, 12.5, 22.5));
    wren->PushOrder(std::make_shared<DRAV::CUseOrder>(DRAV::USE_OBJECT, way->GetId(), 0), false);
    const auto asking = [this] {
        const auto& pending = m_app.GetPendingEvents();
        return std::any_of(pending.begin(), pending.end(),
                           [](const auto& event) { return event->GetCode() == DRAV::EVENT_WAY_OUT_REACHED; });
    };
    // The timer's ticks, its share worked before the pending question is opened.
    for (int tick = 0; tick < 900 && !asking(); ++tick) {
        m_app.GetEngine()->RunTick();
        m_app.PumpEngineEvents();
    }
    ASSERT_TRUE(asking());
    ASSERT_TRUE(m_app.SaveGame());  // as the window's close does

    ASSERT_TRUE(m_app.LoadGame(SaveFile().string(), 1, false));
    EXPECT_TRUE(asking()) << "the question of leaving waits again";
    EXPECT_EQ(Game().GetStateCode(), DRAV::GAME_EXIT_AVAILABLE);
    EXPECT_TRUE(m_boxes.boxes.empty());
}

TEST_F(AppSaveTest, AWriteFailingHalfWayShowsSaveErrorAndChangesNoFile) {
    StartGame();
    SaveTwice();
    const std::string save = Bytes(SaveFile()), backup = Bytes(SaveFile().string() + ".bak");
    rlimit before{};
    getrlimit(RLIMIT_FSIZE, &before);
    signal(SIGXFSZ, SIG_IGN);
    rlimit half = before;
    half.rlim_cur = save.size() / 2;
    setrlimit(RLIMIT_FSIZE, &half);
    Game().SetGold(33);
    const bool saved = m_app.SaveGame();
    setrlimit(RLIMIT_FSIZE, &before);
    signal(SIGXFSZ, SIG_DFL);
    EXPECT_FALSE(saved);
    ASSERT_EQ(m_boxes.boxes.size(), 1u);
    EXPECT_EQ(m_boxes.boxes[0].first, "Save Error");
    EXPECT_EQ(m_boxes.boxes[0].second, "Failed to save \"" + SaveFile().string() + "\": File too large.");
    EXPECT_EQ(Bytes(SaveFile()), save);
    EXPECT_EQ(Bytes(SaveFile().string() + ".bak"), backup);
    EXPECT_FALSE(fs::exists(SaveFile().string() + ".new"));
    EXPECT_EQ(m_app.GetSuspendCount(), 1);
}

TEST_F(AppSaveTest, AReadOnlyFolderShowsSaveErrorAndChangesNoFile) {
    StartGame();
    SaveTwice();
    const std::string save = Bytes(SaveFile()), backup = Bytes(SaveFile().string() + ".bak");
    fs::permissions(Saves(), fs::perms::owner_read | fs::perms::owner_exec | fs::perms::group_read |
                                 fs::perms::group_exec | fs::perms::others_read | fs::perms::others_exec);
    // The administrator writes anywhere: the save runs as an ordinary user then.
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        if (geteuid() == 0 && setuid(65534) != 0) _exit(3);
        Game().SetGold(33);
        const bool saved = m_app.SaveGame();
        const bool shown = m_boxes.boxes.size() == 1 && m_boxes.boxes[0].first == "Save Error";
        _exit(!saved && shown && m_app.GetSuspendCount() == 1 ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    fs::permissions(Saves(), fs::perms::owner_all);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << "1: saved or no Save Error; 3: could not drop the administrator's rights";
    EXPECT_EQ(Bytes(SaveFile()), save);
    EXPECT_EQ(Bytes(SaveFile().string() + ".bak"), backup);
}

TEST_F(AppSaveTest, NoDocumentsFolderIsASaveErrorAndAnEmptyList) {
    StartGame();
    unsetenv("XDG_DOCUMENTS_DIR");
    const std::string home = getenv("HOME") ? getenv("HOME") : "";
    unsetenv("HOME");
    EXPECT_FALSE(m_app.SaveGame());
    EXPECT_TRUE(m_app.ListSavedGames()->m_items.empty());
    if (!home.empty()) setenv("HOME", home.c_str(), 1);
    ASSERT_EQ(m_boxes.boxes.size(), 1u);
    EXPECT_EQ(m_boxes.boxes[0], std::make_pair(std::string("Save Error"), std::string("Failed to save \"Wren.drav\": there is no documents folder to keep saved games in.")));
    EXPECT_EQ(m_app.GetSuspendCount(), 1);
}

TEST_F(AppSaveTest, ANameWithSlashesStaysInTheSaveFolder) {
    StartGame();
    // A name whose file the list of saves would not show, or which no load takes
    // back, fails the save with words and writes nothing.
    const std::vector<std::pair<std::string, std::string>> refused = {
        {"", "Failed to save: the main character's name is empty."},
        {std::string("Wr\0en", 5), "Failed to save: the main character's name holds a NUL byte."},
        {std::string(33, 'w'), "Failed to save: the main character's name of 33 bytes is longer than the 32 the name page takes."},
    };
    for (const auto& [name, reason] : refused) {
        Game().GetMainActor()->SetName(name);
        EXPECT_FALSE(m_app.SaveGame()) << name;
        ASSERT_FALSE(m_boxes.boxes.empty()) << name;
        EXPECT_EQ(m_boxes.boxes.back().first, "Save Error");
        EXPECT_EQ(m_boxes.boxes.back().second, reason);
        EXPECT_TRUE(!fs::exists(Saves()) || fs::is_empty(Saves())) << name;
    }
    m_app.PumpEngineEvents();
    for (const std::string& line : m_app.GetMessageLog()) EXPECT_EQ(line.find("Saved game"), std::string::npos) << line;
    Game().GetMainActor()->SetName("..\\../Wren");
    ASSERT_TRUE(m_app.SaveGame());
    EXPECT_TRUE(fs::exists(Saves() / ".._.._Wren.drav"));
    EXPECT_EQ(m_app.ListSavedGames()->m_items.at(0)->m_name, "..\\../Wren");
}

TEST_F(AppSaveTest, ADamagedQuickActionLineFillsTheSlotsAndTheGameStarts) {
    StartGame();
    ASSERT_TRUE(m_app.SaveGame());
    const std::string text = Bytes(SaveFile());
    const std::size_t bonus = text.find("<bonus>");
    ASSERT_NE(bonus, std::string::npos);
    const std::size_t quote = text.find('"', bonus);
    for (const char* line : {"\"2 10 attack 0 0 \"", "\"1 10 attack 0 0 fly 0 0 \"", "\"1 ten\""}) {
        std::string damaged = text;
        damaged.replace(quote, text.find('"', quote + 1) - quote + 1, line);
        m_folder.WriteFile("docs/Orvex Saved Games/Wren.drav", damaged);
        ASSERT_TRUE(m_app.LoadGame(SaveFile().string(), 1, false)) << line;
        ASSERT_EQ(m_app.GetQuickActionTable().size(), 1u) << line;
        const auto& record = *m_app.GetQuickActionTable().begin()->second;
        EXPECT_EQ(record.m_kind[0], 2);
        EXPECT_EQ(record.m_kind[2], 20);
        EXPECT_TRUE(m_app.IsGameRunning());
    }
    EXPECT_TRUE(m_boxes.boxes.empty());
}

TEST_F(AppSaveTest, LoadFailuresAreShownAndKeepTheGame) {
    StartGame();
    ASSERT_TRUE(m_app.SaveGame());
    std::string text = Bytes(SaveFile());
    text[text.find('5', text.find("Orvex"))] = '4';  // version 4 of our own module is obsolete
    const std::string old = m_folder.WriteFile("docs/old.drav", text);
    Game().SetGold(5);
    EXPECT_FALSE(m_app.LoadGame(old, 1, false));
    EXPECT_FALSE(m_app.LoadGame(m_folder / "docs/none.drav", 1, false));
    EXPECT_FALSE(m_app.LoadGame(SaveFile().string(), 7, false)) << "a chapter the table lacks";
    std::string word = Bytes(SaveFile());
    word.replace(word.find("reedwater_landing"), 17, std::string(65536, 'e'));
    EXPECT_FALSE(m_app.LoadGame(m_folder.WriteFile("docs/word.drav", word), 1, false));
    ASSERT_EQ(m_boxes.boxes.size(), 4u);
    // The box says why and shows a piece of the word, not the word.
    EXPECT_NE(m_boxes.boxes[3].second.find("a word of 65536 bytes is longer"), std::string::npos);
    EXPECT_LT(m_boxes.boxes[3].second.size(), 400u) << m_boxes.boxes[3].second.substr(0, 400);
    EXPECT_EQ(m_boxes.boxes[0].second, "Failed to load obsolete save file \"" + old + "\".");
    EXPECT_EQ(m_boxes.boxes[1].second, "Failed to load \"" + (m_folder / "docs/none.drav") + "\": No such file or directory.");
    for (const auto& box : m_boxes.boxes) EXPECT_EQ(box.first, "Load Error");
    EXPECT_EQ(Game().GetGold(), 5);
}

// No load could go on from a game whose party is in no area, however often its
// save is tried.
TEST_F(AppSaveTest, AGameBetweenAreasIsNotSavedAndTheSaveAndItsBackupStay) {
    StartGame();
    SaveTwice();
    const std::string save = Bytes(SaveFile()), backup = Bytes(SaveFile().string() + ".bak");
    Game().SetEntry({"reedwater_map", ""}, DRAV::AREA_LOAD_FRESH, "");
    Game().SetStateCode(DRAV::GAME_TRAVEL);
    m_app.GetEngine()->LeaveArea();
    ASSERT_EQ(Game().GetCurrentArea(), nullptr);
    for (int attempt = 1; attempt <= 2; ++attempt) {
        EXPECT_FALSE(m_app.SaveGame()) << attempt;
        ASSERT_EQ(m_boxes.boxes.size(), static_cast<std::size_t>(attempt));
        EXPECT_EQ(m_boxes.boxes.back(),
                  std::make_pair(std::string("Save Error"), "Failed to save \"" + SaveFile().string() +
                                                                "\": the party is between areas."));
        EXPECT_EQ(Bytes(SaveFile()), save) << attempt;
        EXPECT_EQ(Bytes(SaveFile().string() + ".bak"), backup) << attempt;
        EXPECT_FALSE(fs::exists(SaveFile().string() + ".new")) << attempt;
        EXPECT_EQ(m_app.GetSuspendCount(), 1) << attempt;
    }
}

// As an older build wrote one between two areas.
TEST_F(AppSaveTest, ASaveWithoutACurrentAreaIsALoadErrorThatKeepsTheGame) {
    StartGame();
    ASSERT_TRUE(m_app.SaveGame());
    std::string area;
    const std::string nowhere =
        m_folder.WriteFile("docs/nowhere.drav", QuillmereTest::WithoutCurrentArea(Bytes(SaveFile()), area));
    ASSERT_EQ(area, "reedwater_landing");
    Game().SetGold(5);
    const auto running = m_app.GetEngine()->GetGame();
    EXPECT_FALSE(m_app.LoadGame(nowhere, 1, false));
    ASSERT_EQ(m_boxes.boxes.size(), 1u);
    EXPECT_EQ(m_boxes.boxes[0],
              std::make_pair(std::string("Load Error"),
                             "Failed to load \"" + nowhere + "\": the saved game has no current area."));
    EXPECT_EQ(m_app.GetEngine()->GetGame(), running);
    EXPECT_EQ(Game().GetGold(), 5);
    EXPECT_TRUE(m_app.IsGameRunning());
}

// Where the main character stands: its area and cell.
std::string Whereabouts(DRAV::CGame& game) {
    const DRAV::CActor& main = *game.GetMainActor();
    if (!main.GetArea() || main.GetArea() != game.GetCurrentArea()) return "nowhere";
    return main.GetArea()->GetName() + " (" + std::to_string(static_cast<int>(main.GetX() / DRAV::kCellSize)) + " " +
           std::to_string(static_cast<int>(main.GetY() / DRAV::kCellSize)) + ")";
}

// An area that fails only as it is built: the party is back where it stood and
// play goes on. The save made on leaving holds the journey; loading it, or the
// ".bak" the next try leaves, fails the journey the same way and plays on, so no
// save written on the way is one that cannot be played.
TEST_F(AppSaveTest, AnAreaThatFailsToBuildSendsThePartyBackAndEverySaveStillPlays) {
    auto chapter = std::make_shared<QuillmereTest::OverlaySource>(QuillmereTest::SampleFolderSource());
    chapter->Add(DRAVCommon::DFK_CHAPTER, DRAVCommon::DFS_NONE, std::string(QuillmereTest::kUnbuildableAreaName) + ".drav",
                 QuillmereTest::kUnbuildableAreaText);
    chapter->Add(DRAVCommon::DFK_CHAPTER, DRAVCommon::DFS_NONE, "mill_map.drav",
                 "<map> mill_map \"reedwater_map.jpg\" \"reedwater_map_areas.png\" <areas>"
                 " <area> sunken_mill \"The Sunken Mill\" 60 60 30 30 true ( sunken_mill gate ) </area>"
                 " </areas> </map>");
    StartGame(chapter);
    const std::string stood = Whereabouts(Game());
    Game().SetEntry({QuillmereTest::kUnbuildableAreaName, "gate"}, DRAV::AREA_LOAD_FRESH, "");
    Game().SetStateCode(DRAV::GAME_TRAVEL);
    m_app.CheckPartyAndChangeArea();
    ASSERT_EQ(m_boxes.boxes.size(), 1u);
    EXPECT_EQ(m_boxes.boxes[0].first, "Area Load Error");
    EXPECT_NE(m_boxes.boxes[0].second.find(QuillmereTest::kUnbuildableAreaName), std::string::npos);
    ASSERT_TRUE(m_app.IsGameRunning());
    EXPECT_EQ(Game().GetStateCode(), DRAV::GAME_PLAYING);
    EXPECT_EQ(Whereabouts(Game()), stood);

    for (const std::string& file : {SaveFile().string(), SaveFile().string(), SaveFile().string() + ".bak"}) {
        m_boxes.boxes.clear();
        ASSERT_TRUE(m_app.LoadGame(file, 1, false)) << file;
        EXPECT_EQ(m_boxes.boxes.size(), 1u) << file;
        ASSERT_TRUE(m_app.IsGameRunning()) << file;
        EXPECT_EQ(Game().GetStateCode(), DRAV::GAME_PLAYING) << file;
        EXPECT_EQ(Whereabouts(Game()), stood) << file;
    }

    // Through a map the same: the party is back where it set out from.
    m_boxes.boxes.clear();
    Game().SetEntry({"mill_map", ""}, DRAV::AREA_LOAD_FRESH, "");
    Game().SetStateCode(DRAV::GAME_EXIT_AVAILABLE);
    const DRAV::CMap2* map = Game().FindAndLoadTempMap("mill_map", *m_app.GetEngine()->GetModule());
    m_app.TravelToArea(map->GetArea(QuillmereTest::kUnbuildableAreaName));
    ASSERT_EQ(m_boxes.boxes.size(), 1u);
    EXPECT_EQ(m_boxes.boxes[0].first, "Area Load Error");
    ASSERT_TRUE(m_app.IsGameRunning());
    EXPECT_EQ(Game().GetStateCode(), DRAV::GAME_PLAYING);
    EXPECT_EQ(Whereabouts(Game()), stood);
}

}  // namespace
