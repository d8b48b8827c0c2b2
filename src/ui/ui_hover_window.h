#pragma once
// The base that marks a widget as the UI manager's hover-information window: the
// manager asks it to hit-test first and hands it the description of the widget
// under the mouse.

#include <memory>

#include "ui/ui_element.h"

namespace DRAVUI {

class CUIBaseHoverWindow : public CUIElement {
public:
    explicit CUIBaseHoverWindow(std::shared_ptr<CUIConfig> config) : CUIElement(0, std::move(config)) {}

    virtual void ShowInfo(const ElementInfo& info) = 0;
};

}  // namespace DRAVUI
