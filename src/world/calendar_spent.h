#pragma once
// Time passed at once that the game's calendar has no room for.

#include <string>
#include <utility>

#include "common/exception.h"

namespace DRAV {

// A rest, a journey or a walk back to the entrance whose hours would carry the
// clock past the last tick time passed at once reaches (code 2). Nothing of it
// happens: the party stays where it is, and the clock where it was. The message is
// the player's sentence saying why.
class CCalendarSpent : public CDRAVException {
public:
    explicit CCalendarSpent(std::string message) : CDRAVException(DRAV_ERR_OUT_OF_RANGE, std::move(message)) {}
};

}  // namespace DRAV
