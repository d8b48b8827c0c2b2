#include "game/dialogs/creation/cc_choice_dlg.h"

#include "game/app.h"
#include "game/chapter_info.h"
#include "game/dialogs/creation/attrib_dlg.h"
#include "game/identity.h"
#include "rules/kinds/formulas.h"
#include "rules/vocabulary/actor_class.h"
#include "rules/vocabulary/gender_race.h"
#include "ui/ui_button.h"
#include "ui/ui_group.h"
#include "ui/ui_manager.h"
#include "world/actor.h"

namespace {

std::shared_ptr<DRAVUI::CUITextButton> MakeChoice(const std::shared_ptr<DRAVUI::CUIConfig>& config, int id,
                                                  const std::string& label, int width) {
    auto button = std::make_shared<DRAVUI::CUITextButton>(id, label, config);
    button->SetSize(width, 32);
    return button;
}

void Place(const std::shared_ptr<DRAVUI::CUIGroup>& group, RECT area, DRAVUI::CUIManager& container) {
    group->CenterOn(RectCenter(area));
    container.AddElement(group);
}

}  // namespace

std::uint32_t StartingExperience(std::int32_t baseLevel, std::int32_t level) {
    return DRAV::GetXpThreshold(baseLevel + level + 1);
}

// ---- level ----

bool CCCLevelDlg::IsLevelId(int id) const {
    return id > kFirstLevel && id <= kFirstLevel + m_chapter->m_highestStartingLevel;
}

void CCCLevelDlg::CreatePage(RECT area, DRAVUI::CUIManager& container) {
    const auto config = container.GetConfig();
    auto row = std::make_shared<DRAVUI::CUIGroup>("", true, false, 0u, 16, config);
    for (int level = m_chapter->m_lowestStartingLevel; level <= m_chapter->m_highestStartingLevel; ++level) {
        std::string label = std::to_string(level);
        if (level == m_chapter->m_startingLevel) label += "*";
        auto button = MakeChoice(config, kFirstLevel + level, label, config->Pick(80, 64));
        button->SetInfo("Level " + std::to_string(level), "", "");
        row->AddChild(button);
    }
    Place(row, area, container);
}

bool CCCLevelDlg::OnButton(int id) {
    if (!IsLevelId(id)) return CCCDlg::OnButton(id);
    const int level = id - kFirstLevel;
    m_actor->SetLevel(static_cast<std::uint32_t>(level));
    m_actor->SetExperience(StartingExperience(m_actor->GetBaseLevel(), level));
    return true;
}

void CCCLevelDlg::OnClose(int result) {
    if (IsLevelId(result))
        m_app->SetDialog(true, std::make_shared<CCCGenderDlg>(m_app, m_actor));
    else
        CCCDlg::OnClose(result);
}

std::string CCCLevelDlg::GetDescription() {
    // Asked before the gender page: the character is not yet he or she.
    return "Select a starting level for your main character, determining their experience and capability. A higher "
           "level will make the game easier, and a lower level will make the game more difficult. LINE LINE The "
           "default level is marked with *.";
}

// ---- gender ----

void CCCGenderDlg::CreatePage(RECT area, DRAVUI::CUIManager& container) {
    const auto config = container.GetConfig();
    auto column = std::make_shared<DRAVUI::CUIGroup>("", false, false, 0u, 16, config);
    for (const auto& [id, label] : {std::pair{kMale, "Male"}, std::pair{kFemale, "Female"}}) {
        auto button = MakeChoice(config, id, label, config->Pick(256, 192));
        button->SetInfo(label, "", "");
        column->AddChild(button);
    }
    Place(column, area, container);
}

bool CCCGenderDlg::OnButton(int id) {
    if (id != kMale && id != kFemale) return CCCDlg::OnButton(id);
    m_actor->SetGender(id == kMale ? DRAV::GENDER_MALE : DRAV::GENDER_FEMALE);
    return true;
}

void CCCGenderDlg::OnClose(int result) {
    if (result == kMale || result == kFemale)
        m_app->SetDialog(true, std::make_shared<CCCClassDlg>(m_app, m_actor));
    else
        CCCDlg::OnClose(result);
}

std::string CCCGenderDlg::GetDescription() {
    return "Select a gender for your character. Note that in the world of " + GetProductTitle() +
           ", males and females are equally capable in all matters mental and physical.";
}

// ---- class ----

void CCCClassDlg::CreatePage(RECT area, DRAVUI::CUIManager& container) {
    const auto config = container.GetConfig();
    auto column = std::make_shared<DRAVUI::CUIGroup>("", false, false, 0u, 16, config);
    // The fourth class is the monsters' and is never offered.
    for (int c = DRAV::CLASS_FIGHTER; c <= DRAV::CLASS_SPELLCASTER; ++c) {
        const std::string name = DRAV::GetClassName(static_cast<DRAV::ActorClass>(c));
        auto row = std::make_shared<DRAVUI::CUIGroup>("", true, false, 0u, 0, config);
        auto choose = MakeChoice(config, kFirstClass + c, name, config->Pick(256, 192));
        choose->SetInfo(name, GetClickVerb() + " Info for Manual", "");
        row->AddChild(choose);
        auto info = MakeChoice(config, kFirstInfo + c, "Info", config->Pick(80, 64));
        info->SetInfo("Info", GetClickVerb() + " for Manual", "");
        row->AddChild(info);
        column->AddChild(row);
    }
    Place(column, area, container);
}

bool CCCClassDlg::OnButton(int id) {
    if (id >= kFirstClass && id <= kFirstClass + 3) {
        m_actor->SetClass(static_cast<DRAV::ActorClass>(id - kFirstClass));
        // Rolled by the class's hit die for the level already chosen, now, so that
        // the character sheet of the pages that follow shows what the hero gets.
        m_actor->RollHitPoints();
        return true;
    }
    if (id >= kFirstInfo && id <= kFirstInfo + 3) {
        m_app->OpenManual("Class");
        return false;
    }
    return CCCDlg::OnButton(id);
}

void CCCClassDlg::OnClose(int result) {
    if (result >= kFirstClass && result <= kFirstClass + 3)
        m_app->SetDialog(true, std::make_shared<CCCAttribDlg>(m_app, m_actor, false));
    else
        CCCDlg::OnClose(result);
}

std::string CCCClassDlg::GetDescription() {
    // The gender page comes first: the text speaks of the hero as chosen there.
    const std::string possessive = DRAV::GetPossessive(m_actor->GetGender());
    return "Next we'll pick a class for your character. A character's class determines " + possessive +
           " basic approach to adventuring in the world, and in particular which skills the character can "
           "specialize in. LINE LINE Fighters are the combat specialists, good at combat skills but poor in general "
           "and spellcasting skills. A fighter is suitable for being a thug-like basher, a skillful swordsman, or "
           "even a dead-eye marksman. LINE LINE Adventurers are the jacks-of-all-trades in the world, capable in all "
           "areas but excelling in none. An adventurer can become adept in combat or spellcasting, though not as "
           "capable as a fighter or spellcaster respectively. Adventurers are the best suited to learning the arts of "
           "diplomacy, traps, locks, stealth, and observation. LINE LINE Spellcasters specialize in the eldritch "
           "arts, forgoing the baser forms of combat. A spellcaster's spells determine what " + possessive +
           " powers are; aiding and healing others, summoning powerful allies, or blasting their enemies with "
           "powerful magic.";
}
