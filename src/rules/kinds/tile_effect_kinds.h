#pragma once
// What a map cell or an object occupies, and the kinds of spell effect.

#include <cstdint>
#include <string>

namespace DRAV {

enum TileKind : std::int32_t {
    TILE_FLOOR = 0,
    TILE_EMPTY = 1,
    TILE_SOLID = 2,
    TILE_DOOR = 3,
    TILE_BLOCK = 4,
    TILE_INVALID = 5,
};
constexpr int kTileKindCount = 5;
// Objects occupy only floor, empty or solid.
constexpr int kObjectTileKindCount = 3;

enum SpellEffectKind : std::int32_t {
    EFFECT_MODIFY = 0,
    EFFECT_SUMMON = 1,
    EFFECT_HEAL = 2,
    EFFECT_DAMAGE = 3,
    EFFECT_ONGOING = 4,
    EFFECT_TELEPORT = 5,
    EFFECT_STATUS = 6,
    EFFECT_MANA = 7,
    EFFECT_DISPEL = 8,
    EFFECT_ITEM = 9,
    EFFECT_REPULSE = 10,
    EFFECT_RAISE = 11,
    EFFECT_RESIST = 12,
};
constexpr int kSpellEffectKindCount = 13;

// Any word outside the table gives TILE_INVALID.
TileKind ParseTileKind(const std::string& word);
// Floor, empty or solid; any other word (including "door" and "block") is code 2.
TileKind ParseObjectTileKind(const std::string& word);
// Code 2 outside 0-4.
std::string GetTileKindKey(TileKind kind);

// Code 2 for a word that is not an effect kind.
SpellEffectKind ParseSpellEffectKind(const std::string& key);
// Code 2 outside 0-12.
std::string GetSpellEffectKindKey(SpellEffectKind kind);

}  // namespace DRAV
