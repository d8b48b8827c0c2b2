#include "common/data_file.h"

#include <array>

#include "common/exception.h"

namespace DRAVCommon {
namespace {

const std::array<std::string, DFK_COUNT> kKindNames = {
    "_chapter_", "_global_", "actor", "effect", "item", "map",
    "object",    "sky",      "tile",  "audio",  "icon", "ui",
};

const std::array<std::string, DFS_COUNT> kSubkindNames = {"", "fig", "mod", "tex"};

}  // namespace

const std::string& DataFileKindName(DataFileKind kind) {
    if (kind >= DFK_COUNT)
        throw CDRAVException(DRAV_ERR_OUT_OF_RANGE, "data-file kind " + std::to_string(kind) + " is not a kind");
    return kKindNames[kind];
}

const std::string& DataFileSubkindName(DataFileSubkind subkind) {
    if (subkind >= DFS_COUNT)
        throw CDRAVException(DRAV_ERR_OUT_OF_RANGE,
                             "data-file subkind " + std::to_string(subkind) + " is not a subkind");
    return kSubkindNames[subkind];
}

DataFileKind DataFileKindFromName(const std::string& name) {
    for (std::size_t i = 0; i < kKindNames.size(); ++i)
        if (kKindNames[i] == name) return static_cast<DataFileKind>(i);
    throw CDRAVException(DRAV_ERR_OUT_OF_RANGE, "\"" + name + "\" is not a data-file kind");
}

DataFileKind SplitDataFileReference(std::string& reference, DataFileKind defaultKind) {
    std::size_t slash = reference.find('\\');
    if (slash == std::string::npos) return defaultKind;
    DataFileKind kind = DataFileKindFromName(reference.substr(0, slash));
    reference.erase(0, slash + 1);
    return kind;
}

std::string BuildDataFolder(const std::string& root, std::int32_t chapter, DataFileKind kind,
                            DataFileSubkind subkind) {
    if (kind == DFK_GLOBAL) return root;
    if (kind == DFK_CHAPTER) return root + "\\" + std::to_string(chapter);
    std::string folder = root + "\\" + DataFileKindName(kind);
    if (subkind != DFS_NONE) folder += "\\" + DataFileSubkindName(subkind);
    return folder;
}

std::string DescribeDataFile(DataFileKind kind, DataFileSubkind subkind, const std::string& name) {
    std::string text = kind < DFK_COUNT ? kKindNames[kind] : std::to_string(kind);
    if (subkind != DFS_NONE)
        text += "\\" + (subkind < DFS_COUNT ? kSubkindNames[subkind] : std::to_string(subkind));
    return text + "\\" + name;
}

}  // namespace DRAVCommon
