#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <thread>

#include "support/temp_dir.h"

namespace {

namespace fs = std::filesystem;

constexpr int kFiles = 200;
constexpr std::size_t kFileSize = 4096;

// A folder of files each wholly of `fill`, as one assembly of the sample would be.
void Assemble(const fs::path& folder, char fill) {
    fs::create_directories(folder / "1");
    for (int i = 0; i < kFiles; ++i)
        std::ofstream(folder / "1" / (std::to_string(i) + ".drav"), std::ios::binary) << std::string(kFileSize, fill);
}

int Replace(const fs::path& folder, const fs::path& link) {
    const std::string command = "\"" QUILLMERE_CMAKE_COMMAND "\" \"-DFOLDER=" + folder.string() + "\" \"-DLINK=" +
                                link.string() + "\" -P \"" QUILLMERE_REPLACE_FOLDER "\" >/dev/null 2>&1";
    return std::system(command.c_str());
}

// The build puts the sample folder in place while tests and the game read it: a
// reader finds, at every instant, the whole old folder or the whole new one.
TEST(ReplaceFolder, AReaderFindsTheWholeOldFolderOrTheWholeNewOne) {
    QuillmereTest::TempDir dir;
    const fs::path link = dir.Path() / "sample_folder";
    const fs::path assembly = dir.Path() / "sample_folder.assembly";
    Assemble(link, 'a');
    Assemble(assembly, 'b');
    ASSERT_EQ(Replace(assembly, link), 0) << "a plain folder from before is replaced by the link";

    std::atomic<bool> done = false;
    std::atomic<int> reads = 0, torn = 0;  // torn: a file missing, cut short or of two fills
    std::thread reader([&] {
        for (int i = 0; !done; i = (i + 1) % kFiles) {
            std::ifstream in(link / "1" / (std::to_string(i) + ".drav"), std::ios::binary);
            const std::string text{std::istreambuf_iterator<char>(in), {}};
            ++reads;
            if (text.size() != kFileSize || text.find_first_not_of(text[0]) != std::string::npos) ++torn;
        }
    });
    constexpr int kRounds = 12;
    for (int round = 0; round < kRounds; ++round) {
        Assemble(assembly, static_cast<char>('c' + round));
        EXPECT_EQ(Replace(assembly, link), 0);
    }
    done = true;
    reader.join();
    EXPECT_GT(reads, kRounds);
    EXPECT_EQ(torn, 0) << "of " << reads << " reads";

    // The folder in place and the one before it, for a reader on its way into it.
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir.Path())) names.insert(entry.path().filename().string());
    EXPECT_EQ(names, (std::set<std::string>{"sample_folder", "sample_folder.12", "sample_folder.13"}));
    EXPECT_NE(Replace(dir.Path() / "absent", link), 0) << "no folder to put in place";
    EXPECT_EQ(fs::read_symlink(link), "sample_folder.13");
}

}  // namespace
