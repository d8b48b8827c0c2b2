#include "platform/d3d9/memory_resources.h"

namespace D3D9Layer {

CMemoryTexture::CMemoryTexture(UINT width, UINT height, DWORD usage, D3DPOOL pool, PoolCounter counter)
    : m_width(width), m_height(height), m_usage(usage), m_pool(pool), m_counter(std::move(counter)),
      m_pixels(static_cast<std::size_t>(width) * height, 0u) {
    if (m_pool == D3DPOOL_DEFAULT) ++*m_counter;
}

CMemoryTexture::~CMemoryTexture() {
    if (m_pool == D3DPOOL_DEFAULT) --*m_counter;
}

HRESULT CMemoryTexture::GetLevelDesc(UINT level, D3DSURFACE_DESC* desc) {
    if (level != 0 || !desc) return D3DERR_INVALIDCALL;
    *desc = D3DSURFACE_DESC{D3DFMT_A8R8G8B8, m_usage, m_pool, m_width, m_height};
    return D3D_OK;
}

HRESULT CMemoryTexture::LockRect(UINT level, D3DLOCKED_RECT* locked, const RECT* rect, DWORD /*flags*/) {
    // Direct3D lets the program lock only textures it can reach: not default-pool
    // ones unless they were made dynamic.
    if (level != 0 || !locked || m_locked) return D3DERR_INVALIDCALL;
    if (m_pool == D3DPOOL_DEFAULT && !(m_usage & D3DUSAGE_DYNAMIC)) return D3DERR_INVALIDCALL;
    std::size_t first = 0;
    if (rect) {
        if (rect->left < 0 || rect->top < 0 || rect->right > static_cast<LONG>(m_width) ||
            rect->bottom > static_cast<LONG>(m_height) || rect->left >= rect->right || rect->top >= rect->bottom)
            return D3DERR_INVALIDCALL;
        first = static_cast<std::size_t>(rect->top) * m_width + static_cast<std::size_t>(rect->left);
    }
    m_locked = true;
    locked->Pitch = static_cast<INT>(m_width * 4);
    locked->pBits = m_pixels.data() + first;
    return D3D_OK;
}

HRESULT CMemoryTexture::UnlockRect(UINT level) {
    if (level != 0 || !m_locked) return D3DERR_INVALIDCALL;
    m_locked = false;
    Touch();
    return D3D_OK;
}

UINT FvfStride(DWORD fvf) {
    UINT stride = 0;
    if (fvf & D3DFVF_XYZ) stride += 12;
    if (fvf & D3DFVF_XYZRHW) stride += 16;
    if (fvf & D3DFVF_NORMAL) stride += 12;
    if (fvf & D3DFVF_PSIZE) stride += 4;
    if (fvf & D3DFVF_DIFFUSE) stride += 4;
    if (fvf & D3DFVF_SPECULAR) stride += 4;
    stride += ((fvf & D3DFVF_TEXCOUNT_MASK) >> D3DFVF_TEXCOUNT_SHIFT) * 8;
    return stride;
}

}  // namespace D3D9Layer
