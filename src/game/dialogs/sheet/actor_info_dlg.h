#pragma once
// The "Info" tab of the actor sheet: identity, hit points and energy, attributes,
// combat details and resistances, skills, effects and the special statistics.
// Nearly every labelled line explains itself on the hover panel and opens the
// manual or a detail text on the right click. Level-up spending and the
// leave-party question start here.

#include <cstdint>
#include <list>
#include <memory>
#include <ostream>
#include <string>

#include "game/dialogs/sheet/base_actor_dlg2.h"

namespace DRAV {
class CGame;
class CModule;
}  // namespace DRAV
namespace DRAVUI {
class CUIElement;
}

class CActorInfoDlg : public CBaseActorDlg2 {
public:
    static constexpr int kSpendPoints = 1000;
    static constexpr int kFactionLine = 1001;
    static constexpr int kLeaveParty = 1002;
    static constexpr int kSkillsBox = 1100;
    static constexpr int kEffectsBox = 1101;
    static constexpr int kClassLine = 1200;
    static constexpr int kHitPointsRow = 1201;
    static constexpr int kEnergyRow = 1202;
    static constexpr int kFirstAttributeName = 1210;
    static constexpr int kLastAttributeName = 1219;
    static constexpr int kFirstResistanceRow = 1220;
    static constexpr int kLastResistanceRow = 1229;
    static constexpr int kAttackRow = 1230;
    static constexpr int kDamageRow = 1231;
    static constexpr int kOffhandRow = 1232;
    static constexpr int kDefenseRow = 1233;

    using ElementList = std::list<std::shared_ptr<DRAVUI::CUIElement>>;

    CActorInfoDlg(CDRAVApp* app, DRAV::CActor* actor);

    std::string GetTitle() override;
    bool OnButton(int id) override;
    bool OnAltClick(int id) override;
    void OnEndDrag() override {}
    void OnSuspend() override {}
    void OnClose(int result) override;
    int GetTabIndex() override { return kInfoTab; }
    int GetHelpTopic() override { return 16; }
    void CreatePage(RECT page, DRAVUI::CUIManager& container) override;
    bool IsInfoPage() override { return true; }

    // The attribute page when attribute points are due, else the skills page while
    // skill picks remain; false for a dead actor or one with nothing to spend.
    bool MakeSpendPointsDlg(std::shared_ptr<CDRAVDlg>& dialog);

    // The page's cells. `pos` is the offset inside `page`; the cells are appended to
    // `list` when it is given; id 0 gives no hover information.
    static void AddTextLine(DRAVUI::CUIManager& container, const RECT& page, const std::string& text, POINT pos,
                            ElementList* list, int id, const std::string& infoTitle, const std::string& hint);
    static void AddLabelValueRow(DRAVUI::CUIManager& container, const RECT& page, const std::string& label,
                                 const std::string& value, POINT pos, ElementList* list, int id,
                                 const std::string& hint);
    static void AddCurrentMaxRow(DRAVUI::CUIManager& container, const RECT& page, const std::string& label,
                                 std::int32_t current, std::int32_t maximum, POINT pos, ElementList* list, int id);
    static void AddAttributeRow(DRAVUI::CUIManager& container, const RECT& page, const std::string& name,
                                std::int32_t value, std::int32_t bonus, const std::string& bonusText, POINT pos,
                                ElementList* list, int id);

    // (value - 10) x 5 / 2, truncated toward zero.
    static std::int32_t AttributeBonus(std::int32_t value);
    // "Skills: LINE " and one line per learnable skill the actor knows.
    static std::string SkillsText(const DRAV::CActor& actor);

    // ---- the statistics texts (actor_info_stats.cpp) ----
    // The special-statistics box's text for `actor` at the game's current time.
    static std::string SpecialStatsText(const DRAV::CActor& actor, const DRAV::CGame& game);
    // "<label>: <seconds> (+speed) (x2 n%) LINE ".
    static void WriteSpeedLine(std::ostream& out, const DRAV::CActor& actor, const std::string& label,
                               std::int32_t actionKind);
    static void WriteSpellAttackLine(std::ostream& out, const DRAV::CActor& actor, const DRAV::CModule& module,
                                     std::int32_t hand);
    static void WriteSneakFlankLines(std::int32_t hand, std::ostream& out, const DRAV::CActor& actor);
    // The text of the detail dialog of row `id` (kAttackRow .. kDefenseRow); code 2 otherwise.
    static std::string AttackDetailsText(int id, const DRAV::CActor& actor, const DRAV::CModule& module);
    // The breakdown of category `category`'s resistance and the elements that differ from it.
    static std::string ResistanceDetailsText(std::int32_t category, const DRAV::CActor& actor);
    void ShowAttackDetails(int id);
    void ShowResistanceDetails(int id);

private:
    void CreateIdentityPanel(DRAVUI::CUIManager& container, const RECT& page);
    void CreateVitalsPanel(DRAVUI::CUIManager& container, const RECT& page);
    void CreateAttributePanel(DRAVUI::CUIManager& container, const RECT& page);
    void CreateDetailsPanel(DRAVUI::CUIManager& container, const RECT& page);
    void CreateSkillsBox(DRAVUI::CUIManager& container, const RECT& page);
    void CreateEffectsBox(DRAVUI::CUIManager& container, const RECT& page);
    // The spending or leave-party button, when the actor has one; true when made.
    bool CreateButton(DRAVUI::CUIManager& container, const RECT& page);
    void CreateSpecialStatsBox(DRAVUI::CUIManager& container, const RECT& page, bool buttonShown);
    bool IsDead() const;
};
