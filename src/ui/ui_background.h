#pragma once
// Passive panels behind other widgets: they draw but are never hit, so the mouse
// passes through them.

#include <cstdint>
#include <list>
#include <memory>

#include "ui/ui_element.h"

namespace DRAVUI {

class CUIBackground : public CUIElement {
public:
    explicit CUIBackground(std::shared_ptr<CUIConfig> config);

    // The union of the listed widgets' rectangles; an empty list changes nothing.
    void FitAround(const std::list<std::shared_ptr<CUIElement>>& elements);

    void Realize(DRAVCommon::CXPDevice* device, CUIDrawHelp& help) override;
    void Draw(DRAVCommon::CXPDevice* device, CUIDrawHelp& help, CUISprite& sprite, const POINT* mouse) override;
    bool HitTest(const POINT* point, CUIElement** outElement, int* outId) override;

    std::uint32_t m_colour = kPanelBackground;
};

class CUIImageBackground : public CUIElement {
public:
    CUIImageBackground(std::shared_ptr<CUIConfig> config, int imageId, std::uint32_t tint);

    void Realize(DRAVCommon::CXPDevice* device, CUIDrawHelp& help) override;
    void Draw(DRAVCommon::CXPDevice* device, CUIDrawHelp& help, CUISprite& sprite, const POINT* mouse) override;
    bool HitTest(const POINT* point, CUIElement** outElement, int* outId) override;

private:
    std::uint32_t m_tint;
    int m_imageId;
};

}  // namespace DRAVUI
