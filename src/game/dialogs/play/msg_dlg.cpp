#include "game/dialogs/play/msg_dlg.h"

#include <memory>

#include "ui/ui_button.h"
#include "ui/ui_manager.h"
#include "ui/ui_text_element.h"

void CDRAVMsgDlg::CreateControls(RECT area, DRAVUI::CUIManager& container) {
    const auto config = container.GetConfig();
    const RECT box = CenteredBox(area, config->Pick(800, 640), 480);
    RECT textRect = DRAVUI::Inflated(box, -16);
    textRect.bottom -= 48;
    auto text = std::make_shared<DRAVUI::CUITextElement>(config, m_messageLog);
    text->SetRect(textRect);
    container.AddElement(text);

    const int buttonWidth = config->Pick(80, 64);
    auto done = std::make_shared<DRAVUI::CUITextButton>(kDone, "Done", config);
    const int left = box.left + (box.right - box.left) / 2 - buttonWidth / 2;
    const RECT buttonRect{left, textRect.bottom + 16, left + buttonWidth, textRect.bottom + 48};
    done->SetRect(buttonRect);
    container.AddElement(done);
}
