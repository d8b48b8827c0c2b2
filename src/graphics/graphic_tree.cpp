#include "graphics/graphic_tree.h"

#include <algorithm>
#include <cmath>

#include "common/graphic_colors.h"
#include "graphics/matrix.h"

namespace DRAVGraph {

CGraphicTree* CGraphicTree::FindNode(const std::string& name) {
    if (m_name == name) return this;
    for (const auto& child : m_children)
        if (CGraphicTree* found = child->FindNode(name)) return found;
    return nullptr;
}

bool CGraphicTree::CountModels(std::uint32_t& count) const {
    if (m_models.size() > 1) return false;
    if (m_models.size() == 1) ++count;
    for (const auto& child : m_children)
        if (!child->CountModels(count)) return false;
    return true;
}

bool CGraphicTree::HasTransparentModel() const {
    for (const auto& model : m_models)
        if (model->GetFlags() & SUBMODEL_TRANSPARENT) return true;
    return std::any_of(m_children.begin(), m_children.end(),
                       [](const auto& child) { return child->HasTransparentModel(); });
}

void CGraphicTree::AddModel(const GraphicLoadContext& context, const CSubModelInfo& subModel,
                            const std::vector<TextureEntry>& textures, const std::array<std::uint32_t, 3>* colours,
                            std::uint32_t flags, SharedTextureList* slot, bool tile, double frameTime,
                            double moveTexturePeriod) {
    m_hasModels = true;
    CGraphicColors colourSet;
    if (colours)
        for (std::uint32_t i = 0; i < CGraphicColors::COUNT; ++i)
            colourSet.SetColor(static_cast<CGraphicColors::Index>(i), (*colours)[i]);
    m_models.push_back(LoadModel(context.device, *context.source, subModel, textures, colours ? &colourSet : nullptr,
                                 flags, slot, tile, frameTime, moveTexturePeriod));
}

void CGraphicTree::Prune() {
    for (const auto& child : m_children) child->Prune();
    std::erase_if(m_children, [](const auto& child) { return child->m_children.empty() && child->m_models.empty(); });
}

void CGraphicTree::ScaleTop(D3DMATRIX& top) const {
    D3DMATRIX scale = Mat4Identity();
    scale._11 = m_scale[0];
    scale._22 = m_scale[1];
    scale._33 = m_scale[2];
    D3DMATRIX scaled;
    Mat4Multiply(scaled, scale, top);
    top = scaled;
}

void CGraphicTree::DrawTree(const SceneRenderContext& context, const CPose& pose, double poseTime,
                            double frameTime, const Vector3* parentScale, bool transparentPass) const {
    MatrixStack stack{Mat4Identity()};
    Draw(context, pose, poseTime, frameTime, parentScale, transparentPass, stack);
}

void CGraphicTree::Draw(const SceneRenderContext& context, const CPose& pose, double poseTime, double frameTime,
                        const Vector3* parentScale, bool transparentPass, MatrixStack& stack) const {
    if (!pose.GetNodeTransform(m_name, stack, parentScale, poseTime)) return;
    D3DMATRIX& top = stack.back();
    if (context.world) MatrixMultiplyInPlace(top, *context.world);

    SceneRenderContext childContext = context;
    childContext.world = &top;
    for (const auto& child : m_children)
        child->DrawTree(childContext, pose, poseTime, frameTime, m_hasScale ? &m_scale : nullptr, transparentPass);

    if (m_models.empty()) return;
    if (m_hasScale) ScaleTop(top);
    context.device->SetWorldTransform(top);
    const double phase = std::fmod(frameTime / m_period, 1.0);
    // The last frame that has started; before the first frame starts, the first.
    auto frame = std::find_if(m_models.rbegin(), m_models.rend(),
                              [phase](const auto& model) { return model->GetStartTime() <= phase; });
    const CModelNode& model = frame == m_models.rend() ? *m_models.front() : **frame;
    model.Draw(context.device, transparentPass, frameTime);
}

void CGraphicTree::AddDrawnBounds(const CPose& pose, double poseTime, const Vector3* parentScale,
                                  const D3DMATRIX& parent, BoundingBox& box) const {
    MatrixStack stack{Mat4Identity()};
    if (!pose.GetNodeTransform(m_name, stack, parentScale, poseTime)) return;
    D3DMATRIX top = stack.back();
    MatrixMultiplyInPlace(top, parent);
    for (const auto& child : m_children)
        child->AddDrawnBounds(pose, poseTime, m_hasScale ? &m_scale : nullptr, top, box);
    if (m_models.empty()) return;
    if (m_hasScale) ScaleTop(top);
    // Every frame of a flip-book piece, whichever shows now.
    for (const auto& model : m_models)
        if (model->GetMesh()) box.AddTransformed(model->GetMesh()->GetBounds(), top);
}

bool CGraphicTree::FindModelByIndex(std::uint32_t& index, const CPose& pose, MatrixStack& stack,
                                    std::shared_ptr<CModelNode>& model) const {
    // The piece's own transform goes before its parent's, as when drawing; multiplied
    // after it, a turned piece would stand somewhere else in merged scenery.
    const D3DMATRIX parent = stack.back();
    stack.back() = Mat4Identity();
    pose.GetNodeTransform(m_name, stack, nullptr, 0.0);
    MatrixMultiplyInPlace(stack.back(), parent);
    if (m_hasScale) ScaleTop(stack.back());
    if (m_models.size() == 1) {
        if (index == 0) {
            model = m_models.front();
            return true;
        }
        --index;
    }
    for (const auto& child : m_children) {
        stack.push_back(stack.back());
        if (child->FindModelByIndex(index, pose, stack, model)) return true;
        stack.pop_back();
    }
    return false;
}

}  // namespace DRAVGraph
