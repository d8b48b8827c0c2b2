// What waits for the player in a saved game: the question of leaving, a
// conversation about to open, a container opened, a page to read. Each came
// once, on the tick that raised it; a game saved before the interface handled it
// would go on without it, the party standing at a way out with no question.

#include <vector>

#include "common/data_file_reader.h"
#include "common/data_file_writer.h"
#include "script/script_limits.h"
#include "world/area.h"
#include "world/events/event.h"
#include "world/game.h"
#include "world/saved_thing.h"

namespace DRAV {
namespace {

// As many pages as scripts may raise at once, and as many again of the rest.
constexpr std::size_t kWaitingLimit = 2 * kScriptPageLimit;

constexpr const char* kLeave = "leave";
constexpr const char* kReturned = "returned";
constexpr const char* kTalk = "talk";
constexpr const char* kOpen = "open";
constexpr const char* kPage = "page";

}  // namespace

bool CGame::IsWaitingEvent(const CEvent& event) {
    switch (event.GetCode()) {
        case EVENT_WAY_OUT_REACHED:
        case EVENT_RETURNED_TO_ENTRANCE: return dynamic_cast<const CInfoEvent*>(&event) != nullptr;
        case EVENT_TALK:
        case EVENT_INVENTORY:
        case EVENT_DIALOG_BOX:
        case EVENT_TUTORIAL: return true;
        default: return false;
    }
}

void CGame::WriteWaitingEvents(DRAVCommon::CDataFileWriter& writer, const EventList& held) const {
    const SavedThingPlace place{m_currentArea};
    std::vector<std::shared_ptr<CEvent>> waiting;
    for (const auto& events : {held, EventList(m_events.begin(), m_events.end())})
        for (const auto& event : events)
            if (event && IsWaitingEvent(*event)) waiting.push_back(event);
    if (waiting.empty()) return;
    writer.BeginBlock("waiting");
    std::size_t written = 0;
    for (const auto& event : waiting) {
        if (written == kWaitingLimit) break;
        CSavedThing first;
        CSavedThing second;
        if (const auto* talk = dynamic_cast<const CTalkEvent*>(event.get())) {
            // A talk whose people are gone by now would open on nobody.
            if (!CSavedThing::Describe(talk->GetTalker(), place, SAVED_ACTOR, first) ||
                !CSavedThing::Describe(talk->GetPartner(), place, SAVED_ACTOR | SAVED_OBJECT, second))
                continue;
            writer.WriteWord(kTalk);
            first.Write(writer);
            second.Write(writer);
        } else if (const auto* opened = dynamic_cast<const CInvEvent*>(event.get())) {
            if (!CSavedThing::Describe(opened->GetActor(), place, SAVED_ACTOR, first) ||
                !CSavedThing::Describe(opened->GetContainer(), place, SAVED_OBJECT, second))
                continue;
            writer.WriteWord(kOpen);
            first.Write(writer);
            second.Write(writer);
        } else if (const auto* page = dynamic_cast<const CDialogBoxEvent*>(event.get())) {
            writer.WriteWord(kPage);
            writer.WriteValue(page->GetCode());
            writer.WriteQuoted(page->GetTitle());
            writer.WriteQuoted(page->GetText());
        } else {
            writer.WriteWord(event->GetCode() == EVENT_WAY_OUT_REACHED ? kLeave : kReturned);
        }
        ++written;
    }
    writer.EndBlock();
}

void CGame::ReadWaitingEvents(DRAVCommon::CDataFileReader& reader) {
    const SavedThingPlace place{m_currentArea};
    reader.BeginBlock("waiting");
    for (std::size_t read = 0; !reader.AtBlockEnd(); ++read) {
        if (read == kWaitingLimit) reader.Fail(DRAV_ERR_BAD_DATA, "more events waiting for the player than play raises");
        const std::string kind = reader.ReadWord();
        if (kind == kLeave) {
            PushEvent(std::make_shared<CInfoEvent>(EVENT_WAY_OUT_REACHED));
        } else if (kind == kReturned) {
            PushEvent(std::make_shared<CInfoEvent>(EVENT_RETURNED_TO_ENTRANCE));
        } else if (kind == kTalk || kind == kOpen) {
            const bool talk = kind == kTalk;
            const CSavedThing who = CSavedThing::Read(reader, SAVED_ACTOR, talk ? "a talker" : "an opener");
            const CSavedThing what = CSavedThing::Read(reader, talk ? SAVED_ACTOR | SAVED_OBJECT : SAVED_OBJECT,
                                                       talk ? "a talk's partner" : "an opened container");
            ThingId actor = 0;
            ThingId thing = 0;
            // Whoever is gone from the saved game opens nothing in it.
            if (!who.Find(*this, place, actor) || !what.Find(*this, place, thing)) continue;
            if (talk) PushEvent(std::make_shared<CTalkEvent>(actor, thing));
            else PushEvent(std::make_shared<CInvEvent>(actor, thing));
        } else if (kind == kPage) {
            const std::int32_t code = reader.ReadInt(EVENT_DIALOG_BOX, EVENT_TUTORIAL, "a page's kind");
            std::string title = reader.ReadQuoted(kScriptTextLimit, "a page's title");
            std::string text = reader.ReadQuoted(kExpandedTextLimit, "a page's text");
            PushEvent(std::make_shared<CDialogBoxEvent>(code, std::move(title), std::move(text)));
        } else {
            reader.Fail(DRAV_ERR_BAD_DATA, "an event waiting for the player of no known kind");
        }
    }
    reader.EndBlock();
}

}  // namespace DRAV
