#pragma once
// The trap or trigger of an object definition. Every object made from the
// definition gets its own clone, whose hidden flag and ready tick change in play.

#include <cstdint>
#include <memory>
#include <string>

#include "script/script.h"

namespace DRAVCommon {
class CDataFileReader;
}

namespace DRAV {

class CTrap {
public:
    CTrap() = default;

    // A copy with the same definition values and the same script object, ready at once.
    std::shared_ptr<CTrap> Clone() const;

    // 0 means the trap can be neither detected nor disarmed.
    std::uint32_t GetDifficulty() const { return m_difficulty; }
    // Stands in for a caster's level when the trap's spell is launched.
    std::int32_t GetSpellLevel() const { return m_spellLevel; }
    // Empty when the trap casts no spell.
    const std::string& GetSpellKey() const { return m_spellKey; }
    const std::shared_ptr<CScript>& GetScript() const { return m_script; }
    // Seconds until the trap can spring again; 0.0 means it fires once and its object goes.
    double GetRearmDelay() const { return m_rearmDelay; }

    bool IsHidden() const { return m_hidden; }
    void SetHidden(bool hidden) { m_hidden = hidden; }
    // The game tick before which the trap does not spring.
    std::uint32_t GetReadyTick() const { return m_readyTick; }
    void SetReadyTick(std::uint32_t tick) { m_readyTick = tick; }

private:
    friend void ReadTrap(DRAVCommon::CDataFileReader& reader, CTrap& trap);
    friend void ReadTrigger(DRAVCommon::CDataFileReader& reader, CTrap& trap, const std::string& objectName);

    std::uint32_t m_difficulty = 0;
    std::int32_t m_spellLevel = 0;
    std::string m_spellKey;
    std::shared_ptr<CScript> m_script;
    double m_rearmDelay = 0.0;
    bool m_hidden = true;
    std::uint32_t m_readyTick = 0;
};

// Reads a "trap" element: hidden flag, difficulty, spell level, then a "lua"
// element or a spell key ("0" for none), then the re-arm delay.
void ReadTrap(DRAVCommon::CDataFileReader& reader, CTrap& trap);

// Reads a "trigger" element: a tag, an optional group of special-statistic key and
// check value, and a text. The trap gets the generated script that shows the text
// in a box titled `objectName` and sets the tag; it re-arms after a minute.
void ReadTrigger(DRAVCommon::CDataFileReader& reader, CTrap& trap, const std::string& objectName);

}  // namespace DRAV
