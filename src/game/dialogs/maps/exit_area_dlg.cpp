#include "game/dialogs/maps/exit_area_dlg.h"

#include "game/app.h"

void CExitAreaDlg::OnYes() { m_app->CheckPartyAndChangeArea(); }
