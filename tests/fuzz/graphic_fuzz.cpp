// Feeds arbitrary bytes to graphic loading as an actor graphic of the sample chapter
// (its figures, models and item overrides at hand), with the dagger laid over it on
// the hand the first byte picks. Only CDRAVException may come out; a loaded graphic
// then draws a frame on the recording device.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "common/exception.h"
#include "common/graphic_colors.h"
#include "graphics/graphic.h"
#include "graphics/matrix.h"
#include "platform/d3d9/recording_device.h"
#include "support/overlay_source.h"
#include "support/sample_module.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const std::shared_ptr<DRAVCommon::CDataFileFactory> sample = QuillmereTest::SampleFolderSource();
    const std::uint8_t choice = size ? data[0] : 0;
    const std::string text = size ? std::string(reinterpret_cast<const char*>(data) + 1, size - 1) : std::string();
    QuillmereTest::OverlaySource source(sample);
    source.Add(DRAVCommon::DFK_ACTOR, DRAVCommon::DFS_NONE, "fuzz.drav", text);

    auto device = D3D9Layer::CRecordingDevice::Create(64, 64);
    DRAVCommon::CXPDevice xp(device.get());
    DRAVGraph::GraphicLoadContext context{&xp, &source, nullptr};
    DRAVGraph::CGraphicColors colours;
    DRAVGraph::CFigureCache figures;
    const std::vector<DRAVGraph::GraphicOverride> overrides{{"i_dagger", (choice & 1) != 0}};
    try {
        DRAVGraph::CGraphic graphic(context, DRAVCommon::DFK_ACTOR, "fuzz", DRAVCommon::DFK_ITEM, &overrides, &figures,
                                    &colours);
        const D3DMATRIX world = DRAVGraph::Mat4Identity();
        device->BeginScene();
        graphic.Render({&xp, nullptr, &world, nullptr}, (choice & 2) ? "attack" : "default", choice >> 2, 0.3,
                       0.3);
        device->EndScene();
    } catch (const CDRAVException&) {
    }
    return 0;
}
