#pragma once
// One cell of an area's grid, pointing at the tile placed over it.

#include <cstdint>

#include "world/master_tile.h"
#include "world/thing.h"

namespace DRAV {

class CTile final : public CThing {
public:
    // The id is made from the row and column; `master` may be null for a cell no
    // tile covers. A row and column whose serial passes the id's range is code 2.
    CTile(std::uint32_t row, std::uint32_t column, CMasterTile* master);

    CMasterTile* GetMaster() const { return m_master; }
    void SetMaster(CMasterTile* master) { m_master = master; }

    // Whether a door covers the cell, and that door; GetDoor is code 2 when none does.
    bool IsDoor() const;
    CMasterTileDoor* GetDoor() const;

    // The passability questions of movement, line tests and visibility. An open
    // door blocks nothing, a closed one everything. A cell no tile covers is code 2.
    bool BlocksMovement() const;
    bool BlocksLine() const;
    bool BlocksView() const;

private:
    struct Blocking {
        bool movement;
        bool line;
        bool view;
    };
    Blocking GetBlocking() const;

    CMasterTile* m_master;
};

// The thing id of the cell at `row` and `column`.
ThingId MakeTileId(std::uint32_t row, std::uint32_t column);

}  // namespace DRAV
