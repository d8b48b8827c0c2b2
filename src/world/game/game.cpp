#include "world/game.h"

#include <algorithm>

#include "common/trace.h"
#include "rules/module.h"
#include "world/actor.h"
#include "world/area.h"
#include "world/events/event.h"
#include "script/script_limits.h"
#include "script/script_run.h"
#include "world/saved_word.h"

namespace DRAV {

CGame::CGame() = default;
CGame::~CGame() = default;

void CGame::InitNewGame(const CModule& module) {
    m_stateCode = GAME_ENTERING;
    m_entry = {module.GetStartArea(), module.GetStartEntry()};
    m_resurrectionPoint = m_entry;
    m_tick = 0;
    m_gold = 0;
    m_nextHeartbeatTick = 0;
    m_difficulty = DIFFICULTY_CORE;
    m_inBattle = 0;
}

void CGame::SetEntry(const AreaEntryPoint& entry, std::int32_t loadType, const std::string& exitText) {
    m_entry = entry;
    m_entryLoadType = loadType;
    m_entryExitText = exitText;
}

ThingId CGame::NewThingId(int type) {
    CountMadeThing();
    return m_thingSerialCounter.NewThingId(type);
}

ThingId CGame::NumberSavedActor(std::uint32_t serial) {
    if (m_savedActorSerials.count(serial) != 0)
        throw CDRAVException(DRAV_ERR_BAD_DATA, "two saved actors have the serial " + std::to_string(serial));
    const ThingId id = NewThingId(THING_ACTOR);
    m_savedActorSerials.emplace(serial, id);
    return id;
}

ThingId CGame::FindLoadedActor(ThingId savedId) const {
    if ((savedId >> 24) != THING_ACTOR) return 0;
    const auto found = m_savedActorSerials.find(savedId & kMaxThingSerial);
    return found == m_savedActorSerials.end() ? 0 : found->second;
}

std::uint32_t CGame::GetHighestSavedSerial() const {
    return m_savedActorSerials.empty() ? 0u : m_savedActorSerials.rbegin()->first;
}

ThingId CGame::NewEffectId() {
    CountMadeThing();
    return m_effectSerialCounter.NewRecurringThingId(THING_EFFECT);
}

bool CGame::IsQuestTagSet(const std::string& tag) const {
    const auto found = m_questTags.find(tag);
    return found != m_questTags.end() && found->second != 0;
}

void CGame::SetQuestTag(const std::string& tag, std::int32_t value) {
    RequireSavableWord(tag, "quest tag");
    CountMadeThing();
    m_questTags[tag] = value;
}

void CGame::SetClosingText(std::string text) {
    m_closingText = SavableLine(std::move(text));
    m_ending = m_closingText;
}

void CGame::RevealArea(const std::string& location) {
    RequireSavableWord(location, "map location");
    if (const auto found = m_revealed.find(location); found != m_revealed.end() && found->second != 0) return;
    // Every save carries them from then on, as it does the tags.
    RequireRoomFor(m_revealed, location, kScriptLocationLimit, "map location");
    CountMadeThing();
    m_revealed[location] = 1;
    PushNoticeOnce("A new location has been added to your map.");
}

void CGame::AddJournalEntry(const std::string& journalKey, const std::string& questKey) {
    RequireSavableWord(journalKey, "journal key");
    RequireSavableWord(questKey, "quest key");
    const bool present = std::any_of(m_journal.begin(), m_journal.end(), [&](const auto& entry) {
        return entry->GetJournalKey() == journalKey && entry->GetQuestKey() == questKey;
    });
    if (present) {
        DRAV_TRACE(DRAVCommon::TRACE_LOW, "Already added Journal (%s %s)\n", journalKey.c_str(), questKey.c_str());
        return;
    }
    DRAV_TRACE(DRAVCommon::TRACE_LOW, "Add to Journal (%s %s)\n", journalKey.c_str(), questKey.c_str());
    CountMadeThing();
    if (m_journal.size() >= kJournalEntryLimit)
        m_journal.erase(m_journal.begin(), m_journal.end() - (kJournalEntryLimit - 1));
    m_journal.push_back(std::make_shared<CJournalEntry>(journalKey, questKey, m_tick));
    PushNoticeOnce("Your Journal has been updated.");
}

void CGame::UpdatePeopleJournal(const CArea& area, const CActor& partner, const std::string& text) {
    if (partner.GetNameWord().empty()) return;
    AddPeopleJournalEntry(m_peopleJournal, partner.GetNameWord(), partner.GetName(), area.GetDisplayName(), text);
}

void CGame::PushEvent(std::shared_ptr<CEvent> event) {
    CountMadeThing();
    if (dynamic_cast<const CDialogBoxEvent*>(event.get())) CountPage();
    m_events.push_back(std::move(event));
}

void CGame::BeginTalk(ThingId talker, ThingId partner) {
    PushEvent(std::make_shared<CTalkEvent>(talker, partner));
    m_talkHeld = true;
    ++m_talksBegun;
    m_ordersAtTalk.clear();
    for (const auto& member : m_party)
        if (member->GetCurrentOrder()) m_ordersAtTalk.push_back(member->GetCurrentOrder());
}

bool CGame::HasPartyActedSinceTalk() const {
    if (!m_talkHeld) return true;
    return std::any_of(m_party.begin(), m_party.end(), [&](const auto& member) {
        const std::shared_ptr<COrder> order = member->GetCurrentOrder();
        return order && std::find(m_ordersAtTalk.begin(), m_ordersAtTalk.end(), order) == m_ordersAtTalk.end();
    });
}

void CGame::NotePartyOrders() {
    if (!m_talkHeld || !HasPartyActedSinceTalk()) return;
    m_talkHeld = false;
    m_ordersAtTalk.clear();
}

void CGame::HoldFoeBack(CActor& foe) {
    foe.ClearOrders();
    foe.SetAttackTarget(0, nullptr);
    foe.ReleaseAttackers(false, m_tick);
    HoldBack(foe.GetId());
}

void CGame::PushMessage(std::int32_t kind, const std::string& text) {
    DRAV_TRACE(DRAVCommon::TRACE_LOW, "Push message: %s\n", text.c_str());
    PushEvent(std::make_shared<CMessageEvent>(kind, text));
}

void CGame::PushNoticeOnce(const std::string& text) {
    for (const auto& queued : m_onceNotices)
        if (queued->GetText() == text) return;
    auto notice = std::make_shared<CMessageEvent>(MESSAGE_NOTICE, text);
    m_onceNotices.push_back(notice);
    PushEvent(std::move(notice));
}

void CGame::PushActorInfoEvent(std::int32_t code, ThingId actor) {
    PushEvent(std::make_shared<CActorInfoEvent>(code, actor));
}

bool CGame::PopEvent(std::shared_ptr<CEvent>& event) {
    if (m_events.empty()) return false;
    event = std::move(m_events.front());
    m_events.pop_front();
    m_onceNotices.erase(std::remove_if(m_onceNotices.begin(), m_onceNotices.end(),
                                       [&](const auto& notice) { return notice.get() == event.get(); }),
                        m_onceNotices.end());
    return true;
}

}  // namespace DRAV
