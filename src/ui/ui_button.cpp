#include "ui/ui_button.h"

#include <cstring>

#include "common/exception.h"
#include "platform/win32/rect.h"
#include "platform/win32/win32_time.h"
#include "ui/ui_draw_help.h"

namespace DRAVUI {
namespace {

constexpr std::uint32_t kWhite = 0xFFFFFFFF;
constexpr std::uint32_t kBlack = 0xFF000000;
constexpr std::uint32_t kBevelDark = 0xFF808080;
constexpr std::uint32_t kSelectedFill = 0x4000FF00;
constexpr std::uint32_t kSelectedLight = 0xFF80FF80;
constexpr std::uint32_t kSelectedDark = 0xFF40C040;
constexpr std::uint32_t kBlinkPeriodMs = 500;

// The hover face fitting the button's proportion.
int HoverImage(const RECT& r) {
    const LONG h = Height(r);
    const LONG q = h > 0 ? Width(r) / h : 0;
    if (q < 2) return IMAGE_BUTTON_SQUARE;
    if (q == 2) return IMAGE_BUTTON_64X32;
    return IMAGE_BUTTON_WIDE;
}

}  // namespace

CUIBaseButton::CUIBaseButton(int id, std::shared_ptr<CUIConfig> config) : CUIElement(id, std::move(config)) {
    SetFlag(UIF_ALT_IS_CLICK, true);
}

void CUIBaseButton::LoadButtonImages(DRAVCommon::CXPDevice* device, CUIDrawHelp& help) {
    for (int image : {IMAGE_BUTTON_WIDE, IMAGE_BUTTON_64X32, IMAGE_BUTTON_SQUARE, IMAGE_BUTTON_OFF, IMAGE_BUTTON_BLINK,
                      IMAGE_BUTTON_SELECTED})
        help.LoadImage(device, image);
}

void CUIBaseButton::Realize(DRAVCommon::CXPDevice* device, CUIDrawHelp& help) { LoadButtonImages(device, help); }

void CUIBaseButton::Draw(DRAVCommon::CXPDevice*, CUIDrawHelp& help, CUISprite& sprite, const POINT* mouse) {
    DrawButtonLook(help, sprite, mouse);
}

bool CUIBaseButton::DrawButtonLook(CUIDrawHelp& help, CUISprite& sprite, const POINT* mouse) {
    const bool hovered = HitTest(mouse, nullptr, nullptr);
    const bool selected = HasFlag(UIF_SELECTED);
    if (HasFlag(UIF_BACKGROUND)) help.FillRect(sprite, kPanelBackground, m_rect);
    if (hovered) {
        help.DrawImageRect(sprite, m_rect, selected ? IMAGE_BUTTON_SELECTED : HoverImage(m_rect), kWhite);
        return true;
    }
    if (HasFlag(UIF_BLINK)) {
        const std::uint32_t now = GetTickCount();
        if (now - m_lastBlinkToggle > kBlinkPeriodMs) {
            m_blinkOn = !m_blinkOn;
            m_lastBlinkToggle = now;
        }
        if (m_blinkOn) {
            help.DrawImageRect(sprite, m_rect, IMAGE_BUTTON_BLINK, kWhite);
            return false;
        }
    } else if (selected && HasFlag(UIF_SHOW_SELECTED_IMAGE)) {
        help.DrawImageRect(sprite, m_rect, IMAGE_BUTTON_SELECTED, kWhite);
        return false;
    }
    if (selected) {
        help.FillRect(sprite, kSelectedFill, m_rect);
        help.DrawBevel(sprite, kSelectedLight, kSelectedDark, m_rect, 1);
    } else {
        help.DrawBevel(sprite, kWhite, kBevelDark, m_rect, 1);
    }
    return false;
}

int CUIBaseButton::OnMouse(int kind, const POINT*) {
    switch (kind) {
    case MOUSE_PRESS:
    case MOUSE_DOUBLE_CLICK: return ANSWER_CLICK;
    case MOUSE_RIGHT_PRESS: return HasFlag(UIF_ALT_IS_CLICK) ? ANSWER_CLICK : ANSWER_ALT_CLICK;
    default: return ANSWER_NONE;
    }
}

CUITextButton::CUITextButton(int id, std::string label, std::shared_ptr<CUIConfig> config)
    : CUIBaseButton(id, std::move(config)), m_label(std::move(label)) {
    SetFlag(UIF_CENTRED, true);
}

void CUITextButton::Draw(DRAVCommon::CXPDevice*, CUIDrawHelp& help, CUISprite& sprite, const POINT* mouse) {
    if (!HasFlag(UIF_SHOWN)) return;
    const bool hovered = DrawButtonLook(help, sprite, mouse);
    const RECT box = Inflated(m_rect, -2);
    if (IsRectEmpty(&box)) return;
    help.LargeFont().DrawText(sprite, m_labelSlot, m_label, box, hovered ? kBlack : kWhite,
                              HasFlag(UIF_CENTRED) ? CUIFontDraw::ALIGN_MIDDLE_CENTRE : CUIFontDraw::ALIGN_MIDDLE_LEFT);
}

CUIImageButton::CUIImageButton(std::shared_ptr<CUIConfig> config, int id, int imageId)
    : CUIBaseButton(id, std::move(config)), m_imageId(imageId) {}

CUIImageButton::CUIImageButton(std::shared_ptr<CUIConfig> config, int id,
                               std::shared_ptr<DRAVCommon::ByteVector> imageFile)
    : CUIBaseButton(id, std::move(config)), m_imageId(0), m_imageFile(std::move(imageFile)) {}

void CUIImageButton::Realize(DRAVCommon::CXPDevice* device, CUIDrawHelp& help) {
    LoadButtonImages(device, help);
    if (!m_imageFile) {
        if (m_imageId == 0 || m_imageWidth != 0) return;
        help.LoadImage(device, m_imageId);
    } else if (m_imageId == 0) {
        m_imageId = help.AddImage(device, *m_imageFile);
    }
    if (auto texture = help.FindImage(m_imageId)) {
        m_imageWidth = static_cast<std::uint32_t>(texture->GetImageWidth());
        m_imageHeight = static_cast<std::uint32_t>(texture->GetImageHeight());
    }
}

void CUIImageButton::Draw(DRAVCommon::CXPDevice* device, CUIDrawHelp& help, CUISprite& sprite, const POINT* mouse) {
    if (!HasFlag(UIF_SHOWN)) return;
    DrawButtonLook(help, sprite, mouse);
    if (m_imageId == 0) return;
    if (m_imageWidth == 0) Realize(device, help);
    RECT box;
    if (HasFlag(UIF_CENTRED)) {
        const LONG w = static_cast<LONG>(m_imageWidth), h = static_cast<LONG>(m_imageHeight);
        const LONG cx = (m_rect.left + m_rect.right) / 2, cy = (m_rect.top + m_rect.bottom) / 2;
        box = RECT{cx - w / 2, cy - h / 2, cx - w / 2 + w, cy - h / 2 + h};
    } else {
        box = Inflated(m_rect, -1);
    }
    help.DrawImageRect(sprite, box, m_imageId, kWhite);
}

CUICheckButton::CUICheckButton(std::shared_ptr<CUIConfig> config, int id, std::string label, bool checked)
    : CUIBaseButton(id, std::move(config)), m_checked(checked), m_label(std::move(label)) {}

void CUICheckButton::Realize(DRAVCommon::CXPDevice* device, CUIDrawHelp& help) {
    help.LoadImage(device, IMAGE_CHECK_MARK);
    LoadButtonImages(device, help);
}

void CUICheckButton::Draw(DRAVCommon::CXPDevice*, CUIDrawHelp& help, CUISprite& sprite, const POINT* mouse) {
    if (!HasFlag(UIF_SHOWN) || IsRectEmpty(&m_rect)) return;
    if (m_label.empty()) throw CDRAVException(DRAV_ERR_UNEXPECTED);
    const bool hovered = DrawButtonLook(help, sprite, mouse);
    const RECT r = Inflated(m_rect, -1);
    const LONG cy = (r.top + r.bottom) / 2;
    RECT box{r.left + 1, cy - 8, r.left + 17, cy + 8};
    help.DrawBevel(sprite, kBevelDark, kWhite, box, 1);
    InflateRect(&box, -2, -2);
    if (m_checked) help.DrawImageRect(sprite, box, IMAGE_CHECK_MARK, kWhite);
    RECT labelBox{r.left + 17, r.top, r.right, r.bottom};
    InflateRect(&labelBox, -1, -1);
    // A box too small for any text shows no label rather than failing the frame.
    if (IsRectEmpty(&labelBox)) return;
    help.LargeFont().DrawText(sprite, m_labelSlot, m_label, labelBox, hovered ? kBlack : kWhite,
                              CUIFontDraw::ALIGN_MIDDLE_LEFT);
}

int CUICheckButton::OnMouse(int kind, const POINT*) {
    switch (kind) {
    case MOUSE_PRESS:
    case MOUSE_DOUBLE_CLICK: m_checked = !m_checked; return ANSWER_CLICK;
    case MOUSE_RIGHT_PRESS:
        if (!HasFlag(UIF_ALT_IS_CLICK)) return ANSWER_ALT_CLICK;
        m_checked = !m_checked;
        return ANSWER_CLICK;
    default: return ANSWER_NONE;
    }
}

CUIColorButton::CUIColorButton(std::shared_ptr<CUIConfig> config, int id, std::uint32_t colour)
    : CUIBaseButton(id, std::move(config)) {
    std::uint8_t bytes[4];
    std::memcpy(bytes, &colour, sizeof bytes);
    m_red = bytes[0];
    m_green = bytes[1];
    m_blue = bytes[2];
}

void CUIColorButton::Realize(DRAVCommon::CXPDevice*, CUIDrawHelp&) {}

std::uint32_t CUIColorButton::GetSwatchColour() const {
    return 0xFF000000u + m_red * 0x10000u + m_green * 0x100u + m_blue;
}

void CUIColorButton::Draw(DRAVCommon::CXPDevice*, CUIDrawHelp& help, CUISprite& sprite, const POINT*) {
    if (!HasFlag(UIF_SHOWN)) return;
    RECT r = m_rect;
    if (HasFlag(UIF_SELECTED)) {
        help.DrawBevel(sprite, kSelectedLight, kSelectedLight, r, 4);
        InflateRect(&r, -4, -4);
    } else {
        InflateRect(&r, -2, -2);
        help.DrawBevel(sprite, kWhite, kBevelDark, r, 2);
        InflateRect(&r, -2, -2);
    }
    help.FillRect(sprite, GetSwatchColour(), r);
}

}  // namespace DRAVUI
