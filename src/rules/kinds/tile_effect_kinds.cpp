#include "rules/kinds/tile_effect_kinds.h"

#include "rules/vocabulary/vocabulary_table.h"

namespace DRAV {

namespace {

struct KeyRow {
    const char* key;
};

// The first kObjectTileKindCount rows are the object kinds.
constexpr KeyRow kTileKinds[kTileKindCount] = {{"floor"}, {"empty"}, {"solid"}, {"door"}, {"block"}};

constexpr KeyRow kSpellEffectKinds[kSpellEffectKindCount] = {
    {"modify"},   {"summon"}, {"heal"}, {"damage"},  {"ongoing"}, {"teleport"}, {"status"},
    {"mana"},     {"dispel"}, {"item"}, {"repulse"}, {"raise"},   {"resist"},
};

}  // namespace

TileKind ParseTileKind(const std::string& word) {
    int value = FindTableKey(kTileKinds, &KeyRow::key, word);
    return value < 0 ? TILE_INVALID : static_cast<TileKind>(value);
}

TileKind ParseObjectTileKind(const std::string& word) {
    int value = FindTableKey(kTileKinds, &KeyRow::key, word);
    if (value < 0 || value >= kObjectTileKindCount)
        throw CDRAVException(DRAV_ERR_OUT_OF_RANGE, "unknown object kind: \"" + word + "\"");
    return static_cast<TileKind>(value);
}

std::string GetTileKindKey(TileKind kind) { return GetTableRow(kTileKinds, kind, "tile kind").key; }

SpellEffectKind ParseSpellEffectKind(const std::string& key) {
    return static_cast<SpellEffectKind>(
        ParseTableKey(kSpellEffectKinds, &KeyRow::key, key, DRAV_ERR_OUT_OF_RANGE, "spell effect kind"));
}

std::string GetSpellEffectKindKey(SpellEffectKind kind) {
    return GetTableRow(kSpellEffectKinds, kind, "spell effect kind").key;
}

}  // namespace DRAV
