#include "common/data_file_packed.h"

#include <cstring>
#include <filesystem>
#include <fstream>

#include "common/exception.h"
#include "common/memory_stream.h"
#include "platform/win32/file_path.h"

namespace DRAVCommon {
namespace {

std::uint32_t LoadU32(const unsigned char* p) {
    return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
           static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}

std::uint32_t LoadU16(const unsigned char* p) {
    return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8;
}

// Opens the archive and returns its size, leaving the stream at the start.
std::uint64_t OpenArchive(std::ifstream& file, const std::string& path) {
    std::string native = Win32::NativePath(path);
    std::error_code ignored;
    if (!std::filesystem::is_regular_file(native, ignored))
        throw CDRAVException(DRAV_ERR_BAD_DATA, "cannot open archive " + path);
    file.open(native, std::ios::binary);
    if (!file) throw CDRAVException(DRAV_ERR_BAD_DATA, "cannot open archive " + path);
    file.seekg(0, std::ios::end);
    std::streamoff size = file.tellg();
    file.seekg(0, std::ios::beg);
    if (!file || size < 0) throw CDRAVException(DRAV_ERR_BAD_DATA, "cannot read archive " + path);
    return static_cast<std::uint64_t>(size);
}

}  // namespace

CDataFileFactoryPacked::CDataFileFactoryPacked(const std::string& root, std::int32_t chapter)
    : m_path(root + "\\module" + std::to_string(chapter) + ".drav") {
    ReadIndex();
}

CDataFileFactoryPacked::CDataFileFactoryPacked(FromPathTag, std::string path) : m_path(std::move(path)) {
    ReadIndex();
}

std::shared_ptr<CDataFileFactoryPacked> CDataFileFactoryPacked::FromPath(const std::string& path) {
    return std::shared_ptr<CDataFileFactoryPacked>(new CDataFileFactoryPacked(FromPathTag{}, path));
}

void CDataFileFactoryPacked::ReadIndex() {
    std::ifstream file;
    std::uint64_t archiveSize = OpenArchive(file, m_path);

    unsigned char countBytes[kCountSize];
    if (!file.read(reinterpret_cast<char*>(countBytes), kCountSize))
        throw CDRAVException(DRAV_ERR_BAD_DATA, "archive " + m_path + " is too short for its entry count");
    std::uint32_t count = LoadU32(countBytes);

    // The count is data, not a promise: an index that cannot fit in the file is
    // refused before anything is sized from it.
    if (kCountSize + kRecordSize * count > archiveSize)
        throw CDRAVException(DRAV_ERR_BAD_DATA, "archive " + m_path + " claims " + std::to_string(count) +
                                                    " entries, more than its size holds");

    std::vector<unsigned char> records(static_cast<std::size_t>(kRecordSize * count));
    if (count > 0 && !file.read(reinterpret_cast<char*>(records.data()), static_cast<std::streamsize>(records.size())))
        throw CDRAVException(DRAV_ERR_BAD_DATA, "archive " + m_path + " has a truncated index");

    m_index.resize(count);
    for (std::uint32_t i = 0; i < count; ++i) {
        const unsigned char* record = records.data() + kRecordSize * i;
        PackedEntry& entry = m_index[i];
        entry.kind = LoadU16(record);
        entry.subkind = LoadU16(record + 2);
        const char* name = reinterpret_cast<const char*>(record + 4);
        entry.name.assign(name, ::strnlen(name, kNameSize - 1));
        entry.offset = LoadU32(record + 4 + kNameSize);
        entry.size = LoadU32(record + 8 + kNameSize);
    }
}

const PackedEntry& CDataFileFactoryPacked::FindEntry(DataFileKind kind, DataFileSubkind subkind,
                                                     const std::string& name) const {
    for (const PackedEntry& entry : m_index)
        if (entry.kind == kind && entry.subkind == subkind && entry.name == name) return entry;
    throw CDRAVException(DRAV_ERR_BAD_DATA,
                         "archive " + m_path + " has no entry " + DescribeDataFile(kind, subkind, name));
}

std::shared_ptr<std::istream> CDataFileFactoryPacked::Open(DataFileKind kind, DataFileSubkind subkind,
                                                           const std::string& name) {
    return std::make_shared<CMemoryStream>(ReadAll(kind, subkind, name));
}

std::shared_ptr<ByteVector> CDataFileFactoryPacked::ReadAll(DataFileKind kind, DataFileSubkind subkind,
                                                            const std::string& name) {
    const PackedEntry& entry = FindEntry(kind, subkind, name);
    std::string described = DescribeDataFile(kind, subkind, name);

    std::ifstream file;
    std::uint64_t archiveSize = OpenArchive(file, m_path);
    if (archiveSize == 0 || std::uint64_t{entry.offset} + entry.size > archiveSize)
        throw CDRAVException(DRAV_ERR_BAD_DATA, "entry " + described + " lies beyond the end of archive " + m_path);

    auto bytes = std::make_shared<ByteVector>(entry.size);
    if (entry.size > 0) {
        file.seekg(static_cast<std::streamoff>(entry.offset));
        if (!file.read(reinterpret_cast<char*>(bytes->data()), entry.size))
            throw CDRAVException(DRAV_ERR_BAD_DATA, "cannot read entry " + described + " of archive " + m_path);
    }
    return bytes;
}

}  // namespace DRAVCommon
