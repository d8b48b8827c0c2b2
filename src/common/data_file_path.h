#pragma once
// The loose folder tree: the chapter's files below the chapter number, global
// files in the root, graphics and sounds in folders named for their kind.

#include "common/data_file.h"

namespace DRAVCommon {

class CDataFileFactoryPath : public CDataFileFactory {
public:
    // Code 1 when the chapter's world file cannot be opened.
    CDataFileFactoryPath(std::string root, std::int32_t chapter);

    std::shared_ptr<std::istream> Open(DataFileKind kind, DataFileSubkind subkind, const std::string& name) override;
    std::shared_ptr<ByteVector> ReadAll(DataFileKind kind, DataFileSubkind subkind, const std::string& name) override;

private:
    std::string FullPath(DataFileKind kind, DataFileSubkind subkind, const std::string& name) const;

    std::string m_root;
    std::int32_t m_chapter;
};

}  // namespace DRAVCommon
