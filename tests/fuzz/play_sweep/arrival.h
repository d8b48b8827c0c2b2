#pragma once
// When the party comes in, as the watches see it from one look to the next: into
// another area, into the same one again by a way that sets it down elsewhere in
// it (Marra's punt round to the hide), or standing up again after a wipe-out,
// where it rested.

#include <string>

#include "play_sweep/sight.h"

namespace QuillmerePlaySweep {

struct Arrival {
    bool arrived = false;
    bool waking = false;  // the party wiped out at the last look that showed any member stands again
};

class CArrivals {
public:
    // Called on each look of a game playing.
    Arrival Next(const Sight& sight);

private:
    std::string m_area;
    std::string m_entry;
    bool m_wipedOut = false;
};

}  // namespace QuillmerePlaySweep
