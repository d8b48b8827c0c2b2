#include "graphics/scene/graphic_concat.h"

#include <algorithm>

#include "common/exception.h"
#include "common/trace.h"
#include "graphics/graphic.h"
#include "graphics/matrix.h"
#include "graphics/mesh_vertex.h"
#include "graphics/model_node.h"

namespace DRAVGraph {

bool IsStaticGraphic(const CGraphic& graphic) {
    if (graphic.GetLight() || graphic.GetFixedEffect() || (graphic.GetFlags() & GRAPHIC_MOVEVARIED)) return false;
    std::uint32_t count = 0;
    return !graphic.GetTree() || graphic.GetTree()->CountModels(count);
}

CGraphicConcat::CGraphicConcat(std::shared_ptr<CGraphic> graphic) : m_graphic(std::move(graphic)) {}

CGraphicConcat::~CGraphicConcat() {
    m_merged.clear();
    m_groups.clear();
    m_graphic.reset();
}

void CGraphicConcat::AddPlacement(const D3DMATRIX& world) {
    if (m_groups.empty() || m_groups.front().size() >= kGroupSize) {
        m_groups.emplace_front();
        m_groups.front().reserve(kGroupSize);
    }
    m_groups.front().push_back(world);
}

void CGraphicConcat::Build(DRAVCommon::CXPDevice* device) {
    if (m_groups.empty()) return;
    if (!IsStaticGraphic(*m_graphic))
        throw CDRAVException(DRAV_ERR_OUT_OF_RANGE, "graphic \"" + m_graphic->GetName() + "\" cannot be merged");
    std::uint32_t count = 0;
    if (m_graphic->GetTree()) m_graphic->GetTree()->CountModels(count);
    for (std::uint32_t k = 0; k < count; ++k) {
        for (const std::vector<D3DMATRIX>& group : m_groups) {
            MatrixStack stack{Mat4Identity()};
            std::shared_ptr<CModelNode> model;
            if (!m_graphic->GetStaticModel(k, stack, model) || !model) continue;
            // Whole copies only: a run never reaches past the last vertex a 16-bit
            // index can name.
            const std::size_t vertices = std::max<std::size_t>(model->GetMesh()->GetKeptVertices().size(), 1);
            const std::size_t run = std::max<std::size_t>(MAX_MESH_VERTICES / vertices, 1);
            for (std::size_t first = 0; first < group.size(); first += run) {
                const std::vector<D3DMATRIX> placements(group.begin() + first,
                                                        group.begin() + std::min(first + run, group.size()));
                m_merged.push_back(model->MakeMerged(device, stack.back(), placements));
            }
        }
    }
    m_groups.clear();
}

void CGraphicConcat::Render(const SceneRenderContext& context, const std::string& /*position*/, double time) const {
    DRAV_TRACE(DRAVCommon::TRACE_LOW, " concat - %s\n", m_graphic->GetName().c_str());
    const D3DMATRIX identity = Mat4Identity();
    // Opaque models first, so that see-through ones (water, glass) blend over them.
    for (bool transparentPass : {false, true}) {
        for (const std::shared_ptr<CModelNode>& model : m_merged) {
            if (((model->GetFlags() & SUBMODEL_TRANSPARENT) != 0) != transparentPass) continue;
            context.device->SetWorldTransform(identity);
            model->Draw(context.device, transparentPass, time);
        }
    }
}

std::shared_ptr<CGraphicConcat> GetOrCreateConcat(ConcatMap& map, const std::shared_ptr<CGraphic>& graphic) {
    std::shared_ptr<CGraphicConcat>& group = map[graphic.get()];
    if (!group) group = std::make_shared<CGraphicConcat>(graphic);
    return group;
}

}  // namespace DRAVGraph
