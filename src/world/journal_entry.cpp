#include "world/journal_entry.h"

#include "common/data_file_reader.h"
#include "common/data_file_writer.h"

namespace DRAV {

void SaveJournalState(const JournalState& journal, DRAVCommon::CDataFileWriter& writer) {
    writer.BeginBlock("journal");
    for (const auto& entry : journal) {
        writer.WriteWord(entry->GetJournalKey());
        writer.WriteWord(entry->GetQuestKey());
        writer.WriteValue(entry->GetTick());
    }
    writer.EndBlock();
}

void LoadJournalState(JournalState& journal, DRAVCommon::CDataFileReader& reader) {
    journal.clear();
    reader.BeginBlock("journal");
    while (!reader.AtBlockEnd()) {
        std::string journalKey = reader.ReadWord();
        std::string questKey = reader.ReadWordOrEmpty();
        const std::uint32_t tick = reader.ReadUInt();
        if (journal.size() == kJournalEntryLimit) journal.erase(journal.begin());
        journal.push_back(std::make_shared<CJournalEntry>(std::move(journalKey), std::move(questKey), tick));
    }
    reader.EndBlock();
}

}  // namespace DRAV
