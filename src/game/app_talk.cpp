#include <algorithm>
#include <memory>

#include "engine/engine.h"
#include "game/app.h"
#include "game/dialogs/talk/talk_dlg.h"
#include "world/actor.h"
#include "world/area.h"
#include "world/game.h"

// What conversations need of the shell beyond the dialog stack: opening one, and
// the party-change bookkeeping a talk script can cause while the clock stands still.

void CDRAVApp::OnTalkEvent(const DRAV::CTalkEvent& event) { CTalkDlg::Open(*this, event); }

void CDRAVApp::SetTalkFocus(DRAV::CActor* actor) { m_talkFocusId = actor ? actor->GetId() : 0; }

DRAV::CActor* CDRAVApp::GetTalkFocus() const {
    if (!m_talkFocusId || !m_engine || !m_engine->GetGame()) return nullptr;
    DRAV::CArea* area = m_engine->GetGame()->GetCurrentArea();
    return area ? area->FindActor(m_talkFocusId) : nullptr;
}
