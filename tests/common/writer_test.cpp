#include <gtest/gtest.h>

#include <cstring>
#include <limits>
#include <locale>
#include <utility>
#include <vector>

#include "common/data_file_reader.h"
#include "common/data_file_writer.h"
#include "support/expect_drav.h"
#include "support/temp_dir.h"

using DRAVCommon::CDataFileReader;
using DRAVCommon::CDataFileWriter;
using QuillmereTest::ReadTextFile;
using QuillmereTest::TempDir;

TEST(Writer, LayoutOfElementsAndGroups) {
    TempDir dir;
    std::string path = dir / "out.drav";
    CDataFileWriter writer(path);
    writer.BeginBlock("item");
    writer.WriteWord("sword");
    writer.BeginGroup(3);
    writer.WriteValue(12);
    writer.WriteValue(34);
    writer.WriteValue(56);
    writer.BeginBlock("inner");
    writer.WriteWord("");
    writer.EndBlock();
    writer.EndBlock();
    writer.Finish();
    EXPECT_EQ(ReadTextFile(path),
              "<item>\n"
              " sword\n"
              " (12\n"
              " 34\n"
              " 56)\n"
              " <inner>\n"
              "  0\n"
              " </inner>\n"
              "</item>\n");
}

TEST(Writer, EverythingReadsBack) {
    TempDir dir;
    std::string path = dir / "save.drav";
    {
        CDataFileWriter writer(path);
        writer.BeginBlock("game");
        writer.BeginBlock("party");
        writer.BeginBlock("party");  // same name nested
        writer.WriteQuoted("Ada of  the\tRiver");
        writer.WriteQuoted("");
        writer.WriteQuoted("   leading blanks");
        writer.EndBlock();
        writer.WriteWordOrZero("");
        writer.WriteWord("word");
        writer.BeginGroup(2);
        writer.WriteQuoted("grouped text");
        writer.WriteValue(-5);
        writer.BeginGroup(3);
        writer.WriteDouble(0.1);
        writer.WriteDouble(2.0);
        writer.WriteDouble(1234567.0);
        writer.WriteValue(4294967295u);
        writer.WriteValue("true");
        writer.EndBlock();
        writer.EndBlock();
        writer.Finish();
    }
    CDataFileReader reader(path);
    reader.BeginBlock("game");
    reader.BeginBlock("party");
    reader.BeginBlock("party");
    EXPECT_EQ(reader.ReadQuoted(), "Ada of the River");  // runs of blanks come back single
    EXPECT_EQ(reader.ReadQuoted(), "");
    EXPECT_EQ(reader.ReadQuoted(), "leading blanks");
    reader.EndBlock();
    EXPECT_EQ(reader.ReadWordOrEmpty(), "");
    EXPECT_EQ(reader.ReadWord(), "word");
    ASSERT_TRUE(reader.BeginPairGroup());
    EXPECT_EQ(reader.ReadQuoted(), "grouped text");
    EXPECT_EQ(reader.ReadInt(), -5);
    ASSERT_TRUE(reader.BeginGroup(3, false));
    EXPECT_DOUBLE_EQ(reader.ReadDouble(), 0.1);
    EXPECT_DOUBLE_EQ(reader.ReadDouble(), 2.0);
    EXPECT_EQ(reader.ReadDouble(), 1234567.0);
    EXPECT_EQ(reader.ReadUInt(), 4294967295u);
    EXPECT_TRUE(reader.ReadBool());
    reader.EndBlock();
    reader.EndBlock();
    EXPECT_TRUE(reader.AtEnd());
}

TEST(Writer, EmptyWordIsZero) {
    TempDir dir;
    std::string path = dir / "w.drav";
    CDataFileWriter writer(path);
    writer.WriteWord("");
    writer.WriteWord("");
    writer.Finish();
    CDataFileReader reader(path);
    EXPECT_EQ(reader.ReadWord(), "0");
    EXPECT_EQ(reader.ReadWordOrEmpty(), "");
}

// Each number in its fewest digits that read back as the very same value.
TEST(Writer, DoublesReadBackExactly) {
    TempDir dir;
    std::string path = dir / "d.drav";
    const std::vector<double> values = {0.1, 2.0, 1234567.0, -0.000123456789, 5.018778123456789, 1.0 / 3.0,
                                        -0.0, 4.9e-324, std::numeric_limits<double>::max(),
                                        std::numeric_limits<double>::lowest()};
    {
        CDataFileWriter writer(path);
        for (double value : values) writer.WriteDouble(value);
        writer.Finish();
    }
    EXPECT_EQ(ReadTextFile(path).rfind("0.1\n2\n1234567\n-0.000123456789\n5.018778123456789\n", 0), 0u);
    CDataFileReader reader(path);
    for (double value : values) {
        const double read = reader.ReadDouble();
        EXPECT_EQ(std::memcmp(&read, &value, sizeof value), 0) << value << " came back as " << read;
    }
    EXPECT_TRUE(reader.AtEnd());
}

TEST(Writer, NumbersIgnoreTheProgramsLocale) {
    // A locale with a decimal comma and thousands grouping, as some users run under.
    struct CommaPunct : std::numpunct<char> {
        char do_decimal_point() const override { return ','; }
        char do_thousands_sep() const override { return '.'; }
        std::string do_grouping() const override { return "\3"; }
    };
    const std::locale previous = std::locale::global(std::locale(std::locale::classic(), new CommaPunct));
    TempDir dir;
    std::string path = dir / "n.drav";
    {
        CDataFileWriter writer(path);
        writer.WriteDouble(1.5);
        writer.WriteValue(1234567);
        writer.Finish();
    }
    std::locale::global(previous);
    EXPECT_EQ(ReadTextFile(path), "1.5\n1234567\n");
}

TEST(Writer, QuotedTextThatCannotReadBackIsRefused) {
    TempDir dir;
    std::string path = dir / "q.drav";
    CDataFileWriter writer(path);
    for (const char* text : {"say \"hi\"", "two\nlines", "carriage\rreturn", "\""}) {
        SCOPED_TRACE(text);
        auto caught = QuillmereTest::CatchDrav([&] { writer.WriteQuoted(text); });
        ASSERT_TRUE(caught);
        EXPECT_EQ(caught->GetCode(), 2);
        EXPECT_NE(caught->GetMessage().find("q.drav"), std::string::npos);
    }
    writer.WriteQuoted("fine");
    writer.Finish();
    EXPECT_EQ(ReadTextFile(path), "\"fine\"\n");  // nothing of the refused texts was written
}

TEST(Writer, WordsThatCannotReadBackAreRefused) {
    TempDir dir;
    std::string path = dir / "w.drav";
    CDataFileWriter writer(path);
    const std::string space = "with white space", element = "starting with \"<\" would read back as an element";
    const std::pair<std::string, std::string> words[] = {  // the word, why it is refused
        {"a b", space}, {"tab\there", space}, {"line\nbreak", space}, {" lead", space}, {"trail ", space},
        {"#note", "starting with \"#\" would read back as a comment"}, {"<tag>", element}, {"<", element},
        {"(open", "starting with \"(\" would read back as a group"},
        {std::string(65535, 'w'), "of 65535 bytes is longer than the 65534 a word of a saved file holds: \"www"},
    };
    for (const auto& [word, why] : words) {
        SCOPED_TRACE(word.substr(0, 10));
        auto caught = QuillmereTest::CatchDrav([&] { writer.WriteWord(word); });
        ASSERT_TRUE(caught);
        EXPECT_EQ(caught->GetCode(), 2);
        EXPECT_EQ(caught->GetMessage().rfind(path + ": a word " + why, 0), 0u) << caught->GetMessage().substr(0, 300);
        EXPECT_LT(caught->GetMessage().size(), path.size() + 200);
    }
    EXPECT_DRAV_CODE(writer.WriteParenthesis('x'), 2);
    // The characters are fine anywhere else in a word, and a lone parenthesis has its own call.
    writer.WriteWord("a#b<c(d)");
    writer.WriteParenthesis('(');
    writer.Finish();
    EXPECT_EQ(ReadTextFile(path), "a#b<c(d)\n(\n");  // nothing of the refused values was written
}

TEST(Writer, DoublesWithoutANumberAreRefused) {
    TempDir dir;
    std::string path = dir / "n.drav";
    CDataFileWriter writer(path);
    for (double value : {std::numeric_limits<double>::infinity(), -std::numeric_limits<double>::infinity(),
                         std::numeric_limits<double>::quiet_NaN()}) {
        SCOPED_TRACE(value);
        auto caught = QuillmereTest::CatchDrav([&] { writer.WriteDouble(value); });
        ASSERT_TRUE(caught);
        EXPECT_EQ(caught->GetCode(), 2);
        EXPECT_DRAV_CODE(writer.WriteValue(static_cast<float>(value)), 2);
    }
    writer.WriteDouble(std::numeric_limits<double>::max());
    writer.Finish();
    // What was written reads back: a saved game never holds a value its loader refuses.
    CDataFileReader reader(path);
    EXPECT_EQ(reader.ReadDouble(), std::numeric_limits<double>::max());
    EXPECT_TRUE(reader.AtEnd());
}

TEST(Writer, LostWritesAreReportedByFinish) {
    CDataFileWriter full("/dev/full");
    full.BeginBlock("game");
    for (int i = 0; i < 10000; ++i) full.WriteQuoted("a line long enough to fill the stream's buffer quickly");
    full.EndBlock();
    auto caught = QuillmereTest::CatchDrav([&] { full.Finish(); });
    ASSERT_TRUE(caught);
    EXPECT_EQ(caught->GetCode(), 1);
    EXPECT_NE(caught->GetMessage().find("/dev/full"), std::string::npos);

    CDataFileWriter small("/dev/full");
    small.WriteWord("x");  // still in the buffer: only the final flush fails
    EXPECT_DRAV_CODE(small.Finish(), 1);
}

TEST(Writer, WritingAfterCloseIsReported) {
    TempDir dir;
    CDataFileWriter writer(dir / "c.drav");
    writer.WriteWord("x");
    writer.close();
    writer.WriteWord("lost");
    EXPECT_DRAV_CODE(writer.Finish(), 1);
}

TEST(Writer, CannotCreateIsCode1) {
    TempDir dir;
    std::string path = dir / "no_such_folder/out.drav";
    std::string message = DRAV_MESSAGE(CDataFileWriter writer(path));
    EXPECT_NE(message.find("out.drav"), std::string::npos) << message;
    EXPECT_DRAV_CODE(CDataFileWriter writer(path), 1);
}

TEST(Writer, ExistingFileIsTruncated) {
    TempDir dir;
    std::string path = dir.WriteFile("t.drav", "old content that is long\n");
    CDataFileWriter writer(path);
    writer.WriteWord("new");
    writer.Finish();
    EXPECT_EQ(ReadTextFile(path), "new\n");
}

TEST(Writer, ClosingWithNothingOpenIsRefused) {
    TempDir dir;
    CDataFileWriter writer(dir / "e.drav");
    EXPECT_DRAV_CODE(writer.EndBlock(), 2);
}
