#include <gtest/gtest.h>

#include "common/data_file_reader.h"
#include "support/sample_module.h"

TEST(SampleSources, ChapterWorldFileOpensFromTheFolderAndTheArchive) {
    auto folder = QuillmereTest::SampleFolderSource();
    auto archive = QuillmereTest::SampleArchiveSource();
    EXPECT_EQ(*folder->ReadAll(DRAVCommon::DFK_CHAPTER, DRAVCommon::DFS_NONE, "world.drav"),
              *archive->ReadAll(DRAVCommon::DFK_CHAPTER, DRAVCommon::DFS_NONE, "world.drav"));
}
