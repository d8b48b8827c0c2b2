#pragma once
// The appearance pages of character creation: a head from the module's list for
// the actor's gender, then hair, skin and trim colours from three fixed tables.
// Both only store looks in the new actor.

#include <array>
#include <cstdint>
#include <vector>

#include "game/dialogs/creation/cc_dlg.h"

namespace DRAVUI {
class CUIColorButton;
class CUIElement;
}  // namespace DRAVUI

using ColorTable = std::array<std::uint32_t, 16>;  // 0x00RRGGBB
extern const ColorTable HairColors;
extern const ColorTable SkinColors;
extern const ColorTable TrimColors;

class CCCHeadDlg : public CCCDlg {
public:
    static constexpr int kFirstHead = 100;
    static constexpr int kLastHead = 199;

    using CCCDlg::CCCDlg;

    std::string GetTitle() override { return "Appearance"; }
    bool OnButton(int id) override;
    void OnClose(int result) override;
    std::string GetDescription() override;
    void CreatePage(RECT area, DRAVUI::CUIManager& container) override;
};

class CCCColorsDlg : public CCCDlg {
public:
    static constexpr int kDone = 100;
    static constexpr int kFirstHair = 200;
    static constexpr int kFirstSkin = 300;
    static constexpr int kFirstTrim = 400;

    using CCCDlg::CCCDlg;

    std::string GetTitle() override { return "Appearance"; }
    bool OnButton(int id) override;
    bool OnKey(int key, bool shift, int* result) override;
    void OnClose(int result) override;
    std::string GetDescription() override;
    void CreatePage(RECT area, DRAVUI::CUIManager& container) override;

    std::shared_ptr<DRAVUI::CUIElement> CreateColorColumn(const std::string& caption, int firstId,
                                                          const ColorTable& table,
                                                          std::vector<DRAVUI::CUIColorButton*>& swatches);

private:
    struct Choice {
        std::vector<DRAVUI::CUIColorButton*> swatches;
        int index = 0;
    };
    std::array<Choice, 3> m_choices;
    std::shared_ptr<DRAVUI::CUIConfig> m_config;
};
