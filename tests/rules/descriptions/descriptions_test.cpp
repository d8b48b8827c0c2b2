// The description texts of spells, items, skills and factions, read without a
// character looking on.

#include <gtest/gtest.h>

#include <sstream>

#include "rules/descriptions/definition_descriptions.h"
#include "rules/descriptions/item_description.h"
#include "rules/descriptions/spell_rules_text.h"
#include "rules/module.h"
#include "rules/vocabulary/skills.h"
#include "rules/monsters/monster_test_util.h"
#include "rules/rules_test_util.h"

using namespace DRAV;
using MonsterTest::Sample;

namespace {

std::string TimeWords(std::int32_t seconds) {
    std::ostringstream out;
    FormatTimeWords(out, seconds);
    return out.str();
}

std::string SpellPage(const CSpell& spell, const CModule& module = Sample()) {
    std::ostringstream out;
    WriteSpellDescription(spell, module, nullptr, out);
    return out.str();
}

std::string ItemPage(const std::string& key, const CModule& module = Sample()) {
    std::ostringstream out;
    WriteItemDescription(*FindItemTemplate(module.GetItemTemplates(), key), module, nullptr, out);
    return out.str();
}

std::string SkillPage(SkillId skill) {
    std::ostringstream out;
    WriteSkillDescription(skill, nullptr, out);
    return out.str();
}

// A spell read on its own, outside the module.
CSpell ReadSpell(const std::string& text) {
    auto reader = RulesTest::ReaderOver(text);
    return CSpell(*reader);
}

}  // namespace

TEST(FormatTimeWords, KeepsTheTwoLargestUnitsAndDropsZeroes) {
    EXPECT_EQ(TimeWords(3725), "1 hour 2 minutes");
    EXPECT_EQ(TimeWords(61), "1 minute 1 second");
    EXPECT_EQ(TimeWords(120), "2 minutes");
    EXPECT_EQ(TimeWords(3600 * 8 + 59), "8 hours");
    EXPECT_EQ(TimeWords(3660), "1 hour 1 minute");
    EXPECT_EQ(TimeWords(1), "1 second");
    EXPECT_EQ(TimeWords(0), "0 seconds");
}

TEST(SpellDescription, TieredSpellGrowsWithLevelOnItsOwnPage) {
    EXPECT_EQ(SpellPage(GetSpell(Sample().GetSpells(), "ferry_blessing")),
              "Ferryman's Blessing LINE LINE Type: Spell  LINE Skill: Life Magic LINE Spell Tier: 1 LINE "
              "Energy Cost: 3 LINE Range: 25 feet LINE Attribute: Personality LINE Affects: Multiple creatures LINE "
              " LINE Effect: LINE Ferryman's Blessing grants a bonus of 1 points, to statistics: Attack Bonus, "
              "Defense Class. The bonus increases by 1 points per level, with a maximum of 5 levels. This effect "
              "lasts for a duration of 10 seconds, increasing by 10 seconds per level, with a maximum of 5 levels. "
              " LINE  LINE The river carries the blessed safely: their footing holds and their hands stay steady. "
              "LINE  LINE ");
}

TEST(SpellDescription, PowersAndSavesNameTheirOwnLines) {
    const std::string sneak = SpellPage(GetSpell(Sample().GetSpells(), "s_power-sneak"));
    EXPECT_NE(sneak.find("Type: Ongoing Power LINE Skill: Stealth LINE Level: 0 LINE Energy Cost: 0 (ongoing)"),
              std::string::npos)
        << sneak;
    const std::string chant = SpellPage(GetSpell(Sample().GetSpells(), "s_power-boatmans_chant"));
    EXPECT_NE(chant.find("Effect Type: Musical LINE Affects: Multiple creatures LINE Song Difficulty: 55 LINE "),
              std::string::npos)
        << chant;
    const std::string lash = SpellPage(GetSpell(Sample().GetSpells(), "reed_lash"));
    EXPECT_NE(lash.find("Range: 10 feet LINE Attack: Touch required LINE Save: Material LINE Immune: Material "
                        "greater than 12 LINE "),
              std::string::npos)
        << lash;
    EXPECT_NE(lash.find("Immune: Construct, Ghost LINE "), std::string::npos);
    EXPECT_NE(lash.find("Effect on Save: half effect LINE  LINE "), std::string::npos);
}

TEST(SpellDescription, SelfTargetedTouchSpellShowsNoAttackLine) {
    const CSpell spell = ReadSpell(
        "<spell> palm_glow \"Palm Glow\" 200 \"Light in the hand.\" 0 arcane_magic <tier> 1 </tier> 0 0 0"
        " <effect> resist 1round fire 25 </effect> touch selftarget </spell>");
    const std::string page = SpellPage(spell);
    EXPECT_NE(page.find("Range: Caster only LINE  LINE Effect:"), std::string::npos) << page;
    EXPECT_EQ(page.find("Attack:"), std::string::npos);
    EXPECT_NE(page.find("Grants immunity against spells of type Energetic/Fire. "), std::string::npos);
}

TEST(SpellDescription, UnknownCarriedSpellSummonAndItemAreNamedNotFollowed) {
    const CSpell spell = ReadSpell(
        "<spell> lost_call \"Lost Call\" 200 \"Calls what is not there.\" 0 spirit_magic <tier> 1 </tier> 0 0 0"
        " <effect> summon 1hour no_such_beast friendly </effect> <effect> ongoing 1round no_such_spell </effect>"
        " <effect> item 1hour no_such_item </effect> </spell>");
    std::string page;
    ASSERT_NO_THROW(page = SpellPage(spell));
    EXPECT_NE(page.find("Lost Call summons the creature \"no_such_beast\", which this chapter does not define. "),
              std::string::npos)
        << page;
    EXPECT_NE(page.find("Lost Call carries the spell \"no_such_spell\", which this chapter does not define. "),
              std::string::npos);
    EXPECT_NE(page.find("Lost Call creates the item \"no_such_item\", which this chapter does not define. "),
              std::string::npos);
}

TEST(SpellDescription, ItemHoldingTheSpellThatMakesItIsNotDescribedWithinIt) {
    RulesTest::SampleCopy copy;
    const std::string magic = QuillmereTest::ReadTextFile(copy.Root() + "/1/magic.drav");
    copy.Write("1/magic.drav",
               magic.substr(0, magic.rfind("</spells>")) +
                   "<spell> mirror \"Mirror Charm\" 200 \"Makes its own bauble.\" 0 arcane_magic <tier> 1 </tier>"
                   " 0 0 0 <effect> item 1hour mirror_bauble </effect> selftarget </spell> </spells> </magic>");
    const std::string items = QuillmereTest::ReadTextFile(copy.Root() + "/1/items.drav");
    copy.Write("1/items.drav", items.substr(0, items.rfind("</items>")) +
                                   "<item> mirror_bauble \"Mirror Bauble\" \"Mirror Bauble\" 200 \"A bauble.\" i_ring 0"
                                   " glass 0.1 10 misc normal <spell> mirror </spell> </item> </items>");
    CModule module;
    module.SetBrainFunctions(GetBrainFunctions());
    module.Load(1, nullptr, copy.Source());
    const std::string page = SpellPage(GetSpell(module.GetSpells(), "mirror"), module);
    // The bauble is named, but its page would hold the charm's text again, and so on without end.
    EXPECT_NE(page.find("Mirror Charm creates the item Mirror Bauble. This effect lasts for a duration of 1 hour. "),
              std::string::npos)
        << page;
    EXPECT_EQ(page.find("Type: Misc"), std::string::npos) << page;
    // An item that holds no such spell has its page written in the spell's, and in the
    // page of the scroll that holds the spell, as a block of its own after a break.
    const std::string lantern = SpellPage(GetSpell(module.GetSpells(), "lantern_light"), module);
    const std::string scroll = ItemPage("lantern_scroll", module);
    for (const std::string* page : {&lantern, &scroll})
        EXPECT_NE(page->find("8 hours.  LINE LINE Reed Lantern LINE LINE Type: Misc LINE "), std::string::npos) << *page;
}

TEST(ItemDescription, PotionShowsItsSpellWithoutRange) {
    EXPECT_EQ(ItemPage("river_tonic"),
              "River Tonic LINE LINE Type: Potion LINE Value: 40 LINE Weight: 0.5 LINE  LINE Potion Effect: Mend "
              "Wounds (Spell Bonus 2) LINE Attribute: Personality LINE  LINE Effect: LINE Mend Wounds heals (1 to 8) "
              "hit points, at the cost of one recovery for the target. The healing increases by 1 per level, with a "
              "maximum of 5 levels.  LINE  LINE  LINE  LINE ");
}

TEST(ItemDescription, SameSpellTellsRangeAndTargetsFromAWandButNotFromAPotion) {
    const std::string potion = ItemPage("i_potion-ferry_blessing");
    EXPECT_EQ(potion.find("Range:"), std::string::npos) << potion;
    EXPECT_EQ(potion.find("Affects: Multiple creatures"), std::string::npos) << potion;
    const std::string wand = ItemPage("i_wand-ferry_blessing");
    EXPECT_NE(wand.find("Range: 25 feet LINE Attribute: Personality LINE Affects: Multiple creatures LINE "),
              std::string::npos)
        << wand;
}

TEST(SpellRulesText, EffectListOfACharacterSheetLeavesOutWhereAndWho) {
    std::ostringstream out;
    GetSpell(Sample().GetSpells(), "s_power-oar_sweep").WriteRulesText(Sample(), nullptr, out, kDescribeEffectList);
    EXPECT_EQ(out.str(),
              "Effect Type: Power LINE  LINE Effect: LINE Oar Sweep hits for (1 to 8) + 4 hit points of damage.  LINE "
              "Oar Sweep inflicts the status Held. This effect lasts for a duration of 10 seconds.  LINE Effect on "
              "Save: full LINE  LINE ");
}

TEST(ItemDescription, WandNamesItsSkillAndBurnOut) {
    EXPECT_EQ(ItemPage("smugglers_flare"),
              "Smugglers' Flare LINE LINE Type: Wand LINE Value: 1200 LINE Weight: 0.5 LINE Skill: Wands Spell Tier 2 "
              "LINE Spell: Smugglers' Smoke LINE Has a 5% chance of burning out on use. LINE  LINE Requires: Wands "
              "Spell Tier 2 to use. LINE Spell Attack: Smugglers' Smoke (Spell Bonus 7) LINE Range: 75 feet LINE Save: "
              "Spiritual/Illusion LINE Attribute: Personality LINE  LINE Effect: LINE Smugglers' Smoke inflicts the "
              "status Confused. This effect lasts for a duration of 20 seconds.  LINE  LINE Effect on Save: none "
              "LINE  LINE  LINE  LINE ");
}

TEST(ItemDescription, WeaponArmorAndWornBonuses) {
    EXPECT_EQ(ItemPage("quarterstaff"),
              "Quarterstaff LINE LINE Type: Weapon LINE Value: 10 LINE Weight: 4 LINE  LINE Weapon Type: Staff "
              "(Requires two hands) (light) LINE Damage: (1 to 6) (blunt) LINE  LINE  LINE ");
    EXPECT_NE(ItemPage("reed_bow").find("Damage: (1 to 8) LINE Strength Damage: 5 LINE Attack Bonus: 1 LINE "),
              std::string::npos);
    // A cap that asks no proficiency names none rather than failing.
    EXPECT_NE(ItemPage("boatmans_cap").find("Armor Type: None LINE Defense Class: 1 LINE "), std::string::npos);
    EXPECT_NE(ItemPage("ring_of_the_current")
                  .find("Save Effect Type: Energetic LINE Grants a bonus to statistics: Agility, Movement Speed LINE "
                        "Bonus Points: +1 LINE "),
              std::string::npos);
    EXPECT_NE(ItemPage("heron_amulet").find("Grants resistance +10 to spell type Energetic/Cold. LINE "),
              std::string::npos);
}

TEST(FactionDescription, TitleThenText) {
    std::ostringstream out;
    WriteFactionDescription(*FindFaction(Sample().GetFactions(), "ferrymen"), out);
    EXPECT_EQ(out.str(),
              "The Ferrymen's Guild LINE LINE Every boat that puts out from Reedwater pays the Guild its toll, and "
              "every boat the Guild keeps afloat comes back. LINE  LINE  LINE ");
}

TEST(SkillDescription, ClassAttributeAndPrerequisites) {
    // Monster skills belong to no race, so their class reads as the monster class's name.
    const std::string monster = SkillPage(static_cast<SkillId>(97));
    EXPECT_EQ(monster.rfind("Inherent Magic LINE LINE Class: Common LINE ", 0), 0u) << monster;
    bool anyMagic = false;
    for (int s = 0; s < 98; ++s) {
        const SkillInfo& info = GetSkillInfo(static_cast<SkillId>(s));
        for (std::int32_t prerequisite : info.prerequisites)
            if (prerequisite == SKILL_ANY_MAGIC) {
                EXPECT_NE(SkillPage(static_cast<SkillId>(s)).find("Prerequisite: Any Magic LINE "), std::string::npos);
                anyMagic = true;
            }
    }
    EXPECT_TRUE(anyMagic);
}

TEST(CollectSkillSpells, ByRankThenKeyWithHowTheyMatch) {
    std::vector<CSkillSpellEntry> entries;
    CollectSkillSpells(SKILL_RELIGION, Sample(), entries);
    std::vector<std::string> keys;
    for (const auto& entry : entries) keys.push_back(std::to_string(entry.rank) + " " + entry.spell->GetKey());
    EXPECT_EQ(keys, (std::vector<std::string>{"0 lantern_light", "1 mend_wounds", "2 still_water", "3 unbinding",
                                              "4 drowned_return"}));
    for (const auto& entry : entries) {
        EXPECT_FALSE(entry.schoolMatch) << entry.spell->GetKey();
        EXPECT_TRUE(entry.secondSkillMatch) << entry.spell->GetKey();
    }

    // Life Magic is the school of three of them, of the ferrymen's blessing and of the
    // balm, whose second skill is its own school.
    std::vector<CSkillSpellEntry> life;
    CollectSkillSpells(SKILL_LIFE_MAGIC, Sample(), life);
    keys.clear();
    for (const auto& entry : life) {
        keys.push_back(std::to_string(entry.rank) + " " + entry.spell->GetKey());
        EXPECT_TRUE(entry.schoolMatch) << entry.spell->GetKey();
        EXPECT_EQ(entry.secondSkillMatch, entry.spell->GetKey() == "marsh_balm") << entry.spell->GetKey();
    }
    EXPECT_EQ(keys, (std::vector<std::string>{"0 lantern_light", "0 marsh_balm", "1 ferry_blessing",
                                              "1 mend_wounds", "4 drowned_return"}));

    std::vector<CSkillSpellEntry> none;
    CollectSkillSpells(SKILL_NONE, Sample(), none);
    CollectSkillSpells(SKILL_SNEAK, Sample(), none);  // only the sneak power, which stays out
    EXPECT_TRUE(none.empty());
}
