#pragma once
// The title screen's small 3D scene: a full-screen picture behind an emblem that
// spins up into place over five seconds and a title that joins it, both gliding to
// rest by the tenth second. It runs on the wall clock, not on game ticks.

#include <cstdint>
#include <functional>
#include <memory>

#include "common/data_file.h"
#include "graphics/scene/camera.h"
#include "graphics/xp_device.h"
#include "graphics/xp_texture.h"
#include "platform/d3d9/d3d9_types.h"

namespace DRAVGraph {

class CGraphic;

// Where the title scene puts its two graphics at a moment of the intro.
struct TitlePlacement {
    D3DMATRIX emblem;
    bool titleShown = false;
    D3DMATRIX title;
};

// `t` seconds after the intro began; a static pose rests the emblem at the origin
// with no title.
TitlePlacement PlaceTitleScene(double t, bool staticPose);

class CIconGraphicsManager {
public:
    // Milliseconds of the wall clock; timeGetTime unless replaced.
    using Clock = std::function<std::uint32_t()>;

    CIconGraphicsManager();
    ~CIconGraphicsManager();
    CIconGraphicsManager(const CIconGraphicsManager&) = delete;
    CIconGraphicsManager& operator=(const CIconGraphicsManager&) = delete;

    void SetDataFileFactory(std::shared_ptr<DRAVCommon::CDataFileFactory> source) { m_source = std::move(source); }
    void SetClock(Clock clock) { m_clock = std::move(clock); }

    // The background picture "x_icon-back1.jpg" and the graphics "g_icon1" and
    // "g_text1", all of kind "icon". Errors of the data files and loaders pass through.
    void Load(DRAVCommon::CXPDevice* device);

    // One frame: the picture over the camera's viewport, then the two graphics under
    // the camera's field of view. Nothing is drawn of what is not loaded; a failed
    // transform is code 5.
    void Render(DRAVCommon::CXPDevice* device, const CCamera& camera);

    // The splash set-up clears both: the intro then starts at the next frame.
    bool IsStaticPose() const { return m_staticPose; }
    void SetStaticPose(bool staticPose) { m_staticPose = staticPose; }
    bool IsClockStarted() const { return m_clockStarted; }
    void SetClockStarted(bool started) { m_clockStarted = started; }

    const std::shared_ptr<CGraphic>& GetEmblem() const { return m_emblem; }
    const std::shared_ptr<CGraphic>& GetTitle() const { return m_title; }

private:
    std::shared_ptr<DRAVCommon::CDataFileFactory> m_source;
    std::shared_ptr<DRAVCommon::CXPTexture> m_whiteTexture;
    D3DMATRIX m_projection{};
    D3DMATRIX m_view{};
    bool m_staticPose = true;
    bool m_clockStarted = false;
    std::uint32_t m_startTime = 0;
    std::shared_ptr<DRAVCommon::CXPTexture> m_background;
    std::shared_ptr<CGraphic> m_emblem;
    std::shared_ptr<CGraphic> m_title;
    Clock m_clock;
};

}  // namespace DRAVGraph
