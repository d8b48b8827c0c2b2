#pragma once
// The geometry of an imported model scene, as the lists a lit mesh is made from.

#include <cstdint>
#include <vector>

#include "graphics/mesh.h"

struct aiScene;

namespace DRAVGraph {

struct SceneGeometry {
    std::vector<LitVertex> vertices;
    std::vector<std::uint16_t> indices;
    std::vector<MeshPart> parts;  // no textures
};

// One part per scene mesh, in scene order, with the material's diffuse (as ambient too)
// and emissive colours and whether it names a diffuse texture. The scene errors of
// CMesh's scene constructor: code 5 for what a mesh cannot be made of, code 1 for more
// vertices than 16-bit indices reach.
SceneGeometry ExtractSceneGeometry(const aiScene& scene);

}  // namespace DRAVGraph
