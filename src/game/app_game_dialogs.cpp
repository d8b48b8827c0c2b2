#include <memory>

#include "engine/engine.h"
#include "game/app.h"
#include "game/dialogs/front/difficulty_dlg.h"
#include "game/dialogs/front/volume_dlg.h"
#include "world/game.h"

// The dialogs the running game opens from its menu and its keys.

void CDRAVApp::ShowVolumeDlg(bool quiet) {
    SetDialog(quiet, std::make_shared<CDRAVVolumeDlg>(this, m_audio ? m_audio->GetVolume() : 100));
}

void CDRAVApp::ShowDifficultyDlg() {
    if (!m_engine || !m_engine->GetGame()) return;
    SetDialog(true, std::make_shared<CDifficultyDlg>(this, m_engine->GetGame()->GetDifficulty()));
}
