#include "game/dialogs/actor_info_dlg.h"
#include "game/dialogs/base_actor_dlg2.h"

// Each tab's page class is named here only, so a new page is wired by one case.
std::shared_ptr<CBaseActorDlg2> MakeActorSheetPage(CDRAVApp* app, DRAV::CActor& actor, int tab) {
    switch (tab) {
        case CBaseActorDlg2::kInfoTab:
            return std::make_shared<CActorInfoDlg>(app, &actor);
        default:
            return nullptr;
    }
}
