// drav_pack ROOT CHAPTER OUTPUT: packs chapter CHAPTER of the module folder ROOT
// into the archive OUTPUT.

#include <cstdio>
#include <exception>
#include <string>

#include "packer/archive_builder.h"

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: drav_pack ROOT CHAPTER OUTPUT\n");
        return 2;
    }
    try {
        auto files = QuillmereTools::CollectModuleFiles(argv[1], std::stoi(argv[2]));
        QuillmereTools::WriteArchive(files, argv[3]);
        std::printf("drav_pack: %zu files into %s\n", files.size(), argv[3]);
    } catch (const std::exception& failure) {
        std::fprintf(stderr, "drav_pack: %s\n", failure.what());
        return 1;
    }
    return 0;
}
