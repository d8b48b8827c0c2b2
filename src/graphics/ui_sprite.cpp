#include "graphics/ui_sprite.h"

#include <cstring>

#include "common/exception.h"
#include "common/rect_scale.h"
#include "graphics/matrix.h"

namespace DRAVUI {

using DRAVCommon::CheckDeviceCall;

CUISprite::CUISprite(DRAVCommon::CXPDevice* device, std::uint32_t scalePercent,
                     std::shared_ptr<DRAVCommon::CXPTexture> defaultTexture)
    : m_device(device), m_scalePercent(scalePercent), m_defaultTexture(std::move(defaultTexture)) {
    m_plainCommands.reserve(1000);
    m_texturedCommands.reserve(1000);
}

void CUISprite::Begin() {
    RECT viewport;
    m_device->GetViewportRect(viewport);
    const float width = static_cast<float>(viewport.right - viewport.left);
    const float height = static_cast<float>(viewport.bottom - viewport.top);
    // x 0..W to -1..1, y 0..H to 1..-1 (down the screen), z to depth 0.5 - 0.5 z.
    D3DMATRIX projection = DRAVGraph::Mat4Identity();
    projection._11 = 2.0f / width;
    projection._22 = -2.0f / height;
    projection._33 = -0.5f;
    projection._41 = -1.0f;
    projection._42 = 1.0f;
    projection._43 = 0.5f;
    projection._44 = 1.0f;
    const D3DMATRIX identity = DRAVGraph::Mat4Identity();
    m_device->SetProjectionTransform(projection);
    m_device->SetViewTransform(identity);
    m_device->SetWorldTransform(identity);
}

void CUISprite::Draw(const RECT& dest, const RECT* source, std::uint32_t colour, std::uint32_t mode,
                     std::shared_ptr<DRAVCommon::CXPTexture> texture) {
    SpriteCommand command{dest, source ? *source : RECT{0, 0, 0, 0}, colour, m_nextSequence++, std::move(texture),
                          mode};
    ScaleRectPercent(command.dest, m_scalePercent);
    (command.texture ? m_texturedCommands : m_plainCommands).push_back(std::move(command));
}

void CUISprite::BuildQuads(const std::vector<SpriteCommand>& commands) {
    RECT viewport;
    m_device->GetViewportRect(viewport);
    const float viewAspect = static_cast<float>(viewport.right - viewport.left) /
                             static_cast<float>(viewport.bottom - viewport.top);
    for (const SpriteCommand& command : commands) {
        float uLeft = 0.0f, vTop = 0.0f, uRight = 1.0f, vBottom = 1.0f;
        float textureWidth = 1.0f, textureHeight = 1.0f;
        if (command.texture) {
            textureWidth = static_cast<float>(command.texture->GetTextureWidth());
            textureHeight = static_cast<float>(command.texture->GetTextureHeight());
            const RECT& s = command.source;
            if (s.right - s.left > 0 && s.bottom - s.top > 0) {
                uLeft = static_cast<float>(s.left) / textureWidth;
                vTop = static_cast<float>(s.top) / textureHeight;
                uRight = static_cast<float>(s.right) / textureWidth;
                vBottom = static_cast<float>(s.bottom) / textureHeight;
            } else {
                uRight = static_cast<float>(command.texture->GetImageWidth()) / textureWidth;
                vBottom = static_cast<float>(command.texture->GetImageHeight()) / textureHeight;
            }
        }
        if (command.mode == MODE_CROP) {
            const float used = (uRight - uLeft);
            const float usedV = (vBottom - vTop);
            const float sourceAspect = (textureWidth * used) / (textureHeight * usedV);
            if (sourceAspect <= viewAspect) {
                const float d = (usedV - usedV * sourceAspect / viewAspect) * 0.5f;
                vTop += d;
                vBottom -= d;
            } else {
                const float d = (used - used * viewAspect / sourceAspect) * 0.5f;
                uLeft += d;
                uRight -= d;
            }
        } else if (command.mode != MODE_STRETCH && command.mode != MODE_BACKGROUND) {
            throw CDRAVException(DRAV_ERR_DEVICE);
        }
        const auto n = static_cast<std::uint16_t>(m_vertices.size());
        const float z = static_cast<float>(command.sequence) * m_depthStep;
        const float left = static_cast<float>(command.dest.left) + 0.5f;
        const float top = static_cast<float>(command.dest.top) + 0.5f;
        const float right = static_cast<float>(command.dest.right) + 0.5f;
        const float bottom = static_cast<float>(command.dest.bottom) + 0.5f;
        m_vertices.push_back({left, top, z, command.colour, uLeft, vTop});
        m_vertices.push_back({right, top, z, command.colour, uRight, vTop});
        m_vertices.push_back({left, bottom, z, command.colour, uLeft, vBottom});
        m_vertices.push_back({right, bottom, z, command.colour, uRight, vBottom});
        for (std::uint16_t offset : {0, 1, 2, 1, 2, 3}) m_indices.push_back(static_cast<std::uint16_t>(n + offset));
    }
}

void CUISprite::Flush() {
    if (m_plainCommands.empty() && m_texturedCommands.empty()) return;
    IDirect3DDevice9* device = m_device->GetDevice();
    // The device lets go of the frame's buffers and last texture however the flush
    // ends, so that nothing of the default pool outlives it there and blocks a reset.
    struct Unbind {
        IDirect3DDevice9* device;
        ~Unbind() {
            device->SetStreamSource(0, nullptr, 0, 0);
            device->SetIndices(nullptr);
            device->SetTexture(0, nullptr);
        }
    } unbind{device};
    CheckDeviceCall(device->Clear(0, nullptr, D3DCLEAR_ZBUFFER, 0, 1.0f, 0));

    // Later rectangles lie nearer; the whole queue must fit the depth range, or the
    // topmost (the hover window, a dragged icon) fall behind the far plane.
    const std::size_t total = m_plainCommands.size() + m_texturedCommands.size();
    m_depthStep = total <= kDepthSlots ? kDepthStep : 1.0f / static_cast<float>(total);
    // Sixteen-bit indices reach 16,384 quads; past that the earliest queued give way.
    if (total > kMaxQuads) {
        const std::uint32_t first = static_cast<std::uint32_t>(total - kMaxQuads);
        std::erase_if(m_plainCommands, [first](const SpriteCommand& c) { return c.sequence < first; });
        std::erase_if(m_texturedCommands, [first](const SpriteCommand& c) { return c.sequence < first; });
    }
    m_vertices.clear();
    m_indices.clear();
    m_vertices.reserve(4000);
    m_indices.reserve(6000);
    BuildQuads(m_plainCommands);
    BuildQuads(m_texturedCommands);

    CheckDeviceCall(device->SetFVF(kFvf));
    CheckDeviceCall(device->SetRenderState(D3DRS_ALPHABLENDENABLE, 1));
    CheckDeviceCall(device->SetRenderState(D3DRS_LIGHTING, 0));
    CheckDeviceCall(device->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE));

    const auto indexBytes = static_cast<UINT>(m_indices.size() * sizeof(std::uint16_t));
    IDirect3DIndexBuffer9* rawIndices = nullptr;
    CheckDeviceCall(device->CreateIndexBuffer(indexBytes, D3DUSAGE_WRITEONLY, D3DFMT_INDEX16, D3DPOOL_DEFAULT,
                                              &rawIndices, nullptr));
    D3DPtr<IDirect3DIndexBuffer9> indices(rawIndices);
    void* data = nullptr;
    CheckDeviceCall(indices->Lock(0, 0, &data, 0));
    std::memcpy(data, m_indices.data(), indexBytes);
    CheckDeviceCall(indices->Unlock());
    CheckDeviceCall(device->SetIndices(indices.get()));

    const auto vertexBytes = static_cast<UINT>(m_vertices.size() * sizeof(SpriteVertex));
    IDirect3DVertexBuffer9* rawVertices = nullptr;
    CheckDeviceCall(
        device->CreateVertexBuffer(vertexBytes, D3DUSAGE_WRITEONLY, kFvf, D3DPOOL_DEFAULT, &rawVertices, nullptr));
    D3DPtr<IDirect3DVertexBuffer9> vertices(rawVertices);
    CheckDeviceCall(vertices->Lock(0, 0, &data, 0));
    std::memcpy(data, m_vertices.data(), vertexBytes);
    CheckDeviceCall(vertices->Unlock());
    CheckDeviceCall(device->SetStreamSource(0, vertices.get(), 0, sizeof(SpriteVertex)));

    const auto vertexCount = static_cast<UINT>(m_vertices.size());
    const auto plainCount = static_cast<UINT>(m_plainCommands.size());
    auto drawTextured = [&](bool background) {
        for (UINT k = 0; k < m_texturedCommands.size(); ++k) {
            const SpriteCommand& command = m_texturedCommands[k];
            if ((command.mode == MODE_BACKGROUND) != background) continue;
            CheckDeviceCall(device->SetTexture(0, command.texture->GetTexture()));
            CheckDeviceCall(
                device->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 0, 0, vertexCount, 6 * plainCount + 6 * k, 2));
        }
    };
    drawTextured(true);
    if (plainCount > 0) {
        CheckDeviceCall(device->SetTexture(0, m_defaultTexture ? m_defaultTexture->GetTexture() : nullptr));
        CheckDeviceCall(device->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 0, 0, vertexCount, 0, 2 * plainCount));
    }
    drawTextured(false);

    m_plainCommands.clear();
    m_texturedCommands.clear();
    m_nextSequence = 0;
}

}  // namespace DRAVUI
