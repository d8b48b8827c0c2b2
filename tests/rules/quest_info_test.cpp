#include <gtest/gtest.h>

#include <string>

#include <lua.hpp>

#include "common/data_file_reader.h"
#include "common/exception.h"
#include "rules/definitions/journal_texts.h"
#include "rules/definitions/quest_info.h"
#include "support/error_code.h"
#include "support/sample_module.h"

using DRAV::JournalTextMap;
using DRAV::QuestMap;

namespace {

QuestMap ReadQuests(const std::string& text) {
    DRAVCommon::CDataFileReader reader(QuillmereTest::TextStream(text), "quests.drav");
    QuestMap quests;
    DRAV::ParseQuests(quests, reader);
    return quests;
}

JournalTextMap ReadJournal(const std::string& text) {
    DRAVCommon::CDataFileReader reader(QuillmereTest::TextStream(text), "journal.drav");
    JournalTextMap texts;
    DRAV::ParseJournal(texts, reader);
    return texts;
}

template <typename Read>
std::int32_t ErrorCode(Read read, const std::string& text) {
    return QuillmereTest::ErrorCodeOf([&] { read(text); });
}

TEST(Quests, ReadEveryField) {
    QuestMap quests = ReadQuests(
        "<quests>\n"
        " <quest> find_boatwright \"The Missing Boatwright\" 300 boatwright_asked\n"
        "  <lua> return true </lua>\n"
        " </quest>\n"
        " <quest> ferry_passage \"Passage Across\" 50 0 </quest>\n"
        " <quest> reed_smugglers \"Smoke in the Reeds\" 450 0 ( a b ) 0 <settag> reported </settag> </quest>\n"
        "</quests>\n");
    ASSERT_EQ(quests.size(), 3u);

    const auto& boatwright = quests.at("find_boatwright");
    EXPECT_EQ(boatwright->GetKey(), "find_boatwright");
    EXPECT_EQ(boatwright->GetName(), "The Missing Boatwright");
    EXPECT_EQ(boatwright->GetReward(), 300u);
    EXPECT_EQ(boatwright->GetCompletionTag(), "boatwright_asked");
    ASSERT_TRUE(boatwright->GetScript());
    DRAV::CScriptContext context;
    EXPECT_EQ(boatwright->GetScript()->Eval(nullptr, context), 1);

    const auto& ferry = quests.at("ferry_passage");
    EXPECT_EQ(ferry->GetCompletionTag(), "");
    EXPECT_FALSE(ferry->GetScript());

    ASSERT_TRUE(quests.at("reed_smugglers")->GetScript());
    EXPECT_NE(quests.at("reed_smugglers")->GetScript()->GetSource().find("\"reported\""), std::string::npos);
}

TEST(Quests, LaterQuestOfAKeyReplacesTheEarlier) {
    QuestMap quests = ReadQuests(
        "<quests>"
        " <quest> ferry \"Old\" 10 0 </quest>"
        " <quest> ferry \"New\" 20 0 </quest> "
        "</quests>");
    ASSERT_EQ(quests.size(), 1u);
    EXPECT_EQ(quests.at("ferry")->GetName(), "New");
    EXPECT_EQ(quests.at("ferry")->GetReward(), 20u);
    EXPECT_TRUE(ReadQuests("<quests> </quests>").empty());
}

TEST(Quests, MalformedFilesAreBadData) {
    for (const char* text : {
             "<quests> <quest> q \"Q\" -5 0 </quest> </quests>",
             "<quests> <quest> q Unquoted 5 0 </quest> </quests>",
             "<quests> <quest> q \"Q\" 5 </quest> </quests>",
             "<quests> <quest> q \"Q\" 5 0 <settag> a b </settag> </quest> </quests>",
             "<quests> <quest> q \"Q\" 5 0 <lua> return true </quest> </quests>",
             "<quests> <quest> q \"Q\" 5 0 </quest> <journal> </journal> </quests>",
             "<quests> <quest> q \"Q\" 5 0 </quest>",
         })
        EXPECT_EQ(ErrorCode(ReadQuests, text), DRAV_ERR_BAD_DATA) << text;
}

TEST(Journal, ReadsPairsAndLaterTextWins) {
    JournalTextMap texts = ReadJournal(
        "<journal>\n"
        " ferry_fare \"Five silver to cross.\"\n"
        " ferry_crossed \"We crossed.\"\n"
        " ferry_fare \"Six silver now.\"\n"
        " empty \"\"\n"
        "</journal>\n");
    ASSERT_EQ(texts.size(), 3u);
    EXPECT_EQ(texts.at("ferry_fare"), "Six silver now.");
    EXPECT_EQ(texts.at("ferry_crossed"), "We crossed.");
    EXPECT_EQ(texts.at("empty"), "");
}

TEST(Journal, MalformedFilesAreBadData) {
    EXPECT_EQ(ErrorCode(ReadJournal, "<journal> key </journal>"), DRAV_ERR_BAD_DATA);
    EXPECT_EQ(ErrorCode(ReadJournal, "<journal> key unquoted </journal>"), DRAV_ERR_BAD_DATA);
    EXPECT_EQ(ErrorCode(ReadJournal, "<journal> key \"never closed </journal>"), DRAV_ERR_BAD_DATA);
    EXPECT_EQ(ErrorCode(ReadJournal, "<quests> </quests>"), DRAV_ERR_BAD_DATA);
}

void CheckSampleChapter(DRAVCommon::CDataFileFactory* source) {
    QuestMap quests;
    {
        DRAVCommon::CDataFileReader reader(*source, DRAVCommon::DFK_CHAPTER, DRAVCommon::DFS_NONE, "quests.drav");
        DRAV::ParseQuests(quests, reader);
        EXPECT_TRUE(reader.AtEnd());
    }
    JournalTextMap texts;
    {
        DRAVCommon::CDataFileReader reader(*source, DRAVCommon::DFK_CHAPTER, DRAVCommon::DFS_NONE, "journal.drav");
        DRAV::ParseJournal(texts, reader);
        EXPECT_TRUE(reader.AtEnd());
    }
    ASSERT_EQ(quests.size(), 5u);
    EXPECT_EQ(quests.at("find_boatwright")->GetCompletionTag(), "boatwright_asked");
    // The heron's riddle is nobody's errand: no tag comes before it.
    EXPECT_EQ(quests.at("heron_riddle")->GetCompletionTag(), "");
    ASSERT_TRUE(quests.at("find_boatwright")->GetScript());
    EXPECT_NE(quests.at("find_boatwright")->GetScript()->GetSource().find("drav_check_tag"), std::string::npos);
    ASSERT_TRUE(quests.at("reed_smugglers")->GetScript());
    EXPECT_EQ(quests.at("boatwright_home")->GetCompletionTag(), "find_boatwright");
    // Every quest of the chapter can complete.
    for (const auto& [key, quest] : quests) EXPECT_TRUE(quest->GetScript()) << key;

    // The sample's scripts are valid Lua.
    for (const auto& [key, quest] : quests) {
        if (!quest->GetScript()) continue;
        lua_State* state = luaL_newstate();
        EXPECT_EQ(luaL_loadstring(state, quest->GetScript()->GetSource().c_str()), LUA_OK) << key;
        lua_close(state);
    }

    EXPECT_EQ(texts.size(), 20u);
    for (const char* key :
         {"landing_arrival", "smugglers_asked", "smugglers_asked_seen", "boatwright_missing", "boatwright_missing_seen",
          "witch_told", "boatwright_found", "boatwright_escort", "boatwright_home", "boatwright_lost", "witch_lost",
          "witch_raised", "boatwright_raised", "smugglers_seen", "smugglers_reported", "ferry_fare", "ferry_fare_open",
          "ferry_crossed", "heron_riddle_answered", "heron_riddle_answered_late"})
        EXPECT_FALSE(texts.at(key).empty()) << key;
}

TEST(SampleChapter, QuestsAndJournalLoad) { CheckSampleChapter(QuillmereTest::SampleFolderSource().get()); }

}  // namespace
