#include <algorithm>
#include <memory>

#include "engine/engine.h"
#include "game/app.h"
#include "game/dialogs/talk_dlg.h"
#include "world/actor.h"
#include "world/game.h"

// What conversations need of the shell beyond the dialog stack: opening one, and
// the party-change bookkeeping a talk script can cause while the clock stands still.

void CDRAVApp::OnTalkEvent(const DRAV::CTalkEvent& event) { CTalkDlg::Open(*this, event); }

void CDRAVApp::UpdatePartyQuickActions(bool rebuild) {
    const DRAV::ActorList party = m_engine->GetGame()->GetParty();
    std::erase_if(m_quickActions, [&](const auto& entry) {
        return std::none_of(party.begin(), party.end(), [&](const auto& member) { return member.get() == entry.first; });
    });
    // A member new to the party starts with the quick actions it would choose itself.
    for (const auto& member : party) {
        std::shared_ptr<CDRAVActorInfo>& record = m_quickActions[member.get()];
        if (record) continue;
        record = std::make_shared<CDRAVActorInfo>();
        record->AutoFill(*member);
    }
    // The screen itself is rebuilt with the dialog that follows.
    if (rebuild) RequestRepaint();
}
