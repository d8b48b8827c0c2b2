#include <algorithm>
#include <memory>

#include "common/exception.h"
#include "engine/engine.h"
#include "game/app.h"
#include "game/dialogs/talk_dlg.h"
#include "world/actor.h"
#include "world/game.h"

// What conversations and trading need of the shell: opening a conversation, the
// instant orders the dialogs issue, and the party-change bookkeeping a talk script
// can cause while the clock stands still.

void CDRAVApp::OnTalkEvent(const DRAV::CTalkEvent& event) { CTalkDlg::Open(*this, event); }

void CDRAVApp::RunInstantOrders() {
    try {
        m_engine->RunInstantOrders();
    } catch (const CDRAVException& failure) {
        if (failure.GetCode() != DRAV_ERR_SCRIPT) throw;
        ShowError("You may continue to play, however things may be broken", "Script Error");
    }
}

void CDRAVApp::QueueEvent(std::shared_ptr<DRAV::CEvent> event) { m_pendingEvents.push_back(std::move(event)); }

void CDRAVApp::UpdatePartyQuickActions(bool rebuild) {
    const DRAV::ActorList party = m_engine->GetGame()->GetParty();
    std::erase_if(m_quickActions, [&](const auto& entry) {
        return std::none_of(party.begin(), party.end(), [&](const auto& member) { return member.get() == entry.first; });
    });
    if (rebuild) m_screenRebuildPending = true;
}

void CDRAVApp::ResetPartySelection() {
    m_selectedParty = m_engine->GetGame()->GetParty().size() == 1 ? 0 : kWholeParty;
}
