#pragma once
// The people the party has talked to: who, where they last spoke, and everything
// they said; with its saved "people" element.

#include <cstddef>
#include <map>
#include <ostream>
#include <set>
#include <memory>
#include <string>
#include <vector>

namespace DRAVCommon {
class CDataFileReader;
class CDataFileWriter;
}

namespace DRAV {

// Notes a person's page keeps, the latest: more than anyone says in a chapter, yet
// a script that chatters every heartbeat cannot grow the save without end.
constexpr std::size_t kPersonNoteLimit = 256;

class CPeopleJournalEntry {
public:
    // No location and no notes yet.
    CPeopleJournalEntry(std::string personKey, std::string name)
        : m_personKey(std::move(personKey)), m_name(std::move(name)) {}

    const std::string& GetPersonKey() const { return m_personKey; }
    const std::string& GetName() const { return m_name; }
    const std::string& GetLocation() const { return m_location; }
    const std::vector<std::string>& GetNotes() const { return m_notes; }

    void SetLocation(std::string location) { m_location = std::move(location); }
    // The journal page of the person: where they were met, then every note, one a line.
    void WriteDescription(std::ostream& out) const;
    // Past the limit the oldest note goes.
    void AddNote(std::string note);

private:
    std::string m_personKey;
    std::string m_name;
    std::string m_location;
    std::vector<std::string> m_notes;
};

// By person key: the partner actor's name word.
using PeopleJournal = std::map<std::string, std::shared_ptr<CPeopleJournalEntry>>;

// Records that the person `personKey` (shown as `displayName` when first met) said
// `text` in the area shown as `areaName`. Double quotes in the text are kept as
// single quotes and line breaks as blanks; a person key that is not one savable
// word is code 2 and records nothing.
void AddPeopleJournalEntry(PeopleJournal& people, const std::string& personKey, const std::string& displayName,
                           const std::string& areaName, const std::string& text);

void SavePeopleJournal(const PeopleJournal& people, DRAVCommon::CDataFileWriter& writer);

// Replaces `people` with the entries of a "people" element, each with its latest
// notes. Code 1 for a page whose key is none of `keys`, the name words of the
// module's monster definitions, or for a note longer than any line a person says.
void LoadPeopleJournal(PeopleJournal& people, DRAVCommon::CDataFileReader& reader, const std::set<std::string>& keys);

}  // namespace DRAV
