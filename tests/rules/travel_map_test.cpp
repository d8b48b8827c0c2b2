// The "map" element of a travel map and the lookup of its areas.

#include <gtest/gtest.h>

#include "rules/definitions/travel_map.h"
#include "rules/rules_test_util.h"

using namespace DRAV;
using RulesTest::ExpectThrowsCode;
using RulesTest::ReaderOver;

namespace {

std::shared_ptr<CMap2> ReadMap(const std::string& areas) {
    auto reader = ReaderOver("<map> river \"river.jpg\" \"river_areas.png\" <areas> " + areas + " </areas> </map>");
    auto map = CMap2::Load(nullptr, *reader);
    EXPECT_TRUE(reader->AtEnd());
    return map;
}

}  // namespace

TEST(TravelMap, PairsAndEntriesInEveryWrittenForm) {
    auto map = ReadMap(
        "<area> landing \"The Landing\" ( 0 120 ) ( 96 64 ) true ( reedwater_landing 0 ) </area>"
        " <area> marsh \"The Marsh\" 24 40 120 72 false reed_marsh </area>"
        " <area> hide \"The Hide\" 0 150 18 ( 40 32 ) false ( reed_marsh hideout ) \"cross the bridge.\" </area>"
        " <area> marsh \"Second\" 1 1 1 1 true elsewhere </area>");
    EXPECT_EQ(map->GetName(), "river");
    EXPECT_EQ(map->GetPictureName(), "river.jpg");
    EXPECT_EQ(map->GetAreaPictureName(), "river_areas.png");
    ASSERT_EQ(map->GetAreas().size(), 4u);
    const CMap2Area& landing = map->GetArea("landing");
    EXPECT_EQ(landing.GetDisplayName(), "The Landing");
    EXPECT_EQ(landing.GetX(), 0.0);
    EXPECT_EQ(landing.GetY(), 120.0);
    EXPECT_EQ(landing.GetHeight(), 64.0);
    EXPECT_TRUE(landing.IsKnown());
    EXPECT_EQ(landing.GetEntryArea(), "reedwater_landing");
    EXPECT_EQ(landing.GetEntryName(), "");
    // A bare entry area means the default entry, as a group with "0" does.
    const CMap2Area& marsh = map->GetArea("marsh");
    EXPECT_EQ(marsh.GetDisplayName(), "The Marsh");  // the first of the name
    EXPECT_EQ(marsh.GetWidth(), 120.0);
    EXPECT_EQ(marsh.GetEntryArea(), "reed_marsh");
    EXPECT_EQ(marsh.GetEntryName(), "");
    // A leading 0 is an absent group: the two numbers after it are the pair.
    const CMap2Area& hide = map->GetArea("hide");
    EXPECT_EQ(hide.GetX(), 150.0);
    EXPECT_EQ(hide.GetY(), 18.0);
    EXPECT_EQ(hide.GetWidth(), 40.0);
    EXPECT_EQ(hide.GetEntryName(), "hideout");
    // How to get there, where the map has a word for it.
    EXPECT_EQ(hide.GetWayThere(), "cross the bridge.");
    EXPECT_EQ(landing.GetWayThere(), "");
    ExpectThrowsCode([&] { map->GetArea("Landing"); }, 1, "Landing");
}

TEST(TravelMap, NoAreasAndMalformedElements) {
    auto empty = ReadMap("");
    EXPECT_TRUE(empty->GetAreas().empty());
    ExpectThrowsCode([&] { empty->GetArea("landing"); }, 1, "landing");
    for (const std::string bad : {"<area> a \"A\" 1 2 3 4 yes b </area>", "<area> a \"A\" 1 2 3 b </area>",
                                  "<area> a \"A\" 1 2 3 4 true ( b ) </area>", "<region> </region>",
                                  "<area> a \"A\" 1 2 3 4 true b \"way\" \"more\" </area>",
                                  "<area> a \"A\" 1 2 3 4 true b way </area>"})
        EXPECT_THROW(ReadMap(bad), std::exception) << bad;
}

// Rectangles are picture pixels: what lies past them would not even convert to
// a pixel position. Code 1 naming the file.
TEST(TravelMap, RectanglesOutsideThePicturesRangeAreRefused) {
    for (const std::string rectangle : {"( 1e300 0 ) ( 10 10 )", "( 0 0 ) ( 1e300 10 )", "( -5 0 ) ( 10 10 )",
                                        "( 0 0 ) ( 10 -1 )", "( 0 65537 ) ( 10 10 )", "( 0 0 ) ( nan 10 )",
                                        "( 0 0 ) ( 10 inf )"}) {
        try {
            ReadMap("<area> a \"A\" " + rectangle + " true b </area>");
            ADD_FAILURE() << rectangle << " was read";
        } catch (const CDRAVException& error) {
            EXPECT_EQ(error.GetCode(), DRAV_ERR_BAD_DATA) << rectangle;
            EXPECT_EQ(error.GetMessage().rfind("test.drav: ", 0), 0u) << error.GetMessage();
        }
    }
    EXPECT_EQ(ReadMap("<area> a \"A\" ( 0 65536 ) ( 65536 0 ) true b </area>")->GetArea("a").GetWidth(), 65536.0);
}
