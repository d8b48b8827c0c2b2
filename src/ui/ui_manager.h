#pragma once
// The root of the window's 2D interface: the top-level widgets of the current
// screen, drawn through one 2D queue per frame; mouse input turned into calls on
// the widget under the mouse; one dragged widget and one hover window; and the
// first-in first-out queue of UI events the application drains.
//
// Coordinates are logical units at 100 %: mouse points arrive in window pixels and
// are divided by the UI scale percent; the 2D queue multiplies back.

#include <cstdint>
#include <list>
#include <memory>
#include <vector>

#include "common/data_file.h"
#include "graphics/xp_texture.h"
#include "ui/ui_element.h"
#include "ui/ui_event.h"

namespace DRAVUI {

class CUIBaseHoverWindow;
class CUIDrawHelp;

class CUIManager {
public:
    CUIManager();
    ~CUIManager();
    CUIManager(const CUIManager&) = delete;
    CUIManager& operator=(const CUIManager&) = delete;

    // Where the UI images and the interface font are read from.
    void SetDataFileFactory(std::shared_ptr<DRAVCommon::CDataFileFactory> source);
    // The configuration every widget of this interface is made with.
    std::shared_ptr<CUIConfig> GetConfig() const { return m_config; }

    // Appended in draw and hit-test order; a hover window also becomes the hover window.
    void AddElement(std::shared_ptr<CUIElement> element);
    // Empties the screen: widgets, drag, hover window, events and scale. The drawing
    // service stays for the next screen on the same device.
    void Clear();
    // The same, and the drawing service and every texture it holds go, as a device
    // reset needs.
    void ReleaseDeviceObjects();
    // The box around every widget; {10000, 10000, 0, 0} with none.
    void GetBounds(RECT& out);
    // Makes the drawing service and the white texture for the device and scale,
    // unless those of the last screen serve them, and realizes every widget; forgets
    // a drag in progress.
    void Realize(DRAVCommon::CXPDevice* device, std::uint32_t scalePercent);
    // One frame of the interface; `mouse` in window pixels, or null.
    void Draw(DRAVCommon::CXPDevice* device, const POINT* mouse);
    // Kind as UIMouseKind; `point` in window pixels or null. True when the
    // interface took the input and queued events.
    bool OnMouse(int kind, const POINT* point, int wheelNotches);
    // The widget under a point in logical units; either out may be null.
    bool HitTest(const POINT* point, CUIElement** outElement, int* outId);
    // Moves the oldest event into `out`; false when there is none.
    bool PopEvent(std::shared_ptr<CUIEvent>& out);
    void PostRefresh();
    // Turns a widget's answer into events.
    bool HandleElementResult(int answer, int id, CUIElement* element);

    std::uint32_t GetScale() const { return m_scale; }
    CUIElement* GetDraggedElement() const { return m_dragged; }
    CUIBaseHoverWindow* GetHoverWindow() const { return m_hoverWindow; }
    CUIDrawHelp* GetDrawHelp() const { return m_drawHelp.get(); }
    const std::vector<std::shared_ptr<CUIElement>>& GetElements() const { return m_elements; }

private:
    POINT ToLogical(const POINT& point) const;
    void Post(std::shared_ptr<CUIEvent> event) { m_events.push_back(std::move(event)); }

    std::shared_ptr<DRAVCommon::CDataFileFactory> m_source;
    std::vector<std::shared_ptr<CUIElement>> m_elements;
    CUIBaseHoverWindow* m_hoverWindow = nullptr;
    CUIElement* m_dragged = nullptr;
    std::uint32_t m_scale = 100;
    std::shared_ptr<CUIConfig> m_config;
    std::list<std::shared_ptr<CUIEvent>> m_events;
    std::shared_ptr<CUIDrawHelp> m_drawHelp;
    std::shared_ptr<DRAVCommon::CXPTexture> m_white;
    // What the drawing service was made for, and whether the screen is realized.
    DRAVCommon::CXPDevice* m_helpDevice = nullptr;
    std::uint32_t m_helpScale = 0;
    bool m_helpLarge = false;
    bool m_realized = false;
};

// Lays `row` out left to right around `centreX`, `spacing` apart; tops unchanged.
void LayoutRowCentered(int centreX, int y, int spacing, const std::list<std::shared_ptr<CUIElement>>& row);
void CenterElementAt(CUIElement& element, int x, int y);
void CenterElementX(CUIElement& element, int x);

}  // namespace DRAVUI
