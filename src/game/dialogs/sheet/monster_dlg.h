#pragma once
// What the party can tell of a creature or character: all of it for the party and
// its friends, otherwise as much as the party's best eye sees through its stealth.

#include "game/dialogs/text_dlg.h"

class CMonsterDlg : public CTextDlg {
public:
    CMonsterDlg(CDRAVApp* app, DRAV::CActor& actor);
};

// 25 for the party and friends; otherwise the party's best Observation less the
// actor's Stealth.
int MonsterKnowledge(const CDRAVApp& app, const DRAV::CActor& actor);
