// What the monster dialog and the spell and item pages say about the chapter's
// people, as the party learns more of them.

#include <gtest/gtest.h>

#include <sstream>

#include "rules/descriptions/definition_descriptions.h"
#include "rules/descriptions/item_description.h"
#include "world/actor_test_support.h"
#include "world/area.h"
#include "world/descriptions/actor_description.h"
#include "world/descriptions/actor_viewer.h"

using namespace DRAV;
using WorldTest::SampleActor;
using WorldTest::SampleWithBrains;
using WorldTest::Spell;

namespace {

std::string Described(const CActor& actor, std::int32_t knowledge) {
    std::ostringstream out;
    WriteActorDescription(actor, SampleWithBrains(), knowledge, out);
    return out.str();
}

std::string SpellPageFor(const std::string& key, const CActor& actor) {
    std::ostringstream out;
    const CActorViewer viewer(actor);
    WriteSpellDescription(Spell(key), SampleWithBrains(), &viewer, out);
    return out.str();
}

}  // namespace

TEST(ActorDescription, MonsterRevealsMoreAtEachKnowledgeLevel) {
    auto wisp = SampleActor("marsh_wisp");
    EXPECT_EQ(Described(*wisp, -1),
              "Marsh Wisp LINE LINE None Fey LINE Hit Points: 12/12 LINE Class: Unknown LINE  Description: a wisp "
              "LINE LINE ");
    EXPECT_EQ(Described(*wisp, 10),
              "Marsh Wisp LINE LINE None Fey LINE Hit Points: 12/12 LINE Class: None LINE Encounter Level: 1 (68xp) "
              "LINE  Description: a wisp LINE LINE ");
    EXPECT_EQ(Described(*wisp, 25),
              "Marsh Wisp LINE LINE None Fey LINE Hit Points: 12/12 LINE Class: None LINE Encounter Level: 1 (68xp) "
              "LINE Strength: 6 LINE Agility: 16 LINE Durability: 10 LINE Intelligence: 8 LINE Personality: 12 LINE  "
              "LINE Attack Bonus: 2 LINE Attack Damage: (1 to 4) LINE Attack Spell: Fever's Grip (Material/Poison 0) "
              "LINE  LINE Defense Class: 30 LINE Defense Class (Touch): 65 LINE  LINE Energetic: 10 LINE Material: 0 "
              "LINE Spiritual: 15 LINE  LINE Skills: Elemental Magic LINE  LINE Magic Resistances: LINE Cold: Resist "
              "+10 LINE  Description: a wisp LINE LINE ");
}

TEST(ActorDescription, PeopleShowLevelFactionAndNoMonsterSkills) {
    auto keeper = SampleActor("ferry_keeper");
    keeper->SetDamageTaken(10);
    const std::string text = Described(*keeper, 25);
    EXPECT_NE(text.find("Hit Points: 14/24 LINE Class: Fighter LINE Level: 1 LINE Encounter Level: 3 (131xp) LINE "
                        "Faction: The Ferrymen's Guild 2 (Ferrymistress) LINE "),
              std::string::npos)
        << text;
    keeper->SetActionState(ACTION_DEAD);
    keeper->SetRelation(RELATION_PARTY);
    const std::string fallen = Described(*keeper, 0);
    EXPECT_NE(fallen.find("Hit Points: 0/24 LINE Class: Fighter LINE Level: 1 LINE  Description"), std::string::npos)
        << fallen;

    auto unnamed = SampleActor("ferryman");
    unnamed->SetName("");
    unnamed->SetTemplateName("main");
    for (int a = 0; a < kAttributeCount; ++a) unnamed->SetAttribute(static_cast<Attribute>(a), 6);
    const std::string hero = Described(*unnamed, 25);
    EXPECT_EQ(hero.rfind("Unnamed Hero LINE LINE ", 0), 0u);
    EXPECT_EQ(hero.find("Strength"), std::string::npos) << hero;
    EXPECT_NE(hero.find("Faction: "), std::string::npos);
}

TEST(ActorDescription, SpellNullificationShowsOnlyWhenItDiffersFromNone) {
    auto nullify = [](std::int32_t amount) {
        auto spirit = SampleActor("marsh_spirit");
        auto applied = std::make_shared<CSpellApply>("Null Ward", CDamageType{}, 0, 0, true, false);
        applied->GetParts().push_back(
            std::make_shared<CSpellApplyEffectModify>(0, ModifierBit(MOD_SPELL_NULLIFICATION), amount));
        spirit->AppendEffects({applied});
        return Described(*spirit, 25);
    };
    EXPECT_EQ(Described(*SampleActor("marsh_spirit"), 25).find("Spell Nullification"), std::string::npos);
    EXPECT_EQ(nullify(-50).find("Spell Nullification"), std::string::npos);
    EXPECT_NE(nullify(10).find("Spell Nullification: 60 LINE LINE "), std::string::npos);
}

TEST(ActorDescription, SummonedHelperShowsItsEffectsAndTimeLeftInAnArea) {
    CGame game;
    game.SetTick(1000);
    auto wisp = SampleActor("marsh_wisp", &game);
    CArea area(&game);
    wisp->SetArea(&area);
    wisp->SetRelation(RELATION_FRIENDLY);
    wisp->SetSummonEndTick(1000 + 30 * 150);
    const std::string text = Described(*wisp, 0);
    EXPECT_NE(text.find("Description: a wisp LINE LINE Summon Time: 2 min LINE LINE "), std::string::npos) << text;
    wisp->SetRelation(RELATION_HOSTILE);
    EXPECT_EQ(Described(*wisp, 0).find("Summon Time"), std::string::npos);
}

TEST(SpellDescriptionForActor, CasterSeesTierMarginBonusAndOwnAmounts) {
    auto witch = SampleActor("reed_witch");
    EXPECT_EQ(SpellPageFor("ferry_blessing", *witch),
              "Ferryman's Blessing LINE LINE Type: Spell  LINE Skill: Life Magic LINE Spell Tier: 1 LINE Marra the "
              "Reed Witch Spell Tier: 2 (2 Extra Levels)  LINE Marra the Reed Witch Bonus: 14 LINE Energy Cost: 3 "
              "LINE Range: 25 feet LINE Attribute: Personality (+5) LINE Affects: Multiple creatures LINE  LINE "
              "Effect: LINE Ferryman's Blessing grants a bonus of 1 points, to statistics: Attack Bonus, Defense "
              "Class. The bonus increases by 1 points per level, with a maximum of 5 levels. For Marra the Reed "
              "Witch, the bonus is 3 points.This effect lasts for a duration of 10 seconds, increasing by 10 seconds "
              "per level, with a maximum of 5 levels, and for Marra the Reed Witch, the duration is 30 seconds.  "
              "LINE  LINE The river carries the blessed safely: their footing holds and their hands stay steady. "
              "LINE  LINE ");
    // Above the caster's tier: the tier line alone, no margin or bonus.
    const std::string raise = SpellPageFor("drowned_return", *witch);
    EXPECT_NE(raise.find("Spell Tier: 4 LINE Marra the Reed Witch Spell Tier: 2  LINE Energy Cost: 12 LINE "),
              std::string::npos)
        << raise;
    // A hero not yet named, on the creation pages, goes by the name her sheet gives her.
    witch->SetName("");
    const std::string unnamed = SpellPageFor("drowned_return", *witch);
    EXPECT_NE(unnamed.find("Spell Tier: 4 LINE Unnamed Hero Spell Tier: 2  LINE Energy Cost: 12 LINE "),
              std::string::npos)
        << unnamed;
}

TEST(ItemDescriptionForActor, ScrollTellsWhetherTheSpellIsAlreadyKnown) {
    auto witch = SampleActor("reed_witch");
    const CActorViewer viewer(*witch);
    const CModule& module = SampleWithBrains();
    int knownScrolls = 0;
    int newScrolls = 0;
    for (const auto& [key, item] : module.GetItemTemplates()) {
        if (item->GetKind() != ITEM_SCROLL) continue;
        const CSpell& spell = item->GetAttributeOf<CItemAttributeSpell>()->GetSpell();
        std::ostringstream out;
        WriteItemDescription(*item, module, &viewer, out);
        // What the scroll asks is what inscribing it takes: the spell's school too.
        const std::string required = "Requires: Arcane Magic and " + GetSkillName(spell.GetSchool()) + " to inscribe.";
        EXPECT_NE(out.str().find(required), std::string::npos) << key << ": " << out.str();
        const bool known = out.str().find("This spell is already in Marra the Reed Witch's spellbook. LINE " +
                                          required) != std::string::npos;
        EXPECT_EQ(known, viewer.KnowsSpell(spell)) << key;
        ++(known ? knownScrolls : newScrolls);
    }
    EXPECT_GT(knownScrolls, 0);
    EXPECT_GT(newScrolls, 0);
}
