#pragma once
// "Leave Party?": the question before a dead companion is taken out of the party
// for good. "Yes" has the engine carry out the leave-party order at once.

#include "game/dialogs/yes_no_dlg.h"

namespace DRAV {
class CActor;
}

class CLeavePartyConfirm : public CYesNoDlg {
public:
    CLeavePartyConfirm(CDRAVApp* app, std::string title, std::string question, DRAV::CActor* actor);

    void OnYes() override;
    void OnNo() override {}

    DRAV::CActor* GetActor() const { return m_actor; }

private:
    DRAV::CActor* m_actor;
};
