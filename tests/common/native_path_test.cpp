#include <gtest/gtest.h>

#include "platform/win32/file_path.h"
#include "support/temp_dir.h"

TEST(NativePath, BackslashesBecomeSlashes) {
    EXPECT_EQ(Win32::NativePath("no\\such\\place.drav"), "no/such/place.drav");
    EXPECT_EQ(Win32::NativePath(""), "");
}

TEST(NativePath, ComponentsMatchWithoutRegardToCase) {
    QuillmereTest::TempDir dir;
    std::string file = dir.WriteFile("Actor/fig/Hero.FIG", "x");
    std::string root = dir.Path().string();
    EXPECT_EQ(Win32::NativePath(root + "\\actor\\FIG\\hero.fig"), file);
    EXPECT_EQ(Win32::NativePath(root + "/Actor/fig/Hero.FIG"), file);
    // A missing file keeps its own name below the folders that were found.
    EXPECT_EQ(Win32::NativePath(root + "\\ACTOR\\fig\\new.sav"), root + "/Actor/fig/new.sav");
    EXPECT_EQ(Win32::NativePath(root + "\\gone\\Actor"), root + "/gone/Actor");
}

TEST(NativePath, TwoEntriesDifferingOnlyInCaseMatchNeither) {
    QuillmereTest::TempDir dir;
    dir.WriteFile("Map.drav", "a");
    dir.WriteFile("MAP.drav", "b");
    std::string root = dir.Path().string();
    // Which one a folder listing meets first is chance; a lookup must not depend on it.
    EXPECT_EQ(Win32::NativePath(root + "\\map.drav"), root + "/map.drav");
    EXPECT_EQ(Win32::NativePath(root + "\\MAP.drav"), root + "/MAP.drav");
}
