#include "scene_viewer/scene_view.h"

#include "common/data_file_path.h"
#include "common/graphic_colors.h"
#include "graphics/model_import.h"
#include "rules/module.h"
#include "rules/module_version_range.h"
#include "world/actor.h"
#include "world/area.h"
#include "world/events/event.h"
#include "world/game.h"

namespace QuillmereViewer {

CSceneView::CSceneView(const std::string& moduleFolder, DRAVCommon::CXPDevice* device, int width, int height)
    : m_device(device), m_engine(std::make_shared<DRAV::CEngine>()), m_viewport{0, 0, width, height} {
    // While the process is small: the importer's fork is cheap now.
    DRAVGraph::StartModelImporter();
    auto source = std::make_shared<DRAVCommon::CDataFileFactoryPath>(moduleFolder, 1);
    m_engine->LoadModule(1, DRAV::CModuleVersionRange("Orvex", 5, 0), source);
    std::shared_ptr<DRAV::CActor> main = m_engine->NewGame();
    main->SetName("Wren");
    // The first head the chapter offers, as the creation wizard would give it.
    const DRAV::CModule& module = *m_engine->GetModule();
    if (!module.GetFemaleHeads().empty()) {
        main->SetGraphicName(module.GetFemaleHeads().front()->word);
        auto colours = std::make_shared<DRAVGraph::CGraphicColors>();
        colours->SetColor(DRAVGraph::CGraphicColors::HAIR, 0x5A3A1E);
        colours->SetColor(DRAVGraph::CGraphicColors::SKIN, 0xDCB48C);
        colours->SetColor(DRAVGraph::CGraphicColors::TRIM, 0x2E6E5A);
        main->SetColor(colours);
    }
    m_engine->BeginNewGame(main);
    m_engine->EnterArea();
    m_lookAt[0] = static_cast<float>(main->GetX());
    m_lookAt[2] = static_cast<float>(main->GetY());
    m_camera.viewport = &m_viewport;
    m_camera.lookAt = m_lookAt;
    m_graphics.SetDataFileFactory(source);
    m_graphics.Init(m_device, *m_engine->GetGame(), module);
    m_graphics.GetSelection().push_back(main->GetId());
}

CSceneView::~CSceneView() {
    if (m_engine->GetGame()) m_graphics.ReleaseDeviceObjects(m_device, *m_engine->GetGame());
}

void CSceneView::Tick() {
    m_engine->RunTick();
    m_graphics.AdvanceEffects(m_device, *m_engine->GetGame());
    HandleEvents();
}

void CSceneView::HandleEvents() {
    DRAV::CGame& game = *m_engine->GetGame();
    std::shared_ptr<DRAV::CEvent> event;
    bool rebuild = false;
    while (game.PopEvent(event)) {
        const std::int32_t code = event->GetCode();
        if (code == DRAV::EVENT_TILES_REPLACED || code == DRAV::EVENT_VIEW_RECOMPUTED) rebuild = true;
        else if (code == DRAV::EVENT_CRITICAL_HIT) m_graphics.SetShakeStartTick(game.GetTick());
        else if (const auto* effect = dynamic_cast<const DRAV::CEffectEvent*>(event.get()))
            m_graphics.AddEffect(m_device, game, effect->GetEffectName(), effect->GetParams(), effect->GetX(),
                                 effect->GetY());
    }
    if (rebuild && game.GetCurrentArea()) m_graphics.BuildAreaGraphics(m_device, *game.GetCurrentArea());
}

void CSceneView::Draw() {
    IDirect3DDevice9* d3d = m_device->GetDevice();
    m_device->SetDefaultRenderStates(true);
    d3d->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xFF000000u, 1.0f, 0);
    d3d->BeginScene();
    m_graphics.RenderScene(m_device, *m_engine->GetGame(), m_camera);
    d3d->EndScene();
}

void CSceneView::Pan(float dx, float dz) {
    m_lookAt[0] += dx;
    m_lookAt[2] += dz;
}

void CSceneView::SeeEverything() {
    DRAV::CArea& area = *m_engine->GetGame()->GetCurrentArea();
    for (std::uint32_t column = 0; column < area.GetColumns(); ++column)
        for (std::uint32_t row = 0; row < area.GetRows(); ++row) area.GetSeenCells().Set(column, row, true);
    m_graphics.BuildAreaGraphics(m_device, area);
}

}  // namespace QuillmereViewer
