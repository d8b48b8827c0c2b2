#include "game/dialogs/play/wizard_dlg.h"

#include <memory>

#include "game/app.h"
#include "platform/win32/virtual_keys.h"
#include "ui/ui_button.h"
#include "ui/ui_group.h"
#include "ui/ui_manager.h"
#include "ui/ui_static_text.h"
#include "ui/ui_text_element.h"

namespace {

// Room for a command word, a key name and a count or two.
constexpr std::size_t kCommandLength = 80;

int Height(DRAVUI::CUIElement& element) {
    const RECT* rect = element.GetRect();
    return rect->bottom - rect->top;
}

}  // namespace

void CWizardDlg::CreateControls(RECT area, DRAVUI::CUIManager& container) {
    const auto config = container.GetConfig();
    const POINT centre = RectCenter(area);

    auto warning =
        std::make_shared<DRAVUI::CUITextElement>(config, 0, "Wizard Dialog - Use at your own risk. LINE ", true, true);
    warning->SetSize(config->Pick(600, 400), 200);
    auto entry = std::make_shared<DRAVUI::CUIStaticText>("", 0, config);
    entry->SetFlag(32, true);
    entry->SetSize(400, config->Pick(32, 24));
    entry->SetMaxLength(kCommandLength);
    auto row = std::make_shared<DRAVUI::CUIGroup>("", true, false, 0u, 16, config);
    for (const auto& [id, label] : {std::pair{kDone, "Done"}, std::pair{kCancel, "Cancel"}}) {
        auto button = std::make_shared<DRAVUI::CUITextButton>(id, label, config);
        button->SetSize(config->Pick(80, 64), 32);
        row->AddChild(button);
    }
    row->CenterOn(centre);

    // Warning, entry and buttons stacked 16 apart, the stack centred as a whole.
    const std::shared_ptr<DRAVUI::CUIElement> stack[] = {warning, entry, row};
    int total = 2 * 16;
    for (const auto& element : stack) total += Height(*element);
    int top = centre.y - total / 2;
    for (const auto& element : stack) {
        const int height = Height(*element);
        element->CenterOn(POINT{centre.x, top + height / 2});
        top += height + 16;
        container.AddElement(element);
    }
    m_entry = entry.get();
}

bool CWizardDlg::OnButton(int id) {
    if (id == kDone) {
        m_command = m_entry ? m_entry->m_text : std::string();
        return true;
    }
    return id == kCancel;
}

bool CWizardDlg::OnKey(int key, bool shift, int* result) {
    if (key == static_cast<int>(VK_ESCAPE)) {
        *result = 0;
        return true;
    }
    if (key == static_cast<int>(VK_RETURN)) {
        m_command = m_entry ? m_entry->m_text : std::string();
        *result = kDone;
        return true;
    }
    if (m_entry) m_entry->OnKey(static_cast<std::uint32_t>(key), shift);
    return false;
}

void CWizardDlg::OnClose(int result) {
    if (result == kDone && !m_command.empty()) m_app->ExecuteDebugCommand(m_command);
}
