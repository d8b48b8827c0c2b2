#include "game/dialogs/sheet/actor_spells_dlg.h"

#include <algorithm>

#include "game/app.h"
#include "game/dialogs/sheet/spell_dlg.h"
#include "rules/magic/spell.h"
#include "ui/element_info.h"
#include "ui/ui_action_window.h"
#include "ui/ui_button.h"
#include "ui/ui_group.h"
#include "ui/ui_manager.h"
#include "ui/ui_scroll_bar.h"
#include "ui/ui_spell_list.h"
#include "world/actor.h"

namespace {

using namespace DRAVUI;

constexpr int kButtonHeight = 32;
constexpr int kVisibleRows = 6;
constexpr int kClickSound = 0;
constexpr int kCastKind = 11;

// The list's first row back at `position`, held to what the list can scroll.
void Restore(CUISpellListWindow& list, int position) {
    CUIScrollBar& bar = list.ScrollBar();
    bar.m_position = std::min(static_cast<std::uint32_t>(std::max(position, 0)), bar.m_range);
    bar.UpdateThumb();
}

}  // namespace

void CActorSpellsDlg::CreatePage(RECT page, CUIManager& container) {
    const auto config = container.GetConfig();
    const int buttonWidth = config->Pick(256, 192);
    const int columns = config->Pick(8, 5);

    auto buttons = std::make_shared<CUIGroup>("", true, false, 0u, 16, config);
    auto hide = std::make_shared<CUICheckButton>(config, kHideUnusable, "Hide Unusable Abilities", false);
    hide->SetSize(buttonWidth, kButtonHeight);
    buttons->AddChild(hide);
    m_hideUnusable = hide.get();
    auto reset = std::make_shared<CUITextButton>(kResetActions, "Reset Actions", config);
    reset->SetSize(buttonWidth, kButtonHeight);
    buttons->AddChild(reset);

    auto lists = std::make_shared<CUIGroup>("", true, false, 0u, 16, config);
    auto spells = std::make_shared<CUISpellListWindow>(config, 0, columns, kVisibleRows, true, false, "Spells", true);
    auto powers = std::make_shared<CUISpellListWindow>(config, 0, columns, kVisibleRows, false, true, "Powers", true);
    m_spells = spells.get();
    m_powers = powers.get();
    lists->AddChild(spells);
    lists->AddChild(powers);

    auto column = std::make_shared<CUIGroup>("", false, false, 0u, 16, config);
    column->AddChild(buttons);
    column->AddChild(lists);
    container.AddElement(column);
    column->CenterOn(RectCenter(page));

    FillLists();
}

void CActorSpellsDlg::FillLists() {
    const bool usableOnly = m_hideUnusable->m_checked;
    m_spells->Fill(*m_actor, kFirstAbility, usableOnly);
    Restore(*m_spells, m_savedSpellsPosition);
    m_powers->Fill(*m_actor, kFirstAbility, usableOnly);
    Restore(*m_powers, m_savedPowersPosition);
    m_savedSpellsPosition = 0;
    m_savedPowersPosition = 0;
}

bool CActorSpellsDlg::GetAbilityOfId(int id, const DRAV::CSpell** ability) const {
    if (id < kFirstAbility || id > kLastAbility) return false;
    const DRAV::SpellList spells = m_actor->GetSpells();
    const auto index = static_cast<std::size_t>(id - kFirstAbility);
    // An id beyond the list names no ability: the lists are built from it.
    if (index >= spells.size()) return false;
    if (ability) *ability = spells[index];
    return true;
}

bool CActorSpellsDlg::OnButton(int id) {
    const auto& audio = m_app->GetAudio();
    switch (id) {
        case kHideUnusable:
            FillLists();
            if (audio) audio->PlaySound(kClickSound);
            return false;
        case kResetActions:
            m_app->ResetQuickActions(*m_actor);
            if (audio) audio->PlaySound(kClickSound);
            if (m_quickActionBar) m_quickActionBar->ClearFilled();
            return false;
        default:
            return CBaseActorDlg2::OnButton(id);
    }
}

bool CActorSpellsDlg::OnAltClick(int id) {
    const DRAV::CSpell* ability = nullptr;
    if (GetAbilityOfId(id, &ability)) {
        m_app->SetDialog(false, std::make_shared<CSpellDlg>(m_app, *ability, m_actor));
        return false;
    }
    return CBaseActorDlg2::OnAltClick(id);
}

void CActorSpellsDlg::OnBeginDrag(int id) {
    const DRAV::CSpell* ability = nullptr;
    if (GetAbilityOfId(id, &ability) && m_quickActionBar && IsAbilityUsable(*ability, *m_actor))
        m_quickActionBar->SetFlag(UIF_SELECTED, true);
}

void CActorSpellsDlg::OnEndDrag() {
    if (m_quickActionBar) m_quickActionBar->ClearFilled();
}

void CActorSpellsDlg::OnDrop(int sourceId, int targetId) {
    OnEndDrag();
    int slot = 0;
    const DRAV::CSpell* ability = nullptr;
    if (!GetQuickActionSlotOfId(targetId, &slot) || slot < kFirstAssignableSlot ||
        slot >= CUIActionWindow2::kSlotCount || !GetAbilityOfId(sourceId, &ability))
        return;
    // Whether the actor can cast it now is the cast's business, not the slot's.
    m_app->SetQuickActionKind(*m_actor, kCastKind, slot);
    m_app->SetQuickActionSpell(*m_actor, ability->GetKey(), slot);
    if (const auto& audio = m_app->GetAudio()) audio->PlaySound(kClickSound);
    if (m_quickActionBar) m_quickActionBar->ClearFilled();
}

void CActorSpellsDlg::OnSuspend() {
    if (m_spells) m_savedSpellsPosition = static_cast<int>(m_spells->ScrollBar().m_position);
    if (m_powers) m_savedPowersPosition = static_cast<int>(m_powers->ScrollBar().m_position);
}
