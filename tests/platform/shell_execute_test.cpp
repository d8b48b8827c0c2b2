#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>

#include "platform/win32/shellapi.h"
#include "support/temp_dir.h"

namespace {

namespace fs = std::filesystem;

std::intptr_t Code(HINSTANCE answer) { return reinterpret_cast<std::intptr_t>(answer); }

// The started program is not waited for: the log shows up when it has run, which
// on a busy machine may take seconds; only a program that never runs takes the minute.
std::string WaitForLine(const std::string& path) {
    for (int attempt = 0; attempt < 6000; ++attempt) {
        std::ifstream in(path);
        std::string line;
        if (std::getline(in, line)) return line;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return "(nothing logged)";
}

TEST(ShellExecute, FindsXdgOpenOnPathAndHandsItNativePathsAndAddresses) {
    QuillmereTest::TempDir folder;
    const std::string manual = folder.WriteFile("manual/rules.htm", "<html></html>");
    const std::string windowsManual = folder.Path().string() + "\\manual\\rules.htm";
    const char* savedPath = std::getenv("PATH");
    const std::string restore = savedPath ? savedPath : "";

    char program[260] = "x";
    setenv("PATH", (folder / "bin").c_str(), 1);
    EXPECT_EQ(Code(FindExecutableA((folder / "missing.htm").c_str(), nullptr, program)), SE_ERR_FNF);
    EXPECT_EQ(Code(FindExecutableA(windowsManual.c_str(), nullptr, program)), SE_ERR_NOASSOC) << "no xdg-open";
    EXPECT_STREQ(program, "");
    EXPECT_EQ(Code(ShellExecuteA(nullptr, nullptr, "https://quillmere.example/", nullptr, nullptr, SW_SHOW)),
              SE_ERR_NOASSOC);

    const std::string log = folder / "log.txt";
    const std::string opener =
        folder.WriteFile("bin/xdg-open", "#!/bin/sh\nprintf '%s|%s\\n' \"$#\" \"$1\" >> '" + log + "'\n");
    fs::permissions(opener, fs::perms::owner_all);
    ASSERT_GT(Code(FindExecutableA(windowsManual.c_str(), nullptr, program)), 32);
    EXPECT_EQ(std::string(program), opener);

    const std::string address = "file://" + windowsManual + "#Saving_Throws";
    ASSERT_GT(Code(ShellExecuteA(nullptr, "open", program, address.c_str(), nullptr, SW_SHOW)), 32);
    EXPECT_EQ(WaitForLine(log), "1|file://" + manual + "#Saving_Throws") << "one argument, native path, anchor kept";

    fs::remove(log);
    ASSERT_GT(Code(ShellExecuteA(nullptr, nullptr, "https://quillmere.example/3.html", nullptr, nullptr, SW_SHOW)), 32);
    EXPECT_EQ(WaitForLine(log), "1|https://quillmere.example/3.html");
    setenv("PATH", restore.c_str(), 1);
}

}  // namespace
