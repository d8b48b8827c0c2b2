#pragma once
// One UI image, or a picture given as image file bytes, stretched over the widget.

#include <memory>

#include "common/data_file.h"
#include "ui/ui_element.h"

namespace DRAVUI {

class CUIImage : public CUIElement {
public:
    CUIImage(std::shared_ptr<CUIConfig> config, int imageId, int id);
    // A picture whose image id is assigned when realized.
    CUIImage(std::shared_ptr<CUIConfig> config, std::shared_ptr<DRAVCommon::ByteVector> imageFile);

    void Realize(DRAVCommon::CXPDevice* device, CUIDrawHelp& help) override;
    void Draw(DRAVCommon::CXPDevice* device, CUIDrawHelp& help, CUISprite& sprite, const POINT* mouse) override;
    // An image not yet known is never hit.
    bool HitTest(const POINT* point, CUIElement** outElement, int* outId) override;

    int GetImageId() const { return m_imageId; }

private:
    int m_imageId;
    std::shared_ptr<DRAVCommon::ByteVector> m_imageFile;
};

}  // namespace DRAVUI
