#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "app_test_access.h"
#include "dialog_test_support.h"
#include "sheet_test_support.h"
#include "game/dialogs/sheet/faction_dlg.h"
#include "game/dialogs/sheet/skill_dlg.h"
#include "game/dialogs/creation/skills_dlg.h"
#include "game/dialogs/sheet/spell_dlg.h"
#include "rules/definitions/faction.h"
#include "rules/descriptions/definition_descriptions.h"
#include "rules/magic/spell.h"
#include "rules/module.h"
#include "rules/rules_test_util.h"
#include "rules/vocabulary/skills.h"
#include "support/sample_game.h"
#include "ui/ui_button.h"
#include "ui/ui_list_element.h"
#include "world/actor.h"
#include "world/game.h"

namespace {

using namespace DRAV;

std::vector<std::string> Labels(DRAVUI::CUIListElement& list) {
    std::vector<std::string> labels;
    for (const auto& cell : list.GetColumn(0))
        if (auto* button = dynamic_cast<DRAVUI::CUITextButton*>(cell.get())) labels.push_back(button->m_label);
    return labels;
}

std::vector<int> SelectedIds(DRAVUI::CUIListElement& list) {
    std::vector<int> ids;
    for (const auto& cell : list.GetColumn(0))
        if (cell->HasFlag(DRAVUI::UIF_SELECTED)) ids.push_back(cell->GetId());
    return ids;
}

class SkillFactionDlgTest : public QuillmereTest::WrensSheetTest {
protected:
    SkillFactionDlgTest() : WrensSheetTest(false) {}
    const CSpell& Spell(const std::string& key) { return *m_game.Module().GetSpells().at(key); }
    const CFaction& Guild() { return *FindFaction(m_game.Module().GetFactions(), "ferrymen"); }

};

TEST_F(SkillFactionDlgTest, RanksShowTheFemaleTitleOnlyWhenItDiffers) {
    const FactionMap factions = [] {
        FactionMap map;
        auto reader = RulesTest::ReaderOver(
            "<factions> <faction> oars \"Oars\" \"H\" \"T\" <rank> \"Rower\" </rank>"
            " <rank> <name> \"Cox\" \"Cox\" </name> </rank> <rank> <name> \"Steerer\" \"\" </name> </rank>"
            " </faction> </factions>");
        ParseFactions(map, *reader);
        return map;
    }();
    const CFaction& oars = *factions.at("oars");
    EXPECT_EQ(CFactionDlg::RankLabel(oars, 0), "Rank 1: Rower");
    EXPECT_EQ(CFactionDlg::RankLabel(oars, 1), "Rank 2: Cox");
    EXPECT_EQ(CFactionDlg::RankLabel(oars, 2), "Rank 3: Steerer");
    EXPECT_EQ(CFactionDlg::RankLabel(Guild(), 1), "Rank 2: Ferrymaster/Ferrymistress");

    EXPECT_EQ(CFactionDlg::AbilityLabel(Spell("still_water"), SKILL_NONE), "Still Water (Spell Tier 2)");
    const CSpell& sight = Spell("river_sight");
    std::string parts;
    if (sight.GetLevel() != -1) parts += "Level " + std::to_string(sight.GetLevel()) + ", ";
    if (sight.GetTier() != -1) parts += "Spell Tier " + std::to_string(sight.GetTier()) + ", ";
    EXPECT_EQ(CFactionDlg::AbilityLabel(sight, SKILL_SNEAK), sight.GetName() + " (" + parts + "Stealth)");
}

TEST_F(SkillFactionDlgTest, FactionPageListsTheChosenRanksAbilitiesAndMarksKnownOnes) {
    wren().AddSpell(Spell("river_sight"));
    auto dialog = std::make_shared<CFactionDlg>(&app(), &Guild(), &wren());
    app().SetDialog(false, dialog);
    EXPECT_EQ(dialog->GetTitle(), "The Ferrymen's Guild");
    ASSERT_NE(dialog->GetRanksList(), nullptr);
    EXPECT_EQ(Labels(*dialog->GetRanksList()),
              (std::vector<std::string>{"Rank 1: Deckhand", "Rank 2: Ferrymaster/Ferrymistress",
                                        "Rank 3: Harbourmaster/Harbourmistress"}));
    EXPECT_EQ(SelectedIds(*dialog->GetRanksList()), std::vector<int>{100});
    EXPECT_EQ(Labels(*dialog->GetAbilitiesList()), std::vector<std::string>{"Still Water (Spell Tier 2)"});
    EXPECT_EQ(dialog->GetAbilitiesList()->GetColumn(0).at(0)->GetId(), 1000);
    EXPECT_TRUE(SelectedIds(*dialog->GetAbilitiesList()).empty());

    const std::size_t sounds = m_shell.audio->played.size();
    EXPECT_FALSE(dialog->OnButton(101));
    EXPECT_EQ(m_shell.audio->played.size(), sounds + 1);
    EXPECT_EQ(dialog->GetSelectedRank(), 1);
    EXPECT_EQ(SelectedIds(*dialog->GetRanksList()), std::vector<int>{101});
    ASSERT_EQ(dialog->GetAbilitiesList()->GetColumn(0).size(), 1u);
    EXPECT_EQ(dialog->GetAbilitiesList()->GetColumn(0)[0]->GetId(), 1001);
    EXPECT_EQ(SelectedIds(*dialog->GetAbilitiesList()), std::vector<int>{1001});

    // A rank without abilities, then the ability's page over the dialog and back.
    EXPECT_FALSE(dialog->OnButton(102));
    EXPECT_TRUE(dialog->GetAbilitiesList()->GetColumn(0).empty());
    EXPECT_FALSE(dialog->OnButton(101));
    EXPECT_FALSE(dialog->OnButton(1001));
    auto spell = std::dynamic_pointer_cast<CSpellDlg>(app().GetCurrentDialog());
    ASSERT_NE(spell, nullptr);
    EXPECT_EQ(spell->GetTitle(), Spell("river_sight").GetName());
    app().CloseDialog(0);
    ASSERT_EQ(app().GetCurrentDialog(), dialog);
    EXPECT_EQ(dialog->GetSelectedRank(), 1);

    EXPECT_FALSE(dialog->OnButton(0));
    EXPECT_TRUE(dialog->OnButton(CFactionDlg::kDone));
    EXPECT_TRUE(dialog->OnButton(CFactionDlg::kManual));
}

TEST_F(SkillFactionDlgTest, AFactionSpellNamingNoSpellGetsNoRowAndNoPage) {
    FactionMap factions;
    auto reader = RulesTest::ReaderOver(
        "<factions> <faction> oars \"Oars\" \"H\" \"T\" <rank> \"Rower\" lost_spell still_water </rank>"
        " </faction> </factions>");
    ParseFactions(factions, *reader);
    auto dialog = std::make_shared<CFactionDlg>(&app(), factions.at("oars").get(), nullptr);
    app().SetDialog(false, dialog);
    ASSERT_EQ(dialog->GetAbilitiesList()->GetColumn(0).size(), 1u);
    EXPECT_EQ(dialog->GetAbilitiesList()->GetColumn(0)[0]->GetId(), 1001);
    EXPECT_FALSE(dialog->OnButton(1000));
    EXPECT_EQ(app().GetCurrentDialog(), dialog);
    EXPECT_FALSE(dialog->OnButton(1005));
    EXPECT_EQ(app().GetCurrentDialog(), dialog);
}

TEST_F(SkillFactionDlgTest, SkillEntriesSayWhetherTheSchoolOrTheSecondSkillMatched) {
    const CSpell& mend = Spell("mend_wounds");
    ASSERT_NE(mend.GetSchool(), mend.GetSecondSkill());
    EXPECT_EQ(CSkillDlg::EntryLabel({1, &mend, true, false}), "Mend Wounds (Spell Tier 1) (x)");
    EXPECT_EQ(CSkillDlg::EntryLabel({1, &mend, false, true}), "Mend Wounds (Spell Tier 1) (y)");
    EXPECT_EQ(CSkillDlg::EntryLabel({1, &mend, true, true}), "Mend Wounds (Spell Tier 1)");

    for (const auto& [key, spell] : m_game.Module().GetSpells()) {
        if (spell->GetLevel() == -1 || spell->GetTier() != -1) continue;
        EXPECT_EQ(CSkillDlg::EntryLabel({spell->GetLevel(), spell.get(), true, true}),
                  spell->GetName() + " (Level " + std::to_string(spell->GetLevel()) + ")");
        break;
    }
}

TEST_F(SkillFactionDlgTest, SkillPageListsTheSkillsSpellsMarkingTheActorsOwn) {
    const SkillId second = Spell("mend_wounds").GetSecondSkill();
    std::vector<CSkillSpellEntry> entries;
    CollectSkillSpells(second, m_game.Module(), entries);
    ASSERT_FALSE(entries.empty());
    wren().AddSpell(Spell("mend_wounds"));

    auto dialog = std::make_shared<CSkillDlg>(&app(), second, &wren());
    app().SetDialog(false, dialog);
    EXPECT_EQ(dialog->GetTitle(), GetSkillName(second));
    const std::vector<std::string> labels = Labels(*dialog->GetList());
    ASSERT_EQ(labels.size(), entries.size());
    int mendRow = -1;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        EXPECT_EQ(labels[i], CSkillDlg::EntryLabel(entries[i]));
        if (entries[i].spell == &Spell("mend_wounds")) mendRow = static_cast<int>(i);
    }
    ASSERT_GE(mendRow, 0);
    EXPECT_EQ(labels[mendRow], "Mend Wounds (Spell Tier 1) (y)");
    EXPECT_EQ(SelectedIds(*dialog->GetList()), std::vector<int>{1000 + mendRow});

    EXPECT_FALSE(dialog->OnButton(1000 + mendRow));
    auto spell = std::dynamic_pointer_cast<CSpellDlg>(app().GetCurrentDialog());
    ASSERT_NE(spell, nullptr);
    app().CloseDialog(0);
    EXPECT_EQ(app().GetCurrentDialog(), dialog);
    EXPECT_FALSE(dialog->OnButton(1000 + static_cast<int>(entries.size())));
    EXPECT_EQ(app().GetCurrentDialog(), dialog);

    // Without an actor nothing is marked.
    auto nobody = std::make_shared<CSkillDlg>(&app(), second, nullptr);
    app().SetDialog(false, nobody);
    EXPECT_TRUE(SelectedIds(*nobody->GetList()).empty());
}

TEST_F(SkillFactionDlgTest, ASkillNobodyNamesHasAnEmptyList) {
    for (int s = 0; s < kSkillCount; ++s) {
        std::vector<CSkillSpellEntry> entries;
        CollectSkillSpells(static_cast<SkillId>(s), m_game.Module(), entries);
        if (!entries.empty()) continue;
        auto dialog = std::make_shared<CSkillDlg>(&app(), static_cast<SkillId>(s), &wren());
        app().SetDialog(false, dialog);
        EXPECT_TRUE(dialog->GetList()->GetColumn(0).empty());
        return;
    }
    FAIL() << "every skill names a spell";
}

TEST_F(SkillFactionDlgTest, RightClickOnASkillNameOfTheSkillsPageOpensItsPage) {
    auto skills = std::make_shared<CSkillsDlg>(&app(), &wren());
    app().SetDialog(false, skills);
    EXPECT_FALSE(skills->OnAltClick(CSkillsDlg::kFirstName + SKILL_SINGING));
    auto page = std::dynamic_pointer_cast<CSkillDlg>(app().GetCurrentDialog());
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(page->GetSkill(), SKILL_SINGING);
    EXPECT_EQ(app().GetCoveredDialogs().back(), skills);
    app().CloseDialog(CSkillDlg::kDone);
    EXPECT_EQ(app().GetCurrentDialog(), skills);
    EXPECT_FALSE(skills->OnAltClick(CSkillsDlg::kFirstBuy + SKILL_SINGING));
    EXPECT_EQ(app().GetCurrentDialog(), skills);
}

}  // namespace
