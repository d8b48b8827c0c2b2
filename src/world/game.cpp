#include "world/game.h"

#include "common/trace.h"

namespace DRAV {

ThingId CGame::NewThingId(int type) { return m_thingSerialCounter.NewThingId(type); }

bool CGame::IsQuestTagSet(const std::string& tag) const {
    const auto found = m_questTags.find(tag);
    return found != m_questTags.end() && found->second != 0;
}

void CGame::PushEvent(std::shared_ptr<CEvent> event) { m_events.push_back(std::move(event)); }

void CGame::PushMessage(std::int32_t kind, const std::string& text) {
    DRAV_TRACE(DRAVCommon::TRACE_LOW, "Push message: %s\n", text.c_str());
    PushEvent(std::make_shared<CMessageEvent>(kind, text));
}

void CGame::PushActorInfoEvent(std::int32_t code, ThingId actor) {
    PushEvent(std::make_shared<CActorInfoEvent>(code, actor));
}

bool CGame::PopEvent(std::shared_ptr<CEvent>& event) {
    if (m_events.empty()) return false;
    event = std::move(m_events.front());
    m_events.pop_front();
    return true;
}

}  // namespace DRAV
