#pragma once
// Procedural tile meshes: the geometry an "auto" sub-model's keyword and numbers stand
// for, as the vertex, index and part lists a mesh is made from.

#include <cstddef>
#include <cstdint>
#include <vector>

#include "graphics/mesh_vertex.h"
#include "graphics/model_info.h"

namespace DRAVGraph {

// One colour of a material, as the device takes it.
struct AutoTileColour {
    float r, g, b, a;
};

// A material in the device's own layout (four colours, then the specular power), so that
// it copies into the mesh's part material as it stands.
struct AutoTileMaterial {
    AutoTileColour Diffuse;
    AutoTileColour Ambient;
    AutoTileColour Specular;
    AutoTileColour Emissive;
    float Power;
};
static_assert(sizeof(AutoTileMaterial) == 68);
static_assert(offsetof(AutoTileMaterial, Ambient) == 16);
static_assert(offsetof(AutoTileMaterial, Power) == 64);

// One separately drawn piece. Parts follow each other in vertex order: first vertex and
// first triangle are the running sums of the counts of the parts before.
struct AutoTilePart {
    std::uint32_t vertexCount = 0;
    std::uint32_t triangleCount = 0;
    std::uint32_t firstVertex = 0;
    std::uint32_t firstTriangle = 0;
    AutoTileMaterial material{};
    bool textured = false;  // takes the sub-model's texture entry of the same index
};

struct AutoTileGeometry {
    std::vector<LitVertex> vertices;
    std::vector<std::uint16_t> indices;  // triangle list, absolute vertex positions
    std::vector<AutoTilePart> parts;
};

// Builds the geometry for info's keyword and numbers. An unknown keyword (compared
// exactly, letter case included), a count of numbers the keyword does not take, a zero
// atlas column or row count, or a sphere too fine for 16-bit indices is code 1.
AutoTileGeometry BuildAutoTileGeometry(const CSubModelInfo& info);

}  // namespace DRAVGraph
