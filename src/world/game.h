#pragma once
// The state of one running game.

#include <cstdint>
#include <string>

#include "rules/kinds/thing_id.h"
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

    // Engine ticks since the game began; 30 ticks are one game second.
    std::uint32_t GetTickCount() const { return m_tickCount; }
    void SetTickCount(std::uint32_t ticks) { m_tickCount = ticks; }

    // Quest tags by name; the rules engine sets them directly.
    TagMap& GetQuestTags() { return m_questTags; }
    // Present and not 0.
    bool IsQuestTagSet(const std::string& tag) const;

    // The running stores shared by name, saved with the game.
    StoreMap& GetStores() { return m_stores; }
    const StoreMap& GetStores() const { return m_stores; }

private:
    StoreMap m_stores;
    TagMap m_questTags;
    std::uint32_t m_tickCount = 0;
    CThingIdCounter m_thingSerialCounter{1};
};

}  // namespace DRAV
