#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "driver.h"
#include "game/dialogs/maps/help_dlg.h"
#include "rules/vocabulary/skills.h"
#include "running_game_steps.h"
#include "ui/ui_scroll_bar.h"
#include "ui/ui_text_element.h"
#include "world/events/event.h"

namespace {

using namespace QuillmereE2E;

DRAV::CActor& Main() { return *Game().GetParty().front(); }

std::string MainQuickAction() { return std::to_string(GetApp().GetCurrentQuickAction(Main())); }

// Past the splash into the chapter, nobody else on the landing, the introduction
// and the tutorial's welcome closed.
std::vector<Step> CalmChapter() {
    std::vector<Step> steps = {Wait(200), Key(SDL_SCANCODE_SPACE), Wait(100), Check("start", StartTheChapter),
                               Check("calm", CalmTheLanding), Wait(200)};
    Append(steps, PastTheIntroAndWelcome());
    return steps;
}

// Every way the game screen offers to leave a quick action, tried on a spell that
// waits for its target: slot 6 (F7) holds Reedlash.
struct LeavingInput {
    const char* name;
    std::vector<Step> steps;
    std::vector<Step> afterwards;  // puts back what the input changed
};

TEST(GameScreen, EveryInputBesidesTheWorldClickLeavesNoQuickActionArmed) {
    const std::vector<LeavingInput> inputs = {
        {"its F-key again", {Key(SDL_SCANCODE_F7)}, {}},
        {"its slot again", {ClickId(216)}, {}},
        {"Esc", {Key(SDL_SCANCODE_ESCAPE)}, {}},
        {"the member's digit", {Key(SDL_SCANCODE_1)}, {}},
        {"the member's portrait", {ClickId(100)}, {}},
        {"Menu", {ClickId(5), Wait(100), Key(SDL_SCANCODE_ESCAPE)}, {}},
        {"Help", {ClickId(11), Wait(100), Key(SDL_SCANCODE_ESCAPE)}, {}},
        {"the clock", {ClickId(6)}, {Key(SDL_SCANCODE_SPACE)}},
        {"the clock's alternate click", {RightClickId(6)}, {RightClickId(6)}},
        {"the log's alternate click", {RightClickId(1), Wait(100), Key(SDL_SCANCODE_ESCAPE)}, {}},
        {"Select All", {ClickId(8)}, {}},
        {"Return", {ClickId(9)}, {Wait(200), Key(SDL_SCANCODE_ESCAPE)}},
    };
    std::vector<Step> steps = CalmChapter();
    for (std::size_t i = 0; i < inputs.size(); ++i) {
        const std::string row = std::to_string(i);
        Append(steps, {Check("arm " + row,
                             [] {
                                 // A spell she can cast, as one she cannot is refused as it is
                                 // chosen; and she outlives it cast on herself by her portrait.
                                 Main().AddSkill(DRAV::ParseSkill("elemental_magic"));
                                 Main().SetBaseLevel(5);
                                 Main().SetMaxHitPoints(500);
                                 GetApp().SetQuickActionKind(Main(), 11, 6);
                                 GetApp().SetQuickActionSpell(Main(), "reed_lash", 6);
                                 return std::string();
                             }),
                       Key(SDL_SCANCODE_F7), Wait(100), Check("armed " + row, MainQuickAction)});
        Append(steps, inputs[i].steps);
        Append(steps, {Wait(150), Check("after " + row, MainQuickAction), Check("dialog " + row, CurrentTitle)});
        Append(steps, inputs[i].afterwards);
        Append(steps, {Wait(150)});
    }
    // With the whole party selected the F-keys act for nobody.
    Append(steps, {Check("join",
                         [] {
                             DRAV::CArea& area = *Game().GetCurrentArea();
                             auto ally = area.CreateEncounterActor("reed_goblin", "", 0, *GetApp().GetEngine()->GetModule());
                             if (!area.PlaceActor(9, 6, false, ally)) return std::string("no room");
                             Game().AddPartyMember(ally);
                             Game().PushEvent(std::make_shared<DRAV::CInfoEvent>(DRAV::EVENT_PARTY_CHANGED));
                             return std::string("joined");
                         }),
                   Wait(200), Key(SDL_SCANCODE_0), Wait(100),
                   Check("whole party", [] { return std::to_string(GetApp().GetSelectedMember()); }),
                   Key(SDL_SCANCODE_F7), Key(SDL_SCANCODE_F3), Wait(150), Check("whole F-keys", MainQuickAction),
                   Check("whole dialog", CurrentTitle)});

    Driver driver;
    Observed run = driver.Execute(steps);
    EXPECT_TRUE(run.exited) << run.log;
    for (std::size_t i = 0; i < inputs.size(); ++i) {
        const std::string row = std::to_string(i);
        ASSERT_EQ(run.checks["armed " + row], "6") << inputs[i].name << run.log;
        EXPECT_EQ(run.checks["after " + row], "10") << inputs[i].name;
    }
    EXPECT_EQ(run.checks["dialog 0"], "(none)") << "a spell waiting for its target opens nothing";
    ASSERT_EQ(run.checks["join"], "joined");
    EXPECT_EQ(run.checks["whole party"], std::to_string(CDRAVApp::kWholeParty));
    EXPECT_EQ(run.checks["whole F-keys"], "10");
    EXPECT_EQ(run.checks["whole dialog"], "(none)") << "F3 opens no action picker for member 0";
}

// The position and range of the first text box on screen, as "position/range".
std::string TextScroll() {
    for (const auto& element : GetApp().GetUIManager().GetElements())
        if (const auto* text = dynamic_cast<const DRAVUI::CUITextElement*>(element.get()))
            if (const DRAVUI::CUIScrollBar* bar = text->GetScrollBarPointer())
                return std::to_string(bar->m_position) + "/" + std::to_string(bar->m_range);
    return "no text";
}

TEST(GameScreen, TurningTheWheelTowardThePlayerScrollsTheShortcutsTowardTheirEnd) {
    const POINT middle{512, 300};
    std::vector<Step> steps = CalmChapter();
    Append(steps, {ClickId(11), Wait(100), ClickId(CHelpDlg::kShortcuts), Wait(100), Check("page", CurrentTitle),
                   Check("top", TextScroll),
                   Check("under the wheel",
                         [middle] {
                             DRAVUI::CUIElement* target = nullptr;
                             for (const auto& element : GetApp().GetUIManager().GetElements())
                                 if (element->FindScrollTarget(&middle, &target)) break;
                             return std::string(dynamic_cast<DRAVUI::CUITextElement*>(target) ? "text" : "other");
                         }),
                   Move(middle.x, middle.y), Wheel(middle.x, middle.y, -3), Wait(100), Check("toward", TextScroll),
                   Wheel(middle.x, middle.y, 1), Wait(100), Check("away", TextScroll)});
    Driver driver;
    Observed run = driver.Execute(steps);
    EXPECT_TRUE(run.exited) << run.log;
    ASSERT_EQ(run.checks["page"], "Help");
    ASSERT_EQ(run.checks["under the wheel"], "text");
    const std::string top = run.checks["top"];
    ASSERT_EQ(top.substr(0, 2), "0/");
    ASSERT_GE(std::stoi(top.substr(2)), 3) << "more lines than the box shows";
    EXPECT_EQ(run.checks["toward"], "3" + top.substr(1)) << "three notches, three lines on";
    EXPECT_EQ(run.checks["away"], "2" + top.substr(1));
}

// The loose sample without the files named.
std::string SampleFolderWithout(const Driver& driver, const std::vector<std::string>& dropped) {
    return SampleWithout(driver, QUILLMERE_E2E_SAMPLE_FOLDER, dropped);
}

std::string StillPlaying() {
    return CurrentTitle() + " in " + Game().GetCurrentArea()->GetName() + (GetApp().IsGameRunning() ? "" : ", ended");
}

TEST(GameScreen, AWorldMapThatCannotBeReadIsAMapErrorNamingItsFileAndThePartyStays) {
    const std::vector<Step> openers = {
        Key(SDL_SCANCODE_W), Wait(100), Key(SDL_SCANCODE_M), Wait(150), ClickId(2),
        Check("the river road",
              [] {
                  // Wren steps into the boathouse, within reach of the road that leads over the map.
                  DRAV::CArea& area = *Game().GetCurrentArea();
                  auto main = area.RemoveActor(*Game().GetMainActor());
                  return area.PlaceActor(13, 9, false, main) ? std::string() : std::string("blocked");
              }),
        Wait(300), Key(SDL_SCANCODE_X)};
    for (const auto& [dropped, named] : {std::pair<std::vector<std::string>, std::string>{{"1/reedwater_map.drav"},
                                                                                           "reedwater_map.drav"},
                                         {{"map/reedwater_map.jpg", "map/reedwater_map_areas.png"}, "reedwater_map.jpg"}}) {
        Driver driver;
        driver.SetModuleFolder(SampleFolderWithout(driver, dropped));
        std::vector<Step> steps = CalmChapter();
        Append(steps, openers);
        Append(steps, {Wait(200), Check("after", StillPlaying), Wait(500), Check("later", StillPlaying)});
        Observed run = driver.Execute(steps);
        EXPECT_TRUE(run.exited) << run.log;
        EXPECT_EQ(run.checks["the river road"], "");
        ASSERT_EQ(run.boxes.size(), 3u) << named << ": W, the area map's button and the exit each tell it";
        for (const Box& box : run.boxes) {
            EXPECT_EQ(box.caption, "Map Error") << box.text;
            EXPECT_EQ(box.text, "Failed to load the world map \"" + named + "\".");
        }
        EXPECT_EQ(run.checks["after"], "(none) in reedwater_landing");
        EXPECT_EQ(run.checks["later"], "(none) in reedwater_landing") << "the window stays open";
    }
}

}  // namespace
