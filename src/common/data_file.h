#pragma once
// A module's data files are named by kind, subkind and name; a data-file source
// turns such a name into a stream or into the file's bytes, from a folder tree or
// from a packed archive, without the callers knowing which.

#include <cstdint>
#include <istream>
#include <memory>
#include <string>
#include <vector>

namespace DRAVCommon {

enum DataFileKind : std::uint32_t {
    DFK_CHAPTER = 0,  // "_chapter_": the chapter's own definition files
    DFK_GLOBAL = 1,   // "_global_": files shared by all chapters
    DFK_ACTOR = 2,
    DFK_EFFECT = 3,
    DFK_ITEM = 4,
    DFK_MAP = 5,
    DFK_OBJECT = 6,
    DFK_SKY = 7,
    DFK_TILE = 8,
    DFK_AUDIO = 9,
    DFK_ICON = 10,
    DFK_UI = 11,
    DFK_COUNT = 12,
};

enum DataFileSubkind : std::uint32_t {
    DFS_NONE = 0,
    DFS_FIG = 1,
    DFS_MOD = 2,
    DFS_TEX = 3,
    DFS_COUNT = 4,
};

using ByteVector = std::vector<std::uint8_t>;

class CDataFileFactory {
public:
    virtual ~CDataFileFactory() = default;

    // A stream positioned at the file's first byte.
    virtual std::shared_ptr<std::istream> Open(DataFileKind kind, DataFileSubkind subkind,
                                               const std::string& name) = 0;

    // The whole file.
    virtual std::shared_ptr<ByteVector> ReadAll(DataFileKind kind, DataFileSubkind subkind,
                                                const std::string& name) = 0;
};

// The folder name of a kind or subkind; code 2 outside the tables.
const std::string& DataFileKindName(DataFileKind kind);
const std::string& DataFileSubkindName(DataFileSubkind subkind);

// Exact, case-sensitive; code 2 for a name outside the kind table.
DataFileKind DataFileKindFromName(const std::string& name);

// For "kind\name" references: returns the kind before the first backslash and
// leaves only the name in `reference`; without a backslash returns `defaultKind`
// and leaves `reference` whole.
DataFileKind SplitDataFileReference(std::string& reference, DataFileKind defaultKind);

// The loose-folder location of a file of that kind (backslash-separated).
std::string BuildDataFolder(const std::string& root, std::int32_t chapter, DataFileKind kind,
                            DataFileSubkind subkind);

// "kind\subkind\name", naming a data file in error messages.
std::string DescribeDataFile(DataFileKind kind, DataFileSubkind subkind, const std::string& name);

}  // namespace DRAVCommon
