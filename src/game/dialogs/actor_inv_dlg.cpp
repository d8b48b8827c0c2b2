#include "game/dialogs/actor_inv_dlg.h"

#include "game/app.h"
#include "rules/items/item_template.h"
#include "world/actor.h"
#include "world/item.h"
#include "world/order.h"

namespace {

std::string WieldQuestion(const DRAV::CActor& actor, const DRAV::CItem& item) {
    const std::string& name = item.GetTemplate().GetName();
    return actor.GetName() + " is not proficient in the use of " + name + ". " +
           "Are you certain you wish to wield " + name + "?";
}

}  // namespace

CActorInvDlgConfirmWield::CActorInvDlgConfirmWield(CDRAVApp* app, std::shared_ptr<DRAV::CActor> actor,
                                                   std::shared_ptr<DRAV::CItem> item, std::int32_t slot)
    : CYesNoDlg(app, "Wield?", WieldQuestion(*actor, *item)),
      m_actor(std::move(actor)),
      m_item(std::move(item)),
      m_slot(slot) {}

void CActorInvDlgConfirmWield::OnYes() {
    if (m_actor->GetEquipped(static_cast<DRAV::EquipSlot>(m_slot)))
        m_actor->PushInstantOrder(std::make_shared<DRAV::CUnwieldOrder>(m_slot));
    m_actor->PushInstantOrder(std::make_shared<DRAV::CWieldOrder>(m_item->GetId(), m_slot));
    m_app->RunInstantOrders();
    m_app->DrainEngineEvents();
}
