#include <gtest/gtest.h>

#include <memory>
#include <sstream>
#include <string>

#include "app_test_access.h"
#include "common/exception.h"
#include "dialog_test_support.h"
#include "sheet_test_support.h"
#include "game/dialogs/sheet/actor_info_dlg.h"
#include "game/dialogs/creation/attrib_dlg.h"
#include "game/dialogs/sheet/faction_dlg.h"
#include "game/dialogs/play/leave_party_confirm.h"
#include "game/dialogs/creation/skills_dlg.h"
#include "game/dialogs/sheet/spell_effects_dlg.h"
#include "game/dialogs/text_dlg.h"
#include "platform/win32/virtual_keys.h"
#include "rules/definitions/faction.h"
#include "rules/kinds/modifiers.h"
#include "rules/kinds/number_texts.h"
#include "rules/magic/spell_apply.h"
#include "rules/module.h"
#include "rules/vocabulary/actor_class.h"
#include "rules/vocabulary/gender_race.h"
#include "rules/vocabulary/skills.h"
#include "support/sample_game.h"
#include "ui/info_icons.h"
#include "ui/ui_button.h"
#include "ui/ui_group.h"
#include "ui/ui_manager.h"
#include "ui/ui_static_text.h"
#include "ui/ui_text_element.h"
#include "world/actor.h"
#include "world/game.h"

namespace {

using namespace DRAV;

// An effect that changes one modifier of its bearer by `amount`.
void AddModifier(CActor& actor, ModifierIndex index, std::int32_t amount) {
    auto applied = std::make_shared<CSpellApply>("Test Ward", CDamageType{}, 0, 0, true, false);
    applied->GetParts().push_back(std::make_shared<CSpellApplyEffectModify>(0, ModifierBit(index), amount));
    actor.AppendEffects({applied});
}

// Sets the actor's attack action speed to `speed` whatever its skills add.
void SetAttackSpeed(CActor& actor, std::int32_t speed) {
    const std::int32_t now = actor.GetActionSpeed(ACTIONKIND_ATTACK, nullptr);
    actor.SetBaseActionSpeed(actor.GetBaseActionSpeed() + speed - now);
    ASSERT_EQ(actor.GetActionSpeed(ACTIONKIND_ATTACK, nullptr), speed);
}

// The text between `from` and `to` (exclusive), or "" when either is missing.
std::string Between(const std::string& text, const std::string& from, const std::string& to) {
    const auto start = text.find(from);
    if (start == std::string::npos) return "";
    const auto end = text.find(to, start + from.size());
    if (end == std::string::npos) return "";
    return text.substr(start + from.size(), end - start - from.size());
}

// The shell over Wren's game with a companion, Tamsin; no dialog open.
class ActorInfoTest : public QuillmereTest::WrensSheetTest {
protected:
    ActorInfoTest() : WrensSheetTest(true) { app().LayoutGameScreen(); }
    std::shared_ptr<CActorInfoDlg> Open(CActor& actor) {
        auto page = std::make_shared<CActorInfoDlg>(&app(), &actor);
        app().SetDialog(false, page);
        return page;
    }
    // Widgets in draw order, groups flattened.
    std::vector<DRAVUI::CUIElement*> Elements() {
        std::vector<DRAVUI::CUIElement*> out;
        for (const auto& element : app().GetUIManager().GetElements()) {
            if (auto* group = dynamic_cast<DRAVUI::CUIGroup*>(element.get())) {
                for (const auto& child : group->GetChildren()) out.push_back(child.get());
            } else {
                out.push_back(element.get());
            }
        }
        return out;
    }
    // The widget with `id` and the `count` widgets added after it.
    std::vector<DRAVUI::CUIElement*> Row(int id, std::size_t count) {
        std::vector<DRAVUI::CUIElement*> all = Elements();
        for (std::size_t i = 0; i < all.size(); ++i) {
            if (all[i]->GetId() != id) continue;
            std::vector<DRAVUI::CUIElement*> row(all.begin() + i, all.begin() + std::min(all.size(), i + 1 + count));
            return row;
        }
        return {};
    }
    static std::string TextOf(DRAVUI::CUIElement* element) {
        auto* text = dynamic_cast<DRAVUI::CUIStaticText*>(element);
        return text ? text->m_text : "<not a text>";
    }
    DRAVUI::CUITextButton* Button(int id) {
        for (auto* element : Elements())
            if (element->GetId() == id) return dynamic_cast<DRAVUI::CUITextButton*>(element);
        return nullptr;
    }
    RECT SpecialStatsRect() {
        // The only scrolling text with id 0 after the page's boxes.
        RECT rect{};
        for (auto* element : Elements())
            if (element->GetId() == 0 && dynamic_cast<DRAVUI::CUITextElement*>(element)) rect = *element->GetRect();
        return rect;
    }
};

TEST_F(ActorInfoTest, AttributeRowsShowTheValueAndItsSignedBonus) {
    EXPECT_EQ(CActorInfoDlg::AttributeBonus(10), 0);
    EXPECT_EQ(CActorInfoDlg::AttributeBonus(11), 2);
    EXPECT_EQ(CActorInfoDlg::AttributeBonus(9), -2);
    EXPECT_EQ(CActorInfoDlg::AttributeBonus(14), 10);
    EXPECT_EQ(CActorInfoDlg::AttributeBonus(5), -12);

    const std::pair<std::uint32_t, const char*> rows[] = {{10, "0"}, {11, "+2"}, {9, "-2"}, {14, "+10"}};
    const std::int32_t modifier = wren().GetModifier(MOD_STRENGTH);
    for (const auto& [value, bonus] : rows) {
        wren().SetAttribute(ATTR_STRENGTH, value - modifier);
        Open(wren());
        const auto row = Row(CActorInfoDlg::kFirstAttributeName, 2);
        ASSERT_EQ(row.size(), 3u);
        EXPECT_EQ(TextOf(row[0]), "Strength");
        EXPECT_EQ(TextOf(row[1]), std::to_string(value));
        EXPECT_EQ(TextOf(row[2]), bonus);
        EXPECT_EQ(row[2]->GetInfo().title, "Bonus");
        EXPECT_EQ(row[2]->GetInfo().text, std::string(bonus) + " to melee attack and damage.");
        EXPECT_EQ(row[2]->GetInfo().actionHint, "");
        EXPECT_EQ(row[0]->GetInfo().actionHint, "View Manual");
        CDRAVAppTestAccess::DropDialogs(app());
    }
}

TEST_F(ActorInfoTest, SpeedLinesShowTheSpeedAndTheDoubleAttackShare) {
    const std::pair<std::int32_t, const char*> lines[] = {
        {25, " (+25) (x2 50%) LINE "}, {20, " (+20) LINE "}, {-3, " (-3) LINE "}, {0, " LINE "}};
    for (const auto& [speed, tail] : lines) {
        SetAttackSpeed(wren(), speed);
        std::ostringstream out;
        CActorInfoDlg::WriteSpeedLine(out, wren(), "Attack Speed", ACTIONKIND_ATTACK);
        std::ostringstream seconds;
        seconds << std::fixed;
        seconds.precision(1);
        seconds << wren().GetAttackTime(ACTIONKIND_ATTACK, nullptr, nullptr);
        EXPECT_EQ(out.str(), "Attack Speed: " + seconds.str() + tail) << speed;
    }
    // Casting never attacks twice.
    SetAttackSpeed(wren(), 25);
    std::ostringstream cast;
    CActorInfoDlg::WriteSpeedLine(cast, wren(), "Casting Speed", ACTIONKIND_CAST);
    EXPECT_EQ(cast.str().find("x2"), std::string::npos) << cast.str();
}

TEST_F(ActorInfoTest, WandsAndSingingLinesSitBeforeTheSpeedLines) {
    auto blockBeforeSpeed = [&] {
        return Between(CActorInfoDlg::SpecialStatsText(wren(), m_game.Game()), "Observation: ", "Attack Speed: ");
    };
    wren().RemoveSkill(SKILL_WANDS);
    wren().RemoveSkill(SKILL_SINGING);
    const std::string observation = std::to_string(wren().GetSpecialStat(SPECIAL_OBSERVATION));
    EXPECT_EQ(blockBeforeSpeed(), observation + " LINE  LINE ");

    wren().AddSkill(SKILL_SINGING);
    const std::string singing = "Singing: " + std::to_string(wren().GetSkillValue(SKILL_SINGING));
    EXPECT_EQ(blockBeforeSpeed(), observation + " LINE LINE " + singing + " LINE  LINE ");

    wren().AddSkill(SKILL_WANDS);
    const std::string tier = std::to_string(wren().GetMaxSpellTier());
    wren().SetClass(CLASS_FIGHTER);
    EXPECT_EQ(blockBeforeSpeed(),
              observation + " LINE LINE Wands Spell Tier: " + tier + " LINE " + singing + " LINE  LINE ");

    wren().RemoveSkill(SKILL_SINGING);
    wren().SetClass(CLASS_ROGUE);
    const std::string adventurerTier = std::to_string(wren().GetMaxSpellTier() + 2);
    EXPECT_EQ(blockBeforeSpeed(), observation + " LINE LINE Wands Spell Tier: " + adventurerTier + " LINE  LINE ");
}

TEST_F(ActorInfoTest, ModifierLinesAppearOnlyWhenTheyChangeSomething) {
    const std::string plain = CActorInfoDlg::SpecialStatsText(wren(), m_game.Game());
    EXPECT_EQ(plain.find("Spell Nullification"), std::string::npos);
    EXPECT_EQ(plain.find("Casting Modifier"), std::string::npos);
    EXPECT_EQ(plain.find("Summon Time"), std::string::npos);

    AddModifier(wren(), MOD_SPELL_NULLIFICATION, -50);
    EXPECT_EQ(CActorInfoDlg::SpecialStatsText(wren(), m_game.Game()).find("Spell Nullification"), std::string::npos);
    AddModifier(wren(), MOD_SPELL_NULLIFICATION, 60);  // -50 + 60 = 10
    EXPECT_NE(CActorInfoDlg::SpecialStatsText(wren(), m_game.Game()).find("LINE Spell Nullification: 60 LINE "),
              std::string::npos);

    AddModifier(tamsin(), MOD_CASTING, -5);
    EXPECT_NE(CActorInfoDlg::SpecialStatsText(tamsin(), m_game.Game()).find("LINE Casting Modifier: -5 LINE "),
              std::string::npos);
    AddModifier(tamsin(), MOD_CASTING, 10);
    EXPECT_NE(CActorInfoDlg::SpecialStatsText(tamsin(), m_game.Game()).find("LINE Casting Modifier: +5 LINE "),
              std::string::npos);
}

TEST_F(ActorInfoTest, NegativeRecoveriesNullificationAndAPastSummonAreNeverHugeNumbers) {
    wren().SetAttribute(ATTR_DURABILITY, 1);
    AddModifier(wren(), MOD_DURABILITY, -6 - wren().GetModifier(MOD_DURABILITY));  // effective -5
    wren().SetHealsReceived(1);
    AddModifier(wren(), MOD_SPELL_NULLIFICATION, -70);
    const std::string text = CActorInfoDlg::SpecialStatsText(wren(), m_game.Game());
    EXPECT_NE(text.find("Recoveries: -2 (-3 remaining) LINE LINE "), std::string::npos) << text;
    EXPECT_NE(text.find("Spell Nullification: -20 LINE "), std::string::npos) << text;

    const std::uint32_t now = m_game.Game().GetTick();
    tamsin().SetSummonEndTick(now + 90);
    EXPECT_NE(CActorInfoDlg::SpecialStatsText(tamsin(), m_game.Game()).find("Summon Time: " + FormatDuration(90)),
              std::string::npos);
    m_game.Game().SetTick(now + 200);
    EXPECT_NE(CActorInfoDlg::SpecialStatsText(tamsin(), m_game.Game()).find("Summon Time: " + FormatDuration(0) +
                                                                            " LINE LINE "),
              std::string::npos);
}

TEST_F(ActorInfoTest, DetailTextsForAttackDefenseAndResistances) {
    const CModule& module = m_game.Module();
    ASSERT_NE(wren().GetFightingStyle(), SKILL_DUAL_WIELD_STYLE);
    EXPECT_EQ(CActorInfoDlg::AttackDetailsText(CActorInfoDlg::kOffhandRow, wren(), module), "No offhand weapon. LINE ");

    const std::string attack = CActorInfoDlg::AttackDetailsText(CActorInfoDlg::kAttackRow, wren(), module);
    EXPECT_NE(attack.find("Flank Attack: "), std::string::npos);
    EXPECT_EQ(attack.find("Sneak Attack: "), std::string::npos);
    wren().AddSkill(SKILL_SNEAK);
    EXPECT_NE(CActorInfoDlg::AttackDetailsText(CActorInfoDlg::kDamageRow, wren(), module).find("Sneak Damage: "),
              std::string::npos);

    const std::string defense = CActorInfoDlg::AttackDetailsText(CActorInfoDlg::kDefenseRow, wren(), module);
    const std::string last = "Defense Class (Touch): " + std::to_string(wren().GetDefenseClass(true, nullptr));
    ASSERT_GE(defense.size(), last.size());
    EXPECT_EQ(defense.substr(defense.size() - last.size()), last);
    try {
        CActorInfoDlg::AttackDetailsText(1234, wren(), module);
        ADD_FAILURE() << "no failure for an unknown row";
    } catch (const CDRAVException& failure) {
        EXPECT_EQ(failure.GetCode(), 2);
    }

    std::string breakdown;
    const CDamageType energetic{DAMAGE_ENERGETIC, ELEMENT_NONE};
    wren().GetCategoryResistance(energetic, &breakdown);
    EXPECT_EQ(CActorInfoDlg::ResistanceDetailsText(DAMAGE_ENERGETIC, wren()), breakdown);
    AddModifier(wren(), MOD_RESIST_FIRE, 4);
    const std::string withFire = CActorInfoDlg::ResistanceDetailsText(DAMAGE_ENERGETIC, wren());
    const CDamageType fire{DAMAGE_ENERGETIC, ELEMENT_FIRE};
    EXPECT_NE(withFire.find("Energetic/Fire: " + std::to_string(wren().GetCategoryResistance(fire, nullptr)) +
                            " LINE LINE "),
              std::string::npos)
        << withFire;
    EXPECT_EQ(withFire.find("Energetic/Cold"), std::string::npos);
    EXPECT_EQ(withFire.find("Material/"), std::string::npos);
}

TEST_F(ActorInfoTest, TheButtonFollowsDeathTheMainTagAndPointsToSpend) {
    struct Case {
        const char* what;
        bool dead;
        const char* tag;
        std::uint32_t points;
        int button;
    };
    const Case cases[] = {
        {"dead companion", true, "ferryman_elder", 0, CActorInfoDlg::kLeaveParty},
        {"dead main character", true, "main", 0, 0},
        // Only the whole tag "main" is the main character.
        {"dead, empty tag", true, "", 0, CActorInfoDlg::kLeaveParty},
        {"dead, partial tag", true, "ma", 0, CActorInfoDlg::kLeaveParty},
        {"dead with points", true, "ferryman_elder", 3, CActorInfoDlg::kLeaveParty},
        {"living with points", false, "ferryman_elder", 3, CActorInfoDlg::kSpendPoints},
    };
    for (const Case& c : cases) {
        tamsin().SetActionState(c.dead ? ACTION_DEAD : ACTION_IDLE);
        tamsin().SetTemplateName(c.tag);
        tamsin().SetUnspentPoints(c.points);
        auto page = Open(tamsin());
        for (int id : {CActorInfoDlg::kLeaveParty, CActorInfoDlg::kSpendPoints}) {
            auto* button = Button(id);
            EXPECT_EQ(button != nullptr, id == c.button) << c.what << " " << id;
            if (button && id == CActorInfoDlg::kLeaveParty) {
                EXPECT_EQ(button->m_label, "Leave Party");
            }
            if (button && id == CActorInfoDlg::kSpendPoints) {
                EXPECT_EQ(button->m_label, "Spend Level Points");
                EXPECT_TRUE(button->HasFlag(DRAVUI::UIF_SELECTED));
            }
        }
        const auto hitPoints = Row(CActorInfoDlg::kHitPointsRow, 1);
        ASSERT_EQ(hitPoints.size(), 2u);
        EXPECT_EQ(TextOf(hitPoints[1]) == "Dead", c.dead) << c.what;
        CDRAVAppTestAccess::DropDialogs(app());
    }
}

TEST_F(ActorInfoTest, TheSpecialStatisticsBoxMakesRoomForAButtonOnly) {
    tamsin().SetClass(CLASS_MONSTER);  // no skill picks
    tamsin().SetUnspentPoints(0);
    Open(tamsin());
    ASSERT_EQ(Button(CActorInfoDlg::kSpendPoints), nullptr);
    const RECT full = SpecialStatsRect();
    CDRAVAppTestAccess::DropDialogs(app());
    tamsin().SetUnspentPoints(2);
    Open(tamsin());
    ASSERT_NE(Button(CActorInfoDlg::kSpendPoints), nullptr);
    EXPECT_EQ(full.bottom - SpecialStatsRect().bottom, 48);
    EXPECT_EQ(full.top, SpecialStatsRect().top);
}

// The portrait's arrow says what is left to spend, whatever pages were seen.
TEST_F(ActorInfoTest, ThePortraitKeepsItsLevelUpArrowUntilEveryPointIsSpent) {
    const auto arrow = [&] {
        app().LayoutGameScreen();
        return Row(100, 0).at(0)->GetInfo().icon == DRAVUI::IMAGE_LEVEL;
    };
    wren().SetClass(CLASS_FIGHTER);
    wren().SetExperience(100000);
    ASSERT_TRUE(wren().AdvanceLevel());
    Open(wren())->OnButton(CActorInfoDlg::kSpendPoints);
    ASSERT_EQ(app().GetCoveredDialogs().size(), 1u) << "the spending page opens over the page";
    CDRAVAppTestAccess::DropDialogs(app());
    EXPECT_TRUE(arrow()) << "closed with a point unspent";
    wren().SetClass(CLASS_MONSTER);  // no skill picks
    wren().SetUnspentPoints(0);
    EXPECT_FALSE(arrow());
}

TEST_F(ActorInfoTest, SpendingOpensTheAttributePageFirstThenTheSkillsPage) {
    std::int32_t classPicks = 0, generalPicks = 0;
    tamsin().SetUnspentPoints(2);
    auto page = Open(tamsin());
    std::shared_ptr<CDRAVDlg> dialog;
    ASSERT_TRUE(page->MakeSpendPointsDlg(dialog));
    EXPECT_NE(std::dynamic_pointer_cast<CAttribDlg>(dialog), nullptr);

    wren().SetClass(CLASS_FIGHTER);
    wren().SetUnspentPoints(0);
    wren().SetExperience(100000);
    while (wren().AdvanceLevel()) {
    }
    wren().GetUnspentSkillPicks(classPicks, generalPicks);
    ASSERT_GT(classPicks + generalPicks, 0);
    wren().SetUnspentPoints(0);
    auto wrenPage = std::make_shared<CActorInfoDlg>(&app(), &wren());
    dialog.reset();
    ASSERT_TRUE(wrenPage->MakeSpendPointsDlg(dialog));
    EXPECT_NE(std::dynamic_pointer_cast<CSkillsDlg>(dialog), nullptr);

    wren().SetActionState(ACTION_DEAD);
    dialog.reset();
    EXPECT_FALSE(wrenPage->MakeSpendPointsDlg(dialog));
    EXPECT_EQ(dialog, nullptr);

    // The button covers the page with the spending page.
    tamsin().SetUnspentPoints(2);
    EXPECT_FALSE(page->OnButton(CActorInfoDlg::kSpendPoints));
    EXPECT_NE(std::dynamic_pointer_cast<CAttribDlg>(app().GetCurrentDialog()), nullptr);
    EXPECT_EQ(app().GetCoveredDialogs().back(), page);
}

TEST_F(ActorInfoTest, LeavePartyAsksThenYesTakesTheMemberOutOfTheParty) {
    app().LayoutGameScreen();
    auto portraits = [&] {
        int count = 0;
        for (int id : m_shell.ScreenIds()) count += id >= 100 && id <= 198 && (id - 100) % 5 == 0;
        return count;
    };
    ASSERT_EQ(portraits(), 2);

    tamsin().SetActionState(ACTION_DEAD);
    auto page = Open(tamsin());
    ASSERT_TRUE(page->OnButton(CActorInfoDlg::kLeaveParty));
    app().CloseDialog(CActorInfoDlg::kLeaveParty);
    auto confirm = std::dynamic_pointer_cast<CLeavePartyConfirm>(app().GetCurrentDialog());
    ASSERT_NE(confirm, nullptr);
    EXPECT_EQ(confirm->GetTitle(), "Leave Party?");
    EXPECT_EQ(confirm->GetQuestion(),
              "Are you certain that you want to remove Tamsin from the party? That character will be lost forever.");
    EXPECT_TRUE(app().GetCoveredDialogs().empty());

    // "No" keeps her.
    ASSERT_TRUE(confirm->OnButton(CYesNoDlg::kNo));
    app().CloseDialog(CYesNoDlg::kNo);
    EXPECT_EQ(m_game.Game().GetParty().size(), 2u);

    page = Open(tamsin());
    ASSERT_TRUE(page->OnButton(CActorInfoDlg::kLeaveParty));
    app().CloseDialog(CActorInfoDlg::kLeaveParty);
    ASSERT_TRUE(app().GetCurrentDialog()->OnButton(CYesNoDlg::kYes));
    app().CloseDialog(CYesNoDlg::kYes);
    EXPECT_EQ(app().GetCurrentDialog(), nullptr);
    ASSERT_EQ(m_game.Game().GetParty().size(), 1u);
    EXPECT_EQ(m_game.Game().GetParty()[0].get(), &wren());
    EXPECT_EQ(portraits(), 1);
}

TEST_F(ActorInfoTest, RightClicksOpenDetailsSkillsEffectsAndFaction) {
    auto page = Open(wren());
    EXPECT_EQ(page->GetTitle(), "Wren - Information");

    const std::tuple<int, const char*, const char*> details[] = {
        {CActorInfoDlg::kAttackRow, "Attack Bonus", "Attack_Bonus"},
        {CActorInfoDlg::kDamageRow, "Attack Damage", "Attack_Damage"},
        {CActorInfoDlg::kOffhandRow, "Offhand Damage", "Attack_Damage"},
        {CActorInfoDlg::kDefenseRow, "Defense Class", "Defense_Class"},
        {CActorInfoDlg::kFirstResistanceRow, "Energetic", "Saving_Throws"},
        {CActorInfoDlg::kFirstResistanceRow + 2, "Spiritual", "Saving_Throws"},
    };
    for (const auto& [id, title, anchor] : details) {
        EXPECT_FALSE(page->OnAltClick(id));
        auto text = std::dynamic_pointer_cast<CTextDlg>(app().GetCurrentDialog());
        ASSERT_NE(text, nullptr) << id;
        EXPECT_EQ(text->GetTitle(), title);
        EXPECT_EQ(text->GetManualAnchor(), anchor);
        EXPECT_TRUE(app().DeliverKeyToDialog(VK_ESCAPE, false));
        EXPECT_EQ(app().GetCurrentDialog(), page) << id;
    }

    EXPECT_FALSE(page->OnAltClick(CActorInfoDlg::kSkillsBox));
    EXPECT_NE(std::dynamic_pointer_cast<CSkillsDlg>(app().GetCurrentDialog()), nullptr);
    app().CloseDialog(0);
    EXPECT_FALSE(page->OnAltClick(CActorInfoDlg::kEffectsBox));
    EXPECT_NE(std::dynamic_pointer_cast<CSpellEffectsDlg>(app().GetCurrentDialog()), nullptr);
    app().CloseDialog(0);
    ASSERT_EQ(app().GetCurrentDialog(), page);

    // Without a faction the line is plain text and its id does nothing.
    ASSERT_EQ(wren().GetFaction(), nullptr);
    EXPECT_EQ(Row(CActorInfoDlg::kFactionLine, 0).size(), 0u);
    EXPECT_FALSE(page->OnAltClick(CActorInfoDlg::kFactionLine));
    EXPECT_EQ(app().GetCurrentDialog(), page);

    const CFaction* guild = FindFaction(m_game.Module().GetFactions(), "ferrymen");
    ASSERT_NE(guild, nullptr);
    wren().SetFaction(guild, 1);
    app().LayoutGameScreen();
    const auto line = Row(CActorInfoDlg::kFactionLine, 0);
    ASSERT_EQ(line.size(), 1u);
    EXPECT_EQ(line[0]->GetInfo().title, "The Ferrymen's Guild");
    EXPECT_EQ(line[0]->GetInfo().actionHint, "Faction Info");
    EXPECT_FALSE(page->OnAltClick(CActorInfoDlg::kFactionLine));
    auto faction = std::dynamic_pointer_cast<CFactionDlg>(app().GetCurrentDialog());
    ASSERT_NE(faction, nullptr);
    EXPECT_EQ(faction->GetTitle(), "The Ferrymen's Guild");
}

TEST_F(ActorInfoTest, IdentityVitalsAndSkillsLines) {
    wren().SetClass(CLASS_FIGHTER);
    wren().SetDamageTaken(wren().GetMaxHitPoints() + 4);
    wren().SetEnergyUsed(wren().GetMaxEnergy() + 7);
    Open(wren());
    const auto hitPoints = Row(CActorInfoDlg::kHitPointsRow, 1);
    ASSERT_EQ(hitPoints.size(), 2u);
    EXPECT_EQ(TextOf(hitPoints[1]), "-4/" + std::to_string(wren().GetMaxHitPoints()));
    const auto energy = Row(CActorInfoDlg::kEnergyRow, 1);
    ASSERT_EQ(energy.size(), 2u);
    EXPECT_EQ(TextOf(energy[1]), "0/" + std::to_string(wren().GetMaxEnergy()));
    EXPECT_EQ(energy[0]->GetInfo().title, "Energy Points");

    const auto classLine = Row(CActorInfoDlg::kClassLine, 0);
    ASSERT_EQ(classLine.size(), 1u);
    EXPECT_EQ(TextOf(classLine[0]).rfind(GetClassName(wren().GetClass()) + " " + std::to_string(wren().GetLevel()), 0),
              0u)
        << TextOf(classLine[0]);
    CDRAVAppTestAccess::DropDialogs(app());

    // The next threshold shown is the one the member levels at. Tamsin, made from a
    // definition with two base levels, needs more than a hero of her class level.
    Open(tamsin());
    const std::string needed = std::to_string(tamsin().GetNextLevelExperience());
    EXPECT_EQ(Between(TextOf(Row(CActorInfoDlg::kClassLine, 0).at(0)), "/", ")"), needed);
    tamsin().SetExperience(std::stoul(needed) - 1);
    EXPECT_FALSE(tamsin().AdvanceLevel());
    tamsin().SetExperience(std::stoul(needed));
    EXPECT_TRUE(tamsin().AdvanceLevel());
    CDRAVAppTestAccess::DropDialogs(app());

    // A Common actor shows its race in the class line.
    tamsin().SetClass(CLASS_MONSTER);
    Open(tamsin());
    EXPECT_EQ(TextOf(Row(CActorInfoDlg::kClassLine, 0).at(0)).rfind(GetRaceName(tamsin().GetRace()) + " ", 0), 0u)
        << TextOf(Row(CActorInfoDlg::kClassLine, 0).at(0));

    // Monster skills are left out of the skills box.
    const SkillSet known = wren().GetSkills();
    for (SkillId skill : known) wren().RemoveSkill(skill);
    EXPECT_EQ(CActorInfoDlg::SkillsText(wren()), "Skills: LINE ");
    wren().AddSkill(SKILL_SINGING);
    for (int s = 0; s < kSkillCount; ++s) {
        if (GetSkillInfo(static_cast<SkillId>(s)).skillClass != CLASS_MONSTER) continue;
        wren().AddSkill(static_cast<SkillId>(s));
        break;
    }
    EXPECT_EQ(CActorInfoDlg::SkillsText(wren()), "Skills: LINE Singing LINE ");
}

}  // namespace
