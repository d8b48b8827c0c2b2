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
#include "world/order_rule.h"

namespace {

const char* const kBrokenOff = "The conversation breaks off.";

DRAV::CArea& CurrentArea(CDRAVApp& app) {
    DRAV::CArea* area = app.GetEngine()->GetGame()->GetCurrentArea();
    if (!area) throw CDRAVException(DRAV_ERR_OUT_OF_RANGE, "");
    return *area;
}

// Whether `talker` can still say it where it stands: the engine would drop an
// order it cannot carry out, unsaid.
bool CanSay(CDRAVApp& app, const DRAV::CActor& talker, const DRAV::COrder& order) {
    return DRAV::JudgeOrder(order, talker, *app.GetEngine()->GetGame(), true).fit == DRAV::OrderFit::Now;
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
    // The engine raises the event for a member that has just reached its partner;
    // one that has gone since cannot talk.
    DRAV::CActor* talker = area.FindActor(event.GetTalker());
    DRAV::CTalkTarget* partner = nullptr;
    if ((event.GetPartner() >> 24) == DRAV::THING_ACTOR)
        partner = area.FindActor(event.GetPartner());
    else
        partner = area.FindObject(event.GetPartner());
    Begin(talker, partner);
    EnterState(partner->GetStartStateName(), "");
}

CTalkDlg::CTalkDlg(CDRAVApp* app, DRAV::CActor* talker, DRAV::CTalkTarget* partner, std::size_t choice)
    : CDRAVDlg(app) {
    Begin(talker, partner);
    const DRAV::TalkChoiceList choices = partner->GetTalkChoices();
    const auto& chosen = choices.at(choice);
    EnterState(chosen->GetTargetState(), chosen->GetText());
}

void CTalkDlg::Begin(DRAV::CActor* talker, DRAV::CTalkTarget* partner) {
    const auto* thing = dynamic_cast<const DRAV::CThing*>(partner);
    if (!talker || !thing) throw CDRAVException(DRAV_ERR_OUT_OF_RANGE, "");
    m_app->SetTalkFocus(talker);
    m_talkerId = talker->GetId();
    m_partnerId = thing->GetId();
    m_title = talker->GetName() + " : " + partner->GetName();
}

void CTalkDlg::Open(CDRAVApp& app, const DRAV::CTalkEvent& event) {
    ShowStep(app, false, [&] { return std::make_shared<CTalkDlg>(&app, event); });
}

void CTalkDlg::EnterState(const std::string& state, const std::string& reply) {
    const Pair two = Present();
    if (state.empty()) {
        m_lines.push_back(two.partner->GetName() + " has nothing to say.");
        m_replies.push_back("1 : Done");
        return;
    }
    auto order = std::make_shared<DRAV::CTalkOrder>(m_partnerId, state, reply);
    // A partner gone out of reach breaks the talk off.
    if (!CanSay(*m_app, *two.talker, *order)) throw CDRAVException(DRAV_ERR_PARTY_POSITION, "");
    two.talker->PushInstantOrder(std::move(order));
    try {
        m_app->RunInstantOrders();
    } catch (const CDRAVException&) {
        // Whatever was said before the refusal still reaches the log.
        m_app->PumpEngineEvents(&m_lines);
        throw;
    }
    // One batch, as a tick's: the party as the step left it, and its lines on the page.
    m_app->PumpEngineEvents(&m_lines);

    // The step's script may have taken the partner away.
    const DRAV::TalkChoiceList choices = Present().partner->GetTalkChoices();
    if (choices.empty()) m_replies.push_back("1 : Done");
    for (std::size_t i = 0; i < choices.size(); ++i)
        m_replies.push_back(std::to_string(i + 1) + " : " + choices[i]->GetText());
}

void CTalkDlg::SayLastReply(DRAV::CActor& talker, const std::string& reply) {
    auto order = std::make_shared<DRAV::CTalkOrder>(m_partnerId, "", reply);
    // The talk is over either way: one who can no longer hear it is not told.
    if (CanSay(*m_app, talker, *order)) {
        talker.PushInstantOrder(std::move(order));
        try {
            m_app->RunInstantOrders();
        } catch (const CDRAVException& failure) {
            if (!IsConversationBreak(failure)) throw;
        }
    }
    m_app->PumpEngineEvents(nullptr);
}

DRAV::ThingId CTalkDlg::GetPartnerId() const { return m_partnerId; }

std::string CTalkDlg::GetTitle() { return m_title; }

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

bool CTalkDlg::FindAgain(Pair& found) const {
    const DRAV::CArea* area = m_app->GetEngine()->GetGame()->GetCurrentArea();
    if (!area) return false;
    found.talker = area->FindActor(m_talkerId);
    if ((m_partnerId >> 24) == DRAV::THING_ACTOR)
        found.partner = area->FindActor(m_partnerId);
    else
        found.partner = area->FindObject(m_partnerId);
    return found.talker && found.partner;
}

CTalkDlg::Pair CTalkDlg::Present() const {
    Pair found;
    if (!FindAgain(found)) throw CDRAVException(DRAV_ERR_OUT_OF_RANGE, "");
    return found;
}

void CTalkDlg::OnClose(int result) {
    // A script of this step, or a tick while the page waited, may have removed
    // either of the two.
    Pair two;
    if (!FindAgain(two)) {
        m_app->AppendMessage(kBrokenOff);
        return;
    }
    if (auto* keeper = dynamic_cast<DRAV::CActor*>(two.partner); keeper && keeper->GetStoreFlag()) {
        // Asked for once: the next talk with the keeper starts as a talk again.
        keeper->SetStoreFlag(false);
        m_app->SetDialog(true, std::make_shared<CStoreDlg>(m_app, two.talker, keeper));
        return;
    }
    const DRAV::TalkChoiceList choices = two.partner->GetTalkChoices();
    const std::size_t n = static_cast<std::size_t>(result - kFirstReplyId);
    if (result < kFirstReplyId || n >= choices.size()) return;
    if (choices[n]->GetTargetState().empty()) {
        SayLastReply(*two.talker, choices[n]->GetText());
        return;
    }
    ShowStep(*m_app, true, [&] { return std::make_shared<CTalkDlg>(m_app, two.talker, two.partner, n); });
}
