#pragma once
// A loaded graphic definition: the figure's piece tree with its models, the figure's
// poses, and an optional light and fixed effect. Complete when constructed and never
// changed after, so every thing that looks the same shares one.

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "common/data_file.h"
#include "common/graphic_override.h"
#include "graphics/animation_finder.h"
#include "graphics/graphic_tree.h"
#include "graphics/light.h"
#include "graphics/mesh.h"
#include "graphics/model_info.h"
#include "graphics/render_context.h"

namespace DRAVCommon {
class CDataFileReader;
}

namespace DRAVGraph {

class CFixedEffect;
class CGraphicColors;

// Bits of CGraphic::GetFlags.
enum GraphicFlag : std::uint32_t {
    GRAPHIC_TRANSPARENT = 1,
    GRAPHIC_MOVEVARIED = 2,
};


// Figure name to the figure's positions, so graphics of one figure share them.
using CFigureCache = std::map<std::string, std::shared_ptr<CPositionMap>>;
// The textures each sub-model of a tile set's cells share, by "piece#k".
using CellTextureCache = std::map<std::string, SharedTextureList>;
// Piece name to what a graphic file says of its models, in name order.
using ModelInfoMap = std::map<std::string, std::shared_ptr<CModelInfo>>;

class CGraphic {
public:
    // The graphic "<name>.drav" of `kind`, with the override files of `overrideKind`
    // laid over it in order. Every error is a CDRAVException whose message names the
    // graphic file; a figure's positions enter the cache only when the load succeeds.
    CGraphic(const GraphicLoadContext& context, DRAVCommon::DataFileKind kind, const std::string& name,
             DRAVCommon::DataFileKind overrideKind, const GraphicOverrideList* overrides,
             CFigureCache* figureCache, const CGraphicColors* colours);
    // One cell of a tile graphic (kind "tile"), its models kept for merging.
    CGraphic(const GraphicLoadContext& context, const std::string& fileName, bool multigraphic,
             std::uint32_t cellOne, std::uint32_t cellTwo, CellTextureCache* cellTextures);
    ~CGraphic();
    CGraphic(const CGraphic&) = delete;
    CGraphic& operator=(const CGraphic&) = delete;

    // Builds the models of `models` onto the pieces they name; a piece the figure
    // lacks is code 1.
    void LoadModels(const GraphicLoadContext& context, const ModelInfoMap& models, CellTextureCache* cellTextures,
                    bool tile);

    // Draws the tree under the pose the action and variant select (else "default"):
    // opaque models, then transparent ones when there are any; then fires the fixed effect.
    void Render(const SceneRenderContext& context, const std::string& animation, std::int32_t variant,
                double poseTime, double frameTime) const;

    // The room the figure takes when Render draws it under `world` with the same pose;
    // false when it would draw no model.
    bool GetDrawnBounds(const std::string& animation, std::int32_t variant, double poseTime, const D3DMATRIX& world,
                        BoundingBox& box) const;

    // The n-th single model in tree order and, on the stack's top, its transform under
    // the "default" position (code 2 without one); false past the last.
    bool GetStaticModel(std::uint32_t index, MatrixStack& stack, std::shared_ptr<CModelNode>& model) const;

    const std::string& GetName() const { return m_name; }
    const std::string& GetFigureName() const { return m_figureName; }
    std::uint32_t GetFlags() const { return m_flags; }
    bool HasTransparentModel() const { return m_anyTransparent; }
    const std::shared_ptr<CGraphicTree>& GetTree() const { return m_tree; }
    const std::shared_ptr<CAnimationFinder>& GetPoses() const { return m_poses; }
    const std::shared_ptr<CLight>& GetLight() const { return m_light; }
    const std::shared_ptr<CFixedEffect>& GetFixedEffect() const { return m_fixedEffect; }

private:
    friend class CGraphicLoader;

    struct LoadRequest {
        DRAVCommon::DataFileKind kind;
        std::string name;
        DRAVCommon::DataFileKind overrideKind;
        const GraphicOverrideList* overrides;
        CFigureCache* figureCache;
        const CGraphicColors* colours;
        bool multigraphic;
        bool tile;
        std::uint32_t cellOne;
        std::uint32_t cellTwo;
        CellTextureCache* cellTextures;
    };
    void LoadHelper(const GraphicLoadContext& context, const LoadRequest& request);
    // The pose asked for, else "default"; null when the figure has neither.
    const CPose* FindPose(const std::string& animation, std::int32_t variant) const;

    std::string m_name;
    std::string m_figureName;
    std::uint32_t m_flags = 0;
    bool m_anyTransparent = false;
    std::shared_ptr<CGraphicTree> m_tree;
    std::shared_ptr<CAnimationFinder> m_poses;
    std::shared_ptr<CLight> m_light;
    std::shared_ptr<CFixedEffect> m_fixedEffect;
};

// Every cell of the tile graphic a reference ("name" or "name#one#two") names, ordered
// by the second index, then the first.
void LoadTileGraphics(const GraphicLoadContext& context, const std::string& reference,
                      std::vector<std::shared_ptr<CGraphic>>& graphics);

}  // namespace DRAVGraph
