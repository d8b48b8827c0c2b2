#pragma once
// An object placed in an area: a container, an item pile, a signpost, a safe, a
// statue to talk to, a trapped thing or the marker of an area exit.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "rules/definitions/object_template.h"
#include "rules/definitions/trap.h"
#include "rules/vocabulary/animation_direction.h"
#include "world/graphic_handle.h"
#include "world/item.h"
#include "world/talk_target.h"
#include "world/thing.h"

namespace DRAV {

class CArea;

class CObject final : public CThing, public CTalkTarget {
public:
    // The definition belongs to the module and the area holds the object; both
    // outlive it. The object gets its own copy of the definition's trap.
    CObject(ThingId id, CArea* area, std::string objectName, const CObjectTemplate& definition);

    CArea* GetArea() const { return m_area; }
    const CObjectTemplate& GetTemplate() const { return *m_template; }
    // The name the area gives the object; empty for exit markers.
    const std::string& GetObjectName() const { return m_objectName; }

    bool IsExit() const { return m_exit; }
    const std::string& GetExitName() const { return m_exitName; }
    const std::string& GetExitText() const { return m_exitText; }
    // Marks the object as the marker of the exit `name`, shown with `text`.
    void SetExit(std::string name, std::string text);

    double GetX() const { return m_x; }
    double GetY() const { return m_y; }
    void SetPosition(double x, double y);
    Direction GetFacing() const { return m_facing; }
    void SetFacing(Direction facing) { m_facing = facing; }

    // 0: no lock.
    std::uint32_t GetLockValue() const { return m_lockValue; }
    void SetLockValue(std::uint32_t lock) { m_lockValue = lock; }
    bool IsUnlocked() const { return m_unlocked; }
    void SetUnlocked(bool unlocked) { m_unlocked = unlocked; }
    // Locked while it has a lock that has not been opened.
    bool IsLocked() const { return m_lockValue > 0 && !m_unlocked; }

    ItemPtrList GetItems() const { return m_items; }
    // Appends the item and makes the object its holder; on a pile, an item of a kind
    // the pile holds (same expiry, room in the stack) joins that stack instead.
    void AddItem(std::shared_ptr<CItem> item);
    // Takes that very item out, keeping the others in order; code 2 when the object
    // does not hold it.
    std::shared_ptr<CItem> RemoveItem(const std::shared_ptr<CItem>& item);

    // The object's own trap; null when the definition has none.
    const std::shared_ptr<CTrap>& GetTrap() const { return m_trap; }

    // Half the footprint along x and along y: the definition's width lies along x
    // facing north or south, its depth otherwise.
    void GetHalfExtents(double& halfX, double& halfY) const;
    // Distance from (x, y) to the nearest point of the footprint; 0 on or inside it.
    double DistanceTo(double x, double y) const;

    DRAVGraph::CGraphicHandle GetGraphic() const { return m_graphic; }
    // Replaces, and so releases, the previous handle; an empty pointer just releases.
    void SetGraphic(std::int32_t id, std::shared_ptr<DRAVGraph::CGraphic> graphic);

    // Conversation partner: the definition's name and states, the object's own replies.
    const std::string& GetName() const override { return m_template->GetName(); }
    const TalkStateList& GetTalkStates() const override { return m_template->GetTalkStates(); }
    void ClearTalkChoices() override { m_choices.clear(); }
    std::string GetStartStateName() const override { return GetFirstTalkStateName(GetTalkStates()); }
    TalkChoiceList GetTalkChoices() const override { return m_choices; }

private:
    void AppendTalkChoice(std::shared_ptr<CTalkChoice> choice) override { m_choices.push_back(std::move(choice)); }

    CArea* m_area;
    const CObjectTemplate* m_template;
    std::string m_objectName;
    bool m_exit = false;
    std::string m_exitName;
    std::string m_exitText;
    double m_x = 0.0;
    double m_y = 0.0;
    Direction m_facing = DIR_NORTH;
    std::uint32_t m_lockValue = 0;
    bool m_unlocked = false;
    ItemPtrList m_items;
    TalkChoiceList m_choices;
    std::shared_ptr<CTrap> m_trap;
    DRAVGraph::CGraphicHandle m_graphic;
};

}  // namespace DRAV
