#include "common/effect_params.h"

namespace DRAVGraph {

CEffectParams::CEffectParams(DRAVCommon::CDataFileReader& reader) {
    reader.BeginBlock("params");
    m_scale = reader.ReadDouble();
    while (!reader.AtBlockEnd()) m_words.push_back(reader.ReadWordOrEmpty());
    reader.EndBlock();
}

}  // namespace DRAVGraph
