#include "game/dialogs/yes_no_dlg.h"

#include <memory>

#include "platform/win32/virtual_keys.h"
#include "ui/ui_button.h"
#include "ui/ui_manager.h"
#include "ui/ui_text_element.h"

CYesNoDlg::CYesNoDlg(CDRAVApp* app, std::string title, std::string question)
    : CDRAVDlg(app), m_title(std::move(title)), m_question(std::move(question)) {}

void CYesNoDlg::CreateControls(RECT area, DRAVUI::CUIManager& container) {
    const auto config = container.GetConfig();
    // One size in both layouts; only the buttons grow in the large one.
    const RECT box = CenteredBox(area, 480, 320);
    RECT textRect = DRAVUI::Inflated(box, -16);
    textRect.bottom -= 48;
    auto text = std::make_shared<DRAVUI::CUITextElement>(config, 0, m_question, true, true);
    text->SetRect(textRect);
    container.AddElement(text);

    const int buttonWidth = config->Pick(80, 64);
    const LONG centreX = box.left + (box.right - box.left) / 2;
    const LONG top = textRect.bottom + 16;
    auto yes = std::make_shared<DRAVUI::CUITextButton>(kYes, "Yes", config);
    yes->SetRect(RECT{centreX - 8 - buttonWidth, top, centreX - 8, top + 32});
    container.AddElement(yes);
    auto no = std::make_shared<DRAVUI::CUITextButton>(kNo, "No", config);
    no->SetRect(RECT{centreX + 8, top, centreX + 8 + buttonWidth, top + 32});
    container.AddElement(no);
}

bool CYesNoDlg::OnKey(int key, bool, int* result) {
    if (key == 'Y') {
        *result = kYes;
        return true;
    }
    if (key == 'N' || key == static_cast<int>(VK_ESCAPE)) {
        *result = kNo;
        return true;
    }
    return false;
}

void CYesNoDlg::OnClose(int result) {
    if (result == kYes)
        OnYes();
    else
        OnNo();
}
