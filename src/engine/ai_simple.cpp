#include "engine/ai_simple.h"

#include "common/exception.h"

namespace DRAV {
namespace {

// Reads words up to the end of the enclosing element; each must be `allowed`.
// Returns whether it was given at least once.
bool ReadOptionWords(DRAVCommon::CDataFileReader& reader, const std::string& allowed, const char* aiType) {
    bool given = false;
    while (!reader.AtBlockEnd()) {
        if (!reader.IsWord(allowed))
            reader.Fail(DRAV_ERR_BAD_DATA, std::string("the ") + aiType + " AI takes only the word \"" + allowed + "\"");
        reader.Advance();
        given = true;
    }
    return given;
}

}  // namespace

CAIStand::CAIStand(DRAVCommon::CDataFileReader& reader) : m_sneak(ReadOptionWords(reader, "sneak", "stand")) {}

std::shared_ptr<CAI> CAIStand::Clone() const { return std::make_shared<CAIStand>(m_sneak); }

CAICharge::CAICharge(DRAVCommon::CDataFileReader& reader)
    : m_flags(ReadOptionWords(reader, "spellcaster", "charge") ? TARGET_PREFER_CASTERS : 0u) {}

std::shared_ptr<CAI> CAICharge::Clone() const { return std::make_shared<CAICharge>(m_flags); }

CAIForceTalk::CAIForceTalk(DRAVCommon::CDataFileReader& reader) : m_range(reader.ReadUInt()) {
    while (!reader.AtBlockEnd()) {
        if (reader.IsAnyBlockStart()) reader.Fail(DRAV_ERR_BAD_DATA, "expected a tag name of the forcetalk AI");
        m_tags.push_back(reader.ReadWord());
    }
}

std::shared_ptr<CAI> CAIForceTalk::Clone() const { return std::make_shared<CAIForceTalk>(m_range, m_tags); }

std::shared_ptr<CAI> CAIWander::Clone() const { return std::make_shared<CAIWander>(m_radius, m_homeX, m_homeY); }

void CAIWander::LoadState(DRAVCommon::CDataFileReader& reader) {
    reader.BeginBlock("ai-wander");
    m_homeX = reader.ReadDouble();
    m_homeY = reader.ReadDouble();
    reader.EndBlock();
}

void CAIWander::SaveState(DRAVCommon::CDataFileWriter& writer) const {
    writer.BeginBlock("ai-wander");
    writer.WriteDouble(m_homeX);
    writer.WriteDouble(m_homeY);
    writer.EndBlock();
}

std::shared_ptr<CAI> CAIShoot::Clone() const { return std::make_shared<CAIShoot>(); }

std::shared_ptr<CAI> CAIFollowParty::Clone() const { return std::make_shared<CAIFollowParty>(); }

}  // namespace DRAV
