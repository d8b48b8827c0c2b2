#include "game/dialogs/sheet/item_dlg.h"

#include <memory>
#include <sstream>

#include "engine/engine.h"
#include "game/app.h"
#include "rules/descriptions/item_description.h"
#include "rules/items/item_template.h"
#include "world/actor.h"
#include "world/descriptions/actor_viewer.h"
#include "world/item.h"
#include "world/order.h"

namespace {

constexpr std::int32_t kUseItem = 5;

}  // namespace

CItemDlg::CItemDlg(CDRAVApp* app, DRAV::CItem& item, DRAV::CActor* actor, bool offerUse)
    : CTextDlg(app, "", "", actor, false), m_item(&item) {
    const DRAV::CItemTemplate& itemTemplate = item.GetTemplate();
    m_title = itemTemplate.GetName();
    std::ostringstream text;
    if (actor) {
        const DRAV::CActorViewer viewer(*actor);
        DRAV::WriteItemDescription(itemTemplate, *app->GetEngine()->GetModule(), &viewer, text);
    } else {
        DRAV::WriteItemDescription(itemTemplate, *app->GetEngine()->GetModule(), nullptr, text);
    }
    m_text = text.str();
    if (itemTemplate.GetFlags() & DRAV::ITEMFLAG_MANUAL) m_manualAnchor = "item_" + itemTemplate.GetKey();
    if (offerUse && actor && item.GetWandTargetType() == DRAV::SPELL_TARGET_SELF && actor->CanUseMagicItem(item, false))
        m_extraLabel = actor->CanUseMagicItem(item, true) ? "Use" : "Delayed Use";
}

void CItemDlg::OnExtraButton() {
    if (!m_subject) return;
    auto order = std::make_shared<DRAV::CUseOrder>(kUseItem, m_item->GetId(), 0);
    if (m_extraLabel == "Use") {
        m_subject->PushInstantOrder(order);
        m_app->RunInstantOrders();
        m_app->DrainEngineEvents();
    } else {
        m_subject->CancelOrders();
        m_subject->PushOrder(order, false);
    }
}
