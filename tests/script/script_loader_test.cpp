#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/data_file_reader.h"
#include "common/exception.h"
#include "script/lua_string.h"
#include "script/script_loader.h"
#include "script/script_test_support.h"
#include "support/error_code.h"
#include "support/sample_module.h"

using DRAVCommon::CDataFileReader;
using QuillmereTest::ScriptFromText;
using QuillmereTest::TextStream;

namespace {

std::int32_t ErrorCode(const std::string& text) {
    return QuillmereTest::ErrorCodeOf([&] { ScriptFromText(text); });
}

TEST(LoadScript, LuaBodyBecomesOneLine) {
    auto script = ScriptFromText(
        "<lua>\n"
        "  if drav_check_tag( context, \"ferry_paid\" ) then\n"
        "      return   \"two   blanks\"\n"
        "  end\n"
        "</lua>\n");
    ASSERT_TRUE(script);
    EXPECT_EQ(script->GetSource(),
              "function drav_script( context )\n"
              "if drav_check_tag( context, \"ferry_paid\" ) then return \"two blanks\" end \n"
              "end\n");
}

TEST(LoadScript, LuaCommentEndsTheBodyButNotTheFunction) {
    auto script = ScriptFromText("<lua> return 4 -- the ferry fare\n </lua>");
    ASSERT_TRUE(script);
    DRAV::CScriptContext context;
    EXPECT_EQ(script->Eval(nullptr, context), 4);
}

TEST(LoadScript, HashWordStartsADataFileComment) {
    auto script = ScriptFromText("<lua> return 3 #+ 4\n </lua>");
    ASSERT_TRUE(script);
    EXPECT_EQ(script->GetSource(), "function drav_script( context )\nreturn 3 \nend\n");
}

TEST(LoadScript, SetTagScripts) {
    auto script = ScriptFromText("<settag> ferry_paid </settag>");
    ASSERT_TRUE(script);
    EXPECT_EQ(script->GetSource(),
              "function drav_script( context )\n"
              "drav_set_tag( context, \"ferry_paid\" )\n"
              "end\n");

    auto empty = ScriptFromText("<settag> 0 </settag>");
    ASSERT_TRUE(empty);
    EXPECT_NE(empty->GetSource().find("drav_set_tag( context, \"\" )\n"), std::string::npos);
}

TEST(LoadScript, SkipsWordPairsAndPlaceholder) {
    CDataFileReader reader(TextStream("( mood calm ) (pace slow) 0 <settag> t </settag> next"), "test.drav");
    auto script = DRAV::LoadScript(reader);
    ASSERT_TRUE(script);
    EXPECT_EQ(reader.GetToken(), "next");

    CDataFileReader placeholder(TextStream("0 </state>"), "test.drav");
    EXPECT_FALSE(DRAV::LoadScript(placeholder));
    EXPECT_EQ(placeholder.GetToken(), "</state>");

    // A "0" ends the pairs only; the script after it is still read.
    CDataFileReader zeroThenScript(TextStream("0 <lua> return 1 </lua>"), "test.drav");
    EXPECT_TRUE(DRAV::LoadScript(zeroThenScript));
    EXPECT_TRUE(zeroThenScript.AtEnd());

    CDataFileReader nothing(TextStream("</state>"), "test.drav");
    EXPECT_FALSE(DRAV::IsScriptBlock(nothing));
    EXPECT_FALSE(DRAV::LoadScript(nothing));
    EXPECT_EQ(nothing.GetToken(), "</state>");
}

TEST(LoadScript, IsScriptBlockPeeksOnly) {
    CDataFileReader lua(TextStream("<lua> return 1 </lua>"), "test.drav");
    EXPECT_TRUE(DRAV::IsScriptBlock(lua));
    EXPECT_EQ(lua.GetToken(), "<lua>");
    CDataFileReader settag(TextStream("<settag> t </settag>"), "test.drav");
    EXPECT_TRUE(DRAV::IsScriptBlock(settag));
    CDataFileReader other(TextStream("<state> a </state>"), "test.drav");
    EXPECT_FALSE(DRAV::IsScriptBlock(other));
}

TEST(LoadScript, MalformedElementsAreBadData) {
    EXPECT_EQ(ErrorCode("<settag> one two </settag>"), DRAV_ERR_BAD_DATA);
    EXPECT_EQ(ErrorCode("<settag> </settag>"), DRAV_ERR_BAD_DATA);
    EXPECT_EQ(ErrorCode("<lua> return 1\n"), DRAV_ERR_BAD_DATA);
    EXPECT_EQ(ErrorCode("<lua> return 1 </state> </talk>"), DRAV_ERR_BAD_DATA);
    EXPECT_EQ(ErrorCode("( only_one )"), DRAV_ERR_BAD_DATA);
}

TEST(MakeTriggerScript, WithoutCheck) {
    auto script = DRAV::MakeTriggerScript("reed_note", DRAV::kTriggerNoSpecialStat, 0, "Reed Bundle",
                                          "A note is tied to the reeds.");
    EXPECT_EQ(script->GetSource(),
              "function drav_script( context )\n"
              "  if(drav_check_tag(context, \"reed_note\" )) then \n"
              "    return \n"
              "  end \n"
              "  drav_dialog_box(context, \"Reed Bundle\", \"A note is tied to the reeds.\") \n"
              "  drav_set_tag(context, \"reed_note\") \n"
              "end \n");
}

TEST(MakeTriggerScript, WithSpecialStatCheck) {
    auto script = DRAV::MakeTriggerScript("reed_note", 2, 40, "Reed Bundle", "Smugglers' mark.");
    const std::string& source = script->GetSource();
    std::vector<std::string> lines;
    for (std::size_t start = 0, end; (end = source.find('\n', start)) != std::string::npos; start = end + 1)
        lines.push_back(source.substr(start, end - start + 1));
    ASSERT_EQ(lines.size(), 10u);
    EXPECT_EQ(lines[4], "  if(not drav_special_stat_check(context, \"diplomacy\", 40)) then \n");
    EXPECT_EQ(lines[5], "    return \n");
    EXPECT_EQ(lines[6], "  end \n");
    EXPECT_EQ(lines[9], "end \n");
}

TEST(MakeTriggerScript, StatisticOutsideTheTableIsRefused) {
    EXPECT_EQ(QuillmereTest::ErrorCodeOf([] { DRAV::MakeTriggerScript("t", 6, 0, "a", "b"); }),
              DRAV_ERR_OUT_OF_RANGE);
    EXPECT_EQ(QuillmereTest::ErrorCodeOf([] { DRAV::MakeTriggerScript("t", -1, 0, "a", "b"); }),
              DRAV_ERR_OUT_OF_RANGE);
}

TEST(QuoteLuaString, EscapesWhatLuaWouldReadDifferently) {
    EXPECT_EQ(DRAV::QuoteLuaString("plain"), "\"plain\"");
    EXPECT_EQ(DRAV::QuoteLuaString(""), "\"\"");
    EXPECT_EQ(DRAV::QuoteLuaString("say \"hi\""), "\"say \\\"hi\\\"\"");
    EXPECT_EQ(DRAV::QuoteLuaString("a\\b"), "\"a\\\\b\"");
    EXPECT_EQ(DRAV::QuoteLuaString("a\nb\r"), "\"a\\nb\\r\"");
    EXPECT_EQ(DRAV::QuoteLuaString(std::string("\x01" "2", 2)), "\"\\0012\"");
    EXPECT_EQ(DRAV::QuoteLuaString("caf\xc3\xa9"), "\"caf\xc3\xa9\"");
}

}  // namespace
