// What a chapter's data file is to a journey that names it, and the module's
// memory of it.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "common/exception.h"
#include "engine/brain/brain_functions.h"
#include "rules/definitions/place_file.h"
#include "rules/module.h"
#include "support/counting_source.h"
#include "support/expect_drav.h"
#include "support/overlay_source.h"
#include "support/sample_module.h"

using namespace DRAV;

namespace {

std::shared_ptr<QuillmereTest::OverlaySource> SampleWith(
    const std::vector<std::pair<std::string, std::string>>& files) {
    auto package = std::make_shared<QuillmereTest::OverlaySource>(QuillmereTest::SampleFolderSource());
    for (const auto& [name, text] : files)
        package->Add(DRAVCommon::DFK_CHAPTER, DRAVCommon::DFS_NONE, name + ".drav", text);
    return package;
}

}  // namespace

// An area's entries are read without building the area: scripts and whatever
// precedes the list are passed over; a file that ends early or holds no list, and
// a place the module lacks, are code 1 naming them. A map is known by its first element.
TEST(PlaceFile, AreasGiveTheirEntriesAndMapsAreKnownAsMaps) {
    const auto package = SampleWith({
        {"tricky", "<area> \"T\" false <world> 0 0 </world> <rows> ( 9 9 ) </rows> <objects> <items> </objects>"
                   " <entries> <entry> quay \"The <quay>\" ( 0 0 ) <lua> return x < 2 and '<b>' </lua> </entry>"
                   " <entry> slip \"\" ( 1 1 ) </entry> </entries> </area>"},
        {"cut_short", "<area> \"T\" false <rows> </rows> <entries> <entry> quay \"Q\" ( 0 0 )"},
        {"no_list", "<area> \"T\" false <rows> </rows> stray <entries> </entries> </area>"},
        {"broken_map", "<map> broken"},
    });
    const CPlaceFile marsh = ReadPlaceFile(package, "reed_marsh");
    EXPECT_FALSE(marsh.travelMap);
    EXPECT_EQ(marsh.entryNames, (std::vector<std::string>{"landing", "hideout", "punt"}));
    EXPECT_EQ(ReadPlaceFile(package, "tricky").entryNames, (std::vector<std::string>{"quay", "slip"}));
    for (const char* map : {"reedwater_map", "broken_map"}) {
        const CPlaceFile place = ReadPlaceFile(package, map);
        EXPECT_TRUE(place.travelMap) << map;
        EXPECT_TRUE(place.entryNames.empty()) << map;
    }
    EXPECT_EQ(DRAV_MESSAGE(ReadPlaceFile(package, "reed_marshes")), "the module has no area \"reed_marshes\"");
    EXPECT_EQ(DRAV_MESSAGE(ReadPlaceFile(nullptr, "reed_marsh")), "the module has no area \"reed_marsh\"");
    for (const char* name : {"cut_short", "no_list"}) {
        const auto caught = QuillmereTest::CatchDrav([&] { ReadPlaceFile(package, name); });
        ASSERT_TRUE(caught) << name;
        EXPECT_EQ(caught->GetCode(), DRAV_ERR_BAD_DATA);
        EXPECT_NE(caught->GetMessage().find(std::string(name) + ".drav"), std::string::npos) << caught->GetMessage();
    }
}

// The module reads each place's file once, whatever is asked of it and however
// often; a failed read is not kept, so a later question reads the file again.
TEST(PlaceFile, TheModuleReadsEachPlaceOnce) {
    auto source = std::make_shared<QuillmereTest::CountingSource>(SampleWith({{"cut_short", "<area> \"T\" false"}}));
    CModule module;
    module.SetBrainFunctions(GetBrainFunctions());
    module.Load(1, nullptr, source);
    const int marsh = source->Reads("reed_marsh.drav");
    const int map = source->Reads("reedwater_map.drav");
    for (int asked = 0; asked < 3; ++asked) {
        EXPECT_FALSE(module.IsTravelMap("reed_marsh"));
        EXPECT_EQ(module.GetAreaEntryNames("reed_marsh"), (std::vector<std::string>{"landing", "hideout", "punt"}));
        EXPECT_TRUE(module.IsTravelMap("reedwater_map"));
        EXPECT_DRAV_CODE(module.GetAreaEntryNames("reedwater_map"), DRAV_ERR_BAD_DATA);
    }
    EXPECT_EQ(source->Reads("reed_marsh.drav") - marsh, 1);
    EXPECT_EQ(source->Reads("reedwater_map.drav") - map, 1);
    EXPECT_EQ(DRAV_MESSAGE(module.GetAreaEntryNames("reedwater_map")),
              "reedwater_map.drav: \"reedwater_map\" is a travel map, not an area");

    EXPECT_FALSE(module.IsTravelMap("cut_short"));
    EXPECT_DRAV_CODE(module.GetAreaEntryNames("cut_short"), DRAV_ERR_BAD_DATA);
    EXPECT_EQ(source->Reads("cut_short.drav"), 2);
    EXPECT_FALSE(module.IsTravelMap("drowned_isle"));
    EXPECT_EQ(DRAV_MESSAGE(module.GetAreaEntryNames("drowned_isle")), "the module has no area \"drowned_isle\"");
}
