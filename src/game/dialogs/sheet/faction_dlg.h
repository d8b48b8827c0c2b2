#pragma once
// A faction's page: its description, its ranks and the abilities the chosen rank
// grants, those the character already has marked; each ability opens its own page.

#include <memory>
#include <string>

#include "game/dialogs/dialog.h"

namespace DRAV {
class CActor;
class CFaction;
class CSpell;
}  // namespace DRAV
namespace DRAVUI {
class CUIListElement;
}

class CFactionDlg : public CDRAVDlg {
public:
    static constexpr int kDone = 1;
    static constexpr int kManual = 2;
    static constexpr int kFirstRank = 100;
    static constexpr int kLastRank = 199;
    static constexpr int kFirstAbility = 1000;
    static constexpr int kLastAbility = 1999;

    // `actor` may be null: nothing is marked then.
    CFactionDlg(CDRAVApp* app, const DRAV::CFaction* faction, DRAV::CActor* actor);
    ~CFactionDlg() override;

    std::string GetTitle() override;
    void CreateControls(RECT area, DRAVUI::CUIManager& container) override;
    bool OnButton(int id) override;
    void OnSuspend() override;
    void OnClose(int result) override;

    // "Rank 2: Boatwright/Boatwright's Mate".
    static std::string RankLabel(const DRAV::CFaction& faction, std::size_t rank);
    // The spell's name and, in parentheses, its level, tier and required skill.
    static std::string AbilityLabel(const DRAV::CSpell& spell, std::int32_t requiredSkill);

    int GetSelectedRank() const { return m_selectedRank; }
    DRAVUI::CUIListElement* GetRanksList() const { return m_ranksList; }
    DRAVUI::CUIListElement* GetAbilitiesList() const { return m_abilitiesList; }

private:
    void FillLists();
    // The spell of faction spell `index`, or null when its key names none.
    const DRAV::CSpell* SpellOf(std::size_t index) const;

    const DRAV::CFaction* m_faction;
    DRAV::CActor* m_actor;
    std::shared_ptr<DRAVUI::CUIConfig> m_config;
    DRAVUI::CUIListElement* m_ranksList = nullptr;
    int m_selectedRank = 0;
    DRAVUI::CUIListElement* m_abilitiesList = nullptr;
    std::uint32_t m_savedScroll = 0;
};
