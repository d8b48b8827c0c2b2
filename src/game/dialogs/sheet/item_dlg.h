#pragma once
// An item's page for the actor holding or looking at it, with its manual entry
// when the item is public or common, and "Use" (at once: scrolls) or "Delayed
// Use" (when the game runs again: potions, wands on oneself) when offered.

#include "game/dialogs/text_dlg.h"

namespace DRAV {
class CItem;
}

class CItemDlg : public CTextDlg {
public:
    CItemDlg(CDRAVApp* app, DRAV::CItem& item, DRAV::CActor* actor, bool offerUse);

    void OnExtraButton() override;

private:
    DRAV::CItem* m_item;
};
