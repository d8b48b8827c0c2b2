#pragma once
// A particle set in memory on the recording device, and readers over emitter and
// effect texts, for the tests of particles, effects and billboards.

#include <SDL.h>

#include <memory>
#include <string>

#include "common/data_file_memory.h"
#include "common/data_file_reader.h"
#include "graphics/graphics_test_util.h"
#include "graphics/particles/billboard_renderer.h"
#include "graphics/particles/particle_emitter.h"
#include "platform/d3d9/recording_device.h"
#include "support/sample_module.h"

namespace QuillmereTest {

class ParticleTestBase {
protected:
    // "particles.drav" naming p0 .. p(count - 1), all one image of opaque red, so
    // that each cell takes its first colour, which is (0, i, 255 - i) for cell i.
    void AddParticleSet(int count) {
        std::string text;
        for (int i = 0; i < count; ++i)
            text += "<particle> p" + std::to_string(i) + " \"red.png\" <color> ( 0 " + std::to_string(i) + " " +
                    std::to_string(255 - i) + " ) 0 0 </color> </particle>\n";
        AddText(DRAVCommon::DFK_EFFECT, "particles.drav", text);
        auto red = MakeSurface(4, 4, SDL_PIXELFORMAT_ARGB8888, 0xFFFF0000u);
        m_source.Add(DRAVCommon::DFK_EFFECT, DRAVCommon::DFS_TEX, "red.png", EncodePng(red.get()));
    }

    void AddText(DRAVCommon::DataFileKind kind, const std::string& name, const std::string& text) {
        m_source.Add(kind, DRAVCommon::DFS_NONE, name, DRAVCommon::ByteVector(text.begin(), text.end()));
    }

    DRAVGraph::CBillboardRenderer& Renderer() {
        if (!m_renderer) {
            if (!m_hasSet) AddParticleSet(20);
            m_hasSet = true;
            m_renderer = std::make_unique<DRAVGraph::CBillboardRenderer>(&m_wrapper, m_source);
        }
        return *m_renderer;
    }

    DRAVGraph::GraphicLoadContext LoadContext() { return {&m_wrapper, &m_source, &Renderer()}; }

    DRAVGraph::CParticleEmitter ReadEmitter(const std::string& text, const DRAVGraph::CEffectParams* params = nullptr) {
        DRAVCommon::CDataFileReader reader(TextStream(text), "emitter test");
        return DRAVGraph::CParticleEmitter(LoadContext(), reader, params);
    }

    D3DPtr<D3D9Layer::CRecordingDevice> m_device = D3D9Layer::CRecordingDevice::Create(640, 480);
    DRAVCommon::CXPDevice m_wrapper{m_device.get()};
    DRAVCommon::CDataFileFactoryMemory m_source;
    bool m_hasSet = false;
    std::unique_ptr<DRAVGraph::CBillboardRenderer> m_renderer;
};

}  // namespace QuillmereTest
