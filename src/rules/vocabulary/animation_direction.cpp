#include "rules/vocabulary/animation_direction.h"

#include "rules/vocabulary/vocabulary_table.h"

namespace DRAV {

namespace {

constexpr const char* kAnimationNames[kAnimationCount] = {
    "default", "combat",   "rcombat",       "2hcombat", "move",    "attack",   "attack-fast", "rattack",
    "2hattack", "2hattack-fast", "2wattack", "2wattack-fast", "cast", "recover", "rrecover",  "2hrecover",
    "crecover", "fidget",  "drink",         "drecover", "wand",    "wrecover",
};

struct DirectionRow {
    const char* key;
    const char* letter;
};

constexpr DirectionRow kDirections[kDirectionCount] = {
    {"north", "n"},
    {"east", "e"},
    {"south", "s"},
    {"west", "w"},
};

}  // namespace

std::string GetAnimationName(AnimationId animation) { return GetTableRow(kAnimationNames, animation, "animation"); }

Direction ParseDirection(const std::string& word) {
    for (int i = 0; i < kDirectionCount; ++i)
        if (word == kDirections[i].letter || word == kDirections[i].key) return static_cast<Direction>(i);
    return DIR_NONE;
}

std::string GetDirectionKey(Direction direction) { return GetTableRow(kDirections, direction, "direction").key; }
std::string GetDirectionLetter(Direction direction) {
    return GetTableRow(kDirections, direction, "direction").letter;
}

}  // namespace DRAV
