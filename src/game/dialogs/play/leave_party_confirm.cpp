#include "game/dialogs/play/leave_party_confirm.h"

#include <memory>

#include "game/app.h"
#include "world/actor.h"
#include "world/order.h"

CLeavePartyConfirm::CLeavePartyConfirm(CDRAVApp* app, std::string title, std::string question, DRAV::CActor* actor)
    : CYesNoDlg(app, std::move(title), std::move(question)), m_actor(actor) {}

void CLeavePartyConfirm::OnYes() {
    m_actor->PushInstantOrder(std::make_shared<DRAV::COrder>(DRAV::ORDER_LEAVE_PARTY));
    m_app->RunInstantOrders();
    m_app->UpdatePartyQuickActions(true);
    m_app->ResetPartySelection();
    // The close built the game screen before this order ran: without a new build
    // the HUD would keep a portrait of the member who left.
    m_app->LayoutGameScreen();
}
