#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "../game/app_test_access.h"
#include "driver.h"
#include "engine/engine.h"
#include "player_at_window.h"
#include "game/app.h"
#include "game/dialogs/dialog.h"
#include "game/dialogs/front/load_dlg.h"
#include "running_game_steps.h"
#include "support/save_text.h"
#include "world/area.h"
#include "world/game.h"

namespace {

using namespace QuillmereE2E;
using namespace QuillmereE2E::AtTheWindow;
namespace fs = std::filesystem;

// A new game of "Wren" in `chapter` begun from the front page as the creation
// pages would start it, its introduction and the tutorial's first page closed.
std::vector<Step> NewGameOfWren(int chapter = 1) {
    return {Check("start",
                  [chapter] {
                      const std::string intro = StartChapter(chapter);
                      GetApp().CloseDialog(1);
                      return GetApp().IsGameRunning() ? "running" : intro;
                  }),
            // The tutorial's welcome page, as the hero comes ashore, read and closed.
            Wait(300), Check("welcome", CurrentTitle), Key(SDL_SCANCODE_RETURN), Wait(100)};
}

// Past the splash to the front page, then a new game of "Wren".
std::vector<Step> InAGame(std::vector<Step> then) {
    std::vector<Step> steps{Wait(200), Move(500, 400), Click(500, 400), Wait(100)};
    Append(steps, NewGameOfWren());
    Append(steps, then);
    return steps;
}

// Area, gold and tick of the running game.
std::string Where() {
    if (!GetApp().IsGameRunning()) return "(no game)";
    std::ostringstream out;
    out << Game().GetCurrentArea()->GetName() << " gold " << Game().GetGold() << " tick " << Game().GetTick();
    return out.str();
}

std::string Slurp(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

TEST(SavedGames, MainMenuSavesAndTheLoadDialogResumesTheSameGame) {
    Driver driver;
    driver.SetHeadless(true);
    const fs::path saves = fs::path(driver.Home()) / "Documents" / "Orvex Saved Games";
    Observed run = driver.Execute(InAGame({
        Wait(500),
        Key(SDL_SCANCODE_RETURN),
        Check("menu", [] {
            Game().SetGold(77);
            return CurrentTitle();
        }),
        Check("saved", Where),
        ClickId(3),
        Wait(50),
        Check("after main menu", CurrentTitle),
        ClickId(2),
        Wait(50),
        Check("rows", [] {
            auto* load = dynamic_cast<CLoadDlg*>(GetApp().GetCurrentDialog().get());
            return load ? std::to_string(load->GetList()->m_items.size()) : std::string("no load dialog");
        }),
        ClickId(100),
        Check("loaded", Where),
        Key(SDL_SCANCODE_RETURN),
        ClickId(3),
        Wait(50),
        ClickId(2),
        Wait(50),
        ClickId(200),
        Wait(50),
        Check("question", CurrentTitle),
        Key(SDL_SCANCODE_Y),
        Wait(50),
        Check("after delete", [] {
            auto* load = dynamic_cast<CLoadDlg*>(GetApp().GetCurrentDialog().get());
            return load ? std::to_string(load->GetList()->m_items.size()) : std::string("no load dialog");
        }),
    }));
    EXPECT_TRUE(run.exited) << run.log;
    for (const Box& box : run.boxes) ADD_FAILURE() << box.caption << ": " << box.text;
    EXPECT_EQ(run.checks["start"], "running");
    EXPECT_EQ(run.checks["menu"], "Game Menu");
    EXPECT_NE(std::find(run.titles.begin(), run.titles.end(), "Quillmere - Game Menu"), run.titles.end());
    EXPECT_EQ(run.checks["after main menu"], "Welcome");
    EXPECT_EQ(run.checks["rows"], "1");
    EXPECT_EQ(run.checks["loaded"], run.checks["saved"]);
    EXPECT_NE(run.checks["loaded"].find("gold 77"), std::string::npos) << run.checks["loaded"];
    EXPECT_EQ(run.checks["question"], "Delete Game?");
    EXPECT_EQ(run.checks["after delete"], "0");
    EXPECT_FALSE(fs::exists(saves / "Wren.drav"));
    // The second save kept the first as its backup; nothing half-done is left.
    EXPECT_TRUE(fs::exists(saves / "Wren.drav.bak"));
    EXPECT_FALSE(fs::exists(saves / "Wren.drav.new"));
}

TEST(SavedGames, ASecondSaveKeepsTheFirstAsBackup) {
    Driver driver;
    driver.SetHeadless(true);
    const fs::path saves = fs::path(driver.Home()) / "Documents" / "Orvex Saved Games";
    Observed run = driver.Execute(InAGame({
        Check("first", [saves] {
            if (!GetApp().SaveGame()) return std::string("failed");
            return std::to_string(std::hash<std::string>()(Slurp(saves / "Wren.drav")));
        }),
        Check("second", [saves] {
            Game().SetGold(Game().GetGold() + 5);
            if (!GetApp().SaveGame()) return std::string("failed");
            if (fs::exists(saves / "Wren.drav.new")) return std::string("a .new remains");
            return std::to_string(std::hash<std::string>()(Slurp(saves / "Wren.drav.bak")));
        }),
    }));
    EXPECT_TRUE(run.exited) << run.log;
    EXPECT_NE(run.checks["first"], "failed");
    EXPECT_EQ(run.checks["second"], run.checks["first"]) << "the backup is the first save, byte for byte";
    // Closing the window saved once more, so the backup is the second save now.
    EXPECT_TRUE(Slurp(saves / "Wren.drav.bak") == Slurp(saves / "Wren.drav"));
    EXPECT_FALSE(fs::exists(saves / "Wren.drav.new"));
}

TEST(SavedGames, VolumeDifficultyAndTheExitQuestion) {
    Driver driver;
    driver.SetHeadless(true);
    const fs::path saves = fs::path(driver.Home()) / "Documents" / "Orvex Saved Games";
    Observed run = driver.Execute(InAGame({
        Key(SDL_SCANCODE_V),
        Check("volume", CurrentTitle),
        ClickId(130),
        Key(SDL_SCANCODE_RETURN),
        ClickId(9),
        Check("difficulty", CurrentTitle),
        ClickId(102),
        Check("log", [] {
            const auto& log = GetApp().GetMessageLog();
            return log.empty() ? std::string() : log.back();
        }),
        Check("saved", [] { return GetApp().SaveGame() ? "saved" : "failed"; }),
        Check("at the exit", [] {
            // The party at the landing's path to the marsh, as a walk there ends.
            Game().SetEntry({"reed_marsh", "landing"}, DRAV::AREA_LOAD_FRESH, "the reed marsh");
            Game().SetAvailableExitName("marsh_path");
            Game().SetStateCode(DRAV::GAME_EXIT_AVAILABLE);
            return Where();
        }),
        Key(SDL_SCANCODE_X),
        Check("question", CurrentTitle),
        Key(SDL_SCANCODE_N),
        Check("stayed", Where),
        Key(SDL_SCANCODE_X),
        Key(SDL_SCANCODE_Y),
        Wait(50),
        Check("moved", Where),
    }));
    EXPECT_TRUE(run.exited) << run.log;
    for (const Box& box : run.boxes) ADD_FAILURE() << box.caption << ": " << box.text;
    EXPECT_EQ(run.checks["volume"], "Volume");
    EXPECT_EQ(run.checks["difficulty"], "Difficulty Level");
    EXPECT_EQ(run.checks["log"], "Setting difficulty level to Easy.");
    const std::string save = Slurp(saves / "Wren.drav");
    EXPECT_NE(save.find("<difficulty>\n  easy"), std::string::npos);
    EXPECT_EQ(run.checks["question"], "Exit?");
    EXPECT_NE(std::find(run.titles.begin(), run.titles.end(), "Quillmere - Exit?"), run.titles.end());
    EXPECT_EQ(run.checks["stayed"], run.checks["at the exit"]);
    EXPECT_EQ(run.checks["moved"].rfind("reed_marsh", 0), 0u) << run.checks["moved"];

    std::ifstream registry(fs::path(driver.Home()) / ".config" / "quillmere" / "registry.txt");
    std::ostringstream values;
    values << registry.rdbuf();
    EXPECT_NE(values.str().find("Volume = dword:30"), std::string::npos) << values.str();
    Observed again = driver.Execute({Wait(200), Check("volume", [] {
                                         return std::to_string(GetApp().GetAudio()->GetVolume());
                                     })});
    EXPECT_EQ(again.checks["volume"], "30") << "a restart reads the stored volume";
}

// Every line and box about a save names the save file itself as this system
// writes paths, never its ".new" copy; a failure says why.
// An exit to an area the chapter lacks, taken at the window: the box says so, the
// party stays where it stands and plays on, and neither the save nor its ".bak"
// is written over. (The steps run in the program's own process.)
TEST(SavedGames, AnExitToAnAreaTheChapterLacksKeepsThePartyAndTheSaves) {
    Driver driver;
    driver.SetHeadless(true);
    const fs::path saves = fs::path(driver.Home()) / "Documents" / "Orvex Saved Games";
    std::string save, backup;
    const auto spot = [] {
        if (!GetApp().IsGameRunning()) return std::string("(no game)");
        const DRAV::CActor& main = *Game().GetMainActor();
        return Game().GetCurrentArea()->GetName() + " cell " + std::to_string(static_cast<int>(main.GetX() / 2.5)) +
               " " + std::to_string(static_cast<int>(main.GetY() / 2.5)) + " state " +
               std::to_string(Game().GetStateCode());
    };
    Observed run = driver.Execute(InAGame({
        Check("saved", [&] {
            const bool saved = GetApp().SaveGame() && GetApp().SaveGame();
            save = Slurp(saves / "Wren.drav");
            backup = Slurp(saves / "Wren.drav.bak");
            return saved ? "saved" : "failed";
        }),
        Check("before", [&] {
            const std::string before = spot();
            Game().SetEntry({"reed_marshes", "landing"}, DRAV::AREA_LOAD_FRESH, "the reed marshes");
            Game().SetAvailableExitName("marsh_path");
            Game().SetStateCode(DRAV::GAME_EXIT_AVAILABLE);
            return before;
        }),
        Key(SDL_SCANCODE_X),
        Key(SDL_SCANCODE_Y),
        Wait(100),
        Check("after", spot),
        // Read in the program, before it saves on its way out.
        Check("saves", [&] {
            const bool kept = Slurp(saves / "Wren.drav") == save && Slurp(saves / "Wren.drav.bak") == backup;
            return kept ? "as they were" : "written over";
        }),
    }));
    EXPECT_TRUE(run.exited) << run.log;
    EXPECT_EQ(run.checks["saved"], "saved");
    ASSERT_EQ(run.boxes.size(), 1u);
    EXPECT_EQ(run.boxes[0].caption, "Area Load Error");
    EXPECT_NE(run.boxes[0].text.find("\"reed_marshes\""), std::string::npos) << run.boxes[0].text;
    EXPECT_EQ(run.checks["before"].rfind("reedwater_landing cell ", 0), 0u) << run.checks["before"];
    EXPECT_EQ(run.checks["after"], run.checks["before"]);
    EXPECT_EQ(run.checks["saves"], "as they were");
}

TEST(SavedGames, MessagesNameEverySaveAndFailuresSayWhy) {
    Driver driver;
    driver.SetHeadless(true);
    const std::string saves = driver.Home() + "/Documents/Orvex Saved Games";
    const auto savedLines = [] {
        GetApp().PumpEngineEvents();
        std::string lines;
        for (const std::string& line : GetApp().GetMessageLog())
            if (line.rfind("Saved game: ", 0) == 0 || line.rfind("Loaded game: ", 0) == 0) lines += line + "|";
        return lines;
    };
    Observed run = driver.Execute(InAGame({
        Check("menu save", [&] {
            GetApp().SaveGame();
            return savedLines();
        }),
        Check("area change", [&] {
            Game().SetEntry({"reed_marsh", "landing"}, DRAV::AREA_LOAD_FRESH, "the reed marsh");
            Game().SetAvailableExitName("marsh_path");
            Game().SetStateCode(DRAV::GAME_EXIT_AVAILABLE);
            return std::string();
        }),
        Key(SDL_SCANCODE_X),
        Key(SDL_SCANCODE_Y),
        Wait(50),
        Check("after the change", savedLines),
        Check("load", [&] {
            std::string windowsPath = saves + "/Wren.drav";
            std::replace(windowsPath.begin(), windowsPath.end(), '/', '\\');
            GetApp().LoadGame(windowsPath, 1, false);
            return savedLines();
        }),
        Check("failed save", [&] {
            fs::create_directory(saves + "/Wren.drav.new");
            return GetApp().SaveGame() ? "saved" : "failed";
        }),
        Check("failed load", [&] { return GetApp().LoadGame(saves + "/Gone.drav", 1, false) ? "loaded" : "failed"; }),
        Check("end", [&] {
            fs::remove(saves + "/Wren.drav.new");
            return "";
        }),
    }));
    EXPECT_TRUE(run.exited) << run.log;
    const std::string save = saves + "/Wren.drav";
    // The log names the save, not its folder, each time: the change of area saved again.
    EXPECT_EQ(run.checks["menu save"], "Saved game: Wren|");
    EXPECT_EQ(run.checks["after the change"], "Saved game: Wren|Saved game: Wren|");
    const std::string& load = run.checks["load"];
    EXPECT_EQ(load.substr(load.rfind("|Loaded") + 1), "Loaded game: Wren|") << load;
    EXPECT_EQ(run.checks["failed save"], "failed");
    EXPECT_EQ(run.checks["failed load"], "failed");
    ASSERT_EQ(run.boxes.size(), 2u);
    EXPECT_EQ(run.boxes[0].caption, "Save Error");
    EXPECT_EQ(run.boxes[0].text, "Failed to save \"" + save + "\": Is a directory.");
    EXPECT_EQ(run.boxes[1].caption, "Load Error");
    EXPECT_EQ(run.boxes[1].text, "Failed to load \"" + saves + "/Gone.drav\": No such file or directory.");
}

// An older build saved a game caught between two areas; a new game of the second
// chapter is begun from the front page it leads back to.
TEST(SavedGames, ASaveWithoutAnAreaIsRefusedAndANewGameStillRuns) {
    Driver driver;
    const fs::path saves = fs::path(driver.Home()) / "Documents" / "Orvex Saved Games";
    std::vector<Step> steps = InAGame({
        Key(SDL_SCANCODE_RETURN),
        ClickId(3),  // Main Menu, which saves
        Wait(100),
        Check("broken", [saves] {
            std::string area;
            const std::string text = QuillmereTest::WithoutCurrentArea(Slurp(saves / "Wren.drav"), area);
            std::ofstream(saves / "Wren.drav", std::ios::binary | std::ios::trunc) << text;
            return area;
        }),
        ClickId(2),  // Load Existing Game
        Wait(100),
        ClickId(100),
        Wait(300),
        Check("refused", CurrentTitle),
        Screenshot("front page"),
    });
    Append(steps, NewGameOfWren(2));
    Append(steps, ClockRuns("clock", 1000));
    Append(steps, {Check("area", Where), Screenshot("new game")});
    Observed run = driver.Execute(steps);
    EXPECT_TRUE(run.exited) << run.log;
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.checks["broken"], "reedwater_landing");
    ASSERT_EQ(run.boxes.size(), 1u);
    EXPECT_EQ(run.boxes[0].caption, "Load Error");
    EXPECT_EQ(run.boxes[0].text.rfind("Failed to load \"" + (saves / "Wren.drav").string() + "\": ", 0), 0u)
        << run.boxes[0].text;
    EXPECT_EQ(run.checks["refused"], "Welcome");
    EXPECT_GT(run.shots["front page"].lit, 0.05);
    EXPECT_EQ(run.checks["start"], "running");
    EXPECT_EQ(run.checks["clock"], "runs");
    EXPECT_EQ(run.checks["area"].rfind("ashcombe_weir", 0), 0u) << run.checks["area"];
    EXPECT_GT(run.shots["new game"].lit, 0.2) << "the weir is drawn";
}

// The state a loaded game opens in, as the player finds it: the clock, the member
// chosen, and what the hero is doing.
std::string Opened() {
    if (!App().IsGameRunning()) return "(no game)";
    std::string state = App().IsPaused() || App().GetSuspendCount() != 0 ? "held" : "running";
    const std::uint32_t chosen = App().GetSelectedMember();
    state += chosen == CDRAVApp::kWholeParty ? ", the whole party" : ", " + TheGame().GetParty().at(chosen)->GetName();
    const auto order = Hero().GetCurrentOrder();
    const DRAV::CActor* target = order ? TheArea()->FindActor(order->GetThingId()) : nullptr;
    state += order ? " under order " + std::to_string(order->GetType()) + " on " + (target ? target->GetName() : "?")
                   : " under no order";
    const DRAV::CActor* struck = Hero().GetAttackTarget();
    return state + ", striking " + (struck ? struck->GetName() : "nobody");
}

// The hero's blows in the message log since the game was loaded.
std::string BlowsSinceTheLoad() {
    const auto& log = App().GetMessageLog();
    std::size_t from = log.size();
    while (from > 0 && log[from - 1].rfind("Loaded game: ", 0) != 0) --from;
    int blows = 0;
    for (std::size_t i = from; i < log.size(); ++i)
        blows += log[i].rfind("Wren hits ", 0) == 0 || log[i].rfind("Wren misses ", 0) == 0;
    return std::to_string(blows);
}

// Past the splash, "Load Existing Game", the first row; the game as it opens, and
// the hero's blows in the five seconds after.
std::vector<Step> LoadTheFirstRow(const std::string& name) {
    return {ClickId(2), Wait(100), ClickId(100), Wait(50), Check(name, Opened), Wait(5000),
            Check(name + " blows", BlowsSinceTheLoad)};
}

// The hero and a companion stand on the landing, the hero chosen; a click sends her
// at a goblin beside her, and the game is saved through the menu's Main Menu in the
// middle of the fight. Loaded from the front page, and again after the program is
// started anew, the game opens the same way both times: running, the hero chosen,
// her order and her foe as they were, and she fights on.
TEST(SavedGames, AFightSavedMidwayGoesOnLoadedFromTheFrontPageOrAfterARestart) {
    Driver driver;
    const fs::path save = fs::path(driver.Home()) / "Documents" / "Orvex Saved Games" / "Wren.drav";
    const fs::path kept = save.string() + ".mid-fight";
    const auto goblin = [] { return static_cast<DRAV::CThing*>(NearestFoe()); };
    std::vector<Step> steps = InAGame({
        Check("scene", [] {
            ClearTheLane();
            DRAV::CArea& area = *TheArea();
            const DRAV::CModule& module = *App().GetEngine()->GetModule();
            const auto column = static_cast<std::uint32_t>(Hero().GetX() / kCell);
            const auto row = static_cast<std::uint32_t>(Hero().GetY() / kCell);
            auto foe = area.CreateEncounterActor("reed_goblin", "", 0, module);
            auto witch = area.CreateEncounterActor("reed_witch", "", 0, module);
            if (!area.PlaceActor(column + 2, row + 1, false, foe) || !area.PlaceActor(column - 2, row, false, witch))
                return std::string("no room");
            foe->SetRelation(DRAV::RELATION_HOSTILE);
            foe->SetMaxHitPoints(500);
            Hero().SetMaxHitPoints(500);
            TheGame().AddPartyMember(witch);
            return foe->GetName() + ", " + witch->GetName();
        }),
        Wait(100),
        Key(SDL_SCANCODE_1),
        ClickOn("the goblin", goblin),
        WaitUntil("her first blow", [] { return std::stoi(BlowsSinceTheLoad()) > 0; }, 10000),
        Check("saved", Opened),
        Key(SDL_SCANCODE_RETURN),
        ClickId(3),  // Main Menu, which saves
        Wait(100),
        Check("front page", [=] {
            // The program saves again as it closes: the restart loads this save.
            fs::copy_file(save, kept, fs::copy_options::overwrite_existing);
            return CurrentTitle();
        }),
    });
    Append(steps, LoadTheFirstRow("loaded"));
    Observed run = driver.Execute(steps);
    EXPECT_TRUE(run.exited) << run.log;
    for (const Box& box : run.boxes) ADD_FAILURE() << box.caption << ": " << box.text;
    ASSERT_EQ(run.checks.count("problem"), 0u) << run.checks["problem"];
    EXPECT_EQ(run.checks["saved"].rfind("running, Wren under order 2 on Reed Goblin, striking ", 0), 0u)
        << run.checks["saved"];
    EXPECT_EQ(run.checks["front page"], "Welcome");
    EXPECT_EQ(run.checks["loaded"], run.checks["saved"]);
    EXPECT_GE(std::stoi(run.checks["loaded blows"]), 1);

    fs::copy_file(kept, save, fs::copy_options::overwrite_existing);
    std::vector<Step> again{Wait(200), Move(500, 400), Click(500, 400), Wait(100)};
    Append(again, LoadTheFirstRow("restarted"));
    Observed restarted = driver.Execute(again);
    EXPECT_TRUE(restarted.exited) << restarted.log;
    for (const Box& box : restarted.boxes) ADD_FAILURE() << box.caption << ": " << box.text;
    EXPECT_EQ(restarted.checks["restarted"], run.checks["saved"]);
    EXPECT_GE(std::stoi(restarted.checks["restarted blows"]), 1);
}

}  // namespace
