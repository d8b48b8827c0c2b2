#pragma once
// What the widgets report to the application, queued by the UI manager oldest
// first. The code says which class the event is.

#include <cstdint>

namespace DRAVUI {

enum UIEventCode : std::int32_t {
    UIEVENT_REFRESH = 0,       // a redraw is wanted
    UIEVENT_CLICK = 1,         // CUIEventButton
    UIEVENT_ALT_CLICK = 2,     // CUIEventButton: double click or right press
    UIEVENT_DRAG_BEGIN = 3,    // CUIEventButton: the element started a drag
    UIEVENT_DRAG_CANCEL = 4,   // the drag ended over nothing
    UIEVENT_DROP = 5,          // CUIEventDrop
};

class CUIEvent {
public:
    explicit CUIEvent(std::int32_t code) : m_code(code) {}
    virtual ~CUIEvent() = default;

    std::int32_t m_code;
};

class CUIEventButton : public CUIEvent {
public:
    CUIEventButton(std::int32_t code, std::int32_t id) : CUIEvent(code), m_id(id) {}

    std::int32_t m_id;
};

class CUIEventDrop : public CUIEvent {
public:
    CUIEventDrop(std::int32_t sourceId, std::int32_t targetId)
        : CUIEvent(UIEVENT_DROP), m_sourceId(sourceId), m_targetId(targetId) {}

    std::int32_t m_sourceId;
    std::int32_t m_targetId;
};

}  // namespace DRAVUI
