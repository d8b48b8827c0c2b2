#include "ui/ui_clock_button.h"

#include "platform/win32/rect.h"
#include "ui/ui_draw_help.h"

namespace DRAVUI {
namespace {

enum ClockImage : int {
    IMAGE_BUTTON_32 = 4,
    IMAGE_CLOCK = 68,
    IMAGE_PAUSED = 69,
    IMAGE_FAST_ON = 70,
    IMAGE_FAST_OFF = 71,
    IMAGE_RUN = 75,
    IMAGE_PAUSE = 76,
};

}  // namespace

CUIClockButton::CUIClockButton(int id, std::shared_ptr<CUIConfig> config) : CUIElement(id, std::move(config)) {
    SetFlag(UIF_BACKGROUND, true);
    SetInfo("Pause/Resume", "", "Toggle Fast");
}

void CUIClockButton::SetState(bool paused, bool fastOn) {
    m_mainIcon = paused ? IMAGE_PAUSED : IMAGE_CLOCK;
    m_stateIcon = paused ? IMAGE_RUN : IMAGE_PAUSE;
    m_fastIcon = fastOn ? IMAGE_FAST_ON : IMAGE_FAST_OFF;
}

void CUIClockButton::Realize(DRAVCommon::CXPDevice* device, CUIDrawHelp& help) {
    for (int id : {IMAGE_PAUSED, IMAGE_CLOCK, IMAGE_FAST_ON, IMAGE_FAST_OFF, IMAGE_RUN, IMAGE_PAUSE, IMAGE_BUTTON_32})
        help.LoadImage(device, id);
}

void CUIClockButton::Draw(DRAVCommon::CXPDevice*, CUIDrawHelp& help, CUISprite& sprite, const POINT* mouse) {
    if (!HasFlag(UIF_SHOWN)) return;
    const RECT& R = m_rect;
    if (HitTest(mouse, nullptr, nullptr)) {
        help.DrawImageRect(sprite, R, IMAGE_BUTTON_32, 0xFFFFFFFF);
    } else {
        DrawBackground(sprite);
        CUIDrawHelp::DrawBevel(sprite, 0xFFFFFFFF, 0xFF808080, R, 1);
    }
    const LONG cx = (R.left + R.right) / 2, cy = (R.top + R.bottom) / 2;
    help.DrawImageRect(sprite, RECT{cx - 32, cy - 32, cx + 32, cy + 32}, m_mainIcon, 0xFFFFFFFF);
    help.DrawImageRect(sprite, RECT{R.left + 4, R.bottom - 20, R.left + 20, R.bottom - 4}, m_fastIcon, 0xFFFFFFFF);
    help.DrawImageRect(sprite, RECT{R.right - 20, R.bottom - 20, R.right - 4, R.bottom - 4}, m_stateIcon,
                       0xFFFFFFFF);
}

}  // namespace DRAVUI
