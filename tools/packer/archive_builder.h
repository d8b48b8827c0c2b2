#pragma once
// Packs a module's folder tree into the archive form the game reads: the chapter's
// own files, the global files of the root and the files of every kind folder; or
// one folder of files of a single kind (the interface archive).

#include <cstdint>
#include <string>
#include <vector>

namespace QuillmereTools {

struct ArchiveFile {
    std::uint16_t kind;
    std::uint16_t subkind;
    std::string name;
    std::string path;  // where the bytes come from
};

// The files of `chapter` below `root`, in a stable order. Throws std::runtime_error
// for a name that the archive cannot hold (64 characters or more).
std::vector<ArchiveFile> CollectModuleFiles(const std::string& root, int chapter);

// Every file directly in `folder` as an entry of `kind`, subkind none, sorted by
// name: the interface archive is one such folder of kind "ui". Throws
// std::runtime_error for a missing folder or a name the archive cannot hold.
std::vector<ArchiveFile> CollectFolderFiles(const std::string& folder, std::uint16_t kind);

// Writes the archive; throws std::runtime_error when it cannot be written whole.
void WriteArchive(const std::vector<ArchiveFile>& files, const std::string& output);

}  // namespace QuillmereTools
