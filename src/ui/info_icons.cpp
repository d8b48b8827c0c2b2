#include "ui/info_icons.h"

#include "common/exception.h"
#include "rules/items/item_template.h"
#include "rules/magic/spell.h"
#include "ui/element_info.h"
#include "ui/ui_draw_help.h"
#include "ui/ui_image_table.h"

namespace DRAVUI {

int RaceIcon(DRAV::Race race) {
    using namespace DRAV;
    switch (race) {
    case RACE_HUMAN: return 29;
    case RACE_ELF:
    case RACE_FEY:
    case RACE_ALFAR: return 30;
    case RACE_DWARF:
    case RACE_DVERGER: return 31;
    case RACE_SKELETON:
    case RACE_CORPSE: return 32;
    case RACE_ORC:
    case RACE_MINOTAUR: return 33;
    case RACE_GOBLIN: return 34;
    case RACE_SSAZATH:
    case RACE_SALAMANDER: return 35;
    case RACE_DEMON: return 36;
    case RACE_JOTUN: return 37;
    case RACE_SURTR: return 38;
    case RACE_NORN: return 39;
    case RACE_GHOST:
    case RACE_SHADOW: return 40;
    case RACE_AESIR: return 41;
    case RACE_OUTSIDER: return 42;
    case RACE_CONSTRUCT: return 43;
    default: throw CDRAVException(DRAV_ERR_OUT_OF_RANGE, "race " + std::to_string(race) + " has no icon");
    }
}

int GenderBadge(DRAV::Gender gender) {
    if (gender < DRAV::GENDER_MALE || gender > DRAV::GENDER_NONE)
        throw CDRAVException(DRAV_ERR_OUT_OF_RANGE, "gender " + std::to_string(gender) + " has no badge");
    return 44 + gender;
}

int ClassBadge(DRAV::ActorClass actorClass) {
    if (actorClass < DRAV::CLASS_FIGHTER || actorClass > DRAV::CLASS_MONSTER)
        throw CDRAVException(DRAV_ERR_OUT_OF_RANGE, "class " + std::to_string(actorClass) + " has no badge");
    return 51 + actorClass;
}

int AbilityIcon(const DRAV::CSpell& spell) {
    if (spell.HasFlag(DRAV::SPELL_POWER)) {
        if (spell.GetSchool() == DRAV::SKILL_SNEAK) return 55;
        if (spell.GetSaveDamageType().category == DRAV::DAMAGE_MUSICAL) return 56;
        return 57;
    }
    const int school = spell.GetSchool();
    // The module accepts any skill, or none, as a spell's school. Such a spell
    // still needs a picture: a cell without one reads as an empty slot and
    // cannot be dragged to the quick-action bar.
    if (school < DRAV::SKILL_VOID_MAGIC || school > DRAV::SKILL_HIGH_MAGIC) return IMAGE_BADGE_SPELLCASTER;
    return 58 + (school - DRAV::SKILL_VOID_MAGIC);
}

int ItemIcon(const DRAV::CItemTemplate& item) {
    if (item.GetKind() != DRAV::ITEM_WEAPON) return ItemKindIcon(item.GetKind());
    const auto* weapon = item.GetAttributeOf<DRAV::CItemAttributeWeapon>();
    return weapon ? WeaponTypeIcon(weapon->GetWeaponType()) : IMAGE_INVENTORY;
}

void DrawInfoIcon(DRAVCommon::CXPDevice* device, CUIDrawHelp& help, CUISprite& sprite, const RECT& square,
                  const ElementInfo& info) {
    if (info.icon == 0) return;
    help.LoadImage(device, info.icon);
    help.DrawImageRect(sprite, square, info.icon, info.iconColour);
    const LONG l = square.left, t = square.top, r = square.right, b = square.bottom;
    const RECT corners[4] = {
        {l, b - 16, l + 16, b},  // bottom left
        {r - 16, b - 16, r, b},  // bottom right
        {l, t, l + 16, t + 16},  // top left
        {r - 16, t, r, t + 16},  // top right
    };
    for (std::size_t corner = 0; corner < 4; ++corner) {
        const int badge = info.badges[corner];
        if (badge == 0) continue;
        help.LoadImage(device, badge);
        help.DrawImageRect(sprite, corners[corner], badge, 0x80FFFFFF);
    }
}

}  // namespace DRAVUI
