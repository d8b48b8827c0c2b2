#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <sstream>

#include "../game/app_test_access.h"
#include "driver.h"
#include "running_game_steps.h"
#include "engine/engine.h"
#include "game/app.h"
#include "game/dialogs/dialog.h"
#include "ui/ui_group.h"
#include "world/actor.h"
#include "world/area.h"
#include "world/game.h"
#include "world/order.h"

namespace {

using namespace QuillmereE2E;
namespace fs = std::filesystem;

std::string Tick() { return std::to_string(Game().GetTick()); }

// "left,top-right,bottom" of a HUD widget, in window pixels.
std::string WidgetRect(int id) {
    auto& ui = GetApp().GetUIManager();
    const LONG scale = static_cast<LONG>(ui.GetScale());
    for (const auto& top : ui.GetElements()) {
        std::vector<DRAVUI::CUIElement*> all{top.get()};
        if (auto* group = dynamic_cast<DRAVUI::CUIGroup*>(top.get()))
            for (const auto& child : group->GetChildren()) all.push_back(child.get());
        for (auto* element : all) {
            if (element->GetId() != id) continue;
            const RECT r = *element->GetRect();
            std::ostringstream out;
            out << r.left * scale / 100 << ',' << r.top * scale / 100 << '-' << r.right * scale / 100 << ','
                << r.bottom * scale / 100;
            return out.str();
        }
    }
    return "missing";
}

Step Ticks(std::string name) {
    return Check(std::move(name), [] { return Tick(); });
}

int Diff(Observed& run, const std::string& from, const std::string& to) {
    return std::stoi(run.checks[to]) - std::stoi(run.checks[from]);
}

TEST(RunningGame, StartsWithTheIntroductionThenShowsTheHudAndRunsTheClock) {
    Driver driver;
    Observed run = driver.Execute({
        Wait(200),
        Key(SDL_SCANCODE_SPACE),
        Wait(100),
        Check("intro", StartTheChapter),
        Wait(200),
        Key(SDL_SCANCODE_RETURN),
        Wait(300),
        // The dock shows the tutorial's first page as the hero comes ashore.
        Check("welcome", CurrentTitle),
        Key(SDL_SCANCODE_RETURN),
        Wait(300),
        Check("after intro", CurrentTitle),
        Screenshot("hud"),
        Check("minimap", [] { return WidgetRect(3); }),
        Check("clock", [] { return WidgetRect(6); }),
        Check("calm", CalmTheLanding),
        Ticks("t0"),
        Wait(1000),
        Ticks("t1"),
        Key(SDL_SCANCODE_F),
        Wait(16),
        Ticks("t2"),
        Wait(1000),
        Ticks("t3"),
        Key(SDL_SCANCODE_F),
        Key(SDL_SCANCODE_SPACE),
        Wait(16),
        Ticks("t4"),
        Wait(1000),
        Ticks("t5"),
        Key(SDL_SCANCODE_SPACE),
        Wait(500),
        Ticks("t6"),
    });
    EXPECT_TRUE(run.exited) << run.log;
    EXPECT_TRUE(run.boxes.empty()) << run.boxes.front().caption << ": " << run.boxes.front().text;
    EXPECT_EQ(run.checks["intro"], "The Reedwater Landing");
    EXPECT_NE(std::find(run.titles.begin(), run.titles.end(), "Quillmere - The Reedwater Landing"),
              run.titles.end());
    EXPECT_EQ(run.checks["welcome"], "Help - Tutorial - Welcome");
    EXPECT_EQ(run.checks["after intro"], "(none)");
    ASSERT_FALSE(run.titles.empty());
    EXPECT_NE(std::find(run.titles.begin(), run.titles.end(), "Quillmere - Reedwater Landing"), run.titles.end());
    EXPECT_EQ(run.checks["minimap"], "8,660-108,760");
    EXPECT_EQ(run.checks["clock"], "968,712-1016,760");

    const Shot& hud = run.shots["hud"];
    ASSERT_FALSE(hud.path.empty()) << run.log;
    EXPECT_GT(hud.lit, 0.3) << "the area and the HUD are drawn";
    fs::create_directories(QUILLMERE_E2E_SCREEN_DIR);
    fs::copy_file(hud.path, std::string(QUILLMERE_E2E_SCREEN_DIR) + "/hud.png", fs::copy_options::overwrite_existing);

    EXPECT_NEAR(Diff(run, "t0", "t1"), 60, 1);
    EXPECT_NEAR(Diff(run, "t2", "t3"), 120, 2);
    EXPECT_EQ(Diff(run, "t4", "t5"), 0) << "paused";
    EXPECT_NEAR(Diff(run, "t5", "t6"), 30, 1) << "resumed without catching up";
}

TEST(RunningGame, TheLooseBoardRaisesItsMessageAndTheLogShowsIt) {
    Driver driver;
    Observed run = driver.Execute({
        Wait(200),
        Key(SDL_SCANCODE_SPACE),
        Wait(100),
        Check("intro", StartTheChapter),
        Wait(200),
        Key(SDL_SCANCODE_RETURN),
        Wait(200),
        Key(SDL_SCANCODE_RETURN),
        Wait(200),
        Check("calm", CalmTheLanding),
        // Clicks become orders in a later issue; the walk is queued from here.
        Check("walk", [] {
            DRAV::CActor& main = *Game().GetParty().front();
            main.PushOrder(std::make_shared<DRAV::CMoveOrder>(23.75, 11.25), true);
            return std::to_string(main.GetX()) + "," + std::to_string(main.GetY());
        }),
        Wait(4000),
        Check("where", [] {
            DRAV::CActor& main = *Game().GetParty().front();
            std::string out = std::to_string(main.GetX()) + "," + std::to_string(main.GetY());
            for (const auto& object : Game().GetCurrentArea()->GetObjects())
                if (object->GetName() == "Loose Board" || object->GetTemplate().GetKey() == "loose_board")
                    out += " board " + std::to_string(object->GetX()) + "," + std::to_string(object->GetY()) +
                           (object->GetTrap() ? " trapped" : "");
            return out;
        }),
        Check("dialog", CurrentTitle),
        Ticks("held0"),
        Wait(1000),
        Ticks("held1"),
        Check("logged", [] {
            const auto& log = GetApp().GetMessageLog();
            return log.empty() ? std::string() : log.back();
        }),
        Screenshot("board"),
        Key(SDL_SCANCODE_RETURN),
        Wait(100),
        Key(SDL_SCANCODE_G),
        Wait(100),
        Check("messages", CurrentTitle),
        Screenshot("messages"),
    });
    EXPECT_TRUE(run.exited) << run.log;
    EXPECT_TRUE(run.boxes.empty()) << run.boxes.front().caption << ": " << run.boxes.front().text;
    EXPECT_EQ(run.checks["dialog"], "Loose Board") << "from " << run.checks["walk"] << " to " << run.checks["where"];
    EXPECT_EQ(run.checks["held0"], run.checks["held1"]) << "no tick runs under the dialog";
    EXPECT_NE(run.checks["logged"].find("tarred rope"), std::string::npos) << run.checks["logged"];
    EXPECT_EQ(run.checks["messages"], "Messages");
    for (const char* name : {"board", "messages"}) {
        const Shot& shot = run.shots[name];
        ASSERT_FALSE(shot.path.empty()) << run.log;
        fs::create_directories(QUILLMERE_E2E_SCREEN_DIR);
        fs::copy_file(shot.path, std::string(QUILLMERE_E2E_SCREEN_DIR) + "/" + name + ".png",
                      fs::copy_options::overwrite_existing);
    }
}

}  // namespace
