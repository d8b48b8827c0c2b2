#include "world/journal_entry.h"

#include "common/data_file_reader.h"
#include "common/data_file_writer.h"
#include "world/saved_word.h"

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
        RequireSavedWord(reader, journalKey, "journal key");
        std::string questKey = reader.ReadWordOrEmpty();
        RequireSavedWord(reader, questKey, "quest key");
        const std::uint32_t tick = reader.ReadUInt();
        if (journal.size() == kJournalEntryLimit) journal.erase(journal.begin());
        journal.push_back(std::make_shared<CJournalEntry>(std::move(journalKey), std::move(questKey), tick));
    }
    reader.EndBlock();
}

}  // namespace DRAV
