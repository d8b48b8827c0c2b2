#include "game/dialogs/creation/skills_dlg.h"

#include <algorithm>
#include <sstream>

#include "engine/engine.h"
#include "game/app.h"
#include "game/dialogs/creation/cc_looks_dlg.h"
#include "game/dialogs/sheet/skill_dlg.h"
#include "platform/win32/virtual_keys.h"
#include "rules/descriptions/description_frame.h"
#include "rules/vocabulary/actor_class.h"
#include "rules/vocabulary/skills.h"
#include "ui/ui_button.h"
#include "ui/ui_group.h"
#include "ui/ui_list_element.h"
#include "ui/ui_manager.h"
#include "ui/ui_scroll_bar.h"
#include "ui/ui_static_text.h"
#include "world/actor.h"
#include "world/order.h"

namespace {

constexpr int kGroupCount = 3;
constexpr std::uint32_t kKnownBackground = 0x4000FF00;

int ListOfLevel(int level) {
    if (level >= 10) return 2;
    if (level >= 2) return 1;
    return 0;
}

// "A and B": the skills that must be known before `skill`, as the rule table has them.
std::string PrerequisiteNames(DRAV::SkillId skill) {
    std::ostringstream out;
    bool first = true;
    for (const std::int32_t prerequisite : DRAV::GetSkillInfo(skill).prerequisites) {
        if (prerequisite == DRAV::kNoSkill) continue;
        if (!first) out << " and ";
        DRAV::WriteSkillLink(static_cast<DRAV::SkillId>(prerequisite), out);
        first = false;
    }
    return out.str();
}

}  // namespace

std::string SkillRequirementText(int skill) {
    const DRAV::SkillInfo& info = DRAV::GetSkillInfo(static_cast<DRAV::SkillId>(skill));
    std::ostringstream out;
    if (info.level != 0) out << " Level " << info.level;
    if (info.prerequisites[0] != DRAV::kNoSkill) {
        out << (info.level != 0 ? ", " : " ");
        DRAV::WriteSkillLink(static_cast<DRAV::SkillId>(info.prerequisites[0]), out);
        for (int k = 1; k < 3; ++k) {
            if (info.prerequisites[k] == DRAV::kNoSkill) continue;
            out << ", ";
            DRAV::WriteSkillLink(static_cast<DRAV::SkillId>(info.prerequisites[k]), out);
        }
    }
    const std::string rest = out.str();
    return rest.empty() ? rest : "Req:" + rest;
}

CSkillsDlg::CSkillsDlg(CDRAVApp* app, std::shared_ptr<DRAV::CActor> actor, DRAV::CActor* target, bool creation)
    : CCCDlg(app, std::move(actor)),
      m_creation(creation),
      m_target(target),
      m_group(target->GetClass() == DRAV::CLASS_MONSTER ? 0 : static_cast<int>(target->GetClass())) {}

CSkillsDlg::CSkillsDlg(CDRAVApp* app, DRAV::CActor* actor) : CSkillsDlg(app, nullptr, actor, false) {}

std::shared_ptr<CSkillsDlg> CSkillsDlg::CSkillsDlgForCreation(CDRAVApp* app, std::shared_ptr<DRAV::CActor> actor) {
    DRAV::CActor* target = actor.get();
    std::shared_ptr<CSkillsDlg> page(new CSkillsDlg(app, std::move(actor), target, true));
    target->AddSkill(DRAV::GetClassInfo(target->GetClass()).freeSkill);
    return page;
}

std::string CSkillsDlg::GetTitle() { return m_creation ? "Skills" : m_target->GetName(); }

int CSkillsDlg::PicksLeft() const {
    std::int32_t classPicks = 0, generalPicks = 0;
    m_target->GetUnspentSkillPicks(classPicks, generalPicks);
    return classPicks + generalPicks;
}

void CSkillsDlg::CreatePage(RECT area, DRAVUI::CUIManager& container) {
    m_config = container.GetConfig();
    const auto& config = m_config;
    const bool large = config->IsLarge();

    auto groups = std::make_shared<DRAVUI::CUIGroup>("", true, false, 0u, 16, config);
    m_groupButtons.clear();
    for (int g = 0; g < kGroupCount; ++g) {
        const std::string name = DRAV::GetClassName(static_cast<DRAV::ActorClass>(g));
        auto button = std::make_shared<DRAVUI::CUITextButton>(kFirstGroup + g, name, config);
        button->SetSize(large ? 256 : 192, 32);
        button->SetInfo(name, "Click for " + name + " skills", "");
        m_groupButtons.push_back(button.get());
        groups->AddChild(button);
    }

    auto lists = std::make_shared<DRAVUI::CUIGroup>("", true, false, 0u, 8, config);
    static const char* const kCaptions[] = {"Level 1", "Level 2-9", "Level 10+"};
    const int listHeight = (area.bottom - area.top) - 96;
    for (int k = 0; k < 3; ++k) {
        auto list = std::make_shared<DRAVUI::CUIListElement>(config, 0, kCaptions[k], large ? 36 : 28, 1,
                                                             large ? 318 : 238);
        const RECT* rect = list->GetRect();
        list->SetRect(RECT{rect->left, rect->top, rect->right, rect->top + listHeight});
        m_lists[k] = list.get();
        lists->AddChild(list);
    }

    auto bottom = std::make_shared<DRAVUI::CUIGroup>("", true, false, 0u, 16, config);
    auto pointsLine = std::make_shared<DRAVUI::CUIGroup>("", true, true, 1u, 0, config);
    auto caption = std::make_shared<DRAVUI::CUIStaticText>("Points:", 0, config);
    caption->SetSize(100, 24);
    pointsLine->AddChild(caption);
    auto points = std::make_shared<DRAVUI::CUIStaticText>("", 0, config);
    points->SetFlag(DRAVUI::UIF_FRAMED, true);
    points->SetSize(100, 24);
    m_pointsText = points.get();
    pointsLine->AddChild(points);
    bottom->AddChild(pointsLine);
    auto addButton = [&](int id, const std::string& label) {
        auto button = std::make_shared<DRAVUI::CUITextButton>(id, label, config);
        button->SetSize(large ? 80 : 64, 32);
        bottom->AddChild(button);
        return button.get();
    };
    if (m_creation) addButton(kReset, "Reset");
    DRAVUI::CUITextButton* done = addButton(kDone, "Done");
    m_doneButton = nullptr;
    if (m_creation) {
        done->SetFlag(DRAVUI::UIF_SHOWN, false);
        m_doneButton = done;
    }

    auto page = std::make_shared<DRAVUI::CUIGroup>("", false, false, 0u, 16, config);
    page->AddChild(groups);
    page->AddChild(lists);
    page->AddChild(bottom);
    page->CenterOn(RectCenter(area));
    container.AddElement(page);

    Refresh();
    m_scroll = {};
}

void CSkillsDlg::Refresh() {
    for (auto* list : m_lists) list->ClearRows();
    const int picks = PicksLeft();
    m_pointsText->m_text = std::to_string(picks);
    if (m_group == DRAV::CLASS_MONSTER) m_group = 0;
    for (int g = 0; g < static_cast<int>(m_groupButtons.size()); ++g)
        m_groupButtons[g]->SetFlag(DRAVUI::UIF_SELECTED, g == m_group);
    for (int skill = 0; skill < DRAV::kSkillCount; ++skill) {
        const DRAV::SkillInfo& info = DRAV::GetSkillInfo(static_cast<DRAV::SkillId>(skill));
        if (info.skillClass != m_group) continue;
        m_lists[ListOfLevel(info.level)]->AddCell(0, MakeSkillRow(skill));
    }
    for (int k = 0; k < 3; ++k) {
        DRAVUI::CUIScrollBar& bar = m_lists[k]->ScrollBar();
        bar.m_position = std::min(m_scroll[k], bar.m_range);
        bar.UpdateThumb();
    }
    if (m_doneButton) m_doneButton->SetFlag(DRAVUI::UIF_SHOWN, picks == 0);
}

std::shared_ptr<DRAVUI::CUIGroup> CSkillsDlg::MakeSkillRow(int skill) {
    const auto id = static_cast<DRAV::SkillId>(skill);
    const bool large = m_config->IsLarge();
    const bool known = m_target->HasSkill(id);
    const bool forgettable = known && m_target->CanForgetSkill(id);
    const bool buyable = !known && m_target->CanLearnSkill(id);
    const bool hasButton = buyable || forgettable;

    auto row = std::make_shared<DRAVUI::CUIGroup>("", true, true, kKnownBackground, 0, m_config);
    row->SetFlag(DRAVUI::UIF_BACKGROUND, known);

    const std::string name = DRAV::GetSkillName(id);
    auto label = std::make_shared<DRAVUI::CUIStaticText>(name, kFirstName + skill, m_config);
    label->SetFlag(DRAVUI::UIF_TEXT_HOVER, true);
    label->SetInfo(name, SkillRequirementText(skill), "Skill Info");
    label->SetSize(hasButton ? (large ? 240 : 180) : (large ? 312 : 232), large ? 32 : 24);
    row->AddChild(label);

    if (hasButton) {
        auto button = buyable ? std::make_shared<DRAVUI::CUITextButton>(kFirstBuy + skill, "Buy", m_config)
                              : std::make_shared<DRAVUI::CUITextButton>(kFirstForget + skill, "Forget", m_config);
        button->SetSize(large ? 72 : 52, large ? 32 : 24);
        row->AddChild(button);
    }
    if (known) {
        label->SetFlag(DRAVUI::UIF_SELECTED, true);
        row->SetFlag(DRAVUI::UIF_SELECTED, true);
    }
    return row;
}

void CSkillsDlg::RunOrder(int learn, int forget) {
    m_target->PushInstantOrder(std::make_shared<DRAV::CSpendPointsOrder>(DRAV::kNoAttribute, learn, forget));
    m_app->RunInstantOrders();
    m_app->DrainEngineEvents();
}

bool CSkillsDlg::OnButton(int id) {
    if (id == kDone) return true;
    if (id == kReset && m_creation) {
        m_target->ResetSkills();
        m_scroll = {};
    } else if (id >= kFirstBuy && id < kFirstBuy + DRAV::kSkillCount) {
        const auto skill = static_cast<DRAV::SkillId>(id - kFirstBuy);
        if (!m_creation)
            RunOrder(skill, DRAV::kNoSkill);
        else if (m_target->CanLearnSkill(skill))
            m_target->AddSkill(skill);
    } else if (id >= kFirstGroup && id < kFirstGroup + kGroupCount) {
        m_group = id - kFirstGroup;
    } else if (id >= kFirstForget && id < kFirstForget + DRAV::kSkillCount) {
        const auto skill = static_cast<DRAV::SkillId>(id - kFirstForget);
        // The new actor is in no party the engine runs orders for: it forgets here.
        if (!m_creation)
            RunOrder(DRAV::kNoSkill, skill);
        else if (m_target->CanForgetSkill(skill))
            m_target->RemoveSkill(skill);
    } else {
        return CCCDlg::OnButton(id);
    }
    Refresh();
    if (m_app->GetAudio()) m_app->GetAudio()->PlaySound(0);
    return false;
}

bool CSkillsDlg::OnAltClick(int id) {
    if (id >= kFirstName && id < kFirstName + DRAV::kSkillCount)
        m_app->SetDialog(false, std::make_shared<CSkillDlg>(m_app, static_cast<DRAV::SkillId>(id - kFirstName), m_target));
    return false;
}

bool CSkillsDlg::OnKey(int key, bool, int* result) {
    *result = 0;
    if (key == static_cast<int>(VK_RETURN)) {
        if (m_creation && PicksLeft() != 0) return false;
        *result = kDone;
        return true;
    }
    if (key == static_cast<int>(VK_ESCAPE)) {
        *result = kCancel;
        return true;
    }
    if (key == kHelpKey) OnButton(kHelp);
    return false;
}

void CSkillsDlg::OnSuspend() {
    for (int k = 0; k < 3; ++k)
        if (m_lists[k]) m_scroll[k] = m_lists[k]->ScrollBar().m_position;
}

void CSkillsDlg::OnClose(int result) {
    if (!m_creation) return;
    if (result == kDone)
        m_app->SetDialog(true, std::make_shared<CCCHeadDlg>(m_app, m_actor));
    else
        CCCDlg::OnClose(result);
}

std::string CSkillsDlg::GetDescription() {
    const std::string first =
        m_creation ? "On this page you must select the skills that your character starts with. These skills determine "
                     "a character's abilities in combat, spellcasting, and other functions. It is important that you "
                     "select skills that will aid your character in the game. LINE LINE "
                   : "You have a number of points to spend to raise your skills. Raise the skills that are most "
                     "important to your character's style. LINE LINE ";
    return first +
           "Most characters will want to select at least one of the weapon specialization skills. Fighters and "
           "Adventurers will likely want to select Armor as well, and perhaps two or more weapon skills. "
           "Spellcasters will likely want to select several of the spell skills. LINE LINE Any skills that are "
           "greyed out are not available to your character. Note that some skills have prerequisites; for instance "
           "to select Elemental Magic, you must first select " +
           PrerequisiteNames(DRAV::SKILL_ELEMENTAL_MAGIC) + ". LINE LINE " + GetClickVerb() +
           " on a skill to get a further description of that skill.";
}
