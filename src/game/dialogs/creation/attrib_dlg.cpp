#include "game/dialogs/creation/attrib_dlg.h"

#include "engine/engine.h"
#include "game/app.h"
#include "game/dialogs/creation/skills_dlg.h"
#include "platform/win32/virtual_keys.h"
#include "rules/vocabulary/attributes.h"
#include "ui/ui_button.h"
#include "ui/ui_group.h"
#include "ui/ui_manager.h"
#include "ui/ui_static_text.h"
#include "world/actor.h"
#include "world/order.h"

namespace {

using DRAVUI::UIF_FRAMED;
using DRAVUI::UIF_ONE_LINE;
using DRAVUI::UIF_SHOWN;

constexpr std::uint32_t kValueFlags[] = {UIF_FRAMED, UIF_ONE_LINE, DRAVUI::UIF_CENTRED};

std::shared_ptr<DRAVUI::CUIStaticText> MakeValueText(const std::shared_ptr<DRAVUI::CUIConfig>& config, int width,
                                                     int height) {
    auto text = std::make_shared<DRAVUI::CUIStaticText>("", 0, config);
    for (std::uint32_t flag : kValueFlags) text->SetFlag(flag, true);
    text->SetSize(width, height);
    return text;
}

std::shared_ptr<DRAVUI::CUIGroup> MakeGroup(const std::shared_ptr<DRAVUI::CUIConfig>& config, bool horizontal,
                                            bool border, int spacing) {
    return std::make_shared<DRAVUI::CUIGroup>("", horizontal, border, border ? 1u : 0u, spacing, config);
}

}  // namespace

CAttribDlg::CAttribDlg(CDRAVApp* app, DRAV::CActor* actor) : CCCDlg(app, nullptr), m_target(actor) {}

CAttribDlg::CAttribDlg(CDRAVApp* app, std::shared_ptr<DRAV::CActor> actor)
    : CCCDlg(app, actor), m_target(actor.get()) {}

std::string CAttribDlg::GetTitle() { return IsCharacterCreation() ? "Attributes" : m_target->GetName(); }

std::uint32_t CAttribDlg::RaiseCost(int attribute) {
    if (!IsFirstCreationPass()) return 1;
    return DRAV::AttributeRaiseCost(m_target->GetAttribute(static_cast<DRAV::Attribute>(attribute)));
}

std::shared_ptr<DRAVUI::CUIElement> CAttribDlg::CreateAttributeRow(int index,
                                                                   const std::shared_ptr<DRAVUI::CUIConfig>& config) {
    const int height = config->Pick(32, 24);
    const std::string name = DRAV::GetAttributeName(static_cast<DRAV::Attribute>(index));
    auto row = MakeGroup(config, true, true, 0);

    auto label = std::make_shared<DRAVUI::CUIStaticText>(name, kFirstName + index, config);
    label->SetFlag(UIF_ONE_LINE, true);
    label->SetFlag(DRAVUI::UIF_BACKGROUND, true);
    label->SetSize(config->Pick(150, 100), height);
    label->SetInfoNoAction(name, GetClickVerb() + " for Manual");
    row->AddChild(label);

    auto value = MakeValueText(config, 40, height);
    m_valueTexts.push_back(value.get());
    row->AddChild(value);

    auto add = std::make_shared<DRAVUI::CUITextButton>(kFirstAdd + index, "Add", config);
    add->SetSize(96, height);
    add->SetInfoNoAction("Add " + name, "");
    m_addButtons.push_back(add.get());
    row->AddChild(add);

    if (IsFirstCreationPass()) {
        auto subtract = std::make_shared<DRAVUI::CUITextButton>(kFirstSubtract + index, "Subtract", config);
        subtract->SetSize(96, height);
        subtract->SetInfoNoAction("Subtract 1", "");
        m_subtractButtons.push_back(subtract.get());
        row->AddChild(subtract);
    }
    return row;
}

void CAttribDlg::CreatePage(RECT area, DRAVUI::CUIManager& container) {
    const auto config = container.GetConfig();
    m_valueTexts.clear();
    m_addButtons.clear();
    m_subtractButtons.clear();
    m_doneButton = nullptr;

    auto page = MakeGroup(config, false, false, 16);
    auto columns = MakeGroup(config, true, false, 16);
    auto left = MakeGroup(config, false, false, 16);
    auto right = MakeGroup(config, false, false, 16);
    for (int i = 0; i < kAttributeCount; ++i) (i < 3 ? left : right)->AddChild(CreateAttributeRow(i, config));

    auto pointsLine = MakeGroup(config, true, true, 0);
    auto caption = std::make_shared<DRAVUI::CUIStaticText>("Points:", 0, config);
    caption->SetFlag(UIF_ONE_LINE, true);
    caption->SetSize(96, 24);
    pointsLine->AddChild(caption);
    auto points = MakeValueText(config, 96, 24);
    m_pointsText = points.get();
    pointsLine->AddChild(points);
    right->AddChild(pointsLine);
    columns->AddChild(left);
    columns->AddChild(right);
    page->AddChild(columns);

    auto buttons = MakeGroup(config, true, false, 16);
    auto makeButton = [&](int id, const std::string& label) {
        auto button = std::make_shared<DRAVUI::CUITextButton>(id, label, config);
        button->SetSize(config->Pick(80, 64), 32);
        button->SetInfoNoAction(label, "");
        buttons->AddChild(button);
        return button.get();
    };
    if (IsFirstCreationPass()) makeButton(kReset, "Reset");
    DRAVUI::CUITextButton* done = makeButton(kDone, "Done");
    if (IsCharacterCreation()) m_doneButton = done;
    page->AddChild(buttons);

    page->CenterOn(RectCenter(area));
    container.AddElement(page);
    UpdateValues();
}

void CAttribDlg::UpdateValues() {
    const std::uint32_t points = m_target->GetUnspentPoints();
    if (m_pointsText) m_pointsText->m_text = std::to_string(points);
    bool raisePossible = false;
    for (int i = 0; i < static_cast<int>(m_addButtons.size()); ++i) {
        const auto attribute = static_cast<DRAV::Attribute>(i);
        m_valueTexts[i]->m_text = std::to_string(m_target->GetAttribute(attribute));
        const std::uint32_t cost = RaiseCost(i);
        const bool affordable = cost <= points;
        m_addButtons[i]->SetFlag(UIF_SHOWN, affordable);
        m_addButtons[i]->m_label = affordable ? "Add (" + std::to_string(cost) + ")" : "Add";
        raisePossible = raisePossible || affordable;
        if (i < static_cast<int>(m_subtractButtons.size()))
            m_subtractButtons[i]->SetFlag(UIF_SHOWN, m_target->GetAttribute(attribute) > kResetValue);
    }
    if (m_doneButton) m_doneButton->SetFlag(UIF_SHOWN, !raisePossible);
}

bool CAttribDlg::OnButton(int id) {
    if (id >= kFirstName && id < kFirstName + kAttributeCount) {
        m_app->OpenManual("Attributes");
        return false;
    }
    if (id == kDone) return true;
    if (id == kReset) {
        for (int i = 0; i < kAttributeCount; ++i) m_target->SetAttribute(static_cast<DRAV::Attribute>(i), kResetValue);
        m_target->SetUnspentPoints(kResetPoints);
    } else if (id >= kFirstAdd && id < kFirstAdd + kAttributeCount) {
        const int attribute = id - kFirstAdd;
        // The page never offers a raise the points cannot pay for; a click that
        // raced a change of the points is ignored rather than refused loudly.
        if (RaiseCost(attribute) > m_target->GetUnspentPoints()) return false;
        if (IsCharacterCreation()) {
            m_target->IncreaseAttribute(static_cast<DRAV::Attribute>(attribute), IsBonusPass());
        } else {
            m_target->PushInstantOrder(
                std::make_shared<DRAV::CSpendPointsOrder>(attribute, DRAV::kNoSkill, DRAV::kNoSkill));
            m_app->RunInstantOrders();
        }
    } else if (id >= kFirstSubtract && id < kFirstSubtract + kAttributeCount && IsFirstCreationPass()) {
        const auto attribute = static_cast<DRAV::Attribute>(id - kFirstSubtract);
        if (m_target->GetAttribute(attribute) <= kResetValue) return false;
        m_target->DecreaseAttribute(attribute);
    } else {
        return CCCDlg::OnButton(id);
    }
    UpdateValues();
    if (m_app->GetAudio()) m_app->GetAudio()->PlaySound(0);
    return false;
}

void CAttribDlg::OnClose(int result) {
    if (result == kDone) {
        std::int32_t classPicks = 0, generalPicks = 0;
        m_target->GetUnspentSkillPicks(classPicks, generalPicks);
        if (classPicks > 0 || generalPicks > 0) m_app->SetDialog(true, std::make_shared<CSkillsDlg>(m_app, m_target));
        return;
    }
    // In play cancel only closes the page; the party member keeps its points.
    if (result == kCancel && !IsCharacterCreation()) return;
    CCCDlg::OnClose(result);
}

std::string CAttribDlg::GetDescription() {
    std::string text;
    if (IsCharacterCreation()) {
        text = IsBonusPass() ? "As a level " + std::to_string(m_target->GetLevel()) +
                                   " character, you get bonus attributes. LINE LINE "
                             : "Now let's determine the basic physical and mental attributes of your character. "
                               "LINE LINE ";
    }
    return text +
           "You have a number of points to spend to raise these attributes. Try to raise the attributes that are "
           "important to your character's style. For instance many fighters will want to primarily raise their "
           "Strength and Durability, whereas many spellcasters will find Intelligence to be of paramount importance."
           " LINE LINE Click an attribute for information in the manual. ";
}

bool CCCAttribDlg::OnKey(int key, bool, int* result) {
    *result = 0;
    if (key == static_cast<int>(VK_RETURN)) {
        if (!m_doneButton || !m_doneButton->HasFlag(UIF_SHOWN)) return false;
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

void CCCAttribDlg::OnClose(int result) {
    if (result != kDone) {
        CAttribDlg::OnClose(result);
        return;
    }
    if (!m_bonusPass) {
        // Points left over in the first pass give way to the bonus points.
        const std::uint32_t bonus = m_target->GetLevel() / 4;
        m_target->SetUnspentPoints(bonus);
        if (bonus > 0) {
            m_app->SetDialog(true, std::make_shared<CCCAttribDlg>(m_app, m_actor, true));
            return;
        }
    }
    auto skills = CSkillsDlg::CSkillsDlgForCreation(m_app, m_actor);
    m_app->SetDialog(true, skills);
    skills->ShowDescription();
}
