#pragma once
// A kind of object a module defines once and areas place many times: chests,
// piles, signposts, safes, talking statues, trapped things and exit markers.

#include <cstdint>
#include <memory>
#include <string>

#include "rules/definitions/talk_state.h"
#include "rules/definitions/trap.h"
#include "rules/kinds/tile_effect_kinds.h"

namespace DRAVCommon {
class CDataFileReader;
}

namespace DRAV {

class CObjectTemplate {
public:
    CObjectTemplate() = default;

    // Reads one "object" element into this empty definition. A kind other than
    // floor, empty or solid is code 2; data ending before the kind, or a word
    // among the optional parts that is not a flag, is code 1.
    void Load(DRAVCommon::CDataFileReader& reader);

    const std::string& GetKey() const { return m_key; }
    const std::string& GetName() const { return m_name; }
    // Empty when the definition gives no signpost text.
    const std::string& GetSignText() const { return m_signText; }
    TileKind GetKind() const { return m_kind; }
    // Empty when the file gives "0".
    const std::string& GetGraphicName() const { return m_graphicName; }

    bool IsContainer() const { return m_container; }
    bool IsSignpost() const { return m_signpost; }
    bool IsSafe() const { return m_safe; }

    // World units; width lies along x for facings north and south, along y otherwise.
    double GetWidth() const { return m_width; }
    double GetDepth() const { return m_depth; }
    double GetHeight() const { return m_height; }

    // Shared by every object of the definition; empty when it has no "talk".
    const TalkStateList& GetTalkStates() const { return m_talkStates; }
    // May be null. Objects clone it, so this one is never sprung.
    const std::shared_ptr<CTrap>& GetTrap() const { return m_trap; }

    // Empty when the object makes no ambient sound.
    const std::string& GetSoundName() const { return m_soundName; }
    double GetSoundRadius() const { return m_soundRadius; }

private:
    void ReadName(DRAVCommon::CDataFileReader& reader);
    void ReadOptionalPart(DRAVCommon::CDataFileReader& reader);

    std::string m_key;
    std::string m_name;
    std::string m_signText;
    TileKind m_kind = TILE_FLOOR;
    std::string m_graphicName;
    bool m_container = false;
    bool m_signpost = false;
    bool m_safe = false;
    double m_width = 0.0;
    double m_depth = 0.0;
    double m_height = 0.0;
    TalkStateList m_talkStates;
    std::shared_ptr<CTrap> m_trap;
    std::string m_soundName;
    double m_soundRadius = 0.0;
};

}  // namespace DRAV
