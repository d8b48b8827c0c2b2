// The tile definition grammar: footprints, kinds, and the door's values and flags.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "rules/definitions/tile_template.h"
#include "rules_test_util.h"
#include "support/error_code.h"

using namespace DRAV;
using QuillmereTest::ErrorCodeOf;
using RulesTest::ReaderOver;

namespace {

CTileTemplate TileFrom(const std::string& text) {
    auto reader = ReaderOver(text);
    CTileTemplate tile;
    tile.Load(*reader);
    EXPECT_TRUE(reader->AtEnd()) << reader->GetToken();
    return tile;
}

std::int32_t LoadCode(const std::string& text) {
    auto reader = ReaderOver(text);
    CTileTemplate tile;
    return ErrorCodeOf([&] { tile.Load(*reader); });
}

}  // namespace

TEST(TileTemplateGrammar, ReadsAPlainTile) {
    CTileTemplate wall = TileFrom("<tile> reed_wall \"Reed Wall\" wall_reed ( 2 1 ) solid </tile>");
    EXPECT_EQ(wall.GetKey(), "reed_wall");
    EXPECT_EQ(wall.GetName(), "Reed Wall");
    EXPECT_EQ(wall.GetGraphicName(), "wall_reed");
    EXPECT_EQ(wall.GetWidth(), 2u);
    EXPECT_EQ(wall.GetDepth(), 1u);
    EXPECT_EQ(wall.GetKind(), TILE_SOLID);
    EXPECT_EQ(wall.GetDoorDrawValue(), 0u);
    EXPECT_EQ(wall.GetLockValue(), 0u);
    EXPECT_EQ(wall.GetFlags(), 0u);
    EXPECT_EQ(wall.GetScript(), nullptr);

    for (const char* kind : {"floor", "empty", "solid", "block"}) {
        CTileTemplate tile = TileFrom(std::string("<tile> t \"T\" g ( 1 1 ) ") + kind + " </tile>");
        EXPECT_EQ(tile.GetKind(), ParseTileKind(kind)) << kind;
    }
}

TEST(TileTemplateGrammar, DoorWithALockNumberHasNoScript) {
    CTileTemplate door = TileFrom("<tile> gate \"Gate\" gate_g ( 1 1 ) door 90 25 </tile>");
    EXPECT_EQ(door.GetKind(), TILE_DOOR);
    EXPECT_EQ(door.GetDoorDrawValue(), 90u);
    EXPECT_EQ(door.GetLockValue(), 25u);
    EXPECT_EQ(door.GetScript(), nullptr);
    EXPECT_EQ(door.GetFlags(), 0u);
}

TEST(TileTemplateGrammar, DoorWithALuaElementHasAScriptAndNoLock) {
    CTileTemplate door =
        TileFrom("<tile> vault \"Vault\" vault_g ( 1 2 ) door 45 <lua> return 1 </lua> noclose </tile>");
    ASSERT_NE(door.GetScript(), nullptr);
    EXPECT_NE(door.GetScript()->GetSource().find("return 1"), std::string::npos);
    EXPECT_EQ(door.GetLockValue(), 0u);
    EXPECT_EQ(door.GetDoorDrawValue(), 45u);
    EXPECT_EQ(door.GetFlags(), static_cast<std::uint32_t>(TILE_FLAG_NOCLOSE));
}

TEST(TileTemplateGrammar, DoorFlagWordsSetTheirBitsInAnyOrder) {
    CTileTemplate all = TileFrom("<tile> d \"D\" g ( 1 1 ) door 1 0 open reset noclose open </tile>");
    EXPECT_EQ(all.GetFlags(), TILE_FLAG_RESET | TILE_FLAG_NOCLOSE | TILE_FLAG_OPEN);
    EXPECT_TRUE(all.HasFlag(TILE_FLAG_OPEN));
    CTileTemplate reset = TileFrom("<tile> d \"D\" g ( 1 1 ) door 1 0 reset </tile>");
    EXPECT_TRUE(reset.HasFlag(TILE_FLAG_RESET));
    EXPECT_FALSE(reset.HasFlag(TILE_FLAG_NOCLOSE));
    EXPECT_FALSE(reset.HasFlag(TILE_FLAG_OPEN));
}

TEST(TileTemplateGrammar, MalformedDefinitionsFailWithCodeOne) {
    const std::vector<std::string> malformed = {
        "<tile> t \"T\" g 0 floor </tile>",                 // "0" for the footprint group
        "<tile> t \"T\" g 1 1 floor </tile>",               // footprint not grouped
        "<tile> t \"T\" g ( 1 ) floor </tile>",             // group short of its depth
        "<tile> t \"T\" g ( 1 -1 ) floor </tile>",
        "<tile> t \"T\" g ( 1 1 ) wall </tile>",            // unknown kind
        "<tile> t \"T\" g ( 1 1 ) Floor </tile>",           // kinds compare exactly
        "<tile> t \"T\" g ( 1 1 ) </tile>",                 // no kind
        "<tile> t \"T\" g ( 1 1 )",                         // data ends where the kind stands
        "<tile> t \"T\" g ( 1 1 ) floor open </tile>",      // flag word after a non-door
        "<tile> t \"T\" g ( 1 1 ) solid reset </tile>",
        "<tile> t \"T\" g ( 1 1 ) block noclose </tile>",
        "<tile> t \"T\" g ( 1 1 ) floor 5 </tile>",
        "<tile> t \"T\" g ( 1 1 ) door 1 0 locked </tile>",  // unknown door word
        "<tile> t \"T\" g ( 1 1 ) door 1 0 OPEN </tile>",
        "<tile> t \"T\" g ( 1 1 ) door 1 </tile>",           // no lock and no script
        "<tile> t \"T\" g ( 1 1 ) door 1 0 open",            // never closed
        "<tile> t T g ( 1 1 ) floor </tile>",                // name not quoted
        "<multitile> t \"T\" g ( 1 1 ) floor </multitile>",
    };
    for (const std::string& text : malformed) EXPECT_EQ(LoadCode(text), DRAV_ERR_BAD_DATA) << text;
}

TEST(TileTemplateGrammar, PartsConstructorLeavesDoorValuesEmpty) {
    CTileTemplate piece("hall_2", "Great Hall", TILE_DOOR, "hall_piece", 3, 2);
    EXPECT_EQ(piece.GetKey(), "hall_2");
    EXPECT_EQ(piece.GetName(), "Great Hall");
    EXPECT_EQ(piece.GetKind(), TILE_DOOR);
    EXPECT_EQ(piece.GetGraphicName(), "hall_piece");
    EXPECT_EQ(piece.GetWidth(), 3u);
    EXPECT_EQ(piece.GetDepth(), 2u);
    EXPECT_EQ(piece.GetDoorDrawValue(), 0u);
    EXPECT_EQ(piece.GetLockValue(), 0u);
    EXPECT_EQ(piece.GetFlags(), 0u);
    EXPECT_EQ(piece.GetScript(), nullptr);
}
