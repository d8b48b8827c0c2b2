#include "world/tag_map.h"

#include "common/data_file_reader.h"
#include "common/data_file_writer.h"
#include "common/exception.h"
#include "world/saved_word.h"

namespace DRAV {

void SaveTagMap(const TagMap& tags, DRAVCommon::CDataFileWriter& writer) {
    for (const auto& [name, value] : tags) {
        writer.BeginGroup(2);
        writer.WriteWord(name);
        writer.WriteValue(value);
    }
}

void LoadTagMap(TagMap& tags, DRAVCommon::CDataFileReader& reader, std::size_t most, const std::string& what) {
    while (!reader.AtBlockEnd()) {
        if (!reader.BeginGroup(2, false)) reader.Fail(DRAV_ERR_BAD_DATA, "expected a ( tag value ) group");
        std::string name = reader.ReadWord();
        RequireSavedWord(reader, name, what);
        tags.insert_or_assign(std::move(name), reader.ReadInt());
        if (tags.size() > most) reader.Fail(DRAV_ERR_BAD_DATA, "more than " + std::to_string(most) + " names");
    }
}

void RequireRoomFor(const TagMap& names, const std::string& name, std::size_t limit, const std::string& what) {
    if (names.count(name)) return;
    if (names.size() >= limit)
        throw CDRAVException(DRAV_ERR_OUT_OF_RANGE, "the game holds " + std::to_string(limit) + " " + what +
                                                        "s, as many as scripts may add");
}

}  // namespace DRAV
