#pragma once
// What kind of thing an item is, and what kind of weapon a weapon is.

#include <cstdint>
#include <string>

#include "common/data_file_reader.h"
#include "rules/vocabulary/skill_id.h"

namespace DRAV {

enum ItemKind : std::int32_t {
    ITEM_WEAPON = 0,
    ITEM_ARMOR = 1,
    ITEM_SHIELD = 2,
    ITEM_HELMET = 3,
    ITEM_AMULET = 4,
    ITEM_RING = 5,
    ITEM_POTION = 6,
    ITEM_SCROLL = 7,
    ITEM_WAND = 8,
    ITEM_MISC = 9,
    ITEM_MONEY = 10,
};
constexpr int kItemKindCount = 11;

struct ItemKindInfo {
    ItemKind value;
    const char* key;
    const char* name;
    std::int32_t burnOutPercent;  // chance that casting from the item uses it up
};

enum WeaponType : std::int32_t {
    WEAPON_LIGHT_BLADE = 0,
    WEAPON_HEAVY_BLADE = 1,
    WEAPON_STAFF = 2,
    WEAPON_BLUDGEON = 3,
    WEAPON_AXE = 4,
    WEAPON_BOW = 5,
};
constexpr int kWeaponTypeCount = 6;

struct WeaponTypeInfo {
    WeaponType value;
    const char* key;
    const char* name;
    SkillId proficiency;
    bool light;
    bool blunt;
    bool critical;
};

// Code 2 outside 0-10.
const ItemKindInfo& GetItemKindInfo(ItemKind kind);
std::string GetItemKindKey(ItemKind kind);
std::string GetItemKindName(ItemKind kind);
// An item-kind key; any other word is code 1.
ItemKind ReadItemKind(DRAVCommon::CDataFileReader& reader);

// Code 2 outside 0-5.
const WeaponTypeInfo& GetWeaponTypeInfo(WeaponType type);
std::string GetWeaponTypeKey(WeaponType type);
std::string GetWeaponTypeName(WeaponType type);
// Code 2 for a word that is not a weapon-type key.
WeaponType ParseWeaponType(const std::string& key);

}  // namespace DRAV
