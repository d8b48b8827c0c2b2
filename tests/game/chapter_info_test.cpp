#include "game/chapter_info.h"

#include <gtest/gtest.h>

#include "common/data_file_memory.h"
#include "support/error_code.h"
#include "support/sample_module.h"

namespace {

using DRAVCommon::CDataFileFactoryMemory;

std::shared_ptr<CDataFileFactoryMemory> Chapter(const std::string& chapter, const std::string& world) {
    auto source = std::make_shared<CDataFileFactoryMemory>();
    source->Add(DRAVCommon::DFK_CHAPTER, DRAVCommon::DFS_NONE, "chapter.drav", {chapter.begin(), chapter.end()});
    source->Add(DRAVCommon::DFK_CHAPTER, DRAVCommon::DFS_NONE, "world.drav", {world.begin(), world.end()});
    return source;
}

const char* kWorldHead = "<world> <version> Orvex 1 2 </version> <startup> whatever follows is not read";

TEST(ChapterInfo, ReadsTheSampleChapterRecord) {
    CDRAVChapterInfo record(0, 0);
    record.Load(QuillmereTest::SampleFolderSource());
    EXPECT_EQ(record.m_state, CDRAVChapterInfo::kStatePresent);
    EXPECT_EQ(record.m_chapterNumber, 1);
    EXPECT_EQ(record.m_chapterCount, 2) << "the sample holds two chapters";
    EXPECT_EQ(record.m_startingLevel, 1);
    EXPECT_EQ(record.m_lowestStartingLevel, 1);
    EXPECT_EQ(record.m_highestStartingLevel, 8);
    EXPECT_EQ(record.m_text1, "The Reedwater Landing");
    EXPECT_EQ(record.m_text3, "The Weir at Ashcombe");
    EXPECT_FALSE(record.m_text4.empty());
    EXPECT_EQ(record.GetVersionText(), "5.0");
    EXPECT_TRUE(record.m_package);
}

// The next chapter's introduction is read after either road through the hide:
// it tells where the smugglers' goods went, not what became of their captain.
TEST(ChapterInfo, TheSecondChaptersIntroductionHoldsHoweverTheHideWasPassed) {
    CDRAVChapterInfo record(0, 0);
    record.Load(QuillmereTest::SampleFolderSource(2));
    EXPECT_EQ(record.m_text1, "The Weir at Ashcombe");
    // The last chapter: it counts itself the last and announces none after it.
    EXPECT_EQ(record.m_chapterNumber, 2);
    EXPECT_EQ(record.m_chapterCount, 2);
    EXPECT_EQ(record.m_text3, "");
    EXPECT_EQ(record.m_text4, "");
    EXPECT_NE(record.m_text2.find("smugglers carried out of the Reedwater reeds"), std::string::npos)
        << record.m_text2;
    for (const char* fate : {"fled", "escaped", "killed", "died"})
        EXPECT_EQ(record.m_text2.find(fate), std::string::npos) << fate;
}

TEST(ChapterInfo, ReadsOnlyTheHeadOfTheWorldFile) {
    CDRAVChapterInfo record(0, 0);
    record.Load(Chapter("<chapter> ( 2 3 ) 4 ( 2 6 ) \"a\" \"b\" \"c\" \"d\" </chapter>", kWorldHead));
    EXPECT_EQ(record.m_chapterNumber, 2);
    EXPECT_EQ(record.m_startingLevel, 4);
    EXPECT_EQ(record.m_highestStartingLevel, 6);
    EXPECT_EQ(record.m_text4, "d");
    EXPECT_EQ(record.GetVersionText(), "1.2");

    CDRAVChapterInfo unversioned(0, 0);
    unversioned.Load(Chapter("<chapter> ( 1 1 ) 1 ( 1 1 ) \"\" \"\" \"\" \"\" </chapter>", "<world> <startup>"));
    EXPECT_EQ(unversioned.GetVersionText(), "");

    CDRAVChapterInfo majorZero(0, 0);
    majorZero.Load(Chapter("<chapter> ( 1 1 ) 1 ( 1 1 ) \"\" \"\" \"\" \"\" </chapter>",
                           "<world> <version> Orvex 0 7 </version>"));
    EXPECT_EQ(majorZero.GetVersionText(), "");
}

TEST(ChapterInfo, MalformedRecordsFailWithCodeOneButStayMarkedPresent) {
    const char* broken[] = {
        "<chapter> 0 1 ( 1 8 ) \"a\" \"b\" \"c\" \"d\" </chapter>",    // the first group written as 0
        "<chapter> 1 4 1 ( 1 8 ) \"a\" \"b\" \"c\" \"d\" </chapter>",  // no group at all
        "<chapter> ( 1 4 ) 1 0 \"a\" \"b\" \"c\" \"d\" </chapter>",    // the level range written as 0
        "<chapter> ( 1 4 ) 1 ( 1 8 ) \"a\" \"b\" \"c\" </chapter>",    // a text short
        "<chapter> ( 1 4 ) 1 ( 1 8 ) \"a\" \"b\" \"c\" \"d\"",         // never closed
        "<chapter> ( 1 x ) 1 ( 1 8 ) \"a\" \"b\" \"c\" \"d\" </chapter>",
    };
    for (const char* text : broken) {
        CDRAVChapterInfo record(0, 0);
        EXPECT_EQ(QuillmereTest::ErrorCodeOf([&] { record.Load(Chapter(text, kWorldHead)); }), 1) << text;
        EXPECT_EQ(record.m_state, CDRAVChapterInfo::kStatePresent) << text;
    }
    CDRAVChapterInfo noWorld(0, 0);
    auto source = std::make_shared<CDataFileFactoryMemory>();
    std::string chapter = "<chapter> ( 1 1 ) 1 ( 1 1 ) \"\" \"\" \"\" \"\" </chapter>";
    source->Add(DRAVCommon::DFK_CHAPTER, DRAVCommon::DFS_NONE, "chapter.drav", {chapter.begin(), chapter.end()});
    EXPECT_EQ(QuillmereTest::ErrorCodeOf([&] { noWorld.Load(source); }), 1);
}

TEST(ChapterInfoMap, SizedByTheFirstRecordsCount) {
    ChapterInfoMap table;
    auto first = std::make_shared<CDRAVChapterInfo>(1, 3);
    table[7] = std::make_shared<CDRAVChapterInfo>(7, 7);
    table.Init(first);
    EXPECT_EQ(table.Find(1), first.get());
    ASSERT_NE(table.Find(3), nullptr);
    EXPECT_EQ(table.Find(3)->m_chapterNumber, 3);
    EXPECT_EQ(table.Find(3)->m_chapterCount, 3);
    EXPECT_EQ(table.Find(3)->m_state, 0);
    EXPECT_EQ(table.Find(4), nullptr);
    EXPECT_EQ(table.Find(0), nullptr);

    for (int count : {1, 0, -2}) {
        ChapterInfoMap single;
        single.Init(std::make_shared<CDRAVChapterInfo>(1, count));
        EXPECT_EQ(single.size(), 1u) << count;
        EXPECT_EQ(single.Find(2), nullptr) << count;
    }
}

}  // namespace
