#include "ui/ui_image.h"

#include "ui/ui_draw_help.h"

namespace DRAVUI {

CUIImage::CUIImage(std::shared_ptr<CUIConfig> config, int imageId, int id)
    : CUIElement(id, std::move(config)), m_imageId(imageId) {
    SetFlag(UIF_FRAMED, true);
}

CUIImage::CUIImage(std::shared_ptr<CUIConfig> config, std::shared_ptr<DRAVCommon::ByteVector> imageFile)
    : CUIElement(0, std::move(config)), m_imageId(0), m_imageFile(std::move(imageFile)) {
    SetFlag(UIF_FRAMED, true);
}

void CUIImage::Realize(DRAVCommon::CXPDevice* device, CUIDrawHelp& help) {
    if (!m_imageFile) {
        if (m_imageId != 0) help.LoadImage(device, m_imageId);
    } else if (m_imageId == 0) {
        m_imageId = help.AddImage(device, *m_imageFile);
    }
}

void CUIImage::Draw(DRAVCommon::CXPDevice*, CUIDrawHelp& help, CUISprite& sprite, const POINT*) {
    if (!HasFlag(UIF_SHOWN)) return;
    RECT r = m_rect;
    if (HasFlag(UIF_FRAMED)) {
        help.DrawBevel(sprite, 0xFFFFFFFF, 0xFFFFFFFF, r, 1);
        r = Inflated(r, -1);
    }
    help.DrawImageRect(sprite, r, m_imageId, 0xFFFFFFFF);
}

bool CUIImage::HitTest(const POINT* point, CUIElement** outElement, int* outId) {
    return m_imageId != 0 && CUIElement::HitTest(point, outElement, outId);
}

}  // namespace DRAVUI
