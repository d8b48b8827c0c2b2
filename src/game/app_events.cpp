#include <algorithm>
#include <set>
#include <sstream>
#include <tuple>
#include <typeindex>
#include <typeinfo>

#include "common/exception.h"
#include "engine/engine.h"
#include "game/app.h"
#include "game/audio2.h"
#include "game/dialogs/sheet/actor_inv_dlg.h"
#include "game/dialogs/maps/help_dlg.h"
#include "game/dialogs/text_dlg.h"
#include "graphics/xp_device.h"
#include "script/script_limits.h"
#include "ui/product_title.h"
#include "ui/ui_action_window.h"
#include "ui/ui_element.h"
#include "world/actor.h"
#include "world/area.h"
#include "world/events/event.h"
#include "world/game.h"

// The engine queues events on the game and never calls the interface. Lines for
// the log and changed actors are handled as they come; whatever needs the player
// waits in the pending list, which holds the clock back until the timer has
// opened its dialogs. The events of one batch (one drain, one pass over the
// pending list) all come after the changes they tell of, so a burst of like ones
// is handled, and sounds, once, whoever drains it: the clock after a tick, a talk
// page after its step, any other page after what it ran.

namespace {

constexpr std::uint32_t kVisible = 1;

template <typename T>
const T* ExactlyA(const DRAV::CEvent& event) {
    return typeid(event) == typeid(T) ? static_cast<const T*>(&event) : nullptr;
}

// What a batch of events has handled and sounded so far.
class CEventBatch {
public:
    // Whether `event` is the first of the batch with its kind, code and actor.
    bool FirstOfItsKind(const DRAV::CEvent& event) {
        const auto* actor = ExactlyA<DRAV::CActorInfoEvent>(event);
        return m_handled.emplace(std::type_index(typeid(event)), event.GetCode(), actor ? actor->GetActor() : 0)
            .second;
    }
    // Whether the sound of `code` has not played in the batch yet (codes may share one).
    bool FirstSound(std::int32_t code) { return m_sounded.insert(SoundIdForEventCode(code)).second; }

private:
    std::set<std::tuple<std::type_index, std::int32_t, DRAV::ThingId>> m_handled;
    std::set<std::int32_t> m_sounded;
};

}  // namespace

void ExpandMessageMarkup(const std::string& text, std::string& line) {
    std::istringstream words(text);
    std::string word;
    std::string out;
    bool first = true;
    while (words >> word) {
        if (!first) out += ' ';
        first = false;
        if (word == "LINE") continue;
        out += word == "GAMENAME" ? GetProductTitle() : word;
    }
    line = std::move(out);
}

void CDRAVApp::PumpEngineEvents(std::vector<std::string>* said) { TakeEngineEvents(said, true); }

void CDRAVApp::DrainEngineEvents() { TakeEngineEvents(nullptr, false); }

void CDRAVApp::TakeEngineEvents(std::vector<std::string>* said, bool changesNow) {
    DRAV::CGame& game = *m_engine->GetGame();
    CEventBatch batch;
    std::shared_ptr<DRAV::CEvent> event;
    while (game.PopEvent(event)) {
        const DRAV::CEvent& current = *event;
        if (const auto* message = ExactlyA<DRAV::CMessageEvent>(current)) {
            if (said) said->push_back(message->GetText());
            AppendMessage(message->GetText());
        } else if (!changesNow) {
            QueueEvent(event);
            continue;
        } else if (ExactlyA<DRAV::CInfoEvent>(current) && current.GetCode() != DRAV::EVENT_WAY_OUT_REACHED) {
            if (batch.FirstOfItsKind(current)) OnInfoEvent(current);
        } else if (const auto* info = ExactlyA<DRAV::CActorInfoEvent>(current)) {
            if (batch.FirstOfItsKind(current)) OnActorInfoEvent(*info);
        } else {
            // The question of leaving waits with the dialogs for the clock to stop.
            QueueEvent(event);
            continue;
        }
        if (batch.FirstSound(current.GetCode())) PlayEventSound(current.GetCode());
    }
}

void CDRAVApp::QueueEvent(std::shared_ptr<DRAV::CEvent> event) { m_pendingEvents.push_back(std::move(event)); }

bool CDRAVApp::ProcessPendingEvents() {
    CEventBatch batch;
    while (!m_pendingEvents.empty()) {
        // Once a timer message has worked its share the rest wait for the next, whose
        // ticks wait for them: each may run a step of play (a talk, an exit's script).
        if (HasTimerWorkedItsShare()) return true;
        // Off the list before it is handled: an event that fails is not met again.
        std::shared_ptr<DRAV::CEvent> event = m_pendingEvents.front();
        m_pendingEvents.pop_front();
        const std::shared_ptr<CDRAVDlg> shown = m_currentDialog;
        const DRAV::CEvent& current = *event;
        if (batch.FirstSound(current.GetCode())) PlayEventSound(current.GetCode());
        if (const auto* talk = ExactlyA<DRAV::CTalkEvent>(current)) {
            OnTalkEvent(*talk);
        } else if (const auto* inventory = ExactlyA<DRAV::CInvEvent>(current)) {
            OnInvEvent(*inventory);
        } else if (ExactlyA<DRAV::CInfoEvent>(current)) {
            if (batch.FirstOfItsKind(current)) OnInfoEvent(current);
        } else if (const auto* info = ExactlyA<DRAV::CActorInfoEvent>(current)) {
            if (batch.FirstOfItsKind(current)) OnActorInfoEvent(*info);
        } else if (const auto* box = ExactlyA<DRAV::CDialogBoxEvent>(current)) {
            OnDialogBoxEvent(*box);
        } else if (const auto* effect = ExactlyA<DRAV::CEffectEvent>(current)) {
            m_graphicsManager.AddEffect(m_deviceWrapper.get(), *m_engine->GetGame(), effect->GetEffectName(),
                                        effect->GetParams(), effect->GetX(), effect->GetY());
        } else {
            throw CDRAVException(DRAV_ERR_UNEXPECTED, "an engine event of an unknown kind");
        }
        const std::int32_t state = m_engine->GetGame()->GetStateCode();
        if (state == DRAV::GAME_WIPED_OUT || state == DRAV::GAME_TRAVEL) return false;
        // One page at a time, the rest waiting with the clock held: each opened over
        // the last would have the player read a batch last first.
        if (m_currentDialog && m_currentDialog != shown) return true;
    }
    return true;
}

void CDRAVApp::KeepPendingPagesOnly() {
    std::erase_if(m_pendingEvents, [](const auto& event) { return !ExactlyA<DRAV::CDialogBoxEvent>(*event); });
}

void CDRAVApp::BoundPendingPages() {
    const auto isPage = [](const auto& event) { return ExactlyA<DRAV::CDialogBoxEvent>(*event) != nullptr; };
    auto pages = static_cast<std::size_t>(std::count_if(m_pendingEvents.begin(), m_pendingEvents.end(), isPage));
    for (auto event = m_pendingEvents.begin(); pages > DRAV::kScriptPageLimit;) {
        if (!isPage(*event)) {
            ++event;
            continue;
        }
        AppendMessage(static_cast<const DRAV::CDialogBoxEvent&>(**event).GetText());
        event = m_pendingEvents.erase(event);
        --pages;
    }
}

void CDRAVApp::OnInvEvent(const DRAV::CInvEvent& event) {
    DRAV::CArea* area = m_engine->GetGame()->GetCurrentArea();
    DRAV::CActor* actor = area ? area->FindActor(event.GetActor()) : nullptr;
    if (actor) SetDialog(false, std::make_shared<CActorInvDlg>(this, actor, event.GetContainer()));
}

void CDRAVApp::OnInfoEvent(const DRAV::CEvent& event) {
    switch (event.GetCode()) {
        case DRAV::EVENT_PARTY_CHANGED:
            UpdatePartyQuickActions(true);
            ResetPartySelection();
            return;
        case 1:
        case 2:
        case 3:
        case 4:
        case 8:
            return;
        case DRAV::EVENT_TILES_REPLACED:
        case DRAV::EVENT_VIEW_RECOMPUTED:
            if (m_gameViewReady && m_deviceWrapper)
                m_graphicsManager.BuildAreaGraphics(m_deviceWrapper.get(), *m_engine->GetGame()->GetCurrentArea());
            return;
        case DRAV::EVENT_WAY_OUT_REACHED:
            // Asked only while the way out is still offered and nothing else is open.
            if (IsExitAvailable() && !m_currentDialog) UseAvailableExit();
            return;
        case DRAV::EVENT_RETURNED_TO_ENTRANCE:
            SetDialog(false, std::make_shared<CTextDlg>(this, "Return", "The party returns to the area entrance.",
                                                        nullptr, true));
            return;
        default:
            throw CDRAVException(DRAV_ERR_UNEXPECTED, "information event " + std::to_string(event.GetCode()));
    }
}

void CDRAVApp::OnActorInfoEvent(const DRAV::CActorInfoEvent& event) {
    DRAV::CGame& game = *m_engine->GetGame();
    DRAV::CActor* member = nullptr;
    for (const auto& actor : game.GetParty())
        if (actor->GetId() == event.GetActor()) member = actor.get();
    switch (event.GetCode()) {
        case 9:
        case 10:
        case 18:
        case 19:
        case 20:
        case 21:
        case 22:
            if (!member) return;
            // An item that left the member, however it went, leaves no use slot behind.
            if (event.GetCode() == DRAV::EVENT_ACTOR_ITEM_GONE && HasQuickActions(*member)) DropMissingQuickItems(*member);
            RefreshPortrait(*member);
            if (member->GetActionState() == DRAV::ACTION_DEAD && IsSelected(*member)) ResetPartySelection();
            return;
        case 11:
            if (DRAV::CArea* area = game.GetCurrentArea()) {
                DRAV::CActor* actor = area->FindActor(event.GetActor());
                // Its graphics are made again, with what it now wears.
                if (actor && actor->GetActionState() != DRAV::ACTION_DEAD) actor->SetModel(nullptr);
            }
            return;
        case 12:
        case 13:
        case 15:
        case 16:
            return;
        case 14:
        case 17:
            if (m_actionBar) m_actionBar->ClearFilled();
            return;
        default:
            throw CDRAVException(DRAV_ERR_UNEXPECTED, "actor event " + std::to_string(event.GetCode()));
    }
}

void CDRAVApp::OnDialogBoxEvent(const DRAV::CDialogBoxEvent& event) {
    switch (event.GetCode()) {
        case DRAV::EVENT_DIALOG_BOX: {
            DRAV::CActor* speaker = nullptr;
            for (const auto& member : m_engine->GetGame()->GetParty())
                if (member->IsMainCharacter()) speaker = member.get();
            ShowPage(std::make_shared<CTextDlg>(this, event.GetTitle(), event.GetText(), speaker, false));
            AppendMessage(event.GetText());
            return;
        }
        case DRAV::EVENT_TUTORIAL: {
            if (m_tutorialDisabled) return;
            std::int32_t page = 0;
            try {
                page = FindHelpPageByKey(event.GetTitle());
            } catch (const CDRAVException& failure) {
                // A module naming a page the program lacks loses that tutorial, not the game.
                ShowScriptError(failure);
                return;
            }
            // A page opens once a game, however many runs raise it; what a later run
            // says with it still reaches the player, in the log.
            DRAV::CGame& game = *m_engine->GetGame();
            if (game.WasTutorialShown(page)) {
                if (!event.GetText().empty()) AppendMessage(event.GetText());
                return;
            }
            game.MarkTutorialShown(page);
            ShowPage(std::make_shared<CHelpDlg>(this, page, event.GetText()));
            return;
        }
        default:
            throw CDRAVException(DRAV_ERR_OUT_OF_RANGE, "dialog-box event " + std::to_string(event.GetCode()));
    }
}

// The one place a page the engine asked for is put before the player, and so the
// one place its foes are held back for it: a page dropped or logged holds nobody.
void CDRAVApp::ShowPage(std::shared_ptr<CDRAVDlg> page) {
    SetDialog(true, std::move(page));
    m_engine->HoldFoesBackForPage();
}

// Every line reaches the log through here, so none shows the markup raw.
void CDRAVApp::AppendMessage(const std::string& text) {
    std::string line;
    ExpandMessageMarkup(text, line);
    m_messageLog.push_back(std::move(line));
    while (m_messageLog.size() > kMessageLogLines) m_messageLog.pop_front();
    RequestRepaint();
}

void CDRAVApp::RefreshExitButtons(bool exitAvailable) {
    if (m_exitButton) {
        m_exitButton->SetFlag(kVisible, exitAvailable);
        m_exitButton->SetInfoNoAction("Exit", m_engine->GetGame()->GetEntryExitText());
    }
    if (m_returnButton) m_returnButton->SetFlag(kVisible, !exitAvailable);
}
