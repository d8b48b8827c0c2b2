#include "game/dialogs/talk/store_count_dlg.h"

#include <algorithm>
#include <memory>

#include "engine/engine.h"
#include "game/app.h"
#include "game/dialogs/talk/store_dlg.h"
#include "platform/win32/virtual_keys.h"
#include "ui/ui_button.h"
#include "ui/ui_group.h"
#include "ui/ui_manager.h"
#include "ui/ui_static_text.h"
#include "ui/ui_text_element.h"
#include "world/actor.h"
#include "world/game.h"
#include "world/item.h"

namespace {

constexpr int kClickSound = 0;

std::uint32_t PartyGold(CDRAVApp& app) {
    return static_cast<std::uint32_t>(std::max(0, app.GetEngine()->GetGame()->GetGold()));
}

}  // namespace

CStoreCountDlg::CStoreCountDlg(CDRAVApp* app, DRAV::CActor* member, DRAV::CActor* keeper, bool buying,
                               DRAV::CItem* item)
    : CDRAVDlg(app), m_member(member), m_keeper(keeper), m_buying(buying), m_item(item) {
    const auto stack = static_cast<std::uint32_t>(std::max(0, m_item->GetCount()));
    m_maxCount = stack;
    if (m_buying) {
        m_unitPrice = m_item->GetTemplate().GetValue();
        // What costs nothing can be taken whole.
        if (m_unitPrice > 0) m_maxCount = std::min(stack, PartyGold(*app) / m_unitPrice);
    } else {
        m_keeper->GetStoreBuyPrice(*m_item, m_unitPrice);
    }
}

std::string CStoreCountDlg::GetTitle() { return m_keeper->GetName(); }

std::string CStoreCountDlg::GetQuestion() const {
    // The item by the name the store's list and the log give it.
    std::string question = "How many of " + m_item->GetTemplate().GetName() + " would you like to " +
                           (m_buying ? "buy " : "sell ") + "for " + std::to_string(m_unitPrice) +
                           " gold per item?";
    if (m_buying) question += " LINE LINE " + std::to_string(PartyGold(*m_app)) + " gold available.";
    return question;
}

void CStoreCountDlg::CreateControls(RECT area, DRAVUI::CUIManager& container) {
    const auto config = container.GetConfig();
    const bool large = config->IsLarge();
    auto outer = std::make_shared<DRAVUI::CUIGroup>("", false, false, 0, 16, config);

    auto question = std::make_shared<DRAVUI::CUITextElement>(config, 0, GetQuestion(), true, true);
    question->SetRect(RECT{0, 0, 448, large ? 168 : 96});
    outer->AddChild(question);

    auto countRow = std::make_shared<DRAVUI::CUIGroup>("", true, false, 0, 0, config);
    auto count = std::make_shared<DRAVUI::CUIStaticText>("1", 0, config);
    count->SetRect(large ? RECT{0, 0, 80, 40} : RECT{0, 0, 64, 32});
    count->SetFlag(DRAVUI::UIF_FRAMED | DRAVUI::UIF_CENTRED | DRAVUI::UIF_ONE_LINE, true);
    m_countText = count.get();
    countRow->AddChild(count);
    const RECT step = large ? RECT{0, 0, 40, 40} : RECT{0, 0, 32, 32};
    for (const auto& [id, label] : {std::pair{kMore, "+"}, std::pair{kLess, "-"}}) {
        auto button = std::make_shared<DRAVUI::CUITextButton>(id, label, config);
        button->SetRect(step);
        countRow->AddChild(button);
    }
    outer->AddChild(countRow);

    auto buttonRow = std::make_shared<DRAVUI::CUIGroup>("", true, false, 0, 16, config);
    const RECT buttonRect{0, 0, large ? 80 : 64, 32};
    for (const auto& [id, label] : {std::pair{kTrade, m_buying ? "Buy" : "Sell"}, std::pair{kCancel, "Cancel"}}) {
        auto button = std::make_shared<DRAVUI::CUITextButton>(id, label, config);
        button->SetRect(buttonRect);
        buttonRow->AddChild(button);
    }
    outer->AddChild(buttonRow);

    outer->CenterOn(RectCenter(area));
    container.AddElement(outer);
    UpdateCountText();
}

void CStoreCountDlg::UpdateCountText() {
    if (m_countText) m_countText->m_text = std::to_string(m_count);
}

bool CStoreCountDlg::OnButton(int id) {
    if (id == kMore || id == kLess) {
        if (m_app->GetAudio()) m_app->GetAudio()->PlaySound(kClickSound);
        if (id == kMore && m_count < m_maxCount) ++m_count;
        if (id == kLess && m_count > 0) --m_count;
        UpdateCountText();
        return false;
    }
    // The question and the count are no buttons: a click on them trades nothing.
    return id == kTrade || id == kCancel;
}

bool CStoreCountDlg::OnKey(int key, bool, int* result) {
    if (key == static_cast<int>(VK_ESCAPE)) {
        *result = kCancel;
        return true;
    }
    if (key == static_cast<int>(VK_RETURN)) {
        *result = kTrade;
        return true;
    }
    if (key == static_cast<int>(VK_OEM_PLUS)) OnButton(kMore);
    if (key == static_cast<int>(VK_OEM_MINUS)) OnButton(kLess);
    return false;
}

void CStoreCountDlg::OnClose(int result) {
    if (result != kTrade || m_count == 0) return;
    RunStoreOrder(*m_app, *m_member, *m_keeper, m_buying, *m_item, m_count, CStoreDlg::kToBackpack);
}
