#pragma once
// The part of a Direct3D 9 device that both implementations share: it keeps every
// state, transform, light, material, bound buffer and texture as Direct3D defines
// them, checks calls the way Direct3D does, logs each call and draw on request, and
// fails any call on demand. The backends add only what reaches the screen.

#include <array>
#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "platform/d3d9/d3d9.h"
#include "platform/d3d9/memory_resources.h"

namespace D3D9Layer {

// One draw as the device saw it, with copies of the vertices and indices it used.
struct DrawRecord {
    D3DPRIMITIVETYPE type;
    INT baseVertex;
    UINT minIndex;
    UINT vertexCount;
    UINT startIndex;
    UINT primitiveCount;
    DWORD fvf;
    UINT stride;
    // Serial number of the texture on stage 0 (0 for none); see CDeviceBase::SerialOf.
    std::uint32_t textureSerial;
    std::map<DWORD, DWORD> renderStates;
    std::vector<std::uint8_t> vertices;  // the stream from its offset to the end of the buffer
    std::vector<std::uint16_t> indices;  // primitiveCount's worth from startIndex
};

// Geometry handed to a backend for one indexed draw.
struct DrawCall {
    D3DPRIMITIVETYPE type;
    INT baseVertex;
    UINT vertexCount;
    UINT startIndex;
    UINT indexCount;
    const std::uint8_t* vertices;  // the stream at its offset
    UINT stride;
    const std::uint16_t* indices;  // the whole index buffer
};

class CDeviceBase : public CRefCounted<IDirect3DDevice9> {
public:
    explicit CDeviceBase(const D3DPRESENT_PARAMETERS& parameters);

    HRESULT TestCooperativeLevel() override;
    HRESULT Reset(D3DPRESENT_PARAMETERS* parameters) override;
    HRESULT Present(const RECT* source, const RECT* dest, void* window, const void* dirtyRegion) override;
    HRESULT GetDeviceCaps(D3DCAPS9* caps) override;
    HRESULT BeginScene() override;
    HRESULT EndScene() override;
    HRESULT Clear(DWORD count, const D3DRECT* rects, DWORD flags, D3DCOLOR colour, float z, DWORD stencil) override;
    HRESULT SetViewport(const D3DVIEWPORT9* viewport) override;
    HRESULT GetViewport(D3DVIEWPORT9* viewport) override;
    HRESULT SetTransform(D3DTRANSFORMSTATETYPE state, const D3DMATRIX* matrix) override;
    HRESULT GetTransform(D3DTRANSFORMSTATETYPE state, D3DMATRIX* matrix) override;
    HRESULT SetRenderState(D3DRENDERSTATETYPE state, DWORD value) override;
    HRESULT GetRenderState(D3DRENDERSTATETYPE state, DWORD* value) override;
    HRESULT SetSamplerState(DWORD sampler, D3DSAMPLERSTATETYPE type, DWORD value) override;
    HRESULT GetSamplerState(DWORD sampler, D3DSAMPLERSTATETYPE type, DWORD* value) override;
    HRESULT SetTextureStageState(DWORD stage, D3DTEXTURESTAGESTATETYPE type, DWORD value) override;
    HRESULT GetTextureStageState(DWORD stage, D3DTEXTURESTAGESTATETYPE type, DWORD* value) override;
    HRESULT SetLight(DWORD index, const D3DLIGHT9* light) override;
    HRESULT GetLight(DWORD index, D3DLIGHT9* light) override;
    HRESULT LightEnable(DWORD index, BOOL enable) override;
    HRESULT GetLightEnable(DWORD index, BOOL* enable) override;
    HRESULT SetMaterial(const D3DMATERIAL9* material) override;
    HRESULT GetMaterial(D3DMATERIAL9* material) override;
    HRESULT CreateTexture(UINT width, UINT height, UINT levels, DWORD usage, D3DFORMAT format, D3DPOOL pool,
                          IDirect3DTexture9** texture, HANDLE* shared) override;
    HRESULT UpdateTexture(IDirect3DTexture9* source, IDirect3DTexture9* destination) override;
    HRESULT SetTexture(DWORD stage, IDirect3DTexture9* texture) override;
    HRESULT CreateVertexBuffer(UINT length, DWORD usage, DWORD fvf, D3DPOOL pool, IDirect3DVertexBuffer9** buffer,
                               HANDLE* shared) override;
    HRESULT CreateIndexBuffer(UINT length, DWORD usage, D3DFORMAT format, D3DPOOL pool,
                              IDirect3DIndexBuffer9** buffer, HANDLE* shared) override;
    HRESULT SetStreamSource(UINT stream, IDirect3DVertexBuffer9* buffer, UINT offset, UINT stride) override;
    HRESULT SetIndices(IDirect3DIndexBuffer9* buffer) override;
    HRESULT SetFVF(DWORD fvf) override;
    HRESULT DrawIndexedPrimitive(D3DPRIMITIVETYPE type, INT baseVertex, UINT minIndex, UINT vertexCount,
                                 UINT startIndex, UINT primitiveCount) override;

    // Makes calls named `method` fail with `result`: after letting `skip` of them
    // through, the next `times` of them (-1: all of them). A failed Present with
    // D3DERR_DEVICELOST leaves the device lost until a Reset succeeds.
    void FailCall(const std::string& method, HRESULT result, int skip = 0, int times = 1);
    void ClearFailures() { m_failures.clear(); }

    // The call log ("SetRenderState(137,1)") and the draws, kept while recording is on.
    void SetRecording(bool on) { m_recording = on; }
    const std::vector<std::string>& Calls() const { return m_calls; }
    const std::vector<DrawRecord>& Draws() const { return m_draws; }
    void ClearRecord();

    // The number a texture or buffer was given when this device made it (0 for none).
    static std::uint32_t SerialOf(IDirect3DTexture9* texture);
    static std::uint32_t SerialOf(IDirect3DVertexBuffer9* buffer);
    static std::uint32_t SerialOf(IDirect3DIndexBuffer9* buffer);
    // Default-pool textures and buffers alive now; Reset fails while any is.
    int LiveDefaultPoolObjects() const { return *m_poolCounter; }
    bool IsLost() const { return m_lost; }
    void SetCaps(const D3DCAPS9& caps) { m_caps = caps; }

    DWORD RenderState(D3DRENDERSTATETYPE state) const;
    DWORD SamplerState(DWORD sampler, D3DSAMPLERSTATETYPE type) const;
    DWORD StageState(DWORD stage, D3DTEXTURESTAGESTATETYPE type) const;
    const D3DMATRIX& Transform(D3DTRANSFORMSTATETYPE state) const;

protected:
    ~CDeviceBase() override;

    // Backend work; the base has already checked the call and updated its state.
    virtual CMemoryTexture* MakeTexture(UINT width, UINT height, DWORD usage, D3DPOOL pool, PoolCounter counter);
    virtual void RenderClear(DWORD /*flags*/, D3DCOLOR /*colour*/, float /*z*/) {}
    virtual void RenderDraw(const DrawCall& /*call*/) {}
    virtual void RenderPresent() {}
    virtual void RenderReset() {}

    const D3DPRESENT_PARAMETERS& Parameters() const { return m_parameters; }
    const D3DVIEWPORT9& Viewport() const { return m_viewport; }
    CMemoryTexture* BoundTexture(DWORD stage) const { return stage < kStages ? m_textures[stage] : nullptr; }
    const std::map<DWORD, D3DLIGHT9>& Lights() const { return m_lights; }
    const std::map<DWORD, bool>& LightEnables() const { return m_lightEnabled; }
    const D3DMATERIAL9& Material() const { return m_material; }
    DWORD Fvf() const { return m_fvf; }

    static constexpr DWORD kStages = 8;

private:
    // Logs the call and answers an injected failure for it, or D3D_OK.
    HRESULT Enter(const char* method, std::initializer_list<long long> arguments);
    void SetDefaultStates();
    void ReleaseBindings();

    D3DPRESENT_PARAMETERS m_parameters;
    D3DVIEWPORT9 m_viewport{};
    D3DCAPS9 m_caps{4096, 4096, 8, 8, 0xFFFFF, 0xFFFFFF};
    std::map<DWORD, DWORD> m_renderStates;
    std::array<std::map<DWORD, DWORD>, kStages> m_samplerStates;
    std::array<std::map<DWORD, DWORD>, kStages> m_stageStates;
    std::map<DWORD, D3DMATRIX> m_transforms;
    std::map<DWORD, D3DLIGHT9> m_lights;
    std::map<DWORD, bool> m_lightEnabled;
    D3DMATERIAL9 m_material{};
    std::array<CMemoryTexture*, kStages> m_textures{};
    CMemoryVertexBuffer* m_stream = nullptr;
    UINT m_streamOffset = 0;
    UINT m_streamStride = 0;
    CMemoryIndexBuffer* m_indices = nullptr;
    DWORD m_fvf = 0;
    bool m_inScene = false;
    bool m_lost = false;
    std::uint32_t m_nextSerial = 1;
    PoolCounter m_poolCounter = std::make_shared<int>(0);

    struct Failure {
        std::string method;
        HRESULT result;
        int skip;
        int times;
    };
    std::vector<Failure> m_failures;
    bool m_recording = true;
    std::vector<std::string> m_calls;
    std::vector<DrawRecord> m_draws;
};

// Called with a device just before it shows a frame, while its back buffer still
// holds the frame; an empty function removes it. For programs that watch the game.
using PresentObserver = std::function<void(CDeviceBase& device)>;
void SetPresentObserver(PresentObserver observer);

}  // namespace D3D9Layer
