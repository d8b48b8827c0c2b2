// Opens arbitrary bytes as an archive and reads every entry its index names.
// Only CDRAVException may come out.

#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>

#include "common/data_file_packed.h"
#include "common/exception.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const std::string path =
        (std::filesystem::temp_directory_path() / ("quillmere-archive-fuzz-" + std::to_string(::getpid()) + ".drav"))
            .string();
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) return 0;
    if (size) std::fwrite(data, 1, size, file);
    std::fclose(file);

    try {
        auto archive = DRAVCommon::CDataFileFactoryPacked::FromPath(path);
        for (const DRAVCommon::PackedEntry& entry : archive->GetIndex()) {
            auto kind = static_cast<DRAVCommon::DataFileKind>(entry.kind);
            auto subkind = static_cast<DRAVCommon::DataFileSubkind>(entry.subkind);
            try {
                auto bytes = archive->ReadAll(kind, subkind, entry.name);
                // Duplicates serve the first entry of their identity.
                if (bytes->size() != archive->FindEntry(kind, subkind, entry.name).size) __builtin_trap();
                archive->Open(kind, subkind, entry.name)->get();
            } catch (const CDRAVException&) {
            }
        }
    } catch (const CDRAVException&) {
    }
    std::remove(path.c_str());
    return 0;
}
