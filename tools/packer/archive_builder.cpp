#include "packer/archive_builder.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <limits>
#include <stdexcept>
#include <tuple>

#include "common/data_file.h"

namespace fs = std::filesystem;

namespace QuillmereTools {
namespace {

constexpr std::size_t kNameSize = 64;

void AddFolder(std::vector<ArchiveFile>& files, const fs::path& folder, std::uint16_t kind, std::uint16_t subkind) {
    if (!fs::is_directory(folder)) return;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder)) {
        if (!entry.is_regular_file()) continue;
        std::string name = entry.path().filename().string();
        if (name.size() >= kNameSize)
            throw std::runtime_error("file name too long for an archive (at most 63 characters): " + name);
        files.push_back({kind, subkind, name, entry.path().string()});
    }
}

// "module<N>.drav", a packed chapter, or "uiwin32.drav", the interface archive: the
// archives lying in the root beside the loose tree, never packed into another.
bool IsArchiveName(const std::string& name) {
    if (name == "uiwin32.drav") return true;
    const std::string prefix = "module", suffix = ".drav";
    if (name.size() <= prefix.size() + suffix.size() || name.compare(0, prefix.size(), prefix) != 0 ||
        name.compare(name.size() - suffix.size(), suffix.size(), suffix) != 0)
        return false;
    return std::all_of(name.begin() + prefix.size(), name.end() - suffix.size(),
                       [](unsigned char c) { return c >= '0' && c <= '9'; });
}

void PutU16(std::ostream& out, std::uint32_t value) {
    char bytes[2] = {static_cast<char>(value & 0xFF), static_cast<char>(value >> 8 & 0xFF)};
    out.write(bytes, 2);
}

void PutU32(std::ostream& out, std::uint64_t value) {
    if (value > std::numeric_limits<std::uint32_t>::max()) throw std::runtime_error("archive larger than 4 GiB");
    for (int shift = 0; shift < 32; shift += 8) out.put(static_cast<char>(value >> shift & 0xFF));
}

}  // namespace

std::vector<ArchiveFile> CollectModuleFiles(const std::string& root, int chapter) {
    using namespace DRAVCommon;
    std::vector<ArchiveFile> files;
    AddFolder(files, fs::path(root) / std::to_string(chapter), DFK_CHAPTER, DFS_NONE);

    std::vector<ArchiveFile> global;
    AddFolder(global, fs::path(root), DFK_GLOBAL, DFS_NONE);
    for (ArchiveFile& file : global)
        if (!IsArchiveName(file.name)) files.push_back(std::move(file));

    for (std::uint32_t kind = DFK_ACTOR; kind < DFK_COUNT; ++kind) {
        fs::path kindFolder = fs::path(root) / DataFileKindName(static_cast<DataFileKind>(kind));
        AddFolder(files, kindFolder, static_cast<std::uint16_t>(kind), DFS_NONE);
        for (std::uint32_t subkind = DFS_FIG; subkind < DFS_COUNT; ++subkind)
            AddFolder(files, kindFolder / DataFileSubkindName(static_cast<DataFileSubkind>(subkind)),
                      static_cast<std::uint16_t>(kind), static_cast<std::uint16_t>(subkind));
    }
    std::sort(files.begin(), files.end(), [](const ArchiveFile& a, const ArchiveFile& b) {
        return std::tie(a.kind, a.subkind, a.name) < std::tie(b.kind, b.subkind, b.name);
    });
    return files;
}

std::vector<ArchiveFile> CollectFolderFiles(const std::string& folder, std::uint16_t kind) {
    if (!fs::is_directory(folder)) throw std::runtime_error("no folder " + folder);
    std::vector<ArchiveFile> files;
    AddFolder(files, folder, kind, DRAVCommon::DFS_NONE);
    std::sort(files.begin(), files.end(), [](const ArchiveFile& a, const ArchiveFile& b) { return a.name < b.name; });
    return files;
}

void WriteArchive(const std::vector<ArchiveFile>& files, const std::string& output) {
    std::vector<std::string> bodies;
    bodies.reserve(files.size());
    for (const ArchiveFile& file : files) {
        std::ifstream in(file.path, std::ios::binary);
        if (!in) throw std::runtime_error("cannot read " + file.path);
        bodies.emplace_back(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }

    // Written beside the target and renamed, so a failed run never leaves half an archive.
    fs::path target(output);
    if (target.has_parent_path()) fs::create_directories(target.parent_path());
    fs::path partial = target;
    partial += ".partial";
    {
        std::ofstream out(partial, std::ios::binary | std::ios::trunc);
        if (!out) throw std::runtime_error("cannot create " + partial.string());
        PutU32(out, files.size());
        std::uint64_t offset = 4 + 76 * static_cast<std::uint64_t>(files.size());
        for (std::size_t i = 0; i < files.size(); ++i) {
            PutU16(out, files[i].kind);
            PutU16(out, files[i].subkind);
            char name[kNameSize] = {};
            std::copy(files[i].name.begin(), files[i].name.end(), name);
            out.write(name, kNameSize);
            PutU32(out, offset);
            PutU32(out, bodies[i].size());
            offset += bodies[i].size();
        }
        for (const std::string& body : bodies) out.write(body.data(), static_cast<std::streamsize>(body.size()));
        out.flush();
        if (!out) throw std::runtime_error("writing " + partial.string() + " failed");
    }
    fs::rename(partial, target);
}

}  // namespace QuillmereTools
