#pragma once
// The skills page: one skill group at a time in three lists by required level,
// "Buy" and "Forget" where the rules allow, and the picks left. In creation it
// changes the new actor directly; in play every choice is an engine order.

#include <array>
#include <vector>

#include "game/dialogs/creation/cc_dlg.h"

namespace DRAVUI {
class CUIGroup;
class CUIListElement;
class CUIStaticText;
class CUITextButton;
}  // namespace DRAVUI

class CSkillsDlg : public CCCDlg {
public:
    static constexpr int kDone = 50;
    static constexpr int kReset = 51;
    static constexpr int kFirstBuy = 100;
    static constexpr int kFirstName = 200;
    static constexpr int kFirstGroup = 300;
    static constexpr int kFirstForget = 400;

    // Level-up use for a party member.
    CSkillsDlg(CDRAVApp* app, DRAV::CActor* actor);
    // Creation use: the class's free skill is given to the new actor.
    static std::shared_ptr<CSkillsDlg> CSkillsDlgForCreation(CDRAVApp* app, std::shared_ptr<DRAV::CActor> actor);

    std::string GetTitle() override;
    bool OnButton(int id) override;
    bool OnKey(int key, bool shift, int* result) override;
    // A skill name opens that skill's page over this one.
    bool OnAltClick(int id) override;
    void OnSuspend() override;
    void OnClose(int result) override;
    bool IsCreationPage() override { return false; }
    std::string GetManualAnchor() override { return "Skills"; }
    std::string GetDescription() override;
    void CreatePage(RECT area, DRAVUI::CUIManager& container) override;

    void Refresh();
    std::shared_ptr<DRAVUI::CUIGroup> MakeSkillRow(int skill);
    // Class picks plus general picks left.
    int PicksLeft() const;
    int GetGroup() const { return m_group; }

private:
    CSkillsDlg(CDRAVApp* app, std::shared_ptr<DRAV::CActor> actor, DRAV::CActor* target, bool creation);
    void RunOrder(int learn, int forget);

    std::shared_ptr<DRAVUI::CUIConfig> m_config;
    bool m_creation;
    DRAV::CActor* m_target;
    int m_group;
    std::array<std::uint32_t, 3> m_scroll{};
    DRAVUI::CUIStaticText* m_pointsText = nullptr;
    std::array<DRAVUI::CUIListElement*, 3> m_lists{};
    DRAVUI::CUITextButton* m_doneButton = nullptr;
    std::vector<DRAVUI::CUITextButton*> m_groupButtons;
};

// "Req: Level 4, Energy Magic, ..." or empty for a skill without requirements.
std::string SkillRequirementText(int skill);
