// The describers of ElementInfo: map things, items, prices, abilities, places.

#include <algorithm>
#include <climits>
#include <string>

#include "common/exception.h"
#include "rules/definitions/travel_map.h"
#include "rules/kinds/formulas.h"
#include "rules/kinds/number_texts.h"
#include "rules/vocabulary/special_stat.h"
#include "rules/vocabulary/skills.h"
#include "ui/element_info.h"
#include "ui/info_icons.h"
#include "world/actor.h"
#include "world/game.h"
#include "world/item.h"
#include "world/object.h"
#include "world/object_hover.h"
#include "world/tile.h"

namespace DRAVUI {
namespace {

constexpr std::uint32_t kGreen = 0xFF00FF00;
constexpr std::uint32_t kRed = 0xFFFF0000;
constexpr std::uint32_t kYellow = 0xFFFFFF00;
constexpr std::uint32_t kWhite = 0xFFFFFFFF;
// How well the party knows its own and its friends, whatever their Stealth.
constexpr std::int32_t kFriendlyRecognition = 25;

void DescribeTile(ElementInfo& record, const DRAV::CTile& tile) {
    const DRAV::CMasterTile* master = tile.GetMaster();
    if (!master) return;
    const DRAV::CTileTemplate& definition = master->GetDefinition();
    record.title = definition.GetName();
    if (record.title.empty()) return;
    switch (definition.GetKind()) {
    case DRAV::TILE_FLOOR: record.text = "Floor"; break;
    case DRAV::TILE_EMPTY: record.text = "Impassible"; break;
    case DRAV::TILE_SOLID:
    case DRAV::TILE_BLOCK: record.text = "Blocking"; break;
    case DRAV::TILE_DOOR: {
        const DRAV::CMasterTileDoor* door = tile.GetDoor();
        record.text = "Door";
        if (!door->IsOpen()) record.text += " (Closed)";
        if (door->GetLockValue() != 0) record.text += " (Locked)";
        break;
    }
    default:
        throw CDRAVException(DRAV_ERR_OUT_OF_RANGE,
                             "tile \"" + definition.GetKey() + "\" has kind " + std::to_string(definition.GetKind()));
    }
}

// The marks of the actor's applied spells: status in the top left, help and harm
// in the top right. Powers (silent effects) leave no mark.
void SetEffectBadges(ElementInfo& record, const DRAV::CActor& actor) {
    bool status = false, benefit = false, penalty = false;
    for (const auto& applied : actor.GetActiveEffects()) {
        if (applied->IsSilent()) continue;
        for (const auto& part : applied->GetParts()) {
            switch (part->GetKind()) {
            case DRAV::APPLY_STATUS:
            case DRAV::APPLY_ONGOING: status = true; break;
            case DRAV::APPLY_RESIST: benefit = true; break;
            case DRAV::APPLY_MODIFY:
                if (static_cast<const DRAV::CSpellApplyEffectModify&>(*part).GetAmount() > 0) benefit = true;
                else penalty = true;
                break;
            }
        }
    }
    if (status) record.badges[BADGE_TOP_LEFT] = IMAGE_BADGE_STATUS;
    if (benefit && penalty) record.badges[BADGE_TOP_RIGHT] = IMAGE_BADGE_EFFECT_BOTH;
    else if (benefit) record.badges[BADGE_TOP_RIGHT] = IMAGE_BADGE_EFFECT_PLUS;
    else if (penalty) record.badges[BADGE_TOP_RIGHT] = IMAGE_BADGE_EFFECT_MINUS;
}

void DescribeActor(ElementInfo& record, const DRAV::CActor& actor) {
    const bool party = actor.IsPartyMember();
    if (!actor.IsAlive()) {
        record.icon = IMAGE_DEAD;
    } else if (party && actor.HasLevelPoints()) {
        record.icon = IMAGE_LEVEL;
    } else {
        record.icon = RaceIcon(actor.GetRace());
        record.iconColour = Opaque(actor.GetNameColor());
    }
    record.badges[BADGE_BOTTOM_RIGHT] = GenderBadge(actor.GetGender());
    SetEffectBadges(record, actor);

    const DRAV::Relation relation = actor.GetRelation();
    if (party) record.titleColour = kGreen;
    else if (actor.IsFoe()) record.titleColour = kRed;

    const DRAV::CGame* game = actor.GetGame();
    const bool friendly = party || relation == DRAV::RELATION_FRIENDLY;
    const std::int32_t margin = ElementInfo::RecognitionMargin(actor);

    record.title = actor.GetName();
    record.text = DRAV::GetRaceName(actor.GetRace());
    if (margin >= 0) {
        if (actor.GetClass() != DRAV::CLASS_MONSTER) record.text += " " + DRAV::GetClassName(actor.GetClass());
        const std::int64_t level = actor.GetLevel() != 0 ? std::int64_t{actor.GetLevel()} : actor.GetBaseLevel();
        record.text += " " + std::to_string(level);
        record.badges[BADGE_BOTTOM_LEFT] = ClassBadge(actor.GetClass());
    } else {
        record.text += " Unknown";
        record.badges[BADGE_BOTTOM_LEFT] = IMAGE_BADGE_MONSTER;
    }

    record.hasHitPointBar = true;
    const std::int32_t maxHitPoints = actor.GetMaxHitPoints();
    record.hitPointFraction = !actor.IsAlive() || maxHitPoints <= 0
                                  ? 0.0
                                  : static_cast<double>(maxHitPoints - actor.GetDamageTaken()) / maxHitPoints;
    if (party) {
        record.hasEnergyBar = true;
        const std::int32_t maxEnergy = actor.GetMaxEnergy();
        record.energyFraction = maxEnergy > 0 ? static_cast<double>(actor.GetEnergy()) / maxEnergy : 0.0;
    }

    const DRAV::CSpell* power = actor.GetCurrentPower();
    if (margin >= 0 && power && power->GetSchool() == DRAV::SKILL_SNEAK) record.text += " (Sneaking)";
    if (friendly && actor.GetSummonEndTick() != 0) {
        const std::uint32_t now = game ? game->GetTick() : 0;
        const std::uint32_t end = actor.GetSummonEndTick();
        record.text += " (" + DRAV::FormatDuration(end > now ? end - now : 0) + ")";
    }
    record.actionHint = "Info";
}

void DescribeItemThing(ElementInfo& record, const DRAV::CItem& item, const DRAV::CActor* viewer) {
    const DRAV::CItemTemplate& definition = item.GetTemplate();
    record.title = definition.GetName();
    if (viewer) {
        if (!viewer->CanUseItem(item)) record.titleColour = kRed;
        else if (!viewer->IsProficientWith(item)) record.titleColour = kYellow;
    }
    if (item.GetCount() > 1) record.count = item.GetCount();
    record.icon = ItemIcon(definition);
    if (definition.GetKind() == DRAV::ITEM_WEAPON) {
        if (const auto* weapon = definition.GetAttributeOf<DRAV::CItemAttributeWeapon>())
            record.text = "Dam: " + DRAV::FormatDamageRange(weapon->GetDamageDie(), weapon->GetDamageBonus()) + " ";
    } else if (definition.GetKind() == DRAV::ITEM_ARMOR || definition.GetKind() == DRAV::ITEM_SHIELD) {
        if (const auto* armor = definition.GetAttributeOf<DRAV::CItemAttributeArmor>())
            record.text = "Def: " + std::to_string(armor->GetDefenseClass()) + " ";
    }
    record.iconColour = Opaque(definition.GetColour());
    record.actionHint = "Info";
}

}  // namespace

bool IsAbilityUsable(const DRAV::CSpell& spell, const DRAV::CActor& actor) {
    if (!actor.HasSkill(spell.GetSchool())) return false;
    if (spell.GetLevel() != -1)
        return std::int64_t{actor.GetBaseLevel()} + 1 + actor.GetLevel() >= spell.GetLevel();
    return actor.GetMaxSpellTier() >= spell.GetTier();
}

void ElementInfo::DescribeThing(ElementInfo& record, const DRAV::CThing* thing, const DRAV::CActor* viewer) {
    record.Clear();
    if (!thing) return;
    const DRAV::ThingId id = thing->GetId();
    if (id < 0x01000000u) return;
    record.kind = INFO_MAP_THING;
    record.subjectId = static_cast<std::int32_t>(id);
    switch (id >> 24) {
    case DRAV::THING_TILE:
        if (const auto* tile = dynamic_cast<const DRAV::CTile*>(thing)) DescribeTile(record, *tile);
        break;
    case DRAV::THING_OBJECT:
        if (const auto* object = dynamic_cast<const DRAV::CObject*>(thing)) {
            record.title = object->GetName();
            record.text = DRAV::GetObjectHoverText(*object);
        }
        break;
    case DRAV::THING_ACTOR:
        if (const auto* actor = dynamic_cast<const DRAV::CActor*>(thing)) DescribeActor(record, *actor);
        break;
    case DRAV::THING_ITEM:
        if (const auto* item = dynamic_cast<const DRAV::CItem*>(thing)) DescribeItemThing(record, *item, viewer);
        break;
    default: break;
    }
}

void ElementInfo::DescribeItem(ElementInfo& record, const DRAV::CItemTemplate& item) {
    record.Clear();
    record.icon = ItemIcon(item);
    record.title = item.GetName();
    record.iconColour = Opaque(item.GetColour());
}

void ElementInfo::DescribeItemPrice(ElementInfo& record, const DRAV::CItem& item, std::uint32_t price,
                                    const DRAV::CActor* viewer) {
    DescribeThing(record, &item, viewer);
    record.text += "(" + std::to_string(price) + " gold) ";
}

void ElementInfo::DescribeAbility(ElementInfo& record, const DRAV::CSpell& spell, const DRAV::CActor& actor) {
    record.Clear();
    record.icon = AbilityIcon(spell);
    record.title = spell.GetName();
    record.iconColour = Opaque(spell.GetColour());
    const bool hasLevel = spell.GetLevel() != -1;
    // Sneak has no rank of its own (its level is 0): its number is how well the actor
    // hides, the Stealth the character sheet shows.
    const std::string rank = spell.GetSchool() == DRAV::SKILL_SNEAK
                                 ? std::to_string(actor.GetSpecialStat(DRAV::SPECIAL_STEALTH))
                                 : std::to_string(hasLevel ? spell.GetLevel() : spell.GetTier());
    // A spell the module gave no school is named by its rank alone.
    record.text = spell.GetSchool() != DRAV::SKILL_NONE ? DRAV::GetSkillName(spell.GetSchool()) + " " + rank
                                                        : (hasLevel ? "Level " : "Tier ") + rank;
    if (IsAbilityUsable(spell, actor)) {
        record.text += " (" + std::to_string(spell.GetEnergyCost()) + " energy)";
    } else {
        record.text += " (-)";
        record.titleColour = kRed;
    }
    if (spell.GetSaveDamageType().category != DRAV::DAMAGE_NONE)
        record.text += " (" + spell.GetSaveDamageType().GetFullName() + ")";
    record.kind = INFO_ABILITY;
    record.key = spell.GetKey();
    record.actionHint = "Info";
}

void ElementInfo::DescribeLocation(ElementInfo& record, const DRAV::CMap2Area& location, bool noEnter) {
    record.Clear();
    record.title = location.GetDisplayName();
    record.kind = INFO_LOCATION;
    record.key = location.GetName();
    if (!noEnter) record.actionHint = "Enter Area";
}

std::int32_t ElementInfo::RecognitionMargin(const DRAV::CActor& actor) {
    const DRAV::CGame* game = actor.GetGame();
    const DRAV::Relation relation = actor.GetRelation();
    // Without a running game there is no party to spot the actor: it is known.
    if (actor.IsPartyMember() || relation == DRAV::RELATION_FRIENDLY || !game) return kFriendlyRecognition;
    // A talent for hiding hides only whoever is hiding: standing in the open, an
    // actor is seen for what it is.
    const std::int64_t stealth = actor.IsSneaking() ? actor.GetSpecialStat(DRAV::SPECIAL_STEALTH) : 0;
    const std::int64_t margin = std::int64_t{game->GetBestPartySpecialStat(DRAV::SPECIAL_OBSERVATION)} - stealth;
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(margin, INT32_MIN, INT32_MAX));
}

}  // namespace DRAVUI
