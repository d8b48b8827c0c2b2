#pragma once
// The last creation page: the main character's name. A name that a saved game
// already answers to (by its header or by its file) asks before the new game
// can overwrite that save at its first saving.

#include "game/dialogs/creation/cc_dlg.h"
#include "game/dialogs/yes_no_dlg.h"

namespace DRAVUI {
class CUIStaticText;
class CUITextButton;
}  // namespace DRAVUI

class CCCNameDlg : public CCCDlg {
public:
    static constexpr int kDone = 100;

    using CCCDlg::CCCDlg;

    std::string GetTitle() override { return "Name"; }
    bool OnButton(int id) override;
    bool OnKey(int key, bool shift, int* result) override;
    void OnClose(int result) override;
    std::string GetDescription() override;
    void CreatePage(RECT area, DRAVUI::CUIManager& container) override;

    // The typed text as a name: blanks at either end dropped; empty when it holds
    // no letter or digit.
    std::string TypedName() const;

private:
    bool TakeName();

    DRAVUI::CUIStaticText* m_nameField = nullptr;
    DRAVUI::CUITextButton* m_doneButton = nullptr;
    // What was typed, kept by the page: a page opened over this one (the
    // character sheet, the manual) rebuilds the field when it closes.
    std::string m_typed;
    std::string m_name;
};

class CCCNameDlgConfirm : public CYesNoDlg {
public:
    CCCNameDlgConfirm(CDRAVApp* app, std::shared_ptr<DRAV::CActor> actor);

    void OnYes() override;
    void OnNo() override;

private:
    std::shared_ptr<DRAV::CActor> m_actor;
};

std::string MakeOverwriteQuestion(const DRAV::CActor& actor);
// True when a saved game of the folder belongs to `name`: its header names that
// main character, or its file is that name's save file in any letter case.
bool SavedGameHasName(const std::string& folder, const std::string& name);
