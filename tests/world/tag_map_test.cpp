#include <gtest/gtest.h>

#include <string>

#include "common/data_file_reader.h"
#include "common/data_file_writer.h"
#include "common/exception.h"
#include "support/error_code.h"
#include "support/sample_module.h"
#include "support/temp_dir.h"
#include "world/tag_map.h"

using DRAV::TagMap;

namespace {

std::string SaveInElement(const TagMap& tags, const QuillmereTest::TempDir& dir) {
    const std::string path = dir / "tags.drav";
    DRAVCommon::CDataFileWriter writer(path);
    writer.BeginBlock("questtags");
    DRAV::SaveTagMap(tags, writer);
    writer.EndBlock();
    writer.Finish();
    return path;
}

TagMap LoadFromElement(DRAVCommon::CDataFileReader& reader) {
    TagMap tags;
    reader.BeginBlock("questtags");
    DRAV::LoadTagMap(tags, reader, 3, "quest tag");
    reader.EndBlock();
    return tags;
}

TEST(TagMap, SavedInNameOrderAndReadBack) {
    QuillmereTest::TempDir dir;
    TagMap tags;
    tags.emplace("zeal", 2147483647);
    tags.emplace("alpha", -3);
    tags.emplace("ferry_paid", 1);
    const std::string path = SaveInElement(tags, dir);

    EXPECT_EQ(QuillmereTest::ReadTextFile(path),
              "<questtags>\n"
              " (alpha\n"
              " -3)\n"
              " (ferry_paid\n"
              " 1)\n"
              " (zeal\n"
              " 2147483647)\n"
              "</questtags>\n");

    DRAVCommon::CDataFileReader reader(path);
    EXPECT_EQ(LoadFromElement(reader), tags);
    EXPECT_TRUE(reader.AtEnd());
}

TEST(TagMap, EmptyMapAndEmptyName) {
    QuillmereTest::TempDir dir;
    {
        DRAVCommon::CDataFileReader reader(SaveInElement({}, dir));
        EXPECT_TRUE(LoadFromElement(reader).empty());
    }
    // An empty name is written "0" and, read back, stays the word as written.
    const std::string path = SaveInElement({{"", 4}}, dir);
    EXPECT_NE(QuillmereTest::ReadTextFile(path).find(" (0\n 4)\n"), std::string::npos);
    DRAVCommon::CDataFileReader reader(path);
    EXPECT_EQ(LoadFromElement(reader), (TagMap{{"0", 4}}));
}

TEST(TagMap, ANameThatWouldNotLoadBackIsRefusedWhenSaved) {
    QuillmereTest::TempDir dir;
    for (const char* name : {"a b", "#quest", "<quest>", "(quest"})
        EXPECT_EQ(QuillmereTest::ErrorCodeOf([&] { SaveInElement({{"ferry_paid", 1}, {name, 2}}, dir); }), 2) << name;
}

TEST(TagMap, LoadReplacesAndKeepsOthers) {
    DRAVCommon::CDataFileReader reader(QuillmereTest::TextStream("<questtags> (a 1) ( b 2 ) (a 5) </questtags>"),
                                       "save");
    TagMap tags{{"a", 0}, {"kept", 9}};
    reader.BeginBlock("questtags");
    DRAV::LoadTagMap(tags, reader, SIZE_MAX, "quest tag");
    reader.EndBlock();
    EXPECT_EQ(tags, (TagMap{{"a", 5}, {"b", 2}, {"kept", 9}}));
}

TEST(TagMap, MalformedEntriesAreBadData) {
    for (const char* text : {
             "<questtags> 0 </questtags>",
             "<questtags> alpha 3 </questtags>",
             "<questtags> (alpha) </questtags>",
             "<questtags> (alpha x) </questtags>",
             "<questtags> (alpha 3 </questtags>",
             "<questtags> (alpha 3)",
             "<questtags> (alpha 99999999999) </questtags>",
             "<questtags> (a 1) (b 2) (c 3) (d 4) </questtags>",  // more names than the bound
         }) {
        DRAVCommon::CDataFileReader reader(QuillmereTest::TextStream(text), "save");
        EXPECT_EQ(QuillmereTest::ErrorCodeOf([&] { LoadFromElement(reader); }), DRAV_ERR_BAD_DATA) << text;
    }
}

}  // namespace
