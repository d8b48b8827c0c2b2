#include "rules/magic/spell_list.h"

#include <algorithm>

#include "common/exception.h"
#include "rules/vocabulary/read_word.h"

namespace DRAV {

void WriteSpellList(const SpellList& list, DRAVCommon::CDataFileWriter& writer) {
    writer.BeginBlock("spells");
    for (const CSpell* spell : list) writer.WriteWord(spell->GetKey());
    writer.EndBlock();
}

void ReadSpellList(SpellList& list, DRAVCommon::CDataFileReader& reader, const SpellMap& spells) {
    reader.BeginBlock("spells");
    while (!reader.AtBlockEnd()) {
        const CSpell* spell =
            ReadParsedWord(reader, "a spell key", [&](const std::string& key) { return &GetSpell(spells, key); });
        if (std::find(list.begin(), list.end(), spell) == list.end()) list.push_back(spell);
    }
    reader.EndBlock();
}

}  // namespace DRAV
