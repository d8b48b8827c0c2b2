// Equipment slots and their rules, the backpack and the drop items, weight, the
// actor's store, the graphics of carried items and the inscribed spells.

#include <algorithm>
#include <array>

#include "common/exception.h"
#include "rules/items/item_template.h"
#include "rules/module.h"
#include "world/actor.h"
#include "world/events/event.h"
#include "world/game.h"
#include "world/item.h"

namespace DRAV {
namespace {

const std::array<const char*, kEquipSlotCount> kEquipSlotNames = {"Weapon",  "Offhand",   "Armor",     "Helmet",
                                                                  "Amulet", "Left Ring", "Right Ring"};

std::shared_ptr<CItem> TakeFromList(ItemPtrList& items, const CItem& item, const char* where) {
    const auto found =
        std::find_if(items.begin(), items.end(), [&](const auto& held) { return held.get() == &item; });
    if (found == items.end())
        throw CDRAVException(DRAV_ERR_BAD_DATA,
                             "item \"" + item.GetTemplate().GetKey() + "\" is not in the " + where);
    std::shared_ptr<CItem> taken = std::move(*found);
    items.erase(found);
    return taken;
}

const CItemAttributeWeapon& RequireWeapon(const CItem& item) {
    const auto* weapon = item.GetTemplate().GetAttributeOf<CItemAttributeWeapon>();
    if (!weapon)
        throw CDRAVException(DRAV_ERR_OUT_OF_RANGE, "item \"" + item.GetTemplate().GetKey() + "\" is no weapon");
    return *weapon;
}

}  // namespace

const CSpell& RequireItemSpell(const CItem& item) {
    const auto* spell = item.GetTemplate().GetAttributeOf<CItemAttributeSpell>();
    if (!spell)
        throw CDRAVException(DRAV_ERR_BAD_DATA, "item \"" + item.GetTemplate().GetKey() + "\" holds no spell");
    return spell->GetSpell();
}

std::string CActor::GetEquipSlotName(std::int32_t slot) {
    if (slot < 0 || slot >= kEquipSlotCount)
        throw CDRAVException(DRAV_ERR_OUT_OF_RANGE, "no equipment slot " + std::to_string(slot));
    return kEquipSlotNames[static_cast<std::size_t>(slot)];
}

bool CActor::FitsSlot(std::int32_t slot, const CItem& item) const {
    const CItemTemplate& definition = item.GetTemplate();
    bool fits = false;
    switch (definition.GetKind()) {
        case ITEM_WEAPON:
            if (slot == SLOT_WEAPON) {
                fits = true;
            } else if (slot == SLOT_OFFHAND && HasSkill(SKILL_DUAL_WIELD_STYLE)) {
                const auto* weapon = definition.GetAttributeOf<CItemAttributeWeapon>();
                fits = weapon && !weapon->IsTwoHanded();
            }
            break;
        case ITEM_ARMOR: fits = slot == SLOT_ARMOR; break;
        case ITEM_SHIELD: fits = slot == SLOT_OFFHAND; break;
        case ITEM_HELMET: fits = slot == SLOT_HELMET; break;
        case ITEM_AMULET: fits = slot == SLOT_AMULET; break;
        case ITEM_RING: fits = slot == SLOT_LEFT_RING || slot == SLOT_RIGHT_RING; break;
        default: break;
    }
    return fits;
}

bool CActor::CanEquipInSlot(std::int32_t slot, const CItem& item) const {
    if (IsSummoned() || !FitsSlot(slot, item)) return false;
    for (const auto& attribute : item.GetTemplate().GetAttributes()) {
        if (attribute->GetType() != ITEMATTR_ATTRIBUTE_REQ) continue;
        const auto& requirement = static_cast<const CItemAttributeAttributeReq&>(*attribute);
        const Attribute scored = requirement.GetAttribute();
        const std::int64_t value = std::int64_t{GetAttribute(scored)} + GetModifier(GetAttributeModifierIndex(scored));
        if (value < std::int64_t{requirement.GetMinimum()}) return false;
    }
    return true;
}

bool CActor::CheckTwoHandedConflict(std::int32_t slot, const CItem& item, CItem** blocking) const {
    if (blocking) *blocking = nullptr;
    CItem* other = nullptr;
    if (slot == SLOT_WEAPON) {
        if (RequireWeapon(item).IsTwoHanded()) other = GetEquipped(SLOT_OFFHAND);
    } else if (slot == SLOT_OFFHAND) {
        CItem* main = GetEquipped(SLOT_WEAPON);
        if (main && RequireWeapon(*main).IsTwoHanded()) other = main;
    }
    if (!other) return true;
    if (blocking) *blocking = other;
    return false;
}

bool CActor::CanUseItem(const CItem& item) const {
    switch (item.GetTemplate().GetKind()) {
        case ITEM_WEAPON: return CanEquipInSlot(SLOT_WEAPON, item);
        case ITEM_ARMOR: return CanEquipInSlot(SLOT_ARMOR, item);
        case ITEM_SHIELD: return CanEquipInSlot(SLOT_OFFHAND, item);
        case ITEM_HELMET: return CanEquipInSlot(SLOT_HELMET, item);
        case ITEM_AMULET: return CanEquipInSlot(SLOT_AMULET, item);
        case ITEM_RING: return CanEquipInSlot(SLOT_RIGHT_RING, item);
        case ITEM_POTION:
        case ITEM_SCROLL:
        case ITEM_WAND: return CanUseMagicItem(item, false);
        default: return true;
    }
}

bool CActor::IsProficientWith(const CItem& item) const {
    const CItemTemplate& definition = item.GetTemplate();
    switch (definition.GetKind()) {
        case ITEM_WEAPON: {
            const auto* weapon = definition.GetAttributeOf<CItemAttributeWeapon>();
            return !weapon || HasSkill(GetWeaponTypeInfo(weapon->GetWeaponType()).proficiency);
        }
        case ITEM_ARMOR:
        case ITEM_SHIELD: {
            const auto* armor = definition.GetAttributeOf<CItemAttributeArmor>();
            return !armor || armor->GetArmorSkill() == SKILL_NONE || HasSkill(armor->GetArmorSkill());
        }
        case ITEM_SCROLL: return MeetsSpellRequirements(RequireItemSpell(item));
        default: return true;
    }
}

bool CActor::CanUseMagicItem(const CItem& item, bool noWand) const {
    switch (item.GetTemplate().GetKind()) {
        case ITEM_POTION: return !noWand;
        case ITEM_SCROLL: {
            const CSpell& spell = RequireItemSpell(item);
            return HasSkill(SKILL_ARCANE_MAGIC) && MeetsSpellRequirements(spell) &&
                   GetMaxSpellTier() >= spell.GetTier();
        }
        case ITEM_WAND: {
            if (noWand) return false;
            const CSpell& spell = RequireItemSpell(item);
            const std::int64_t tier = std::int64_t{GetMaxSpellTier()} + (m_class == CLASS_ROGUE ? 2 : 0);
            return HasSkill(SKILL_WANDS) && tier >= spell.GetTier();
        }
        default: return false;
    }
}

std::shared_ptr<CItem> CActor::RemoveEquipment(EquipSlot slot) {
    std::shared_ptr<CItem> removed = std::move(m_equipment.at(slot));
    m_equipment.at(slot).reset();
    RecountModifiers();
    if (removed) PushPartyEvent(EVENT_ACTOR_ITEM_GONE);
    return removed;
}

void CActor::AddToBackpack(std::shared_ptr<CItem> item, bool merge) {
    if (merge && MergeIntoStack(m_backpack, *item)) return;
    item->SetHolder(this);
    m_backpack.push_back(std::move(item));
}

std::shared_ptr<CItem> CActor::RemoveFromBackpack(const CItem& item) {
    std::shared_ptr<CItem> taken = TakeFromList(m_backpack, item, "backpack");
    PushPartyEvent(EVENT_ACTOR_ITEM_GONE);
    return taken;
}

void CActor::AddDropItem(std::shared_ptr<CItem> item) {
    item->SetHolder(this);
    m_dropItems.push_back(std::move(item));
}

std::shared_ptr<CItem> CActor::RemoveDropItem(const CItem& item) { return TakeFromList(m_dropItems, item, "drop items"); }

CItem* CActor::FindItem(ThingId id, std::int32_t* position) const {
    if (CItem* item = FindItemById(m_backpack, id)) {
        if (position) *position = kBackpackPosition;
        return item;
    }
    for (std::int32_t slot = 0; slot < kEquipSlotCount; ++slot) {
        const auto& item = m_equipment[static_cast<std::size_t>(slot)];
        if (item && item->GetId() == id) {
            if (position) *position = slot;
            return item.get();
        }
    }
    return nullptr;
}

double CActor::GetCarriedWeight() const {
    double weight = 0.0;
    auto add = [&](const std::shared_ptr<CItem>& item) {
        if (item) weight += item->GetCount() * item->GetTemplate().GetWeight();
    };
    std::for_each(m_equipment.begin(), m_equipment.end(), add);
    std::for_each(m_backpack.begin(), m_backpack.end(), add);
    return weight;
}

ItemPtrList CActor::GetStoreItems() const { return m_store ? m_store->GetTradeItems() : ItemPtrList{}; }

bool CActor::GetStoreBuyPrice(const CItem& item, std::uint32_t& price) const {
    if (!m_store || !m_store->BuysKind(item.GetTemplate().GetKind())) return false;
    const std::uint32_t value = item.GetTemplate().GetValue();
    price = value / 2 + value % 2;
    return true;
}

std::shared_ptr<CItem> CActor::TakeStoreItem(ThingId id) {
    if (!m_store) throw CDRAVException(DRAV_ERR_OUT_OF_RANGE, m_name + " keeps no store");
    const CItem* item = FindItemById(m_store->GetStock(), id);
    if (!item) throw CDRAVException(DRAV_ERR_BAD_DATA, "the store of " + m_name + " holds no item " + std::to_string(id));
    return m_store->RemoveItem(*item);
}

bool CActor::SetGraphic(std::string& name, DRAVGraph::GraphicOverrideList* overrides) const {
    name = m_graphicName;
    if (!overrides || (!IsPartyMember() && !m_colors)) return true;
    for (std::int32_t slot = 0; slot < kEquipSlotCount; ++slot) {
        const auto& item = m_equipment[static_cast<std::size_t>(slot)];
        if (!item) continue;
        const auto& graphics = item->GetTemplate().GetGraphics();
        const std::size_t gender = static_cast<std::size_t>(m_gender);
        if (gender >= graphics.size()) continue;
        const std::string& graphic = graphics[gender];
        if (graphic.empty() || graphic == "0") continue;
        overrides->push_back({graphic, slot == SLOT_OFFHAND});
    }
    return true;
}

bool CActor::LacksSpell(const CSpell& spell) const {
    return std::find(m_spells.begin(), m_spells.end(), &spell) == m_spells.end();
}

void CActor::InscribeScroll(const CModule& module, CGame* game) {
    auto inscribe = [&](const CSpell& spell) {
        m_spells.push_back(&spell);
        if (game) game->PushMessage(MESSAGE_NOTICE, m_name + " inscribes " + spell.GetName() + ".");
    };
    for (const auto& [key, spell] : module.GetSpells()) {
        const SkillId second = spell->GetSecondSkill();
        if (spell->GetSchool() == SKILL_NONE || second == SKILL_NONE || !HasSkill(second)) continue;
        if (MeetsSpellRequirements(*spell) && LacksSpell(*spell)) inscribe(*spell);
    }
    if (!m_faction) return;
    for (const auto& factionSpell : m_faction->GetSpells()) {
        if (factionSpell->GetRank() > m_factionRank) continue;
        const SkillId required = factionSpell->GetRequiredSkill();
        if (required != SKILL_NONE && !HasSkill(required)) continue;
        const CSpell* spell = FindSpell(module.GetSpells(), factionSpell->GetSpellKey());
        if (spell && MeetsSpellRequirements(*spell) && LacksSpell(*spell)) inscribe(*spell);
    }
}

}  // namespace DRAV
