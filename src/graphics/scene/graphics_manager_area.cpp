// The graphics of the shown area's things, the merging of its static scenery, and the
// billboard effects of arriving spells and engine events.

#include <cmath>

#include "common/exception.h"
#include "graphics/particles/billboard_effect.h"
#include "graphics/particles/billboard_renderer.h"
#include "graphics/scene/graphic_concat.h"
#include "graphics/scene/graphics_manager.h"
#include "rules/magic/spell.h"
#include "rules/module.h"
#include "world/area.h"
#include "world/effect.h"
#include "world/game.h"

namespace DRAVGraph {

namespace {

constexpr double kTicksPerSecond = 30.0;

bool AnyCellSeen(const DRAV::CArea& area, const DRAV::CMasterTile& master) {
    for (std::uint32_t column = master.GetColumn(); column < master.GetColumn() + master.GetWidth(); ++column)
        for (std::uint32_t row = master.GetRow(); row < master.GetRow() + master.GetDepth(); ++row)
            if (area.GetSeenCells().Get(column, row)) return true;
    return false;
}

bool HasName(const std::string& name) { return !name.empty() && name != "0"; }

}  // namespace

void CGraphicsManager::BuildAreaGraphics(DRAVCommon::CXPDevice* device, DRAV::CArea& area) {
    m_frameCounter = 0;
    ConcatMap groups;
    for (const std::shared_ptr<DRAV::CMasterTile>& master : area.GetMasterTiles()) {
        master->SetFrameStamp(0);
        if (!AnyCellSeen(area, *master)) continue;
        std::shared_ptr<CGraphic> graphic;
        LoadTileGraphic(graphic, device, master->GetDefinition().GetGraphicName());
        master->SetGraphic(0, graphic);
        // A rebuild must not leave a tile in a group of the last build.
        master->SetSecondGraphic(nullptr);
        if (master->GetDefinition().GetKind() == DRAV::TILE_DOOR || !graphic || !IsStaticGraphic(*graphic)) continue;
        D3DMATRIX world;
        GetMasterTileTransform(world, *master);
        std::shared_ptr<CGraphicConcat> group = GetOrCreateConcat(groups, graphic);
        group->AddPlacement(world);
        master->SetSecondGraphic(group);
    }
    for (auto& [graphic, group] : groups) group->Build(device);
}

void CGraphicsManager::LoadTileGraphic(std::shared_ptr<CGraphic>& graphic, DRAVCommon::CXPDevice* device,
                                       const std::string& name) {
    graphic.reset();
    if (name == "0") return;
    if (FindCachedGraphic(DRAVCommon::DFK_TILE, name, nullptr, nullptr, graphic)) return;
    std::vector<std::shared_ptr<CGraphic>> cells;
    LoadTileGraphics(LoadContext(device), name, cells);
    for (const std::shared_ptr<CGraphic>& cell : cells) {
        std::shared_ptr<CGraphic> cached;
        if (!FindCachedGraphic(DRAVCommon::DFK_TILE, cell->GetName(), nullptr, nullptr, cached))
            AddCachedGraphic(DRAVCommon::DFK_TILE, cell->GetName(), nullptr, nullptr, cell);
    }
    if (!FindCachedGraphic(DRAVCommon::DFK_TILE, name, nullptr, nullptr, graphic))
        throw CDRAVException(DRAV_ERR_BAD_DATA, "tile graphic \"" + name + "\" is not in its tile file");
}

void CGraphicsManager::LoadAreaActorGraphics(DRAVCommon::CXPDevice* device, DRAV::CArea& area) {
    for (const std::shared_ptr<DRAV::CActor>& actor : area.GetActors()) LoadActorGraphics(device, *actor);
}

void CGraphicsManager::LoadAreaObjectGraphics(DRAVCommon::CXPDevice* device, DRAV::CArea& area,
                                              const DRAV::CModule& module) {
    for (const std::shared_ptr<DRAV::CObject>& object : area.GetObjects())
        if (!object->GetTemplate().GetGraphicName().empty()) LoadObjectGraphic(device, *object);
    const DRAV::CObjectTemplate* pile = module.FindObjectTemplate(DRAV::kPileTemplate);
    if (!pile) throw CDRAVException(DRAV_ERR_BAD_DATA, "the module has no \"pile\" object");
    const std::string& name = pile->GetGraphicName();
    std::shared_ptr<CGraphic> graphic;
    if (name != "0" && !FindCachedGraphic(DRAVCommon::DFK_OBJECT, name, nullptr, nullptr, graphic))
        AddCachedGraphic(DRAVCommon::DFK_OBJECT, name, nullptr, nullptr,
                         std::make_shared<CGraphic>(LoadContext(device), DRAVCommon::DFK_OBJECT, name,
                                                    DRAVCommon::DFK_OBJECT, nullptr, nullptr, nullptr));
}

void CGraphicsManager::LoadObjectGraphic(DRAVCommon::CXPDevice* device, DRAV::CObject& object) {
    const std::string& name = object.GetTemplate().GetGraphicName();
    // "0" names no graphic: such objects (trip wires, triggers) are never drawn.
    if (!HasName(name)) return;
    std::shared_ptr<CGraphic> graphic;
    if (!FindCachedGraphic(DRAVCommon::DFK_OBJECT, name, nullptr, nullptr, graphic)) {
        graphic = std::make_shared<CGraphic>(LoadContext(device), DRAVCommon::DFK_OBJECT, name, DRAVCommon::DFK_OBJECT,
                                             nullptr, nullptr, nullptr);
        // A fixed effect keeps its own emission state, so each such object has its own.
        if (!graphic->GetFixedEffect()) AddCachedGraphic(DRAVCommon::DFK_OBJECT, name, nullptr, nullptr, graphic);
    }
    object.SetGraphic(0, graphic);
}

bool CGraphicsManager::LoadEffectGraphic(DRAVCommon::CXPDevice* device, DRAV::CEffect& effect) {
    const std::string& name = effect.GetVisualName();
    if (!HasName(name)) return false;
    std::shared_ptr<CGraphic> graphic;
    if (!FindCachedGraphic(DRAVCommon::DFK_EFFECT, name, nullptr, nullptr, graphic)) {
        try {
            graphic = std::make_shared<CGraphic>(LoadContext(device), DRAVCommon::DFK_EFFECT, name,
                                                 DRAVCommon::DFK_EFFECT, nullptr, nullptr, nullptr);
        } catch (const CDRAVException& error) {
            // An effect whose file describes only its billboards (no graphic) flies
            // unseen; remembered as such, so the file is not read again every frame.
            if (error.GetCode() != DRAV_ERR_BAD_DATA) throw;
        }
        AddCachedGraphic(DRAVCommon::DFK_EFFECT, name, nullptr, nullptr, graphic);
    }
    if (!graphic) return false;
    effect.SetGraphics(graphic);
    return true;
}

void CGraphicsManager::AddEffect(DRAVCommon::CXPDevice* device, DRAV::CGame& game, const std::string& name,
                                 const CEffectParams* params, double x, double z) {
    if (!m_billboards || !HasName(name)) return;
    auto effect = std::make_shared<CBillboardEffect>(LoadContext(device), DRAVCommon::DFK_EFFECT, name, params, nullptr);
    effect->SetTickStamp(game.GetTick());
    effect->SetLastPosition(x, z);
    effect->SetTrailDistance(0.0);
    effect->SetFinished(false);
    m_nextEngineEffect = m_nextEngineEffect % 0xFFFFFFu + 1;
    m_effects[m_nextEngineEffect] = std::move(effect);
}

void CGraphicsManager::AdvanceEffects(DRAVCommon::CXPDevice* device, DRAV::CGame& game) {
    DRAV::CArea* area = game.GetCurrentArea();
    if (!area || !m_billboards) return;
    const std::uint32_t tick = game.GetTick();
    const double now = tick / kTicksPerSecond;
    for (const std::shared_ptr<DRAV::CEffect>& flying : area->GetEffects()) {
        if (!flying->IsDone()) continue;
        const std::uint32_t id = flying->GetId();
        auto running = m_effects.find(id);
        if (running != m_effects.end()) {
            running->second->SetTickStamp(tick);
            running->second->Update(*m_billboards, now, flying->GetX(), flying->GetY());
            continue;
        }
        if (!HasName(flying->GetVisualName())) continue;
        // Templates are shared per spell; an effect without a spell reads its own.
        const auto* spell = dynamic_cast<const DRAV::CEffectSpell*>(flying.get());
        const std::string* key = spell && spell->GetSpell() ? &spell->GetSpell()->GetKey() : nullptr;
        std::shared_ptr<CBillboardEffectTemplate> shared;
        if (key) {
            auto cached = m_effectTemplates.find(*key);
            if (cached != m_effectTemplates.end()) shared = cached->second;
        }
        auto effect = std::make_shared<CBillboardEffect>(LoadContext(device), DRAVCommon::DFK_EFFECT,
                                                         flying->GetVisualName(), flying->GetVisualParams(), shared);
        effect->SetTickStamp(tick);
        effect->SetLastPosition(flying->GetX(), flying->GetY());
        effect->SetTrailDistance(0.0);
        effect->SetFinished(false);
        if (key && !shared) m_effectTemplates[*key] = effect->GetTemplate();
        m_effects[id] = std::move(effect);
    }
    for (auto it = m_effects.begin(); it != m_effects.end();) {
        if (it->second->GetTickStamp() != tick && it->second->Finish(*m_billboards, now)) it = m_effects.erase(it);
        else ++it;
    }
}

}  // namespace DRAVGraph
