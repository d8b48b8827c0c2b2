#include "world/tag_map.h"

#include "common/data_file_reader.h"
#include "common/data_file_writer.h"
#include "common/exception.h"

namespace DRAV {

void SaveTagMap(const TagMap& tags, DRAVCommon::CDataFileWriter& writer) {
    for (const auto& [name, value] : tags) {
        writer.BeginGroup(2);
        writer.WriteWord(name);
        writer.WriteValue(value);
    }
}

void LoadTagMap(TagMap& tags, DRAVCommon::CDataFileReader& reader) {
    while (!reader.AtBlockEnd()) {
        if (!reader.BeginGroup(2, false)) reader.Fail(DRAV_ERR_BAD_DATA, "expected a ( tag value ) group");
        std::string name = reader.ReadWord();
        tags.insert_or_assign(std::move(name), reader.ReadInt());
    }
}

}  // namespace DRAV
