#include "graphics/xp_device.h"

#include "common/exception.h"

namespace DRAVCommon {

void CheckDeviceCall(HRESULT result) {
    if (FAILED(result)) throw CDRAVException(DRAV_ERR_DEVICE);
}

namespace {

void CheckDefaultState(HRESULT result) {
    if (FAILED(result)) throw CDRAVException(DRAV_ERR_UNEXPECTED);
}

}  // namespace

void CXPDevice::SetDefaultRenderStates(bool full) {
    // Every frame restores what the 2D queue and the 3D passes change.
    CheckDefaultState(m_device->SetRenderState(D3DRS_LIGHTING, 1));
    CheckDefaultState(m_device->SetRenderState(D3DRS_CULLMODE, D3DCULL_CW));
    CheckDefaultState(m_device->SetSamplerState(0, D3DSAMP_ADDRESSU, D3DTADDRESS_WRAP));
    CheckDefaultState(m_device->SetSamplerState(0, D3DSAMP_ADDRESSV, D3DTADDRESS_WRAP));
    if (!full) return;
    CheckDefaultState(m_device->SetRenderState(D3DRS_ZENABLE, D3DZB_TRUE));
    CheckDefaultState(m_device->SetRenderState(D3DRS_NORMALIZENORMALS, 1));
    CheckDefaultState(m_device->SetRenderState(D3DRS_CLIPPING, 0));
    CheckDefaultState(m_device->SetSamplerState(0, D3DSAMP_MAGFILTER, D3DTEXF_LINEAR));
    CheckDefaultState(m_device->SetSamplerState(0, D3DSAMP_MINFILTER, D3DTEXF_LINEAR));
    CheckDefaultState(m_device->SetRenderState(D3DRS_EMISSIVEMATERIALSOURCE, D3DMCS_MATERIAL));
    CheckDefaultState(m_device->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_SRCALPHA));
    CheckDefaultState(m_device->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_INVSRCALPHA));
    CheckDefaultState(m_device->SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_MODULATE));
    CheckDefaultState(m_device->SetTextureStageState(0, D3DTSS_ALPHAARG1, D3DTA_TEXTURE));
    CheckDefaultState(m_device->SetTextureStageState(0, D3DTSS_ALPHAARG2, D3DTA_DIFFUSE));
    CheckDefaultState(m_device->SetRenderState(D3DRS_ALPHAFUNC, D3DCMP_GREATEREQUAL));
    CheckDefaultState(m_device->SetRenderState(D3DRS_ALPHAREF, 8));
    CheckDefaultState(m_device->SetRenderState(D3DRS_ALPHATESTENABLE, 1));
}

void CXPDevice::GetViewportRect(RECT& rect) {
    D3DVIEWPORT9 viewport{};
    CheckDeviceCall(m_device->GetViewport(&viewport));
    rect = RECT{0, 0, static_cast<LONG>(viewport.Width), static_cast<LONG>(viewport.Height)};
}

void CXPDevice::SetViewTransform(const D3DMATRIX& matrix) {
    CheckDeviceCall(m_device->SetTransform(D3DTS_VIEW, &matrix));
}

void CXPDevice::SetProjectionTransform(const D3DMATRIX& matrix) {
    CheckDeviceCall(m_device->SetTransform(D3DTS_PROJECTION, &matrix));
}

void CXPDevice::SetWorldTransform(const D3DMATRIX& matrix) {
    CheckDeviceCall(m_device->SetTransform(D3DTS_WORLD, &matrix));
}

}  // namespace DRAVCommon
