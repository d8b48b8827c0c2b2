#pragma once
// The state of one running game.

#include <cstdint>
#include <deque>
#include <memory>
#include <string>

#include "rules/kinds/thing_id.h"
#include "world/events/event.h"
#include "world/store.h"
#include "world/tag_map.h"
#include "world/thing_id_counter.h"

namespace DRAV {

class CGame {
public:
    CGame() = default;

    // A new id of `type` (2 objects, 3 actors, 4 effects, 5 items) from the game's one
    // serial counter; serials never repeat within a game.
    ThingId NewThingId(int type);
    // The serial the next id takes, as a saved game keeps it.
    std::uint32_t GetThingSerialCounter() const { return m_thingSerialCounter.GetNext(); }

    // Quest tags by name; the rules engine sets them directly.
    TagMap& GetQuestTags() { return m_questTags; }
    // Present and not 0.
    bool IsQuestTagSet(const std::string& tag) const;

    // The running stores shared by name, saved with the game.
    StoreMap& GetStores() { return m_stores; }
    const StoreMap& GetStores() const { return m_stores; }

    // The engine tick counter: 30 ticks make a game second. Timed effects, powers and
    // action timers are tick numbers of this counter.
    std::uint32_t GetTick() const { return m_tick; }
    void SetTick(std::uint32_t tick) { m_tick = tick; }

    // The events for the interface, oldest first; the application drains them after
    // every tick.
    void PushEvent(std::shared_ptr<CEvent> event);
    // A line for the message log of kind `kind` (MessageKind).
    void PushMessage(std::int32_t kind, const std::string& text);
    // Actor `actor` changed in the way `code` says (EventCode 9-22).
    void PushActorInfoEvent(std::int32_t code, ThingId actor);
    // Takes the oldest event; false when there is none.
    bool PopEvent(std::shared_ptr<CEvent>& event);

private:
    StoreMap m_stores;
    TagMap m_questTags;
    CThingIdCounter m_thingSerialCounter{1};
    std::uint32_t m_tick = 0;
    std::deque<std::shared_ptr<CEvent>> m_events;
};

}  // namespace DRAV
