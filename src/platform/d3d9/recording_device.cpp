#include "platform/d3d9/recording_device.h"

namespace D3D9Layer {

D3DPRESENT_PARAMETERS WindowedParameters(UINT width, UINT height) {
    D3DPRESENT_PARAMETERS parameters{};
    parameters.BackBufferWidth = width;
    parameters.BackBufferHeight = height;
    parameters.BackBufferFormat = D3DFMT_UNKNOWN;
    parameters.SwapEffect = D3DSWAPEFFECT_DISCARD;
    parameters.Windowed = 1;
    parameters.EnableAutoDepthStencil = 1;
    parameters.AutoDepthStencilFormat = D3DFMT_D16;
    return parameters;
}

D3DPtr<CRecordingDevice> CRecordingDevice::Create(UINT width, UINT height) {
    return D3DPtr<CRecordingDevice>(new CRecordingDevice(WindowedParameters(width, height)));
}

}  // namespace D3D9Layer
