#include <cmath>

#include "common/exception.h"
#include "engine/engine.h"
#include "game/app.h"
#include "game/dialogs/sheet/actor_info_dlg.h"
#include "game/dialogs/sheet/base_actor_dlg2.h"
#include "game/dialogs/play/game_menu_dlg.h"
#include "game/dialogs/maps/help_dlg.h"
#include "game/dialogs/play/msg_dlg.h"
#include "game/dialogs/play/party_dlg.h"
#include "graphics/xp_device.h"
#include "ui/element_info.h"
#include "ui/ui_action_element.h"
#include "ui/ui_action_window.h"
#include "ui/ui_button.h"
#include "ui/ui_clock_button.h"
#include "ui/ui_group.h"
#include "ui/ui_hover_window.h"
#include "ui/ui_mini_map.h"
#include "ui/ui_text_element.h"
#include "world/actor.h"
#include "world/area.h"
#include "world/game.h"
#include "world/master_tile.h"
#include "world/tile.h"

// The game screen: the HUD over the 3D view, what its buttons do, how the view is
// asked to draw and which cursor the pointer shows.

namespace {

using namespace DRAVUI;

constexpr int kPortraitBase = 100;
constexpr int kPortraitLast = 198;
constexpr int kPortraitStep = 5;
constexpr int kSlotBase = 210;
constexpr int kSlotLast = 298;

// UI images of the HUD's buttons.
constexpr int kImageParty = 73;
constexpr int kImageReturn = 74;
constexpr int kImageHelp = 77;
constexpr int kImageExit = 78;

// The action bar reads the party's quick-action table through the shell.
class CTableQuickActions : public IQuickActionOwner {
public:
    explicit CTableQuickActions(CDRAVApp& app) : m_app(app) {}
    DRAV::CActor* GetSelectedActor() override { return m_app.GetSelectedActor(); }
    int GetQuickActionKind(const DRAV::CActor& actor, int slot) override { return m_app.GetQuickActionKind(actor, slot); }
    std::string GetQuickActionItem(const DRAV::CActor& actor, int slot) override {
        return m_app.GetQuickActionItem(actor, slot);
    }
    std::string GetQuickActionSpell(const DRAV::CActor& actor, int slot) override {
        return m_app.GetQuickActionSpell(actor, slot);
    }
    int GetCurrentQuickAction(const DRAV::CActor& actor) override { return m_app.GetCurrentQuickAction(actor); }
    const DRAV::CModule& GetModule() override { return *m_app.GetEngine()->GetModule(); }

private:
    CDRAVApp& m_app;
};

RECT Box(int left, int top, int right, int bottom) { return RECT{left, top, right, bottom}; }

int Width(CUIElement& element) { return element.GetRect()->right - element.GetRect()->left; }
int Height(CUIElement& element) { return element.GetRect()->bottom - element.GetRect()->top; }

}  // namespace

DRAVUI::IQuickActionOwner& CDRAVApp::GetQuickActionOwner() {
    if (!m_quickActionOwner) m_quickActionOwner = std::make_unique<CTableQuickActions>(*this);
    return *m_quickActionOwner;
}

void CDRAVApp::ForgetScreenWidgets() {
    m_minimap = nullptr;
    m_pauseButton = nullptr;
    m_exitButton = nullptr;
    m_returnButton = nullptr;
    m_actionBar = nullptr;
    m_portraits.clear();
}

void CDRAVApp::BuildGameScreen(const RECT& ui) {
    const auto config = m_uiManager.GetConfig();
    DRAV::CGame& game = *m_engine->GetGame();

    auto exitButton = std::make_shared<CUIImageButton>(config, 10, kImageExit);
    exitButton->SetInfoNoAction("Exit", "Exit Area");
    exitButton->SetFlag(UIF_SHOWN, false);
    exitButton->SetFlag(UIF_BLINK, true);
    exitButton->SetFlag(UIF_BACKGROUND, true);
    exitButton->SetFlag(UIF_CENTRED, true);
    exitButton->SetFlag(UIF_ALT_IS_CLICK, false);

    auto row = std::make_shared<CUIGroup>("", true, false, 0u, 8, config);
    auto returnButton = std::make_shared<CUIImageButton>(config, 9, kImageReturn);
    returnButton->SetSize(40, 40);
    returnButton->SetInfoNoAction("Return", "Return to Entry");
    returnButton->SetFlag(UIF_BACKGROUND, true);
    returnButton->SetFlag(UIF_CENTRED, true);
    returnButton->SetFlag(UIF_ALT_IS_CLICK, false);
    row->AddChild(returnButton);
    auto help = std::make_shared<CUIImageButton>(config, 11, kImageHelp);
    help->SetSize(40, 40);
    help->SetInfoNoAction("Help", "");
    help->SetFlag(UIF_BACKGROUND, true);
    help->SetFlag(UIF_CENTRED, true);
    row->AddChild(help);
    auto menu = std::make_shared<CUITextButton>(5, "Menu", config);
    menu->SetSize(64, 40);
    menu->SetInfoNoAction("Game Menu", "");
    menu->SetFlag(UIF_BACKGROUND, true);
    row->AddChild(menu);
    const int rowWidth = Width(*row);
    row->SetRect(Box(ui.right - 8 - rowWidth, 8, ui.right - 8, 8 + Height(*row)));
    exitButton->SetRect(*returnButton->GetRect());
    m_uiManager.AddElement(exitButton);
    m_uiManager.AddElement(row);
    m_exitButton = exitButton.get();
    m_returnButton = returnButton.get();

    auto hover = std::make_shared<CUIHoverWindow>(config);
    hover->SetRect(Box(8, 8, 8 + Width(*hover), 8 + Height(*hover)));
    hover->SetFlag(UIF_BACKGROUND, true);
    m_uiManager.AddElement(hover);

    auto log = std::make_shared<CUIMessageWindow>(1, &m_messageLog, true, config);
    log->SetRect(Box(ui.left + 116, ui.bottom - 108, ui.right - 64, ui.bottom - 8));
    log->SetFlag(UIF_BACKGROUND, true);
    m_uiManager.AddElement(log);

    auto clock = std::make_shared<CUIClockButton>(6, config);
    clock->SetState(m_paused, m_fastMove);
    clock->SetRect(Box(ui.right - 56, ui.bottom - 56, ui.right - 8, ui.bottom - 8));
    clock->SetFlag(UIF_ALT_IS_CLICK, false);
    m_uiManager.AddElement(clock);
    m_pauseButton = clock.get();

    auto bar = std::make_shared<CUIActionWindow2>(200, kSlotBase, &GetQuickActionOwner(), nullptr, config);
    const int barWidth = Width(*bar);
    const int barHeight = Height(*bar);
    bar->SetRect(Box(ui.right - 8 - barWidth, ui.bottom - 64 - barHeight, ui.right - 8, ui.bottom - 64));
    bar->SetFlag(UIF_BACKGROUND, true);
    bar->SetFlag(UIF_SHOWN, m_selectedParty != kWholeParty);
    m_uiManager.AddElement(bar);
    m_actionBar = bar.get();

    std::weak_ptr<DRAV::CArea> area;
    for (const auto& [name, cached] : game.GetAreas())
        if (cached.get() == game.GetCurrentArea()) area = cached;
    auto minimap = std::make_shared<CUIMiniMap>(3, area, config);
    minimap->SetRect(Box(ui.left + 8, ui.bottom - 108, ui.left + 108, ui.bottom - 8));
    minimap->SetFlag(UIF_BACKGROUND, true);
    minimap->m_centreX = m_cameraTarget[0];
    minimap->m_centreY = m_cameraTarget[2];
    m_uiManager.AddElement(minimap);
    m_minimap = minimap.get();

    auto column = std::make_shared<CUIGroup>("", false, false, 0u, 8, config);
    auto selectAll = std::make_shared<CUIImageButton>(config, 8, kImageParty);
    selectAll->SetSize(48, 48);
    selectAll->SetInfo("Select All", "", "Arrange Party");
    selectAll->SetFlag(UIF_BACKGROUND, true);
    selectAll->SetFlag(UIF_CENTRED, true);
    selectAll->SetFlag(UIF_ALT_IS_CLICK, false);
    column->AddChild(selectAll);
    const DRAV::ActorList party = game.GetParty();
    for (std::size_t i = 0; i < party.size(); ++i) {
        auto portrait = std::make_shared<CUIActionElement2>(
            config, kPortraitBase + kPortraitStep * static_cast<int>(i), true, false);
        portrait->Reset();
        ElementInfo::DescribeThing(portrait->GetInfo(), party[i].get(), nullptr);
        portrait->UpdateActionHint();
        portrait->SetFlag(UIF_BACKGROUND, true);
        portrait->SetFlag(UIF_SELECTED, m_selectedParty == kWholeParty || i == m_selectedParty);
        column->AddChild(portrait);
        m_portraits.push_back(portrait.get());
    }
    column->SetRect(Box(8, Height(*hover) + 16, 8 + Width(*column), Height(*hover) + 16 + Height(*column)));
    m_uiManager.AddElement(column);
}

void CDRAVApp::RefreshPortrait(const DRAV::CActor& actor) {
    if (m_actionBar) m_actionBar->ClearFilled();
    const DRAV::ActorList party = m_engine->GetGame()->GetParty();
    for (std::size_t i = 0; i < m_portraits.size() && i < party.size(); ++i) {
        if (party[i].get() != &actor) continue;
        m_portraits[i]->Reset();
        ElementInfo::DescribeThing(m_portraits[i]->GetInfo(), &actor, nullptr);
        m_portraits[i]->UpdateActionHint();
    }
    RequestRepaint();
}

void CDRAVApp::ShowActorInfo(DRAV::CActor& actor) {
    auto page = std::make_shared<CActorInfoDlg>(this, &actor);
    SetDialog(false, page);
    std::shared_ptr<CDRAVDlg> spending;
    if (page->MakeSpendPointsDlg(spending)) SetDialog(true, std::move(spending));
}

void CDRAVApp::ShowActorPage(DRAV::CActor& actor, int tab) {
    if (std::shared_ptr<CBaseActorDlg2> page = MakeActorSheetPage(this, actor, tab)) SetDialog(false, std::move(page));
}

void CDRAVApp::OnScreenButton(int id) {
    if (!m_gameRunning) return;
    const DRAV::ActorList party = m_engine->GetGame()->GetParty();
    if (id >= kPortraitBase && id <= kPortraitLast) {
        const std::size_t index = static_cast<std::size_t>((id - kPortraitBase) / kPortraitStep);
        if (index < party.size()) {
            // A potion or a spell waiting for its target takes the member shown,
            // rather than being put away by choosing her.
            if (!AimQuickActionAt(*party[index])) SelectActor(*party[index]);
            m_audio->PlaySound(0);
        }
        return;
    }
    if (id >= kSlotBase && id <= kSlotLast) {
        ChooseQuickAction(id - kSlotBase);
        return;
    }
    // Any other button of the screen puts the member's quick action away.
    EndQuickActionChoice();
    switch (id) {
        case 6:
            TogglePause(false);
            return;
        case 8:
            SelectAll();
            m_audio->PlaySound(0);
            return;
        case 10:
            UseAvailableExit();
            return;
        case 5:
            SetDialog(false, std::make_shared<CDRAVGameMenuDlg>(this));
            return;
        case 9:
            m_audio->PlaySound(0);
            ReturnToEntrance(GetSelectedActor());
            return;
        case 11:
            SetDialog(false, std::make_shared<CHelpDlg>(this, kHelpMainStart));
            return;
        default:
            return;
    }
}

void CDRAVApp::OnScreenAltClick(int id) {
    if (!m_gameRunning) return;
    if (id >= kPortraitBase && id <= kPortraitLast) {
        const DRAV::ActorList party = m_engine->GetGame()->GetParty();
        const std::size_t index = static_cast<std::size_t>((id - kPortraitBase) / kPortraitStep);
        if (index < party.size()) ShowActorInfo(*party[index]);
        return;
    }
    // Slots 4 to 9 take a new action; slots 0 to 3 have none to take.
    if (id >= kSlotBase + CUIActionWindow2::kFirstAssignableSlot && id < kSlotBase + CUIActionWindow2::kSlotCount) {
        OpenActionDialog(id - kSlotBase);
        return;
    }
    EndQuickActionChoice();
    switch (id) {
        case 1:
            SetDialog(false, std::make_shared<CDRAVMsgDlg>(this, &m_messageLog));
            return;
        case 3:
            ShowAreaMap();
            return;
        case 6:
            ToggleFastMove(true);
            return;
        case 8:
            SetDialog(false, std::make_shared<CPartyDlg>(this));
            return;
        default:
            return;
    }
}

void CDRAVApp::RenderGameView(const float target[3], int flags) {
    RECT viewport{};
    m_deviceWrapper->GetViewportRect(viewport);
    DRAVGraph::CCamera camera;
    camera.viewport = &viewport;
    camera.lookAt = target;
    if (!m_currentDialog) {
        if ((m_minimap && m_minimap->m_reversed) || (flags & 2) != 0)
            camera.yaw = static_cast<float>(std::fmod(510.0, 360.0));
        camera.showAll = (flags & 1) != 0 || m_paused;
        if (auto* hover = dynamic_cast<CUIHoverWindow*>(m_uiManager.GetHoverWindow())) {
            const ElementInfo& info = hover->GetShownInfo();
            if (info.kind == INFO_MAP_THING) camera.hoveredId = static_cast<std::uint32_t>(info.subjectId);
        }
    }
    if (m_minimap) {
        m_minimap->m_centreX = target[0];
        m_minimap->m_centreY = target[2];
    }
    m_graphicsManager.RenderScene(m_deviceWrapper.get(), *m_engine->GetGame(), camera);
}

void CDRAVApp::OnMouseMove(POINT point) {
    CUIBaseHoverWindow* hover = m_uiManager.GetHoverWindow();
    if (hover) hover->ShowInfo(ElementInfo());
    m_currentCursor = m_cursorArrow;
    if (m_uiManager.OnMouse(MOUSE_MOVE, &point, 0)) {
        ProcessUIEvents();
        SetCursor(m_currentCursor);
        return;
    }
    if (m_currentDialog) {
        RequestRepaint();
        return;
    }
    if (!m_gameRunning || !m_gameViewReady || !m_deviceWrapper) return;
    DRAV::CArea* area = m_engine->GetGame()->GetCurrentArea();
    if (!area) return;
    DRAVGraph::PickKind kind = DRAVGraph::PICK_NOTHING;
    DRAV::CThing* thing = nullptr;
    bool tileFlag = false;
    m_graphicsManager.PickAtScreen(m_deviceWrapper.get(), point.x, point.y, *area, kind, thing, tileFlag, false);
    if (hover) {
        ElementInfo info;
        ElementInfo::DescribeThing(info, thing, GetSelectedActor());
        hover->ShowInfo(info);
    }
    DRAV::CActor* selected = m_selectedParty == kWholeParty ? nullptr : GetSelectedActor();
    const int q = selected && HasQuickActions(*selected) ? GetCurrentQuickActionKind(*selected) : 0;
    switch (kind) {
        case DRAVGraph::PICK_TILE: {
            const auto* tile = dynamic_cast<const DRAV::CTile*>(thing);
            if (q == 10 || q == 11)
                m_currentCursor = m_cursorHand;
            else if (q != 0)
                m_currentCursor = m_cursorArrow;
            else if (tileFlag)
                m_currentCursor = m_cursorUpArrow;
            else if (tile && tile->GetMaster() && tile->GetMaster()->GetDefinition().GetKind() == DRAV::TILE_DOOR)
                m_currentCursor = m_cursorHand;
            else
                m_currentCursor = m_cursorSizeAll;
            break;
        }
        case DRAVGraph::PICK_OBJECT:
            m_currentCursor = m_cursorHand;
            break;
        case DRAVGraph::PICK_ACTOR: {
            const auto* actor = static_cast<const DRAV::CActor*>(thing);
            if (actor == selected)
                m_currentCursor = m_cursorArrow;
            else if (q == 0 && actor->GetRelation() == DRAV::RELATION_PARTY)
                m_currentCursor = m_cursorArrow;
            else if (q == 0 && ClickOnActor(*actor) == ActorClick::kAttack)
                m_currentCursor = m_cursorCross;
            else if (q == 2)
                m_currentCursor = m_cursorCross;
            else
                m_currentCursor = m_cursorHand;
            break;
        }
        default:
            m_currentCursor = m_cursorArrow;
            break;
    }
    if (m_mouseInside) SetCursor(m_currentCursor);
    RequestRepaint();
}
