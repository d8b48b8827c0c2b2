#include "support/memory_source.h"

#include <fstream>
#include <iterator>
#include <sstream>

#include "common/exception.h"

namespace QuillmereTest {

void CMemoryDataSource::Add(DRAVCommon::DataFileKind kind, DRAVCommon::DataFileSubkind subkind,
                            const std::string& name, DRAVCommon::ByteVector bytes) {
    m_files[{kind, subkind, name}] = std::move(bytes);
}

void CMemoryDataSource::AddInterfaceFont() {
    Add(DRAVCommon::DFK_UI, DRAVCommon::DFS_NONE, "OpenSans-Regular.ttf", ReadBinaryFile(QUILLMERE_UI_FONT));
}

std::shared_ptr<DRAVCommon::ByteVector> CMemoryDataSource::ReadAll(DRAVCommon::DataFileKind kind,
                                                                   DRAVCommon::DataFileSubkind subkind,
                                                                   const std::string& name) {
    auto found = m_files.find({kind, subkind, name});
    if (found == m_files.end())
        throw CDRAVException(DRAV_ERR_BAD_DATA, "Missing data file " + DRAVCommon::DescribeDataFile(kind, subkind, name));
    return std::make_shared<DRAVCommon::ByteVector>(found->second);
}

std::shared_ptr<std::istream> CMemoryDataSource::Open(DRAVCommon::DataFileKind kind,
                                                      DRAVCommon::DataFileSubkind subkind, const std::string& name) {
    auto bytes = ReadAll(kind, subkind, name);
    return std::make_shared<std::istringstream>(std::string(bytes->begin(), bytes->end()));
}

DRAVCommon::ByteVector ReadBinaryFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw CDRAVException(DRAV_ERR_BAD_DATA, "Cannot read " + path);
    return DRAVCommon::ByteVector(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace QuillmereTest
