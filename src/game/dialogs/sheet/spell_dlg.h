#pragma once
// A spell's or power's page, for the actor who would cast it, with its manual entry.

#include "game/dialogs/text_dlg.h"

namespace DRAV {
class CSpell;
}

class CSpellDlg : public CTextDlg {
public:
    // `actor` may be null: the page is then written for nobody in particular.
    CSpellDlg(CDRAVApp* app, const DRAV::CSpell& spell, DRAV::CActor* actor);
};
