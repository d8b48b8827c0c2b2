#include <gtest/gtest.h>

#include <string>

#include "common/data_file_reader.h"
#include "common/data_file_writer.h"
#include "common/exception.h"
#include "support/error_code.h"
#include "support/sample_module.h"
#include "support/temp_dir.h"
#include "world/journal_entry.h"

using DRAV::CJournalEntry;
using DRAV::JournalState;

namespace {

TEST(JournalState, SavedLayoutAndRoundTrip) {
    JournalState journal;
    journal.push_back(std::make_shared<CJournalEntry>("ferry_fare", "ferry_passage", 120));
    journal.push_back(std::make_shared<CJournalEntry>("boatwright_missing", "", 4294967295u));
    journal.push_back(std::make_shared<CJournalEntry>("ferry_crossed", "ferry_passage", 0));

    QuillmereTest::TempDir dir;
    const std::string path = dir / "journal.drav";
    DRAVCommon::CDataFileWriter writer(path);
    DRAV::SaveJournalState(journal, writer);
    writer.Finish();

    EXPECT_EQ(QuillmereTest::ReadTextFile(path),
              "<journal>\n"
              " ferry_fare\n"
              " ferry_passage\n"
              " 120\n"
              " boatwright_missing\n"
              " 0\n"
              " 4294967295\n"
              " ferry_crossed\n"
              " ferry_passage\n"
              " 0\n"
              "</journal>\n");

    JournalState loaded{std::make_shared<CJournalEntry>("stale", "", 1)};
    DRAVCommon::CDataFileReader reader(path);
    DRAV::LoadJournalState(loaded, reader);
    EXPECT_TRUE(reader.AtEnd());
    ASSERT_EQ(loaded.size(), journal.size());
    for (std::size_t i = 0; i < journal.size(); ++i) {
        EXPECT_EQ(loaded[i]->GetJournalKey(), journal[i]->GetJournalKey());
        EXPECT_EQ(loaded[i]->GetQuestKey(), journal[i]->GetQuestKey());
        EXPECT_EQ(loaded[i]->GetTick(), journal[i]->GetTick());
    }
}

TEST(JournalState, ALoadKeepsTheLatestEntriesAsTheJournalDoes) {
    std::string text = "<journal>";
    for (std::size_t i = 0; i < DRAV::kJournalEntryLimit + 2; ++i) text += " e" + std::to_string(i) + " q 0";
    DRAVCommon::CDataFileReader reader(QuillmereTest::TextStream(text + " </journal>"), "save");
    JournalState journal;
    DRAV::LoadJournalState(journal, reader);
    EXPECT_EQ(std::pair(journal.size(), journal.front()->GetJournalKey()),
              std::pair(DRAV::kJournalEntryLimit, std::string("e2")));
}

TEST(JournalState, EmptyJournalClearsTheOldOne) {
    DRAVCommon::CDataFileReader reader(QuillmereTest::TextStream("<journal> </journal>"), "save");
    JournalState journal{std::make_shared<CJournalEntry>("stale", "", 1)};
    DRAV::LoadJournalState(journal, reader);
    EXPECT_TRUE(journal.empty());
}

TEST(JournalState, MalformedElementsAreBadData) {
    for (const char* text : {
             "<journal> key quest </journal>",
             "<journal> key quest -1 </journal>",
             "<journal> key quest soon </journal>",
             "<journal> key quest 1",
             "<people> </people>",
         }) {
        DRAVCommon::CDataFileReader reader(QuillmereTest::TextStream(text), "save");
        JournalState journal;
        EXPECT_EQ(QuillmereTest::ErrorCodeOf([&] { DRAV::LoadJournalState(journal, reader); }), DRAV_ERR_BAD_DATA)
            << text;
    }
}

}  // namespace
