#pragma once
// Merged static scenery: every placement of one static tile graphic over an area,
// baked into a few large meshes so that a whole floor or wall set is drawn with one
// draw call per mesh part instead of one per tile.

#include <cstdint>
#include <list>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "graphics/render_context.h"
#include "graphics/xp_device.h"
#include "platform/d3d9/d3d9_types.h"

namespace DRAVGraph {

class CGraphic;
class CModelNode;

// No light, no fixed effect, not "movevaried", and no piece holding two or more
// models: a graphic that looks the same wherever and whenever it stands.
bool IsStaticGraphic(const CGraphic& graphic);

class CGraphicConcat {
public:
    // Placements gather in groups of at most this many.
    static constexpr std::size_t kGroupSize = 1000;

    explicit CGraphicConcat(std::shared_ptr<CGraphic> graphic);
    ~CGraphicConcat();
    CGraphicConcat(const CGraphicConcat&) = delete;
    CGraphicConcat& operator=(const CGraphicConcat&) = delete;

    // One more copy of the graphic under `world`; the newest group stands first.
    void AddPlacement(const D3DMATRIX& world);

    // Bakes the placements gathered since the last build into merged models, model by
    // model in tree order and group by group in list order, then forgets them. A
    // merged mesh never holds more vertices than 16-bit indices reach: a group is cut
    // into runs of at most 65536 / (model vertices) placements. A graphic that is not
    // static is code 2.
    void Build(DRAVCommon::CXPDevice* device);

    // Draws the merged models under the identity world: the opaque pass, then the
    // transparent one. A failed world transform is code 5.
    void Render(const SceneRenderContext& context, const std::string& position, double time) const;

    const std::shared_ptr<CGraphic>& GetGraphic() const { return m_graphic; }
    const std::list<std::vector<D3DMATRIX>>& GetGroups() const { return m_groups; }
    const std::vector<std::shared_ptr<CModelNode>>& GetMergedModels() const { return m_merged; }
    std::uint32_t GetFrameStamp() const { return m_frameStamp; }
    void SetFrameStamp(std::uint32_t stamp) { m_frameStamp = stamp; }

private:
    std::shared_ptr<CGraphic> m_graphic;
    std::list<std::vector<D3DMATRIX>> m_groups;
    std::vector<std::shared_ptr<CModelNode>> m_merged;
    std::uint32_t m_frameStamp = 0;
};

// Graphic identity (the shared object's address) to its merge group, for one build
// of an area's graphics.
using ConcatMap = std::map<const CGraphic*, std::shared_ptr<CGraphicConcat>>;

std::shared_ptr<CGraphicConcat> GetOrCreateConcat(ConcatMap& map, const std::shared_ptr<CGraphic>& graphic);

}  // namespace DRAVGraph
