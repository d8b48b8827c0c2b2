#pragma once
// The hover-information windows. The base marks a widget as the UI manager's hover
// window: the manager asks it to hit-test first and hands it the description of
// the widget under the mouse. CUIHoverWindow is the game's panel that shows such a
// record: icon with badges and count, the two bars, title, text and the line
// "R-click for " + the action hint.

#include <memory>

#include "graphics/ui_font_draw.h"
#include "ui/ui_element.h"
#include "ui/ui_static_text.h"

namespace DRAVUI {

class CUIBaseHoverWindow : public CUIElement {
public:
    explicit CUIBaseHoverWindow(std::shared_ptr<CUIConfig> config) : CUIElement(0, std::move(config)) {}

    virtual void ShowInfo(const ElementInfo& info) = 0;
};

class CUIHoverWindow : public CUIBaseHoverWindow {
public:
    // Sized HoverWindowWidth x its height at (0, 0).
    explicit CUIHoverWindow(std::shared_ptr<CUIConfig> config);

    void Realize(DRAVCommon::CXPDevice* device, CUIDrawHelp& help) override;
    void Draw(DRAVCommon::CXPDevice* device, CUIDrawHelp& help, CUISprite& sprite, const POINT* mouse) override;
    // Keeps a copy of the record until the next call.
    void ShowInfo(const ElementInfo& info) override;

    const ElementInfo& GetShownInfo() const { return m_shown; }
    const CUIStaticText& GetHintLine() const { return *m_hintLine; }

    static int WindowWidth(const CUIConfig& config) { return config.Pick(256, 188); }
    static int WindowHeight(const CUIConfig& config) { return config.Pick(114, 78); }
    static int HoverTextWidth(const CUIConfig& config) { return config.Pick(216, 148); }

private:
    ElementInfo m_shown;
    std::shared_ptr<CUITextTexture> m_titleSlot;
    std::shared_ptr<CUITextTexture> m_textSlot;
    std::shared_ptr<CUITextTexture> m_countSlot;
    std::shared_ptr<CUIStaticText> m_hintLine;
};

}  // namespace DRAVUI
