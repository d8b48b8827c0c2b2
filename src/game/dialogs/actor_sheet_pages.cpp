#include "game/dialogs/base_actor_dlg2.h"

// Each tab's page class is named here only, so a new page is wired by one case.
std::shared_ptr<CBaseActorDlg2> MakeActorSheetPage(CDRAVApp*, DRAV::CActor&, int tab) {
    switch (tab) {
        default:
            return nullptr;
    }
}
