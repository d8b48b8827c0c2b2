#pragma once
// A data-file source over files held in memory, for tests that need a few named
// files (images, the interface font) without a module on disk.

#include <map>
#include <string>
#include <tuple>

#include "common/data_file.h"

namespace QuillmereTest {

class CMemoryDataSource : public DRAVCommon::CDataFileFactory {
public:
    void Add(DRAVCommon::DataFileKind kind, DRAVCommon::DataFileSubkind subkind, const std::string& name,
             DRAVCommon::ByteVector bytes);
    // The interface font "OpenSans-Regular.ttf" (kind ui) from the system's font package.
    void AddInterfaceFont();

    std::shared_ptr<std::istream> Open(DRAVCommon::DataFileKind kind, DRAVCommon::DataFileSubkind subkind,
                                       const std::string& name) override;
    std::shared_ptr<DRAVCommon::ByteVector> ReadAll(DRAVCommon::DataFileKind kind,
                                                    DRAVCommon::DataFileSubkind subkind,
                                                    const std::string& name) override;

private:
    std::map<std::tuple<DRAVCommon::DataFileKind, DRAVCommon::DataFileSubkind, std::string>, DRAVCommon::ByteVector>
        m_files;
};

DRAVCommon::ByteVector ReadBinaryFile(const std::string& path);

}  // namespace QuillmereTest
