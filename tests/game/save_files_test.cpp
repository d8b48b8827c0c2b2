#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <optional>
#include <random>
#include <thread>

#include "common/processor_clock.h"
#include "game/load_info.h"
#include "game/save_files.h"
#include "platform/win32/file_path.h"
#include "rules/monsters/actor_names.h"
#include "support/sample_module.h"
#include "support/sample_save.h"
#include "support/temp_dir.h"
#include "world/save_head.h"

namespace {

namespace fs = std::filesystem;
const DRAV::CModuleVersionRange kRecord("Orvex", 5, 0);

void WriteWhole(const std::string& path, const std::string& text) {
    std::ofstream(Win32::NativePath(path), std::ios::binary) << text;
}

std::string Backslashed(std::string path) {
    for (char& c : path)
        if (c == '/') c = '\\';
    return path;
}

// State k of the changing game: gold k, tick k + 7, so that a loaded save shows
// which state it is and whether its parts belong together.
void SaveState(const QuillmereTest::SampleGame& game, const std::string& path, std::int32_t k) {
    game.Game().SetGold(k);
    game.Game().SetTick(static_cast<std::uint32_t>(k) + 7);
    ReplaceSaveFile(path, [&](const std::string& fresh) { game.Engine().SaveGame(fresh, kRecord, nullptr); });
}

// What a file loads as: the state k it holds, or -1 and why it holds none.
struct LoadedSave {
    std::int32_t state = -1;
    std::string fault;
};

LoadedSave LoadedState(DRAV::CEngine& loader, const std::string& path) {
    std::string bonus;
    try {
        loader.LoadGame(path, kRecord, bonus);
    } catch (const std::exception& failure) {
        return {-1, failure.what()};
    }
    const DRAV::CGame& game = *loader.GetGame();
    if (game.GetTick() != static_cast<std::uint32_t>(game.GetGold()) + 7)
        return {-1, "it loads gold " + std::to_string(game.GetGold()) + " with tick " + std::to_string(game.GetTick()) +
                        ", parts of two states"};
    return {game.GetGold(), ""};
}

// What the saving child tells its parent: the state it begins to save, or has
// saved and how long that took it (of the wall clock, as the kill is timed).
struct SaveNote {
    std::int32_t state = -1;
    bool done = false;
    std::int64_t micros = 0;
};

// The next note from the child, or none once its end of the pipe is closed.
std::optional<SaveNote> ReadNote(int from) {
    SaveNote note;
    return read(from, &note, sizeof note) == sizeof note ? std::optional(note) : std::nullopt;
}

// Saves states from `first` on for ever, telling `to` of each save's start and end.
// A failed save ends the child: unwound, it would run on as the parent and remove the folder.
[[noreturn]] void SaveAndTell(const QuillmereTest::SampleGame& game, const std::string& path, std::int32_t first,
                              int to) {
    for (std::int32_t k = first;; ++k) {
        SaveNote note{k, false, 0};
        if (write(to, &note, sizeof note) != sizeof note) _exit(3);
        const auto begun = std::chrono::steady_clock::now();
        try {
            SaveState(game, path, k);
        } catch (const std::exception& failure) {
            std::cerr << "the saving child failed to save state " << k << ": " << failure.what() << std::endl;
            _exit(4);
        }
        note = {k, true,
                std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - begun).count()};
        if (write(to, &note, sizeof note) != sizeof note) _exit(3);
    }
}

// Whether the save one kill left, and its backup if any, are states the child could have left.
void JudgeKill(DRAV::CEngine& loader, const std::string& path, int kill, std::int32_t lastDone,
               std::int32_t lastBegun, std::int32_t& newest) {
    ASSERT_TRUE(fs::exists(path)) << "the save vanished after kill " << kill;
    const LoadedSave save = LoadedState(loader, path);
    ASSERT_GE(save.state, 0) << "kill " << kill << " left a save that does not load: " << save.fault;
    ASSERT_GE(save.state, lastDone) << "kill " << kill << " lost a save the child had finished";
    ASSERT_LE(save.state, lastBegun) << "a state never saved";
    ASSERT_GE(save.state, newest) << "kill " << kill << " went back to an older save";
    newest = save.state;
    if (!fs::exists(path + ".bak")) return;
    const LoadedSave backup = LoadedState(loader, path + ".bak");
    ASSERT_GE(backup.state, 0) << "kill " << kill << " left a backup that does not load: " << backup.fault;
    EXPECT_LE(backup.state, save.state);
}

// Each child is killed at a random point of its own saves, timed from what it
// says: once a save of its own is complete, within twice that save's time after
// it begins the next. However slow the machine or the fork, a kill falls where the
// child has saved, and the save left must be one it began, no older than the last
// it finished.
TEST(SaveCrashSafety, AKilledSaveLeavesTheLastCompleteSaveOrTheNewOne) {
    const auto game = QuillmereTest::StartSampleGame();
    QuillmereTest::PlaySampleGame(game);
    const auto loader = QuillmereTest::StartSampleGame();
    QuillmereTest::TempDir dir;
    const std::string path = dir / "Wren.drav";

    std::mt19937 random(20261207);
    constexpr std::int32_t kStride = 1000000;
    constexpr int kKills = 200;
    int duringSave = 0, withNew = 0, withBackupPart = 0;
    std::int32_t newest = -1;
    for (int kill = 0; kill < kKills; ++kill) {
        int ends[2];
        ASSERT_EQ(pipe(ends), 0);
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            close(ends[0]);
            SaveAndTell(game, path, kill * kStride, ends[1]);
        }
        close(ends[1]);
        std::optional<SaveNote> note;
        std::int64_t cycle = -1;
        while (cycle < 0 && (note = ReadNote(ends[0])))
            if (note->done) cycle = note->micros;
        std::optional<SaveNote> next = ReadNote(ends[0]);
        ASSERT_TRUE(note && next) << "the saving child ended by itself at kill " << kill;
        std::this_thread::sleep_for(std::chrono::microseconds(
            std::uniform_int_distribution<std::int64_t>(0, 2 * std::max<std::int64_t>(cycle, 1))(random)));
        ::kill(child, SIGKILL);
        int status = 0;
        ASSERT_EQ(waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFSIGNALED(status)) << "the saving child ended by itself at kill " << kill << " with status "
                                         << WEXITSTATUS(status);
        std::int32_t lastDone = note->state, lastBegun = next->state;
        for (; next; next = ReadNote(ends[0])) (next->done ? lastDone : lastBegun) = next->state;
        close(ends[0]);
        duringSave += lastBegun > lastDone;

        withNew += fs::exists(path + ".new") || fs::exists(path + ".new.part");
        withBackupPart += fs::exists(path + ".bak.part");
        JudgeKill(loader.Engine(), path, kill, lastDone, lastBegun, newest);
        if (HasFailure()) {
            const std::string kept = dir.KeepCopy("save_crash_kept/kill-" + std::to_string(kill));
            ADD_FAILURE() << "the child had finished state " << lastDone << " and begun " << lastBegun
                          << "; the folder is kept at " << kept << ":\n" << dir.Listing();
            return;
        }
    }
    // The child is between saves only for the moment it takes to say so.
    EXPECT_GT(duringSave, kKills * 3 / 4);
    std::cout << "kills during a save: " << duringSave << " of " << kKills << ", during the write: " << withNew
              << ", during the backup copy: " << withBackupPart << "\n";
}

TEST(SaveFiles, AFailedWriteReplacesAndRotatesNothing) {
    QuillmereTest::TempDir dir;
    const std::string path = dir.WriteFile("Wren.drav", "first");
    dir.WriteFile("Wren.drav.bak", "older");
    EXPECT_THROW(ReplaceSaveFile(path,
                                 [](const std::string& fresh) {
                                     WriteWhole(fresh, "half");
                                     throw std::runtime_error("disk full");
                                 }),
                 CDRAVException);
    EXPECT_EQ(QuillmereTest::ReadTextFile(path), "first");
    EXPECT_EQ(QuillmereTest::ReadTextFile(path + ".bak"), "older");
    EXPECT_FALSE(fs::exists(path + ".new"));

    ReplaceSaveFile(path, [](const std::string& fresh) { WriteWhole(fresh, "second"); });
    EXPECT_EQ(QuillmereTest::ReadTextFile(path), "second");
    EXPECT_EQ(QuillmereTest::ReadTextFile(path + ".bak"), "first");
    EXPECT_FALSE(fs::exists(path + ".new"));
    EXPECT_FALSE(fs::exists(path + ".bak.part"));
}

TEST(SaveFiles, TheFirstSaveMakesNoBackupAndTheFolderComesFromTheDocuments) {
    QuillmereTest::TempDir dir;
    setenv("XDG_DOCUMENTS_DIR", (dir / "My Documents").c_str(), 1);
    const std::string folder = MakeSaveFolder("Orvex");
    EXPECT_EQ(folder, Backslashed(dir / "My Documents") + "\\Orvex Saved Games");
    EXPECT_TRUE(fs::is_directory(dir / "My Documents/Orvex Saved Games"));
    EXPECT_EQ(MakeSaveFolder("Orvex"), folder) << "an existing folder is accepted";
    const std::string path = folder + "\\Wren.drav";
    ReplaceSaveFile(path, [](const std::string& fresh) { WriteWhole(fresh, "one"); });
    EXPECT_TRUE(fs::exists(dir / "My Documents/Orvex Saved Games/Wren.drav"));
    EXPECT_FALSE(fs::exists(dir / "My Documents/Orvex Saved Games/Wren.drav.bak"));

    dir.WriteFile("plain", "a file where the folder belongs");
    setenv("XDG_DOCUMENTS_DIR", (dir / "plain").c_str(), 1);
    EXPECT_THROW(MakeSaveFolder("Orvex"), CDRAVException);
    unsetenv("XDG_DOCUMENTS_DIR");
}

TEST(SaveHeaders, OnlyReadableSavedGamesAreListedInFolderOrder) {
    const auto game = QuillmereTest::StartSampleGame();
    QuillmereTest::TempDir dir;
    const std::string folder = dir.Path().string();
    game.Engine().SaveGame(dir / "Wren.drav", kRecord, nullptr);
    game.Engine().SaveGame(dir / "Copy.DRAV", kRecord, nullptr);
    fs::copy_file(dir / "Wren.drav", dir / "Wren.drav.bak");
    fs::copy_file(dir / "Wren.drav", dir / "Wren.drav.new");
    dir.WriteFile("Hero.drav", "<actor> \"Hero\" </actor>");
    dir.WriteFile("Zero.drav", "<save> <version> 0 5 0 </version> 0 \"p\" \"Zero\" \"t\" </save>");
    dir.WriteFile("Old.drav", "<save> <version> 0 3 0 </version> ( 2\ntrue ) \"elsewhere\" \"Old\" \"Old (End of Chapter 2)\"");
    dir.WriteFile("Bad.drav", "<save> <version> Orvex 5 0 </version> ( one false ) \"p\" \"Bad\" \"t\" </save>");
    dir.WriteFile("Cut.drav", "<save> <version> Orvex 5 0 </version> ( 1 false ) \"p\" \"Cut");
    dir.WriteFile("Empty.drav", "");
    fs::create_directory(dir.Path() / "Folder.drav");
    // Each line at its bound, and each far past it, as no game writes it.
    const auto head = [&](const std::string& file, const std::string& name, std::size_t path, std::size_t title,
                          std::size_t ending) {
        dir.WriteFile(file, "<save> <version> Orvex 5 0 </version> ( 1 true ) \"" + std::string(path, 'p') + "\" \"" +
                                name + "\" \"" + std::string(title, 't') + "\" <ending> \"" + std::string(ending, 'e') +
                                "\" </ending> </save>");
    };
    head("Edge.drav", std::string(DRAV::kHeroNameLimit, 'E'), DRAV::kSavedPathLimit, DRAV::kSaveTitleLimit,
         DRAV::kExpandedTextLimit);
    head("Named.drav", std::string(DRAV::kHeroNameLimit + 1, 'N'), 1, 1, 1);
    head("Path.drav", "Path", 64 << 20, 1, 1);
    head("Title.drav", "Title", 1, 64 << 20, 1);
    head("Ending.drav", "Ending", 1, 1, 64 << 20);

    // A line far past its bound is left there, not read whole: the 64 MB ones cost little.
    const double started = DRAVCommon::ThreadProcessorSeconds();
    const std::shared_ptr<CLoadInfo> info = ListSaveFolder(folder);
    EXPECT_LT(DRAVCommon::ThreadProcessorSeconds() - started, 0.5);
    EXPECT_EQ(info->m_folder, folder);
    std::vector<std::string> names;
    for (const auto& item : info->m_items) names.push_back(item->m_name);
    std::vector<std::string> expected;
    for (const auto& entry : fs::directory_iterator(dir.Path())) {
        const std::string file = entry.path().filename().string();
        if (file == "Wren.drav" || file == "Copy.DRAV") expected.push_back("Wren");
        if (file == "Old.drav") expected.push_back("Old");
        if (file == "Edge.drav") expected.push_back(std::string(DRAV::kHeroNameLimit, 'E'));
    }
    EXPECT_EQ(names, expected) << "order of the folder; no created character, lone 0, damaged, companion or "
                                  "overlong file";
    for (const auto& item : info->m_items) {
        if (item->m_name[0] == 'E') {
            EXPECT_EQ(item->m_title.size(), DRAV::kSaveTitleLimit);
            EXPECT_EQ(item->m_ending.size(), DRAV::kExpandedTextLimit);
            continue;
        }
        if (item->m_name != "Old") {
            EXPECT_EQ(item->m_chapter, 1);
            EXPECT_FALSE(item->m_chapterCompleted);
            EXPECT_EQ(item->m_title, "Wren (Chapter 1, " + item->m_title.substr(item->m_title.find(", ") + 2));
            EXPECT_NE(item->m_title.find(" - "), std::string::npos) << "the area's name";
            continue;
        }
        EXPECT_EQ(item->m_path, folder + "\\Old.drav") << "listed under the name it has now";
        EXPECT_EQ(item->m_chapter, 2);
        EXPECT_TRUE(item->m_chapterCompleted);
        EXPECT_EQ(item->m_title, "Old (End of Chapter 2)");
    }
    EXPECT_TRUE(ListSaveFolder(dir / "missing")->m_items.empty());

    // An area whose name would make the title too long for the list is left out of it.
    const QuillmereTest::SampleGame far(QuillmereTest::EditedSampleSource(
        DRAVCommon::DFK_CHAPTER, "reedwater_landing.drav", "<area> \"Reedwater Landing\"",
        "<area> \"" + std::string(DRAV::kSaveTitleLimit, 'R') + "\""));
    QuillmereTest::TempDir farDir;
    far.Engine().SaveGame(farDir / "Wren.drav", kRecord, nullptr);
    ASSERT_EQ(ListSaveFolder(farDir.Path().string())->m_items.size(), 1u);
    EXPECT_EQ(ListSaveFolder(farDir.Path().string())->m_items[0]->m_title.find(" - "), std::string::npos);
}

}  // namespace
