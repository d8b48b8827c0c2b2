#pragma once
// The frame every information-page text shares, in the game's text markup: the
// word "LINE", written as " LINE ", ends a line. Links are written as their
// plain text; the dialogs find the manual places by the anchors "spell_",
// "skill_", "faction_" and "item_" followed by a key.

#include <ostream>
#include <string>

#include "rules/vocabulary/actor_class.h"
#include "rules/vocabulary/gender_race.h"
#include "rules/vocabulary/skill_id.h"

namespace DRAV {

class CSpell;

// The title, then an empty line.
void BeginListingTable(std::ostream& out, const std::string& title);
void EndListingTable(std::ostream& out);

// The race's name for a monster of some race, else the class's name.
std::string GetClassLinkText(ActorClass actorClass, Race race);
void WriteClassLink(ActorClass actorClass, Race race, std::ostream& out);
// "Any Magic" for SKILL_ANY_MAGIC, else the skill's name.
void WriteSkillLink(SkillId skill, std::ostream& out);
void WriteSpellLink(const CSpell& spell, std::ostream& out);

}  // namespace DRAV
