#pragma once
// Which cells of the current area the party sees and has explored: a flood over
// cells from where the living members stand, stopped by walls and closed doors.

#include <cstdint>
#include <vector>

#include "world/actor.h"

namespace DRAV {

class CArea;

// Brings `area`'s seen and explored cells up to date with `party` (in party order).
// When the area's view is stale the seen cells start afresh from every living
// member and the answer is true; otherwise only members on cells not flooded from
// yet add what lies near them, and the answer is false. A null area does nothing.
bool UpdatePartyVisibility(CArea* area, const ActorList& party);

// What the passes over one area work with, kept by the area so that a pass builds
// and allocates nothing once warm: the cells that stop the view, rebuilt by every
// full pass (anything that changes a wall or a door marks the view stale, which
// brings one about), and the cells a pass has reached.
class CPartyView {
public:
    bool Update(CArea& area, const ActorList& party);

private:
    // The grid's border and every cell whose tile blocks the view; a cell no tile
    // covers has nothing to look through.
    void BuildStops(const CArea& area);
    // Whether every cell within the partial flood's reach of `cell` is seen and
    // explored already, so that flooding from it would add nothing.
    bool IsSettled(const CArea& area, std::uint32_t column, std::uint32_t row) const;
    // Whether every cell of the grid is seen and explored.
    bool IsAllKnown(const CArea& area) const;
    // Starts a pass: every cell unreached.
    void NextPass();
    // Marks `cell` reached, seen and (with `explore`) explored, and queues it for
    // the next ring unless it stops the view.
    void Reach(CArea& area, std::uint32_t cell, bool explore);

    std::uint32_t m_columns = 0;
    std::uint32_t m_rows = 0;
    std::vector<std::uint8_t> m_stops;
    // The pass that last reached each cell.
    std::vector<std::uint32_t> m_reached;
    std::uint32_t m_pass = 0;
    // Every cell seen and explored, as found by a partial pass; only a full pass
    // takes bits away.
    bool m_allKnown = false;
    // Cell indices of the ring being flooded from and of the next.
    std::vector<std::uint32_t> m_ring;
    std::vector<std::uint32_t> m_next;
};

}  // namespace DRAV
