#pragma once
// The square button in the game screen's corner that shows whether game time runs
// or is paused and whether fast movement is on. A click pauses or resumes, an
// alternate click toggles fast movement; the application keeps both flags and
// writes the three icons.

#include <cstdint>
#include <memory>

#include "ui/ui_element.h"

namespace DRAVUI {

class CUIClockButton : public CUIElement {
public:
    CUIClockButton(int id, std::shared_ptr<CUIConfig> config);

    // The three icons for the two flags.
    void SetState(bool paused, bool fastOn);
    void Realize(DRAVCommon::CXPDevice* device, CUIDrawHelp& help) override;
    void Draw(DRAVCommon::CXPDevice* device, CUIDrawHelp& help, CUISprite& sprite, const POINT* mouse) override;

    // UI image ids, 0 for none; the application writes them after each change.
    std::int32_t m_mainIcon = 0;
    std::int32_t m_fastIcon = 0;
    std::int32_t m_stateIcon = 0;
};

}  // namespace DRAVUI
