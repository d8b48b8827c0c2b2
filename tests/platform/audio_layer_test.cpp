#include "platform/audio/audio.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <iterator>

#include "support/sample_module.h"

namespace {

Audio::FilePtr SampleSound(const std::string& name) {
    std::ifstream in(QuillmereTest::SampleFolderRoot() + "/audio/" + name, std::ios::binary);
    std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    return Audio::CreateMemoryFile(bytes.data(), bytes.size());
}

TEST(AudioLayer, WithoutASoundDeviceTheDummyDriverPlays) {
    // A driver that does not exist stands for a machine without sound.
    setenv("SDL_AUDIODRIVER", "no_such_driver", 1);
    Audio::AudioDevicePtr device = Audio::OpenDevice();
    ASSERT_TRUE(device);
    EXPECT_EQ(device->GetDriverName(), "dummy");
    EXPECT_EQ(Audio::OpenDevice(), device) << "one device while anything holds it";
    Audio::OutputStreamPtr sound = Audio::OpenSound(device, SampleSound("song.wav"), false);
    ASSERT_TRUE(sound);
    sound->play();
    EXPECT_TRUE(sound->isPlaying());
}

TEST(AudioLayer, StreamsPlayStopResumeResetRepeatAndTakeAVolume) {
    Audio::AudioDevicePtr device = Audio::OpenDevice();
    ASSERT_TRUE(device);
    Audio::OutputStreamPtr music = Audio::OpenSound(device, SampleSound("splash.mp3"), true);
    Audio::OutputStreamPtr click = Audio::OpenSound(device, SampleSound("click.wav"), false);
    ASSERT_TRUE(music);
    ASSERT_TRUE(click);
    EXPECT_FALSE(music->isPlaying());
    music->setRepeat(true);
    music->setVolume(0.5f);
    music->play();
    click->play();
    EXPECT_TRUE(music->isPlaying());
    music->stop();
    EXPECT_FALSE(music->isPlaying());
    EXPECT_TRUE(music->getRepeat());
    music->reset();
    EXPECT_FALSE(music->isPlaying()) << "a reset does not start a stopped stream";
    music->play();
    EXPECT_TRUE(music->isPlaying());
    music->setVolume(3.0f);
    EXPECT_FLOAT_EQ(music->getVolume(), 1.0f);
    music->setVolume(-1.0f);
    EXPECT_FLOAT_EQ(music->getVolume(), 0.0f);
    // Releasing a stream silences it and frees its channel for the next one.
    music.reset();
    Audio::OutputStreamPtr again = Audio::OpenSound(device, SampleSound("door.wav"), false);
    ASSERT_TRUE(again);
}

TEST(AudioLayer, BytesThatAreNoSoundDoNotOpen) {
    Audio::AudioDevicePtr device = Audio::OpenDevice();
    ASSERT_TRUE(device);
    const char junk[] = "RIFF....WAVEfmt nothing";
    EXPECT_FALSE(Audio::OpenSound(device, Audio::CreateMemoryFile(junk, sizeof junk), false));
    EXPECT_FALSE(Audio::OpenSound(device, Audio::CreateMemoryFile(junk, 0), false));
    EXPECT_FALSE(Audio::OpenSound(nullptr, SampleSound("click.wav"), false));
}

}  // namespace
