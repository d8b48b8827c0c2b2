#pragma once
// A chapter packed into one archive: a u32 entry count, one 76-byte index record
// per file (u16 kind, u16 subkind, 64-byte name, u32 offset, u32 size), then the
// file bodies. Little-endian, no magic number.

#include "common/data_file.h"

namespace DRAVCommon {

struct PackedEntry {
    std::uint32_t kind = 0;
    std::uint32_t subkind = 0;
    std::string name;
    std::uint32_t offset = 0;
    std::uint32_t size = 0;
};

class CDataFileFactoryPacked : public CDataFileFactory {
public:
    static constexpr std::uint64_t kCountSize = 4;
    static constexpr std::uint64_t kRecordSize = 76;
    static constexpr std::size_t kNameSize = 64;

    // Opens root\module<chapter>.drav.
    CDataFileFactoryPacked(const std::string& root, std::int32_t chapter);

    // Opens the archive at `path` (the interface resources archive).
    static std::shared_ptr<CDataFileFactoryPacked> FromPath(const std::string& path);

    std::shared_ptr<std::istream> Open(DataFileKind kind, DataFileSubkind subkind, const std::string& name) override;
    std::shared_ptr<ByteVector> ReadAll(DataFileKind kind, DataFileSubkind subkind, const std::string& name) override;

    // The first entry with that identity; code 1 when there is none.
    const PackedEntry& FindEntry(DataFileKind kind, DataFileSubkind subkind, const std::string& name) const;

    const std::vector<PackedEntry>& GetIndex() const { return m_index; }
    const std::string& GetPath() const { return m_path; }

private:
    struct FromPathTag {};
    CDataFileFactoryPacked(FromPathTag, std::string path);

    void ReadIndex();

    std::string m_path;
    std::vector<PackedEntry> m_index;
};

}  // namespace DRAVCommon
