#pragma once
// The colour set of a character or monster: the hair, skin and trim colours that
// recolour the marked parts of its textures.

#include <array>
#include <cstdint>
#include <string>

#include "common/data_file_reader.h"
#include "common/data_file_writer.h"

namespace DRAVGraph {

class CGraphicColors {
public:
    enum Index : std::uint32_t { HAIR = 0, SKIN = 1, TRIM = 2, COUNT = 3 };

    // Every colour starts black.
    CGraphicColors() = default;
    // Reads a "color" block; entries it does not list stay black.
    explicit CGraphicColors(DRAVCommon::CDataFileReader& reader);

    // "HAIR", "SKIN", "TRIM"; anything else is code 2.
    static Index IndexFromName(const std::string& name);

    void Save(DRAVCommon::CDataFileWriter& writer) const;

    // 0x00RRGGBB.
    std::uint32_t GetColor(Index index) const { return m_colors.at(index); }
    void SetColor(Index index, std::uint32_t color) { m_colors.at(index) = color; }

    bool operator==(const CGraphicColors&) const = default;

private:
    std::array<std::uint32_t, COUNT> m_colors{};
};

}  // namespace DRAVGraph
