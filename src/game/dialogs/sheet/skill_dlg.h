#pragma once
// One skill's page: its description, the spells and powers tied to it (those the
// actor has marked) with a legend, and its manual entry.

#include <cstdint>
#include <string>

#include "game/dialogs/dialog.h"
#include "rules/vocabulary/skill_id.h"

namespace DRAV {
class CActor;
struct CSkillSpellEntry;
}  // namespace DRAV
namespace DRAVUI {
class CUIListElement;
}

class CSkillDlg : public CDRAVDlg {
public:
    static constexpr int kDone = 1;
    static constexpr int kManual = 2;
    static constexpr int kFirstAbility = 1000;
    static constexpr int kLastAbility = 1999;

    // `actor` may be null: the page is then written for nobody and nothing is marked.
    CSkillDlg(CDRAVApp* app, DRAV::SkillId skill, DRAV::CActor* actor);

    std::string GetTitle() override;
    void CreateControls(RECT area, DRAVUI::CUIManager& container) override;
    bool OnButton(int id) override;
    void OnSuspend() override;
    void OnClose(int result) override;

    // "Ember Dart (Spell Tier 2) (x)": the level or tier and whose skill the spell is.
    static std::string EntryLabel(const DRAV::CSkillSpellEntry& entry);

    DRAV::SkillId GetSkill() const { return m_skill; }
    DRAVUI::CUIListElement* GetList() const { return m_list; }

private:
    DRAV::SkillId m_skill;
    DRAV::CActor* m_actor;
    DRAVUI::CUIListElement* m_list = nullptr;
    std::uint32_t m_scrollPosition = 0;
};
