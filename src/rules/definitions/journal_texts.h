#pragma once
// The module's journal texts, by journal key.

#include <map>
#include <string>

namespace DRAVCommon {
class CDataFileReader;
}

namespace DRAV {

using JournalTextMap = std::map<std::string, std::string>;

// Reads a "journal" element of key and quoted text pairs into `texts`; a later
// pair replaces the text of an earlier one with the same key.
void ParseJournal(JournalTextMap& texts, DRAVCommon::CDataFileReader& reader);

}  // namespace DRAV
