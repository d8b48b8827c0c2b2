// Loads the whole sample chapter through CModule::Load with one of its files
// replaced by the input: the first byte chooses the file, the rest is its text.
// Only a loaded module or CDRAVException naming a file may come out.

#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <utility>

#include "common/data_file_path.h"
#include "common/exception.h"
#include "common/memory_stream.h"
#include "engine/brain/brain_functions.h"
#include "rules/module.h"

namespace {

using DRAVCommon::ByteVector;
using DRAVCommon::DataFileKind;
using DRAVCommon::DataFileSubkind;

// Every file the chapter load reads, in the order the seed corpus numbers them.
constexpr std::pair<DataFileKind, const char*> kFiles[] = {
    {DRAVCommon::DFK_CHAPTER, "world.drav"},    {DRAVCommon::DFK_GLOBAL, "global_world.drav"},
    {DRAVCommon::DFK_CHAPTER, "magic.drav"},    {DRAVCommon::DFK_GLOBAL, "global_magic.drav"},
    {DRAVCommon::DFK_CHAPTER, "items.drav"},    {DRAVCommon::DFK_GLOBAL, "global_items.drav"},
    {DRAVCommon::DFK_GLOBAL, "global_factions.drav"}, {DRAVCommon::DFK_CHAPTER, "monsters.drav"},
    {DRAVCommon::DFK_GLOBAL, "global_monsters.drav"}, {DRAVCommon::DFK_CHAPTER, "quests.drav"},
    {DRAVCommon::DFK_CHAPTER, "journal.drav"},
};
constexpr std::size_t kFileCount = sizeof(kFiles) / sizeof(kFiles[0]);

// The sample's files held in memory, one of them replaced.
class MemorySource : public DRAVCommon::CDataFileFactory {
public:
    void Put(DataFileKind kind, const std::string& name, std::shared_ptr<ByteVector> bytes) {
        m_files[{kind, name}] = std::move(bytes);
    }

    std::shared_ptr<std::istream> Open(DataFileKind kind, DataFileSubkind subkind, const std::string& name) override {
        return std::make_shared<DRAVCommon::CMemoryStream>(ReadAll(kind, subkind, name));
    }

    std::shared_ptr<ByteVector> ReadAll(DataFileKind kind, DataFileSubkind subkind, const std::string& name) override {
        auto found = m_files.find({kind, name});
        if (subkind != DRAVCommon::DFS_NONE || found == m_files.end())
            throw CDRAVException(DRAV_ERR_BAD_DATA, "cannot open " + DRAVCommon::DescribeDataFile(kind, subkind, name));
        return found->second;
    }

private:
    std::map<std::pair<DataFileKind, std::string>, std::shared_ptr<ByteVector>> m_files;
};

const MemorySource& Sample() {
    static const MemorySource sample = [] {
        MemorySource source;
        DRAVCommon::CDataFileFactoryPath folder(QUILLMERE_SAMPLE_DIR, 1);
        for (const auto& [kind, name] : kFiles) source.Put(kind, name, folder.ReadAll(kind, DRAVCommon::DFS_NONE, name));
        return source;
    }();
    return sample;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    auto source = std::make_shared<MemorySource>(Sample());
    const auto& [kind, name] = kFiles[data[0] % kFileCount];
    source->Put(kind, name, std::make_shared<ByteVector>(data + 1, data + size));
    try {
        DRAV::CModule module;
        module.SetBrainFunctions(DRAV::GetBrainFunctions());
        module.Load(1, nullptr, source);
    } catch (const CDRAVException& error) {
        // Every load error names the file it found the fault in.
        if (error.GetMessage().find(".drav") == std::string::npos) __builtin_trap();
    }
    return 0;
}
