#include "rules/descriptions/description_frame.h"

#include "rules/magic/spell.h"
#include "rules/vocabulary/skills.h"

namespace DRAV {

void BeginListingTable(std::ostream& out, const std::string& title) { out << title << " LINE LINE "; }

void EndListingTable(std::ostream& out) { out << " LINE "; }

std::string GetClassLinkText(ActorClass actorClass, Race race) {
    if (actorClass == CLASS_MONSTER && race != RACE_NONE) return GetRaceName(race);
    return GetClassName(actorClass);
}

void WriteClassLink(ActorClass actorClass, Race race, std::ostream& out) { out << GetClassLinkText(actorClass, race); }

void WriteSkillLink(SkillId skill, std::ostream& out) {
    out << (skill == SKILL_ANY_MAGIC ? std::string("Any Magic") : GetSkillName(skill));
}

void WriteSpellLink(const CSpell& spell, std::ostream& out) { out << spell.GetName(); }

}  // namespace DRAV
