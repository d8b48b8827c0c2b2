// The object definition grammar: names and sign texts, kinds, flags, and the
// talk, trap, trigger and sound parts.

#include <gtest/gtest.h>

#include <string>

#include "rules/definitions/object_template.h"
#include "rules_test_util.h"
#include "script/script.h"

using namespace DRAV;
using RulesTest::ExpectThrowsCode;
using RulesTest::ReaderOver;

namespace {

CObjectTemplate ObjectFrom(const std::string& text) {
    auto reader = ReaderOver(text);
    CObjectTemplate definition;
    definition.Load(*reader);
    EXPECT_TRUE(reader->AtEnd()) << reader->GetToken();
    return definition;
}

void ExpectLoadFails(const std::string& text, std::int32_t code, const std::string& fragment) {
    auto reader = ReaderOver(text);
    CObjectTemplate definition;
    ExpectThrowsCode([&] { definition.Load(*reader); }, code, fragment);
}

}  // namespace

TEST(ObjectTemplateGrammar, PlainNameLeavesTheSignTextEmpty) {
    CObjectTemplate chest = ObjectFrom("<object> chest \"Tackle Chest\" chest_g solid 1.5 1 0.75 </object>");
    EXPECT_EQ(chest.GetKey(), "chest");
    EXPECT_EQ(chest.GetName(), "Tackle Chest");
    EXPECT_EQ(chest.GetSignText(), "");
    EXPECT_EQ(chest.GetGraphicName(), "chest_g");
    EXPECT_EQ(chest.GetKind(), TILE_SOLID);
    EXPECT_DOUBLE_EQ(chest.GetWidth(), 1.5);
    EXPECT_DOUBLE_EQ(chest.GetDepth(), 1.0);
    EXPECT_DOUBLE_EQ(chest.GetHeight(), 0.75);
    EXPECT_FALSE(chest.IsContainer());
    EXPECT_FALSE(chest.IsSignpost());
    EXPECT_FALSE(chest.IsSafe());
    EXPECT_TRUE(chest.GetTalkStates().empty());
    EXPECT_EQ(chest.GetTrap(), nullptr);
    EXPECT_EQ(chest.GetSoundName(), "");
}

TEST(ObjectTemplateGrammar, NameElementGivesBothTexts) {
    CObjectTemplate sign =
        ObjectFrom("<object> sign <name> \"Signpost\" \"Ferry every hour.\" </name> 0 floor 1 1 2 signpost </object>");
    EXPECT_EQ(sign.GetName(), "Signpost");
    EXPECT_EQ(sign.GetSignText(), "Ferry every hour.");
    EXPECT_EQ(sign.GetGraphicName(), "");
    EXPECT_TRUE(sign.IsSignpost());
}

TEST(ObjectTemplateGrammar, FlagsAndSoundInAnyOrderAndRepeated) {
    CObjectTemplate box = ObjectFrom(
        "<object> box \"Box\" g empty 1 1 1 safe <sound> \"drip\" 4.5 </sound> container safe "
        "<sound> \"splash\" 6 </sound> </object>");
    EXPECT_EQ(box.GetKind(), TILE_EMPTY);
    EXPECT_TRUE(box.IsContainer());
    EXPECT_TRUE(box.IsSafe());
    EXPECT_FALSE(box.IsSignpost());
    EXPECT_EQ(box.GetSoundName(), "splash");
    EXPECT_DOUBLE_EQ(box.GetSoundRadius(), 6.0);
}

TEST(ObjectTemplateGrammar, TalkElementsAppendTheirStates) {
    CObjectTemplate statue = ObjectFrom(
        "<object> statue \"Heron\" g solid 1 1 3 "
        "<talk> <state> greet <lua> return 0 </lua> </state> </talk> "
        "<talk> <state> riddle <settag> asked </settag> </state> </talk> </object>");
    ASSERT_EQ(statue.GetTalkStates().size(), 2u);
    EXPECT_EQ(statue.GetTalkStates()[0]->GetName(), "greet");
    EXPECT_EQ(statue.GetTalkStates()[1]->GetName(), "riddle");
}

TEST(ObjectTemplateGrammar, TheLastTrapOrTriggerWins) {
    CObjectTemplate trapLast = ObjectFrom(
        "<object> crate \"Crate\" g solid 1 1 1 "
        "<trigger> seen 0 \"Oars splash.\" </trigger> <trap> true 15 3 marsh_sting 30 </trap> </object>");
    ASSERT_NE(trapLast.GetTrap(), nullptr);
    EXPECT_EQ(trapLast.GetTrap()->GetSpellKey(), "marsh_sting");
    EXPECT_EQ(trapLast.GetTrap()->GetDifficulty(), 15u);

    CObjectTemplate triggerLast = ObjectFrom(
        "<object> crate \"Reed Bed\" g solid 1 1 1 "
        "<trap> true 15 3 marsh_sting 30 </trap> <trigger> seen ( observation 12 ) \"Oars splash.\" </trigger> "
        "</object>");
    ASSERT_NE(triggerLast.GetTrap(), nullptr);
    EXPECT_EQ(triggerLast.GetTrap()->GetSpellKey(), "");
    ASSERT_NE(triggerLast.GetTrap()->GetScript(), nullptr);
    // The trigger's box is titled with the definition's display name.
    EXPECT_NE(triggerLast.GetTrap()->GetScript()->GetSource().find("\"Reed Bed\""), std::string::npos);
}

TEST(ObjectTemplateGrammar, KindsOutsideFloorEmptySolidAreOutOfRange) {
    for (const char* kind : {"door", "block", "wall"})
        ExpectLoadFails(std::string("<object> o \"O\" g ") + kind + " 1 1 1 </object>", 2, kind);
}

TEST(ObjectTemplateGrammar, MalformedDefinitionsNameFileAndToken) {
    ExpectLoadFails("<object> o \"O\" g", 1, "test.drav");
    ExpectLoadFails("<object> o \"O\" g solid 1 1 1 locked </object>", 1, "\"locked\"");
    ExpectLoadFails("<object> o \"O\" g solid 1 1 </object>", 1, "</object>");
    ExpectLoadFails("<object> o <name> \"Only one\" </name> g solid 1 1 1 </object>", 1, "</name>");
    ExpectLoadFails("<object> o \"O\" g solid 1 1 1 <sound> 4 </sound> </object>", 1, "4");
    ExpectLoadFails("<object> o \"O\" g solid 1 1 1 <light> </light> </object>", 1, "<light>");
    // Its name is a trap's, saved with the harms the trap leaves: what an actor's name may hold.
    ExpectLoadFails(std::string("<object> o \"O\0\" g solid 1 1 1 </object>", 39), 1, "a name holds a NUL byte");
    ExpectLoadFails("<object> o <name> \"\xC0\" \"Sign\" </name> g solid 1 1 1 </object>", 1, "a name is not UTF-8");
}
