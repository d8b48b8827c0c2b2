#pragma once
// The sample chapter's start area running and drawn through the graphics manager:
// what the scene viewer shows and the scene benchmark measures.

#include <memory>
#include <string>

#include "engine/engine.h"
#include "graphics/scene/graphics_manager.h"
#include "graphics/xp_device.h"

namespace QuillmereViewer {

class CSceneView {
public:
    // Loads chapter 1 of the module folder, starts a new game with a main character
    // and enters the start area; the view looks at the main character.
    CSceneView(const std::string& moduleFolder, DRAVCommon::CXPDevice* device, int width, int height);
    ~CSceneView();
    CSceneView(const CSceneView&) = delete;
    CSceneView& operator=(const CSceneView&) = delete;

    // One engine tick, its effects and the events that concern the view.
    void Tick();
    // Clears, draws the scene and ends the frame (no Present).
    void Draw();
    // Moves the point looked at along the ground.
    void Pan(float dx, float dz);
    // Marks every cell of the area seen and rebuilds its graphics.
    void SeeEverything();

    DRAV::CEngine& Engine() { return *m_engine; }
    DRAVGraph::CGraphicsManager& Graphics() { return m_graphics; }
    DRAVGraph::CCamera& Camera() { return m_camera; }

private:
    void HandleEvents();

    DRAVCommon::CXPDevice* m_device;
    std::shared_ptr<DRAV::CEngine> m_engine;
    DRAVGraph::CGraphicsManager m_graphics;
    RECT m_viewport;
    float m_lookAt[3] = {0.0f, 0.0f, 0.0f};
    DRAVGraph::CCamera m_camera;
};

}  // namespace QuillmereViewer
