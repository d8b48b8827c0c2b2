#include "platform/audio/audio.h"

#include <SDL.h>
#include <SDL_mixer.h>

#include <algorithm>
#include <cmath>
#include <cstring>

namespace Audio {
namespace {

class CMixerDevice : public AudioDevice {
public:
    explicit CMixerDevice(std::string driver) : m_driver(std::move(driver)) {}
    ~CMixerDevice() override {
        Mix_CloseAudio();
        Mix_Quit();
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
    }
    std::string GetDriverName() const override { return m_driver; }

    // Each stream keeps a mixer channel of its own for its life.
    int AcquireChannel() {
        if (!m_free.empty()) {
            int channel = m_free.back();
            m_free.pop_back();
            return channel;
        }
        int channel = m_channels++;
        Mix_AllocateChannels(m_channels);
        return channel;
    }
    void ReleaseChannel(int channel) {
        Mix_HaltChannel(channel);
        m_free.push_back(channel);
    }

private:
    std::string m_driver;
    int m_channels = 0;
    std::vector<int> m_free;
};

class CMemoryFile : public File {
public:
    CMemoryFile(const void* bytes, std::size_t size)
        : m_bytes(static_cast<const std::uint8_t*>(bytes), static_cast<const std::uint8_t*>(bytes) + size) {}
    const std::vector<std::uint8_t>& GetBytes() const override { return m_bytes; }

private:
    std::vector<std::uint8_t> m_bytes;
};

class CChunkStream : public OutputStream {
public:
    CChunkStream(std::shared_ptr<CMixerDevice> device, Mix_Chunk* chunk)
        : m_device(std::move(device)), m_chunk(chunk), m_channel(m_device->AcquireChannel()) {
        Mix_Volume(m_channel, MIX_MAX_VOLUME);
    }
    ~CChunkStream() override {
        m_device->ReleaseChannel(m_channel);
        Mix_FreeChunk(m_chunk);
    }

    void play() override {
        if (Mix_Playing(m_channel) && Mix_Paused(m_channel))
            Mix_Resume(m_channel);
        else if (!Mix_Playing(m_channel))
            Start();
    }
    void stop() override {
        if (Mix_Playing(m_channel)) Mix_Pause(m_channel);
    }
    void reset() override {
        bool playing = isPlaying();
        Mix_HaltChannel(m_channel);
        if (playing) Start();
    }
    bool isPlaying() const override { return Mix_Playing(m_channel) && !Mix_Paused(m_channel); }
    void setRepeat(bool repeat) override { m_repeat = repeat; }
    bool getRepeat() const override { return m_repeat; }
    void setVolume(float volume) override {
        m_volume = std::clamp(volume, 0.0f, 1.0f);
        Mix_Volume(m_channel, static_cast<int>(std::lround(m_volume * MIX_MAX_VOLUME)));
    }
    float getVolume() const override { return m_volume; }

private:
    void Start() { Mix_PlayChannel(m_channel, m_chunk, m_repeat ? -1 : 0); }

    std::shared_ptr<CMixerDevice> m_device;
    Mix_Chunk* m_chunk;
    int m_channel;
    bool m_repeat = false;
    float m_volume = 1.0f;
};

std::weak_ptr<CMixerDevice>& OpenedDevice() {
    static std::weak_ptr<CMixerDevice> device;
    return device;
}

bool TryOpen() {
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return false;
    if (Mix_OpenAudio(44100, MIX_DEFAULT_FORMAT, 2, 1024) != 0) {
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return false;
    }
    return true;
}

}  // namespace

AudioDevicePtr OpenDevice() {
    if (auto device = OpenedDevice().lock()) return device;
    if (!TryOpen()) {
        // No sound card (a server, a CI machine): play into SDL's dummy driver.
        SDL_SetHintWithPriority(SDL_HINT_AUDIODRIVER, "dummy", SDL_HINT_OVERRIDE);
        bool opened = TryOpen();
        SDL_ResetHint(SDL_HINT_AUDIODRIVER);
        if (!opened) return nullptr;
    }
    Mix_Init(MIX_INIT_MP3);
    Mix_AllocateChannels(0);
    const char* driver = SDL_GetCurrentAudioDriver();
    auto device = std::make_shared<CMixerDevice>(driver ? driver : "");
    OpenedDevice() = device;
    return device;
}

FilePtr CreateMemoryFile(const void* bytes, std::size_t size) {
    if (!bytes && size) return nullptr;
    return std::make_shared<CMemoryFile>(bytes, size);
}

OutputStreamPtr OpenSound(const AudioDevicePtr& device, const FilePtr& file, bool) {
    auto mixer = std::dynamic_pointer_cast<CMixerDevice>(device);
    if (!mixer || !file || file->GetBytes().empty()) return nullptr;
    const auto& bytes = file->GetBytes();
    SDL_RWops* ops = SDL_RWFromConstMem(bytes.data(), static_cast<int>(bytes.size()));
    if (!ops) return nullptr;
    Mix_Chunk* chunk = Mix_LoadWAV_RW(ops, 1);
    if (!chunk) return nullptr;
    return std::make_shared<CChunkStream>(mixer, chunk);
}

}  // namespace Audio
