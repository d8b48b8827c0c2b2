#include <gtest/gtest.h>

#include <algorithm>

#include "../game/app_test_access.h"
#include "driver.h"
#include "engine/engine.h"
#include "game/app.h"
#include "game/dialogs/dialog.h"
#include "game/dialogs/win_dlg.h"
#include "game/dialogs/world_map_dlg.h"
#include "world/actor.h"
#include "world/area.h"
#include "world/game.h"

namespace {

using namespace QuillmereE2E;

std::string CurrentTitle() {
    const auto& dialog = GetApp().GetCurrentDialog();
    return dialog ? dialog->GetTitle() : "(none)";
}

// Chapter 1 begins as after the creation pages; the landing's goblins are sent
// away so that nothing interrupts the dialogs.
std::string BeginCalmGame() {
    CDRAVApp& app = GetApp();
    CDRAVAppTestAccess::DropDialogs(app);
    app.StartNewGame(1, false);
    // The first creation page gives way, as the name page's close would.
    CDRAVAppTestAccess::DropDialogs(app);
    std::shared_ptr<DRAV::CActor> main = app.GetNewActor();
    if (!main) return "no actor";
    main->SetName("Wren");
    app.StartGameWithActor(main);
    DRAV::CArea& area = *app.GetEngine()->GetGame()->GetCurrentArea();
    for (const auto& actor : DRAV::ActorList(area.GetActors()))
        if (actor->GetRelation() != DRAV::RELATION_PARTY) area.RemoveActor(*actor);
    return CurrentTitle();
}

std::string WorldMapMode() {
    auto* map = dynamic_cast<CDRAVWorldMapDlg*>(GetApp().GetCurrentDialog().get());
    return map ? (map->IsTravel() ? "travel" : "view") : "(none)";
}

TEST(FlowDialogs, TheAreaMapLeadsToTheWorldMapAndTheHelpChainEndsOnItsLastPage) {
    Driver driver;
    std::vector<Step> steps = {
        Wait(200),
        Key(SDL_SCANCODE_SPACE),
        Wait(100),
        Check("start", BeginCalmGame),
        Wait(200),
        Key(SDL_SCANCODE_RETURN),
        Wait(200),
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
    };
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

TEST(FlowDialogs, AWipedOutPartyIsToldOnceMayLowerTheDifficultyAndComesBackAlive) {
    Driver driver;
    Observed run = driver.Execute({
        Wait(200),
        Key(SDL_SCANCODE_SPACE),
        Wait(100),
        Check("start", BeginCalmGame),
        Wait(200),
        Key(SDL_SCANCODE_RETURN),
        Wait(200),
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
    });
    EXPECT_TRUE(run.exited) << run.log;
    EXPECT_TRUE(run.log.empty()) << run.log;
    EXPECT_EQ(run.checks["told"], "Party Dead");
    EXPECT_EQ(run.checks["difficulty"], "Difficulty Level");
    EXPECT_EQ(run.checks["after"], "(none)");
    EXPECT_EQ(run.checks["log"], "logged");
    EXPECT_EQ(run.checks["alive"], "alive in reedwater_landing") << "back at the landing's dock";
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
    Observed run = driver.Execute({
        Wait(200),
        Key(SDL_SCANCODE_SPACE),
        Wait(100),
        Check("start", BeginCalmGame),
        Wait(200),
        Key(SDL_SCANCODE_RETURN),
        Wait(200),
        Check("win", [] {
            // What the ferryman's last reply does.
            DRAV::CGame& game = *GetApp().GetEngine()->GetGame();
            game.SetClosingText("The ferry pulls away from Reedwater.");
            game.SetStateCode(DRAV::GAME_WON);
            return "won";
        }),
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
    });
    EXPECT_TRUE(run.exited) << run.log;
    EXPECT_TRUE(run.log.empty()) << run.log;
    EXPECT_TRUE(run.boxes.empty()) << run.boxes.front().caption << ": " << run.boxes.front().text;
    EXPECT_EQ(run.checks["first"], "Congratulations!: win1_marsh.jpg win1_ferry.jpg chapter.jpg ");
    EXPECT_EQ(run.checks["second"], "Congratulations!: win1_ferry.jpg chapter.jpg ");
    EXPECT_EQ(run.checks["closing"], "Congratulations!: chapter.jpg ");
    EXPECT_EQ(run.checks["next"], "The Weir at Ashcombe") << "chapter 2's introduction";
}

}  // namespace
