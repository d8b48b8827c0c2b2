#include "graphics/autotile/auto_tile_mesh.h"

#include <cstring>

#include "graphics/autotile/auto_tile.h"

namespace DRAVGraph {

static_assert(sizeof(AutoTileMaterial) == sizeof(D3DMATERIAL9));

std::shared_ptr<CMesh> BuildAutoTile(const CSubModelInfo& info, DRAVCommon::CXPDevice* device, bool keepCopy) {
    const AutoTileGeometry geometry = BuildAutoTileGeometry(info);
    std::vector<MeshPart> parts(geometry.parts.size());
    for (std::size_t i = 0; i < parts.size(); ++i) {
        const AutoTilePart& from = geometry.parts[i];
        parts[i].vertexCount = from.vertexCount;
        parts[i].triangleCount = from.triangleCount;
        std::memcpy(&parts[i].material, &from.material, sizeof(D3DMATERIAL9));
        parts[i].textured = from.textured;
    }
    return std::make_shared<CMesh>(device, geometry.vertices, geometry.indices, parts, keepCopy);
}

}  // namespace DRAVGraph
