#include "game/dialogs/text_dlg.h"

#include <memory>

#include "common/exception.h"
#include "game/app.h"
#include "ui/ui_button.h"
#include "ui/ui_group.h"
#include "ui/ui_manager.h"
#include "ui/ui_text_element.h"

CTextDlg::CTextDlg(CDRAVApp* app, std::string title, std::string text, DRAV::CActor* subject, bool narrow)
    : CDRAVDlg(app), m_title(std::move(title)), m_text(std::move(text)), m_subject(subject), m_narrow(narrow) {}

std::shared_ptr<CTextDlg> CTextDlg::CTextDlgWithAnchor(CDRAVApp* app, std::string title, std::string text,
                                                       std::string manualAnchor) {
    auto dialog = std::make_shared<CTextDlg>(app, std::move(title), std::move(text), nullptr, false);
    dialog->m_manualAnchor = std::move(manualAnchor);
    return dialog;
}

void CTextDlg::CreateControls(RECT area, DRAVUI::CUIManager& container) {
    const auto config = container.GetConfig();
    const RECT box = m_narrow ? CenteredBox(area, 480, 320) : CenteredBox(area, config->Pick(800, 640), 480);
    RECT textRect = DRAVUI::Inflated(box, -16);
    textRect.bottom -= 48;
    auto text = std::make_shared<DRAVUI::CUITextElement>(config, 0, m_text, true, true);
    text->SetRect(textRect);
    container.AddElement(text);

    auto row = std::make_shared<DRAVUI::CUIGroup>("", true, false, 0u, 16, config);
    const int buttonWidth = config->Pick(128, 96);
    auto addButton = [&](int id, const std::string& label) {
        auto button = std::make_shared<DRAVUI::CUITextButton>(id, label, config);
        button->SetSize(buttonWidth, 32);
        row->AddChild(button);
    };
    if (!m_manualAnchor.empty()) addButton(kManual, "Manual");
    if (!m_extraLabel.empty()) addButton(kExtra, m_extraLabel);
    addButton(kDone, "Done");
    row->CenterOn(POINT{box.left + (box.right - box.left) / 2, textRect.bottom + 32});
    container.AddElement(row);
}

void CTextDlg::OnClose(int result) {
    switch (result) {
        case 0:
        case kDone:
            return;
        case kManual:
            m_app->OpenManual(m_manualAnchor);
            return;
        case kExtra:
            OnExtraButton();
            return;
        default:
            throw CDRAVException(DRAV_ERR_UNEXPECTED);
    }
}
