#pragma once
// The running game's source of thing ids: one serial counter shared by objects,
// actors, effects and items, so no id repeats within a game. Tiles do not draw
// from it.

#include <cstdint>
#include <string>

#include "common/exception.h"
#include "rules/kinds/thing_id.h"

namespace DRAV {

// The counter has no serial left for a new thing (code 2). Play that meets it
// gives up the one step that wanted the thing; a load numbers every thing anew
// and gives the serials back.
class CThingSerialsSpent : public CDRAVException {
public:
    explicit CThingSerialsSpent(std::string message) : CDRAVException(DRAV_ERR_OUT_OF_RANGE, std::move(message)) {}
};

// No counter hands out serial 0: an id with it names no thing of its type.
inline constexpr std::uint32_t kNoThingSerial = 0;

class CThingIdCounter {
public:
    // A new game starts at 1; a loaded game numbers its things from 1 again.
    explicit CThingIdCounter(std::uint32_t next = 1) : m_next(next) {}

    // The id of `type` with the counter's serial. The counter advances even when
    // the type is out of range (code 2), so a failed request never hands its serial
    // to the next thing. Past the last serial every request is CThingSerialsSpent
    // and the counter stays one above it, a value a save can hold.
    ThingId NewThingId(int type);
    // The same for things no save keeps, whose serials come round again after the
    // last: they live a few ticks, so none is still in use by then.
    ThingId NewRecurringThingId(int type);

    // The serial the next request takes, as the saved game stores it.
    std::uint32_t GetNext() const { return m_next; }
    // How many requests can still be met.
    std::uint32_t GetLeft() const { return m_next > kMaxThingSerial ? 0u : kMaxThingSerial + 1 - m_next; }

private:
    std::uint32_t m_next;
};

}  // namespace DRAV
