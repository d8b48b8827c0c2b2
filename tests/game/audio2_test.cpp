#include "game/audio2.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <set>

#include "platform/win32/shell.h"
#include "support/error_code.h"
#include "support/overlay_source.h"
#include "support/sample_module.h"
#include "support/temp_dir.h"

namespace {

// Each test keeps its registry in a folder of its own.
class Audio2Test : public ::testing::Test {
protected:
    Audio2Test() { setenv("XDG_CONFIG_HOME", m_config.Path().c_str(), 1); }

    void StoreVolume(DWORD type, const void* data, DWORD size) {
        std::string key = CDRAVAudio2::GetRegistryKey();
        ASSERT_EQ(SHSetValueA(HKEY_CURRENT_USER, key.c_str(), "Volume", type, data, size), ERROR_SUCCESS);
    }
    std::string RegistryText() const { return QuillmereTest::ReadTextFile(m_config / "quillmere/registry.txt"); }

    QuillmereTest::TempDir m_config;
};

TEST_F(Audio2Test, StoredVolumeIsReadAndCappedAndOtherTypesIgnored) {
    EXPECT_EQ(CDRAVAudio2(QuillmereTest::SampleFolderSource()).GetVolume(), 100);

    DWORD stored = 37;
    StoreVolume(REG_DWORD, &stored, 4);
    EXPECT_EQ(CDRAVAudio2(QuillmereTest::SampleFolderSource()).GetVolume(), 37);

    stored = 250;
    StoreVolume(REG_DWORD, &stored, 4);
    EXPECT_EQ(CDRAVAudio2(QuillmereTest::SampleFolderSource()).GetVolume(), 100);

    StoreVolume(REG_SZ, "40", 3);
    EXPECT_EQ(CDRAVAudio2(QuillmereTest::SampleFolderSource()).GetVolume(), 100);
}

TEST_F(Audio2Test, SetVolumeStoresOnlyAChangeAndTheFootstepsFollowIt) {
    DWORD stored = 60;
    StoreVolume(REG_DWORD, &stored, 4);
    CDRAVAudio2 audio(QuillmereTest::SampleFolderSource());
    // The loop plays at the stored volume although the volume was never set this run.
    audio.SetFootsteps(true);
    EXPECT_TRUE(audio.AreFootstepsOn());
    EXPECT_TRUE(audio.GetEffects()[kFootstepsEffect]->isPlaying());
    EXPECT_TRUE(audio.GetEffects()[kFootstepsEffect]->getRepeat());
    EXPECT_FLOAT_EQ(audio.GetEffects()[kFootstepsEffect]->getVolume(), 0.6f);

    std::remove((m_config / "quillmere/registry.txt").c_str());
    audio.SetVolume(60);
    EXPECT_EQ(RegistryText(), "") << "an unchanged volume is not written";
    audio.SetVolume(25);
    EXPECT_EQ(audio.GetVolume(), 25);
    EXPECT_FLOAT_EQ(audio.GetEffects()[kFootstepsEffect]->getVolume(), 0.25f);
    EXPECT_EQ(CDRAVAudio2(QuillmereTest::SampleFolderSource()).GetVolume(), 25);

    audio.SetFootsteps(false);
    EXPECT_FALSE(audio.GetEffects()[kFootstepsEffect]->isPlaying());
}

TEST_F(Audio2Test, AmbientSoundKeepsPlayingWhenAskedAgainAndRestartsAfterStop) {
    CDRAVAudio2 audio(QuillmereTest::SampleFolderSource());
    audio.PlayAmbientFx("splash.mp3");
    Audio::OutputStreamPtr first = audio.GetAmbientStream();
    ASSERT_TRUE(first);
    EXPECT_TRUE(first->isPlaying());
    EXPECT_TRUE(first->getRepeat());
    audio.PlayAmbientFx("splash.mp3");
    EXPECT_EQ(audio.GetAmbientStream(), first);

    audio.StopAmbientFx();
    EXPECT_FALSE(audio.GetAmbientStream());
    audio.StopAmbientFx();
    audio.PlayAmbientFx("splash.mp3");
    ASSERT_TRUE(audio.GetAmbientStream());
    EXPECT_NE(audio.GetAmbientStream(), first);
    EXPECT_TRUE(audio.GetAmbientStream()->isPlaying());

    EXPECT_EQ(QuillmereTest::ErrorCodeOf([&] { audio.PlayAmbientFx("no_such_music.mp3"); }), 1);
}

TEST_F(Audio2Test, SoundIdsPlayTheirEffectAndOthersAreRefused) {
    CDRAVAudio2 audio(QuillmereTest::SampleFolderSource());
    audio.PlaySound(3);  // the second cash id
    EXPECT_TRUE(audio.GetEffects()[2]->isPlaying());
    EXPECT_FALSE(audio.GetEffects()[0]->isPlaying());
    audio.PlaySound(0);
    EXPECT_TRUE(audio.GetEffects()[0]->isPlaying());
    EXPECT_EQ(QuillmereTest::ErrorCodeOf([&] { audio.PlaySound(22); }), 2);
    EXPECT_EQ(QuillmereTest::ErrorCodeOf([&] { audio.PlaySound(-1); }), 2);
}

TEST_F(Audio2Test, EveryEffectIsADistinctSoundOfTheSample) {
    auto source = QuillmereTest::SampleFolderSource();
    std::set<DRAVCommon::ByteVector> bodies;
    for (const char* file : kEffectFiles) bodies.insert(*source->ReadAll(DRAVCommon::DFK_AUDIO, DRAVCommon::DFS_NONE, file));
    EXPECT_EQ(bodies.size(), static_cast<std::size_t>(kEffectCount));
}

TEST_F(Audio2Test, AMissingOrUndecodableEffectIsCodeOne) {
    auto broken = std::make_shared<QuillmereTest::OverlaySource>(QuillmereTest::SampleFolderSource());
    broken->Add(DRAVCommon::DFK_AUDIO, DRAVCommon::DFS_NONE, "door.wav", "RIFF but not a sound");
    EXPECT_EQ(QuillmereTest::ErrorCodeOf([&] { CDRAVAudio2 audio(broken); }), 1);
    auto empty = std::make_shared<QuillmereTest::OverlaySource>(QuillmereTest::SampleFolderSource());
    empty->Add(DRAVCommon::DFK_AUDIO, DRAVCommon::DFS_NONE, "song.wav", "");
    EXPECT_EQ(QuillmereTest::ErrorCodeOf([&] { CDRAVAudio2 audio(empty); }), 1);
}

TEST(GameSoundCodes, MapToTheirSoundIds) {
    const std::pair<int, int> table[] = {{1, 5},   {2, 7},   {3, 5},   {4, 11},  {12, 14}, {13, 18}, {15, 19},
                                         {16, 20}, {17, 21}, {24, 2},  {25, 4},  {26, 6},  {27, 8},  {28, 9},
                                         {29, 12}, {30, 13}, {31, 10}, {32, 15}, {33, 16}, {34, 17}};
    std::set<int> mapped;
    for (auto [code, id] : table) {
        EXPECT_EQ(SoundIdForEventCode(code), id) << code;
        mapped.insert(code);
    }
    for (int code = -1; code <= 36; ++code) {
        if (mapped.count(code)) continue;
        EXPECT_EQ(SoundIdForEventCode(code), -1) << code;
    }
    EXPECT_EQ(kSoundEffects[static_cast<std::size_t>(SoundIdForEventCode(24))], 2) << "code 24 plays the cash effect";
}

}  // namespace
