#include "common/data_file_memory.h"

#include <fstream>
#include <iterator>
#include <sstream>

#include "common/exception.h"

namespace DRAVCommon {

void CDataFileFactoryMemory::Add(DataFileKind kind, DataFileSubkind subkind, const std::string& name,
                                 ByteVector bytes) {
    m_files[{kind, subkind, name}] = std::move(bytes);
}

std::shared_ptr<ByteVector> CDataFileFactoryMemory::ReadAll(DataFileKind kind, DataFileSubkind subkind,
                                                            const std::string& name) {
    auto found = m_files.find({kind, subkind, name});
    if (found == m_files.end())
        throw CDRAVException(DRAV_ERR_BAD_DATA, "Missing data file " + DescribeDataFile(kind, subkind, name));
    return std::make_shared<ByteVector>(found->second);
}

std::shared_ptr<std::istream> CDataFileFactoryMemory::Open(DataFileKind kind, DataFileSubkind subkind,
                                                           const std::string& name) {
    auto bytes = ReadAll(kind, subkind, name);
    return std::make_shared<std::istringstream>(std::string(bytes->begin(), bytes->end()));
}

ByteVector ReadWholeFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw CDRAVException(DRAV_ERR_BAD_DATA, "Cannot read " + path);
    return ByteVector(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace DRAVCommon
