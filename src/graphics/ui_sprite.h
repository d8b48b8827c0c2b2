#pragma once
// The frame's deferred 2D queue: rectangles queued in UI pixels, scaled by the UI
// scale percent, and drawn at Flush from one vertex and one index buffer in three
// passes (backgrounds, all plain rectangles at once, textured rectangles). Later
// rectangles lie nearer, so the depth test, not sorting, decides what covers what.

#include <cstdint>
#include <memory>
#include <vector>

#include "graphics/xp_device.h"
#include "graphics/xp_texture.h"

namespace DRAVUI {

struct SpriteCommand {
    RECT dest;    // device pixels, already scaled
    RECT source;  // texture pixels; all zero when none was given
    std::uint32_t colour;
    std::uint32_t sequence;
    std::shared_ptr<DRAVCommon::CXPTexture> texture;
    std::uint32_t mode;  // 0 stretch, 1 crop to the viewport's aspect, 2 background pass
};

// One vertex of the flush: FVF 0x142, 24 bytes.
struct SpriteVertex {
    float x, y, z;
    std::uint32_t colour;
    float u, v;
};
static_assert(sizeof(SpriteVertex) == 24);

class CUISprite {
public:
    static constexpr DWORD kFvf = D3DFVF_XYZ | D3DFVF_DIFFUSE | D3DFVF_TEX1;
    enum Mode : std::uint32_t { MODE_STRETCH = 0, MODE_CROP = 1, MODE_BACKGROUND = 2 };

    CUISprite(DRAVCommon::CXPDevice* device, std::uint32_t scalePercent,
              std::shared_ptr<DRAVCommon::CXPTexture> defaultTexture);

    // Sets the 2D projection, view and world; code 5 on failure.
    void Begin();
    // Queues one rectangle; nothing is drawn until Flush.
    void Draw(const RECT& dest, const RECT* source, std::uint32_t colour, std::uint32_t mode,
              std::shared_ptr<DRAVCommon::CXPTexture> texture);
    // Draws and empties the queue; code 5 on a failed device call or an unknown
    // mode, leaving the queue as it was.
    void Flush();

    std::uint32_t GetScalePercent() const { return m_scalePercent; }
    DRAVCommon::CXPDevice* GetDevice() const { return m_device; }
    const std::vector<SpriteCommand>& GetPlainCommands() const { return m_plainCommands; }
    const std::vector<SpriteCommand>& GetTexturedCommands() const { return m_texturedCommands; }

private:
    void BuildQuads(const std::vector<SpriteCommand>& commands);

    DRAVCommon::CXPDevice* m_device;
    std::uint32_t m_scalePercent;
    std::shared_ptr<DRAVCommon::CXPTexture> m_defaultTexture;
    std::vector<SpriteCommand> m_plainCommands;
    std::vector<SpriteCommand> m_texturedCommands;
    std::uint32_t m_nextSequence = 0;
    // Depth between successive rectangles: a thousandth while a frame has at most a
    // thousand, else spread so that every rectangle stays in front of the far plane.
    static constexpr std::size_t kDepthSlots = 1000;
    static constexpr float kDepthStep = 0.001f;
    static constexpr std::size_t kMaxQuads = 65536 / 4;
    float m_depthStep = kDepthStep;
    std::vector<SpriteVertex> m_vertices;
    std::vector<std::uint16_t> m_indices;
};

}  // namespace DRAVUI
