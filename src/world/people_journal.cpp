#include "world/people_journal.h"

#include "common/data_file_reader.h"
#include "common/data_file_writer.h"
#include "common/exception.h"
#include "rules/monsters/actor_names.h"
#include "script/script_limits.h"
#include "world/saved_word.h"

namespace DRAV {

void CPeopleJournalEntry::WriteDescription(std::ostream& out) const {
    out << "Location: " << m_location << " LINE " << " LINE ";
    for (const std::string& note : m_notes) out << note << " LINE ";
}

void CPeopleJournalEntry::AddNote(std::string note) {
    if (m_notes.size() >= kPersonNoteLimit) m_notes.erase(m_notes.begin(), m_notes.end() - (kPersonNoteLimit - 1));
    m_notes.push_back(std::move(note));
}

void AddPeopleJournalEntry(PeopleJournal& people, const std::string& personKey, const std::string& displayName,
                           const std::string& areaName, const std::string& text) {
    RequireSavableWord(personKey, "person key");
    std::string note = SavableLine(text);
    auto found = people.find(personKey);
    if (found == people.end())
        found = people.emplace(personKey, std::make_shared<CPeopleJournalEntry>(personKey, displayName)).first;
    found->second->SetLocation(areaName);
    found->second->AddNote(std::move(note));
}

void SavePeopleJournal(const PeopleJournal& people, DRAVCommon::CDataFileWriter& writer) {
    writer.BeginBlock("people");
    for (const auto& [key, person] : people) {
        writer.BeginBlock("entry");
        writer.WriteWord(key);
        writer.WriteQuoted(person->GetName());
        writer.WriteQuoted(person->GetLocation());
        for (const std::string& note : person->GetNotes()) writer.WriteQuoted(note);
        writer.EndBlock();
    }
    writer.EndBlock();
}

void LoadPeopleJournal(PeopleJournal& people, DRAVCommon::CDataFileReader& reader, const std::set<std::string>& keys) {
    people.clear();
    reader.BeginBlock("people");
    while (!reader.AtBlockEnd()) {
        reader.BeginBlock("entry");
        std::string key = reader.ReadWord();
        if (!keys.count(key)) reader.Fail(DRAV_ERR_BAD_DATA, "no monster is known as " + NamedWord(key));
        // The name of the actor who spoke, as the module gives it.
        std::string name = KeptName(reader, reader.ReadQuoted(kActorNameLimit, "a person's name"), "a person's name");
        auto person = std::make_shared<CPeopleJournalEntry>(key, std::move(name));
        // The display name of an area, as a module gives it.
        person->SetLocation(reader.ReadQuoted(kExpandedTextLimit, "a person's place"));
        while (!reader.AtBlockEnd()) {
            std::string note = reader.ReadQuoted(kExpandedTextLimit, "a note");
            person->AddNote(std::move(note));
        }
        reader.EndBlock();
        people.insert_or_assign(std::move(key), std::move(person));
    }
    reader.EndBlock();
}

}  // namespace DRAV
