#pragma once
// Animation names of an actor's graphic, and the four compass directions.

#include <cstdint>
#include <string>

namespace DRAV {

enum AnimationId : std::int32_t {
    ANIM_DEFAULT = 0,
    ANIM_COMBAT,
    ANIM_RCOMBAT,
    ANIM_2HCOMBAT,
    ANIM_MOVE,
    ANIM_ATTACK,
    ANIM_ATTACK_FAST,
    ANIM_RATTACK,
    ANIM_2HATTACK,
    ANIM_2HATTACK_FAST,
    ANIM_2WATTACK,
    ANIM_2WATTACK_FAST,
    ANIM_CAST,
    ANIM_RECOVER,
    ANIM_RRECOVER,
    ANIM_2HRECOVER,
    ANIM_CRECOVER,
    ANIM_FIDGET,
    ANIM_DRINK,
    ANIM_DRECOVER,
    ANIM_WAND,
    ANIM_WRECOVER,
};
constexpr int kAnimationCount = 22;

// 0 north (toward -y), 1 east (+x), 2 south (+y), 3 west (-x).
enum Direction : std::int32_t {
    DIR_NORTH = 0,
    DIR_EAST = 1,
    DIR_SOUTH = 2,
    DIR_WEST = 3,
    DIR_NONE = 4,
};
constexpr int kDirectionCount = 4;

// Code 2 outside 0-21.
std::string GetAnimationName(AnimationId animation);

// The key ("north") or the one-letter key ("n"); any other word gives DIR_NONE.
Direction ParseDirection(const std::string& word);
// Code 2 outside 0-3.
std::string GetDirectionKey(Direction direction);
std::string GetDirectionLetter(Direction direction);

}  // namespace DRAV
