#include "game/dialogs/front/volume_dlg.h"

#include <memory>

#include "game/app.h"
#include "ui/ui_button.h"
#include "ui/ui_manager.h"

void CDRAVVolumeDlg::CreateControls(RECT area, DRAVUI::CUIManager& container) {
    const auto config = container.GetConfig();
    const int width = config->Pick(96, 64);
    const int height = config->Pick(32, 24);
    const POINT centre = RectCenter(area);
    LONG top = centre.y - 11 * height / 2;
    for (int value = 0; value <= 100; value += 10) {
        auto button = std::make_shared<DRAVUI::CUITextButton>(
            kFirstStep + value, value == 0 ? std::string("mute") : std::to_string(value) + "%", config);
        button->SetRect(RECT{centre.x - width / 2, top, centre.x - width / 2 + width, top + height});
        if (value == m_volume) button->SetFlag(DRAVUI::UIF_SELECTED, true);
        container.AddElement(button);
        top += height;
    }
}

bool CDRAVVolumeDlg::OnButton(int id) {
    if (id < kFirstStep || id > kFirstStep + 100) return false;
    m_volume = id - kFirstStep;
    return true;
}

void CDRAVVolumeDlg::OnClose(int) {
    if (m_app->GetAudio()) m_app->GetAudio()->SetVolume(m_volume);
}
