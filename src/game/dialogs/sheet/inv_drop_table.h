#pragma once
// What the inventory page does with the items it shows, apart from its widgets:
// the container or pile beside the actor, the item behind each element id, and the
// drop table that turns a drag from a slot, the backpack or the pile into wield,
// unwield, get, drop, split, combine and give orders. Each order runs at once
// (the open page keeps the clock paused), its messages are drained into the log
// and the page is told to show the result.

#include <cstdint>
#include <functional>
#include <memory>

#include "rules/kinds/thing_id.h"

namespace DRAV {
class CActor;
class CItem;
class CObject;
}  // namespace DRAV
class CDRAVApp;

class CInvDropTable {
public:
    // Element ids of the page.
    static constexpr int kSlotBase = 200;
    static constexpr int kBackpackList = 300;
    static constexpr int kPileList = 301;
    static constexpr int kBackpackBase = 10000;
    static constexpr int kPileBase = 20000;
    static constexpr int kMemberBase = 100;
    static constexpr int kQuickSlotBase = 150;
    // The sounds the page plays.
    static constexpr int kClickSound = 0;
    static constexpr int kInventorySound = 1;

    // `containerId` 0: the page looks for a container or pile itself.
    CInvDropTable(CDRAVApp& app, DRAV::CActor& actor, DRAV::ThingId containerId);

    // Run after every order and quick-action change, to show the actor afresh.
    void SetRefresh(std::function<void()> refresh) { m_refresh = std::move(refresh); }

    // The given container when the area holds it, else, for a living actor, the
    // first unlocked container of the area it stands next to; else none.
    void FindContainer();
    DRAV::CObject* GetContainer() const { return m_container; }

    // The item an element stands for: an equipment slot's, or a backpack or pile
    // cell's (cells follow the lists' order); null for anything else.
    std::shared_ptr<DRAV::CItem> ItemOfId(int id) const;

    static bool IsSlotId(int id) { return id >= kSlotBase && id <= 299; }
    static bool IsBackpackCell(int id) { return id >= kBackpackBase && id <= 19999; }
    static bool IsPileCell(int id) { return id >= kPileBase && id <= 29999; }

    void IssueUnwield(std::int32_t slot);
    // Asks "Wield?" first for an item the actor is not proficient with; an occupied
    // slot is emptied only when the wield goes ahead.
    void IssueWield(const std::shared_ptr<DRAV::CItem>& item, std::int32_t slot);
    void IssueGet(DRAV::ThingId itemId);
    void IssueDrop(DRAV::ThingId itemId);
    void IssueSplit(DRAV::ThingId itemId);
    // Joins the first other backpack stack of the same kind of item; nothing without one.
    void IssueCombine(DRAV::ThingId itemId);
    void IssueGive(DRAV::ThingId itemId, const DRAV::CActor& receiver);
    void ShowTooFar(const DRAV::CActor& receiver, const DRAV::CItem& item);

    // The drop of `sourceId` on `targetId`; `member` is the party member whose
    // button the target is, or null.
    void Drop(int sourceId, int targetId, DRAV::CActor* member);

private:
    void DropFromSlot(std::int32_t slot, const std::shared_ptr<DRAV::CItem>& item, int targetId,
                      DRAV::CActor* member);
    void DropFromBackpack(int sourceId, const std::shared_ptr<DRAV::CItem>& item, int targetId,
                          DRAV::CActor* member);
    void DropFromPile(const std::shared_ptr<DRAV::CItem>& item, int targetId, DRAV::CActor* member);
    // `before` (the unwield or get the give needs), then a give to `member`; or the
    // refusal alone when it stands too far. False without a member.
    bool GiveOrRefuse(const DRAV::CItem& item, DRAV::CActor* member, const std::function<void()>& before);
    // Runs the queued orders, drains their messages, plays the inventory sound and
    // refreshes; with `findContainer` the container is looked for again first.
    void Finish(bool findContainer);

    CDRAVApp& m_app;
    DRAV::CActor& m_actor;
    DRAV::ThingId m_containerId;
    DRAV::CObject* m_container = nullptr;
    std::function<void()> m_refresh;
};
