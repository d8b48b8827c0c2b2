#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "driver.h"
#include "engine/engine.h"
#include "game/app.h"
#include "game/dialogs/creation/cc_dlg.h"
#include "game/dialogs/creation/cc_name_dlg.h"
#include "game/dialogs/sheet/monster_dlg.h"
#include "game/dialogs/front/intro_dlg.h"
#include "rules/vocabulary/actor_class.h"
#include "world/actor.h"
#include "world/game.h"
#include "wizard_steps.h"

namespace {

using namespace QuillmereE2E;

std::vector<Step> Then(std::vector<Step> steps, const std::vector<Step>& more) {
    steps.insert(steps.end(), more.begin(), more.end());
    return steps;
}

std::string CurrentTitle() {
    const auto& dialog = GetApp().GetCurrentDialog();
    return dialog ? dialog->GetTitle() : "(none)";
}

std::string IntroShown() {
    return dynamic_cast<CIntroDlg*>(GetApp().GetCurrentDialog().get()) && GetApp().IsGameRunning() ? "yes" : "no";
}

std::string MainCharacter() {
    const auto& engine = GetApp().GetEngine();
    if (!engine || !engine->GetGame() || !engine->GetGame()->GetMainActor()) return "(none)";
    return engine->GetGame()->GetMainActor()->GetName();
}

// A level-1 Fighter with the first head, named Ayla.
const NewCharacter kAyla{CCCGenderDlg::kMale, DRAV::CLASS_FIGHTER, FighterSkills, "Ayla"};

bool TitlesInOrder(const std::vector<std::string>& titles, const std::vector<std::string>& pages) {
    auto at = titles.begin();
    for (const std::string& page : pages) {
        at = std::find(at, titles.end(), "Quillmere - " + page);
        if (at == titles.end()) return false;
    }
    return true;
}

TEST(NewGame, TheWizardFromTheFrontPageToTheNamedCharacter) {
    Driver driver;
    Observed run = driver.Execute(
        Then(ThroughTheWizard(kAyla),
             Then({Check("name page", CurrentTitle)},
                  Then(TypeName(kAyla.name), {Check("main", MainCharacter), Check("intro", IntroShown)}))));
    EXPECT_TRUE(run.exited) << run.log;
    EXPECT_TRUE(run.boxes.empty()) << run.boxes.front().caption << ": " << run.boxes.front().text;
    EXPECT_TRUE(TitlesInOrder(run.titles, {"New Game", "Gender", "Class", "Attributes", "Skills", "Appearance",
                                           "Name"}))
        << run.log;
    EXPECT_EQ(run.checks["name page"], "Name");
    std::filesystem::create_directories(QUILLMERE_E2E_SCREEN_DIR);
    for (const char* name : {"attributes", "skills", "colours"}) {
        const Shot& shot = run.shots[name];
        ASSERT_FALSE(shot.path.empty()) << name << run.log;
        EXPECT_GT(shot.lit, 0.02) << name;
        std::filesystem::copy_file(shot.path, std::string(QUILLMERE_E2E_SCREEN_DIR) + "/" + name + ".png",
                                   std::filesystem::copy_options::overwrite_existing);
    }
    EXPECT_EQ(run.checks["main"], "Ayla");
    EXPECT_EQ(run.checks["intro"], "yes");
}

// The hit points line of the character sheet open over the name page.
std::string SheetHitPoints() {
    auto* sheet = dynamic_cast<CMonsterDlg*>(GetApp().GetCurrentDialog().get());
    if (!sheet) return "(no sheet)";
    const std::string& text = sheet->GetText();
    const std::size_t at = text.find("Hit Points: ");
    return at == std::string::npos ? text : text.substr(at, text.find(" LINE", at) - at);
}

// A woman made on the pages: half her name typed, her sheet looked at from the
// name page's figure icon and closed, the rest of her name typed. The name is
// whole, and the sheet told the hit points she starts with.
TEST(NewGame, TheNamePageKeepsHalfANameOverTheSheetThatTellsTheHitPoints) {
    const NewCharacter ysa{CCCGenderDlg::kFemale, DRAV::CLASS_FIGHTER, FighterSkills, "Ysa"};
    Driver driver;
    std::vector<Step> steps = ThroughTheWizard(ysa);
    steps = Then(steps, {Key(SDL_SCANCODE_Y, KMOD_LSHIFT), Key(SDL_SCANCODE_S), ClickId(CCCDlg::kCharacter), Wait(100),
                   Check("sheet", SheetHitPoints), Key(SDL_SCANCODE_ESCAPE), Wait(100),
                   Check("typed", [] {
                       auto* page = dynamic_cast<CCCNameDlg*>(GetApp().GetCurrentDialog().get());
                       return page ? page->TypedName() : std::string("(no name page)");
                   })});
    steps = Then(steps, TypeName("a"));
    steps = Then(steps, {Check("main", MainCharacter), Check("started with", [] {
                       const auto hero = GetApp().GetEngine()->GetGame()->GetMainActor();
                       return "Hit Points: " + std::to_string(hero->GetHitPoints()) + "/" +
                              std::to_string(hero->GetMaxHitPoints());
                   })});
    Observed run = driver.Execute(steps);
    EXPECT_TRUE(run.exited) << run.log;
    EXPECT_EQ(run.checks["typed"], "Ys");
    EXPECT_EQ(run.checks["main"], "Ysa");
    EXPECT_NE(run.checks["sheet"], "Hit Points: 0/6");
    EXPECT_EQ(run.checks["sheet"], run.checks["started with"]);
}

TEST(NewGame, ASaveOfTheSameNameAsksAndNoGivesAnEmptyNamePage) {
    Driver driver;
    const std::filesystem::path saves = std::filesystem::path(driver.Home()) / "Documents" / "Orvex Saved Games";
    std::filesystem::create_directories(saves);
    std::ofstream(saves / "Ayla.drav") << "an old game";
    Observed run = driver.Execute(
        Then(ThroughTheWizard(kAyla),
             Then(TypeName(kAyla.name),
                  Then({Check("question", CurrentTitle), Key(SDL_SCANCODE_N), Wait(50),
                        Check("after no", CurrentTitle)},
                       Then(TypeName(kAyla.name), {Key(SDL_SCANCODE_Y), Wait(100), Check("main", MainCharacter),
                                                   Check("intro", IntroShown)})))));
    EXPECT_TRUE(run.exited) << run.log;
    EXPECT_EQ(run.checks["question"], "Overwrite Actor?");
    EXPECT_EQ(run.checks["after no"], "Name");
    EXPECT_EQ(run.checks["main"], "Ayla");
    EXPECT_EQ(run.checks["intro"], "yes");
}

TEST(NewGame, AdvancedOptionsToALevelEightBonusPassAndEscBackToWelcome) {
    Driver driver;
    std::vector<Step> steps = ToTheFrontPage();
    steps.push_back(ClickId(1));
    steps.push_back(Wait(50));
    steps.push_back(Screenshot("new_game"));
    steps.push_back(ClickId(2));
    steps.push_back(Wait(50));
    steps.push_back(Screenshot("select_chapter"));
    steps.push_back(Check("chapters", CurrentTitle));
    for (int id : {201, 108, 101, 102}) {
        steps.push_back(ClickId(id));
        steps.push_back(Wait(50));
    }
    for (int k = 0; k < 80; ++k) steps.push_back(ClickId(100 + k % 5));
    steps.push_back(ClickId(50));
    steps.push_back(Wait(50));
    steps.push_back(Check("bonus", [] {
        const auto& dialog = GetApp().GetCurrentDialog();
        auto* page = dynamic_cast<CCCDlg*>(dialog.get());
        return page ? page->GetDescription().substr(0, 49) : std::string("(none)");
    }));
    steps.push_back(Key(SDL_SCANCODE_ESCAPE));
    steps.push_back(Wait(50));
    steps.push_back(Check("after esc", CurrentTitle));
    steps.push_back(Check("running", [] { return std::string(GetApp().IsGameRunning() ? "yes" : "no"); }));
    Observed run = driver.Execute(steps);
    EXPECT_TRUE(run.exited) << run.log;
    EXPECT_EQ(run.checks["chapters"], "Select Chapter");
    EXPECT_TRUE(TitlesInOrder(run.titles, {"Select Chapter", "Level", "Gender", "Class", "Attributes"}));
    EXPECT_EQ(run.checks["bonus"], "As a level 8 character, you get bonus attributes.");
    EXPECT_EQ(run.checks["after esc"], "Welcome");
    EXPECT_EQ(run.checks["running"], "no");
    for (const char* name : {"new_game", "select_chapter"}) {
        const Shot& shot = run.shots[name];
        ASSERT_FALSE(shot.path.empty()) << name << run.log;
        std::filesystem::copy_file(shot.path, std::string(QUILLMERE_E2E_SCREEN_DIR) + "/" + name + ".png",
                                   std::filesystem::copy_options::overwrite_existing);
    }
}

}  // namespace
