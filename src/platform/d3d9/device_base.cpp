#include "platform/d3d9/device_base.h"

#include <algorithm>
#include <cstring>
#include <utility>

namespace D3D9Layer {

namespace {

D3DMATRIX IdentityMatrix() {
    D3DMATRIX m{};
    m._11 = m._22 = m._33 = m._44 = 1.0f;
    return m;
}

// Direct3D's default light: white, directional, pointing along +z.
D3DLIGHT9 DefaultLight() {
    D3DLIGHT9 light{};
    light.Type = D3DLIGHT_DIRECTIONAL;
    light.Diffuse = {1.0f, 1.0f, 1.0f, 0.0f};
    light.Direction = {0.0f, 0.0f, 1.0f};
    return light;
}

UINT IndexCount(D3DPRIMITIVETYPE type, UINT primitives) {
    switch (type) {
    case D3DPT_POINTLIST: return primitives;
    case D3DPT_LINELIST: return primitives * 2;
    case D3DPT_LINESTRIP: return primitives + 1;
    case D3DPT_TRIANGLELIST: return primitives * 3;
    case D3DPT_TRIANGLESTRIP:
    case D3DPT_TRIANGLEFAN: return primitives + 2;
    }
    return 0;
}

}  // namespace

CDeviceBase::CDeviceBase(const D3DPRESENT_PARAMETERS& parameters) : m_parameters(parameters) {
    SetDefaultStates();
}

CDeviceBase::~CDeviceBase() { ReleaseBindings(); }

void CDeviceBase::ReleaseBindings() {
    for (auto& texture : m_textures) {
        if (texture) texture->Release();
        texture = nullptr;
    }
    if (m_stream) m_stream->Release();
    if (m_indices) m_indices->Release();
    m_stream = nullptr;
    m_indices = nullptr;
}

void CDeviceBase::SetDefaultStates() {
    m_renderStates = {
        {D3DRS_ZENABLE, m_parameters.EnableAutoDepthStencil ? D3DZB_TRUE : D3DZB_FALSE},
        {D3DRS_FILLMODE, D3DFILL_SOLID},
        {D3DRS_SHADEMODE, D3DSHADE_GOURAUD},
        {D3DRS_ZWRITEENABLE, 1},
        {D3DRS_ALPHATESTENABLE, 0},
        {D3DRS_SRCBLEND, D3DBLEND_ONE},
        {D3DRS_DESTBLEND, D3DBLEND_ZERO},
        {D3DRS_CULLMODE, D3DCULL_CCW},
        {D3DRS_ZFUNC, D3DCMP_LESSEQUAL},
        {D3DRS_ALPHAREF, 0},
        {D3DRS_ALPHAFUNC, D3DCMP_ALWAYS},
        {D3DRS_DITHERENABLE, 0},
        {D3DRS_ALPHABLENDENABLE, 0},
        {D3DRS_FOGENABLE, 0},
        {D3DRS_SPECULARENABLE, 0},
        {D3DRS_STENCILENABLE, 0},
        {D3DRS_TEXTUREFACTOR, 0xFFFFFFFFu},
        {D3DRS_CLIPPING, 1},
        {D3DRS_LIGHTING, 1},
        {D3DRS_AMBIENT, 0},
        {D3DRS_COLORVERTEX, 1},
        {D3DRS_LOCALVIEWER, 1},
        {D3DRS_NORMALIZENORMALS, 0},
        {D3DRS_DIFFUSEMATERIALSOURCE, D3DMCS_COLOR1},
        {D3DRS_SPECULARMATERIALSOURCE, D3DMCS_COLOR2},
        {D3DRS_AMBIENTMATERIALSOURCE, D3DMCS_MATERIAL},
        {D3DRS_EMISSIVEMATERIALSOURCE, D3DMCS_MATERIAL},
        {D3DRS_BLENDOP, D3DBLENDOP_ADD},
        {D3DRS_SCISSORTESTENABLE, 0},
    };
    for (DWORD i = 0; i < kStages; ++i) {
        m_samplerStates[i] = {{D3DSAMP_ADDRESSU, D3DTADDRESS_WRAP}, {D3DSAMP_ADDRESSV, D3DTADDRESS_WRAP},
                              {D3DSAMP_ADDRESSW, D3DTADDRESS_WRAP}, {D3DSAMP_BORDERCOLOR, 0},
                              {D3DSAMP_MAGFILTER, D3DTEXF_POINT},   {D3DSAMP_MINFILTER, D3DTEXF_POINT},
                              {D3DSAMP_MIPFILTER, D3DTEXF_NONE}};
        m_stageStates[i] = {{D3DTSS_COLOROP, i == 0 ? D3DTOP_MODULATE : D3DTOP_DISABLE},
                            {D3DTSS_COLORARG1, D3DTA_TEXTURE},
                            {D3DTSS_COLORARG2, D3DTA_CURRENT},
                            {D3DTSS_ALPHAOP, i == 0 ? D3DTOP_SELECTARG1 : D3DTOP_DISABLE},
                            {D3DTSS_ALPHAARG1, D3DTA_TEXTURE},
                            {D3DTSS_ALPHAARG2, D3DTA_CURRENT},
                            {D3DTSS_TEXCOORDINDEX, i},
                            {D3DTSS_TEXTURETRANSFORMFLAGS, D3DTTFF_DISABLE}};
    }
    m_transforms.clear();
    m_lights.clear();
    m_lightEnabled.clear();
    m_material = D3DMATERIAL9{};
    m_fvf = 0;
    m_viewport = D3DVIEWPORT9{0, 0, m_parameters.BackBufferWidth, m_parameters.BackBufferHeight, 0.0f, 1.0f};
}

HRESULT CDeviceBase::Enter(const char* method, std::initializer_list<long long> arguments) {
    if (m_recording) {
        std::string call = method;
        call += '(';
        bool first = true;
        for (long long argument : arguments) {
            if (!first) call += ',';
            call += std::to_string(argument);
            first = false;
        }
        call += ')';
        m_calls.push_back(std::move(call));
    }
    for (Failure& failure : m_failures) {
        if (failure.method != method || failure.times == 0) continue;
        if (failure.skip > 0) {
            --failure.skip;
            continue;
        }
        if (failure.times > 0) --failure.times;
        return failure.result;
    }
    return D3D_OK;
}

void CDeviceBase::FailCall(const std::string& method, HRESULT result, int skip, int times) {
    m_failures.push_back(Failure{method, result, skip, times});
}

void CDeviceBase::ClearRecord() {
    m_calls.clear();
    m_draws.clear();
}

std::uint32_t CDeviceBase::SerialOf(IDirect3DTexture9* texture) {
    auto* memory = dynamic_cast<CMemoryTexture*>(texture);
    return memory ? memory->Serial() : 0;
}

std::uint32_t CDeviceBase::SerialOf(IDirect3DVertexBuffer9* buffer) {
    auto* memory = dynamic_cast<CMemoryVertexBuffer*>(buffer);
    return memory ? memory->Serial() : 0;
}

std::uint32_t CDeviceBase::SerialOf(IDirect3DIndexBuffer9* buffer) {
    auto* memory = dynamic_cast<CMemoryIndexBuffer*>(buffer);
    return memory ? memory->Serial() : 0;
}

DWORD CDeviceBase::RenderState(D3DRENDERSTATETYPE state) const {
    auto found = m_renderStates.find(state);
    return found == m_renderStates.end() ? 0 : found->second;
}

DWORD CDeviceBase::SamplerState(DWORD sampler, D3DSAMPLERSTATETYPE type) const {
    if (sampler >= kStages) return 0;
    auto found = m_samplerStates[sampler].find(type);
    return found == m_samplerStates[sampler].end() ? 0 : found->second;
}

DWORD CDeviceBase::StageState(DWORD stage, D3DTEXTURESTAGESTATETYPE type) const {
    if (stage >= kStages) return 0;
    auto found = m_stageStates[stage].find(type);
    return found == m_stageStates[stage].end() ? 0 : found->second;
}

const D3DMATRIX& CDeviceBase::Transform(D3DTRANSFORMSTATETYPE state) const {
    static const D3DMATRIX identity = IdentityMatrix();
    auto found = m_transforms.find(state);
    return found == m_transforms.end() ? identity : found->second;
}

HRESULT CDeviceBase::TestCooperativeLevel() {
    if (HRESULT hr = Enter("TestCooperativeLevel", {}); FAILED(hr)) return hr;
    return m_lost ? D3DERR_DEVICENOTRESET : D3D_OK;
}

HRESULT CDeviceBase::Reset(D3DPRESENT_PARAMETERS* parameters) {
    if (HRESULT hr = Enter("Reset", {}); FAILED(hr)) return hr;
    if (!parameters || *m_poolCounter != 0) return D3DERR_INVALIDCALL;
    ReleaseBindings();
    m_parameters = *parameters;
    m_inScene = false;
    m_lost = false;
    SetDefaultStates();
    RenderReset();
    return D3D_OK;
}

static PresentObserver& Observer() {
    static PresentObserver observer;
    return observer;
}

void SetPresentObserver(PresentObserver observer) { Observer() = std::move(observer); }

HRESULT CDeviceBase::Present(const RECT*, const RECT*, void*, const void*) {
    if (HRESULT hr = Enter("Present", {}); FAILED(hr)) {
        if (hr == D3DERR_DEVICELOST) m_lost = true;
        return hr;
    }
    if (m_lost) return D3DERR_DEVICELOST;
    if (m_inScene) return D3DERR_INVALIDCALL;
    if (const PresentObserver& observer = Observer()) observer(*this);
    RenderPresent();
    return D3D_OK;
}

HRESULT CDeviceBase::GetDeviceCaps(D3DCAPS9* caps) {
    if (HRESULT hr = Enter("GetDeviceCaps", {}); FAILED(hr)) return hr;
    if (!caps) return D3DERR_INVALIDCALL;
    *caps = m_caps;
    return D3D_OK;
}

HRESULT CDeviceBase::BeginScene() {
    if (HRESULT hr = Enter("BeginScene", {}); FAILED(hr)) return hr;
    if (m_inScene) return D3DERR_INVALIDCALL;
    m_inScene = true;
    return D3D_OK;
}

HRESULT CDeviceBase::EndScene() {
    if (HRESULT hr = Enter("EndScene", {}); FAILED(hr)) return hr;
    if (!m_inScene) return D3DERR_INVALIDCALL;
    m_inScene = false;
    return D3D_OK;
}

HRESULT CDeviceBase::Clear(DWORD count, const D3DRECT* rects, DWORD flags, D3DCOLOR colour, float z,
                           DWORD stencil) {
    if (HRESULT hr = Enter("Clear", {count, flags, colour, static_cast<long long>(z * 1000.0f), stencil});
        FAILED(hr))
        return hr;
    // Only whole-target clears are used; a list of rectangles is not supported.
    if (count != 0 || rects || z < 0.0f || z > 1.0f) return D3DERR_INVALIDCALL;
    RenderClear(flags, colour, z);
    return D3D_OK;
}

HRESULT CDeviceBase::SetViewport(const D3DVIEWPORT9* viewport) {
    if (HRESULT hr = Enter("SetViewport", {}); FAILED(hr)) return hr;
    if (!viewport) return D3DERR_INVALIDCALL;
    m_viewport = *viewport;
    return D3D_OK;
}

HRESULT CDeviceBase::GetViewport(D3DVIEWPORT9* viewport) {
    if (HRESULT hr = Enter("GetViewport", {}); FAILED(hr)) return hr;
    if (!viewport) return D3DERR_INVALIDCALL;
    *viewport = m_viewport;
    return D3D_OK;
}

HRESULT CDeviceBase::SetTransform(D3DTRANSFORMSTATETYPE state, const D3DMATRIX* matrix) {
    if (HRESULT hr = Enter("SetTransform", {state}); FAILED(hr)) return hr;
    if (!matrix) return D3DERR_INVALIDCALL;
    m_transforms[state] = *matrix;
    return D3D_OK;
}

HRESULT CDeviceBase::GetTransform(D3DTRANSFORMSTATETYPE state, D3DMATRIX* matrix) {
    if (!matrix) return D3DERR_INVALIDCALL;
    *matrix = Transform(state);
    return D3D_OK;
}

HRESULT CDeviceBase::SetRenderState(D3DRENDERSTATETYPE state, DWORD value) {
    if (HRESULT hr = Enter("SetRenderState", {state, value}); FAILED(hr)) return hr;
    m_renderStates[state] = value;
    return D3D_OK;
}

HRESULT CDeviceBase::GetRenderState(D3DRENDERSTATETYPE state, DWORD* value) {
    if (!value) return D3DERR_INVALIDCALL;
    *value = RenderState(state);
    return D3D_OK;
}

HRESULT CDeviceBase::SetSamplerState(DWORD sampler, D3DSAMPLERSTATETYPE type, DWORD value) {
    if (HRESULT hr = Enter("SetSamplerState", {sampler, type, value}); FAILED(hr)) return hr;
    if (sampler >= kStages) return D3DERR_INVALIDCALL;
    m_samplerStates[sampler][type] = value;
    return D3D_OK;
}

HRESULT CDeviceBase::GetSamplerState(DWORD sampler, D3DSAMPLERSTATETYPE type, DWORD* value) {
    if (!value || sampler >= kStages) return D3DERR_INVALIDCALL;
    *value = SamplerState(sampler, type);
    return D3D_OK;
}

HRESULT CDeviceBase::SetTextureStageState(DWORD stage, D3DTEXTURESTAGESTATETYPE type, DWORD value) {
    if (HRESULT hr = Enter("SetTextureStageState", {stage, type, value}); FAILED(hr)) return hr;
    if (stage >= kStages) return D3DERR_INVALIDCALL;
    m_stageStates[stage][type] = value;
    return D3D_OK;
}

HRESULT CDeviceBase::GetTextureStageState(DWORD stage, D3DTEXTURESTAGESTATETYPE type, DWORD* value) {
    if (!value || stage >= kStages) return D3DERR_INVALIDCALL;
    *value = StageState(stage, type);
    return D3D_OK;
}

HRESULT CDeviceBase::SetLight(DWORD index, const D3DLIGHT9* light) {
    if (HRESULT hr = Enter("SetLight", {index}); FAILED(hr)) return hr;
    if (!light) return D3DERR_INVALIDCALL;
    m_lights[index] = *light;
    return D3D_OK;
}

HRESULT CDeviceBase::GetLight(DWORD index, D3DLIGHT9* light) {
    auto found = m_lights.find(index);
    if (!light || found == m_lights.end()) return D3DERR_INVALIDCALL;
    *light = found->second;
    return D3D_OK;
}

HRESULT CDeviceBase::LightEnable(DWORD index, BOOL enable) {
    if (HRESULT hr = Enter("LightEnable", {index, enable}); FAILED(hr)) return hr;
    // Direct3D enables a light that was never set as its default light.
    if (!m_lights.count(index)) m_lights[index] = DefaultLight();
    m_lightEnabled[index] = enable != 0;
    return D3D_OK;
}

HRESULT CDeviceBase::GetLightEnable(DWORD index, BOOL* enable) {
    if (!enable || !m_lights.count(index)) return D3DERR_INVALIDCALL;
    auto found = m_lightEnabled.find(index);
    *enable = found != m_lightEnabled.end() && found->second;
    return D3D_OK;
}

HRESULT CDeviceBase::SetMaterial(const D3DMATERIAL9* material) {
    if (HRESULT hr = Enter("SetMaterial", {}); FAILED(hr)) return hr;
    if (!material) return D3DERR_INVALIDCALL;
    m_material = *material;
    return D3D_OK;
}

HRESULT CDeviceBase::GetMaterial(D3DMATERIAL9* material) {
    if (!material) return D3DERR_INVALIDCALL;
    *material = m_material;
    return D3D_OK;
}

CMemoryTexture* CDeviceBase::MakeTexture(UINT width, UINT height, DWORD usage, D3DPOOL pool, PoolCounter counter) {
    return new CMemoryTexture(width, height, usage, pool, std::move(counter));
}

HRESULT CDeviceBase::CreateTexture(UINT width, UINT height, UINT levels, DWORD usage, D3DFORMAT format,
                                   D3DPOOL pool, IDirect3DTexture9** texture, HANDLE* /*shared*/) {
    if (HRESULT hr = Enter("CreateTexture", {width, height, levels, usage, format, pool}); FAILED(hr)) return hr;
    if (!texture) return D3DERR_INVALIDCALL;
    *texture = nullptr;
    // One level of 32-bit colour is all the game makes.
    if (width == 0 || height == 0 || width > m_caps.MaxTextureWidth || height > m_caps.MaxTextureHeight ||
        levels > 1 || format != D3DFMT_A8R8G8B8 || pool == D3DPOOL_MANAGED)
        return D3DERR_INVALIDCALL;
    CMemoryTexture* made = MakeTexture(width, height, usage, pool, m_poolCounter);
    made->SetSerial(m_nextSerial++);
    *texture = made;
    return D3D_OK;
}

HRESULT CDeviceBase::UpdateTexture(IDirect3DTexture9* source, IDirect3DTexture9* destination) {
    if (HRESULT hr = Enter("UpdateTexture", {SerialOf(source), SerialOf(destination)}); FAILED(hr)) return hr;
    auto* from = dynamic_cast<CMemoryTexture*>(source);
    auto* to = dynamic_cast<CMemoryTexture*>(destination);
    if (!from || !to || from->Pool() != D3DPOOL_SYSTEMMEM || to->Pool() != D3DPOOL_DEFAULT ||
        from->Width() != to->Width() || from->Height() != to->Height() || from->IsLocked())
        return D3DERR_INVALIDCALL;
    to->Pixels() = from->Pixels();
    to->Touch();
    return D3D_OK;
}

HRESULT CDeviceBase::SetTexture(DWORD stage, IDirect3DTexture9* texture) {
    if (HRESULT hr = Enter("SetTexture", {stage, SerialOf(texture)}); FAILED(hr)) return hr;
    auto* memory = dynamic_cast<CMemoryTexture*>(texture);
    if (stage >= kStages || (texture && !memory)) return D3DERR_INVALIDCALL;
    if (memory) memory->AddRef();
    if (m_textures[stage]) m_textures[stage]->Release();
    m_textures[stage] = memory;
    return D3D_OK;
}

HRESULT CDeviceBase::CreateVertexBuffer(UINT length, DWORD usage, DWORD fvf, D3DPOOL pool,
                                        IDirect3DVertexBuffer9** buffer, HANDLE* /*shared*/) {
    if (HRESULT hr = Enter("CreateVertexBuffer", {length, usage, fvf, pool}); FAILED(hr)) return hr;
    if (!buffer) return D3DERR_INVALIDCALL;
    *buffer = nullptr;
    if (length == 0 || pool == D3DPOOL_MANAGED) return D3DERR_INVALIDCALL;
    auto* made = new CMemoryVertexBuffer(length, usage, fvf, pool, m_poolCounter);
    made->SetSerial(m_nextSerial++);
    *buffer = made;
    return D3D_OK;
}

HRESULT CDeviceBase::CreateIndexBuffer(UINT length, DWORD usage, D3DFORMAT format, D3DPOOL pool,
                                       IDirect3DIndexBuffer9** buffer, HANDLE* /*shared*/) {
    if (HRESULT hr = Enter("CreateIndexBuffer", {length, usage, format, pool}); FAILED(hr)) return hr;
    if (!buffer) return D3DERR_INVALIDCALL;
    *buffer = nullptr;
    // 16-bit indices only, as the game draws.
    if (length == 0 || format != D3DFMT_INDEX16 || pool == D3DPOOL_MANAGED) return D3DERR_INVALIDCALL;
    auto* made = new CMemoryIndexBuffer(length, usage, format, pool, m_poolCounter);
    made->SetSerial(m_nextSerial++);
    *buffer = made;
    return D3D_OK;
}

HRESULT CDeviceBase::SetStreamSource(UINT stream, IDirect3DVertexBuffer9* buffer, UINT offset, UINT stride) {
    if (HRESULT hr = Enter("SetStreamSource", {stream, SerialOf(buffer), offset, stride}); FAILED(hr)) return hr;
    auto* memory = dynamic_cast<CMemoryVertexBuffer*>(buffer);
    if (stream != 0 || (buffer && !memory)) return D3DERR_INVALIDCALL;
    if (memory) memory->AddRef();
    if (m_stream) m_stream->Release();
    m_stream = memory;
    m_streamOffset = offset;
    m_streamStride = stride;
    return D3D_OK;
}

HRESULT CDeviceBase::SetIndices(IDirect3DIndexBuffer9* buffer) {
    if (HRESULT hr = Enter("SetIndices", {SerialOf(buffer)}); FAILED(hr)) return hr;
    auto* memory = dynamic_cast<CMemoryIndexBuffer*>(buffer);
    if (buffer && !memory) return D3DERR_INVALIDCALL;
    if (memory) memory->AddRef();
    if (m_indices) m_indices->Release();
    m_indices = memory;
    return D3D_OK;
}

HRESULT CDeviceBase::SetFVF(DWORD fvf) {
    if (HRESULT hr = Enter("SetFVF", {fvf}); FAILED(hr)) return hr;
    m_fvf = fvf;
    return D3D_OK;
}

HRESULT CDeviceBase::DrawIndexedPrimitive(D3DPRIMITIVETYPE type, INT baseVertex, UINT minIndex, UINT vertexCount,
                                          UINT startIndex, UINT primitiveCount) {
    if (HRESULT hr = Enter("DrawIndexedPrimitive",
                           {type, baseVertex, minIndex, vertexCount, startIndex, primitiveCount});
        FAILED(hr))
        return hr;
    // Every check Direct3D's debug runtime makes that would otherwise read outside a buffer.
    const UINT indexCount = IndexCount(type, primitiveCount);
    if (!m_inScene || !m_stream || !m_indices || m_stream->IsLocked() || m_indices->IsLocked() ||
        primitiveCount == 0 || indexCount == 0 || m_streamStride == 0 || m_streamStride < FvfStride(m_fvf))
        return D3DERR_INVALIDCALL;
    const auto& indexBytes = m_indices->Bytes();
    const std::size_t indexTotal = indexBytes.size() / 2;
    if (startIndex > indexTotal || indexCount > indexTotal - startIndex) return D3DERR_INVALIDCALL;
    const auto& vertexBytes = m_stream->Bytes();
    if (m_streamOffset > vertexBytes.size()) return D3DERR_INVALIDCALL;
    const std::size_t vertexTotal = (vertexBytes.size() - m_streamOffset) / m_streamStride;
    std::vector<std::uint16_t> used(indexCount);
    std::memcpy(used.data(), indexBytes.data() + startIndex * 2, indexCount * 2);
    for (std::uint16_t index : used) {
        const long long vertex = static_cast<long long>(baseVertex) + index;
        if (vertex < 0 || static_cast<std::size_t>(vertex) >= vertexTotal) return D3DERR_INVALIDCALL;
    }
    if (m_recording) {
        m_draws.push_back(DrawRecord{type, baseVertex, minIndex, vertexCount, startIndex, primitiveCount, m_fvf,
                                     m_streamStride, m_textures[0] ? m_textures[0]->Serial() : 0, m_renderStates,
                                     std::vector<std::uint8_t>(vertexBytes.begin() + m_streamOffset,
                                                               vertexBytes.end()),
                                     std::move(used)});
    }
    RenderDraw(DrawCall{type, baseVertex, vertexCount, startIndex, indexCount, vertexBytes.data() + m_streamOffset,
                        m_streamStride, reinterpret_cast<const std::uint16_t*>(indexBytes.data())});
    return D3D_OK;
}

}  // namespace D3D9Layer
