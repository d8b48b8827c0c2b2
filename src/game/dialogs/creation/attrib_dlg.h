#pragma once
// The attribute page. In play it raises a party member's attributes one point at
// a time through the engine; in character creation (CCCAttribDlg) it changes the
// new actor directly, first with rising costs and "Subtract", then, for a level
// that earns them, in one bonus pass of flat-cost points.

#include <vector>

#include "game/dialogs/creation/cc_dlg.h"

namespace DRAVUI {
class CUIElement;
class CUIStaticText;
class CUITextButton;
}  // namespace DRAVUI

class CAttribDlg : public CCCDlg {
public:
    static constexpr int kDone = 50;
    static constexpr int kReset = 51;
    static constexpr int kFirstAdd = 100;
    static constexpr int kFirstName = 200;
    static constexpr int kFirstSubtract = 300;
    static constexpr int kAttributeCount = 5;
    static constexpr std::uint32_t kResetValue = 6;
    static constexpr std::uint32_t kResetPoints = 72;

    // Level-up use for a party member.
    CAttribDlg(CDRAVApp* app, DRAV::CActor* actor);
    // Creation use for the new actor.
    CAttribDlg(CDRAVApp* app, std::shared_ptr<DRAV::CActor> actor);

    std::string GetTitle() override;
    bool OnButton(int id) override;
    void OnClose(int result) override;
    std::string GetDescription() override;
    void CreatePage(RECT area, DRAVUI::CUIManager& container) override;

    virtual bool IsCharacterCreation() { return false; }
    virtual bool IsBonusPass() { return false; }

    // What one raise of the attribute costs now.
    std::uint32_t RaiseCost(int attribute);
    void UpdateValues();

protected:
    bool IsFirstCreationPass() { return IsCharacterCreation() && !IsBonusPass(); }
    std::shared_ptr<DRAVUI::CUIElement> CreateAttributeRow(int index, const std::shared_ptr<DRAVUI::CUIConfig>& config);

    DRAV::CActor* m_target;
    DRAVUI::CUIStaticText* m_pointsText = nullptr;
    std::vector<DRAVUI::CUIStaticText*> m_valueTexts;
    std::vector<DRAVUI::CUITextButton*> m_addButtons;
    std::vector<DRAVUI::CUITextButton*> m_subtractButtons;
    DRAVUI::CUITextButton* m_doneButton = nullptr;
};

class CCCAttribDlg : public CAttribDlg {
public:
    CCCAttribDlg(CDRAVApp* app, std::shared_ptr<DRAV::CActor> actor, bool bonusPass)
        : CAttribDlg(app, std::move(actor)), m_bonusPass(bonusPass) {}

    bool OnKey(int key, bool shift, int* result) override;
    void OnClose(int result) override;
    bool IsCharacterCreation() override { return true; }
    bool IsBonusPass() override { return m_bonusPass; }

private:
    bool m_bonusPass;
};
