#include "ui/ui_draw_help.h"

#include <algorithm>
#include <cmath>

#include "common/exception.h"
#include "platform/win32/rect.h"
#include "ui/ui_image_table.h"

namespace DRAVUI {

CUIDrawHelp::CUIDrawHelp(DRAVCommon::CDataFileFactory* source, std::uint32_t scalePercent,
                         std::shared_ptr<CUIConfig> config)
    : m_source(source) {
    if (!m_source)
        throw CDRAVException(DRAV_ERR_BAD_DATA, "the interface has no data-file source for its font and images");
    const bool large = config && config->IsLarge();
    m_largeFont = std::make_shared<CUIFontDraw>(*m_source, large ? 20 : 12, scalePercent);
    m_smallFont = std::make_shared<CUIFontDraw>(*m_source, large ? 14 : 10, scalePercent);
}

CUIDrawHelp::~CUIDrawHelp() {
    m_images.clear();
    m_smallFont.reset();
    m_largeFont.reset();
}

void CUIDrawHelp::LoadImage(DRAVCommon::CXPDevice* device, int id) {
    if (m_images.count(id)) return;
    std::string base, extension;
    GetUiImageName(id, base, extension);
    m_images[id] = DRAVCommon::LoadTextureFile(device, *m_source, DRAVCommon::DFK_UI, DRAVCommon::DFS_NONE,
                                               base + "." + extension);
}

int CUIDrawHelp::AddImage(DRAVCommon::CXPDevice* device, const DRAVCommon::ByteVector& imageFile) {
    int id = kFirstRegisteredImage;
    for (auto found = m_images.find(id); found != m_images.end() && found->second; found = m_images.find(++id)) {
    }
    m_images[id] = DRAVCommon::LoadTexture(device, imageFile, nullptr, "picture " + std::to_string(id));
    return id;
}

void CUIDrawHelp::ForgetRegisteredImages() {
    m_images.erase(m_images.lower_bound(kFirstRegisteredImage), m_images.end());
}

std::shared_ptr<DRAVCommon::CXPTexture> CUIDrawHelp::FindImage(int id) const {
    const auto found = m_images.find(id);
    return found == m_images.end() ? nullptr : found->second;
}

void CUIDrawHelp::FillRect(CUISprite& sprite, std::uint32_t colour, const RECT& rect) {
    if (IsRectEmpty(&rect)) return;
    sprite.Draw(rect, nullptr, colour, CUISprite::MODE_STRETCH, nullptr);
}

void CUIDrawHelp::DrawBevel(CUISprite& sprite, std::uint32_t light, std::uint32_t dark, const RECT& rect,
                            int levels) {
    RECT r = rect;
    for (int level = 0; level < levels && !IsRectEmpty(&r); ++level) {
        FillRect(sprite, light, RECT{r.left, r.top, r.right, r.top + 1});
        FillRect(sprite, dark, RECT{r.left, r.bottom - 1, r.right, r.bottom});
        FillRect(sprite, light, RECT{r.left, r.top + 1, r.left + 1, r.bottom - 1});
        FillRect(sprite, dark, RECT{r.right - 1, r.top + 1, r.right, r.bottom - 1});
        InflateRect(&r, -1, -1);
    }
}

void CUIDrawHelp::DrawImageRect(CUISprite& sprite, const RECT& rect, int id, std::uint32_t colour) const {
    if (id == 0 || IsRectEmpty(&rect)) return;
    sprite.Draw(rect, nullptr, colour, CUISprite::MODE_STRETCH, FindImage(id));
}

void CUIDrawHelp::DrawProgress(CUISprite& sprite, const RECT& rect, std::uint32_t colour, double fraction) {
    RECT r = rect;
    InflateRect(&r, -1, -1);
    DrawBevel(sprite, 0xFF808080, 0xFFFFFFFF, r, 1);
    InflateRect(&r, -1, -1);
    // A fraction past either end would draw the bar outside its frame.
    if (!(fraction > 0.0)) return;
    fraction = std::min(fraction, 1.0);
    const LONG w = static_cast<LONG>(std::trunc((r.right - r.left) * fraction));
    FillRect(sprite, colour, RECT{r.left, r.top, r.left + w, r.bottom});
}

}  // namespace DRAVUI
