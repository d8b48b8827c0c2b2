#pragma once
// A data-file source over files held in memory: for tools that draw with a few
// named files (an image, the interface font) without a module on disk, and tests.

#include <map>
#include <string>
#include <tuple>

#include "common/data_file.h"

namespace DRAVCommon {

class CDataFileFactoryMemory : public CDataFileFactory {
public:
    void Add(DataFileKind kind, DataFileSubkind subkind, const std::string& name, ByteVector bytes);

    // Code 1 naming the file when it was never added.
    std::shared_ptr<std::istream> Open(DataFileKind kind, DataFileSubkind subkind, const std::string& name) override;
    std::shared_ptr<ByteVector> ReadAll(DataFileKind kind, DataFileSubkind subkind, const std::string& name) override;

private:
    std::map<std::tuple<DataFileKind, DataFileSubkind, std::string>, ByteVector> m_files;
};

// The whole of a file on disk; code 1 naming it when it cannot be read.
ByteVector ReadWholeFile(const std::string& path);

}  // namespace DRAVCommon
