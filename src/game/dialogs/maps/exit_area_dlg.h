#pragma once
// "Exit?": the party stands at an exit to a named entry of another area; Yes
// saves and takes it there, No leaves it where it is.

#include <string>

#include "game/dialogs/yes_no_dlg.h"

class CExitAreaDlg : public CYesNoDlg {
public:
    CExitAreaDlg(CDRAVApp* app, const std::string& exitName)
        : CYesNoDlg(app, "Exit?", "Exit to " + exitName + "?") {}

    void OnYes() override;
    void OnNo() override {}
};
