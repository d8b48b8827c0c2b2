#pragma once
// The game's identity, version, the chapter being played, contact points and
// credits, with "Website" (3) opening the product's web page.

#include <string>

#include "game/dialogs/text_dlg.h"

class CAboutDlg : public CTextDlg {
public:
    explicit CAboutDlg(CDRAVApp* app);

    void OnExtraButton() override;
};

// The chapter line appears only while a game is being played.
std::string BuildAboutText(const CDRAVApp& app);
