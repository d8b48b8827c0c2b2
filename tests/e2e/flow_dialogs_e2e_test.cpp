#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>

#include "../game/app_test_access.h"
#include "driver.h"
#include "engine/engine.h"
#include "running_game_steps.h"
#include "game/app.h"
#include "game/dialogs/dialog.h"
#include "game/dialogs/chapter_end/win_dlg.h"
#include "game/dialogs/maps/world_map_dlg.h"
#include "graphics/graphics_map_manager.h"
#include "platform/win32/file_path.h"
#include "rules/definitions/travel_map.h"
#include "ui/ui_button.h"
#include "ui/ui_group.h"
#include "ui/ui_world_map.h"
#include "world/actor.h"
#include "world/area.h"
#include "world/game.h"
#include "world/object.h"
#include "world/order.h"

namespace {

using namespace QuillmereE2E;

// Chapter 1 begins as after the creation pages; the landing's people and the
// goblins in the reeds are sent away so that nothing interrupts the dialogs.
std::string BeginCalmGame() {
    const std::string title = StartTheChapter();
    CalmTheLanding();
    return title;
}

// Past the splash, the introduction and the tutorial's welcome into a game where
// nothing stirs: where every scenario here begins.
std::vector<Step> InACalmGame(std::initializer_list<Step> then) {
    std::vector<Step> steps = {Wait(200), Key(SDL_SCANCODE_SPACE), Wait(100), Check("start", BeginCalmGame), Wait(200)};
    Append(steps, PastTheIntroAndWelcome());
    steps.insert(steps.end(), then);
    return steps;
}

std::string WorldMapMode() {
    auto* map = dynamic_cast<CDRAVWorldMapDlg*>(GetApp().GetCurrentDialog().get());
    return map ? (map->IsTravel() ? "travel" : "view") : "(none)";
}

TEST(FlowDialogs, TheAreaMapLeadsToTheWorldMapAndTheHelpChainEndsOnItsLastPage) {
    Driver driver;
    std::vector<Step> steps = InACalmGame({
        Key(SDL_SCANCODE_M),
        Wait(200),
        Check("map", CurrentTitle),
        ClickId(2),
        Wait(200),
        Check("world", CurrentTitle),
        Check("world mode", WorldMapMode),
        Key(SDL_SCANCODE_ESCAPE),
        Wait(100),
        Key(SDL_SCANCODE_SLASH),
        Wait(200),
        Check("help", CurrentTitle),
    });
    for (int click = 0; click < 7; ++click) {
        steps.push_back(ClickId(7));
        steps.push_back(Wait(150));
    }
    steps.push_back(Check("help end", CurrentTitle));
    steps.push_back(ClickId(7));
    steps.push_back(Wait(150));
    steps.push_back(Check("after end", CurrentTitle));

    Observed run = driver.Execute(steps);
    EXPECT_TRUE(run.exited) << run.log;
    EXPECT_TRUE(run.log.empty()) << run.log;
    EXPECT_EQ(run.checks["map"], "Reedwater Landing - Map");
    EXPECT_EQ(run.checks["world"], "World Map");
    EXPECT_EQ(run.checks["world mode"], "view");
    EXPECT_EQ(run.checks["help"], "Help - Actors");
    EXPECT_EQ(run.checks["help end"], "Help - Help End");
    EXPECT_EQ(run.checks["after end"], "(none)");
    EXPECT_NE(std::find(run.titles.begin(), run.titles.end(), "Quillmere - Help - Help End"), run.titles.end());
}

template <typename Wanted, typename Children>
Wanted* FindWidget(const Children& children) {
    for (const auto& element : children) {
        if (auto* wanted = dynamic_cast<Wanted*>(element.get())) return wanted;
        if (auto* group = dynamic_cast<DRAVUI::CUIGroup*>(element.get()))
            if (auto* found = FindWidget<Wanted>(group->GetChildren())) return found;
    }
    return nullptr;
}

std::string ButtonLabels() {
    std::string labels;
    std::function<void(const std::vector<std::shared_ptr<DRAVUI::CUIElement>>&)> collect =
        [&](const auto& children) {
            for (const auto& element : children) {
                if (auto* button = dynamic_cast<DRAVUI::CUITextButton*>(element.get()))
                    labels += button->m_label + ";";
                if (auto* group = dynamic_cast<DRAVUI::CUIGroup*>(element.get())) collect(group->GetChildren());
            }
        };
    collect(GetApp().GetUIManager().GetElements());
    return labels;
}

// The middle of a location on the open world map, in UI units.
std::function<std::string()> Location(const std::string& key) {
    return [key]() -> std::string {
        auto* dialog = dynamic_cast<CDRAVWorldMapDlg*>(GetApp().GetCurrentDialog().get());
        auto* map = FindWidget<DRAVUI::CUIWorldMap>(GetApp().GetUIManager().GetElements());
        if (!dialog || !map) return "no world map";
        const DRAV::CMap2Area& location = dialog->GetMap().GetArea(key);
        const DRAVGraph::MapView view = map->GetManager().ComputeView(*map->GetRect());
        const float x = view.screenCentreX + (location.GetX() + location.GetWidth() / 2 - view.mapCentreX) * view.scale;
        const float y = view.screenCentreY + (location.GetY() + location.GetHeight() / 2 - view.mapCentreY) * view.scale;
        return std::to_string(static_cast<int>(x)) + " " + std::to_string(static_cast<int>(y));
    };
}

std::string WhereThePartyIs() {
    const DRAV::CArea* area = GetApp().GetEngine()->GetGame()->GetCurrentArea();
    return area ? area->GetName() : "nowhere";
}

std::string SavedGames() {
    return std::filesystem::exists(Win32::NativePath(GetApp().GetSaveFileName())) ? "saved" : "no save";
}

TEST(FlowDialogs, TheRiverRoadLeadsThroughTheWorldMapToARevealedPlace) {
    Driver driver;
    Observed run = driver.Execute(InACalmGame({
        Check("to the road", [] {
            // Wren steps into the boathouse, within reach of the river road.
            DRAV::CArea& area = *GetApp().GetEngine()->GetGame()->GetCurrentArea();
            auto main = area.RemoveActor(*GetApp().GetEngine()->GetGame()->GetMainActor());
            return area.PlaceActor(13, 9, false, main) ? "placed" : "blocked";
        }),
        Wait(300),
        Key(SDL_SCANCODE_X),
        Wait(200),
        Check("map", CurrentTitle),
        Check("mode", WorldMapMode),
        Check("buttons", ButtonLabels),
        PointAt(Location("reedwater_landing"), false),
        Wait(50),
        Check("hover", [] {
            auto* map = FindWidget<DRAVUI::CUIWorldMap>(GetApp().GetUIManager().GetElements());
            return map ? map->GetInfo().text : "no world map";
        }),
        PointAt(Location("reedwater_landing"), true),
        Wait(200),
        Check("stayed", [] { return CurrentTitle() + " in " + WhereThePartyIs(); }),
        Check("save before", SavedGames),
        Check("reveal", [] {
            // What the heron's riddle answer does.
            GetApp().GetEngine()->GetGame()->RevealArea("reed_marsh");
            return "revealed";
        }),
        Key(SDL_SCANCODE_X),
        Wait(200),
        Check("again", CurrentTitle),
        PointAt(Location("reed_marsh"), true),
        Wait(500),
        Check("travelled", [] { return CurrentTitle() + " in " + WhereThePartyIs(); }),
        Check("save after", SavedGames),
    }));
    EXPECT_TRUE(run.exited) << run.log;
    EXPECT_TRUE(run.log.empty()) << run.log;
    EXPECT_TRUE(run.boxes.empty()) << run.boxes.front().caption << ": " << run.boxes.front().text;
    EXPECT_EQ(run.checks["to the road"], "placed");
    EXPECT_EQ(run.checks["map"], "World Map");
    EXPECT_EQ(run.checks["mode"], "travel");
    EXPECT_EQ(run.checks["buttons"], "Cancel;");
    EXPECT_EQ(run.checks["hover"], "(current area)");
    EXPECT_EQ(run.checks["stayed"], "(none) in reedwater_landing");
    EXPECT_EQ(run.checks["save before"], "no save");
    EXPECT_EQ(run.checks["again"], "World Map");
    EXPECT_EQ(run.checks["travelled"], "(none) in reed_marsh");
    EXPECT_EQ(run.checks["save after"], "saved") << "the party is saved as it leaves";
    EXPECT_NE(std::find(run.titles.begin(), run.titles.end(), "Quillmere - The Reed Marsh"), run.titles.end());
}

// Wren stands beside the stone heron and speaks to it.
std::string TalkToTheHeron() {
    DRAV::CGame& game = *GetApp().GetEngine()->GetGame();
    DRAV::CObject* heron = nullptr;
    for (const auto& object : game.GetCurrentArea()->GetObjects())
        if (object->GetName() == "Heron Statue") heron = object.get();
    if (!heron) return "no heron";
    const auto wren = game.GetMainActor();
    wren->FinalizeMove(heron->GetX(), heron->GetY() - 1.5);
    wren->PushOrder(std::make_shared<DRAV::CUseOrder>(DRAV::USE_OBJECT, heron->GetId(), 0), true);
    return "talking";
}

// The welcome page comes as the hero steps ashore; switched off there, the
// tutorial shows no further page, not even the heron's.
TEST(FlowDialogs, TheWelcomePageShowsOnArrivalAndNoPageFollowsOnceTheTutorialIsOff) {
    Driver driver;
    Observed run = driver.Execute({
        Wait(200),
        Key(SDL_SCANCODE_SPACE),
        Wait(100),
        Check("start", BeginCalmGame),
        Wait(200),
        Key(SDL_SCANCODE_RETURN),
        Wait(300),
        Check("tutorial", CurrentTitle),
        ClickId(8),  // Disable Tutorial
        Wait(200),
        Check("after disabling", CurrentTitle),
        Check("heron", TalkToTheHeron),
        Wait(1000),
        Check("talk", CurrentTitle),
        Key(SDL_SCANCODE_1),  // the river's past, which carries the inspecting page
        Wait(300),
        Check("second", CurrentTitle),
    });
    EXPECT_TRUE(run.exited) << run.log;
    EXPECT_TRUE(run.log.empty()) << run.log;
    EXPECT_EQ(run.checks["tutorial"], "Help - Tutorial - Welcome");
    EXPECT_EQ(run.checks["after disabling"], "(none)");
    EXPECT_EQ(run.checks["heron"], "talking");
    EXPECT_EQ(run.checks["talk"], "Wren : Heron Statue");
    EXPECT_EQ(run.checks["second"], "Wren : Heron Statue") << "no tutorial page once disabled";
    EXPECT_EQ(std::count_if(run.titles.begin(), run.titles.end(),
                            [](const std::string& title) { return title.find("Help - Tutorial") != std::string::npos; }),
              1);
}

TEST(FlowDialogs, AWipedOutPartyIsToldOnceMayLowerTheDifficultyAndComesBackAlive) {
    Driver driver;
    Observed run = driver.Execute(InACalmGame({
        Check("fall", [] {
            GetApp().GetEngine()->GetGame()->GetMainActor()->SetActionState(DRAV::ACTION_DEAD);
            return "fallen";
        }),
        Wait(300),
        Check("told", CurrentTitle),
        ClickId(1),
        Wait(200),
        Check("difficulty", CurrentTitle),
        ClickId(102),  // Easy
        Wait(300),
        Check("after", CurrentTitle),
        Check("log", [] {
            const auto& log = GetApp().GetMessageLog();
            return std::find(log.begin(), log.end(), "Setting difficulty level to Easy.") != log.end() ? "logged"
                                                                                                       : "missing";
        }),
        Check("alive", [] {
            const DRAV::CGame& game = *GetApp().GetEngine()->GetGame();
            const auto main = game.GetMainActor();
            const bool alive = main->GetActionState() != DRAV::ACTION_DEAD;
            const DRAV::CArea* area = game.GetCurrentArea();
            return std::string(alive ? "alive" : "dead") + " in " + (area ? area->GetName() : "nowhere");
        }),
    }));
    EXPECT_TRUE(run.exited) << run.log;
    EXPECT_TRUE(run.log.empty()) << run.log;
    EXPECT_EQ(run.checks["told"], "Party Dead");
    EXPECT_EQ(run.checks["difficulty"], "Difficulty Level");
    EXPECT_EQ(run.checks["after"], "(none)");
    EXPECT_EQ(run.checks["log"], "logged");
    EXPECT_EQ(run.checks["alive"], "alive in reedwater_landing") << "back at the landing's dock";
}

// The party is carried back to the dock while the difficulty page opens over the
// game: the page is drawn again once the area's graphics are back, with the mouse
// left where it clicked and the clock held by the page.
TEST(FlowDialogs, TheDifficultyPageAfterAWipeIsDrawnWithoutAMouseMove) {
    Driver driver;
    driver.SetHeadless(true);
    Observed run = driver.Execute(InACalmGame({
        Check("fall", [] {
            Game().GetMainActor()->SetActionState(DRAV::ACTION_DEAD);
            return "fallen";
        }),
        Wait(300),
        Check("told", CurrentTitle),
        ClickId(1),  // Difficulty Level
        Wait(1000),
        Check("difficulty", CurrentTitle),
    }));
    EXPECT_TRUE(run.exited) << run.log;
    EXPECT_EQ(run.checks["told"], "Party Dead");
    EXPECT_EQ(run.checks["difficulty"], "Difficulty Level");
    const std::size_t told = run.framesBeforeCheck["told"], shown = run.framesBeforeCheck["difficulty"];
    ASSERT_GT(shown, told) << "the change of area paints at least once";
    EXPECT_GT(run.frameDraws[shown - 1], 0) << "the last frame before the page is checked shows it, not black";
}

std::string WinPages() {
    auto* page = dynamic_cast<CWinDlg*>(GetApp().GetCurrentDialog().get());
    if (!page) return CurrentTitle();
    std::string pictures;
    for (const WinPage& each : page->GetPages()) pictures += each.picture + " ";
    return page->GetTitle() + ": " + pictures;
}

TEST(FlowDialogs, TheChapterEndsOnItsPagesAndPlayNextChapterOpensTheNextIntroduction) {
    Driver driver;
    Observed run = driver.Execute(InACalmGame({
        WinTheChapter(),
        Wait(300),
        Check("first", WinPages),
        ClickId(CWinDlg::kNext),
        Wait(150),
        Check("second", WinPages),
        ClickId(CWinDlg::kNext),
        Wait(150),
        Check("closing", WinPages),
        ClickId(CWinDlg::kNextChapter),
        Wait(500),
        Check("next", CurrentTitle),
    }));
    EXPECT_TRUE(run.exited) << run.log;
    EXPECT_TRUE(run.log.empty()) << run.log;
    EXPECT_TRUE(run.boxes.empty()) << run.boxes.front().caption << ": " << run.boxes.front().text;
    EXPECT_EQ(run.checks["first"], "Congratulations!: win1_ferry.jpg win1_marsh.jpg chapter.jpg ");
    EXPECT_EQ(run.checks["second"], "Congratulations!: win1_marsh.jpg chapter.jpg ");
    EXPECT_EQ(run.checks["closing"], "Congratulations!: chapter.jpg ");
    EXPECT_EQ(run.checks["next"], "The Weir at Ashcombe") << "chapter 2's introduction";
}

// Ashcombe, the last chapter, won: its closing page offers no next chapter, and
// Exit leads to the front page, which shows the two chapters.
TEST(FlowDialogs, TheLastChapterEndsWithoutANextChapterAndExitLeadsToTheFrontPage) {
    Driver driver;
    std::vector<Step> steps = InACalmGame({WinTheChapter(), Wait(300)});
    for (int page = 0; page < 2; ++page) Append(steps, {ClickId(CWinDlg::kNext), Wait(150)});
    Append(steps, {ClickId(CWinDlg::kNextChapter), Wait(500), Check("next", CurrentTitle)});
    Append(steps, PastTheIntroAndWelcome());
    Append(steps, {Check("ashcombe", WhereThePartyIs), WinTheChapter("The boats go down past the chain."), Wait(300),
                   Check("first", WinPages), ClickId(CWinDlg::kNext), Wait(150), ClickId(CWinDlg::kNext), Wait(150),
                   Check("closing", WinPages), Check("buttons", ButtonLabels), Screenshot("last"),
                   ClickId(CWinDlg::kNext) /* Exit */, Wait(300), Check("exited", CurrentTitle),
                   Check("strip", [] {
                       // Each chapter of the table, + when its files are present.
                       std::string ids;
                       for (const auto& [number, chapter] : GetApp().GetChapterTable())
                           ids += std::to_string(number) +
                                  (chapter->m_state == CDRAVChapterInfo::kStatePresent ? "+ " : "- ");
                       return ids;
                   })});
    // Its save, "End of Chapter 2", loaded again: Ashcombe's own end pages.
    Append(steps, {ClickId(2) /* Load */, Wait(200), ClickId(100), Wait(300), Check("finished", WinPages),
                   Check("finished chapter", [] {
                       auto* page = dynamic_cast<CWinDlg*>(GetApp().GetCurrentDialog().get());
                       for (const auto& [number, chapter] : GetApp().GetChapterTable())
                           if (page && page->GetSource() == chapter->m_package.get()) return std::to_string(number);
                       return std::string("no chapter's");
                   }),
                   Screenshot("finished")});
    Observed run = driver.Execute(steps);
    EXPECT_TRUE(run.exited) << run.log;
    EXPECT_TRUE(run.log.empty()) << run.log;
    EXPECT_TRUE(run.boxes.empty()) << run.boxes.front().caption << ": " << run.boxes.front().text;
    EXPECT_EQ(run.checks["next"], "The Weir at Ashcombe");
    EXPECT_EQ(run.checks["ashcombe"], "ashcombe_weir");
    EXPECT_EQ(run.checks["first"], "Congratulations!: win2_boats.jpg win2_ledger.jpg chapter.jpg ");
    EXPECT_EQ(run.checks["closing"], "Congratulations!: chapter.jpg ");
    EXPECT_EQ(run.checks["buttons"], "Launch Website;Exit;");
    EXPECT_EQ(run.checks["exited"], "Welcome");
    EXPECT_EQ(run.checks["strip"], "1+ 2+ ");
    EXPECT_EQ(run.checks["finished"], "Congratulations!: win2_boats.jpg win2_ledger.jpg chapter.jpg ");
    EXPECT_EQ(run.checks["finished chapter"], "2");
    for (const auto& [name, kept] : {std::pair<std::string, std::string>{"last", "last_chapter_end"},
                                      {"finished", "finished_chapter_loaded"}}) {
        const Shot& shot = run.shots[name];
        if (shot.path.empty()) continue;
        std::filesystem::create_directories(QUILLMERE_E2E_SCREEN_DIR);
        std::filesystem::copy_file(shot.path, std::string(QUILLMERE_E2E_SCREEN_DIR) + "/" + kept + ".png",
                                   std::filesystem::copy_options::overwrite_existing);
    }
}

// "Exit" on the closing page saves the finished chapter; loading that save from
// the start page goes on to the next chapter, as "Play Next Chapter" would have.
TEST(FlowDialogs, LoadingACompletedChapterOpensTheNextIntroduction) {
    Driver driver;
    Observed run = driver.Execute(InACalmGame({
        WinTheChapter(),
        Wait(300),
        ClickId(CWinDlg::kNext),
        Wait(150),
        ClickId(CWinDlg::kNext),
        Wait(150),
        Check("closing", WinPages),
        ClickId(CWinDlg::kNext),  // "Exit"
        Wait(300),
        Check("exited", CurrentTitle),
        ClickId(2),  // Load
        Wait(200),
        Check("load", CurrentTitle),
        ClickId(100),
        Wait(500),
        Check("next", CurrentTitle),
    }));
    EXPECT_TRUE(run.exited) << run.log;
    EXPECT_TRUE(run.log.empty()) << run.log;
    EXPECT_TRUE(run.boxes.empty()) << run.boxes.front().caption << ": " << run.boxes.front().text;
    EXPECT_EQ(run.checks["closing"], "Congratulations!: chapter.jpg ");
    EXPECT_EQ(run.checks["exited"], "Welcome");
    EXPECT_EQ(run.checks["load"], "Load Game");
    EXPECT_EQ(run.checks["next"], "The Weir at Ashcombe") << "chapter 2's introduction";
}

}  // namespace
