#pragma once
// The base of every widget: a rectangle in logical UI units, a flag word, a command
// id reported in UI events, and the description the hover window shows. The UI
// manager reaches every widget only through these operations.

#include <cstdint>
#include <memory>
#include <string>

#include "graphics/ui_sprite.h"
#include "graphics/xp_device.h"
#include "platform/win32/windef.h"
#include "ui/element_info.h"
#include "ui/ui_config.h"

namespace DRAVUI {

class CUIDrawHelp;
class CUIScrollBar;

enum UIElementFlag : std::uint32_t {
    UIF_SHOWN = 1,
    UIF_BLINK = 2,
    UIF_SELECTED = 4,
    UIF_DRAGGABLE = 8,
    UIF_LIST_TAKES_CELL_HITS = 16,
    UIF_FRAMED = 32,
    UIF_CENTRED = 64,
    UIF_SMALL_FONT = 128,
    UIF_ONE_LINE = 256,
    UIF_BACKGROUND = 512,
    UIF_ALT_IS_CLICK = 1024,
    UIF_SHOW_SELECTED_IMAGE = 2048,
    UIF_TEXT_HOVER = 4096,
};

// Mouse actions handed to the manager and to the widgets.
enum UIMouseKind : int {
    MOUSE_PRESS = 0,
    MOUSE_RELEASE = 1,
    MOUSE_DOUBLE_CLICK = 2,
    MOUSE_RIGHT_PRESS = 3,
    MOUSE_MOVE = 4,
    MOUSE_DRAG_MOVE = 5,
    MOUSE_WHEEL = 6,
};

// A widget's answer to a mouse action; values above 4 count as handled with no event.
enum UIMouseAnswer : int {
    ANSWER_NONE = 0,
    ANSWER_REFRESH = 1,
    ANSWER_CLICK = 2,
    ANSWER_ALT_CLICK = 3,
    ANSWER_DRAG = 4,
};

// The translucent black behind panels.
inline constexpr std::uint32_t kPanelBackground = 0xC0000000;

class CUIElement {
public:
    CUIElement(int id, std::shared_ptr<CUIConfig> config);
    virtual ~CUIElement();
    CUIElement(const CUIElement&) = delete;
    CUIElement& operator=(const CUIElement&) = delete;

    virtual void SetRect(const RECT& rect);
    virtual RECT* GetRect();
    virtual void SetFlag(std::uint32_t mask, bool on);
    virtual bool HasFlag(std::uint32_t mask);
    // Loads what the widget will draw (its UI images) for this device and scale.
    virtual void Realize(DRAVCommon::CXPDevice* device, CUIDrawHelp& help) = 0;
    // Queues the widget's quads and texts; `mouse` is in logical units or null.
    virtual void Draw(DRAVCommon::CXPDevice* device, CUIDrawHelp& help, CUISprite& sprite, const POINT* mouse) = 0;
    // Called on the widget being dragged, after every other widget is drawn.
    virtual void DrawDrag(DRAVCommon::CXPDevice* device, CUIDrawHelp& help, CUISprite& sprite, const POINT* mouse);
    // True for a shown widget when the point lies inside its rectangle; the outs are
    // written only on a hit and only when not null.
    virtual bool HitTest(const POINT* point, CUIElement** outElement, int* outId);
    virtual int OnMouse(int kind, const POINT* point);
    virtual ElementInfo& GetInfo();
    virtual bool FindScrollTarget(const POINT* point, CUIElement** out);
    // Only widgets that offer themselves as scroll targets have a scroll bar: code 2.
    virtual void GetScrollBar(CUIScrollBar** out, int* lineStep);

    int GetId() const { return m_id; }
    const std::shared_ptr<CUIConfig>& GetConfig() const { return m_config; }

    // A hint makes the record describe an action of this widget (kind 1).
    void SetInfo(const std::string& title, const std::string& text, const std::string& actionHint);
    void SetInfoNoAction(const std::string& title, const std::string& text);
    void CenterOn(POINT centre);
    void MoveTo(POINT topLeft);
    void SetSize(int width, int height);
    void DrawBackground(CUISprite& sprite);

protected:
    // The base hit test against this widget's own rectangle, without the outs.
    bool IsUnder(const POINT* point);

    std::shared_ptr<CUIConfig> m_config;
    int m_id;
    RECT m_rect{0, 0, 0, 0};
    std::uint32_t m_flags = UIF_SHOWN;
    ElementInfo m_info;
};

// Width and height of a rectangle.
inline LONG Width(const RECT& r) { return r.right - r.left; }
inline LONG Height(const RECT& r) { return r.bottom - r.top; }
// The rectangle grown outward by `d` on every side (negative shrinks it).
RECT Inflated(const RECT& rect, int d);

}  // namespace DRAVUI
