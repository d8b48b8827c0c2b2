#include "game/dialogs/creation/cc_looks_dlg.h"

#include <cstring>

#include "engine/engine.h"
#include "game/app.h"
#include "game/dialogs/creation/cc_name_dlg.h"
#include "platform/win32/virtual_keys.h"
#include "rules/module.h"
#include "ui/ui_button.h"
#include "ui/ui_group.h"
#include "ui/ui_list_element.h"
#include "ui/ui_manager.h"
#include "world/actor.h"

const ColorTable HairColors = {0x000000, 0x663300, 0x993300, 0x996600, 0xCC6600, 0xCC9933, 0xFFCC00, 0xFFFF33,
                               0xFFFFFF, 0xCCCC99, 0xCC3300, 0xFF6600, 0x66CCFF, 0x009900, 0x9900FF, 0xFF99FF};
const ColorTable SkinColors = {0xFFE0CC, 0xFFCC99, 0xFFCC66, 0xFF9966, 0xFF9900, 0xCC6600, 0x663300, 0x000000,
                               0x666666, 0xCCCCCC, 0xFFFFCC, 0xFFFF66, 0xFFCC33, 0x99FFFF, 0x6699CC, 0xCCFF66};
const ColorTable TrimColors = {0xC00000, 0xFF0000, 0xFF0080, 0x0000FF, 0x00FFFF, 0x008000, 0x00FF00, 0xFFFF00,
                               0xFF8000, 0xC000C0, 0x96451A, 0xE27438, 0x000000, 0x808080, 0xC0C0C0, 0xFFFFFF};

namespace {

const DRAV::HeadList& HeadsFor(CDRAVApp* app, const DRAV::CActor& actor) {
    const auto& module = *app->GetEngine()->GetModule();
    return actor.GetGender() == DRAV::GENDER_FEMALE ? module.GetFemaleHeads() : module.GetMaleHeads();
}

const ColorTable* const kTables[] = {&HairColors, &SkinColors, &TrimColors};
constexpr int kFirstIds[] = {CCCColorsDlg::kFirstHair, CCCColorsDlg::kFirstSkin, CCCColorsDlg::kFirstTrim};
const char* const kCaptions[] = {"Hair", "Skin", "Trim"};

// The swatch reads red, green and blue from the colour's bytes in memory order.
std::uint32_t SwatchBytes(std::uint32_t rgb) {
    const std::uint8_t bytes[4] = {static_cast<std::uint8_t>(rgb >> 16), static_cast<std::uint8_t>(rgb >> 8),
                                   static_cast<std::uint8_t>(rgb), 0};
    std::uint32_t value = 0;
    std::memcpy(&value, bytes, sizeof value);
    return value;
}

}  // namespace

// ---- head ----

void CCCHeadDlg::CreatePage(RECT area, DRAVUI::CUIManager& container) {
    const auto config = container.GetConfig();
    const int rowHeight = config->Pick(32, 24);
    const int width = config->Pick(400, 300);
    auto list = std::make_shared<DRAVUI::CUIListElement>(config, 0, "", rowHeight, 1, width);
    const RECT* rect = list->GetRect();
    list->SetRect(RECT{rect->left, rect->top, rect->right, rect->top + 5 * rowHeight + 16});
    const DRAV::HeadList& heads = HeadsFor(m_app, *m_actor);
    for (std::size_t i = 0; i < heads.size(); ++i) {
        auto button = std::make_shared<DRAVUI::CUITextButton>(kFirstHead + static_cast<int>(i), heads[i]->text, config);
        button->SetSize(width, rowHeight);
        button->SetInfo(heads[i]->text, "", "");
        list->AddCell(0, button);
    }
    list->CenterOn(RectCenter(area));
    container.AddElement(list);
}

bool CCCHeadDlg::OnButton(int id) {
    if (id < kFirstHead || id > kLastHead) return CCCDlg::OnButton(id);
    const DRAV::HeadList& heads = HeadsFor(m_app, *m_actor);
    const auto index = static_cast<std::size_t>(id - kFirstHead);
    if (index >= heads.size()) return false;
    m_actor->SetGraphicName(heads[index]->word);
    return true;
}

void CCCHeadDlg::OnClose(int result) {
    if (result >= kFirstHead && result <= kLastHead)
        m_app->SetDialog(true, std::make_shared<CCCColorsDlg>(m_app, m_actor));
    else
        CCCDlg::OnClose(result);
}

std::string CCCHeadDlg::GetDescription() {
    return "Here you may select the basic appearance of your character. This selection is purely cosmetic and has "
           "no effect on the abilities of your character.";
}

// ---- colours ----

std::shared_ptr<DRAVUI::CUIElement> CCCColorsDlg::CreateColorColumn(const std::string& caption, int firstId,
                                                                    const ColorTable& table,
                                                                    std::vector<DRAVUI::CUIColorButton*>& swatches) {
    swatches.clear();
    const int size = m_config->Pick(40, 32);
    auto column = std::make_shared<DRAVUI::CUIGroup>(caption, false, true, 1u, 0, m_config);
    for (int r = 0; r < 4; ++r) {
        auto row = std::make_shared<DRAVUI::CUIGroup>("", true, false, 0u, 0, m_config);
        for (int c = 0; c < 4; ++c) {
            const int k = 4 * r + c;
            auto swatch = std::make_shared<DRAVUI::CUIColorButton>(m_config, firstId + k, SwatchBytes(table[k]));
            swatch->SetSize(size, size);
            if (k == 0) swatch->SetFlag(DRAVUI::UIF_SELECTED, true);
            swatches.push_back(swatch.get());
            row->AddChild(swatch);
        }
        column->AddChild(row);
    }
    return column;
}

void CCCColorsDlg::CreatePage(RECT area, DRAVUI::CUIManager& container) {
    m_config = container.GetConfig();
    auto outer = std::make_shared<DRAVUI::CUIGroup>("", true, false, 0u, 16, m_config);
    for (int t = 0; t < 3; ++t) {
        outer->AddChild(CreateColorColumn(kCaptions[t], kFirstIds[t], *kTables[t], m_choices[t].swatches));
        m_choices[t].index = 0;
    }
    auto done = std::make_shared<DRAVUI::CUITextButton>(kDone, "Done", m_config);
    done->SetSize(m_config->Pick(80, 64), 32);
    outer->AddChild(done);
    outer->CenterOn(RectCenter(area));
    container.AddElement(outer);
}

bool CCCColorsDlg::OnButton(int id) {
    if (id == kDone) return true;
    for (int t = 0; t < 3; ++t) {
        const int k = id - kFirstIds[t];
        if (k < 0 || k >= 16) continue;
        Choice& choice = m_choices[t];
        if (!choice.swatches.empty()) {
            choice.swatches[choice.index]->SetFlag(DRAVUI::UIF_SELECTED, false);
            choice.swatches[k]->SetFlag(DRAVUI::UIF_SELECTED, true);
        }
        choice.index = k;
        if (m_app->GetAudio()) m_app->GetAudio()->PlaySound(0);
        break;
    }
    return CCCDlg::OnButton(id);
}

bool CCCColorsDlg::OnKey(int key, bool shift, int* result) {
    if (key == static_cast<int>(VK_RETURN)) {
        *result = kDone;
        return true;
    }
    return CCCDlg::OnKey(key, shift, result);
}

void CCCColorsDlg::OnClose(int result) {
    if (result != kDone) {
        CCCDlg::OnClose(result);
        return;
    }
    auto colors = std::make_shared<DRAVGraph::CGraphicColors>();
    colors->SetColor(DRAVGraph::CGraphicColors::HAIR, HairColors[m_choices[0].index]);
    colors->SetColor(DRAVGraph::CGraphicColors::SKIN, SkinColors[m_choices[1].index]);
    colors->SetColor(DRAVGraph::CGraphicColors::TRIM, TrimColors[m_choices[2].index]);
    m_actor->SetColor(std::move(colors));
    // The actor's own colour, the tint of its portrait, is its skin.
    m_actor->SetNameColor(SkinColors[m_choices[1].index]);
    m_app->SetDialog(true, std::make_shared<CCCNameDlg>(m_app, m_actor));
}

std::string CCCColorsDlg::GetDescription() {
    return "On this page you may select the basic colors for your character; hair, skin, and clothing color. This "
           "choice is purely cosmetic and has no effect on gameplay.";
}
