#pragma once
// One frame of the 2D stack, drawn the way the game draws its interface: default
// states, clear, scene, a queue of plain and translucent rectangles, a picture and
// wrapped text, one flush. The demo program shows it; tests and the benchmark draw
// it on both devices.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "common/data_file.h"
#include "graphics/ui_font_draw.h"
#include "graphics/ui_sprite.h"
#include "graphics/xp_device.h"

namespace QuillmereDemo {

class CDemoFrame {
public:
    // `source` gives the interface font; `scalePercent` is the UI scale.
    CDemoFrame(DRAVCommon::CXPDevice* device, DRAVCommon::CDataFileFactory& source, std::uint32_t scalePercent);

    // The whole frame, from the default states to EndScene (no Present).
    void Draw();
    // Only the queue of a frame: `count` rectangles, plain, textured and text in turn.
    void QueueMany(DRAVUI::CUISprite& sprite, int count);

    static const std::string kText;

private:
    DRAVCommon::CXPDevice* m_device;
    std::uint32_t m_scalePercent;
    std::shared_ptr<DRAVCommon::CXPTexture> m_white;
    std::shared_ptr<DRAVCommon::CXPTexture> m_picture;
    DRAVUI::CUIFontDraw m_font;
    std::shared_ptr<DRAVUI::CUITextTexture> m_textSlot;
    std::vector<std::shared_ptr<DRAVUI::CUITextTexture>> m_labelSlots;
};

// Checks a frame read back from the OpenGL device against what the same frame did
// on the recording device: the centre of every opaque plain rectangle that nothing
// later covers must show its colour. Returns the mismatches as text (empty when none).
std::vector<std::string> CompareWithRecording(const std::vector<std::uint32_t>& frame, int width,
                                              DRAVCommon::CDataFileFactory& source, std::uint32_t scalePercent,
                                              int height);

}  // namespace QuillmereDemo
