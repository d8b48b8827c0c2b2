// Feeds arbitrary bytes to model loading as a DirectX model file, on the recording
// device. Only CDRAVException may come out; a model that loads is drawn once.

#include <cstddef>
#include <cstdint>

#include "common/data_file_memory.h"
#include "common/exception.h"
#include "graphics/model_node.h"
#include "platform/d3d9/recording_device.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const D3DPtr<D3D9Layer::CRecordingDevice> device = [] {
        auto made = D3D9Layer::CRecordingDevice::Create(64, 64);
        made->SetRecording(false);
        return made;
    }();
    DRAVCommon::CXPDevice xp(device.get());
    DRAVCommon::CDataFileFactoryMemory source;
    source.Add(DRAVCommon::DFK_OBJECT, DRAVCommon::DFS_MOD, "fuzz.x", DRAVCommon::ByteVector(data, data + size));
    DRAVGraph::CSubModelInfo info;
    info.kind = DRAVCommon::DFK_OBJECT;
    info.name = "fuzz.x";
    const std::vector<DRAVGraph::TextureEntry> textures(4, DRAVGraph::TextureEntry{"", 0x808080, 1.0});
    try {
        auto node = DRAVGraph::LoadModel(&xp, source, info, textures, nullptr, 0, nullptr, true, 0.0, 0.0);
        device->BeginScene();
        node->Draw(&xp, false, 0.0);
        device->EndScene();
        D3DMATRIX identity{};
        identity._11 = identity._22 = identity._33 = identity._44 = 1.0f;
        node->MakeMerged(&xp, identity, {identity, identity});
    } catch (const CDRAVException&) {
        device->EndScene();
    }
    device->SetStreamSource(0, nullptr, 0, 0);
    device->SetIndices(nullptr);
    device->SetTexture(0, nullptr);
    return 0;
}
