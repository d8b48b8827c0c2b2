// drav_pack ROOT CHAPTER OUTPUT: packs chapter CHAPTER of the module folder ROOT
// into the archive OUTPUT.
// drav_pack --kind KIND FOLDER OUTPUT: packs every file of FOLDER as a data file
// of kind KIND (a kind name such as "ui") into OUTPUT.

#include <cstdio>
#include <exception>
#include <string>

#include "common/data_file.h"
#include "packer/archive_builder.h"

int main(int argc, char** argv) {
    bool byKind = argc == 5 && std::string(argv[1]) == "--kind";
    if (argc != 4 && !byKind) {
        std::fprintf(stderr, "usage: drav_pack ROOT CHAPTER OUTPUT\n       drav_pack --kind KIND FOLDER OUTPUT\n");
        return 2;
    }
    try {
        auto files = byKind ? QuillmereTools::CollectFolderFiles(
                                  argv[3], static_cast<std::uint16_t>(DRAVCommon::DataFileKindFromName(argv[2])))
                            : QuillmereTools::CollectModuleFiles(argv[1], std::stoi(argv[2]));
        const char* output = argv[argc - 1];
        QuillmereTools::WriteArchive(files, output);
        std::printf("drav_pack: %zu files into %s\n", files.size(), output);
    } catch (const std::exception& failure) {
        std::fprintf(stderr, "drav_pack: %s\n", failure.what());
        return 1;
    }
    return 0;
}
