// A mesh from a scene of the model importer: every scene mesh becomes one part, taken
// in scene order with its vertices as stored; the node tree, bones and animations are
// not used.

#include <assimp/material.h>
#include <assimp/mesh.h>
#include <assimp/scene.h>

#include <string>

#include "common/exception.h"
#include "graphics/mesh.h"
#include "graphics/mesh_scene.h"

namespace DRAVGraph {

namespace {

[[noreturn]] void RejectScene(const std::string& what) {
    throw CDRAVException(DRAV_ERR_DEVICE, what);
}

void CheckSceneMesh(const aiMesh* mesh, unsigned index, unsigned materialCount) {
    const std::string name = "mesh " + std::to_string(index);
    if (!mesh || !mesh->mVertices || mesh->mNumVertices == 0) RejectScene(name + " has no positions");
    if (!mesh->mNormals) RejectScene(name + " has no normals");
    if (!mesh->mTextureCoords[0]) RejectScene(name + " has no texture coordinates");
    if (!mesh->mFaces || mesh->mNumFaces == 0) RejectScene(name + " has no faces");
    if (mesh->mMaterialIndex >= materialCount) RejectScene(name + " names a material it does not have");
}

// Three components in the file give alpha 1; the importer's colour reading does that.
bool ReadColour(const aiMaterial* material, const char* key, unsigned type, unsigned index, D3DCOLORVALUE& out) {
    aiColor4D colour(0, 0, 0, 0);
    if (aiGetMaterialColor(material, key, type, index, &colour) != AI_SUCCESS) return false;
    out = {colour.r, colour.g, colour.b, colour.a};
    return true;
}

}  // namespace

SceneGeometry ExtractSceneGeometry(const aiScene& scene) {
    if (scene.mNumMaterials == 0 || !scene.mMaterials) RejectScene("no materials");
    if (scene.mNumMeshes == 0 || !scene.mMeshes) RejectScene("no meshes");
    std::size_t vertexTotal = 0;
    std::size_t faceTotal = 0;
    for (unsigned m = 0; m < scene.mNumMeshes; ++m) {
        CheckSceneMesh(scene.mMeshes[m], m, scene.mNumMaterials);
        vertexTotal += scene.mMeshes[m]->mNumVertices;
        faceTotal += scene.mMeshes[m]->mNumFaces;
    }
    if (vertexTotal > MAX_MESH_VERTICES)
        throw CDRAVException(DRAV_ERR_BAD_DATA, std::to_string(vertexTotal) +
                                                    " vertices, more than 16-bit indices reach (" +
                                                    std::to_string(MAX_MESH_VERTICES) + ")");

    SceneGeometry geometry;
    std::vector<LitVertex>& vertices = geometry.vertices;
    std::vector<std::uint16_t>& indices = geometry.indices;
    std::vector<MeshPart>& parts = geometry.parts;
    vertices.resize(vertexTotal);
    indices.resize(3 * faceTotal);
    std::size_t base = 0;
    std::size_t written = 0;
    for (unsigned m = 0; m < scene.mNumMeshes; ++m) {
        const aiMesh& mesh = *scene.mMeshes[m];
        for (unsigned i = 0; i < mesh.mNumVertices; ++i) {
            const aiVector3D& p = mesh.mVertices[i];
            const aiVector3D& n = mesh.mNormals[i];
            const aiVector3D& t = mesh.mTextureCoords[0][i];
            vertices[base + i] = {p.x, p.y, p.z, n.x, n.y, n.z, t.x, t.y};
        }
        for (unsigned f = 0; f < mesh.mNumFaces; ++f) {
            const aiFace& face = mesh.mFaces[f];
            if (face.mNumIndices != 3 || !face.mIndices)
                RejectScene("mesh " + std::to_string(m) + " has a face of " + std::to_string(face.mNumIndices) +
                            " corners");
            for (unsigned c = 0; c < 3; ++c) {
                // A corner past its own mesh would draw another mesh's vertex, or none.
                if (face.mIndices[c] >= mesh.mNumVertices)
                    RejectScene("mesh " + std::to_string(m) + " has a face corner past its vertices");
                indices[written++] = static_cast<std::uint16_t>(face.mIndices[c] + base);
            }
        }

        const aiMaterial* material = scene.mMaterials[mesh.mMaterialIndex];
        if (!material) RejectScene("mesh " + std::to_string(m) + " has an empty material");
        D3DCOLORVALUE diffuse{};
        D3DCOLORVALUE emissive{0, 0, 0, 0};
        if (!ReadColour(material, AI_MATKEY_COLOR_DIFFUSE, diffuse))
            RejectScene("material " + std::to_string(mesh.mMaterialIndex) + " has no diffuse colour");
        ReadColour(material, AI_MATKEY_COLOR_EMISSIVE, emissive);

        MeshPart part;
        part.vertexCount = mesh.mNumVertices;
        part.triangleCount = mesh.mNumFaces;
        part.material = MakePartMaterial(diffuse, emissive);
        // Only whether the file names a texture counts: the image comes from the entries.
        part.textured = material->GetTextureCount(aiTextureType_DIFFUSE) > 0;
        parts.push_back(part);
        base += mesh.mNumVertices;
    }
    return geometry;
}

CMesh::CMesh(DRAVCommon::CXPDevice* device, const aiScene& scene, bool keepCopy) {
    SceneGeometry geometry = ExtractSceneGeometry(scene);
    if (keepCopy) {
        m_keptVertices = geometry.vertices;
        m_keptIndices = geometry.indices;
    }
    CreateBuffers(device, VERTEX_LIT, geometry.vertices.data(), sizeof(LitVertex), geometry.vertices.size(),
                  geometry.indices, geometry.parts);
}

}  // namespace DRAVGraph
