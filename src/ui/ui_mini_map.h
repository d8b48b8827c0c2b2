#pragma once
// The explored part of an area as a small picture, one texel per cell drawn 2 x 2,
// centred on the point the camera looks at, with a green mark for each party
// member. A click flips the game view's direction; an alternate click asks for the
// full area map. The picture is rebuilt from the area at every draw.

#include <cstdint>
#include <memory>

#include "ui/ui_element.h"

namespace DRAV {
class CArea;
}

namespace DRAVUI {

class CUIMiniMap : public CUIElement {
public:
    // The mini-map keeps the area it is made with; once that area is gone (a new
    // game, an area dropped before the screen is rebuilt) it draws nothing.
    CUIMiniMap(int id, std::weak_ptr<DRAV::CArea> area, std::shared_ptr<CUIConfig> config);

    void Realize(DRAVCommon::CXPDevice* device, CUIDrawHelp& help) override;
    void Draw(DRAVCommon::CXPDevice* device, CUIDrawHelp& help, CUISprite& sprite, const POINT* mouse) override;
    // A press flips the view and clicks; a right press or double click asks for the
    // full map (or clicks with flag 1024).
    int OnMouse(int kind, const POINT* point) override;

    // The cell colour (ARGB) of a cell of `area`, with alpha `alpha`; code 4 for a
    // tile kind outside 0 to 4.
    static std::uint32_t CellColour(DRAV::CArea& area, std::int64_t column, std::int64_t row,
                                    std::uint32_t alpha);

    // World x and z (the ground plane) of the point shown in the middle, written by
    // the owner every frame.
    float m_centreX = 0.0f;
    float m_centreY = 0.0f;
    bool m_reversed = false;

private:
    std::weak_ptr<DRAV::CArea> m_area;
};

}  // namespace DRAVUI
