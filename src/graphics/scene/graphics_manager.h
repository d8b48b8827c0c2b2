#pragma once
// The 3D view of the game: the graphics shared by the things of the shown area, the
// renderers of particles and ground markers, the shadow and sky, the camera of the
// last frame, the running billboard effects, and picking against that frame.

#include <array>
#include <cstdint>
#include <list>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "common/data_file.h"
#include "common/graphic_colors.h"
#include "common/graphic_override.h"
#include "graphics/bounding_box.h"
#include "graphics/graphic.h"
#include "graphics/render_context.h"
#include "graphics/scene/camera.h"
#include "graphics/xp_device.h"
#include "platform/d3d9/d3d9_types.h"

namespace DRAV {
class CActor;
class CArea;
class CEffect;
class CGame;
class CModule;
class CObject;
class CMasterTile;
class CThing;
class CTile;
}  // namespace DRAV

namespace DRAVGraph {

class CAdornmentDraw;
class CBillboardEffect;
class CBillboardEffectTemplate;
class CBillboardRenderer;
class CEffectParams;
class CModelNode;

// One layer of an area's sky: a graphic repeated in tiles on a plane below the ground.
struct CSkyInfo {
    std::shared_ptr<CGraphic> graphic;
    double depth = 0.0;  // below the ground plane
    double size = 0.0;   // tile side
    double scrollX = 0.0;
    double scrollZ = 0.0;  // units per second
};

struct GraphicCacheEntry {
    DRAVCommon::DataFileKind kind{};
    std::string name;
    bool hasColours = false;
    CGraphicColors colours;
    bool hasOverrides = false;
    GraphicOverrideList overrides;
    std::shared_ptr<CGraphic> graphic;
};

// What lies under a screen point.
enum PickKind : std::int32_t { PICK_NOTHING = 0, PICK_TILE = 1, PICK_OBJECT = 2, PICK_ACTOR = 3 };

struct PickContext {
    D3DMATRIX view;
    D3DMATRIX projection;
    D3DMATRIX viewport;  // device coordinates to pixels
    std::int32_t width = 0;
    std::int32_t height = 0;
    // View x projection x viewport: world space to pixels and depth.
    D3DMATRIX forward;
    // Its inverse: pixels and depth back to world space.
    D3DMATRIX inverse;
};

class CGraphicsManager {
public:
    CGraphicsManager();
    ~CGraphicsManager();
    CGraphicsManager(const CGraphicsManager&) = delete;
    CGraphicsManager& operator=(const CGraphicsManager&) = delete;

    void SetDataFileFactory(std::shared_ptr<DRAVCommon::CDataFileFactory> source) { m_source = std::move(source); }

    // ---- set-up (graphics_manager.cpp) ----
    // Renderers, shadow, sky layers and the current area's graphics; the manager
    // itself when the game has a current area, else null and nothing done.
    CGraphicsManager* Init(DRAVCommon::CXPDevice* device, DRAV::CGame& game, const DRAV::CModule& module);
    // Every graphic of the area and the renderers go; the next Init loads afresh.
    void ClearAreaGraphics(DRAV::CGame& game);
    // Before a device reset: the area's graphics are released and the buffers and
    // textures that drawing leaves bound are unbound, since the device refuses a reset
    // while any default-pool object lives. Init afterwards brings everything back.
    void ReleaseDeviceObjects(DRAVCommon::CXPDevice* device, DRAV::CGame& game);

    void LoadActorGraphics(DRAVCommon::CXPDevice* device, DRAV::CActor& actor);
    bool FindCachedGraphic(DRAVCommon::DataFileKind kind, const std::string& name, const CGraphicColors* colours,
                           const GraphicOverrideList* overrides, std::shared_ptr<CGraphic>& graphic);
    void AddCachedGraphic(DRAVCommon::DataFileKind kind, const std::string& name, const CGraphicColors* colours,
                          const GraphicOverrideList* overrides, std::shared_ptr<CGraphic> graphic);

    // ---- area graphics and effects (graphics_manager_area.cpp) ----
    void BuildAreaGraphics(DRAVCommon::CXPDevice* device, DRAV::CArea& area);
    // The cell graphic `name` ("0": none); a name its tile file lacks is code 1.
    void LoadTileGraphic(std::shared_ptr<CGraphic>& graphic, DRAVCommon::CXPDevice* device, const std::string& name);
    void LoadAreaActorGraphics(DRAVCommon::CXPDevice* device, DRAV::CArea& area);
    // Also makes sure the item-pile graphic is at hand; a module without a "pile"
    // object is code 1.
    void LoadAreaObjectGraphics(DRAVCommon::CXPDevice* device, DRAV::CArea& area, const DRAV::CModule& module);
    void LoadObjectGraphic(DRAVCommon::CXPDevice* device, DRAV::CObject& object);
    bool LoadEffectGraphic(DRAVCommon::CXPDevice* device, DRAV::CEffect& effect);
    // An engine's effect at a ground point. Effects of one tick each run to their end.
    void AddEffect(DRAVCommon::CXPDevice* device, DRAV::CGame& game, const std::string& name,
                   const CEffectParams* params, double x, double z);
    // One game tick of the running billboard effects; nothing before Init.
    void AdvanceEffects(DRAVCommon::CXPDevice* device, DRAV::CGame& game);

    // ---- drawing (graphics_manager_render.cpp) ----
    void RenderScene(DRAVCommon::CXPDevice* device, DRAV::CGame& game, const CCamera& camera);

    // ---- picking (graphics_manager_pick.cpp) ----
    // What the last drawn frame shows at (x, y): an actor, else an object the player
    // can act on, else a seen ground cell, with nearExit set within 20 units of an
    // offered exit. Nothing before the first frame.
    void PickAtScreen(DRAVCommon::CXPDevice* device, std::int32_t x, std::int32_t y, DRAV::CArea& area,
                      PickKind& kind, DRAV::CThing*& thing, bool& nearExit, bool includeSignsAndTraps);
    // The ground point under (x, y); false (and nothing written) before the first frame
    // or where the ray never meets the ground.
    bool ScreenToWorld(DRAVCommon::CXPDevice* device, std::int32_t x, std::int32_t y, float& worldX,
                       float& worldZ);

    // The room the actor's figure takes in the world as the scene draws it now; false
    // while it has no figure or its figure draws nothing.
    static bool GetActorDrawnBounds(const DRAV::CActor& actor, BoundingBox& box);

    // ---- state ----
    std::list<std::uint32_t>& GetSelection() { return m_selection; }
    void SetShakeStartTick(std::uint32_t tick) { m_shakeStartTick = tick; }
    std::uint32_t GetShakeStartTick() const { return m_shakeStartTick; }
    std::uint32_t GetFrameCounter() const { return m_frameCounter; }
    const D3DMATRIX& GetViewMatrix() const { return m_view; }
    const D3DMATRIX& GetProjectionMatrix() const { return m_projection; }
    const std::list<std::shared_ptr<CSkyInfo>>& GetSkyLayers() const { return m_skies; }
    const std::map<std::uint32_t, std::shared_ptr<CBillboardEffect>>& GetRunningEffects() const { return m_effects; }
    const std::map<std::string, std::shared_ptr<CBillboardEffectTemplate>>& GetEffectTemplates() const {
        return m_effectTemplates;
    }
    CBillboardRenderer* GetBillboardRenderer() const { return m_billboards.get(); }
    const std::shared_ptr<CModelNode>& GetShadowModel() const { return m_shadow; }
    // The drawing transform of a master tile: its facing turn, then the centre of its cells.
    void GetMasterTileTransform(D3DMATRIX& out, const DRAV::CMasterTile& master) const;
    // Whether the party has seen the cell under ground point (x, z); false off the grid.
    static bool IsPointSeen(const DRAV::CArea& area, double x, double z);

private:
    GraphicLoadContext LoadContext(DRAVCommon::CXPDevice* device) const;

    // Scene passes.
    void SetupLights(DRAVCommon::CXPDevice* device, DRAV::CGame& game, DRAV::CArea& area, const float target[3],
                     std::uint32_t& count);
    void SetObjectLight(DRAVCommon::CXPDevice* device, std::uint32_t index, const CLight& light, double x, double z);
    void RenderSky(const SceneRenderContext& context, DRAV::CGame& game, const CCamera& camera, const float eye[3],
                   const float target[3]);
    void RenderMapCells(const SceneRenderContext& context, DRAV::CGame& game, DRAV::CArea& area,
                        const float target[3]);
    void RenderAdornments(const SceneRenderContext& context, DRAV::CArea& area, const float target[3],
                          const CCamera& camera);
    void RenderActors(const SceneRenderContext& context, DRAV::CGame& game, DRAV::CArea& area, const float target[3]);
    void RenderObjects(const SceneRenderContext& context, DRAV::CGame& game, DRAV::CArea& area, const float target[3],
                       bool transparentPass);
    void RenderEffects(const SceneRenderContext& context, DRAV::CGame& game, DRAV::CArea& area,
                       const float target[3]);
    bool IsActorShown(const DRAV::CActor& actor, const DRAV::CArea& area, const float target[3]) const;
    bool IsObjectDrawn(const DRAV::CObject& object, const DRAV::CArea& area, const float target[3]) const;
    void RenderShadow(DRAVCommon::CXPDevice* device, double x, double z, double radius);
    void DrawOrderMarkers(const DRAV::CArea& area, const DRAV::CActor& actor, bool selected);

    // Picking.
    bool MakePickContext(DRAVCommon::CXPDevice* device, PickContext& context) const;
    bool PickActor(DRAV::CArea& area, const PickContext& context, float x, float y, DRAV::CActor*& actor) const;
    bool PickObject(DRAV::CArea& area, const PickContext& context, float x, float y, bool includeSignsAndTraps,
                    DRAV::CObject*& object) const;
    bool PickTile(DRAV::CArea& area, const PickContext& context, float x, float y, DRAV::CThing*& tile,
                  bool& nearExit) const;
    DRAV::CTile* StandingTileOnRay(DRAV::CArea& area, const PickContext& context, float x, float y) const;
    bool GetStandingHeight(const DRAV::CMasterTile& master, double& height) const;

    std::shared_ptr<DRAVCommon::CDataFileFactory> m_source;
    std::map<std::int32_t, std::map<std::string, std::list<GraphicCacheEntry>>> m_cache;
    CFigureCache m_figures;
    std::map<std::string, std::shared_ptr<CBillboardEffectTemplate>> m_effectTemplates;
    std::map<std::uint32_t, std::shared_ptr<CBillboardEffect>> m_effects;
    std::array<D3DMATRIX, 4> m_facings;
    std::list<std::uint32_t> m_selection;
    std::list<std::shared_ptr<CSkyInfo>> m_skies;
    D3DMATRIX m_projection{};
    D3DMATRIX m_view{};
    // False until a frame has been drawn: picking has no matrices before.
    bool m_haveFrame = false;
    std::shared_ptr<CBillboardRenderer> m_billboards;
    std::shared_ptr<CAdornmentDraw> m_adornments;
    std::shared_ptr<CModelNode> m_shadow;
    bool m_directionalLight = false;
    float m_sunX = 0.0f;
    float m_lightPosition[3] = {0.0f, 0.0f, 0.0f};
    std::uint32_t m_frameCounter = 0;
    std::uint32_t m_shakeStartTick = 0;
    // Engine effects take keys 1 to 0xFFFFFF in turn, below every thing id (whose type
    // byte is never 0), so two of them in one tick both run.
    std::uint32_t m_nextEngineEffect = 0;
};

}  // namespace DRAVGraph
