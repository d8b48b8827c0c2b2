#include "world/save_head.h"

#include "common/data_file_reader.h"
#include "common/exception.h"
#include "rules/monsters/actor_names.h"

namespace DRAV {

CSaveHead ReadSaveHead(DRAVCommon::CDataFileReader& reader) {
    CSaveHead head;
    head.chapter = reader.ReadInt();
    head.won = reader.ReadBool();
    head.path = reader.ReadQuotedBytes(kSavedPathLimit, "a path");
    head.name = reader.ReadQuoted(kHeroNameLimit, "the main character's name");
    if (const std::string fault = HeroNameFault(head.name); !fault.empty())
        reader.Fail(DRAV_ERR_BAD_DATA, "the main character's name " + fault);
    head.title = reader.ReadQuoted(kSaveTitleLimit, "a title");
    // Saves of a won chapter made before the ending was kept have none.
    if (reader.IsBlock("ending")) {
        reader.BeginBlock("ending");
        head.ending = reader.ReadQuoted(kExpandedTextLimit, "an ending");
        reader.EndBlock();
    }
    return head;
}

}  // namespace DRAV
