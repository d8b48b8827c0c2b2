#include "ui/ui_manager.h"

#include <algorithm>

#include "common/rect_scale.h"
#include "graphics/ui_sprite.h"
#include "ui/ui_draw_help.h"
#include "ui/ui_hover_window.h"
#include "ui/ui_scroll_bar.h"

namespace DRAVUI {

CUIManager::CUIManager() : m_config(std::make_shared<CUIConfig>()) {}

CUIManager::~CUIManager() {
    m_white.reset();
    m_drawHelp.reset();
    m_events.clear();
    m_config.reset();
    m_elements.clear();
    m_source.reset();
}

void CUIManager::SetDataFileFactory(std::shared_ptr<DRAVCommon::CDataFileFactory> source) {
    m_drawHelp.reset();
    m_source = std::move(source);
}

void CUIManager::AddElement(std::shared_ptr<CUIElement> element) {
    if (auto* hover = dynamic_cast<CUIBaseHoverWindow*>(element.get())) m_hoverWindow = hover;
    m_elements.push_back(std::move(element));
}

void CUIManager::Clear() {
    // The pictures registered for the widgets of this screen go with them.
    if (m_drawHelp) m_drawHelp->ForgetRegisteredImages();
    m_realized = false;
    m_elements.clear();
    m_hoverWindow = nullptr;
    m_dragged = nullptr;
    m_scale = 100;
    m_events.clear();
}

void CUIManager::ReleaseDeviceObjects() {
    Clear();
    m_drawHelp.reset();
    m_white.reset();
}

void CUIManager::GetBounds(RECT& out) {
    out = RECT{10000, 10000, 0, 0};
    for (auto& element : m_elements) {
        const RECT* r = element->GetRect();
        out.left = std::min(out.left, r->left);
        out.top = std::min(out.top, r->top);
        out.right = std::max(out.right, r->right);
        out.bottom = std::max(out.bottom, r->bottom);
    }
}

void CUIManager::Realize(DRAVCommon::CXPDevice* device, std::uint32_t scalePercent) {
    m_scale = scalePercent;
    m_dragged = nullptr;
    // The fonts and the images serve every screen of one device and scale: read and
    // decoded again for each, they made every page that opened or came back cost
    // milliseconds.
    const bool large = m_config && m_config->IsLarge();
    if (!m_drawHelp || device != m_helpDevice || scalePercent != m_helpScale || large != m_helpLarge) {
        m_drawHelp.reset();
        m_drawHelp = std::make_shared<CUIDrawHelp>(m_source.get(), m_scale, m_config);
        m_white = DRAVCommon::CreateColourTexture(device, 0xFFFFFF, 1.0);
        m_helpDevice = device;
        m_helpScale = scalePercent;
        m_helpLarge = large;
    }
    m_realized = true;
    for (auto& element : m_elements) element->Realize(device, *m_drawHelp);
}

POINT CUIManager::ToLogical(const POINT& point) const {
    // A point left of or above the window (the mouse held during a drag) stays there.
    return POINT{ScaleCoordinate(point.x, 100, m_scale), ScaleCoordinate(point.y, 100, m_scale)};
}

void CUIManager::Draw(DRAVCommon::CXPDevice* device, const POINT* mouse) {
    // Nothing is realized yet: there is nothing to draw with.
    if (!m_realized) return;
    POINT logical{};
    const POINT* point = nullptr;
    if (mouse) {
        logical = ToLogical(*mouse);
        point = &logical;
    }
    CUISprite sprite(device, m_scale, m_white);
    sprite.Begin();
    for (auto& element : m_elements) element->Draw(device, *m_drawHelp, sprite, point);
    if (m_dragged) m_dragged->DrawDrag(device, *m_drawHelp, sprite, point);
    sprite.Flush();
}

bool CUIManager::OnMouse(int kind, const POINT* point, int wheelNotches) {
    POINT logical{};
    const POINT* p = nullptr;
    if (point) {
        logical = ToLogical(*point);
        p = &logical;
    }
    switch (kind) {
    case MOUSE_PRESS:
    case MOUSE_DOUBLE_CLICK:
    case MOUSE_RIGHT_PRESS: {
        if (m_dragged) {
            m_dragged->OnMouse(MOUSE_RELEASE, nullptr);
            m_dragged = nullptr;
            Post(std::make_shared<CUIEvent>(UIEVENT_DRAG_CANCEL));
        }
        CUIElement* element = nullptr;
        int id = 0;
        if (!HitTest(p, &element, &id) || !element) return false;
        return HandleElementResult(element->OnMouse(kind, p), id, element);
    }
    case MOUSE_MOVE: {
        if (m_dragged) {
            m_dragged->OnMouse(MOUSE_DRAG_MOVE, p);
            PostRefresh();
            return true;
        }
        CUIElement* element = nullptr;
        int id = 0;
        if (!HitTest(p, &element, &id)) return false;
        if (m_hoverWindow && element) m_hoverWindow->ShowInfo(element->GetInfo());
        PostRefresh();
        return true;
    }
    case MOUSE_RELEASE: {
        if (!m_dragged) return false;
        int id = 0;
        if (HitTest(p, nullptr, &id)) Post(std::make_shared<CUIEventDrop>(m_dragged->GetId(), id));
        else Post(std::make_shared<CUIEvent>(UIEVENT_DRAG_CANCEL));
        m_dragged->OnMouse(MOUSE_RELEASE, p);
        m_dragged = nullptr;
        PostRefresh();
        return true;
    }
    case MOUSE_WHEEL: {
        if (m_dragged) return false;
        for (auto& element : m_elements) {
            CUIElement* target = nullptr;
            if (!element->FindScrollTarget(p, &target) || !target) continue;
            CUIScrollBar* bar = nullptr;
            int lineStep = 0;
            target->GetScrollBar(&bar, &lineStep);
            if (bar) bar->Scroll(wheelNotches);
            PostRefresh();
            return true;
        }
        return false;
    }
    default: return false;
    }
}

bool CUIManager::HitTest(const POINT* point, CUIElement** outElement, int* outId) {
    if (outElement) *outElement = nullptr;
    if (!point) return false;
    if (m_hoverWindow && m_hoverWindow->HitTest(point, outElement, outId)) return true;
    for (auto& element : m_elements)
        if (element->HitTest(point, outElement, outId)) return true;
    return false;
}

bool CUIManager::PopEvent(std::shared_ptr<CUIEvent>& out) {
    if (m_events.empty()) return false;
    out = std::move(m_events.front());
    m_events.pop_front();
    return true;
}

void CUIManager::PostRefresh() { Post(std::make_shared<CUIEvent>(UIEVENT_REFRESH)); }

bool CUIManager::HandleElementResult(int answer, int id, CUIElement* element) {
    switch (answer) {
    case ANSWER_NONE: return false;
    case ANSWER_REFRESH: break;
    case ANSWER_CLICK: Post(std::make_shared<CUIEventButton>(UIEVENT_CLICK, id)); break;
    case ANSWER_ALT_CLICK: Post(std::make_shared<CUIEventButton>(UIEVENT_ALT_CLICK, id)); break;
    case ANSWER_DRAG:
        m_dragged = element;
        Post(std::make_shared<CUIEventButton>(UIEVENT_DRAG_BEGIN, id));
        break;
    default: return true;
    }
    PostRefresh();
    return true;
}

void LayoutRowCentered(int centreX, int, int spacing, const std::list<std::shared_ptr<CUIElement>>& row) {
    if (row.empty()) return;
    LONG total = -spacing;
    for (const auto& element : row) total += Width(*element->GetRect()) + spacing;
    LONG left = centreX - total / 2;
    for (const auto& element : row) {
        const RECT r = *element->GetRect();
        element->SetRect(RECT{left, r.top, left + Width(r), r.bottom});
        left += Width(r) + spacing;
    }
}

void CenterElementAt(CUIElement& element, int x, int y) { element.CenterOn(POINT{x, y}); }

void CenterElementX(CUIElement& element, int x) {
    const RECT r = *element.GetRect();
    const LONG left = x - Width(r) / 2;
    element.SetRect(RECT{left, r.top, left + Width(r), r.bottom});
}

}  // namespace DRAVUI
