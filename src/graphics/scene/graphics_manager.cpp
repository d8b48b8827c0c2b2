#include "graphics/scene/graphics_manager.h"

#include <algorithm>
#include <cmath>

#include "common/exception.h"
#include "graphics/adornment_draw.h"
#include "graphics/matrix.h"
#include "graphics/model_info.h"
#include "graphics/model_node.h"
#include "graphics/particles/billboard_effect.h"
#include "graphics/particles/billboard_renderer.h"
#include "rules/module.h"
#include "rules/monsters/actor_template.h"
#include "world/actor.h"
#include "world/area.h"
#include "world/game.h"

namespace DRAVGraph {

namespace {

// Turns about y for facings 0 to 3 (north, east, south, west).
D3DMATRIX FacingRotation(float angle) {
    D3DMATRIX matrix = Mat4Identity();
    matrix._11 = std::cos(angle);
    matrix._13 = -std::sin(angle);
    matrix._31 = std::sin(angle);
    matrix._33 = std::cos(angle);
    return matrix;
}

bool SameColours(const CGraphicColors& a, const CGraphicColors& b) {
    for (auto index : {CGraphicColors::HAIR, CGraphicColors::SKIN, CGraphicColors::TRIM})
        if ((a.GetColor(index) & 0xFFFFFFu) != (b.GetColor(index) & 0xFFFFFFu)) return false;
    return true;
}

// Every requested override occurs in the entry's list; order is not compared.
bool SameOverrides(const GraphicOverrideList& request, const GraphicOverrideList& entry) {
    if (request.size() != entry.size()) return false;
    return std::all_of(request.begin(), request.end(), [&](const GraphicOverride& wanted) {
        return std::find(entry.begin(), entry.end(), wanted) != entry.end();
    });
}

}  // namespace

CGraphicsManager::CGraphicsManager()
    : m_facings{FacingRotation(0.0f), FacingRotation(4.712389f), FacingRotation(3.1415927f),
                FacingRotation(1.5707964f)} {
    Mat4Identity(m_view);
    Mat4Identity(m_projection);
}

CGraphicsManager::~CGraphicsManager() {
    m_shadow.reset();
    m_adornments.reset();
    m_billboards.reset();
    m_skies.clear();
    m_selection.clear();
    m_effects.clear();
    m_effectTemplates.clear();
    m_figures.clear();
    m_cache.clear();
    m_source.reset();
}

GraphicLoadContext CGraphicsManager::LoadContext(DRAVCommon::CXPDevice* device) const {
    return GraphicLoadContext{device, m_source.get(), m_billboards.get()};
}

CGraphicsManager* CGraphicsManager::Init(DRAVCommon::CXPDevice* device, DRAV::CGame& game,
                                         const DRAV::CModule& module) {
    DRAV::CArea* area = game.GetCurrentArea();
    if (!area) return nullptr;
    m_adornments = std::make_shared<CAdornmentDraw>();
    m_billboards = std::make_shared<CBillboardRenderer>(device, *m_source);

    CSubModelInfo shadow;
    shadow.kind = DRAVCommon::DFK_ACTOR;
    shadow.name = "d_shadow.x";
    shadow.textures = {TextureEntry{"x_shadow.png", 0, 1.0}};
    shadow.flags = SUBMODEL_FLAT;
    m_shadow = LoadModel(device, *m_source, shadow, shadow.textures, nullptr, SUBMODEL_FLAT, nullptr, false, 0.0, 0.0);

    m_skies.clear();
    const GraphicLoadContext skyContext{device, m_source.get(), nullptr};
    for (const std::shared_ptr<DRAV::CAreaSkyInfo>& record : area->GetSkies()) {
        // Tiles of no size would never cover the sky.
        if (!(record->values[1] > 0.0))
            throw CDRAVException(DRAV_ERR_BAD_DATA, "sky \"" + record->name + "\" has a tile size of " +
                                                        std::to_string(record->values[1]) + "; it must be above 0");
        auto layer = std::make_shared<CSkyInfo>();
        layer->graphic = std::make_shared<CGraphic>(skyContext, DRAVCommon::DFK_SKY, record->name, DRAVCommon::DFK_SKY,
                                                    nullptr, nullptr, nullptr);
        layer->depth = record->values[0];
        layer->size = record->values[1];
        layer->scrollX = record->values[2];
        layer->scrollZ = record->values[3];
        m_skies.push_back(std::move(layer));
    }

    BuildAreaGraphics(device, *area);
    LoadAreaActorGraphics(device, *area);
    LoadAreaObjectGraphics(device, *area, module);
    m_shakeStartTick = 0;
    return this;
}

void CGraphicsManager::ClearAreaGraphics(DRAV::CGame& game) {
    m_shadow.reset();
    m_adornments.reset();
    m_billboards.reset();
    if (DRAV::CArea* area = game.GetCurrentArea()) {
        for (const std::shared_ptr<DRAV::CMasterTile>& master : area->GetMasterTiles()) master->ReleaseGraphics();
        for (const std::shared_ptr<DRAV::CActor>& actor : area->GetActors()) actor->SetModel(nullptr);
        for (const std::shared_ptr<DRAV::CObject>& object : area->GetObjects()) object->SetGraphic(0, nullptr);
        for (const std::shared_ptr<DRAV::CEffect>& effect : area->GetEffects()) effect->SetGraphics(nullptr);
        m_skies.clear();
        m_effects.clear();
        m_effectTemplates.clear();
        m_cache.clear();
        m_figures.clear();
    }
}

void CGraphicsManager::ReleaseDeviceObjects(DRAVCommon::CXPDevice* device, DRAV::CGame& game) {
    ClearAreaGraphics(game);
    // Skies and effects hold device objects too, current area or not.
    m_skies.clear();
    m_effects.clear();
    m_effectTemplates.clear();
    m_cache.clear();
    IDirect3DDevice9* d3d = device->GetDevice();
    d3d->SetStreamSource(0, nullptr, 0, 0);
    d3d->SetIndices(nullptr);
    for (DWORD stage = 0; stage < 8; ++stage) d3d->SetTexture(stage, nullptr);
}

bool CGraphicsManager::FindCachedGraphic(DRAVCommon::DataFileKind kind, const std::string& name,
                                         const CGraphicColors* colours, const GraphicOverrideList* overrides,
                                         std::shared_ptr<CGraphic>& graphic) {
    for (const GraphicCacheEntry& entry : m_cache[kind][name]) {
        if ((colours != nullptr) != entry.hasColours) continue;
        if (colours && !SameColours(*colours, entry.colours)) continue;
        if ((overrides != nullptr) != entry.hasOverrides) continue;
        if (overrides && !SameOverrides(*overrides, entry.overrides)) continue;
        graphic = entry.graphic;
        return true;
    }
    return false;
}

void CGraphicsManager::AddCachedGraphic(DRAVCommon::DataFileKind kind, const std::string& name,
                                        const CGraphicColors* colours, const GraphicOverrideList* overrides,
                                        std::shared_ptr<CGraphic> graphic) {
    GraphicCacheEntry entry;
    entry.kind = kind;
    entry.name = name;
    entry.hasColours = colours != nullptr;
    if (colours) entry.colours = *colours;
    entry.hasOverrides = overrides != nullptr;
    if (overrides) entry.overrides = *overrides;
    entry.graphic = std::move(graphic);
    m_cache[kind][name].push_back(std::move(entry));
}

void CGraphicsManager::LoadActorGraphics(DRAVCommon::CXPDevice* device, DRAV::CActor& actor) {
    std::string name;
    GraphicOverrideList overrides;
    actor.SetGraphic(name, &overrides);
    // An actor without a look (a character before its head is chosen) is not drawn.
    if (name.empty() || name == "0") return;
    if (!(actor.GetMonsterFlags() & DRAV::MONSTER_NOWANDPOTION)) {
        overrides.push_back({"v_autowand1", false});
        overrides.push_back({"v_autopotion1", false});
    }
    const CGraphicColors* colours = actor.GetColor().get();
    std::shared_ptr<CGraphic> graphic;
    if (!FindCachedGraphic(DRAVCommon::DFK_ACTOR, name, colours, &overrides, graphic)) {
        graphic = std::make_shared<CGraphic>(LoadContext(device), DRAVCommon::DFK_ACTOR, name, DRAVCommon::DFK_ITEM,
                                             &overrides, &m_figures, colours);
        AddCachedGraphic(DRAVCommon::DFK_ACTOR, name, colours, &overrides, graphic);
    }
    actor.SetModel(graphic);
}

void CGraphicsManager::GetMasterTileTransform(D3DMATRIX& out, const DRAV::CMasterTile& master) const {
    D3DMATRIX place = Mat4Identity();
    place._41 = static_cast<float>(master.GetColumn() * 2.5 + master.GetWidth() * 1.25);
    place._43 = static_cast<float>(master.GetRow() * 2.5 + master.GetDepth() * 1.25);
    Mat4Multiply(out, m_facings[static_cast<std::size_t>(master.GetFacing()) & 3], place);
}

bool CGraphicsManager::IsPointSeen(const DRAV::CArea& area, double x, double z) {
    constexpr double kCell = 2.5;
    // Off the grid (or not a number) is never seen; the cap keeps the cast defined.
    if (!(x >= 0.0 && z >= 0.0)) return false;
    return area.GetSeenCells().Get(static_cast<std::uint32_t>(std::min(x / kCell, 4.0e9)),
                                   static_cast<std::uint32_t>(std::min(z / kCell, 4.0e9)));
}

}  // namespace DRAVGraph
