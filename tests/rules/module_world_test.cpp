// The world file: identity and version checks, the start-up, heads and imports,
// tiles with multitile pieces, object definitions and repeated keys.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "rules/module.h"
#include "rules_test_util.h"
#include "support/error_code.h"

using namespace DRAV;
using QuillmereTest::ErrorCodeOf;
using RulesTest::ExpectThrowsCode;

namespace {

const CModuleVersionRange kExpected("Orvex", 5, 0);

std::string World(const std::string& head, const std::string& tiles = "", const std::string& objects = "") {
    return "<world> " + head + " <tiles> " + tiles + " </tiles> <objectdefs> " + objects + " </objectdefs> </world>";
}

std::string Version(const std::string& identifier, int version, int second) {
    return "<version> " + identifier + " " + std::to_string(version) + " " + std::to_string(second) + " </version>";
}

std::string Startup(const std::string& date) {
    return "<startup> landing dock " + date +
           " <male> <head> \"Boatman\" head_m </head> <head> \"Fisher\" head_m2 </head> </male>"
           " <female> <head> \"Ferrywoman\" head_f </head> </female> </startup>";
}

void Parse(CModule& module, const std::string& text, const CModuleVersionRange* expected = &kExpected,
           const std::string& name = "world.drav") {
    DRAVCommon::CDataFileReader reader(QuillmereTest::TextStream(text), name);
    module.ParseWorld(reader, expected);
}

std::int32_t ParseCode(const std::string& text, const CModuleVersionRange* expected = &kExpected) {
    CModule module;
    return ErrorCodeOf([&] { Parse(module, text, expected); });
}

std::vector<std::string> TileKeys(const CModule& module) {
    std::vector<std::string> keys;
    for (const auto& [key, tile] : module.GetTileTemplates()) keys.push_back(key);
    return keys;
}

}  // namespace

TEST(WorldFile, VersionIsCheckedAgainstTheExpectedRange) {
    EXPECT_EQ(ParseCode(World(Version("Orvex", 6, 0))), 8);
    EXPECT_EQ(ParseCode(World(Version("Orvex", 4, 0))), 9);
    EXPECT_EQ(ParseCode(World(Version("Orvex", 5, 77))), 0);
    // The identifier is compared first and exactly.
    EXPECT_EQ(ParseCode(World(Version("orvex", 6, 0))), 1);
    EXPECT_EQ(ParseCode(World(Version("0", 5, 0))), 1);
    // Without a record nothing is compared.
    EXPECT_EQ(ParseCode(World(Version("Elsewhere", 99, 0)), nullptr), 0);

    CModule module;
    ExpectThrowsCode([&] { Parse(module, World(Version("Marrow", 5, 0))); }, 1, "Marrow");
}

TEST(WorldFile, EachVersionIsCheckedAndTheLastNumbersStay) {
    CModule module;
    Parse(module, World(Version("Orvex", 5, 3)));
    Parse(module, World(Version("Orvex", 5, 9)), &kExpected, "global_world.drav");
    EXPECT_EQ(module.GetVersion(), 5);
    EXPECT_EQ(module.GetSecondVersion(), 9);
    EXPECT_EQ(ErrorCodeOf([&] { Parse(module, World(Version("Orvex", 7, 0))); }), 8);
}

TEST(WorldFile, StartupReadsDateBareOrGroupedWithHeadsAndImports) {
    for (const std::string date : {"( 1012 14 8 )", "1012 14 8"}) {
        CModule module;
        Parse(module, World(Startup(date)));
        EXPECT_EQ(module.GetStartArea(), "landing");
        EXPECT_EQ(module.GetStartEntry(), "dock");
        EXPECT_EQ(module.GetStartYear(), 1012u) << date;
        EXPECT_EQ(module.GetStartDay(), 14u);
        EXPECT_EQ(module.GetStartHour(), 8u);
        ASSERT_EQ(module.GetMaleHeads().size(), 2u);
        EXPECT_EQ(module.GetMaleHeads()[1]->text, "Fisher");
        EXPECT_EQ(module.GetMaleHeads()[1]->word, "head_m2");
        ASSERT_EQ(module.GetFemaleHeads().size(), 1u);
        EXPECT_EQ(module.GetFemaleHeads()[0]->word, "head_f");
        EXPECT_TRUE(module.GetOtherHeads().empty());
    }

    CModule module;
    Parse(module, World("<startup> a b 1 2 3 <male> </male> <female> </female> <import> rope 0 rope lamp </import> "
                        "</startup>"));
    EXPECT_EQ(module.GetImports(), (ImportMap{{"", 1}, {"lamp", 1}, {"rope", 1}}));
}

TEST(WorldFile, OnlyOneStartupAcrossTheWorldFiles) {
    CModule module;
    Parse(module, World(Startup("1 2 3")));
    ExpectThrowsCode([&] { Parse(module, World(Startup("1 2 3")), &kExpected, "global_world.drav"); }, 1,
                     "global_world.drav");

    // A start-up without male heads still counts as the one start-up.
    CModule headless;
    Parse(headless, World("<startup> a b 1 2 3 <male> </male> <female> </female> </startup>"));
    EXPECT_EQ(ErrorCodeOf([&] { Parse(headless, World(Startup("1 2 3"))); }), 1);
}

TEST(WorldFile, TilesAndObjectsAreRequired) {
    EXPECT_EQ(ParseCode("<world> <objectdefs> </objectdefs> </world>"), 1);
    EXPECT_EQ(ParseCode("<world> <tiles> </tiles> </world>"), 1);
    EXPECT_EQ(ParseCode("<world> <tiles> <floor> </floor> </tiles> <objectdefs> </objectdefs> </world>"), 1);
    EXPECT_EQ(ParseCode(World("", "", "<tile> t \"T\" g ( 1 1 ) floor </tile>")), 1);
    EXPECT_EQ(ParseCode("<quests> </quests> " + World("")), 1);
    // The start-up comes after the version, never before.
    EXPECT_EQ(ParseCode(World(Startup("1 2 3") + Version("Orvex", 5, 0))), 1);
}

TEST(WorldFile, MultitilePiecesAreNamedByColumnThenRow) {
    CModule module;
    Parse(module, World("", "<multitile> wall ( 2 3 ) \"Reed Wall\" wallgfx ( 2 1 ) solid </multitile>"));
    EXPECT_EQ(TileKeys(module), (std::vector<std::string>{"wall#0#0", "wall#0#1", "wall#0#2", "wall#1#0",
                                                          "wall#1#1", "wall#1#2"}));
    const CTileTemplate* first = module.FindTileTemplate("wall#0#0");
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->GetGraphicName(), "wallgfx#0#0");
    EXPECT_EQ(first->GetName(), "Reed Wall");
    EXPECT_EQ(first->GetKind(), TILE_SOLID);
    EXPECT_EQ(first->GetWidth(), 2u);
    EXPECT_EQ(first->GetDepth(), 1u);
    EXPECT_EQ(module.FindTileTemplate("wall#1#2")->GetGraphicName(), "wallgfx#1#2");
    EXPECT_EQ(module.FindTileTemplate("wall"), nullptr);
}

TEST(WorldFile, MalformedMultitilesFailBeforeAnyPiece) {
    const char* bad[] = {
        "<multitile> m 2 3 \"M\" g ( 1 1 ) floor </multitile>",     // pieces not grouped
        "<multitile> m 0 \"M\" g ( 1 1 ) floor </multitile>",       // absent group
        "<multitile> m ( 2 3 ) \"M\" g 0 floor </multitile>",       // absent footprint
        "<multitile> m ( 2 3 ) \"M\" g 1 1 floor </multitile>",     // footprint not grouped
        "<multitile> m ( 2 3 ) \"M\" g ( 1 1 ) wall </multitile>",  // not a tile kind
        "<multitile> m ( 2 3 ) \"M\" g ( 1 1 ) 0 </multitile>",     // empty kind
        "<multitile> m ( 2 3 ) \"M\" g ( 1 1 ) floor extra </multitile>",
    };
    for (const char* multitile : bad) {
        CModule module;
        EXPECT_EQ(ErrorCodeOf([&] { Parse(module, World("", multitile)); }), 1) << multitile;
        EXPECT_TRUE(module.GetTileTemplates().empty()) << multitile;
    }
}

TEST(WorldFile, RepeatedKeysNameTheKeyAndTheFile) {
    const std::string floor = " <tile> dock \"Dock\" g ( 1 1 ) floor </tile> ";
    const std::string chest = " <object> chest \"Chest\" g solid 1 1 1 container </object> ";
    {
        CModule module;
        ExpectThrowsCode([&] { Parse(module, World("", floor + floor)); }, 1, "\"dock\"");
    }
    {
        CModule module;
        Parse(module, World("", floor, chest));
        ExpectThrowsCode([&] { Parse(module, World("", floor), &kExpected, "global_world.drav"); }, 1,
                         "global_world.drav: tile \"dock\"");
    }
    {
        CModule module;
        ExpectThrowsCode([&] { Parse(module, World("", "", chest + chest)); }, 1, "object \"chest\"");
    }
    {
        // A piece may collide with a plain tile, and the other way round.
        CModule module;
        ExpectThrowsCode(
            [&] {
                Parse(module, World("", "<tile> m#1#0 \"M\" g ( 1 1 ) floor </tile> "
                                        "<multitile> m ( 2 1 ) \"M\" g ( 1 1 ) floor </multitile>"));
            },
            1, "\"m#1#0\"");
    }
}

TEST(WorldFile, ObjectDefinitionsAreKeptByKey) {
    CModule module;
    Parse(module, World("", "", "<object> sign <name> \"Sign\" \"Hello\" </name> g floor 1 1 1 signpost </object>"));
    const CObjectTemplate* sign = module.FindObjectTemplate("sign");
    ASSERT_NE(sign, nullptr);
    EXPECT_EQ(sign->GetSignText(), "Hello");
    EXPECT_EQ(module.FindObjectTemplate("Sign"), nullptr);
}
