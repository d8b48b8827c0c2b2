#include "graphics/mesh.h"

#include <cstring>
#include <string>

#include "common/exception.h"
#include "graphics/matrix.h"

namespace DRAVGraph {

using DRAVCommon::CheckDeviceCall;

namespace {

constexpr std::uint32_t LIT_STRIDE = sizeof(LitVertex);
constexpr std::uint32_t COLOURED_STRIDE = sizeof(ColouredVertex);

template <typename Buffer>
void FillBuffer(Buffer* buffer, const void* bytes, std::size_t size) {
    void* data = nullptr;
    CheckDeviceCall(buffer->Lock(0, 0, &data, 0));
    std::memcpy(data, bytes, size);
    CheckDeviceCall(buffer->Unlock());
}

}  // namespace

D3DMATERIAL9 MakePartMaterial(const D3DCOLORVALUE& colour, const D3DCOLORVALUE& emissive) {
    D3DMATERIAL9 material{};
    material.Diffuse = colour;
    material.Ambient = colour;
    material.Emissive = emissive;
    return material;
}

CMesh::CMesh(DRAVCommon::CXPDevice* device, const std::vector<LitVertex>& vertices,
             const std::vector<std::uint16_t>& indices, const std::vector<MeshPart>& parts, bool keepCopy) {
    if (keepCopy) {
        m_keptVertices = vertices;
        m_keptIndices = indices;
    }
    CreateBuffers(device, VERTEX_LIT, vertices.data(), LIT_STRIDE, vertices.size(), indices, parts);
}

CMesh::CMesh(DRAVCommon::CXPDevice* device, const std::vector<ColouredVertex>& vertices,
             const std::vector<std::uint16_t>& indices, const std::vector<MeshPart>& parts) {
    CreateBuffers(device, VERTEX_COLOURED, vertices.data(), COLOURED_STRIDE, vertices.size(), indices, parts);
}

CMesh::~CMesh() = default;

void CMesh::CreateBuffers(DRAVCommon::CXPDevice* device, std::uint32_t vertexType, const void* vertexBytes,
                          std::uint32_t stride, std::size_t vertexCount, const std::vector<std::uint16_t>& indices,
                          const std::vector<MeshPart>& parts) {
    DWORD fvf = 0;
    if (vertexType == VERTEX_LIT) fvf = LIT_VERTEX_FVF;
    else if (vertexType == VERTEX_COLOURED) fvf = COLOURED_VERTEX_FVF;
    else throw CDRAVException(DRAV_ERR_DEVICE);
    // Beyond this the 16-bit indices would wrap onto the first vertices.
    if (vertexCount > MAX_MESH_VERTICES)
        throw CDRAVException(DRAV_ERR_BAD_DATA, "A mesh of " + std::to_string(vertexCount) +
                                                    " vertices is more than 16-bit indices reach (" +
                                                    std::to_string(MAX_MESH_VERTICES) + ")");
    m_vertexType = vertexType;
    IDirect3DDevice9* d3d = device->GetDevice();

    const std::size_t vertexSize = std::size_t{stride} * vertexCount;
    IDirect3DVertexBuffer9* vertexBuffer = nullptr;
    CheckDeviceCall(d3d->CreateVertexBuffer(static_cast<UINT>(vertexSize), D3DUSAGE_WRITEONLY, fvf,
                                            D3DPOOL_DEFAULT, &vertexBuffer, nullptr));
    m_vertexBuffer.reset(vertexBuffer);
    FillBuffer(vertexBuffer, vertexBytes, vertexSize);

    const std::size_t indexSize = indices.size() * sizeof(std::uint16_t);
    IDirect3DIndexBuffer9* indexBuffer = nullptr;
    CheckDeviceCall(d3d->CreateIndexBuffer(static_cast<UINT>(indexSize), D3DUSAGE_WRITEONLY, D3DFMT_INDEX16,
                                           D3DPOOL_DEFAULT, &indexBuffer, nullptr));
    m_indexBuffer.reset(indexBuffer);
    FillBuffer(indexBuffer, indices.data(), indexSize);

    m_vertexCount = vertexCount;
    m_indexCount = indices.size();
    if (vertexType == VERTEX_LIT) {
        const auto* vertices = static_cast<const LitVertex*>(vertexBytes);
        for (std::size_t i = 0; i < vertexCount; ++i) m_bounds.Add(vertices[i].x, vertices[i].y, vertices[i].z);
    }
    m_parts = parts;
    std::uint32_t firstVertex = 0;
    std::uint32_t firstTriangle = 0;
    for (MeshPart& part : m_parts) {
        part.firstVertex = firstVertex;
        part.firstTriangle = firstTriangle;
        firstVertex += part.vertexCount;
        firstTriangle += part.triangleCount;
    }
}

void CMesh::Draw(DRAVCommon::CXPDevice* device) const {
    IDirect3DDevice9* d3d = device->GetDevice();
    const bool lit = m_vertexType == VERTEX_LIT;
    for (const MeshPart& part : m_parts) {
        // Direct3D refuses a draw of no triangles.
        if (part.triangleCount == 0) continue;
        d3d->SetMaterial(&part.material);
        d3d->SetRenderState(D3DRS_ALPHABLENDENABLE, part.textured ? 1 : 0);
        d3d->SetTexture(0, part.textured && part.texture ? part.texture->GetTexture() : nullptr);
        CheckDeviceCall(d3d->SetStreamSource(0, m_vertexBuffer.get(), 0, lit ? LIT_STRIDE : COLOURED_STRIDE));
        CheckDeviceCall(d3d->SetFVF(lit ? LIT_VERTEX_FVF : COLOURED_VERTEX_FVF));
        CheckDeviceCall(d3d->SetIndices(m_indexBuffer.get()));
        CheckDeviceCall(d3d->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 0, part.firstVertex, part.vertexCount,
                                                  3 * part.firstTriangle, part.triangleCount));
    }
}

void CMesh::LoadTextures(DRAVCommon::CXPDevice* device, DRAVCommon::CDataFileFactory& source,
                         DRAVCommon::DataFileKind kind, const std::vector<TextureEntry>& entries,
                         const CGraphicColors* colours, std::uint32_t flags, SharedTextureList* shared) {
    const bool fromShared =
        !(flags & SUBMODEL_NOMULTITEXTURE) && shared && shared->size() == m_parts.size();
    for (std::size_t i = 0; i < m_parts.size(); ++i) {
        MeshPart& part = m_parts[i];
        if (fromShared) {
            part.texture = (*shared)[i];
            continue;
        }
        if (part.textured) {
            if (i >= entries.size())
                throw CDRAVException(DRAV_ERR_BAD_DATA, "Textured part " + std::to_string(i) + " has no texture entry (" +
                                                            std::to_string(entries.size()) + " given)");
            const TextureEntry& entry = entries[i];
            part.texture = entry.name.empty()
                               ? DRAVCommon::CreateColourTexture(device, entry.colour, entry.alpha)
                               : DRAVCommon::LoadTextureFile(device, source, kind, DRAVCommon::DFS_TEX, entry.name,
                                                             colours);
        }
        if (shared) shared->push_back(part.texture);
    }
}

std::shared_ptr<CMesh> CMesh::Replicate(DRAVCommon::CXPDevice* device, const D3DMATRIX& model,
                                        const std::vector<D3DMATRIX>& placements) const {
    if (m_keptVertices.empty() || m_keptIndices.empty()) throw CDRAVException(DRAV_ERR_DEVICE);
    const std::size_t copies = placements.size();
    if (m_keptVertices.size() * copies > MAX_MESH_VERTICES)
        throw CDRAVException(DRAV_ERR_BAD_DATA, std::to_string(copies) + " copies of a mesh of " +
                                                    std::to_string(m_keptVertices.size()) +
                                                    " vertices are more than 16-bit indices reach");

    std::vector<D3DMATRIX> world(copies);
    for (std::size_t k = 0; k < copies; ++k) Mat4Multiply(world[k], model, placements[k]);

    std::vector<MeshPart> parts = m_parts;
    std::vector<LitVertex> vertices;
    std::vector<std::uint16_t> indices;
    vertices.reserve(m_keptVertices.size() * copies);
    indices.reserve(m_keptIndices.size() * copies);
    for (MeshPart& part : parts) {
        const std::uint32_t first = part.firstVertex;
        const std::uint32_t count = part.vertexCount;
        const std::size_t base = vertices.size();  // copies * first, the parts before holding copies each
        for (std::size_t k = 0; k < copies; ++k) {
            const D3DMATRIX& w = world[k];
            for (std::uint32_t j = 0; j < count; ++j) {
                const LitVertex& s = m_keptVertices.at(first + j);
                LitVertex d = s;
                d.x = s.x * w._11 + s.y * w._21 + s.z * w._31 + w._41;
                d.y = s.x * w._12 + s.y * w._22 + s.z * w._32 + w._42;
                d.z = s.x * w._13 + s.y * w._23 + s.z * w._33 + w._43;
                d.nx = s.nx * w._11 + s.ny * w._21 + s.nz * w._31;
                d.ny = s.nx * w._12 + s.ny * w._22 + s.nz * w._32;
                d.nz = s.nx * w._13 + s.ny * w._23 + s.nz * w._33;
                vertices.push_back(d);
            }
            const std::size_t start = 3 * std::size_t{part.firstTriangle};
            for (std::size_t i = start; i < start + 3 * std::size_t{part.triangleCount}; ++i)
                indices.push_back(
                    static_cast<std::uint16_t>(m_keptIndices.at(i) - first + base + std::size_t{count} * k));
        }
        part.vertexCount *= static_cast<std::uint32_t>(copies);
        part.triangleCount *= static_cast<std::uint32_t>(copies);
    }
    return std::make_shared<CMesh>(device, vertices, indices, parts, false);
}

}  // namespace DRAVGraph
