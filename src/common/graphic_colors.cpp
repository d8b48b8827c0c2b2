#include "common/graphic_colors.h"

#include "common/exception.h"

namespace DRAVGraph {
namespace {

const char* const kNames[CGraphicColors::COUNT] = {"HAIR", "SKIN", "TRIM"};

}  // namespace

CGraphicColors::CGraphicColors(DRAVCommon::CDataFileReader& reader) {
    reader.BeginBlock("color");
    while (!reader.AtBlockEnd()) {
        Index index;
        try {
            index = IndexFromName(reader.GetToken());
        } catch (const CDRAVException& e) {
            reader.Fail(e.GetCode(), "expected HAIR, SKIN or TRIM");
        }
        reader.Advance();
        reader.ReadColour(m_colors[index]);
    }
    reader.EndBlock();
}

CGraphicColors::Index CGraphicColors::IndexFromName(const std::string& name) {
    for (std::uint32_t i = 0; i < COUNT; ++i)
        if (name == kNames[i]) return static_cast<Index>(i);
    throw CDRAVException(DRAV_ERR_OUT_OF_RANGE, "\"" + name + "\" is not a colour name (HAIR, SKIN or TRIM)");
}

void CGraphicColors::Save(DRAVCommon::CDataFileWriter& writer) const {
    writer.BeginBlock("color");
    for (std::uint32_t i = 0; i < COUNT; ++i) {
        writer.WriteWord(kNames[i]);
        writer.WriteParenthesis('(');
        writer.WriteValue(m_colors[i] >> 16 & 0xFF);
        writer.WriteValue(m_colors[i] >> 8 & 0xFF);
        writer.WriteValue(m_colors[i] & 0xFF);
        writer.WriteParenthesis(')');
    }
    writer.EndBlock();
}

}  // namespace DRAVGraph
