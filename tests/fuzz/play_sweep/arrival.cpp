#include "play_sweep/arrival.h"

namespace QuillmerePlaySweep {

Arrival CArrivals::Next(const Sight& sight) {
    bool members = false, standing = false;
    for (const FigureSight& figure : sight.figures)
        if (figure.member) {
            members = true;
            standing = standing || figure.alive;
        }
    Arrival arrival;
    arrival.waking = m_wipedOut && standing;
    if (members) m_wipedOut = !standing;
    arrival.arrived = arrival.waking || sight.area != m_area || sight.entry != m_entry;
    m_area = sight.area;
    m_entry = sight.entry;
    return arrival;
}

}  // namespace QuillmerePlaySweep
