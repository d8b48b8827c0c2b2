#include <gtest/gtest.h>

#include <stdexcept>

#include "common/data_file_packed.h"
#include "packer/archive_builder.h"
#include "support/expect_drav.h"
#include "support/temp_dir.h"

using namespace DRAVCommon;
using QuillmereTest::TempDir;

namespace {

std::string AsText(const ByteVector& bytes) { return std::string(bytes.begin(), bytes.end()); }

}  // namespace

TEST(Packer, TreeRoundTripsThroughTheArchive) {
    TempDir dir;
    dir.WriteFile("mod/1/world.drav", "<world> </world>");
    dir.WriteFile("mod/1/items.drav", "<items> </items>");
    dir.WriteFile("mod/2/world.drav", "chapter two");  // another chapter stays out
    dir.WriteFile("mod/global_world.drav", "global");
    dir.WriteFile("mod/module1.drav", "an older archive");  // archives are not packed into archives
    dir.WriteFile("mod/uiwin32.drav", "the interface");      // nor is the interface archive beside them
    dir.WriteFile("mod/actor/fig/hero.fig", "fig");
    dir.WriteFile("mod/actor/hero.txt", "actor");
    dir.WriteBytes("mod/icon/sword.png", {0x89, 'P', 'N', 'G', 0, 0xFF});
    dir.WriteBytes("mod/tile/tex/empty.png", {});
    std::string name63(63, 'x');
    dir.WriteFile("mod/ui/" + name63, "long name");

    std::string root = dir / "mod";
    auto files = QuillmereTools::CollectModuleFiles(root, 1);
    QuillmereTools::WriteArchive(files, dir / "out/module1.drav");
    EXPECT_FALSE(std::filesystem::exists(dir / "out/module1.drav.partial"));

    CDataFileFactoryPacked archive(dir / "out", 1);
    EXPECT_EQ(archive.GetIndex().size(), 8u);
    EXPECT_EQ(AsText(*archive.ReadAll(DFK_CHAPTER, DFS_NONE, "world.drav")), "<world> </world>");
    EXPECT_EQ(AsText(*archive.ReadAll(DFK_CHAPTER, DFS_NONE, "items.drav")), "<items> </items>");
    EXPECT_EQ(AsText(*archive.ReadAll(DFK_GLOBAL, DFS_NONE, "global_world.drav")), "global");
    EXPECT_EQ(AsText(*archive.ReadAll(DFK_ACTOR, DFS_FIG, "hero.fig")), "fig");
    EXPECT_EQ(AsText(*archive.ReadAll(DFK_ACTOR, DFS_NONE, "hero.txt")), "actor");
    EXPECT_EQ(*archive.ReadAll(DFK_ICON, DFS_NONE, "sword.png"), ByteVector({0x89, 'P', 'N', 'G', 0, 0xFF}));
    EXPECT_TRUE(archive.ReadAll(DFK_TILE, DFS_TEX, "empty.png")->empty());
    EXPECT_EQ(AsText(*archive.ReadAll(DFK_UI, DFS_NONE, name63)), "long name");
    EXPECT_DRAV_CODE(archive.ReadAll(DFK_GLOBAL, DFS_NONE, "module1.drav"), 1);
    EXPECT_DRAV_CODE(archive.ReadAll(DFK_GLOBAL, DFS_NONE, "uiwin32.drav"), 1);
}

TEST(Packer, RefusesNamesTheArchiveCannotHold) {
    TempDir dir;
    dir.WriteFile("mod/1/world.drav", "");
    dir.WriteFile("mod/1/" + std::string(64, 'y'), "");
    EXPECT_THROW(QuillmereTools::CollectModuleFiles(dir / "mod", 1), std::runtime_error);
}

TEST(Packer, UnwritableOutputLeavesNoArchive) {
    TempDir dir;
    dir.WriteFile("mod/1/world.drav", "w");
    auto files = QuillmereTools::CollectModuleFiles(dir / "mod", 1);
    files.push_back({DFK_CHAPTER, DFS_NONE, "gone.drav", dir / "mod/1/gone.drav"});
    EXPECT_THROW(QuillmereTools::WriteArchive(files, dir / "module1.drav"), std::runtime_error);
    EXPECT_FALSE(std::filesystem::exists(dir / "module1.drav"));
}

TEST(Packer, OneFolderPacksAsEntriesOfOneKind) {
    TempDir dir;
    dir.WriteFile("ui/b_image.png", "png");
    dir.WriteFile("ui/a_font.ttf", "ttf");
    dir.WriteFile("ui/nested/ignored.png", "not packed");
    auto files = QuillmereTools::CollectFolderFiles(dir / "ui", DFK_UI);
    ASSERT_EQ(files.size(), 2u);
    EXPECT_EQ(files[0].name, "a_font.ttf");
    EXPECT_EQ(files[1].name, "b_image.png");
    QuillmereTools::WriteArchive(files, dir / "uiwin32.drav");

    auto archive = CDataFileFactoryPacked::FromPath(dir / "uiwin32.drav");
    EXPECT_EQ(AsText(*archive->ReadAll(DFK_UI, DFS_NONE, "b_image.png")), "png");
    EXPECT_EQ(AsText(*archive->ReadAll(DFK_UI, DFS_NONE, "a_font.ttf")), "ttf");
    EXPECT_DRAV_CODE(archive->ReadAll(DFK_UI, DFS_NONE, "ignored.png"), 1);
    EXPECT_THROW(QuillmereTools::CollectFolderFiles(dir / "missing", DFK_UI), std::runtime_error);
}
