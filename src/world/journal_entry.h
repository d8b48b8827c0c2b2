#pragma once
// The journal texts the party has received, in order of arrival, and their saved
// "journal" element.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace DRAVCommon {
class CDataFileReader;
class CDataFileWriter;
}

namespace DRAV {

class CJournalEntry {
public:
    CJournalEntry(std::string journalKey, std::string questKey, std::uint32_t tick)
        : m_journalKey(std::move(journalKey)), m_questKey(std::move(questKey)), m_tick(tick) {}

    // Key of the text in the module's journal table.
    const std::string& GetJournalKey() const { return m_journalKey; }
    // The quest the entry belongs to; may be empty.
    const std::string& GetQuestKey() const { return m_questKey; }
    // The game's tick when the entry arrived.
    std::uint32_t GetTick() const { return m_tick; }

private:
    std::string m_journalKey;
    std::string m_questKey;
    std::uint32_t m_tick;
};

using JournalState = std::vector<std::shared_ptr<CJournalEntry>>;

// Entries the journal keeps, the latest: far more than a chapter's quests write,
// yet a script that writes one every heartbeat cannot grow the save without end.
constexpr std::size_t kJournalEntryLimit = 2048;

void SaveJournalState(const JournalState& journal, DRAVCommon::CDataFileWriter& writer);

// Replaces `journal` with the entries of a "journal" element, the latest
// kJournalEntryLimit of them; code 1 for a key no save keeps (IsSavableWord).
void LoadJournalState(JournalState& journal, DRAVCommon::CDataFileReader& reader);

}  // namespace DRAV
