#pragma once
// The static GPU geometry of the scene: one vertex buffer, one 16-bit index buffer and
// the parts drawn from them, each with its own material and texture in one indexed draw.
// Models, auto-tiles, merged scenery and the per-frame batches of coloured quads all end
// up as a CMesh.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "common/data_file.h"
#include "graphics/bounding_box.h"
#include "graphics/mesh_vertex.h"
#include "graphics/model_info.h"
#include "graphics/xp_device.h"
#include "graphics/xp_texture.h"

struct aiScene;

namespace DRAVGraph {

class CGraphicColors;

// One separately drawn piece. Part k covers the vertices [firstVertex, firstVertex +
// vertexCount) and the triangles [firstTriangle, firstTriangle + triangleCount); the mesh
// numbers both from the counts of the parts before, whatever a builder put there.
struct MeshPart {
    std::uint32_t vertexCount = 0;
    std::uint32_t triangleCount = 0;
    std::uint32_t firstVertex = 0;
    std::uint32_t firstTriangle = 0;
    D3DMATERIAL9 material{};
    bool textured = false;
    std::shared_ptr<DRAVCommon::CXPTexture> texture;  // empty until LoadTextures
};

// The textures the k-th sub-models of the cells of one tile set share, part by part.
using SharedTextureList = std::vector<std::shared_ptr<DRAVCommon::CXPTexture>>;

class CMesh {
public:
    enum VertexType : std::uint32_t {
        VERTEX_LIT = 0,       // LitVertex
        VERTEX_COLOURED = 1,  // ColouredVertex
    };

    // Lit geometry (the auto-tiles); with keepCopy the vertices and indices stay on the
    // CPU as well, for Replicate.
    CMesh(DRAVCommon::CXPDevice* device, const std::vector<LitVertex>& vertices,
          const std::vector<std::uint16_t>& indices, const std::vector<MeshPart>& parts, bool keepCopy);
    // Coloured geometry (per-frame batches); never kept.
    CMesh(DRAVCommon::CXPDevice* device, const std::vector<ColouredVertex>& vertices,
          const std::vector<std::uint16_t>& indices, const std::vector<MeshPart>& parts);
    // The meshes of an imported model, one part each, in scene order. A scene without
    // materials, a mesh lacking positions, normals, texture coordinates or faces, a face
    // that is not a triangle or points past its mesh, or a material without a diffuse
    // colour is code 5.
    CMesh(DRAVCommon::CXPDevice* device, const aiScene& scene, bool keepCopy);
    ~CMesh();
    CMesh(const CMesh&) = delete;
    CMesh& operator=(const CMesh&) = delete;

    // Every part with at least one triangle, in order: material, blending and stage-0
    // texture by its textured flag, then one indexed draw. A textured part whose texture
    // stayed empty draws in its material colour, blended. Code 5 for a failed stream,
    // FVF, index or draw call.
    void Draw(DRAVCommon::CXPDevice* device) const;

    // Gives part i texture entry i: a 1x1 colour for an entry without a name, else the
    // image (kind, "tex", name) from `source`, recoloured by `colours`. Without
    // SUBMODEL_NOMULTITEXTURE in `flags`, a shared list as long as the part list supplies
    // the textures instead; otherwise what is loaded (an empty entry for an untextured
    // part) is appended to the list. A textured part without an entry, or a missing
    // file, is code 1.
    void LoadTextures(DRAVCommon::CXPDevice* device, DRAVCommon::CDataFileFactory& source,
                      DRAVCommon::DataFileKind kind, const std::vector<TextureEntry>& entries,
                      const CGraphicColors* colours, std::uint32_t flags, SharedTextureList* shared);

    // The kept geometry repeated once per placement, each copy transformed by
    // model x placement, in one mesh whose parts hold every copy of theirs. The textures
    // are shared with this mesh. Code 5 without a kept copy; code 1 when the copies need
    // more vertices than 16-bit indices reach.
    std::shared_ptr<CMesh> Replicate(DRAVCommon::CXPDevice* device, const D3DMATRIX& model,
                                     const std::vector<D3DMATRIX>& placements) const;

    std::uint32_t GetVertexType() const { return m_vertexType; }
    std::size_t GetVertexCount() const { return m_vertexCount; }
    std::size_t GetIndexCount() const { return m_indexCount; }
    const std::vector<MeshPart>& GetParts() const { return m_parts; }
    // The room the vertices of lit geometry take, in the mesh's own space; empty for
    // coloured geometry, which is built afresh every frame.
    const BoundingBox& GetBounds() const { return m_bounds; }
    // Empty unless the mesh was built with keepCopy.
    const std::vector<LitVertex>& GetKeptVertices() const { return m_keptVertices; }
    const std::vector<std::uint16_t>& GetKeptIndices() const { return m_keptIndices; }
    IDirect3DVertexBuffer9* GetVertexBuffer() const { return m_vertexBuffer.get(); }
    IDirect3DIndexBuffer9* GetIndexBuffer() const { return m_indexBuffer.get(); }

private:
    // Creates and fills both write-only default-pool buffers and takes the parts,
    // numbering them. More vertices than 16-bit indices reach is code 1; a vertex type
    // other than lit or coloured, or a failed device call, is code 5.
    void CreateBuffers(DRAVCommon::CXPDevice* device, std::uint32_t vertexType, const void* vertexBytes,
                       std::uint32_t stride, std::size_t vertexCount, const std::vector<std::uint16_t>& indices,
                       const std::vector<MeshPart>& parts);

    std::uint32_t m_vertexType = VERTEX_LIT;
    std::size_t m_vertexCount = 0;
    std::size_t m_indexCount = 0;
    D3DPtr<IDirect3DVertexBuffer9> m_vertexBuffer;
    D3DPtr<IDirect3DIndexBuffer9> m_indexBuffer;
    std::vector<MeshPart> m_parts;
    BoundingBox m_bounds;
    std::vector<LitVertex> m_keptVertices;
    std::vector<std::uint16_t> m_keptIndices;
};

// A part material with Diffuse = Ambient = `colour`, no specular, the given emissive and
// power 0: the materials models and auto-tiles use.
D3DMATERIAL9 MakePartMaterial(const D3DCOLORVALUE& colour, const D3DCOLORVALUE& emissive = {0, 0, 0, 0});

}  // namespace DRAVGraph
