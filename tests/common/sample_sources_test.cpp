#include <gtest/gtest.h>

#include "common/data_file_reader.h"
#include "packer/archive_builder.h"
#include "support/sample_module.h"

using namespace DRAVCommon;

namespace {

bool IsElementText(const std::string& name) {
    return name.size() > 5 && name.compare(name.size() - 5, 5, ".drav") == 0;
}

}  // namespace

// The two forms of the sample chapter must be interchangeable.
TEST(SampleSources, EveryFileReadsTheSameFromFolderAndArchive) {
    auto folder = QuillmereTest::SampleFolderSource();
    auto archive = QuillmereTest::SampleArchiveSource();
    auto files = QuillmereTools::CollectModuleFiles(QuillmereTest::SampleFolderRoot(), 1);
    ASSERT_FALSE(files.empty());
    int texts = 0;
    for (const QuillmereTools::ArchiveFile& file : files) {
        SCOPED_TRACE(file.path);
        auto kind = static_cast<DataFileKind>(file.kind);
        auto subkind = static_cast<DataFileSubkind>(file.subkind);
        EXPECT_EQ(*folder->ReadAll(kind, subkind, file.name), *archive->ReadAll(kind, subkind, file.name));
        if (!IsElementText(file.name)) continue;
        ++texts;
        CDataFileReader fromFolder(*folder, kind, subkind, file.name);
        CDataFileReader fromArchive(*archive, kind, subkind, file.name);
        while (!fromFolder.AtEnd()) {
            ASSERT_EQ(fromFolder.GetToken(), fromArchive.GetToken());
            fromFolder.Advance();
            fromArchive.Advance();
        }
        EXPECT_TRUE(fromArchive.AtEnd());
    }
    EXPECT_GT(texts, 0);
}
