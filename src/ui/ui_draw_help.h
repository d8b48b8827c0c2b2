#pragma once
// The drawing service of the realized screens of one device: the two interface
// fonts at the UI scale, the textures of the UI images by id, and the primitives
// every widget draws with. Everything only queues on the frame's 2D queue.

#include <cstdint>
#include <map>
#include <memory>

#include "common/data_file.h"
#include "graphics/ui_font_draw.h"
#include "graphics/ui_sprite.h"
#include "graphics/xp_texture.h"
#include "ui/ui_config.h"

namespace DRAVUI {

// Ids of images registered from file bytes start here; table ids lie below.
inline constexpr int kFirstRegisteredImage = 1000;

class CUIDrawHelp {
public:
    // `source` stays the caller's; without one it is code 1. Font failures
    // propagate (CSDLException).
    CUIDrawHelp(DRAVCommon::CDataFileFactory* source, std::uint32_t scalePercent, std::shared_ptr<CUIConfig> config);
    ~CUIDrawHelp();
    CUIDrawHelp(const CUIDrawHelp&) = delete;
    CUIDrawHelp& operator=(const CUIDrawHelp&) = delete;

    // Captions, buttons and texts.
    CUIFontDraw& LargeFont() { return *m_largeFont; }
    // Static texts with the small-font flag.
    CUIFontDraw& SmallFont() { return *m_smallFont; }

    // Reads and caches the table image `id` once; a missing file is code 1.
    void LoadImage(DRAVCommon::CXPDevice* device, int id);
    // Registers a picture under the first free id from 1000 and returns the id.
    int AddImage(DRAVCommon::CXPDevice* device, const DRAVCommon::ByteVector& imageFile);
    // Drops the registered pictures, which belong to the widgets of one screen; the
    // table's images stay.
    void ForgetRegisteredImages();
    std::shared_ptr<DRAVCommon::CXPTexture> FindImage(int id) const;

    // The primitives queue nothing over an empty rectangle.
    static void FillRect(CUISprite& sprite, std::uint32_t colour, const RECT& rect);
    // `levels` nested one-unit frames, light on the top and left, dark on the
    // bottom and right.
    static void DrawBevel(CUISprite& sprite, std::uint32_t light, std::uint32_t dark, const RECT& rect, int levels);
    // The image stretched over the rectangle and tinted; id 0 queues nothing, an
    // id not loaded queues a plain rectangle of the colour.
    void DrawImageRect(CUISprite& sprite, const RECT& rect, int id, std::uint32_t colour) const;
    // A sunken frame with a bar of `fraction` (held to 0..1) of its inside.
    static void DrawProgress(CUISprite& sprite, const RECT& rect, std::uint32_t colour, double fraction);

private:
    DRAVCommon::CDataFileFactory* m_source;
    std::shared_ptr<CUIFontDraw> m_largeFont;
    std::shared_ptr<CUIFontDraw> m_smallFont;
    std::map<int, std::shared_ptr<DRAVCommon::CXPTexture>> m_images;
};

}  // namespace DRAVUI
