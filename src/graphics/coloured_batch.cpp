#include "graphics/coloured_batch.h"

#include "graphics/matrix.h"
#include "graphics/mesh.h"

namespace DRAVGraph {
namespace {

// Lighting and the depth function go back to the device's standing states however
// the draw ends. Their results are not checked: nothing depends on them.
class UnlitScope {
public:
    UnlitScope(IDirect3DDevice9* device, BatchDepth depth) : m_device(device), m_depth(depth) {
        m_device->SetRenderState(D3DRS_LIGHTING, 0);
        if (m_depth == BatchDepth::AlwaysPass) m_device->SetRenderState(D3DRS_ZFUNC, D3DCMP_ALWAYS);
    }
    ~UnlitScope() {
        m_device->SetRenderState(D3DRS_LIGHTING, 1);
        if (m_depth == BatchDepth::AlwaysPass) m_device->SetRenderState(D3DRS_ZFUNC, D3DCMP_LESSEQUAL);
    }
    UnlitScope(const UnlitScope&) = delete;
    UnlitScope& operator=(const UnlitScope&) = delete;

private:
    IDirect3DDevice9* m_device;
    BatchDepth m_depth;
};

}  // namespace

void DrawColouredBatch(DRAVCommon::CXPDevice* device, const std::vector<ColouredVertex>& vertices,
                       const std::vector<std::uint16_t>& indices,
                       const std::shared_ptr<DRAVCommon::CXPTexture>& texture, BatchDepth depth) {
    MeshPart part;
    part.vertexCount = static_cast<std::uint32_t>(vertices.size());
    part.triangleCount = static_cast<std::uint32_t>(indices.size() / 3);
    part.material = MakePartMaterial({1, 1, 1, 1});
    part.textured = texture != nullptr;
    part.texture = texture;
    CMesh mesh(device, vertices, indices, {part});
    device->SetWorldTransform(Mat4Identity());
    UnlitScope unlit(device->GetDevice(), depth);
    mesh.Draw(device);
}

}  // namespace DRAVGraph
