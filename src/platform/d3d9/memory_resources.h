#pragma once
// Textures and buffers kept in plain memory, shared by both device implementations:
// the recording device reads them back in tests and the OpenGL device draws from them.

#include <atomic>
#include <cstdint>
#include <memory>
#include <vector>

#include "platform/d3d9/d3d9.h"

namespace D3D9Layer {

// Counts a device's live default-pool objects: Direct3D refuses a Reset while any
// exists. Shared so that an object outliving its device still has a counter.
using PoolCounter = std::shared_ptr<int>;

template <typename Interface>
class CRefCounted : public Interface {
public:
    ULONG AddRef() override { return ++m_references; }
    ULONG Release() override {
        const ULONG left = --m_references;
        if (left == 0) delete this;
        return left;
    }

    // The number the device gave the object when it made it, for logs.
    std::uint32_t Serial() const { return m_serial; }
    void SetSerial(std::uint32_t serial) { m_serial = serial; }

protected:
    ~CRefCounted() override = default;

private:
    ULONG m_references = 1;
    std::uint32_t m_serial = 0;
};

// One level of A8R8G8B8 pixels, rows top to bottom, pitch width x 4.
class CMemoryTexture : public CRefCounted<IDirect3DTexture9> {
public:
    CMemoryTexture(UINT width, UINT height, DWORD usage, D3DPOOL pool, PoolCounter counter);

    HRESULT GetLevelDesc(UINT level, D3DSURFACE_DESC* desc) override;
    HRESULT LockRect(UINT level, D3DLOCKED_RECT* locked, const RECT* rect, DWORD flags) override;
    HRESULT UnlockRect(UINT level) override;

    UINT Width() const { return m_width; }
    UINT Height() const { return m_height; }
    D3DPOOL Pool() const { return m_pool; }
    bool IsLocked() const { return m_locked; }
    // 0xAARRGGBB per pixel.
    std::vector<std::uint32_t>& Pixels() { return m_pixels; }
    const std::vector<std::uint32_t>& Pixels() const { return m_pixels; }
    std::uint32_t Pixel(UINT x, UINT y) const { return m_pixels[y * m_width + x]; }
    // Bumped on every change of the pixels, so a backend copy knows it is stale.
    std::uint64_t Generation() const { return m_generation; }
    void Touch() { ++m_generation; }

protected:
    ~CMemoryTexture() override;

private:
    UINT m_width;
    UINT m_height;
    DWORD m_usage;
    D3DPOOL m_pool;
    PoolCounter m_counter;
    bool m_locked = false;
    std::uint64_t m_generation = 0;
    std::vector<std::uint32_t> m_pixels;
};

// A vertex or an index buffer: bytes that Lock hands out.
template <typename Interface>
class CMemoryBuffer : public CRefCounted<Interface> {
public:
    CMemoryBuffer(UINT length, DWORD usage, DWORD format, D3DPOOL pool, PoolCounter counter)
        : m_usage(usage), m_format(format), m_pool(pool), m_counter(std::move(counter)), m_bytes(length) {
        if (m_pool == D3DPOOL_DEFAULT) ++*m_counter;
    }

    HRESULT Lock(UINT offset, UINT size, void** data, DWORD /*flags*/) override {
        if (!data || m_locked || offset > m_bytes.size()) return D3DERR_INVALIDCALL;
        if (size != 0 && size > m_bytes.size() - offset) return D3DERR_INVALIDCALL;
        m_locked = true;
        *data = m_bytes.data() + offset;
        return D3D_OK;
    }
    HRESULT Unlock() override {
        if (!m_locked) return D3DERR_INVALIDCALL;
        m_locked = false;
        return D3D_OK;
    }

    const std::vector<std::uint8_t>& Bytes() const { return m_bytes; }
    bool IsLocked() const { return m_locked; }
    DWORD Usage() const { return m_usage; }
    // The FVF of a vertex buffer, the D3DFORMAT of an index buffer.
    DWORD Format() const { return m_format; }

protected:
    ~CMemoryBuffer() override {
        if (m_pool == D3DPOOL_DEFAULT) --*m_counter;
    }

private:
    DWORD m_usage;
    DWORD m_format;
    D3DPOOL m_pool;
    PoolCounter m_counter;
    bool m_locked = false;
    std::vector<std::uint8_t> m_bytes;
};

using CMemoryVertexBuffer = CMemoryBuffer<IDirect3DVertexBuffer9>;
using CMemoryIndexBuffer = CMemoryBuffer<IDirect3DIndexBuffer9>;

// The byte size of one vertex of an FVF code (positions, normal, colours, 2D texture sets).
UINT FvfStride(DWORD fvf);

}  // namespace D3D9Layer
