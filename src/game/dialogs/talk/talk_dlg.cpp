#include "game/dialogs/talk/talk_dlg.h"

#include <algorithm>
#include <memory>

#include "common/exception.h"
#include "engine/engine.h"
#include "game/app.h"
#include "game/dialogs/talk/store_dlg.h"
#include "platform/win32/virtual_keys.h"
#include "ui/ui_manager.h"
#include "ui/ui_talk_element.h"
#include "ui/ui_text_element.h"
#include "world/actor.h"
#include "world/area.h"
#include "world/events/event.h"
#include "world/game.h"
#include "world/object.h"
#include "world/order.h"

namespace {

const char* const kBrokenOff = "The conversation breaks off.";

DRAV::CArea& CurrentArea(CDRAVApp& app) {
    DRAV::CArea* area = app.GetEngine()->GetGame()->GetCurrentArea();
    if (!area) throw CDRAVException(DRAV_ERR_OUT_OF_RANGE, "");
    return *area;
}

bool IsConversationBreak(const CDRAVException& failure) {
    return failure.GetCode() == DRAV_ERR_OUT_OF_RANGE || failure.GetCode() == DRAV_ERR_PARTY_POSITION;
}

// Makes a step current; a step that cannot be taken ends the talk in the log. The
// first step opens with the click; later ones follow the close of the one before,
// whose click is theirs.
template <typename Make>
void ShowStep(CDRAVApp& app, bool quiet, Make&& make) {
    std::shared_ptr<CTalkDlg> step;
    try {
        step = make();
    } catch (const CDRAVException& failure) {
        if (!IsConversationBreak(failure)) throw;
        app.SetTalkFocus(nullptr);
        app.AppendMessage(kBrokenOff);
        return;
    }
    app.SetDialog(quiet, std::move(step));
}

}  // namespace

CTalkDlg::CTalkDlg(CDRAVApp* app, const DRAV::CTalkEvent& event) : CDRAVDlg(app) {
    DRAV::CArea& area = CurrentArea(*app);
    m_talker = area.FindActor(event.GetTalker());
    // The engine raises the event for a member that has just reached its partner;
    // one that has gone since cannot talk.
    if (!m_talker) throw CDRAVException(DRAV_ERR_OUT_OF_RANGE, "");
    app->SetTalkFocus(m_talker);
    if ((event.GetPartner() >> 24) == DRAV::THING_ACTOR)
        m_partner = area.FindActor(event.GetPartner());
    else
        m_partner = area.FindObject(event.GetPartner());
    if (!m_partner) throw CDRAVException(DRAV_ERR_OUT_OF_RANGE, "");
    m_talkerId = m_talker->GetId();
    m_partnerId = GetPartnerId();
    EnterState(m_partner->GetStartStateName(), "");
}

CTalkDlg::CTalkDlg(CDRAVApp* app, DRAV::CActor* talker, DRAV::CTalkTarget* partner, std::size_t choice)
    : CDRAVDlg(app), m_talker(talker), m_partner(partner) {
    app->SetTalkFocus(m_talker);
    m_talkerId = m_talker->GetId();
    m_partnerId = GetPartnerId();
    const DRAV::TalkChoiceList choices = m_partner->GetTalkChoices();
    const auto& chosen = choices.at(choice);
    EnterState(chosen->GetTargetState(), chosen->GetText());
}

void CTalkDlg::Open(CDRAVApp& app, const DRAV::CTalkEvent& event) {
    ShowStep(app, false, [&] { return std::make_shared<CTalkDlg>(&app, event); });
}

void CTalkDlg::EnterState(const std::string& state, const std::string& reply) {
    if (state.empty()) {
        m_lines.push_back(m_partner->GetName() + " has nothing to say.");
        m_replies.push_back("1 : Done");
        return;
    }
    m_talker->PushInstantOrder(std::make_shared<DRAV::CTalkOrder>(GetPartnerId(), state, reply));
    try {
        m_app->RunInstantOrders();
    } catch (const CDRAVException&) {
        // Whatever was said before the refusal still reaches the log.
        DrainGameEvents();
        throw;
    }
    DrainGameEvents();

    const DRAV::TalkChoiceList choices = m_partner->GetTalkChoices();
    if (choices.empty()) m_replies.push_back("1 : Done");
    for (std::size_t i = 0; i < choices.size(); ++i)
        m_replies.push_back(std::to_string(i + 1) + " : " + choices[i]->GetText());
}

void CTalkDlg::DrainGameEvents() {
    DRAV::CGame& game = *m_app->GetEngine()->GetGame();
    std::shared_ptr<DRAV::CEvent> event;
    while (game.PopEvent(event)) {
        if (const auto* message = dynamic_cast<const DRAV::CMessageEvent*>(event.get())) {
            m_lines.push_back(message->GetText());
            m_app->PlayEventSound(message->GetCode());
            m_app->AppendMessage(message->GetText());
        } else if (event->GetCode() == 0) {
            m_app->UpdatePartyQuickActions(true);
            m_app->ResetPartySelection();
        } else {
            // Handled once the talk is over and the clock runs again.
            m_app->QueueEvent(event);
        }
    }
}

DRAV::ThingId CTalkDlg::GetPartnerId() const {
    const auto* thing = dynamic_cast<const DRAV::CThing*>(m_partner);
    if (!thing) throw CDRAVException(DRAV_ERR_OUT_OF_RANGE, "");
    return thing->GetId();
}

std::string CTalkDlg::GetTitle() { return m_talker->GetName() + " : " + m_partner->GetName(); }

void CTalkDlg::CreateControls(RECT area, DRAVUI::CUIManager& container) {
    const auto config = container.GetConfig();
    const RECT box = DRAVUI::Inflated(CenteredBox(area, config->Pick(1024, 640), config->Pick(576, 480)), -16);
    const int stripHeight = config->Pick(112, 96);

    auto log = std::make_shared<DRAVUI::CUIMessageWindow>(0, &m_app->GetMessageLog(), false, config);
    log->SetRect(RECT{box.left, box.bottom - stripHeight, box.right, box.bottom});
    container.AddElement(log);

    auto talk = std::make_shared<DRAVUI::CUITalkElement>(config, &m_lines, &m_replies, kFirstReplyId);
    talk->SetRect(RECT{box.left, box.top, box.right, box.bottom - stripHeight - 16});
    container.AddElement(talk);
}

bool CTalkDlg::OnKey(int key, bool, int* result) {
    if (key == static_cast<int>(VK_ESCAPE) || key == static_cast<int>(VK_RETURN)) {
        // A choice among several replies is never made by leaving.
        if (m_replies.size() != 1) return false;
        *result = kFirstReplyId;
        return true;
    }
    if (key >= '1' && key <= '9') {
        const std::size_t n = static_cast<std::size_t>(key - '1');
        if (n >= m_replies.size()) return false;
        *result = kFirstReplyId + static_cast<int>(n);
        return true;
    }
    return false;
}

bool CTalkDlg::FindAgain() {
    const DRAV::CArea* area = m_app->GetEngine()->GetGame()->GetCurrentArea();
    if (!area) return false;
    DRAV::CActor* talker = area->FindActor(m_talkerId);
    DRAV::CTalkTarget* partner = nullptr;
    if ((m_partnerId >> 24) == DRAV::THING_ACTOR)
        partner = area->FindActor(m_partnerId);
    else
        partner = area->FindObject(m_partnerId);
    if (!talker || !partner) return false;
    m_talker = talker;
    m_partner = partner;
    return true;
}

void CTalkDlg::OnClose(int result) {
    // A script of this step may have removed either of the two.
    if (!FindAgain()) {
        m_app->AppendMessage(kBrokenOff);
        return;
    }
    if (auto* keeper = dynamic_cast<DRAV::CActor*>(m_partner); keeper && keeper->GetStoreFlag()) {
        // Asked for once: the next talk with the keeper starts as a talk again.
        keeper->SetStoreFlag(false);
        m_app->SetDialog(true, std::make_shared<CStoreDlg>(m_app, m_talker, keeper));
        return;
    }
    const DRAV::TalkChoiceList choices = m_partner->GetTalkChoices();
    const std::size_t n = static_cast<std::size_t>(result - kFirstReplyId);
    if (result < kFirstReplyId || n >= choices.size() || choices[n]->GetTargetState().empty()) return;
    ShowStep(*m_app, true, [&] { return std::make_shared<CTalkDlg>(m_app, m_talker, m_partner, n); });
}
