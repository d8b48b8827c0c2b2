#include <gtest/gtest.h>

#include <tuple>

#include "common/data_file_reader.h"
#include "support/expect_drav.h"
#include "support/sample_module.h"
#include "support/temp_dir.h"

using DRAVCommon::CDataFileReader;
using QuillmereTest::TextStream;

namespace {

CDataFileReader Reader(const std::string& text) { return CDataFileReader(TextStream(text), "test.drav"); }

}  // namespace

TEST(Reader, GroupParenthesesMayStandAloneOrBeGlued) {
    for (const char* text : {"( 1 2 3 ) next", "(1 2 3 ) next", "( 1 2 3) next", "(1 2 3) next"}) {
        SCOPED_TRACE(text);
        CDataFileReader reader = Reader(text);
        ASSERT_TRUE(reader.BeginGroup(3, false));
        EXPECT_EQ(reader.ReadInt(), 1);
        EXPECT_EQ(reader.ReadInt(), 2);
        EXPECT_EQ(reader.ReadInt(), 3);
        EXPECT_EQ(reader.ReadWord(), "next");
    }
}

TEST(Reader, AbsentGroupsAndGreyColours) {
    CDataFileReader zero = Reader("0 after");
    EXPECT_FALSE(zero.BeginPairGroup());
    EXPECT_EQ(zero.GetToken(), "after");

    CDataFileReader plain = Reader("128 after");
    EXPECT_FALSE(plain.BeginGroup(3, false));
    EXPECT_EQ(plain.GetToken(), "128");
    std::uint32_t colour = 0xAB000000u;
    plain.ReadColour(colour);
    EXPECT_EQ(colour, 0xAB808080u);  // the top byte is left alone

    CDataFileReader triple = Reader("(300 2 3)");
    colour = 0;
    triple.ReadColour(colour);
    EXPECT_EQ(colour, 0x002C0203u);  // each value cut to 8 bits: 300 -> 0x2C
}

TEST(Reader, GroupLastValueMustBeFollowedByClosingParenthesis) {
    CDataFileReader reader = Reader("(1 2 3 4)");
    ASSERT_TRUE(reader.BeginGroup(3, false));
    reader.ReadInt();
    EXPECT_DRAV_CODE(reader.ReadInt(), 1);

    CDataFileReader atEnd = Reader("( 1 2");
    ASSERT_TRUE(atEnd.BeginPairGroup());
    EXPECT_DRAV_CODE(atEnd.ReadInt(), 1);
}

TEST(Reader, ElementOperationsInsideAGroupAreCode2) {
    CDataFileReader reader = Reader("<a> (1 <b> 2)");
    reader.BeginBlock("a");
    ASSERT_TRUE(reader.BeginGroup(3, false));
    reader.ReadInt();
    EXPECT_DRAV_CODE(reader.BeginBlock("b"), 2);
    EXPECT_DRAV_CODE(reader.EndBlock(), 2);
}

TEST(Reader, GroupsOfFewerThanTwoValuesAreRefused) {
    CDataFileReader reader = Reader("(1)");
    EXPECT_DRAV_CODE(reader.BeginGroup(1, false), 2);
    EXPECT_DRAV_CODE(reader.BeginGroup(0, true), 2);
}

TEST(Reader, QuotedTextInsideAGroupWhenNotLast) {
    CDataFileReader reader = Reader("(\"two words\" 5)");
    ASSERT_TRUE(reader.BeginPairGroup());
    EXPECT_EQ(reader.ReadQuoted(), "two words");
    EXPECT_EQ(reader.ReadInt(), 5);
    EXPECT_TRUE(reader.AtEnd());
}

TEST(Reader, CommentsRunToTheEndOfTheLine) {
    CDataFileReader reader = Reader("# heading\nfirst # rest of line ( <x>\nabc#def\n#\nlast");
    EXPECT_EQ(reader.ReadWord(), "first");
    EXPECT_EQ(reader.ReadWord(), "abc#def");
    EXPECT_EQ(reader.ReadWord(), "last");
    EXPECT_TRUE(reader.AtEnd());
}

TEST(Reader, CommentWithoutLineFeedEndsTheData) {
    CDataFileReader reader = Reader("word #trailing comment");
    EXPECT_EQ(reader.ReadWord(), "word");
    EXPECT_TRUE(reader.AtEnd());
    EXPECT_DRAV_CODE(reader.ReadWord(), 1);

    CDataFileReader onlyComment = Reader("# nothing else");
    EXPECT_TRUE(onlyComment.AtEnd());
}

TEST(Reader, QuotedTexts) {
    CDataFileReader reader = Reader("\"over\n   three\t\tlines  \nhere\" \"\" \" left behind\" \"one\"");
    EXPECT_EQ(reader.ReadQuoted(), "over three lines here");
    EXPECT_EQ(reader.ReadQuoted(), "");
    EXPECT_EQ(reader.ReadQuoted(), "");  // a lone quote is a whole, empty text
    EXPECT_EQ(reader.ReadWord(), "left");
    EXPECT_EQ(reader.ReadWord(), "behind\"");
    EXPECT_EQ(reader.ReadQuoted(), "one");
}

TEST(Reader, TokensAndQuotedTextsReadTheSameAcrossTheReadersChunks) {
    // The reader takes its stream 32 KiB at a time; a text or word may straddle that edge.
    const std::string tail = "\"a  b\"c\t\n d\" (1 2) name_of_a_word </x>";
    for (std::size_t pad = 32768 - 48; pad <= 32768 + 2; ++pad) {
        SCOPED_TRACE(pad);
        CDataFileReader reader = Reader("<x>" + std::string(pad - 3, ' ') + tail);
        reader.BeginBlock("x");
        EXPECT_EQ(reader.ReadQuoted(), "a b\"c d");  // a quote inside a word closes nothing
        ASSERT_TRUE(reader.BeginGroup(2, false));
        EXPECT_EQ(reader.ReadInt(), 1);
        EXPECT_EQ(reader.ReadInt(), 2);
        EXPECT_EQ(reader.ReadWord(), "name_of_a_word");
        reader.EndBlock();
        EXPECT_TRUE(reader.AtEnd());
    }
}

TEST(Reader, QuotedTextIgnoresCommentsInside) {
    CDataFileReader reader = Reader("\"a # b\" c");
    EXPECT_EQ(reader.ReadQuoted(), "a # b");
    EXPECT_EQ(reader.ReadWord(), "c");
}

TEST(Reader, UnterminatedQuotedTextEndsWithCode1) {
    CDataFileReader reader = Reader("\"never closed\nat all");
    std::string message = DRAV_MESSAGE(reader.ReadQuoted());
    EXPECT_NE(message.find("test.drav"), std::string::npos) << message;
    EXPECT_DRAV_CODE(Reader("\"x").ReadQuoted(), 1);
}

TEST(Reader, QuotedTextMustBeginWithAQuote) {
    EXPECT_DRAV_CODE(Reader("plain").ReadQuoted(), 1);
}

TEST(Reader, WordOrEmpty) {
    CDataFileReader reader = Reader("0 0 00");
    EXPECT_EQ(reader.ReadWordOrEmpty(), "");
    EXPECT_EQ(reader.ReadWord(), "0");
    EXPECT_EQ(reader.ReadWordOrEmpty(), "00");
}

TEST(Reader, Elements) {
    CDataFileReader reader = Reader("<outer>\n <inner> v </inner>\n</outer> tail");
    EXPECT_TRUE(reader.IsBlock("outer"));
    EXPECT_FALSE(reader.IsBlock("oute"));
    EXPECT_TRUE(reader.IsAnyBlockStart());
    EXPECT_EQ(reader.PeekBlockName(), "outer");
    reader.BeginBlock("outer");
    EXPECT_FALSE(reader.AtBlockEnd());
    reader.BeginBlock("inner");
    EXPECT_EQ(reader.ReadWord(), "v");
    EXPECT_TRUE(reader.AtBlockEnd());
    EXPECT_FALSE(reader.IsAnyBlockStart());
    EXPECT_EQ(reader.PeekBlockName(), "");
    reader.EndBlock();
    EXPECT_TRUE(reader.AtBlockEnd());
    reader.EndBlock();
    EXPECT_EQ(reader.ReadWord(), "tail");
    EXPECT_FALSE(reader.IsBlock("x"));
    EXPECT_FALSE(reader.IsAnyBlockStart());
}

TEST(Reader, WrongOrMissingTagsAreCode1) {
    EXPECT_DRAV_CODE(Reader("<a>").BeginBlock("b"), 1);
    EXPECT_DRAV_CODE(Reader("").BeginBlock("a"), 1);
    EXPECT_DRAV_CODE(Reader("x").EndBlock(), 1);  // nothing open

    CDataFileReader reader = Reader("<a> </b>");
    reader.BeginBlock("a");
    EXPECT_FALSE(reader.AtBlockEnd());
    EXPECT_DRAV_CODE(reader.EndBlock(), 1);

    CDataFileReader open = Reader("<a> v");
    open.BeginBlock("a");
    open.ReadWord();
    EXPECT_DRAV_CODE(open.AtBlockEnd(), 1);
}

TEST(Reader, AnElementTagIsNoWordAndNamesTheOpenElement) {
    // A script whose closing tag was dropped meets the next tag instead of a line.
    CDataFileReader reader = Reader("<state> <lua> talk </state> <state> next </lua> </state>");
    reader.BeginBlock("state");
    reader.BeginBlock("lua");
    EXPECT_EQ(reader.ReadWord(), "talk");
    auto caught = QuillmereTest::CatchDrav([&] { reader.ReadWordOrEmpty(); });
    ASSERT_TRUE(caught);
    EXPECT_EQ(caught->GetCode(), 1);
    EXPECT_EQ(caught->GetMessage(), "test.drav: expected a word at \"</state>\" while <lua> is open");
    // Words that merely hold angle brackets are still words.
    CDataFileReader words = Reader("a<b <c a> <>");
    for (const char* word : {"a<b", "<c", "a>", "<>"}) EXPECT_EQ(words.ReadWord(), word);
}

TEST(Reader, RequireEndRefusesDataAfterTheFilesElement) {
    CDataFileReader reader = Reader("<a> </a> # a comment\n");
    reader.SkipBlock("a");
    reader.RequireEnd();
    CDataFileReader trailing = Reader("<a> </a> </b>");
    trailing.SkipBlock("a");
    EXPECT_DRAV_CODE(trailing.RequireEnd(), 1);
}

TEST(Reader, SkipBlockStopsAtTheFirstClosingTagOfItsName) {
    CDataFileReader reader = Reader("<a> 1 <a> 2 </a> 3 </a>");
    reader.SkipBlock("a");
    EXPECT_EQ(reader.ReadWord(), "3");

    CDataFileReader unclosed = Reader("<a> 1 2");
    EXPECT_DRAV_CODE(unclosed.SkipBlock("a"), 1);
}

TEST(Reader, Numbers) {
    CDataFileReader reader = Reader("42 -7 +8 -2147483648 4294967295 0.1 2 1.23457e+06 -.5 3.");
    EXPECT_EQ(reader.ReadUInt(), 42u);
    EXPECT_EQ(reader.ReadInt(), -7);
    EXPECT_EQ(reader.ReadInt(), 8);
    EXPECT_EQ(reader.ReadInt(), INT32_MIN);
    EXPECT_EQ(reader.ReadUInt(), 4294967295u);
    EXPECT_DOUBLE_EQ(reader.ReadDouble(), 0.1);
    EXPECT_DOUBLE_EQ(reader.ReadDouble(), 2.0);
    EXPECT_DOUBLE_EQ(reader.ReadDouble(), 1234570.0);
    EXPECT_DOUBLE_EQ(reader.ReadDouble(), -0.5);
    EXPECT_DOUBLE_EQ(reader.ReadDouble(), 3.0);
}

TEST(Reader, MalformedNumbersAreCode1NamingFileAndToken) {
    for (const char* token : {"abc", "12abc", "-1", "+1", "4294967296", "", "0x10", "1.5"}) {
        SCOPED_TRACE(token);
        EXPECT_DRAV_CODE(Reader(token).ReadUInt(), 1);
    }
    for (const char* token : {"x1", "2147483648", "+-5", "--5", "-", "1e3", "7)"}) {
        SCOPED_TRACE(token);
        EXPECT_DRAV_CODE(Reader(token).ReadInt(), 1);
    }
    for (const char* token : {"inf", "nan", "-inf", "1.5.2", "e5", ".", "1e999", "1,5"}) {
        SCOPED_TRACE(token);
        EXPECT_DRAV_CODE(Reader(token).ReadDouble(), 1);
    }
    std::string message = DRAV_MESSAGE(Reader("12abc").ReadInt());
    EXPECT_NE(message.find("test.drav"), std::string::npos) << message;
    EXPECT_NE(message.find("12abc"), std::string::npos) << message;
}

TEST(Reader, FailedNumberLeavesTheTokenCurrent) {
    CDataFileReader reader = Reader("oops 5");
    EXPECT_DRAV_CODE(reader.ReadInt(), 1);
    EXPECT_EQ(reader.ReadWord(), "oops");
    EXPECT_EQ(reader.ReadInt(), 5);
}

TEST(Reader, NumbersWithinARange) {
    CDataFileReader reader = Reader("-5 5 0 1000 2.5 0.25");
    EXPECT_EQ(reader.ReadInt(-5, 5, "a bonus"), -5);
    EXPECT_EQ(reader.ReadInt(-5, 5, "a bonus"), 5);
    EXPECT_EQ(reader.ReadUInt(0, 1000, "a width"), 0u);
    EXPECT_EQ(reader.ReadUInt(0, 1000, "a width"), 1000u);
    EXPECT_DOUBLE_EQ(reader.ReadDouble(0.5, 2.5, "a radius"), 2.5);
    EXPECT_DOUBLE_EQ(reader.ReadDouble(0.25, 2.5, "a radius"), 0.25);

    // Past either end: code 1 naming the number's meaning, the range and the token, which stays current.
    CDataFileReader past = Reader("2147483647 -6 1001 1e308 0.1");
    const std::string message = DRAV_MESSAGE(past.ReadInt(-5, 5, "a bonus"));
    EXPECT_EQ(message, "test.drav: expected a bonus from -5 to 5 at \"2147483647\"");
    EXPECT_EQ(past.ReadUInt(), 2147483647u);
    EXPECT_DRAV_CODE(past.ReadInt(-5, 5, "a bonus"), 1);
    EXPECT_EQ(past.ReadInt(), -6);
    EXPECT_DRAV_CODE(past.ReadUInt(0, 1000, "a width"), 1);
    EXPECT_EQ(past.ReadUInt(), 1001u);
    EXPECT_EQ(DRAV_MESSAGE(past.ReadDouble(0.5, 2500, "a radius")),
              "test.drav: expected a radius from 0.5 to 2500 at \"1e308\"");
    past.Advance();
    EXPECT_DRAV_CODE(past.ReadDouble(0.5, 2500, "a radius"), 1);
    // A malformed number is still the reader's own error.
    EXPECT_NE(DRAV_MESSAGE(Reader("x").ReadInt(0, 1, "a bonus")).find("expected a whole number"), std::string::npos);
}

TEST(Reader, Booleans) {
    CDataFileReader reader = Reader("true false True");
    EXPECT_TRUE(reader.ReadBool());
    EXPECT_FALSE(reader.ReadBool());
    EXPECT_DRAV_CODE(reader.ReadBool(), 1);
}

TEST(Reader, ReadingPastTheLastTokenIsCode1) {
    CDataFileReader reader = Reader("only");
    EXPECT_EQ(reader.ReadWord(), "only");
    EXPECT_TRUE(reader.AtEnd());
    EXPECT_DRAV_CODE(reader.ReadWord(), 1);
    EXPECT_DRAV_CODE(reader.Advance(), 1);
    EXPECT_DRAV_CODE(reader.ReadDouble(), 1);
    EXPECT_DRAV_CODE(reader.BeginGroup(2, true), 1);

    EXPECT_TRUE(Reader("").AtEnd());
    EXPECT_TRUE(Reader(" \r\n\t\v\f").AtEnd());
}

TEST(Reader, CarriageReturnsAreBlanks) {
    CDataFileReader reader = Reader("<a>\r\n \"x\r\ny\"\r\n 5\r\n</a>\r\n");
    reader.BeginBlock("a");
    EXPECT_EQ(reader.ReadQuoted(), "x y");
    EXPECT_EQ(reader.ReadInt(), 5);
    reader.EndBlock();
    EXPECT_TRUE(reader.AtEnd());
}

TEST(Reader, FailNamesFileAndToken) {
    CDataFileReader reader = Reader("<thing>");
    auto caught = QuillmereTest::CatchDrav([&] { reader.Fail(4, "expected a sword"); });
    ASSERT_TRUE(caught);
    EXPECT_EQ(caught->GetCode(), 4);
    EXPECT_EQ(caught->GetMessage(), "test.drav: expected a sword at \"<thing>\"");
}

TEST(Reader, FromPath) {
    QuillmereTest::TempDir dir;
    std::string path = dir.WriteFile("save.drav", "<save> 3 </save>");
    CDataFileReader reader(path);
    reader.BeginBlock("save");
    EXPECT_EQ(reader.ReadInt(), 3);
    reader.EndBlock();

    std::string missing = dir / "missing.drav";
    auto caught = QuillmereTest::CatchDrav([&] { CDataFileReader none(missing); });
    ASSERT_TRUE(caught);
    EXPECT_EQ(caught->GetCode(), 1);
    EXPECT_NE(caught->GetMessage().find("missing.drav"), std::string::npos);
}

TEST(Reader, MissingDataFileOfASource) {
    auto source = QuillmereTest::SampleFolderSource();
    std::string message =
        DRAV_MESSAGE(CDataFileReader(*source, DRAVCommon::DFK_CHAPTER, DRAVCommon::DFS_NONE, "nothere.drav"));
    EXPECT_NE(message.find("nothere.drav"), std::string::npos) << message;
}

// A file the game wrote is given up as soon as a run passes what the game writes,
// or a text its bound, never read whole: a stray file costs what a small one does.
// A word the writer could not write is refused for why, quoted by a short piece.
TEST(Reader, AWrittenFileIsRefusedAsSoonAsARunOrATextPassesItsBound) {
    QuillmereTest::TempDir dir;
    std::string words;
    while (words.size() < 200000) words += "wanderer ";
    const std::string run = "a run of more than 65536 bytes";
    const std::string longer = " bytes is longer than the 65534 a word of a saved file holds at \"wwww";
    const std::tuple<std::string, std::size_t, std::string> rows[] = {  // the file, the text's bound, the refusal
        {std::string(16 << 20, '\0'), 0, run},
        {"<save>" + std::string(200000, ' ') + "</save>", 0, run},
        {"# " + words + "\n<save>", 0, run},
        {"\"" + words + "\"", 100, "a title of more than 100 bytes"},
        {"\"" + words + "\"", SIZE_MAX, "a title of more than 65532 bytes"},
        {"\"one two\"", 6, "a title of more than 6 bytes"},
        {"\"one two\"", 7, ""},
        {std::string(65534, 'w'), 0, ""},
        {std::string(65535, 'w'), 0, "a word of 65535" + longer},
        {std::string(65536, 'w'), 0, "a word of 65536" + longer},
        {"<save> <w </save>", 0, "a word starting with \"<\" would read back as an element at \"<w\""},
    };
    for (const auto& [text, most, refused] : rows) {
        const std::string path = dir.WriteFile("stray.drav", text);
        const std::string message = DRAV_MESSAGE({
            CDataFileReader reader(path);
            if (reader.GetToken() == "<save>") reader.BeginBlock("save");
            if (!most) reader.ReadWord();
            else EXPECT_EQ(reader.ReadQuoted(most, "a title"), "one two");
        });
        const std::string wanted = refused.empty() ? "(nothing thrown)" : path + ": " + refused;
        EXPECT_EQ(message.substr(0, wanted.size()), wanted);
        EXPECT_LT(message.size(), path.size() + 200) << message.substr(0, 300);
    }
}
