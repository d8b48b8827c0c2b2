#include "graphics/light.h"

#include <cmath>
#include <string>

#include "common/exception.h"

namespace DRAVGraph {

CLight::CLight(DRAVCommon::CDataFileReader& reader) {
    reader.BeginBlock("light");
    m_height = reader.ReadDouble();
    // The light falls off by 1 / height: it must stand above the ground.
    if (!(m_height > 0.0) || !std::isfinite(m_height))
        reader.Fail(DRAV_ERR_BAD_DATA, "a light's height must be above 0");
    reader.BeginGroup(3, false);
    m_red = static_cast<float>(reader.ReadUInt()) / 256.0f;
    m_green = static_cast<float>(reader.ReadUInt()) / 256.0f;
    m_blue = static_cast<float>(reader.ReadUInt()) / 256.0f;
    if (!reader.AtBlockEnd()) m_flicker = reader.ReadUInt();
    // A flicker takes up to that percentage off the light; past 100 it would be negative.
    if (m_flicker > 100) reader.Fail(DRAV_ERR_BAD_DATA, "a light's flicker is at most 100, not " + std::to_string(m_flicker));
    reader.EndBlock();
}

}  // namespace DRAVGraph
