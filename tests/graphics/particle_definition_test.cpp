// The particle atlas and the reading of emitters and effect files.

#include <gtest/gtest.h>

#include "graphics/particle_test_support.h"
#include "graphics/particles/billboard_effect.h"
#include "support/expect_drav.h"

namespace {

using namespace DRAVGraph;
using QuillmereTest::TexturePixel;

class ParticleDefinitionTest : public ::testing::Test, protected QuillmereTest::ParticleTestBase {
protected:
    CBillboardEffectTemplate ReadEffect(const std::string& text, const CEffectParams* params = nullptr) {
        AddText(DRAVCommon::DFK_EFFECT, "bolt.drav", text);
        return CBillboardEffectTemplate(LoadContext(), DRAVCommon::DFK_EFFECT, "bolt", params);
    }
};

TEST_F(ParticleDefinitionTest, EighteenthParticleFillsItsCellInItsOwnColour) {
    AddParticleSet(20);
    m_hasSet = true;
    const auto& atlas = *Renderer().GetAtlas();
    EXPECT_EQ(atlas.GetTextureWidth(), 1024);
    EXPECT_EQ(atlas.GetTextureHeight(), 1024);
    EXPECT_EQ(Renderer().GetParticleCell("p17"), 17);
    // Colour (0, 17, 238) times a full red channel, div 256.
    const std::uint32_t recoloured = 0xFF0010EDu;
    for (int x : {64, 127})
        for (int y : {64, 127}) EXPECT_EQ(TexturePixel(atlas, x, y), recoloured) << x << "," << y;
    EXPECT_NE(TexturePixel(atlas, 63, 64), recoloured);  // cell 16
    EXPECT_NE(TexturePixel(atlas, 128, 64), recoloured);  // cell 18
    EXPECT_EQ(TexturePixel(atlas, 1023, 1023), 0u);  // no particle: transparent black
}

TEST_F(ParticleDefinitionTest, NamesResolveToTheirLatestCellAndUnknownNamesToCellZero) {
    AddText(DRAVCommon::DFK_EFFECT, "particles.drav",
            "<particle> a \"red.png\" <color> 255 0 0 </color> </particle>\n"
            "<particle> b \"red.png\" <color> 255 0 0 </color> </particle>\n"
            "<particle> a \"red.png\" <color> 255 0 0 </color> </particle>\n"
            "stop <particle> c \"missing.png\" </particle>");
    auto red = QuillmereTest::MakeSurface(2, 2, SDL_PIXELFORMAT_ARGB8888, 0x80FF0000u);
    m_source.Add(DRAVCommon::DFK_EFFECT, DRAVCommon::DFS_TEX, "red.png", QuillmereTest::EncodePng(red.get()));
    m_hasSet = true;
    EXPECT_EQ(Renderer().GetParticleCell("a"), 2);
    EXPECT_EQ(Renderer().GetParticleCell("b"), 1);
    EXPECT_EQ(Renderer().GetParticleCell("c"), 0);  // after the first other token nothing is read
    EXPECT_EQ(Renderer().GetParticleCell(""), 0);
    // The image's alpha is copied, not blended over the empty atlas.
    EXPECT_EQ(TexturePixel(*Renderer().GetAtlas(), 0, 0), 0x80FEFEFEu);
}

TEST_F(ParticleDefinitionTest, SetOfMoreThan256ParticlesIsRefused) {
    AddParticleSet(257);
    m_hasSet = true;
    auto message = DRAV_MESSAGE(Renderer());
    EXPECT_NE(message.find("particles.drav"), std::string::npos) << message;
    EXPECT_DRAV_CODE(Renderer(), DRAV_ERR_BAD_DATA);
}

// An image the set names but the module lacks, or cannot read, is the set's
// fault: the failure names the set's file and the particle.
TEST_F(ParticleDefinitionTest, AMissingOrBrokenImageNamesTheSetAndTheParticle) {
    AddText(DRAVCommon::DFK_EFFECT, "particles.drav",
            "<particle> spark \"red.png\" <color> 255 0 0 </color> </particle>\n"
            "<particle> ember \"ember.png\" <color> 255 0 0 </color> </particle>\n");
    auto red = QuillmereTest::MakeSurface(2, 2, SDL_PIXELFORMAT_ARGB8888, 0xFFFF0000u);
    m_source.Add(DRAVCommon::DFK_EFFECT, DRAVCommon::DFS_TEX, "red.png", QuillmereTest::EncodePng(red.get()));
    m_hasSet = true;
    for (const char* bytes : {"", "not a picture"}) {
        SCOPED_TRACE(*bytes ? "broken" : "missing");
        if (*bytes) m_source.Add(DRAVCommon::DFK_EFFECT, DRAVCommon::DFS_TEX, "ember.png", {bytes, bytes + 13});
        const std::string message = DRAV_MESSAGE(Renderer());
        EXPECT_NE(message.find("particles.drav"), std::string::npos) << message;
        EXPECT_NE(message.find("ember"), std::string::npos) << message;
        EXPECT_EQ(message.find("spark"), std::string::npos) << message;
    }
}

TEST_F(ParticleDefinitionTest, EmitterScalesSpeedsAccelerationAndSizesButNotPlaceOrTime) {
    CEffectParams params(2.0, {});
    auto emitter =
        ReadEmitter("<emitter> p3 (1 2) 3.5 10 (4 5) -9.8 (0.5 1.5) (1 0) burst </emitter>", &params);
    EXPECT_EQ(emitter.GetSpread(), 1);
    EXPECT_EQ(emitter.GetHeight(), 2);
    EXPECT_EQ(emitter.GetCount(), 10u);
    EXPECT_EQ(emitter.GetRiseSpeed(), 8);
    EXPECT_EQ(emitter.GetSpeed(), 10);
    EXPECT_EQ(emitter.GetShape(), CParticleEmitter::SHAPE_BURST);
    const CParticleParams& p = *emitter.GetParams();
    EXPECT_EQ(p.cell, 3);
    EXPECT_EQ(p.lifetime, 3.5);
    EXPECT_DOUBLE_EQ(p.riseAcceleration, -19.6);
    EXPECT_EQ(p.startSize, 1);
    EXPECT_EQ(p.endSize, 3);
    EXPECT_EQ(p.startColour, 0xFFFFFFFFu);
    EXPECT_EQ(p.endColour, 0x00FFFFFFu);
}

TEST_F(ParticleDefinitionTest, EmitterColoursTakeTruncatedAlphaBytes) {
    auto coloured = ReadEmitter("<emitter> p1 (0 0) 1 1 (0 0) 0 (1 1) (1 0) ring (255 0 0) (0 0 255) </emitter>");
    EXPECT_EQ(coloured.GetParams()->startColour, 0xFFFF0000u);
    EXPECT_EQ(coloured.GetParams()->endColour, 0x000000FFu);
    auto halves = ReadEmitter("<emitter> p1 (0 0) 1 1 (0 0) 0 (1 1) (0.5 0.25) point 7 (1 2 3) </emitter>");
    EXPECT_EQ(halves.GetParams()->startColour, 0x7F070707u);
    EXPECT_EQ(halves.GetParams()->endColour, 0x3F010203u);
}

TEST_F(ParticleDefinitionTest, ParamNamesTheParticleByWordOrFallsBackToCellZero) {
    CEffectParams words(1.0, {"p4", "p9"});
    const std::string text = "<emitter> <param> 1 </param> (0 0) 1 1 (0 0) 0 (1 1) (1 1) point </emitter>";
    EXPECT_EQ(ReadEmitter(text, &words).GetParams()->cell, 9);
    // No words, or an index past them: no particle is named.
    EXPECT_EQ(ReadEmitter(text).GetParams()->cell, 0);
    CEffectParams one(1.0, {"p4"});
    EXPECT_EQ(ReadEmitter(text, &one).GetParams()->cell, 0);
    EXPECT_EQ(ReadEmitter("<emitter> <param> -1 </param> (0 0) 1 1 (0 0) 0 (1 1) (1 1) point </emitter>", &words)
                  .GetParams()
                  ->cell,
              0);
}

TEST_F(ParticleDefinitionTest, MalformedEmittersAreRefused) {
    EXPECT_DRAV_CODE(ReadEmitter("<emitter> p1 1 2 1 1 (0 0) 0 (1 1) (1 1) point </emitter>"), DRAV_ERR_BAD_DATA);
    EXPECT_DRAV_CODE(ReadEmitter("<emitter> p1 (0 0) 1 1 0 0 (1 1) (1 1) point </emitter>"), DRAV_ERR_BAD_DATA);
    EXPECT_DRAV_CODE(ReadEmitter("<emitter> p1 (0 0) 1 1 (0 0) 0 (1 1) (1 1) spiral </emitter>"), DRAV_ERR_BAD_DATA);
    EXPECT_DRAV_CODE(ReadEmitter("<emitter> p1 (0 0) 1 1 (0 0) 0 (1 1) (1 1) point"), DRAV_ERR_BAD_DATA);
}

TEST_F(ParticleDefinitionTest, EffectFileGivesCoreTrailAndEndEmitters) {
    const std::string emitter = " <emitter> p2 (0 0) 2 1 (0 0) 0 (1 1) (1 1) point </emitter>\n";
    auto full = ReadEffect("<effect> label p5 3.5 2 0.5 1.5" + emitter + emitter + emitter + "</effect>");
    ASSERT_TRUE(full.GetCoreParams());
    EXPECT_EQ(full.GetCoreParams()->cell, 5);
    EXPECT_EQ(full.GetCoreParams()->startSize, 2);
    EXPECT_EQ(full.GetCoreParams()->endColour, 0x7FFFFFFFu);
    EXPECT_EQ(full.GetHeight(), 3.5);
    EXPECT_EQ(full.GetTrailSpacing(), 1.5);
    EXPECT_TRUE(full.GetTrailEmitter());
    EXPECT_EQ(full.GetEndEmitters().size(), 2u);

    auto endsOnly = ReadEffect("<effect> x 0 1 9 9 0 0" + emitter + emitter + "</effect>");
    EXPECT_FALSE(endsOnly.GetCoreParams());
    EXPECT_FALSE(endsOnly.GetTrailEmitter());
    EXPECT_EQ(endsOnly.GetEndEmitters().size(), 2u);

    auto trailOnly = ReadEffect("<effect> x 0 1 9 9 0.5" + emitter + "</effect>");
    EXPECT_TRUE(trailOnly.GetTrailEmitter());
    EXPECT_TRUE(trailOnly.GetEndEmitters().empty());

    // Without them the core's size and alpha are missing.
    EXPECT_DRAV_CODE(ReadEffect("<effect> x 0 1 0.5 </effect>"), DRAV_ERR_BAD_DATA);
}

TEST_F(ParticleDefinitionTest, TrailWithoutPositiveSpacingIsRefusedNamingTheFile) {
    const std::string emitter = " <emitter> p2 (0 0) 2 1 (0 0) 0 (1 1) (1 1) point </emitter>\n";
    for (const char* spacing : {"0", "-1"}) {
        auto message = DRAV_MESSAGE(ReadEffect(std::string("<effect> x 0 1 9 9 ") + spacing + emitter + "</effect>"));
        EXPECT_NE(message.find("bolt.drav"), std::string::npos) << message;
    }
    // Without a trail the spacing is never used.
    EXPECT_EQ(ReadEffect("<effect> x 0 1 9 9 0 0 </effect>").GetTrailSpacing(), 0);
}

}  // namespace
