#pragma once
// One piece of a graphic's figure: its children and the models hung on it, drawn
// under the pose's transform of the piece.

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "graphics/bounding_box.h"
#include "graphics/mesh.h"
#include "graphics/model_info.h"
#include "graphics/model_node.h"
#include "graphics/pose.h"
#include "graphics/render_context.h"

namespace DRAVGraph {

class CGraphicTree {
public:
    CGraphicTree(std::string name, std::string parentName)
        : m_name(std::move(name)), m_parentName(std::move(parentName)) {}

    // Depth first, the piece itself before its children; null when absent.
    CGraphicTree* FindNode(const std::string& name);

    // False as soon as some piece holds more than one model; else adds the number of
    // pieces holding exactly one.
    bool CountModels(std::uint32_t& count) const;
    bool HasTransparentModel() const;

    // Loads one model (LoadModel) onto this piece; tile models keep their geometry for merging.
    void AddModel(const GraphicLoadContext& context, const CSubModelInfo& subModel,
                  const std::vector<TextureEntry>& textures, const std::array<std::uint32_t, 3>* colours,
                  std::uint32_t flags, SharedTextureList* slot, bool tile, double frameTime,
                  double moveTexturePeriod);
    void AddChild(std::shared_ptr<CGraphicTree> child) { m_children.push_back(std::move(child)); }
    void SetScale(const Vector3& scale) {
        m_hasScale = true;
        m_scale = scale;
    }
    void SetPeriod(double period) { m_period = period; }

    // Drops, depth first, every child left with neither children nor models.
    void Prune();

    // Draws the subtree in one pass from a fresh stack holding the identity.
    void DrawTree(const SceneRenderContext& context, const CPose& pose, double poseTime, double frameTime,
                  const Vector3* parentScale, bool transparentPass) const;

    // Adds the room the subtree's models take when drawn as DrawTree draws them under
    // `parent` (the piece's placement before its own transform).
    void AddDrawnBounds(const CPose& pose, double poseTime, const Vector3* parentScale, const D3DMATRIX& parent,
                        BoundingBox& box) const;

    // Counts pieces with exactly one model in tree order; at index 0 gives that model
    // with its transform (under `pose` at time 0) on the stack's top.
    bool FindModelByIndex(std::uint32_t& index, const CPose& pose, MatrixStack& stack,
                          std::shared_ptr<CModelNode>& model) const;

    const std::string& GetName() const { return m_name; }
    const std::string& GetParentName() const { return m_parentName; }
    const std::vector<std::shared_ptr<CGraphicTree>>& GetChildren() const { return m_children; }
    const std::vector<std::shared_ptr<CModelNode>>& GetModels() const { return m_models; }
    bool HasModels() const { return m_hasModels; }
    bool HasScale() const { return m_hasScale; }
    const Vector3& GetScale() const { return m_scale; }
    double GetPeriod() const { return m_period; }

private:
    void Draw(const SceneRenderContext& context, const CPose& pose, double poseTime, double frameTime,
              const Vector3* parentScale, bool transparentPass, MatrixStack& stack) const;
    // top := S x top, S the piece's scale.
    void ScaleTop(D3DMATRIX& top) const;

    std::string m_name;
    std::string m_parentName;
    std::vector<std::shared_ptr<CGraphicTree>> m_children;
    bool m_hasScale = false;
    Vector3 m_scale{1.0f, 1.0f, 1.0f};
    bool m_hasModels = false;
    double m_period = 1.0;
    std::vector<std::shared_ptr<CModelNode>> m_models;
};

}  // namespace DRAVGraph
