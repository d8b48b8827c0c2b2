#pragma once
// "Volume": eleven steps from mute to 100%; the volume the dialog holds goes to
// the sound however the dialog closes.

#include <string>

#include "game/dialogs/dialog.h"

class CDRAVVolumeDlg : public CDRAVDlg {
public:
    static constexpr int kFirstStep = 100;

    CDRAVVolumeDlg(CDRAVApp* app, int volume) : CDRAVDlg(app), m_volume(volume) {}

    std::string GetTitle() override { return "Volume"; }
    void CreateControls(RECT area, DRAVUI::CUIManager& container) override;
    bool OnButton(int id) override;
    void OnClose(int result) override;

    int GetVolume() const { return m_volume; }

private:
    int m_volume;
};
