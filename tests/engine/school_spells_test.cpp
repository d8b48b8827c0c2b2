// Whoever buys a school of magic on the creation pages knows a spell of it from the
// first minute, whatever the class and starting level: the pages' steps (level, class,
// the skills bought one by one while the skills page offers them) on a new game of the
// sample chapter, then the spells the started game's main character knows.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "rules/kinds/formulas.h"
#include "rules/magic/spell.h"
#include "rules/vocabulary/actor_class.h"
#include "rules/vocabulary/attributes.h"
#include "rules/vocabulary/skills.h"
#include "support/sample_game.h"

namespace {

using namespace DRAV;

struct NewCharacter {
    const char* who;
    ActorClass actorClass;
    std::uint32_t level;
    std::vector<SkillId> bought;  // in the order the skills page lets them be bought
};

// What the level, class, attribute and skills pages do to the character being made:
// the attribute points are spread over the five attributes, one at a time.
void Make(CActor& actor, const NewCharacter& character) {
    actor.SetName("Wren");
    actor.SetLevel(character.level);
    actor.SetExperience(GetXpThreshold(actor.GetBaseLevel() + static_cast<std::int32_t>(character.level) + 1));
    actor.SetGender(GENDER_FEMALE);
    actor.SetClass(character.actorClass);
    for (bool raised = true; raised;) {
        raised = false;
        for (int i = 0; i < kAttributeCount; ++i) {
            const auto attribute = static_cast<Attribute>(i);
            if (AttributeRaiseCost(actor.GetAttribute(attribute)) > actor.GetUnspentPoints()) continue;
            actor.IncreaseAttribute(attribute, false);
            raised = true;
        }
    }
    actor.AddSkill(GetClassInfo(character.actorClass).freeSkill);
    for (SkillId skill : character.bought) {
        if (!actor.CanLearnSkill(skill)) ADD_FAILURE() << character.who << " cannot buy " << GetSkillName(skill);
        actor.AddSkill(skill);
    }
}

TEST(SchoolSpells, EverySchoolBoughtAtCreationGivesASpellToCastAtOnce) {
    const std::vector<NewCharacter> characters = {
        {"a level-4 Spellcaster of five schools", CLASS_SPELLCASTER, 4,
         {SKILL_MATTER_MAGIC, SKILL_ENERGY_MAGIC, SKILL_SPIRIT_MAGIC, SKILL_ELEMENTAL_MAGIC, SKILL_LIFE_MAGIC}},
        {"a level-4 Spellcaster of High Magic", CLASS_SPELLCASTER, 4,
         {SKILL_MATTER_MAGIC, SKILL_ENERGY_MAGIC, SKILL_SPIRIT_MAGIC, SKILL_HIGH_MAGIC, SKILL_COSMIC_MAGIC}},
        {"a level-1 Spellcaster of Void Magic", CLASS_SPELLCASTER, 1, {SKILL_VOID_MAGIC}},
        {"a level-1 Fighter with one general pick", CLASS_FIGHTER, 1, {SKILL_SPIRIT_MAGIC}},
        {"a level-1 Adventurer", CLASS_ROGUE, 1, {SKILL_MATTER_MAGIC, SKILL_SPIRIT_MAGIC, SKILL_LIFE_MAGIC}},
    };
    std::vector<SkillId> covered;
    for (const NewCharacter& character : characters) {
        SCOPED_TRACE(character.who);
        QuillmereTest::SampleGame game([&](CActor& actor) { Make(actor, character); });
        const CActor& main = *game.Main();
        for (SkillId school : character.bought) {
            std::vector<std::string> known;
            for (const CSpell* spell : main.GetSpells())
                if (spell->GetSchool() == school && main.GetEnergy() >= spell->GetEnergyCost())
                    known.push_back(spell->GetName());
            EXPECT_FALSE(known.empty()) << GetSkillName(school) << ": no spell to cast";
            covered.push_back(school);
        }
    }
    // Between them the characters buy every school the skills page offers.
    for (SkillId school : {SKILL_VOID_MAGIC, SKILL_MATTER_MAGIC, SKILL_ENERGY_MAGIC, SKILL_SPIRIT_MAGIC,
                           SKILL_ELEMENTAL_MAGIC, SKILL_COSMIC_MAGIC, SKILL_LIFE_MAGIC, SKILL_HIGH_MAGIC})
        EXPECT_NE(std::find(covered.begin(), covered.end(), school), covered.end()) << GetSkillName(school);
}

}  // namespace
