#pragma once
// The light a graphic carries: a point light at some height above the thing.

#include <cstdint>

#include "common/data_file_reader.h"

namespace DRAVGraph {

class CLight {
public:
    // "<light>" HEIGHT ( RED GREEN BLUE ) [FLICKER] "</light>"; channels are 0-255ths.
    explicit CLight(DRAVCommon::CDataFileReader& reader);

    double GetHeight() const { return m_height; }
    float GetRed() const { return m_red; }
    float GetGreen() const { return m_green; }
    float GetBlue() const { return m_blue; }
    // Percent by which the brightness may dip each frame; 0 is steady.
    std::uint32_t GetFlicker() const { return m_flicker; }

private:
    double m_height = 0.0;
    float m_red = 0.0f, m_green = 0.0f, m_blue = 0.0f;
    std::uint32_t m_flicker = 0;
};

}  // namespace DRAVGraph
