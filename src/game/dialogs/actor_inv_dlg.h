#pragma once
// The inventory page of the actor sheet, and the question it asks before an actor
// wields an item it is not proficient with.

#include <cstdint>
#include <memory>

#include "game/dialogs/yes_no_dlg.h"

namespace DRAV {
class CActor;
class CItem;
}  // namespace DRAV

// "Wield?": Yes empties the slot when it is occupied and wields the item; No
// leaves everything as it was.
class CActorInvDlgConfirmWield : public CYesNoDlg {
public:
    CActorInvDlgConfirmWield(CDRAVApp* app, std::shared_ptr<DRAV::CActor> actor, std::shared_ptr<DRAV::CItem> item,
                             std::int32_t slot);

    void OnYes() override;
    void OnNo() override {}

private:
    std::shared_ptr<DRAV::CActor> m_actor;
    std::shared_ptr<DRAV::CItem> m_item;
    std::int32_t m_slot;
};
