#include "game/dialogs/sheet/base_actor_dlg2.h"

#include "game/dialogs/sheet/actor_info_dlg.h"
#include "game/dialogs/sheet/actor_inv_dlg.h"
#include "game/dialogs/sheet/actor_journal_dlg.h"
#include "game/dialogs/sheet/actor_spells_dlg.h"

// Each tab's page class is named here only, so a new page is wired by one case.
std::shared_ptr<CBaseActorDlg2> MakeActorSheetPage(CDRAVApp* app, DRAV::CActor& actor, int tab) {
    switch (tab) {
        case CBaseActorDlg2::kInfoTab:
            return std::make_shared<CActorInfoDlg>(app, &actor);
        case CBaseActorDlg2::kInventoryTab:
            return std::make_shared<CActorInvDlg>(app, &actor, 0);
        case CBaseActorDlg2::kJournalTab:
            return std::make_shared<CActorJournalDlg>(app, &actor);
        case CBaseActorDlg2::kAbilitiesTab:
            return std::make_shared<CActorSpellsDlg>(app, &actor);
        default:
            return nullptr;
    }
}
