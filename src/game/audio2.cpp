#include "game/audio2.h"

#include "common/exception.h"
#include "common/trace.h"
#include "game/identity.h"
#include "platform/win32/shell.h"

const std::array<const char*, kEffectCount> kEffectFiles = {
    "click.wav",      "inventory.wav",    "cash.wav",         "quest.wav",      "door.wav",
    "locked.wav",     "unlock.wav",       "melee_miss.wav",   "melee_hit.wav",  "shoot.wav",
    "death.wav",      "spell.wav",        "spell_aid.wav",    "spell_attack.wav", "spell_summon.wav",
    "spell_teleport.wav", "song.wav",     "sneakon.wav",      "sneakoff.wav",   "footsteps.wav",
};

const std::array<int, kSoundIdCount> kSoundEffects = {
    0, 1, 2, 2, 3, 4, 5, 6, 7, 8, 10, 9, 7, 8, 11, 13, 12, 14, 15, 16, 17, 18,
};

int SoundIdForEventCode(int code) {
    // Game sound codes 1-34; the gaps play nothing.
    static constexpr int kTable[35] = {
        -1,                                  // 0
        5,  7,  5,  11, -1, -1, -1, -1, -1,  // 1-9
        -1, -1, 14, 18, -1, 19, 20, 21, -1,  // 10-18
        -1, -1, -1, -1, -1, 2,  4,  6,  8,   // 19-27
        9,  12, 13, 10, 15, 16, 17,          // 28-34
    };
    return code >= 1 && code <= 34 ? kTable[code] : -1;
}

CDRAVAudio2::CDRAVAudio2(std::shared_ptr<DRAVCommon::CDataFileFactory> package)
    : m_package(std::move(package)), m_device(Audio::OpenDevice()) {
    if (!m_device) throw CDRAVException(DRAV_ERR_OUT_OF_RANGE, "no audio device");
    for (int effect = 0; effect < kEffectCount; ++effect) {
        Audio::OutputStreamPtr stream = OpenFile(kEffectFiles[static_cast<std::size_t>(effect)], false);
        if (effect == kFootstepsEffect) stream->setRepeat(true);
        m_effects.push_back(std::move(stream));
    }
    DWORD type = 0;
    DWORD value = 0;
    DWORD size = sizeof value;
    std::string key = GetRegistryKey();
    if (SHGetValueA(HKEY_CURRENT_USER, key.c_str(), "Volume", &type, &value, &size) == ERROR_SUCCESS &&
        type == REG_DWORD && size == 4)
        m_volume = value <= 100u ? static_cast<int>(value) : 100;
}

// The ambient stream goes first, then the effects, then the device.
CDRAVAudio2::~CDRAVAudio2() {
    m_ambient.reset();
    m_effects.clear();
    m_device.reset();
}

Audio::OutputStreamPtr CDRAVAudio2::OpenFile(const std::string& name, bool streaming) {
    std::shared_ptr<DRAVCommon::ByteVector> bytes = m_package->ReadAll(DRAVCommon::DFK_AUDIO, DRAVCommon::DFS_NONE, name);
    if (!bytes || bytes->empty()) throw CDRAVException(DRAV_ERR_BAD_DATA, "empty sound file " + name);
    Audio::OutputStreamPtr stream =
        Audio::OpenSound(m_device, Audio::CreateMemoryFile(bytes->data(), bytes->size()), streaming);
    if (!stream) throw CDRAVException(DRAV_ERR_BAD_DATA, "sound file does not decode: " + name);
    return stream;
}

std::string CDRAVAudio2::GetRegistryKey() { return "SOFTWARE\\" + GetCompanyName() + "\\" + GetProductTitle(); }

void CDRAVAudio2::SetVolume(int percent) {
    if (percent == m_volume) return;
    m_volume = percent;
    m_effects[kFootstepsEffect]->setVolume(static_cast<float>(percent / 100.0));
    if (m_ambient) m_ambient->setVolume(static_cast<float>(percent / 100.0));
    DWORD value = static_cast<DWORD>(m_volume);
    std::string key = GetRegistryKey();
    // A volume that cannot be stored still applies for this run.
    SHSetValueA(HKEY_CURRENT_USER, key.c_str(), "Volume", REG_DWORD, &value, 4);
}

void CDRAVAudio2::PlaySound(int soundId) {
    if (soundId < 0 || soundId >= kSoundIdCount)
        throw CDRAVException(DRAV_ERR_OUT_OF_RANGE, "sound id " + std::to_string(soundId));
    const Audio::OutputStreamPtr& stream = m_effects[static_cast<std::size_t>(kSoundEffects[static_cast<std::size_t>(soundId)])];
    stream->stop();
    stream->reset();
    stream->setVolume(static_cast<float>(m_volume / 100.0));
    stream->play();
}

void CDRAVAudio2::SetFootsteps(bool on) {
    if (on == m_footstepsOn) return;
    m_footstepsOn = on;
    const Audio::OutputStreamPtr& footsteps = m_effects[kFootstepsEffect];
    if (!on) {
        footsteps->stop();
        return;
    }
    footsteps->reset();
    footsteps->setVolume(static_cast<float>(m_volume / 100.0));
    footsteps->play();
}

void CDRAVAudio2::PlayAmbientFx(const std::string& name) {
    DRAV_TRACE(DRAVCommon::TRACE_LOW, "begin %s\n", name.c_str());
    if (name == m_ambientName && m_ambient) return;
    m_ambientName = name;
    Audio::OutputStreamPtr stream = OpenFile(name, true);
    m_ambient = std::move(stream);
    m_ambient->setRepeat(true);
    m_ambient->setVolume(static_cast<float>(m_volume / 100.0));
    m_ambient->play();
}

void CDRAVAudio2::StopAmbientFx() {
    if (!m_ambient) return;
    m_ambient->stop();
    m_ambient.reset();
}

std::shared_ptr<IDRAVAudio2> MakeAudio(std::shared_ptr<DRAVCommon::CDataFileFactory> package) {
    return std::make_shared<CDRAVAudio2>(std::move(package));
}
