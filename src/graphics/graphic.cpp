#include "graphics/graphic.h"

#include "common/exception.h"
#include "common/trace.h"
#include "graphics/matrix.h"
#include "graphics/particles/fixed_effect.h"

namespace DRAVGraph {

CGraphic::~CGraphic() = default;

void CGraphic::LoadModels(const GraphicLoadContext& context, const ModelInfoMap& models,
                          CellTextureCache* cellTextures, bool tile) {
    for (const auto& [piece, info] : models) {
        CGraphicTree* node = m_tree ? m_tree->FindNode(piece) : nullptr;
        if (!node)
            throw CDRAVException(DRAV_ERR_BAD_DATA,
                                 "models for the piece \"" + piece + "\", which figure \"" + m_figureName + "\" lacks");
        DRAV_TRACE(DRAVCommon::TRACE_LOW, "Tree = %s\n", piece.c_str());
        for (std::size_t k = 0; k < info->subModels.size(); ++k) {
            const CSubModelInfo& sub = *info->subModels[k];
            SharedTextureList* slot = cellTextures ? &(*cellTextures)[piece + "#" + std::to_string(k)] : nullptr;
            try {
                node->AddModel(context, sub, sub.textures, sub.hasColours ? &sub.colours : nullptr, sub.flags, slot,
                               tile, sub.frameTime, (sub.flags & SUBMODEL_MOVETEXTURE) ? sub.moveTexturePeriod : 0.0);
            } catch (const CDRAVException& error) {
                // An item's model is the item file's fault, not the wearer's.
                if (sub.definedIn.empty() || error.GetMessage().rfind(sub.definedIn, 0) == 0) throw;
                throw CDRAVException(error.GetCode(), sub.definedIn + ": " + error.GetMessage(), error.GetReason());
            }
        }
        if (info->hasScale) node->SetScale(info->scale);
        node->SetPeriod(info->period);
    }
}

const CPose* CGraphic::FindPose(const std::string& animation, std::int32_t variant) const {
    const CPose* pose = m_poses->Find(animation, variant);
    return pose ? pose : m_poses->Find("default", 0);
}

void CGraphic::Render(const SceneRenderContext& context, const std::string& animation, std::int32_t variant,
                      double poseTime, double frameTime) const {
    const CPose* pose = FindPose(animation, variant);
    // A figure with neither the pose asked for nor "default" places no piece.
    if (m_tree && pose) {
        m_tree->DrawTree(context, *pose, poseTime, frameTime, nullptr, false);
        if (m_anyTransparent) m_tree->DrawTree(context, *pose, poseTime, frameTime, nullptr, true);
    }
    if (m_fixedEffect) m_fixedEffect->Update(context, frameTime);
}

bool CGraphic::GetDrawnBounds(const std::string& animation, std::int32_t variant, double poseTime,
                              const D3DMATRIX& world, BoundingBox& box) const {
    box = BoundingBox{};
    const CPose* pose = FindPose(animation, variant);
    if (m_tree && pose) m_tree->AddDrawnBounds(*pose, poseTime, nullptr, world, box);
    return !box.IsEmpty();
}

bool CGraphic::GetStaticModel(std::uint32_t index, MatrixStack& stack, std::shared_ptr<CModelNode>& model) const {
    auto position = m_poses->GetPositions()->find("default");
    if (position == m_poses->GetPositions()->end())
        throw CDRAVException(DRAV_ERR_OUT_OF_RANGE, "graphic \"" + m_name + "\" has no \"default\" position");
    if (!m_tree) return false;
    if (stack.empty()) stack.push_back(Mat4Identity());
    std::uint32_t remaining = index;
    return m_tree->FindModelByIndex(remaining, *position->second, stack, model);
}

}  // namespace DRAVGraph
