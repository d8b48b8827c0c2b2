#include "rules/definitions/journal_texts.h"

#include "common/data_file_reader.h"

namespace DRAV {

void ParseJournal(JournalTextMap& texts, DRAVCommon::CDataFileReader& reader) {
    reader.BeginBlock("journal");
    while (!reader.AtBlockEnd()) {
        std::string key = reader.ReadWord();
        texts.insert_or_assign(std::move(key), reader.ReadQuoted());
    }
    reader.EndBlock();
}

}  // namespace DRAV
