// What the rules engine, the pathfinder, the renderer and the audio ask of an area,
// placing actors on free ground, and the door cells that stand open.

#include <algorithm>
#include <cmath>

#include "common/random.h"
#include "world/area.h"
#include "world/cell.h"

namespace DRAV {

namespace {

constexpr double kFullTurn = 6.283185307;

void CellOfTileId(ThingId id, std::uint32_t& column, std::uint32_t& row) {
    const std::uint32_t serial = id & kMaxThingSerial;
    column = serial % kMaxAreaColumns;
    row = serial / kMaxAreaColumns;
}

}  // namespace

bool CArea::CanMoveTo(const CActor& actor, CThing** blocker, double x, double y) const {
    if (blocker) *blocker = nullptr;
    return TestTiles(actor, blocker, x, y) && TestObjects(actor, blocker, x, y) && TestActors(actor, blocker, x, y);
}

bool CArea::CanReachActor(const CActor& actor, const CActor& target, double range) const {
    const double distance = std::hypot(actor.GetX() - target.GetX(), actor.GetY() - target.GetY());
    if (distance > actor.GetRadius() + target.GetRadius() + range) return false;
    return TestTileLine(actor, false, target.GetX(), target.GetY()) &&
           TestObjectLine(actor, target.GetX(), target.GetY());
}

bool CArea::CanReachPoint(const CActor& actor, double x, double y, double range, double extraRadius,
                          bool emptyBlocks) const {
    const double distance = std::hypot(actor.GetX() - x, actor.GetY() - y);
    if (distance > actor.GetRadius() + extraRadius + range) return false;
    return TestTileLine(actor, emptyBlocks, x, y) && TestObjectLine(actor, x, y);
}

bool CArea::PlaceActor(std::uint32_t column, std::uint32_t row, bool wide, const std::shared_ptr<CActor>& actor) {
    const double centreX = (column + 0.5) * kCellSize;
    const double centreY = (row + 0.5) * kCellSize;
    const int rings = wide ? 100 : 5;
    for (int ring = 0; ring < rings; ++ring) {
        const double radius = 2.0 * ring * (actor->GetRadius() * 1.5);
        const int tries = static_cast<int>(ring * kFullTurn) + 1;
        double angle = DRAVCommon::Random() * kFullTurn;
        for (int attempt = 0; attempt < tries; ++attempt) {
            angle += 1.0;
            const double x = centreX + radius * std::sin(angle);
            const double y = centreY + radius * std::cos(angle);
            if (!CanMoveTo(*actor, nullptr, x, y)) continue;
            actor->SetPosition(x, y);
            actor->SetArea(this);
            actor->SetFacing(DRAVCommon::Random() * kFullTurn);
            AddActor(actor);
            return true;
        }
    }
    return false;
}

bool CArea::IsObjectSeen(const CObject& object) const {
    if (object.IsExit()) {
        const CAreaExit* exit = FindAreaExit(m_exits, object.GetExitName());
        if (exit && !exit->requiredTag.empty() && !IsQuestTagSet(exit->requiredTag)) return false;
    }
    if (!(object.GetX() >= 0.0 && object.GetY() >= 0.0)) return false;
    const double column = std::trunc(object.GetX() / kCellSize);
    const double row = std::trunc(object.GetY() / kCellSize);
    if (column >= m_columns || row >= m_rows) return false;
    return m_seenCells.Get(static_cast<std::uint32_t>(column), static_cast<std::uint32_t>(row));
}

bool CArea::FindObjectSoundAt(double x, double y, std::string& name) const {
    for (const std::shared_ptr<CObject>& object : m_objects) {
        const CObjectTemplate& definition = object->GetTemplate();
        if (definition.GetSoundName().empty()) continue;
        const double r = definition.GetSoundRadius();
        if (object->GetX() - r <= x && x <= object->GetX() + r && object->GetY() - r <= y &&
            y <= object->GetY() + r) {
            name = definition.GetSoundName();
            return true;
        }
    }
    for (const std::shared_ptr<CAreaSoundInfo>& sound : m_sounds) {
        if (!sound->hasRectangle || (sound->x1 <= x && x <= sound->x2 && sound->y1 <= y && y <= sound->y2)) {
            name = sound->name;
            return true;
        }
    }
    return false;
}

void CArea::AddOpenDoor(const CTile& tile) {
    DropWaypointCalculator();
    m_viewStale = true;
    auto record = std::make_shared<CAreaOpenDoor>();
    CellOfTileId(tile.GetId(), record->column, record->row);
    // One record a cell: a second would reopen the door after one closing.
    for (const std::shared_ptr<CAreaOpenDoor>& open : m_openDoors)
        if (open->column == record->column && open->row == record->row) return;
    m_openDoors.push_back(std::move(record));
}

void CArea::RemoveOpenDoor(const CTile& tile) {
    DropWaypointCalculator();
    m_viewStale = true;
    std::uint32_t column = 0;
    std::uint32_t row = 0;
    CellOfTileId(tile.GetId(), column, row);
    const auto found = std::find_if(m_openDoors.begin(), m_openDoors.end(), [&](const auto& record) {
        return record->column == column && record->row == row;
    });
    if (found != m_openDoors.end()) m_openDoors.erase(found);
}

void CArea::CollectDoorTiles(CTile& tile, std::vector<CTile*>& tiles) const {
    tiles.push_back(&tile);
    std::uint32_t column = 0;
    std::uint32_t row = 0;
    CellOfTileId(tile.GetId(), column, row);
    // Walk out from the cell in each direction while door cells continue.
    const auto walk = [&](std::int64_t dx, std::int64_t dy) {
        for (std::int64_t x = column + dx, y = row + dy;; x += dx, y += dy) {
            CTile* cell = const_cast<CTile*>(CellAt(x, y));
            if (!cell || !cell->IsDoor()) return;
            tiles.push_back(cell);
        }
    };
    walk(-1, 0);
    walk(1, 0);
    walk(0, -1);
    walk(0, 1);
}

}  // namespace DRAV
