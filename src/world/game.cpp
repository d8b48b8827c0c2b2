#include "world/game.h"

namespace DRAV {

ThingId CGame::NewThingId(int type) { return m_thingSerialCounter.NewThingId(type); }

bool CGame::IsQuestTagSet(const std::string& tag) const {
    const auto found = m_questTags.find(tag);
    return found != m_questTags.end() && found->second != 0;
}

}  // namespace DRAV
