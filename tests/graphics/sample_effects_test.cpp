// The sample chapter's particles and effects: every effect file loads, and every
// spell visual and missile of the chapter finds its effect and its particles.

#include <gtest/gtest.h>

#include <filesystem>

#include "engine/brain/brain_functions.h"
#include "graphics/particles/billboard_effect.h"
#include "graphics/particles/billboard_renderer.h"
#include "platform/d3d9/recording_device.h"
#include "rules/items/item_attribute.h"
#include "rules/module.h"
#include "support/sample_module.h"

namespace {

using namespace DRAVGraph;

class SampleEffectsTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        s_module = std::make_unique<DRAV::CModule>();
        s_module->SetBrainFunctions(DRAV::GetBrainFunctions());
        s_module->Load(1, nullptr, QuillmereTest::SampleFolderSource());
    }
    static void TearDownTestSuite() { s_module.reset(); }

    // The effect names the chapter's spells and weapons use, with their parameters.
    std::vector<std::pair<std::string, const CEffectParams*>> UsedEffects() const {
        std::vector<std::pair<std::string, const CEffectParams*>> used;
        for (const auto& [key, spell] : s_module->GetSpells())
            if (!spell->GetVisualName().empty()) used.emplace_back(spell->GetVisualName(), spell->GetVisualParams().get());
        // A bow's word names the effect of its arrows.
        for (const auto& [key, item] : s_module->GetItemTemplates()) {
            const auto* weapon = item->GetAttributeOf<DRAV::CItemAttributeWeapon>();
            if (weapon && weapon->GetWeaponType() == DRAV::WEAPON_BOW) used.emplace_back(item->GetExtraWord(), nullptr);
        }
        return used;
    }

    static inline std::unique_ptr<DRAV::CModule> s_module;
    D3DPtr<D3D9Layer::CRecordingDevice> m_device = D3D9Layer::CRecordingDevice::Create(640, 480);
    DRAVCommon::CXPDevice m_wrapper{m_device.get()};
};

TEST_F(SampleEffectsTest, EveryEffectFileLoadsFromFolderAndArchive) {
    for (auto source : {QuillmereTest::SampleFolderSource(), QuillmereTest::SampleArchiveSource()}) {
        CBillboardRenderer renderer(&m_wrapper, *source);
        EXPECT_GE(renderer.GetParticleNames().size(), 8u);
        GraphicLoadContext context{&m_wrapper, source.get(), &renderer};
        int effects = 0;
        for (const auto& entry :
             std::filesystem::directory_iterator(std::filesystem::path(QuillmereTest::SampleRoot()) / "effect")) {
            const std::string file = entry.path().filename().string();
            if (entry.path().extension() != ".drav" || file == "particles.drav") continue;
            SCOPED_TRACE(file);
            CEffectParams params(1.0, {"glow", "spark"});
            EXPECT_NO_THROW(CBillboardEffectTemplate(context, DRAVCommon::DFK_EFFECT, entry.path().stem().string(),
                                                     &params));
            ++effects;
        }
        EXPECT_GE(effects, 4);
    }
}

TEST_F(SampleEffectsTest, EverySpellVisualAndMissileNamesItsEffectAndParticles) {
    auto source = QuillmereTest::SampleFolderSource();
    CBillboardRenderer renderer(&m_wrapper, *source);
    GraphicLoadContext context{&m_wrapper, source.get(), &renderer};
    const auto used = UsedEffects();
    ASSERT_GE(used.size(), 4u);  // three spells and the bow
    for (const auto& [name, params] : used) {
        SCOPED_TRACE(name);
        if (params) {
            for (const std::string& word : params->GetWords()) EXPECT_TRUE(renderer.GetParticleNames().count(word)) << word;
        }
        CBillboardEffectTemplate effect(context, DRAVCommon::DFK_EFFECT, name, params);
        // Something to see in flight or on arrival.
        EXPECT_TRUE(effect.GetCoreParams() || !effect.GetEndEmitters().empty());
    }
}

}  // namespace
