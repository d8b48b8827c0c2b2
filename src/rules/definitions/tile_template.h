#pragma once
// A tile definition of the module: what stands on a footprint of cells (floor,
// empty space, wall, block or door) and the graphic it is drawn with.

#include <cstdint>
#include <memory>
#include <string>

#include "rules/kinds/tile_effect_kinds.h"
#include "script/script.h"

namespace DRAVCommon {
class CDataFileReader;
}

namespace DRAV {

// A footprint covers 1 to this many cells each way: none would leave its cells
// covered by nothing, and no area is wider or deeper (tile ids number a cell row x
// 1000 + column), so a larger one fits nowhere.
inline constexpr std::uint32_t kMostTileCells = 1000;

enum TileFlag : std::uint32_t {
    TILE_FLAG_RESET = 1u << 0,    // an opened door closes again when its area respawns
    TILE_FLAG_NOCLOSE = 1u << 1,  // the door cannot be closed
    TILE_FLAG_OPEN = 1u << 2,     // the door starts open when its area is first built
};

class CTileTemplate {
public:
    CTileTemplate() = default;
    // A definition made from parts (a piece of a multitile); no door values, flags or script.
    CTileTemplate(std::string key, std::string name, TileKind kind, std::string graphicName, std::uint32_t width,
                  std::uint32_t depth);

    // Reads one "tile" element into this empty definition. A missing footprint
    // group, an unknown kind, or a word after a door that is not one of its flag
    // words is code 1; a non-door must end right after its kind.
    void Load(DRAVCommon::CDataFileReader& reader);

    const std::string& GetKey() const { return m_key; }
    const std::string& GetName() const { return m_name; }
    TileKind GetKind() const { return m_kind; }
    const std::string& GetGraphicName() const { return m_graphicName; }
    std::uint32_t GetWidth() const { return m_width; }
    std::uint32_t GetDepth() const { return m_depth; }
    // For a door, the value the view draws it closed with; 0 for other kinds.
    std::uint32_t GetDoorDrawValue() const { return m_doorDrawValue; }
    // The lock of doors without a script; 0 otherwise.
    std::uint32_t GetLockValue() const { return m_lockValue; }
    std::uint32_t GetFlags() const { return m_flags; }
    bool HasFlag(TileFlag flag) const { return (m_flags & flag) != 0; }
    // The door's script, run when the door is used; may be null.
    std::shared_ptr<CScript> GetScript() const { return m_script; }

private:
    void LoadDoor(DRAVCommon::CDataFileReader& reader);

    std::string m_key;
    std::string m_name;
    TileKind m_kind = TILE_FLOOR;
    std::string m_graphicName;
    std::uint32_t m_width = 0;
    std::uint32_t m_depth = 0;
    std::uint32_t m_doorDrawValue = 0;
    std::uint32_t m_lockValue = 0;
    std::uint32_t m_flags = 0;
    std::shared_ptr<CScript> m_script;
};

}  // namespace DRAV
