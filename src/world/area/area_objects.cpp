// What the player changed about the area's objects: contents, piles on the
// ground, picked locks, found traps and one-time traps that went off. Kept as
// records while the area is rebuilt from its file, and saved with the game.

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string>

#include "common/exception.h"
#include "rules/module.h"
#include "world/area.h"
#include "world/cell.h"
#include "world/game.h"

namespace DRAV {

void CArea::CaptureItemStacks() {
    // An inactive area's records are all it still knows. A built area without
    // objects has nothing left lying about, so its list empties.
    if (!IsBuilt()) return;
    m_itemStacks.clear();
    for (const std::shared_ptr<CObject>& object : m_objects)
        if (!object->GetItems().empty()) m_itemStacks.push_back(std::make_shared<CObjectItemStack>(*object));
}

void CArea::ApplyItemStacks(const CModule& module) {
    for (const std::shared_ptr<CObjectItemStack>& stack : m_itemStacks) {
        CObject* object = nullptr;
        std::shared_ptr<CObject> pile;
        if (stack->definitionKey == kPileTemplate) {
            pile = DropItem(module, (stack->column + 0.5) * kCellSize, (stack->row + 0.5) * kCellSize);
            object = pile.get();
        } else if (stack->column >= 0 && stack->row >= 0) {
            object = FindObjectAt(stack->definitionKey, static_cast<std::uint32_t>(stack->column),
                                  static_cast<std::uint32_t>(stack->row));
        }
        if (!object)
            throw CDRAVException(DRAV_ERR_OUT_OF_RANGE, m_name + ": no object \"" + stack->definitionKey + "\" at (" +
                                                            std::to_string(stack->column) + " " +
                                                            std::to_string(stack->row) + ") for its items");
        for (const std::shared_ptr<CItem>& item : stack->items) object->AddItem(item);
    }
    m_itemStacks.clear();
}

void CArea::CaptureLocksAndTraps() {
    if (!IsBuilt()) return;
    // Records of objects gone for good stay; the others are taken afresh.
    m_locksAndTraps.erase(std::remove_if(m_locksAndTraps.begin(), m_locksAndTraps.end(),
                                         [](const auto& record) { return !record->removed; }),
                          m_locksAndTraps.end());
    for (const std::shared_ptr<CObject>& object : m_objects)
        if (object->GetLockValue() != 0 || object->GetTrap())
            m_locksAndTraps.push_back(std::make_shared<CObjectLocksAndTraps>(*object));
}

void CArea::ApplyLocksAndTraps() {
    for (const std::shared_ptr<CObjectLocksAndTraps>& record : m_locksAndTraps) {
        CObject* object = record->column < 0 || record->row < 0
                              ? nullptr
                              : FindObjectAt(record->definitionKey, static_cast<std::uint32_t>(record->column),
                                             static_cast<std::uint32_t>(record->row));
        if (!object)
            throw CDRAVException(DRAV_ERR_OUT_OF_RANGE, m_name + ": no object \"" + record->definitionKey +
                                                            "\" at (" + std::to_string(record->column) + " " +
                                                            std::to_string(record->row) + ") for its lock");
        if (record->removed) {
            RemoveObject(*object);
            continue;
        }
        if (object->GetLockValue() != 0 && record->unlocked) object->SetUnlocked(true);
        if (const std::shared_ptr<CTrap>& trap = object->GetTrap()) {
            trap->SetHidden(record->trapHidden);
            trap->SetReadyTick(record->trapReadyTick);
        }
    }
}

void CArea::RemoveSprungTrapObject(const CObject& object) {
    auto record = std::make_shared<CObjectLocksAndTraps>();
    record->definitionKey = object.GetTemplate().GetKey();
    ObjectCell(object, record->column, record->row);
    record->removed = true;
    record->unlocked = false;
    m_locksAndTraps.push_back(std::move(record));
    RemoveObject(object);
}

std::shared_ptr<CObject> CArea::DropItem(const CModule& module, double x, double y) {
    const auto cell = [](double at) { return static_cast<std::int64_t>(std::floor(at / kCellSize)); };
    for (const std::shared_ptr<CObject>& object : m_objects)
        if (object->GetTemplate().GetKey() == kPileTemplate && cell(object->GetX()) == cell(x) &&
            cell(object->GetY()) == cell(y))
            return object;
    const CObjectTemplate* definition = module.FindObjectTemplate(kPileTemplate);
    if (!definition) throw CDRAVException(DRAV_ERR_BAD_DATA, "no object \"pile\" is defined for dropped items");
    auto pile = std::make_shared<CObject>(NewThingId(THING_OBJECT), this, std::string(), *definition);
    pile->SetPosition(x, y);
    pile->SetFacing(DIR_NORTH);
    pile->SetLockValue(0);
    pile->SetUnlocked(true);
    m_objects.push_back(pile);
    return pile;
}

}  // namespace DRAV
