// The factions file: ranks with their titles and spells, flags, and lookups.

#include <gtest/gtest.h>

#include <string>

#include "rules/definitions/faction.h"
#include "rules/rules_test_util.h"
#include "support/error_code.h"

namespace DRAV {
namespace {

using RulesTest::ReaderOver;

FactionMap ParseText(const std::string& text) {
    FactionMap factions;
    auto reader = ReaderOver(text);
    ParseFactions(factions, *reader);
    EXPECT_TRUE(reader->AtEnd()) << "left over: " << reader->GetToken();
    return factions;
}

std::int32_t ParseCode(const std::string& text) {
    return QuillmereTest::ErrorCodeOf([&] { ParseText(text); });
}

std::string Faction(const std::string& body) {
    return "<factions> <faction> boatwrights \"Boatwrights\" \"Heading\" \"Text\" " + body + " </faction> </factions>";
}

FactionMap ParseSample(DRAVCommon::CDataFileFactory& source) {
    DRAVCommon::CDataFileReader reader(source, DRAVCommon::DFK_GLOBAL, DRAVCommon::DFS_NONE, "global_factions.drav");
    FactionMap factions;
    ParseFactions(factions, reader);
    EXPECT_TRUE(reader.AtEnd());
    return factions;
}

TEST(Factions, SampleFileLoads) {
    const FactionMap factions = ParseSample(*QuillmereTest::SampleFolderSource());
    ASSERT_EQ(factions.size(), 2u);

    const CFaction* guild = FindFaction(factions, "ferrymen");
    ASSERT_NE(guild, nullptr);
    EXPECT_EQ(guild->GetName(), "The Ferrymen's Guild");
    EXPECT_EQ(guild->GetDescriptionHeading(), "Keepers of the Crossing");
    EXPECT_FALSE(guild->GetDescriptionText().empty());
    EXPECT_EQ(guild->GetFlags(), 0u);
    ASSERT_EQ(guild->GetRankTitles().size(), 3u);
    EXPECT_EQ(guild->GetRankTitles()[0].title, "Deckhand");
    EXPECT_EQ(guild->GetRankTitles()[0].femaleTitle, "");
    EXPECT_EQ(guild->GetRankTitles()[1].title, "Ferrymaster");
    EXPECT_EQ(guild->GetRankTitles()[1].femaleTitle, "Ferrymistress");
    ASSERT_EQ(guild->GetSpells().size(), 2u);
    EXPECT_EQ(guild->GetSpells()[0]->GetRank(), 0u);
    EXPECT_EQ(guild->GetSpells()[0]->GetSpellKey(), "still_water");
    EXPECT_EQ(guild->GetSpells()[0]->GetRequiredSkill(), SKILL_NONE);
    EXPECT_EQ(guild->GetSpells()[1]->GetRank(), 1u);
    EXPECT_EQ(guild->GetSpells()[1]->GetSpellKey(), "river_sight");
    EXPECT_EQ(guild->GetSpells()[1]->GetRequiredSkill(), SKILL_SNEAK);

    const CFaction* wardens = FindFaction(factions, "reed_wardens");
    ASSERT_NE(wardens, nullptr);
    EXPECT_EQ(wardens->GetFlags(), static_cast<std::uint32_t>(FACTION_NPC));
    ASSERT_EQ(wardens->GetSpells().size(), 1u);
    EXPECT_EQ(wardens->GetSpells()[0]->GetRank(), 1u);
}

TEST(Factions, PackedSampleMatchesTheFolder) {
    const FactionMap packed = ParseSample(*QuillmereTest::SampleArchiveSource());
    const FactionMap folder = ParseSample(*QuillmereTest::SampleFolderSource());
    ASSERT_EQ(packed.size(), folder.size());
    for (const auto& [key, faction] : folder) {
        const CFaction* other = FindFaction(packed, key);
        ASSERT_NE(other, nullptr) << key;
        EXPECT_EQ(other->GetDescriptionText(), faction->GetDescriptionText());
        EXPECT_EQ(other->GetSpells().size(), faction->GetSpells().size());
    }
}

TEST(Factions, RanksSpellsAndFlags) {
    auto factions = ParseText(Faction(R"(
        <rank> "Apprentice" caulk ( steam_plank heavy_armor ) </rank>
        <rank> <name> "Shipwright" "Shipwright" </name> </rank>
        <rank> "" keel_blessing </rank>
        npc npc)"));
    const CFaction* faction = FindFaction(factions, "boatwrights");
    ASSERT_NE(faction, nullptr);
    ASSERT_EQ(faction->GetRankTitles().size(), 3u);
    EXPECT_EQ(faction->GetRankTitles()[1].femaleTitle, "Shipwright");
    EXPECT_EQ(faction->GetRankTitles()[2].title, "");
    ASSERT_EQ(faction->GetSpells().size(), 3u);
    EXPECT_EQ(faction->GetSpells()[1]->GetSpellKey(), "steam_plank");
    EXPECT_EQ(faction->GetSpells()[1]->GetRequiredSkill(), SKILL_HEAVY_ARMOR);
    EXPECT_EQ(faction->GetSpells()[1]->GetRank(), 0u);
    EXPECT_EQ(faction->GetSpells()[2]->GetRank(), 2u);
    EXPECT_EQ(faction->GetFlags(), static_cast<std::uint32_t>(FACTION_NPC));
}

TEST(Factions, EmptyFactionAndEmptyFile) {
    auto factions = ParseText(Faction(""));
    const CFaction* faction = FindFaction(factions, "boatwrights");
    ASSERT_NE(faction, nullptr);
    EXPECT_TRUE(faction->GetRankTitles().empty());
    EXPECT_TRUE(faction->GetSpells().empty());
    EXPECT_EQ(faction->GetFlags(), 0u);

    EXPECT_TRUE(ParseText("<factions> </factions>").empty());
}

TEST(Factions, LaterFactionOfTheSameKeyWins) {
    auto factions = ParseText(R"(<factions>
        <faction> tollmen "First" "H" "T" <rank> "Collector" </rank> </faction>
        <faction> tollmen "Second" "H" "T" </faction>
      </factions>)");
    ASSERT_EQ(factions.size(), 1u);
    const CFaction* faction = FindFaction(factions, "tollmen");
    ASSERT_NE(faction, nullptr);
    EXPECT_EQ(faction->GetName(), "Second");
    EXPECT_TRUE(faction->GetRankTitles().empty());
}

TEST(Factions, LookupOfAMissingKeyAddsNothing) {
    auto factions = ParseText(Faction(""));
    EXPECT_EQ(FindFaction(factions, "Boatwrights"), nullptr);
    EXPECT_EQ(FindFaction(factions, ""), nullptr);
    EXPECT_EQ(factions.size(), 1u);
    EXPECT_EQ(FindFaction(FactionMap{}, "boatwrights"), nullptr);
}

TEST(Factions, MalformedFiles) {
    RulesTest::ExpectThrowsCode([] { ParseText(Faction("<rank> \"Mate\" ( oar_song bogus_skill ) </rank>")); }, 2,
                                "bogus_skill");
    EXPECT_EQ(ParseCode(Faction("<rank> \"Mate\" </rank> secret")), 1);     // stray flag word
    EXPECT_EQ(ParseCode(Faction("npc <rank> \"Mate\" </rank>")), 1);        // ranks come first
    EXPECT_EQ(ParseCode(Faction("<rank> </rank>")), 1);                     // no title
    EXPECT_EQ(ParseCode(Faction("<rank> Mate </rank>")), 1);                // title not quoted
    EXPECT_EQ(ParseCode(Faction("<rank> <name> \"Mate\" </name> </rank>")), 1);
    EXPECT_EQ(ParseCode(Faction("<rank> <name> \"A\" \"B\" \"C\" </name> </rank>")), 1);
    EXPECT_EQ(ParseCode(Faction("<rank> \"Mate\" ( oar_song ) </rank>")), 1);
    EXPECT_EQ(ParseCode(Faction("<rank> \"Mate\" ( oar_song sneak </rank>")), 1);
    EXPECT_EQ(ParseCode(Faction("<rank> \"Mate\" <rank> \"Bosun\" </rank> </rank>")), 1);
    EXPECT_EQ(ParseCode("<factions> <faction> boatwrights \"Boatwrights\" \"Heading\" </faction> </factions>"), 1);
    EXPECT_EQ(ParseCode("<factions> <faction> \"Boatwrights\" </faction> </factions>"), 1);
    EXPECT_EQ(ParseCode("<factions> <guild> x </guild> </factions>"), 1);
    EXPECT_EQ(ParseCode("<factions> <faction> boatwrights \"B\" \"H\" \"T\" </faction>"), 1);  // never closed
    EXPECT_EQ(ParseCode("<faction> boatwrights \"B\" \"H\" \"T\" </faction>"), 1);
}

}  // namespace
}  // namespace DRAV
