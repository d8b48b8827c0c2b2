#pragma once
// A data-file source that serves a few files of its own from memory and reads every
// other file from a base source: a test's extra graphic or figure beside the sample's.

#include <memory>
#include <set>
#include <string>
#include <tuple>

#include "common/data_file_memory.h"

namespace QuillmereTest {

class OverlaySource : public DRAVCommon::CDataFileFactory {
public:
    explicit OverlaySource(std::shared_ptr<DRAVCommon::CDataFileFactory> base) : m_base(std::move(base)) {}

    void Add(DRAVCommon::DataFileKind kind, DRAVCommon::DataFileSubkind subkind, const std::string& name,
             const std::string& text) {
        m_own.Add(kind, subkind, name, {text.begin(), text.end()});
        m_names.insert({kind, subkind, name});
    }

    std::shared_ptr<std::istream> Open(DRAVCommon::DataFileKind kind, DRAVCommon::DataFileSubkind subkind,
                                       const std::string& name) override {
        return Owns(kind, subkind, name) ? m_own.Open(kind, subkind, name) : m_base->Open(kind, subkind, name);
    }
    std::shared_ptr<DRAVCommon::ByteVector> ReadAll(DRAVCommon::DataFileKind kind, DRAVCommon::DataFileSubkind subkind,
                                                    const std::string& name) override {
        return Owns(kind, subkind, name) ? m_own.ReadAll(kind, subkind, name) : m_base->ReadAll(kind, subkind, name);
    }

private:
    bool Owns(DRAVCommon::DataFileKind kind, DRAVCommon::DataFileSubkind subkind, const std::string& name) const {
        return m_names.count({kind, subkind, name}) != 0;
    }

    std::shared_ptr<DRAVCommon::CDataFileFactory> m_base;
    DRAVCommon::CDataFileFactoryMemory m_own;
    std::set<std::tuple<DRAVCommon::DataFileKind, DRAVCommon::DataFileSubkind, std::string>> m_names;
};

}  // namespace QuillmereTest
