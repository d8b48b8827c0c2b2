#include "world/area.h"

#include <algorithm>
#include <cmath>
#include <iterator>

#include "common/exception.h"
#include "world/cell.h"
#include "world/game.h"
#include "world/movement/party_visibility.h"
#include "world/movement/waypoint_calculator.h"

namespace DRAV {

namespace {

template <typename List, typename Thing>
typename List::iterator FindHolding(List& list, const Thing& thing) {
    return std::find_if(list.begin(), list.end(), [&](const auto& held) { return held.get() == &thing; });
}

template <typename List>
auto FindById(const List& list, ThingId id) -> decltype(list.front().get()) {
    for (const auto& thing : list)
        if (thing && thing->GetId() == id) return thing.get();
    return nullptr;
}

}  // namespace

CArea::CArea(CGame* game) : m_game(game) {}

// Members go in reverse order of declaration, as the default does.
CArea::~CArea() = default;

CPartyView& CArea::GetPartyView() {
    if (!m_partyView) m_partyView = std::make_unique<CPartyView>();
    return *m_partyView;
}

ThingId CArea::NewThingId(ThingType type) const { return m_game ? m_game->NewThingId(type) : ThingId{}; }

bool CArea::IsQuestTagSet(const std::string& tag) const { return m_game && m_game->IsQuestTagSet(tag); }

CTile* CArea::GetTile(std::uint32_t column, std::uint32_t row) const {
    if (column >= m_columns || row >= m_rows) return nullptr;
    return m_grid[std::size_t{row} * m_columns + column].get();
}

CTile* CArea::GetTileUnder(double x, double y) const {
    if (!(x >= 0.0 && y >= 0.0)) return nullptr;
    const double column = std::floor(x / kCellSize), row = std::floor(y / kCellSize);
    if (column >= m_columns || row >= m_rows) return nullptr;
    return GetTile(static_cast<std::uint32_t>(column), static_cast<std::uint32_t>(row));
}

const CTile* CArea::CellAt(std::int64_t column, std::int64_t row) const {
    if (column < 0 || row < 0) return nullptr;
    return GetTile(static_cast<std::uint32_t>(std::min<std::int64_t>(column, UINT32_MAX)),
                   static_cast<std::uint32_t>(std::min<std::int64_t>(row, UINT32_MAX)));
}

void CArea::AddActor(std::shared_ptr<CActor> actor) { InsertActor(m_actors.size(), std::move(actor)); }

std::shared_ptr<CActor> CArea::RemoveActor(const CActor& actor) {
    const auto found = FindHolding(m_actors, actor);
    if (found == m_actors.end()) throw CDRAVException(DRAV_ERR_OUT_OF_RANGE, "the actor is not in area " + m_name);
    std::shared_ptr<CActor> removed = *found;
    EraseActor(static_cast<std::size_t>(found - m_actors.begin()));
    return removed;
}

void CArea::RestoreActors(ActorList actors) {
    for (const auto& actor : m_actors) m_actorGrid.Unfile(*actor);
    m_actors = std::move(actors);
    for (std::size_t i = 0; i < m_actors.size(); ++i) m_actorGrid.File(*m_actors[i], static_cast<std::uint32_t>(i));
}

void CArea::InsertActor(std::size_t index, std::shared_ptr<CActor> actor) {
    CActor& filed = *actor;
    m_actors.insert(m_actors.begin() + static_cast<std::ptrdiff_t>(index), std::move(actor));
    m_actorGrid.File(filed, static_cast<std::uint32_t>(index));
    m_actorGrid.Renumber(m_actors, index + 1);
    CActor*& first = m_actorsById[filed.GetId()];
    if (!first || first->GetGridFiling().order > index) first = &filed;
}

void CArea::EraseActor(std::size_t index) {
    CActor& leaving = *m_actors[index];
    m_actorGrid.Unfile(leaving);
    const ThingId id = leaving.GetId();
    m_actors.erase(m_actors.begin() + static_cast<std::ptrdiff_t>(index));
    m_actorGrid.Renumber(m_actors, index);
    const auto held = m_actorsById.find(id);
    if (held == m_actorsById.end() || held->second != &leaving) return;
    // Another of the same id, if any, is found in its place.
    const auto next = std::find_if(m_actors.begin(), m_actors.end(), [id](const auto& other) { return other->GetId() == id; });
    if (next == m_actors.end()) m_actorsById.erase(held);
    else held->second = next->get();
}

CActor* CArea::FindActor(ThingId id) const {
    const auto held = m_actorsById.find(id);
    return held == m_actorsById.end() ? nullptr : held->second;
}
CObject* CArea::FindObject(ThingId id) const { return FindById(m_objects, id); }

void CArea::AddEffect(std::shared_ptr<CEffect> effect) {
    const CEffect* key = effect.get();
    if (m_effectPlaces.contains(key)) return;
    m_effects.push_back(std::move(effect));
    m_effectPlaces.emplace(key, std::prev(m_effects.end()));
}

void CArea::RemoveEffect(const CEffect& effect) {
    const auto found = m_effectPlaces.find(&effect);
    if (found == m_effectPlaces.end()) return;
    m_effects.erase(found->second);
    m_effectPlaces.erase(found);
}

CObject* CArea::FindObjectAt(const std::string& templateName, std::uint32_t column, std::uint32_t row) const {
    for (const auto& object : m_objects) {
        if (object->GetTemplate().GetKey() != templateName) continue;
        if (object->GetX() < 0.0 || object->GetY() < 0.0) continue;
        if (static_cast<std::uint64_t>(object->GetX() / kCellSize) == column &&
            static_cast<std::uint64_t>(object->GetY() / kCellSize) == row)
            return object.get();
    }
    return nullptr;
}

void CArea::ApplyRemoveObjectPatch(const std::string& objectName) {
    for (const std::shared_ptr<CObject>& object : m_objects)
        if (object->GetObjectName() == objectName) m_objectsToRemove.push_back(object);
}

void CArea::PurgeRemovedObjects() {
    bool removed = false;
    for (const std::shared_ptr<CObject>& object : m_objectsToRemove) {
        // Marked twice, or gone since it was marked: nothing more to remove.
        const auto found = FindHolding(m_objects, *object);
        if (found == m_objects.end()) continue;
        m_objects.erase(found);
        removed = true;
    }
    m_objectsToRemove.clear();
    // Paths may now cross where the objects stood.
    if (removed) DropWaypointCalculator();
}

CWaypointCalculator* CArea::GetWaypointCalculator() {
    if (!m_waypoints) m_waypoints = std::make_shared<CWaypointCalculator>(*this, 60, 10);
    return m_waypoints.get();
}

void CArea::RemoveObject(const CObject& object) {
    const auto found = FindHolding(m_objects, object);
    if (found == m_objects.end()) throw CDRAVException(DRAV_ERR_OUT_OF_RANGE, "the object is not in area " + m_name);
    m_objects.erase(found);
}

void CArea::SetGridSize(std::uint32_t columns, std::uint32_t rows) {
    TileGrid grid(std::size_t{columns} * rows);
    for (std::uint32_t y = 0; y < rows; ++y) {
        for (std::uint32_t x = 0; x < columns; ++x) {
            std::shared_ptr<CTile>& cell = grid[std::size_t{y} * columns + x];
            if (x < m_columns && y < m_rows) cell = m_grid[std::size_t{y} * m_columns + x];
            else cell = std::make_shared<CTile>(y, x, nullptr);
        }
    }
    m_grid = std::move(grid);
    m_columns = columns;
    m_rows = rows;
    m_actorGrid.Resize(columns * kCellSize, rows * kCellSize);
    m_seenCells.Resize(columns, rows);
    m_exploredCells.Resize(columns, rows);
    m_secondSeenCells.Resize(columns, rows);
    m_viewStale = true;
}

void CArea::PurgeUnusedMasters() {
    for (const auto& master : m_masterTiles) master->SetUsedMark(0);
    for (const auto& cell : m_grid)
        if (cell->GetMaster()) cell->GetMaster()->SetUsedMark(1);
    std::erase_if(m_masterTiles, [](const auto& master) { return master->GetUsedMark() == 0; });
}

void CArea::ClearVisibilityBits() {
    m_seenCells.Clear();
    m_secondSeenCells.Clear();
}

}  // namespace DRAV
