#include "game/dialogs/sheet/base_actor_dlg2.h"

#include "engine/engine.h"
#include "game/app.h"
#include "game/dialogs/play/action_dlg.h"
#include "game/dialogs/maps/help_dlg.h"
#include "platform/win32/virtual_keys.h"
#include "ui/element_info.h"
#include "ui/ui_action_element.h"
#include "ui/ui_action_window.h"
#include "ui/ui_button.h"
#include "ui/ui_group.h"
#include "ui/ui_hover_window.h"
#include "ui/ui_manager.h"
#include "ui/ui_text_element.h"
#include "world/actor.h"
#include "world/game.h"

namespace {

using namespace DRAVUI;

constexpr int kInset = 16;
constexpr int kPageLeft = 80;
constexpr int kTabHeight = 40;
constexpr int kPartyButtonSize = 48;
constexpr int kPartyButtonStep = 64;
constexpr int kPartyColumnTop = 144;
constexpr int kImageHelp = 77;
constexpr int kImageCheck = 11;
constexpr int kNoQuickAction = 10;
// Slot 2 opens the action picker on the game screen; the sheet never makes it current.
constexpr int kActionSlot = 2;
constexpr int kClickSound = 0;

RECT Box(LONG left, LONG top, LONG right, LONG bottom) { return RECT{left, top, right, bottom}; }

// Letter keys of the pages, either case, and the close code each gives.
int PageCodeOfLetter(int key) {
    switch (key) {
        case 'N':
        case 'n':
            return CBaseActorDlg2::kInfoTab;
        case 'I':
        case 'i':
            return CBaseActorDlg2::kInventoryTab;
        case 'J':
        case 'j':
            return CBaseActorDlg2::kJournalTab;
        case 'B':
        case 'b':
            return CBaseActorDlg2::kAbilitiesTab;
        case 'A':
        case 'a':
            return CBaseActorDlg2::kActionCode;
        default:
            return 0;
    }
}

std::shared_ptr<CUIImageButton> MakeImageTab(const std::shared_ptr<CUIConfig>& config, int id, int image,
                                             const char* title, const char* text) {
    auto button = std::make_shared<CUIImageButton>(config, id, image);
    button->SetSize(kTabHeight, kTabHeight);
    button->SetInfoNoAction(title, text);
    button->SetFlag(UIF_CENTRED, true);
    return button;
}

std::shared_ptr<CUITextButton> MakeTextTab(const std::shared_ptr<CUIConfig>& config, int id, const char* label,
                                           const char* text) {
    auto button = std::make_shared<CUITextButton>(id, label, config);
    button->SetSize(CBaseActorDlg2::SmallButtonWidth(*config), kTabHeight);
    button->SetInfoNoAction(label, text);
    return button;
}

}  // namespace

CBaseActorDlg2::CBaseActorDlg2(CDRAVApp* app, DRAV::CActor* actor) : CDRAVDlg(app), m_actor(actor) {}

CBaseActorDlg2::~CBaseActorDlg2() { m_partyButtons.clear(); }

std::string CBaseActorDlg2::GetTitle() { return m_actor->GetName(); }

RECT CBaseActorDlg2::SheetArea(const RECT& area, const CUIConfig& config) {
    RECT sheet = area;
    const LONG dx = (Width(area) - SheetWidth(config)) / 2;
    const LONG dy = (Height(area) - SheetHeight(config)) / 2;
    sheet.left += dx;
    sheet.right -= dx;
    sheet.top += dy;
    sheet.bottom -= dy;
    return sheet;
}

RECT CBaseActorDlg2::PageRect(const RECT& sheet, const CUIConfig& config) {
    return Box(sheet.left + kPageLeft, sheet.top + SheetPageTop(config), sheet.right - kPageLeft,
               sheet.bottom - 32 - SheetMessageHeight(config));
}

void CBaseActorDlg2::CreateControls(RECT area, CUIManager& container) {
    const auto config = container.GetConfig();
    const RECT sheet = SheetArea(area, *config);

    auto hover = std::make_shared<CUIHoverWindow>(config);
    const int hoverWidth = config->Pick(256, 188);
    const int hoverBottom = sheet.top + config->Pick(130, 94);
    hover->SetRect(Box(sheet.left + kInset, sheet.top + kInset, sheet.left + kInset + hoverWidth, hoverBottom));
    container.AddElement(hover);
    m_hoverPanel = hover.get();

    CreateTabBar(sheet, container);
    CreatePartyButtons(sheet, container);
    CreateQuickActionBar(sheet, container);

    auto messages = std::make_shared<CUIMessageWindow>(0, &m_app->GetMessageLog(), false, config);
    messages->SetRect(Box(sheet.left + kPageLeft, sheet.bottom - kInset - SheetMessageHeight(*config),
                          sheet.left + kPageLeft + SheetMessageWidth(*config), sheet.bottom - kInset));
    container.AddElement(messages);

    CreatePage(PageRect(sheet, *config), container);
}

void CBaseActorDlg2::CreateTabBar(const RECT& sheet, CUIManager& container) {
    const auto config = container.GetConfig();
    auto bar = std::make_shared<CUIGroup>("", true, false, 0u, 16, config);
    bar->AddChild(MakeImageTab(config, kHelp, kImageHelp, "Help", ""));
    bar->AddChild(MakeTextTab(config, kInfoTab, "Info", "Information and Statistics"));
    bar->AddChild(MakeTextTab(config, kInventoryTab, "Inventory", "Equipment and Possessions"));
    bar->AddChild(MakeTextTab(config, kJournalTab, "Journal", "Adventure and Quest Log"));
    bar->AddChild(MakeTextTab(config, kAbilitiesTab, "Abilities", "Spells and Powers"));
    bar->AddChild(MakeImageTab(config, kReturnToGame, kImageCheck, "Game", "Return to Game"));
    container.AddElement(bar);
    const RECT& size = *bar->GetRect();
    const LONG right = sheet.right - kInset;
    const LONG top = sheet.top + kInset;
    bar->SetRect(Box(right - Width(size), top, right, top + Height(size)));
}

void CBaseActorDlg2::CreatePartyButtons(const RECT& sheet, CUIManager& container) {
    const auto config = container.GetConfig();
    m_partyButtons.clear();
    const DRAV::ActorList party = m_app->GetEngine()->GetGame()->GetParty();
    for (std::size_t i = 0; i < party.size() && i <= kLastPartyButton - kFirstPartyButton; ++i) {
        auto button = std::make_shared<CUIActionElement2>(config, kFirstPartyButton + static_cast<int>(i), true, false);
        button->SetSize(kPartyButtonSize, kPartyButtonSize);
        button->Reset();
        ElementInfo::DescribeThing(button->GetInfo(), party[i].get(), nullptr);
        button->UpdateActionHint();
        button->MoveTo(POINT{sheet.left + kInset,
                             sheet.top + kPartyColumnTop + kPartyButtonStep * static_cast<LONG>(i)});
        if (party[i].get() == m_actor) button->SetFlag(UIF_SELECTED, true);
        m_partyButtons.push_back(button);
        container.AddElement(button);
    }
}

void CBaseActorDlg2::CreateQuickActionBar(const RECT& sheet, CUIManager& container) {
    const auto config = container.GetConfig();
    auto bar = std::make_shared<CUIActionWindow2>(0, kFirstQuickSlot, &m_app->GetQuickActionOwner(), m_actor, config);
    container.AddElement(bar);
    const RECT& size = *bar->GetRect();
    const LONG right = sheet.right - kInset;
    const LONG bottom = sheet.bottom - kInset;
    bar->SetRect(Box(right - Width(size), bottom - Height(size), right, bottom));
    bar->ClearFilled();
    m_quickActionBar = bar.get();
}

bool CBaseActorDlg2::IsActorAlive() const { return m_actor->GetActionState() != DRAV::ACTION_DEAD; }

void CBaseActorDlg2::OpenHelp() { m_app->SetDialog(false, std::make_shared<CHelpDlg>(m_app, GetHelpTopic())); }

void CBaseActorDlg2::ChooseSlot(int slot) {
    m_app->SelectQuickAction(*m_actor, slot);
    if (m_quickActionBar) m_quickActionBar->ClearFilled();
    if (m_app->GetAudio()) m_app->GetAudio()->PlaySound(kClickSound);
}

bool CBaseActorDlg2::OnButton(int id) {
    if (id == kHelp) {
        OpenHelp();
        return false;
    }
    if (id >= kFirstPartyButton && id <= kLastPartyButton)
        return SwitchToPartyMember(static_cast<std::uint32_t>(id - kFirstPartyButton));
    int slot = 0;
    if (GetQuickActionSlotOfId(id, &slot)) {
        if (slot == m_app->GetCurrentQuickAction(*m_actor)) {
            ChooseSlot(kNoQuickAction);
        } else if (slot != kActionSlot) {
            ChooseSlot(slot);
        }
        return false;
    }
    if (id >= kInfoTab && id <= kAbilitiesTab) {
        if (!IsActorAlive()) return false;
        m_nextActor = m_actor;
        return true;
    }
    return id == kReturnToGame;
}

bool CBaseActorDlg2::OnKey(int key, bool, int* result) {
    if (key >= '1' && key <= '9') {
        *result = GetTabIndex();
        return SwitchToPartyMember(static_cast<std::uint32_t>(key - '1'));
    }
    if (key >= static_cast<int>(VK_F1) && key <= static_cast<int>(VK_F10)) {
        const int slot = key - static_cast<int>(VK_F1);
        if (slot != kActionSlot) ChooseSlot(slot);
        return false;
    }
    if (const int code = PageCodeOfLetter(key)) {
        if (!IsActorAlive()) return false;
        *result = code;
        m_nextActor = m_actor;
        return true;
    }
    if (key == static_cast<int>(VK_OEM_2)) {
        OpenHelp();
        return false;
    }
    if (key == static_cast<int>(VK_ESCAPE) || key == static_cast<int>(VK_RETURN)) {
        *result = 0;
        return true;
    }
    return false;
}

bool CBaseActorDlg2::OnAltClick(int id) {
    if (id >= kFirstPartyButton && id <= kLastPartyButton)
        return SwitchToPartyMember(static_cast<std::uint32_t>(id - kFirstPartyButton));
    int slot = 0;
    if (GetQuickActionSlotOfId(id, &slot) && slot >= DRAVUI::CUIActionWindow2::kFirstAssignableSlot) {
        m_nextActor = m_actor;
        return true;
    }
    return false;
}

void CBaseActorDlg2::OnClose(int result) {
    int code = result;
    int slot = 0;
    if (result >= kFirstPartyButton && result <= kLastPartyButton) {
        code = GetTabIndex();
    } else if (GetQuickActionSlotOfId(result, &slot)) {
        code = kActionCode;
    }
    std::shared_ptr<CDRAVDlg> next;
    if (code == kActionCode) {
        next = std::make_shared<CActionDlg>(m_app, *m_actor, slot);
    } else if (code >= kInfoTab && code <= kAbilitiesTab && m_nextActor) {
        next = MakeActorSheetPage(m_app, *m_nextActor, code);
    }
    if (next) m_app->SetDialog(true, std::move(next));
}

bool CBaseActorDlg2::SwitchToPartyMember(std::uint32_t index) {
    const DRAV::ActorList party = m_app->GetEngine()->GetGame()->GetParty();
    if (index >= party.size()) return false;
    DRAV::CActor* member = party[index].get();
    if (!IsInfoPage() && member->GetActionState() == DRAV::ACTION_DEAD) return false;
    m_app->SelectPartyMember(index);
    m_nextActor = member == m_actor ? nullptr : member;
    return true;
}

DRAV::CActor* CBaseActorDlg2::GetPartyMemberOfId(int id) {
    if (id < kFirstPartyButton || id > kLastPartyButton) return nullptr;
    const DRAV::ActorList party = m_app->GetEngine()->GetGame()->GetParty();
    const auto index = static_cast<std::size_t>(id - kFirstPartyButton);
    return index < party.size() ? party[index].get() : nullptr;
}

bool CBaseActorDlg2::GetQuickActionSlotOfId(int id, int* slot) {
    if (id < kFirstQuickSlot || id > kLastQuickSlot) return false;
    if (slot) *slot = id - kFirstQuickSlot;
    return true;
}
