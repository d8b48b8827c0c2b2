#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>

#include "common/data_file_memory.h"
#include "dialog_test_support.h"
#include "engine/engine.h"
#include "game/dialogs/creation/attrib_dlg.h"
#include "game/dialogs/creation/cc_choice_dlg.h"
#include "game/dialogs/creation/cc_looks_dlg.h"
#include "game/dialogs/creation/cc_name_dlg.h"
#include "game/dialogs/front/intro_dlg.h"
#include "game/dialogs/front/new_game_dlg.h"
#include "game/dialogs/creation/skills_dlg.h"
#include "game/dialogs/front/start_dlg.h"
#include "game/dialogs/sheet/monster_dlg.h"
#include "game/dialogs/text_dlg.h"
#include "graphics/ui_font_draw.h"
#include "graphics/xp_device.h"
#include "platform/win32/file_path.h"
#include "platform/win32/virtual_keys.h"
#include "rules/kinds/formulas.h"
#include "rules/vocabulary/skills.h"
#include "support/temp_dir.h"
#include "ui/element_info.h"
#include "ui/ui_button.h"
#include "ui/ui_group.h"
#include "ui/ui_image.h"
#include "ui/ui_static_text.h"
#include "world/actor.h"
#include "world/game.h"

namespace {

using DRAVUI::UIF_SELECTED;
using DRAVUI::UIF_SHOWN;

// The shell on the sample with its documents folder in a folder of the test's
// own, driven through the dialog stack as the window procedure drives it.
class CreationTest : public ::testing::Test, protected QuillmereTest::ShellOnSample {
protected:
    CreationTest() { setenv("XDG_DOCUMENTS_DIR", (m_documents / "docs").c_str(), 1); }
    ~CreationTest() override { unsetenv("XDG_DOCUMENTS_DIR"); }

    DRAVUI::CUIElement* Find(int id) {
        DRAVUI::CUIElement* found = nullptr;
        std::function<void(DRAVUI::CUIElement&)> walk = [&](DRAVUI::CUIElement& element) {
            if (found) return;
            if (auto* group = dynamic_cast<DRAVUI::CUIGroup*>(&element)) {
                for (const auto& child : group->GetChildren()) walk(*child);
            } else if (element.GetId() == id) {
                found = &element;
            }
        };
        for (const auto& element : app.GetUIManager().GetElements()) walk(*element);
        return found;
    }
    DRAVUI::CUITextButton& Button(int id) {
        auto* button = dynamic_cast<DRAVUI::CUITextButton*>(Find(id));
        if (!button) throw std::runtime_error("no button " + std::to_string(id));
        return *button;
    }
    bool Shown(int id) { return Find(id) && Find(id)->HasFlag(UIF_SHOWN); }
    // The text after the "Points:" caption.
    std::string Points() {
        std::vector<DRAVUI::CUIStaticText*> texts;
        std::function<void(DRAVUI::CUIElement&)> walk = [&](DRAVUI::CUIElement& element) {
            if (auto* group = dynamic_cast<DRAVUI::CUIGroup*>(&element))
                for (const auto& child : group->GetChildren()) walk(*child);
            else if (auto* text = dynamic_cast<DRAVUI::CUIStaticText*>(&element))
                texts.push_back(text);
        };
        for (const auto& element : app.GetUIManager().GetElements()) walk(*element);
        for (std::size_t i = 0; i + 1 < texts.size(); ++i)
            if (texts[i]->m_text == "Points:") return texts[i + 1]->m_text;
        return "none";
    }
    template <typename T>
    T* Current() {
        return dynamic_cast<T*>(app.GetCurrentDialog().get());
    }
    std::string Title() { return recorder.titles.empty() ? "" : recorder.titles.back(); }
    // A click as the window procedure hands it on: closing clicks close the page.
    void Click(int id) {
        auto page = app.GetCurrentDialog();
        if (page->OnButton(id)) app.CloseDialog(id);
    }
    void Key(int key, bool shift = false) {
        auto page = app.GetCurrentDialog();
        int result = 0;
        if (page->OnKey(key, shift, &result)) app.CloseDialog(result);
    }
    std::shared_ptr<DRAV::CActor> NewActor(int chapter = 1) {
        app.MakeEngine(chapter);
        return app.GetEngine()->NewGame();
    }
    void Open(std::shared_ptr<CDRAVDlg> page) { app.SetDialog(true, std::move(page)); }
    // The creation skills page opens under its explanation, whose Manual button
    // opens the manual at the skills; Done on that uncovers it.
    CSkillsDlg* SkillsPage() {
        if (auto* text = Current<CTextDlg>()) {
            EXPECT_EQ(text->GetTitle(), "Skills");
            EXPECT_EQ(text->GetManualAnchor(), "Skills");
            app.CloseDialog(CTextDlg::kDone);
        }
        return Current<CSkillsDlg>();
    }
    void Type(const std::string& keys) {
        for (char c : keys) Key(std::toupper(static_cast<unsigned char>(c)), std::isupper(static_cast<unsigned char>(c)));
    }
    std::string SaveFolder() { return Win32::NativePath(app.GetSaveFolder()); }

    QuillmereTest::TempDir m_documents;
};

// The first skill of `group` a new level-1 actor can take without prerequisites.
int PlainSkillOf(int group, const DRAV::CActor& actor) {
    for (int skill = 0; skill < DRAV::kSkillCount; ++skill) {
        const auto& info = DRAV::GetSkillInfo(static_cast<DRAV::SkillId>(skill));
        if (info.skillClass == group && info.level <= 1 && info.prerequisites[0] == 98 &&
            !actor.HasSkill(static_cast<DRAV::SkillId>(skill)))
            return skill;
    }
    return -1;
}

TEST_F(CreationTest, AttributeCostsRefundsResetAndDone) {
    ASSERT_TRUE(loaded);
    auto actor = NewActor();
    actor->SetLevel(1);
    Open(std::make_shared<CCCAttribDlg>(&app, actor, false));
    EXPECT_EQ(Title(), "Quillmere - Attributes");
    Click(CAttribDlg::kReset);
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(actor->GetAttribute(static_cast<DRAV::Attribute>(i)), 6u);
        EXPECT_EQ(Button(100 + i).m_label, "Add (1)");
        EXPECT_FALSE(Shown(300 + i)) << "6 cannot be lowered";
    }
    EXPECT_EQ(Points(), "72");
    EXPECT_FALSE(Shown(CAttribDlg::kDone)) << "raises are affordable";

    struct Row {
        std::uint32_t value, points;
        std::string add;
        bool addShown;
    };
    for (const Row& row : {Row{19, 72, "Add (7)", true}, Row{20, 72, "Add (72)", true}, Row{20, 71, "Add", false},
                           Row{12, 3, "Add", false}}) {
        actor->SetAttribute(DRAV::ATTR_STRENGTH, row.value);
        actor->SetUnspentPoints(row.points);
        Current<CAttribDlg>()->UpdateValues();
        EXPECT_EQ(Button(100).m_label, row.add) << row.value << " with " << row.points;
        EXPECT_EQ(Shown(100), row.addShown) << row.value << " with " << row.points;
    }

    actor->SetAttribute(DRAV::ATTR_STRENGTH, 18);
    actor->SetUnspentPoints(0);
    Click(300);
    EXPECT_EQ(actor->GetAttribute(DRAV::ATTR_STRENGTH), 17u);
    EXPECT_EQ(actor->GetUnspentPoints(), 6u);
    EXPECT_EQ(Points(), "6");

    // Done shows once no raise is affordable, and Enter follows it.
    Click(CAttribDlg::kReset);
    Key(VK_RETURN);
    EXPECT_NE(Current<CCCAttribDlg>(), nullptr);
    for (int k = 0; k < 72 && !Shown(CAttribDlg::kDone); ++k) Click(100 + k % 5);
    ASSERT_TRUE(Shown(CAttribDlg::kDone));
    EXPECT_LT(actor->GetUnspentPoints(), 5u);
    Key(VK_RETURN);
    EXPECT_NE(SkillsPage(), nullptr) << "level 1 goes to skills";
}

TEST_F(CreationTest, OnlyLevelsOfFourOrMoreGetOneFlatBonusPass) {
    ASSERT_TRUE(loaded);
    for (std::uint32_t level : {3u, 8u}) {
        auto actor = NewActor();
        actor->SetLevel(level);
        actor->SetClass(DRAV::CLASS_FIGHTER);
        Open(std::make_shared<CCCAttribDlg>(&app, actor, false));
        Click(CAttribDlg::kDone);
        if (level == 3) {
            EXPECT_NE(SkillsPage(), nullptr);
            continue;
        }
        auto* bonus = Current<CCCAttribDlg>();
        ASSERT_NE(bonus, nullptr);
        EXPECT_TRUE(bonus->IsBonusPass());
        EXPECT_EQ(actor->GetUnspentPoints(), 2u) << "the first pass's leftovers give way";
        EXPECT_EQ(bonus->GetDescription().rfind("As a level 8 character, you get bonus attributes.", 0), 0u);
        EXPECT_EQ(Find(CAttribDlg::kReset), nullptr);
        EXPECT_EQ(Find(300), nullptr);
        actor->SetAttribute(DRAV::ATTR_AGILITY, 19);
        bonus->UpdateValues();
        EXPECT_EQ(Button(101).m_label, "Add (1)");
        Click(101);
        Click(101);
        EXPECT_EQ(actor->GetAttribute(DRAV::ATTR_AGILITY), 21u);
        EXPECT_TRUE(Shown(CAttribDlg::kDone));
        Click(CAttribDlg::kDone);
        EXPECT_NE(SkillsPage(), nullptr);
    }
}

TEST_F(CreationTest, SkillPicksByClass) {
    ASSERT_TRUE(loaded);
    struct Case {
        DRAV::ActorClass actorClass;
        std::string points;
    };
    for (const Case& c : {Case{DRAV::CLASS_FIGHTER, "3"}, Case{DRAV::CLASS_ROGUE, "3"}, Case{DRAV::CLASS_MONSTER, "0"}}) {
        auto actor = NewActor();
        actor->SetLevel(1);
        actor->SetClass(c.actorClass);
        actor->ResetSkills();
        auto page = CSkillsDlg::CSkillsDlgForCreation(&app, actor);
        Open(page);
        EXPECT_EQ(Title(), "Quillmere - Skills");
        EXPECT_EQ(Points(), c.points) << c.actorClass;
        EXPECT_EQ(Shown(CSkillsDlg::kDone), c.points == "0");
        EXPECT_EQ(page->GetGroup(), c.actorClass == DRAV::CLASS_MONSTER ? 0 : c.actorClass);
    }

    // A Fighter's third pick is the general one: one skill of another group, no more.
    auto fighter = NewActor();
    fighter->SetLevel(1);
    fighter->SetClass(DRAV::CLASS_FIGHTER);
    fighter->ResetSkills();
    auto page = CSkillsDlg::CSkillsDlgForCreation(&app, fighter);
    Open(page);
    EXPECT_NE(page->GetDescription().find("Elemental Magic, you must first select Matter Magic and Energy Magic."),
              std::string::npos)
        << "the prerequisites the game asks";
    const int rogueSkill = PlainSkillOf(DRAV::CLASS_ROGUE, *fighter);
    ASSERT_GE(rogueSkill, 0);
    Click(CSkillsDlg::kFirstGroup + 1);
    Click(CSkillsDlg::kFirstBuy + rogueSkill);
    EXPECT_TRUE(fighter->HasSkill(static_cast<DRAV::SkillId>(rogueSkill)));
    EXPECT_EQ(Points(), "2");
    const int casterSkill = PlainSkillOf(DRAV::CLASS_SPELLCASTER, *fighter);
    EXPECT_FALSE(fighter->CanLearnSkill(static_cast<DRAV::SkillId>(casterSkill)));
    Click(CSkillsDlg::kFirstBuy + casterSkill);
    EXPECT_FALSE(fighter->HasSkill(static_cast<DRAV::SkillId>(casterSkill)));
    // Forgetting in creation takes the skill straight from the new actor, when the
    // forgetting rule allows it.
    Click(CSkillsDlg::kFirstForget + rogueSkill);
    EXPECT_TRUE(fighter->HasSkill(static_cast<DRAV::SkillId>(rogueSkill)));
    fighter->SetSkillEdit(true);
    Click(CSkillsDlg::kFirstForget + rogueSkill);
    EXPECT_FALSE(fighter->HasSkill(static_cast<DRAV::SkillId>(rogueSkill)));
    EXPECT_EQ(Points(), "3");

    // An Adventurer's picks serve every group.
    auto rogue = NewActor();
    rogue->SetLevel(1);
    rogue->SetClass(DRAV::CLASS_ROGUE);
    rogue->ResetSkills();
    Open(CSkillsDlg::CSkillsDlgForCreation(&app, rogue));
    for (int group : {0, 2, 1}) {
        const int skill = PlainSkillOf(group, *rogue);
        Click(CSkillsDlg::kFirstBuy + skill);
        EXPECT_TRUE(rogue->HasSkill(static_cast<DRAV::SkillId>(skill))) << group;
    }
    EXPECT_EQ(Points(), "0");
    EXPECT_TRUE(Shown(CSkillsDlg::kDone));
    Click(CSkillsDlg::kReset);
    EXPECT_EQ(Points(), "3");
    EXPECT_FALSE(Shown(CSkillsDlg::kDone));
    Key(VK_RETURN);
    EXPECT_NE(Current<CSkillsDlg>(), nullptr) << "Enter does nothing while picks remain";
}

TEST_F(CreationTest, LevelPageMarksTheStartingLevelAndGivesStartNewGamesExperience) {
    ASSERT_TRUE(loaded);
    const CDRAVChapterInfo& chapter = *app.GetChapterTable().at(2);
    auto actor = NewActor(2);
    Open(std::make_shared<CCCLevelDlg>(&chapter, &app, actor));
    EXPECT_EQ(Title(), "Quillmere - Level");
    for (int level = chapter.m_lowestStartingLevel; level <= chapter.m_highestStartingLevel; ++level)
        EXPECT_EQ(Button(100 + level).m_label, std::to_string(level) + (level == chapter.m_startingLevel ? "*" : ""));
    EXPECT_EQ(Find(100 + chapter.m_highestStartingLevel + 1), nullptr);
    Click(108);
    EXPECT_EQ(actor->GetLevel(), 8u);
    EXPECT_EQ(actor->GetExperience(), DRAV::GetXpThreshold(actor->GetBaseLevel() + 9));
    EXPECT_EQ(actor->GetExperience(), StartingExperience(actor->GetBaseLevel(), 8));
    EXPECT_NE(Current<CCCGenderDlg>(), nullptr);
}

TEST_F(CreationTest, ColoursDefaultToTheFirstEntriesAndARebuildStartsAgain) {
    ASSERT_TRUE(loaded);
    auto actor = NewActor();
    auto page = std::make_shared<CCCColorsDlg>(&app, actor);
    Open(page);
    // Each swatch shows its table's colour.
    for (int k : {0, 5, 15}) {
        EXPECT_EQ(dynamic_cast<DRAVUI::CUIColorButton&>(*Find(200 + k)).GetSwatchColour(), 0xFF000000u | HairColors[k]);
        EXPECT_EQ(dynamic_cast<DRAVUI::CUIColorButton&>(*Find(300 + k)).GetSwatchColour(), 0xFF000000u | SkinColors[k]);
        EXPECT_EQ(dynamic_cast<DRAVUI::CUIColorButton&>(*Find(400 + k)).GetSwatchColour(), 0xFF000000u | TrimColors[k]);
    }
    Click(CCCColorsDlg::kFirstHair + 5);
    EXPECT_TRUE(Find(205)->HasFlag(UIF_SELECTED));
    EXPECT_FALSE(Find(200)->HasFlag(UIF_SELECTED));
    EXPECT_EQ(audio->played.back(), 0);
    // A rebuild of the screen forgets the choice.
    app.GetUIManager().Clear();
    page->Create(RECT{0, 0, 1024, 768}, app.GetUIManager());
    EXPECT_TRUE(Find(200)->HasFlag(UIF_SELECTED));
    Key(VK_RETURN);
    ASSERT_NE(actor->GetColor(), nullptr);
    EXPECT_EQ(actor->GetColor()->GetColor(DRAVGraph::CGraphicColors::HAIR), 0x000000u);
    EXPECT_EQ(actor->GetColor()->GetColor(DRAVGraph::CGraphicColors::SKIN), 0xFFE0CCu);
    EXPECT_EQ(actor->GetColor()->GetColor(DRAVGraph::CGraphicColors::TRIM), 0xC00000u);
    EXPECT_EQ(actor->GetNameColor(), 0xFFE0CCu) << "the skin is the actor's own colour";
    EXPECT_NE(Current<CCCNameDlg>(), nullptr);
}

TEST_F(CreationTest, NameKeysTrimmingAndTheLimit) {
    ASSERT_TRUE(loaded);
    auto actor = NewActor();
    auto page = std::make_shared<CCCNameDlg>(&app, actor);
    // The controls are on the help's Shortcuts page; the manual holds only the rules.
    const std::string told = page->GetDescription();
    EXPECT_NE(told.find("For the controls, open the game's help with its ? button or the ? key and choose Shortcuts."), std::string::npos)
        << told;
    EXPECT_EQ(told.find("how to play"), std::string::npos) << told;
    Open(page);
    EXPECT_FALSE(Shown(CCCNameDlg::kDone));
    Key('1', true);
    Key(VK_RETURN);
    EXPECT_EQ(page->TypedName(), "");
    EXPECT_EQ(Current<CCCNameDlg>(), page.get());
    Key(' ');
    EXPECT_FALSE(Shown(CCCNameDlg::kDone)) << "blanks are no name";
    Key(189);
    Key(189, true);
    EXPECT_FALSE(Shown(CCCNameDlg::kDone)) << "nor are a minus and an underscore";
    Key('A', true);
    Key(' ');
    EXPECT_TRUE(Shown(CCCNameDlg::kDone));
    EXPECT_EQ(page->TypedName(), "-_A");
    for (int k = 0; k < 3; ++k) Key(VK_BACK);
    EXPECT_FALSE(Shown(CCCNameDlg::kDone)) << "a blank and a minus are left";
    Key(VK_BACK);
    Key(VK_BACK);
    Key(VK_BACK);
    EXPECT_FALSE(Shown(CCCNameDlg::kDone));
    for (int k = 0; k < 40; ++k) Key('B');
    EXPECT_EQ(page->TypedName().size(), 32u);
}

TEST_F(CreationTest, TheSlashKeyOnTheNamePageIsTheFieldsNotTheManuals) {
    ASSERT_TRUE(loaded);
    auto page = std::make_shared<CCCNameDlg>(&app, NewActor());
    Open(page);
    Type("Ay");
    Key(VK_OEM_2);
    Key(VK_OEM_2, true);
    Type("la");
    EXPECT_EQ(page->TypedName(), "Ayla") << "the field takes no slash and loses nothing around it";
    EXPECT_TRUE(recorder.boxes.empty()) << recorder.boxes.front().first;
    EXPECT_EQ(Current<CCCNameDlg>(), page.get());
}

TEST_F(CreationTest, TheOverwriteQuestionByHeaderOrByFileName) {
    ASSERT_TRUE(loaded);
    auto actor = NewActor();
    const std::string folder = SaveFolder();
    EXPECT_FALSE(SavedGameHasName(folder, "Ayla"));
    std::ofstream(folder + "/ayla.drav") << "not a saved game";
    EXPECT_TRUE(SavedGameHasName(folder, "Ayla")) << "a file of that name in any case";
    EXPECT_FALSE(SavedGameHasName(folder, "Aylan"));

    Open(std::make_shared<CCCNameDlg>(&app, actor));
    Type("Ayla");
    Key(VK_RETURN);
    ASSERT_NE(Current<CCCNameDlgConfirm>(), nullptr);
    EXPECT_EQ(Title(), "Quillmere - Overwrite Actor?");
    Key('N');
    ASSERT_NE(Current<CCCNameDlg>(), nullptr);
    EXPECT_EQ(Current<CCCNameDlg>()->TypedName(), "");
    Type("Ayla");
    Key(VK_RETURN);
    Key('Y');
    ASSERT_NE(app.GetEngine()->GetGame(), nullptr);
    ASSERT_NE(app.GetEngine()->GetGame()->GetMainActor(), nullptr);
    EXPECT_EQ(app.GetEngine()->GetGame()->GetMainActor()->GetName(), "Ayla");
}

TEST_F(CreationTest, TheNewGameRoadFromTheFrontPageToTheGame) {
    ASSERT_TRUE(loaded);
    Open(std::make_shared<CStartDlg>(&app));
    Click(CStartDlg::kStartNewGame);
    EXPECT_EQ(Title(), "Quillmere - New Game");
    EXPECT_EQ(ScreenIds(), (std::vector<int>{0, 0, 0, 0, 1, 2, 3, 0}));
    Key(VK_RETURN);
    EXPECT_EQ(Title(), "Quillmere - New Game");
    Click(CNewGameDlg::kStartGame);
    EXPECT_EQ(Title(), "Quillmere - Gender");
    Click(CCCGenderDlg::kMale);
    EXPECT_EQ(Title(), "Quillmere - Class");
    Click(CCCClassDlg::kFirstInfo);
    EXPECT_EQ(Title(), "Quillmere - Class") << "Info keeps the page";
    Click(CCCClassDlg::kFirstClass);
    EXPECT_EQ(Title(), "Quillmere - Attributes");
    for (int k = 0; k < 100 && !Shown(CAttribDlg::kDone); ++k) Click(100 + k % 5);
    Click(CAttribDlg::kDone);
    // The skills page opens under its explanation.
    EXPECT_EQ(Title(), "Quillmere - Skills");
    auto* skills = SkillsPage();
    ASSERT_NE(skills, nullptr);
    auto actor = skills->GetActor();
    for (int k = 0; k < 3; ++k) {
        const int skill = PlainSkillOf(k < 2 ? 0 : 1, *actor);
        Click(CSkillsDlg::kFirstGroup + (k < 2 ? 0 : 1));
        Click(CSkillsDlg::kFirstBuy + skill);
    }
    ASSERT_TRUE(Shown(CSkillsDlg::kDone));
    Click(CSkillsDlg::kDone);
    EXPECT_EQ(Title(), "Quillmere - Appearance");
    const auto& heads = app.GetEngine()->GetModule()->GetMaleHeads();
    ASSERT_GE(heads.size(), 2u);
    ASSERT_GE(app.GetEngine()->GetModule()->GetFemaleHeads().size(), 2u);
    Click(CCCHeadDlg::kFirstHead + 1);
    EXPECT_EQ(actor->GetGraphicName(), heads[1]->word);
    Click(CCCColorsDlg::kFirstSkin + 6);
    Click(CCCColorsDlg::kDone);
    EXPECT_EQ(Title(), "Quillmere - Name");
    Type("Ayla");
    Key(VK_RETURN);
    ASSERT_NE(app.GetEngine()->GetGame()->GetMainActor(), nullptr);
    EXPECT_EQ(app.GetEngine()->GetGame()->GetMainActor(), actor);
    EXPECT_EQ(actor->GetName(), "Ayla");
    EXPECT_EQ(actor->GetLevel(), 1u);
    EXPECT_TRUE(app.IsGameRunning());
    EXPECT_NE(Current<CIntroDlg>(), nullptr);
    DRAVUI::ElementInfo portrait;
    DRAVUI::ElementInfo::DescribeThing(portrait, actor.get(), nullptr);
    EXPECT_EQ(portrait.iconColour, 0xFF663300u) << "the portrait is tinted with the chosen skin";
}

// A new game of chapter 1 made on the pages up to its name page, with the gender
// and the class buttons given (the class a fighter's, whose first picks are two
// combat skills and a general one); the hero being made.
std::shared_ptr<DRAV::CActor> ToTheNamePage(CDRAVApp& app, const std::function<void(int)>& click,
                                            const std::function<bool(int)>& shown, int gender, int classButton) {
    app.StartNewGame(1, false);
    click(gender);
    click(classButton);
    for (int k = 0; k < 100 && !shown(CAttribDlg::kDone); ++k) click(100 + k % 5);
    click(CAttribDlg::kDone);
    if (auto* text = dynamic_cast<CTextDlg*>(app.GetCurrentDialog().get()); text && text->GetTitle() == "Skills")
        app.CloseDialog(CTextDlg::kDone);
    auto* skills = dynamic_cast<CSkillsDlg*>(app.GetCurrentDialog().get());
    if (!skills) return nullptr;
    auto actor = skills->GetActor();
    for (int k = 0; k < 3; ++k) {
        const int group = k < 2 ? 0 : 1;
        click(CSkillsDlg::kFirstGroup + group);
        click(CSkillsDlg::kFirstBuy + PlainSkillOf(group, *actor));
    }
    click(CSkillsDlg::kDone);
    click(CCCHeadDlg::kFirstHead);
    click(CCCColorsDlg::kDone);
    return actor;
}

// What is typed on the name page outlasts a visit to the character sheet, and the
// sheet shows the hit points the hero then starts the game with.
TEST_F(CreationTest, TheNamePageKeepsItsTextOverTheSheetWhichShowsTheHeroesHitPoints) {
    ASSERT_TRUE(loaded);
    auto actor = ToTheNamePage(
        app, [&](int id) { Click(id); }, [&](int id) { return Shown(id); }, CCCGenderDlg::kFemale,
        CCCClassDlg::kFirstClass);
    ASSERT_TRUE(actor);
    ASSERT_NE(Current<CCCNameDlg>(), nullptr) << Title();
    Type("Ysa");
    Click(CCCDlg::kCharacter);
    auto* sheet = Current<CMonsterDlg>();
    ASSERT_NE(sheet, nullptr);
    const std::string hitPoints = "Hit Points: " + std::to_string(actor->GetMaxHitPoints()) + "/" +
                                  std::to_string(actor->GetMaxHitPoints()) + " LINE ";
    EXPECT_NE(sheet->GetText().find(hitPoints), std::string::npos) << sheet->GetText();
    Key(VK_ESCAPE);
    ASSERT_NE(Current<CCCNameDlg>(), nullptr);
    EXPECT_EQ(Current<CCCNameDlg>()->TypedName(), "Ysa");
    EXPECT_TRUE(Shown(CCCNameDlg::kDone));
    Type("l");
    Key(VK_RETURN);
    ASSERT_EQ(app.GetEngine()->GetGame()->GetMainActor(), actor);
    EXPECT_EQ(actor->GetName(), "Ysal");
    EXPECT_EQ("Hit Points: " + std::to_string(actor->GetHitPoints()) + "/" + std::to_string(actor->GetMaxHitPoints()) +
                  " LINE ",
              hitPoints)
        << "the game begins with the hit points the sheet showed";
}

// The creation pages speak of the hero by the sex chosen, and before it is
// chosen by neither.
TEST_F(CreationTest, TheCreationPagesSpeakOfTheHeroAsTheSexChosen) {
    ASSERT_TRUE(loaded);
    struct Row {
        int gender;
        std::string possessive;
    };
    for (const Row& row : {Row{CCCGenderDlg::kFemale, "her"}, Row{CCCGenderDlg::kMale, "his"}}) {
        app.StartNewGame(1, true);
        auto* level = Current<CCCLevelDlg>();
        ASSERT_NE(level, nullptr);
        EXPECT_NE(level->GetDescription().find("determining their experience"), std::string::npos);
        Click(CCCLevelDlg::kFirstLevel + 1);
        Click(row.gender);
        auto* page = Current<CCCClassDlg>();
        ASSERT_NE(page, nullptr);
        const std::string text = page->GetDescription();
        EXPECT_NE(text.find("class determines " + row.possessive + " basic approach"), std::string::npos) << text;
        EXPECT_NE(text.find("determine what " + row.possessive + " powers are"), std::string::npos) << text;
        for (const char* other : {" his ", " her "}) {
            if (row.possessive != std::string(other).substr(1, 3)) {
                EXPECT_EQ(text.find(other), std::string::npos) << row.possessive << ": " << text;
            }
        }
        app.EndGame();
        CDRAVAppTestAccess::DropDialogs(app);
    }
}

using PageMaker = std::function<std::shared_ptr<CDRAVDlg>(std::shared_ptr<DRAV::CActor>)>;

// The pages of the wizard, each made for the actor it is given, in wizard order.
std::vector<PageMaker> WizardPages(CDRAVApp& app) {
    const CDRAVChapterInfo* chapter = app.GetChapterTable().at(1).get();
    return {
        [&app, chapter](auto a) { return std::make_shared<CCCLevelDlg>(chapter, &app, a); },
        [&app](auto a) { return std::make_shared<CCCGenderDlg>(&app, a); },
        [&app](auto a) { return std::make_shared<CCCClassDlg>(&app, a); },
        [&app](auto a) { return std::make_shared<CCCAttribDlg>(&app, a, false); },
        [&app](auto a) { return CSkillsDlg::CSkillsDlgForCreation(&app, a); },
        [&app](auto a) { return std::make_shared<CCCHeadDlg>(&app, a); },
        [&app](auto a) { return std::make_shared<CCCColorsDlg>(&app, a); },
        [&app](auto a) { return std::make_shared<CCCNameDlg>(&app, a); },
    };
}

TEST_F(CreationTest, EveryWizardPageOpensTheActorsCharacterPageFromItsIcon) {
    ASSERT_TRUE(loaded);
    const std::vector<PageMaker> pages = WizardPages(app);
    for (std::size_t i = 0; i < pages.size(); ++i) {
        auto actor = NewActor();
        actor->SetName("Ayla");
        Open(pages[i](actor));
        SkillsPage();
        const std::shared_ptr<CDRAVDlg> page = app.GetCurrentDialog();
        DRAVUI::CUIElement* icon = Find(CCCDlg::kCharacter);
        ASSERT_NE(icon, nullptr) << i;
        EXPECT_EQ(icon->GetInfo().title, "Character") << i;
        EXPECT_EQ(icon->GetInfo().text, "Details") << i;
        audio->played.clear();
        Click(CCCDlg::kCharacter);
        EXPECT_NE(Current<CMonsterDlg>(), nullptr) << i;
        EXPECT_EQ(Title(), "Quillmere - Ayla") << i;
        EXPECT_EQ(audio->played, std::vector<int>{0}) << i;
        Key(VK_ESCAPE);
        EXPECT_EQ(app.GetCurrentDialog(), page) << i << ": the page comes back";
        app.EndGame();
        CDRAVAppTestAccess::DropDialogs(app);
    }
    // A page spending a member's points in play has no new actor to show.
    Open(std::make_shared<CAttribDlg>(&app, NewActor().get()));
    EXPECT_EQ(Find(CCCDlg::kCharacter), nullptr);
    EXPECT_NE(Find(CCCDlg::kHelp), nullptr);
}

// Each head's description fits its row of the head page's list on one line, in the
// large layout (a 400-wide row at the 20-point font) and the small one (300 at 12).
TEST_F(CreationTest, EachHeadsDescriptionFitsItsRowOnOneLine) {
    ASSERT_TRUE(loaded);
    DRAVCommon::CXPDevice wrapper(device.get());
    DRAVUI::CUISprite sprite(&wrapper, 100, nullptr);
    const auto source = QuillmereTest::SampleInterfaceSource();
    const DRAV::CModule& module = *app.GetEngine()->GetModule();
    for (const auto& [points, row] : {std::pair{20u, LONG{400}}, std::pair{12u, LONG{300}}}) {
        DRAVUI::CUIFontDraw font(*source, points, 100);
        for (const auto* heads : {&module.GetMaleHeads(), &module.GetFemaleHeads()})
            for (const auto& head : *heads) {
                // The label's box is the button less its two-pixel frame.
                const auto text = font.RenderTextTexture(sprite, head->text, RECT{0, 0, row - 4, 100});
                ASSERT_TRUE(text);
                EXPECT_LE(text->textRect.bottom, font.GetLineHeight()) << "\"" << head->text << "\" at " << points;
            }
    }
}

TEST_F(CreationTest, EscOnAnyPageEndsTheGameBeingSetUp) {
    ASSERT_TRUE(loaded);
    const CDRAVChapterInfo& chapter = *app.GetChapterTable().at(1);
    std::vector<PageMaker> pages = WizardPages(app);
    pages.push_back([&](auto) { return std::make_shared<CNewGameDlg>(&app, &chapter); });
    pages.push_back([&](auto) { return std::make_shared<CNewGameChapterDlg>(&app, &app.GetChapterTable()); });
    for (std::size_t i = 0; i < pages.size(); ++i) {
        Open(pages[i](NewActor()));
        Key(VK_ESCAPE);
        EXPECT_EQ(Title(), "Quillmere - Welcome") << i;
        EXPECT_NE(Current<CStartDlg>(), nullptr) << i;
        EXPECT_FALSE(app.IsGameRunning());
    }
}

TEST_F(CreationTest, ChapterChoiceListsUpToTheFirstAbsentChapter) {
    ASSERT_TRUE(loaded);
    // The sample's two chapters, both installed, then Cancel.
    Open(std::make_shared<CNewGameDlg>(&app, app.GetChapterTable().Find(1)));
    Click(CNewGameDlg::kAdvancedOptions);
    EXPECT_EQ(Title(), "Quillmere - Select Chapter");
    EXPECT_EQ(ScreenIds(), (std::vector<int>{0, 0, 0, 100, 200, 0, 0, 101, 201, 1, 0}));
    EXPECT_TRUE(Shown(201));

    // Announced but not installed, a third chapter ends the list without Play.
    AnnounceChapters(4);
    Open(std::make_shared<CNewGameDlg>(&app, app.GetChapterTable().Find(1)));
    Click(CNewGameDlg::kAdvancedOptions);
    EXPECT_EQ(ScreenIds(), (std::vector<int>{0, 0, 0, 100, 200, 0, 0, 101, 201, 0, 0, 102, 202, 1, 0}));
    EXPECT_FALSE(Shown(202));
    EXPECT_TRUE(Shown(201));
    EXPECT_FALSE(app.GetCurrentDialog()->OnButton(205));
    EXPECT_FALSE(app.GetCurrentDialog()->OnButton(99));
    Click(201);
    EXPECT_EQ(Title(), "Quillmere - Level");
    EXPECT_EQ(app.GetEngine()->GetModule()->GetChapter(), 2);
    Click(108);
    Click(CCCGenderDlg::kFemale);
    Click(CCCClassDlg::kFirstClass + 2);
    for (int k = 0; k < 100 && !Shown(CAttribDlg::kDone); ++k) Click(100 + k % 5);
    Click(CAttribDlg::kDone);
    ASSERT_NE(Current<CCCAttribDlg>(), nullptr);
    EXPECT_EQ(Current<CCCAttribDlg>()->GetDescription().rfind("As a level 8 character, you get bonus attributes.", 0),
              0u);
}

}  // namespace

namespace {

TEST_F(CreationTest, AMissingThumbnailLeavesAnEmptyPictureOfTheSameSize) {
    ASSERT_TRUE(loaded);
    CDRAVChapterInfo& chapter = *app.GetChapterTable().at(1);
    for (bool present : {true, false}) {
        if (!present) chapter.m_package = std::make_shared<DRAVCommon::CDataFileFactoryMemory>();
        Open(std::make_shared<CNewGameDlg>(&app, &chapter));
        auto* page = dynamic_cast<DRAVUI::CUIGroup*>(app.GetUIManager().GetElements()[1].get());
        ASSERT_NE(page, nullptr);
        auto* line = dynamic_cast<DRAVUI::CUIGroup*>(page->GetChildren()[1].get());
        ASSERT_NE(line, nullptr);
        auto& picture = dynamic_cast<DRAVUI::CUIImage&>(*line->GetChildren()[0]);
        EXPECT_EQ(picture.GetImageId() != 0, present);
        EXPECT_EQ(DRAVUI::Width(*picture.GetRect()), 66);
        EXPECT_EQ(DRAVUI::Height(*picture.GetRect()), 66);
        EXPECT_EQ(dynamic_cast<DRAVUI::CUIStaticText&>(*line->GetChildren()[1]).m_text,
                  "Chapter 1: The Reedwater Landing");
    }
    EXPECT_TRUE(recorder.boxes.empty());
}

}  // namespace

namespace {

// In play the pages work through the engine's orders on a party member.
TEST_F(CreationTest, LevelUpPagesSpendPointsThroughTheEngine) {
    ASSERT_TRUE(loaded);
    app.StartNewGame(1, false);
    auto main = app.GetNewActor();
    ASSERT_NE(main, nullptr);
    CDRAVAppTestAccess::DropDialogs(app);
    main->SetName("Wren");
    main->SetClass(DRAV::CLASS_FIGHTER);
    main->ResetSkills();
    app.StartGameWithActor(main);
    CDRAVAppTestAccess::DropDialogs(app);

    main->SetAttribute(DRAV::ATTR_STRENGTH, 19);
    main->SetUnspentPoints(1);
    Open(std::make_shared<CAttribDlg>(&app, main.get()));
    EXPECT_EQ(Title(), "Quillmere - Wren");
    EXPECT_EQ(Find(CAttribDlg::kReset), nullptr);
    EXPECT_EQ(Find(300), nullptr);
    EXPECT_EQ(Button(100).m_label, "Add (1)") << "a flat cost in play";
    Click(100);
    EXPECT_EQ(main->GetAttribute(DRAV::ATTR_STRENGTH), 20u);
    EXPECT_EQ(Points(), "0");
    EXPECT_FALSE(Shown(100));
    EXPECT_TRUE(Shown(CAttribDlg::kDone)) << "never held back in play";

    // With picks left Done leads on to the skills page, where a purchase is an order.
    std::int32_t classPicks = 0, generalPicks = 0;
    main->GetUnspentSkillPicks(classPicks, generalPicks);
    ASSERT_GT(classPicks + generalPicks, 0);
    Click(CAttribDlg::kDone);
    auto* skills = Current<CSkillsDlg>();
    ASSERT_NE(skills, nullptr);
    EXPECT_EQ(Find(CSkillsDlg::kReset), nullptr);
    EXPECT_TRUE(Shown(CSkillsDlg::kDone));
    const int skill = PlainSkillOf(DRAV::CLASS_FIGHTER, *main);
    Click(CSkillsDlg::kFirstBuy + skill);
    EXPECT_TRUE(main->HasSkill(static_cast<DRAV::SkillId>(skill)));
    EXPECT_EQ(Points(), std::to_string(classPicks + generalPicks - 1));
    // Forgetting needs the flag a new level sets, and one forget clears it.
    Click(CSkillsDlg::kFirstForget + skill);
    EXPECT_TRUE(main->HasSkill(static_cast<DRAV::SkillId>(skill)));
    main->SetSkillEdit(true);
    Click(CSkillsDlg::kFirstForget + skill);
    EXPECT_FALSE(main->HasSkill(static_cast<DRAV::SkillId>(skill)));
    EXPECT_FALSE(main->IsSkillEdit());
    Key(VK_RETURN);
    EXPECT_EQ(Current<CSkillsDlg>(), nullptr);
    EXPECT_TRUE(app.IsGameRunning());
}

}  // namespace
