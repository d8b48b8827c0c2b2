#include <algorithm>
#include <memory>

#include "engine/engine.h"
#include "game/app.h"
#include "game/dialogs/talk/talk_dlg.h"
#include "world/actor.h"
#include "world/game.h"

// What conversations need of the shell beyond the dialog stack: opening one, and
// the party-change bookkeeping a talk script can cause while the clock stands still.

void CDRAVApp::OnTalkEvent(const DRAV::CTalkEvent& event) { CTalkDlg::Open(*this, event); }
