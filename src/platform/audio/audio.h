#pragma once
// The sound library the game plays through, over SDL2_mixer: one output device,
// sounds opened from WAV or MP3 files held in memory, and output streams that
// play, stop (keeping their place), reset to the start, repeat and take a volume.
// Objects are shared and live while anything holds them; the device closes with
// its last holder. With no sound device the device is opened on SDL's dummy
// driver, so every call still works and nothing is heard.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace Audio {

class AudioDevice {
public:
    virtual ~AudioDevice() = default;
    // The SDL audio driver the device plays on ("dummy" when there was no device).
    virtual std::string GetDriverName() const = 0;
};

class File {
public:
    virtual ~File() = default;
    virtual const std::vector<std::uint8_t>& GetBytes() const = 0;
};

class OutputStream {
public:
    virtual ~OutputStream() = default;
    virtual void play() = 0;
    // Pauses; the next play goes on from the same place.
    virtual void stop() = 0;
    // Back to the start; a playing stream plays on from there.
    virtual void reset() = 0;
    virtual bool isPlaying() const = 0;
    virtual void setRepeat(bool repeat) = 0;
    virtual bool getRepeat() const = 0;
    // 0.0 silent to 1.0 full; values outside are clamped.
    virtual void setVolume(float volume) = 0;
    virtual float getVolume() const = 0;
};

using AudioDevicePtr = std::shared_ptr<AudioDevice>;
using FilePtr = std::shared_ptr<File>;
using OutputStreamPtr = std::shared_ptr<OutputStream>;

// The default device; null when not even the dummy driver opens.
AudioDevicePtr OpenDevice();

// A copy of the bytes.
FilePtr CreateMemoryFile(const void* bytes, std::size_t size);

// A WAV or MP3 file opened for playing on the device; null when it does not
// decode. A sound is decoded whole either way: `streaming` is accepted for the
// callers that ask for it.
OutputStreamPtr OpenSound(const AudioDevicePtr& device, const FilePtr& file, bool streaming);

}  // namespace Audio
