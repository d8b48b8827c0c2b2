#pragma once
// A column or row of widgets that grows to hold them, centres them across its
// width or height, and may draw a background, a frame and a caption. The dialogs
// are built from nested groups.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "graphics/ui_font_draw.h"
#include "ui/ui_element.h"

namespace DRAVUI {

class CUIGroup : public CUIElement {
public:
    CUIGroup(std::string caption, bool horizontal, bool border, std::uint32_t backgroundColour, int spacing,
             std::shared_ptr<CUIConfig> config);
    // Spacing 1.
    CUIGroup(std::shared_ptr<CUIConfig> config, std::string caption, bool horizontal, bool border,
             std::uint32_t backgroundColour);

    // Grows the group for the child, appends it and lays every child out again.
    void AddChild(std::shared_ptr<CUIElement> child);

    // Moves the group to the rectangle's corner; the group keeps its own size.
    void SetRect(const RECT& rect) override;
    void Realize(DRAVCommon::CXPDevice* device, CUIDrawHelp& help) override;
    void Draw(DRAVCommon::CXPDevice* device, CUIDrawHelp& help, CUISprite& sprite, const POINT* mouse) override;
    // Only the children are hit; the group itself never is.
    bool HitTest(const POINT* point, CUIElement** outElement, int* outId) override;
    bool FindScrollTarget(const POINT* point, CUIElement** out) override;

    const std::vector<std::shared_ptr<CUIElement>>& GetChildren() const { return m_children; }

private:
    int Pad() const { return m_border ? m_spacing + 1 : 0; }
    int CaptionHeight() const { return m_config->Pick(20, 12); }
    int TopOffset() const;
    void Layout();

    std::string m_caption;
    bool m_horizontal;
    bool m_border;
    std::uint32_t m_backgroundColour;
    int m_spacing;
    std::vector<std::shared_ptr<CUIElement>> m_children;
    std::shared_ptr<CUITextTexture> m_captionSlot;
};

}  // namespace DRAVUI
