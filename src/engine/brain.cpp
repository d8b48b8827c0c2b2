#include "engine/brain.h"

#include "common/exception.h"
#include "rules/vocabulary/read_word.h"

namespace DRAV {
namespace {

std::vector<std::string> ReadTags(DRAVCommon::CDataFileReader& reader) {
    std::vector<std::string> tags;
    reader.BeginBlock("tags");
    while (!reader.AtBlockEnd()) {
        if (reader.IsAnyBlockStart()) reader.Fail(DRAV_ERR_BAD_DATA, "expected a tag name");
        tags.push_back(reader.ReadWord());
    }
    reader.EndBlock();
    return tags;
}

}  // namespace

void CBrain::Load(DRAVCommon::CDataFileReader& reader) {
    reader.BeginBlock("brain");
    m_relation = ReadParsedWord(reader, "the brain's relation", ParseRelation);
    m_hostileWhenAttacked = reader.ReadBool();
    if (reader.IsBlock("proximity")) {
        reader.BeginBlock("proximity");
        m_proximityRange = reader.ReadDouble();
        m_proximityTag = reader.ReadWordOrEmpty();
        reader.EndBlock();
    } else {
        m_proximityRange = reader.ReadDouble();
        m_proximityTag.clear();
    }
    m_triggerTags = ReadTags(reader);
    m_fireTags = ReadTags(reader);
    m_peacefulAI = CAI::ReadElement(reader);
    m_combatAI = CAI::ReadElement(reader);
    reader.EndBlock();
    m_equipped = false;
}

std::shared_ptr<CBrain> CBrain::Clone() const {
    auto copy = std::make_shared<CBrain>();
    copy->m_relation = m_relation;
    copy->m_hostileWhenAttacked = m_hostileWhenAttacked;
    copy->m_proximityRange = m_proximityRange;
    copy->m_proximityTag = m_proximityTag;
    copy->m_triggerTags = m_triggerTags;
    copy->m_fireTags = m_fireTags;
    if (m_peacefulAI) copy->m_peacefulAI = m_peacefulAI->Clone();
    if (m_combatAI) copy->m_combatAI = m_combatAI->Clone();
    return copy;
}

void CBrain::LoadState(DRAVCommon::CDataFileReader& reader) {
    reader.BeginBlock("brain");
    m_equipped = reader.ReadBool();
    if (m_peacefulAI) m_peacefulAI->LoadState(reader);
    if (m_combatAI) m_combatAI->LoadState(reader);
    reader.EndBlock();
}

void CBrain::SaveState(DRAVCommon::CDataFileWriter& writer) const {
    writer.BeginBlock("brain");
    writer.WriteWord(m_equipped ? "true" : "false");
    if (m_peacefulAI) m_peacefulAI->SaveState(writer);
    if (m_combatAI) m_combatAI->SaveState(writer);
    writer.EndBlock();
}

}  // namespace DRAV
