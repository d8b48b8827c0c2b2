#pragma once
// A data-file source that reads every file from a base source and counts, by file
// name, how often each was opened or read: to see that a check reads a file once.

#include <map>
#include <memory>
#include <string>

#include "common/data_file.h"

namespace QuillmereTest {

class CountingSource : public DRAVCommon::CDataFileFactory {
public:
    explicit CountingSource(std::shared_ptr<DRAVCommon::CDataFileFactory> base) : m_base(std::move(base)) {}

    std::shared_ptr<std::istream> Open(DRAVCommon::DataFileKind kind, DRAVCommon::DataFileSubkind subkind,
                                       const std::string& name) override {
        ++m_reads[name];
        return m_base->Open(kind, subkind, name);
    }
    std::shared_ptr<DRAVCommon::ByteVector> ReadAll(DRAVCommon::DataFileKind kind, DRAVCommon::DataFileSubkind subkind,
                                                    const std::string& name) override {
        ++m_reads[name];
        return m_base->ReadAll(kind, subkind, name);
    }

    // How often the file of that name was opened or read.
    int Reads(const std::string& name) const {
        const auto found = m_reads.find(name);
        return found == m_reads.end() ? 0 : found->second;
    }

private:
    std::shared_ptr<DRAVCommon::CDataFileFactory> m_base;
    std::map<std::string, int> m_reads;
};

}  // namespace QuillmereTest
