#include "engine/ai_wands_sing.h"

#include <string>
#include <utility>

#include "common/exception.h"

namespace DRAV {
namespace {

std::shared_ptr<CAI> RequireBackup(std::shared_ptr<CAI> backup, const char* aiType) {
    if (!backup) throw CDRAVException(DRAV_ERR_UNEXPECTED, std::string("a ") + aiType + " AI needs a backup AI");
    return backup;
}

// The state block of a wrapping AI holds nothing but its backup AI's block.
void LoadWrapperState(DRAVCommon::CDataFileReader& reader, const char* block, CAI& backup) {
    reader.BeginBlock(block);
    backup.LoadState(reader);
    reader.EndBlock();
}

void SaveWrapperState(DRAVCommon::CDataFileWriter& writer, const char* block, const CAI& backup) {
    writer.BeginBlock(block);
    backup.SaveState(writer);
    writer.EndBlock();
}

}  // namespace

CAIWands::CAIWands(DRAVCommon::CDataFileReader& reader) : m_backup(ReadElement(reader)) {}

CAIWands::CAIWands(std::shared_ptr<CAI> backup) : m_backup(RequireBackup(std::move(backup), "wands")) {}

std::shared_ptr<CAI> CAIWands::Clone() const { return std::make_shared<CAIWands>(m_backup->Clone()); }

void CAIWands::LoadState(DRAVCommon::CDataFileReader& reader) { LoadWrapperState(reader, "ai-wands", *m_backup); }

void CAIWands::SaveState(DRAVCommon::CDataFileWriter& writer) const {
    SaveWrapperState(writer, "ai-wands", *m_backup);
}

CAISing::CAISing(DRAVCommon::CDataFileReader& reader) : m_backup(ReadElement(reader)) {}

CAISing::CAISing(std::shared_ptr<CAI> backup) : m_backup(RequireBackup(std::move(backup), "sing")) {}

std::shared_ptr<CAI> CAISing::Clone() const { return std::make_shared<CAISing>(m_backup->Clone()); }

void CAISing::LoadState(DRAVCommon::CDataFileReader& reader) { LoadWrapperState(reader, "ai-sing", *m_backup); }

void CAISing::SaveState(DRAVCommon::CDataFileWriter& writer) const { SaveWrapperState(writer, "ai-sing", *m_backup); }

}  // namespace DRAV
