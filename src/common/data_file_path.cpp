#include "common/data_file_path.h"

#include <filesystem>
#include <fstream>

#include "common/exception.h"
#include "platform/win32/file_path.h"

namespace DRAVCommon {
namespace {

// A folder opens as a stream too, and reports a size no vector can hold.
std::string RegularFile(const std::string& path) {
    std::string native = Win32::NativePath(path);
    std::error_code ignored;
    if (!std::filesystem::is_regular_file(native, ignored))
        throw CDRAVException(DRAV_ERR_BAD_DATA, "cannot open data file " + path);
    return native;
}

}  // namespace

CDataFileFactoryPath::CDataFileFactoryPath(std::string root, std::int32_t chapter)
    : m_root(std::move(root)), m_chapter(chapter) {
    std::string world = FullPath(DFK_CHAPTER, DFS_NONE, "world.drav");
    std::error_code ignored;
    std::string native = Win32::NativePath(world);
    std::ifstream probe(native, std::ios::binary);
    if (!std::filesystem::is_regular_file(native, ignored) || !probe) throw CDRAVException(DRAV_ERR_BAD_DATA, "chapter world file not found: " + world);
}

std::string CDataFileFactoryPath::FullPath(DataFileKind kind, DataFileSubkind subkind,
                                           const std::string& name) const {
    return BuildDataFolder(m_root, m_chapter, kind, subkind) + "\\" + name;
}

std::shared_ptr<std::istream> CDataFileFactoryPath::Open(DataFileKind kind, DataFileSubkind subkind,
                                                         const std::string& name) {
    std::string path = FullPath(kind, subkind, name);
    auto stream = std::make_shared<std::ifstream>(RegularFile(path));
    if (!*stream) throw CDRAVException(DRAV_ERR_BAD_DATA, "cannot open data file " + path);
    return stream;
}

std::shared_ptr<ByteVector> CDataFileFactoryPath::ReadAll(DataFileKind kind, DataFileSubkind subkind,
                                                          const std::string& name) {
    std::string path = FullPath(kind, subkind, name);
    std::ifstream file(RegularFile(path), std::ios::binary);
    if (!file) throw CDRAVException(DRAV_ERR_BAD_DATA, "cannot open data file " + path);
    file.seekg(0, std::ios::end);
    std::streamoff size = file.tellg();
    file.seekg(0, std::ios::beg);
    if (!file || size < 0) throw CDRAVException(DRAV_ERR_BAD_DATA, "cannot read data file " + path);
    auto bytes = std::make_shared<ByteVector>(static_cast<std::size_t>(size));
    if (size > 0 && !file.read(reinterpret_cast<char*>(bytes->data()), size))
        throw CDRAVException(DRAV_ERR_BAD_DATA, "cannot read data file " + path);
    return bytes;
}

}  // namespace DRAVCommon
