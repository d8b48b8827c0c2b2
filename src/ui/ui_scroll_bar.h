#pragma once
// The vertical scroll bar of lists and text panels: an end zone of 11 units at
// each end and a thumb 20 units high travelling between them. A press jumps the
// position to the mouse and starts a drag; the wheel scrolls it by notches.

#include <cstdint>
#include <memory>

#include "ui/ui_button.h"

namespace DRAVUI {

class CUIScrollBar : public CUIElement {
public:
    static constexpr int kEndZone = 11;
    static constexpr int kThumbHeight = 20;

    explicit CUIScrollBar(std::shared_ptr<CUIConfig> config);

    void SetRect(const RECT& rect) override;
    void Realize(DRAVCommon::CXPDevice* device, CUIDrawHelp& help) override;
    void Draw(DRAVCommon::CXPDevice* device, CUIDrawHelp& help, CUISprite& sprite, const POINT* mouse) override;
    int OnMouse(int kind, const POINT* point) override;

    // Moves the position by `step`, held to 0..range.
    void Scroll(int step);
    // The position for a vertical mouse coordinate.
    void SetFromMouse(int y);
    // Places the thumb for the position.
    void UpdateThumb();

    CUIImageButton& GetThumb() { return *m_thumb; }

    // Read and written by the owner, which then calls UpdateThumb.
    std::uint32_t m_range = 0;
    std::uint32_t m_position = 0;

private:
    // How far the thumb can move: the height between the end zones, none for a bar
    // too short to have any.
    std::uint32_t Travel() const;

    std::shared_ptr<CUIImageButton> m_thumb;
};

}  // namespace DRAVUI
