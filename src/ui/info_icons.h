#pragma once
// The icons and corner badges of the hover descriptions, as UI image ids. Every
// lookup outside its table is code 2, save a spell's school (see AbilityIcon).

#include <cstdint>

#include "graphics/ui_sprite.h"
#include "graphics/xp_device.h"

#include "rules/vocabulary/actor_class.h"
#include "rules/vocabulary/gender_race.h"

namespace DRAV {
class CItemTemplate;
class CSpell;
}  // namespace DRAV

namespace DRAVUI {

class CUIDrawHelp;
class ElementInfo;

enum InfoImage : int {
    IMAGE_INVENTORY = 20,
    IMAGE_DEAD = 28,
    IMAGE_BADGE_STATUS = 47,
    IMAGE_BADGE_EFFECT_BOTH = 48,
    IMAGE_BADGE_EFFECT_PLUS = 49,
    IMAGE_BADGE_EFFECT_MINUS = 50,
    IMAGE_BADGE_SPELLCASTER = 53,
    IMAGE_BADGE_MONSTER = 54,
    IMAGE_LEVEL = 72,
};

// The race's picture; the five race groups and "no race" have none.
int RaceIcon(DRAV::Race race);
int GenderBadge(DRAV::Gender gender);
int ClassBadge(DRAV::ActorClass actorClass);
// Powers by their school or music, spells by their school (45 to 52). A spell
// of any other school, or of none, shows the spellcaster's star.
int AbilityIcon(const DRAV::CSpell& spell);
// A weapon by its weapon type, any other item by its kind. A weapon whose
// definition lacks its weapon attribute shows the plain inventory icon.
int ItemIcon(const DRAV::CItemTemplate& item);

// The record's icon in `square` (32 x 32) in its tint, and its badges as 16 x 16
// corners in translucent white. Pictures not yet loaded are loaded on the way:
// what a widget shows changes after it was realized.
void DrawInfoIcon(DRAVCommon::CXPDevice* device, CUIDrawHelp& help, CUISprite& sprite, const RECT& square,
                  const ElementInfo& info);

}  // namespace DRAVUI
