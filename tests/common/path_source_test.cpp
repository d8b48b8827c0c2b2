#include <gtest/gtest.h>

#include <iterator>

#include "common/data_file_path.h"
#include "common/data_file_reader.h"
#include "support/expect_drav.h"
#include "support/temp_dir.h"

using namespace DRAVCommon;
using QuillmereTest::TempDir;

TEST(DataFileNames, FoldersOfEachKind) {
    EXPECT_EQ(BuildDataFolder("root", 3, DFK_GLOBAL, DFS_NONE), "root");
    EXPECT_EQ(BuildDataFolder("root", 3, DFK_CHAPTER, DFS_NONE), "root\\3");
    EXPECT_EQ(BuildDataFolder("root", 3, DFK_ACTOR, DFS_FIG), "root\\actor\\fig");
    EXPECT_EQ(BuildDataFolder("root", 3, DFK_ICON, DFS_NONE), "root\\icon");
    EXPECT_EQ(BuildDataFolder("root", 3, DFK_TILE, DFS_TEX), "root\\tile\\tex");
    EXPECT_DRAV_CODE(BuildDataFolder("root", 1, static_cast<DataFileKind>(12), DFS_NONE), 2);
    EXPECT_DRAV_CODE(BuildDataFolder("root", 1, DFK_ITEM, static_cast<DataFileSubkind>(4)), 2);
}

TEST(DataFileNames, KindFromName) {
    EXPECT_EQ(DataFileKindFromName("_chapter_"), DFK_CHAPTER);
    EXPECT_EQ(DataFileKindFromName("ui"), DFK_UI);
    EXPECT_EQ(DataFileKindFromName("sky"), DFK_SKY);
    EXPECT_DRAV_CODE(DataFileKindFromName("Icon"), 2);
    EXPECT_DRAV_CODE(DataFileKindFromName(""), 2);
}

TEST(DataFileNames, SplitReference) {
    std::string reference = "icon\\sword";
    EXPECT_EQ(SplitDataFileReference(reference, DFK_ITEM), DFK_ICON);
    EXPECT_EQ(reference, "sword");

    reference = "sword";
    EXPECT_EQ(SplitDataFileReference(reference, DFK_ITEM), DFK_ITEM);
    EXPECT_EQ(reference, "sword");

    reference = "actor\\fig\\x";  // only the first backslash splits
    EXPECT_EQ(SplitDataFileReference(reference, DFK_ITEM), DFK_ACTOR);
    EXPECT_EQ(reference, "fig\\x");

    reference = "weapons\\sword";
    EXPECT_DRAV_CODE(SplitDataFileReference(reference, DFK_ITEM), 2);
}

TEST(PathSource, ServesFilesFromTheirKindFolders) {
    TempDir dir;
    dir.WriteFile("2/world.drav", "<world> </world>");
    dir.WriteFile("global.drav", "global");
    dir.WriteFile("actor/fig/hero.fig", "fig bytes");
    dir.WriteBytes("icon/empty.png", {});
    dir.WriteBytes("audio/bin.wav", {0, 1, 2, 255, '\r', '\n'});
    CDataFileFactoryPath source(dir.Path().string(), 2);

    auto stream = source.Open(DFK_CHAPTER, DFS_NONE, "world.drav");
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(*stream), {}), "<world> </world>");
    EXPECT_EQ(*source.ReadAll(DFK_GLOBAL, DFS_NONE, "global.drav"), ByteVector({'g', 'l', 'o', 'b', 'a', 'l'}));
    EXPECT_EQ(source.ReadAll(DFK_ACTOR, DFS_FIG, "hero.fig")->size(), 9u);
    EXPECT_TRUE(source.ReadAll(DFK_ICON, DFS_NONE, "empty.png")->empty());
    EXPECT_EQ(*source.ReadAll(DFK_AUDIO, DFS_NONE, "bin.wav"), ByteVector({0, 1, 2, 255, '\r', '\n'}));
}

TEST(PathSource, MissingFilesAreCode1NamingThePath) {
    TempDir dir;
    dir.WriteFile("1/world.drav", "");
    CDataFileFactoryPath source(dir.Path().string(), 1);
    std::string message = DRAV_MESSAGE(source.Open(DFK_ITEM, DFS_NONE, "absent.drav"));
    EXPECT_NE(message.find("absent.drav"), std::string::npos) << message;
    EXPECT_DRAV_CODE(source.ReadAll(DFK_ITEM, DFS_NONE, "absent.drav"), 1);
    EXPECT_DRAV_CODE(source.ReadAll(DFK_CHAPTER, DFS_NONE, ""), 1);  // a folder is not a file
}

TEST(PathSource, ChapterWithoutWorldFileIsCode1) {
    TempDir dir;
    dir.WriteFile("1/world.drav", "");
    EXPECT_DRAV_CODE(CDataFileFactoryPath(dir.Path().string(), 2), 1);
    EXPECT_DRAV_CODE(CDataFileFactoryPath((dir.Path() / "nowhere").string(), 1), 1);
    dir.WriteFile("3/world.drav/inside", "");
    EXPECT_DRAV_CODE(CDataFileFactoryPath(dir.Path().string(), 3), 1);
}

TEST(PathSource, FoldersAreNotFiles) {
    TempDir dir;
    dir.WriteFile("1/world.drav", "");
    dir.WriteFile("item/folder.drav/inside", "");
    CDataFileFactoryPath source(dir.Path().string(), 1);
    EXPECT_DRAV_CODE(source.Open(DFK_ITEM, DFS_NONE, "folder.drav"), 1);
    EXPECT_DRAV_CODE(source.ReadAll(DFK_ITEM, DFS_NONE, "folder.drav"), 1);
    EXPECT_DRAV_CODE(DRAVCommon::CDataFileReader(dir / "item"), 1);
}
