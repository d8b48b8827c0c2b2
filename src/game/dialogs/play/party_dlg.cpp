#include "game/dialogs/play/party_dlg.h"

#include "engine/engine.h"
#include "game/app.h"
#include "ui/element_info.h"
#include "ui/ui_action_element.h"
#include "ui/ui_button.h"
#include "ui/ui_group.h"
#include "ui/ui_hover_window.h"
#include "ui/ui_manager.h"
#include "ui/ui_text_element.h"
#include "world/actor.h"
#include "world/game.h"

void CPartyDlg::CreateControls(RECT area, DRAVUI::CUIManager& container) {
    m_config = container.GetConfig();
    const auto& config = m_config;
    const RECT box = CenteredBox(area, config->Pick(800, 640), 480);

    auto hover = std::make_shared<DRAVUI::CUIHoverWindow>(config);
    hover->MoveTo(POINT{box.left + 16, box.top + 16});
    container.AddElement(hover);

    auto text = std::make_shared<DRAVUI::CUITextElement>(
        config, 0, "Drag and drop to arrange the party. LINE LINE (To remove an actor from the party, talk to him.)",
        false, true);
    text->SetSize(config->Pick(640, 480), config->Pick(112, 64));

    m_memberSlots.clear();
    auto members = std::make_shared<DRAVUI::CUIGroup>("", true, true, 0u, 16, config);
    const std::size_t count = m_app->GetEngine()->GetGame()->GetParty().size();
    for (std::size_t n = 0; n < count; ++n) {
        auto slot = std::make_shared<DRAVUI::CUIActionElement2>(config, kMemberBase + static_cast<int>(n), false,
                                                                false);
        slot->SetFlag(DRAVUI::UIF_DRAGGABLE, true);
        m_memberSlots.push_back(slot.get());
        auto framed = std::make_shared<DRAVUI::CUIGroup>(std::to_string(n + 1), true, true, 0u, 0, config);
        framed->AddChild(slot);
        members->AddChild(framed);
    }

    auto framed = std::make_shared<DRAVUI::CUIGroup>("", false, true, 0u, 16, config);
    framed->AddChild(text);
    framed->AddChild(members);

    auto done = std::make_shared<DRAVUI::CUITextButton>(kDone, "Done", config);
    done->SetSize(config->Pick(80, 64), 32);

    auto outer = std::make_shared<DRAVUI::CUIGroup>("", false, false, 0u, 16, config);
    outer->AddChild(framed);
    outer->AddChild(done);
    // Centred in what the hover panel leaves of the box.
    const LONG hoverHeight = DRAVUI::Height(*hover->GetRect());
    outer->CenterOn(POINT{RectCenter(box).x, (box.top + hoverHeight + box.bottom) / 2});
    container.AddElement(outer);

    RefreshSlots();
}

void CPartyDlg::RefreshSlots() {
    const DRAV::ActorList party = m_app->GetEngine()->GetGame()->GetParty();
    for (std::size_t n = 0; n < party.size() && n < m_memberSlots.size(); ++n) {
        DRAVUI::CUIActionElement2& slot = *m_memberSlots[n];
        slot.Reset();
        DRAVUI::ElementInfo::DescribeThing(slot.GetInfo(), party[n].get(), nullptr);
        slot.UpdateActionHint();
    }
}

void CPartyDlg::OnBeginDrag(int id) {
    for (DRAVUI::CUIActionElement2* slot : m_memberSlots)
        if (slot->GetId() != id) slot->SetFlag(DRAVUI::UIF_SELECTED, true);
}

void CPartyDlg::OnEndDrag() {
    for (DRAVUI::CUIActionElement2* slot : m_memberSlots) slot->SetFlag(DRAVUI::UIF_SELECTED, false);
}

void CPartyDlg::OnDrop(int sourceId, int targetId) {
    OnEndDrag();
    if (targetId < kMemberBase || sourceId < kMemberBase) return;
    m_app->MovePartyMember(static_cast<std::uint32_t>(sourceId - kMemberBase),
                           static_cast<std::uint32_t>(targetId - kMemberBase));
    RefreshSlots();
    if (const auto& audio = m_app->GetAudio()) audio->PlaySound(0);
}
