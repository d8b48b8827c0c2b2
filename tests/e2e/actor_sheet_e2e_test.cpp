#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "driver.h"
#include "running_game_steps.h"
#include "game/app.h"
#include "game/dialogs/creation/attrib_dlg.h"
#include "game/dialogs/sheet/actor_info_dlg.h"
#include "game/dialogs/sheet/faction_dlg.h"
#include "game/dialogs/sheet/skill_dlg.h"
#include "game/dialogs/creation/skills_dlg.h"
#include "rules/definitions/faction.h"
#include "rules/module.h"
#include "rules/vocabulary/actor_class.h"
#include "rules/vocabulary/skills.h"
#include "ui/ui_button.h"
#include "ui/ui_group.h"
#include "ui/ui_manager.h"
#include "world/actor.h"
#include "world/game.h"
#include "engine/engine.h"

namespace {

using namespace QuillmereE2E;

DRAV::CActor& Main() { return *Game().GetParty().front(); }

// Into the landing with nobody else about. As she starts, Wren has no class and
// nothing to spend; as a Fighter, as the skipped class page would have made her,
// her first skill picks are due.
std::vector<Step> Opening(bool fighter) {
    std::vector<Step> steps{Wait(200), Key(SDL_SCANCODE_SPACE), Wait(100),
                            Check("intro",
                                  [fighter] {
                                      const std::string title = StartTheChapter();
                                      CalmTheLanding();
                                      if (fighter) Main().SetClass(DRAV::CLASS_FIGHTER);
                                      return title;
                                  }),
                            Wait(200)};
    Append(steps, PastTheIntroAndWelcome());
    return steps;
}

// The kind of the current dialog, for pages that share a title.
std::string CurrentKind() {
    const auto& dialog = GetApp().GetCurrentDialog();
    if (!dialog) return "none";
    if (dynamic_cast<CActorInfoDlg*>(dialog.get())) return "information";
    if (dynamic_cast<CAttribDlg*>(dialog.get())) return "attributes";
    if (dynamic_cast<CSkillsDlg*>(dialog.get())) return "skills";
    if (dynamic_cast<CSkillDlg*>(dialog.get())) return "skill";
    return "other";
}

// The button with the id on screen: its label and whether it is highlighted.
std::string ButtonState(int id) {
    for (const auto& element : GetApp().GetUIManager().GetElements())
        if (element->GetId() == id)
            if (auto* button = dynamic_cast<DRAVUI::CUITextButton*>(element.get()))
                return button->m_label + (button->HasFlag(DRAVUI::UIF_SELECTED) ? " (highlighted)" : "");
    return "none";
}

// The frame kept beside the other end-to-end screens, for a look by eye.
void KeepScreen(Observed& run, const std::string& name) {
    const Shot& shot = run.shots[name];
    ASSERT_FALSE(shot.path.empty()) << run.log;
    EXPECT_GT(shot.lit, 0.2) << name;
    std::filesystem::create_directories(QUILLMERE_E2E_SCREEN_DIR);
    std::filesystem::copy_file(shot.path, std::string(QUILLMERE_E2E_SCREEN_DIR) + "/" + name + ".png",
                               std::filesystem::copy_options::overwrite_existing);
}

// The first Fighter skill: the skills page of a Fighter opens on that group.
DRAV::SkillId FirstFighterSkill() {
    for (int s = 0; s < DRAV::kSkillCount; ++s)
        if (DRAV::GetSkillInfo(static_cast<DRAV::SkillId>(s)).skillClass == DRAV::CLASS_FIGHTER)
            return static_cast<DRAV::SkillId>(s);
    return DRAV::SKILL_NONE;
}

TEST(ActorSheet, NOpensTheInformationPageAndTheAttackRowExplainsItself) {
    Driver driver;
    std::vector<Step> steps = Opening(false);
    Append(steps, {
                      Key(SDL_SCANCODE_N),
                      Wait(100),
                      Check("page", CurrentTitle),
                      Screenshot("information_page"),
                      Wait(50),
                      RightClickId(CActorInfoDlg::kAttackRow),
                      Wait(100),
                      Check("detail", CurrentTitle),
                      Key(SDL_SCANCODE_ESCAPE),
                      Wait(100),
                      Check("back", CurrentTitle),
                      Key(SDL_SCANCODE_ESCAPE),
                      Wait(100),
                      Check("closed", CurrentTitle),
                  });
    Observed run = driver.Execute(steps);
    EXPECT_TRUE(run.exited) << run.log;
    EXPECT_EQ(run.checks["page"], "Wren - Information");
    EXPECT_NE(std::find(run.titles.begin(), run.titles.end(), "Quillmere - Wren - Information"), run.titles.end());
    EXPECT_EQ(run.checks["detail"], "Attack Bonus");
    EXPECT_EQ(run.checks["back"], "Wren - Information");
    EXPECT_EQ(run.checks["closed"], "(none)");
    KeepScreen(run, "information_page");
}

TEST(ActorSheet, ExperienceFromTheConsoleLeadsThroughSpendLevelPoints) {
    Driver driver;
    std::vector<Step> steps = Opening(true);
    Append(steps, ConsoleLine("exp 100000"));
    Append(steps, {
                      Check("points",
                            [] {
                                std::int32_t classPicks = 0, generalPicks = 0;
                                Main().GetUnspentSkillPicks(classPicks, generalPicks);
                                return std::to_string(Main().GetUnspentPoints()) + " " +
                                       std::to_string(classPicks + generalPicks);
                            }),
                      // The information page alone, without the spending page over it.
                      Check("opened",
                            [] {
                                GetApp().SetDialog(false, std::make_shared<CActorInfoDlg>(&GetApp(), &Main()));
                                return CurrentTitle();
                            }),
                      Wait(100),
                      Check("button", [] { return ButtonState(CActorInfoDlg::kSpendPoints); }),
                      ClickId(CActorInfoDlg::kSpendPoints),
                      Wait(100),
                      Check("spend", [] { return CurrentKind() + " " + CurrentTitle(); }),
                      ClickId(CAttribDlg::kDone),
                      Wait(100),
                      Check("after", [] { return CurrentKind() + " " + CurrentTitle(); }),
                  });
    Observed run = driver.Execute(steps);
    EXPECT_TRUE(run.exited) << run.log;
    const std::string points = run.checks["points"];
    ASSERT_NE(points.rfind("0 ", 0), 0u) << "attribute points are due: " << points;
    ASSERT_NE(points.substr(points.find(' ') + 1), "0") << "skill picks remain: " << points;
    EXPECT_EQ(run.checks["opened"], "Wren - Information");
    EXPECT_EQ(run.checks["button"], "Spend Level Points (highlighted)");
    EXPECT_EQ(run.checks["spend"], "attributes Wren");
    EXPECT_EQ(run.checks["after"], "skills Wren");
}

TEST(ActorSheet, SkillsBoxSkillNameAndManualAnchor) {
    const DRAV::SkillId skill = FirstFighterSkill();
    ASSERT_NE(skill, DRAV::SKILL_NONE);
    Driver driver;
    std::vector<Step> steps = Opening(false);
    Append(steps, {
                      Check("page",
                            [] {
                                GetApp().ShowActorInfo(Main());
                                return CurrentKind();
                            }),
                      Wait(100),
                      RightClickId(CActorInfoDlg::kSkillsBox),
                      Wait(100),
                      Check("skills", CurrentKind),
                      RightClickId(CSkillsDlg::kFirstName + skill),
                      Wait(100),
                      Check("skill", [] { return CurrentKind() + " " + CurrentTitle(); }),
                      Screenshot("skill_page"),
                      Wait(50),
                      ClickId(CSkillDlg::kManual),
                      Wait(100),
                      Check("after", CurrentKind),
                  });
    Observed run = driver.Execute(steps);
    EXPECT_TRUE(run.exited) << run.log;
    EXPECT_EQ(run.checks["page"], "information");
    EXPECT_EQ(run.checks["skills"], "skills");
    EXPECT_EQ(run.checks["skill"], "skill " + DRAV::GetSkillName(skill));
    EXPECT_EQ(run.checks["after"], "skills");
    ASSERT_EQ(run.browser.size(), 1u) << run.log;
    const std::string anchor = "#skill_" + DRAV::GetSkillKey(skill);
    EXPECT_TRUE(run.browser[0].ends_with(anchor)) << run.browser[0];
    KeepScreen(run, "skill_page");
}

TEST(ActorSheet, TheFactionLineOpensTheGuildsRanksAndItsManualEntry) {
    Driver driver;
    std::vector<Step> steps = Opening(false);
    Append(steps, {
                      Check("page",
                            [] {
                                const DRAV::CModule& module = *GetApp().GetEngine()->GetModule();
                                Main().SetFaction(DRAV::FindFaction(module.GetFactions(), "ferrymen"), 1);
                                GetApp().ShowActorInfo(Main());
                                return CurrentKind();
                            }),
                      Wait(100),
                      RightClickId(CActorInfoDlg::kFactionLine),
                      Wait(100),
                      Check("faction", CurrentTitle),
                      ClickId(CFactionDlg::kFirstRank + 1),
                      Wait(100),
                      Check("rank",
                            [] {
                                auto* dialog = dynamic_cast<CFactionDlg*>(GetApp().GetCurrentDialog().get());
                                return dialog ? std::to_string(dialog->GetSelectedRank()) : CurrentTitle();
                            }),
                      Screenshot("faction_page"),
                      Wait(50),
                      ClickId(CFactionDlg::kManual),
                      Wait(100),
                      Check("after", CurrentKind),
                  });
    Observed run = driver.Execute(steps);
    EXPECT_TRUE(run.exited) << run.log;
    EXPECT_EQ(run.checks["page"], "information");
    EXPECT_EQ(run.checks["faction"], "The Ferrymen's Guild");
    EXPECT_EQ(run.checks["rank"], "1");
    EXPECT_EQ(run.checks["after"], "information");
    ASSERT_EQ(run.browser.size(), 1u) << run.log;
    EXPECT_TRUE(run.browser[0].ends_with("#faction_ferrymen")) << run.browser[0];
    KeepScreen(run, "faction_page");
}

}  // namespace
