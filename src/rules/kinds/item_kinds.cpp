#include "rules/kinds/item_kinds.h"

#include "rules/vocabulary/vocabulary_table.h"

namespace DRAV {

namespace {

constexpr ItemKindInfo kItemKinds[kItemKindCount] = {
    {ITEM_WEAPON, "weapon", "Weapon", 0}, {ITEM_ARMOR, "armor", "Armor", 0},
    {ITEM_SHIELD, "shield", "Shield", 0}, {ITEM_HELMET, "helmet", "Helmet", 0},
    {ITEM_AMULET, "amulet", "Amulet", 0}, {ITEM_RING, "ring", "Ring", 0},
    {ITEM_POTION, "potion", "Potion", 0}, {ITEM_SCROLL, "scroll", "Scroll", 0},
    {ITEM_WAND, "wand", "Wand", 5},       {ITEM_MISC, "misc", "Misc", 0},
    {ITEM_MONEY, "money", "Money", 0},
};

constexpr WeaponTypeInfo kWeaponTypes[kWeaponTypeCount] = {
    {WEAPON_LIGHT_BLADE, "light_blade", "Light Blade", SKILL_LIGHT_BLADE, true, false, false},
    {WEAPON_HEAVY_BLADE, "heavy_blade", "Heavy Blade", SKILL_HEAVY_BLADE, false, false, false},
    {WEAPON_STAFF, "staff", "Staff", SKILL_STAFF, true, true, false},
    {WEAPON_BLUDGEON, "bludgeon", "Bludgeon", SKILL_BLUDGEON, false, true, false},
    {WEAPON_AXE, "axe", "Axe", SKILL_AXE, false, false, true},
    {WEAPON_BOW, "bow", "Bow", SKILL_BOW, false, false, false},
};

}  // namespace

const ItemKindInfo& GetItemKindInfo(ItemKind kind) { return GetTableRow(kItemKinds, kind, "item kind"); }
std::string GetItemKindKey(ItemKind kind) { return GetItemKindInfo(kind).key; }
std::string GetItemKindName(ItemKind kind) { return GetItemKindInfo(kind).name; }

ItemKind ReadItemKind(DRAVCommon::CDataFileReader& reader) {
    return static_cast<ItemKind>(
        ReadTableKey(reader, kItemKinds, &ItemKindInfo::key, DRAV_ERR_BAD_DATA, "item kind"));
}

const WeaponTypeInfo& GetWeaponTypeInfo(WeaponType type) { return GetTableRow(kWeaponTypes, type, "weapon type"); }
std::string GetWeaponTypeKey(WeaponType type) { return GetWeaponTypeInfo(type).key; }
std::string GetWeaponTypeName(WeaponType type) { return GetWeaponTypeInfo(type).name; }

WeaponType ParseWeaponType(const std::string& key) {
    return static_cast<WeaponType>(
        ParseTableKey(kWeaponTypes, &WeaponTypeInfo::key, key, DRAV_ERR_OUT_OF_RANGE, "weapon type"));
}

}  // namespace DRAV
