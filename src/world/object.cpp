#include "world/object.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "common/exception.h"
#include "world/area.h"
#include "world/item.h"

namespace DRAV {

namespace {

// How far `point` lies outside [centre - half, centre + half]; 0 inside.
double OutsideBy(double point, double centre, double half) {
    if (point < centre - half) return (centre - half) - point;
    if (point > centre + half) return point - (centre + half);
    return 0.0;
}

}  // namespace

CObject::CObject(ThingId id, CArea* area, std::string objectName, const CObjectTemplate& definition)
    : CThing(id), m_area(area), m_template(&definition), m_objectName(std::move(objectName)) {
    if (definition.GetTrap()) m_trap = definition.GetTrap()->Clone();
}

void CObject::SetExit(std::string name, std::string text) {
    m_exit = true;
    m_exitName = std::move(name);
    m_exitText = std::move(text);
}

void CObject::SetPosition(double x, double y) {
    m_x = x;
    m_y = y;
}

void CObject::AddItem(std::shared_ptr<CItem> item) {
    if (!item) throw CDRAVException(DRAV_ERR_OUT_OF_RANGE, "no item to put into object " + m_objectName);
    // What falls on a pile joins a stack of its kind there, as in a pack: a pile
    // holds a stack a kind however often things fall on it.
    if (m_template->GetKey() == kPileTemplate && MergeIntoStack(m_items, *item)) return;
    item->SetHolder(this);
    m_items.push_back(std::move(item));
}

std::shared_ptr<CItem> CObject::RemoveItem(const std::shared_ptr<CItem>& item) {
    auto found = std::find(m_items.begin(), m_items.end(), item);
    if (found == m_items.end() || !item)
        throw CDRAVException(DRAV_ERR_OUT_OF_RANGE, "object " + m_objectName + " does not hold that item");
    std::shared_ptr<CItem> taken = std::move(*found);
    m_items.erase(found);
    return taken;
}

void CObject::GetHalfExtents(double& halfX, double& halfY) const {
    const bool turned = m_facing != DIR_NORTH && m_facing != DIR_SOUTH;
    halfX = (turned ? m_template->GetDepth() : m_template->GetWidth()) / 2.0;
    halfY = (turned ? m_template->GetWidth() : m_template->GetDepth()) / 2.0;
}

double CObject::DistanceTo(double x, double y) const {
    double halfX = 0.0;
    double halfY = 0.0;
    GetHalfExtents(halfX, halfY);
    const double dx = OutsideBy(x, m_x, halfX);
    const double dy = OutsideBy(y, m_y, halfY);
    return std::sqrt(dx * dx + dy * dy);
}

void CObject::SetGraphic(std::int32_t id, std::shared_ptr<DRAVGraph::CGraphic> graphic) {
    m_graphic = {id, std::move(graphic)};
}

}  // namespace DRAV
