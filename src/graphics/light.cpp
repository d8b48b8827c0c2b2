#include "graphics/light.h"

namespace DRAVGraph {

CLight::CLight(DRAVCommon::CDataFileReader& reader) {
    reader.BeginBlock("light");
    m_height = reader.ReadDouble();
    reader.BeginGroup(3, false);
    m_red = static_cast<float>(reader.ReadUInt()) / 256.0f;
    m_green = static_cast<float>(reader.ReadUInt()) / 256.0f;
    m_blue = static_cast<float>(reader.ReadUInt()) / 256.0f;
    if (!reader.AtBlockEnd()) m_flicker = reader.ReadUInt();
    reader.EndBlock();
}

}  // namespace DRAVGraph
