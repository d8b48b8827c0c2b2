#pragma once
// All sound of the game: twenty preloaded effects (one of them the looping
// footsteps), one looping ambient sound at a time and the master volume, which is
// kept in the user's registry. Sounds come from the running module's package.

#include <array>
#include <memory>
#include <string>
#include <vector>

#include "common/data_file.h"
#include "platform/audio/audio.h"

class IDRAVAudio2 {
public:
    virtual ~IDRAVAudio2() = default;
    virtual void SetVolume(int percent) = 0;
    virtual int GetVolume() = 0;
    // Code 2 for an id outside 0-21.
    virtual void PlaySound(int soundId) = 0;
    virtual void SetFootsteps(bool on) = 0;
    // Code 1 when the sound is missing or does not decode.
    virtual void PlayAmbientFx(const std::string& name) = 0;
    virtual void StopAmbientFx() = 0;
};

// The effect files in effect-number order; the last one is the footsteps loop.
inline constexpr int kEffectCount = 20;
inline constexpr int kFootstepsEffect = 19;
extern const std::array<const char*, kEffectCount> kEffectFiles;
// The effect each sound id plays.
inline constexpr int kSoundIdCount = 22;
extern const std::array<int, kSoundIdCount> kSoundEffects;

// The sound id of a game sound code, or -1 when the code plays nothing.
int SoundIdForEventCode(int code);

class CDRAVAudio2 : public IDRAVAudio2 {
public:
    // Code 2 with no audio device; code 1 for an effect that is missing or does
    // not decode.
    explicit CDRAVAudio2(std::shared_ptr<DRAVCommon::CDataFileFactory> package);
    ~CDRAVAudio2() override;

    void SetVolume(int percent) override;
    int GetVolume() override { return m_volume; }
    void PlaySound(int soundId) override;
    void SetFootsteps(bool on) override;
    void PlayAmbientFx(const std::string& name) override;
    void StopAmbientFx() override;

    // "SOFTWARE\<company>\<title>".
    static std::string GetRegistryKey();

    // For the sound tests: the effect streams and the ambient stream (null for none).
    const std::vector<Audio::OutputStreamPtr>& GetEffects() const { return m_effects; }
    const Audio::OutputStreamPtr& GetAmbientStream() const { return m_ambient; }
    bool AreFootstepsOn() const { return m_footstepsOn; }

private:
    Audio::OutputStreamPtr OpenFile(const std::string& name, bool streaming);

    std::shared_ptr<DRAVCommon::CDataFileFactory> m_package;
    Audio::AudioDevicePtr m_device;
    std::vector<Audio::OutputStreamPtr> m_effects;
    int m_volume = 100;
    bool m_footstepsOn = false;
    std::string m_ambientName;
    Audio::OutputStreamPtr m_ambient;
};

std::shared_ptr<IDRAVAudio2> MakeAudio(std::shared_ptr<DRAVCommon::CDataFileFactory> package);
