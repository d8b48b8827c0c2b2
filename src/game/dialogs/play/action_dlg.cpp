#include "game/dialogs/play/action_dlg.h"

#include <algorithm>
#include <memory>

#include "engine/engine.h"
#include "game/app.h"
#include "game/dialogs/maps/help_dlg.h"
#include "game/dialogs/maps/help_pages.h"
#include "game/dialogs/sheet/item_dlg.h"
#include "game/dialogs/sheet/spell_dlg.h"
#include "platform/win32/virtual_keys.h"
#include "rules/items/item_template.h"
#include "rules/magic/spell.h"
#include "ui/element_info.h"
#include "ui/ui_action_element.h"
#include "ui/ui_background.h"
#include "ui/ui_button.h"
#include "ui/ui_group.h"
#include "ui/ui_hover_window.h"
#include "ui/ui_items_list.h"
#include "ui/ui_manager.h"
#include "ui/ui_spell_list.h"
#include "ui/ui_static_text.h"
#include "world/actor.h"
#include "world/item.h"

namespace {

constexpr int kHelpIconImage = 77;
constexpr int kDialogHeight = 480;
constexpr int kListCellSize = 48;

// The slot's present content for the preview, straight from the quick-action table.
class TableOwner : public DRAVUI::IQuickActionOwner {
public:
    TableOwner(CDRAVApp& app, DRAV::CActor& actor) : m_app(app), m_actor(actor) {}
    DRAV::CActor* GetSelectedActor() override { return &m_actor; }
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
    DRAV::CActor& m_actor;
};

std::shared_ptr<DRAV::CItem> BackpackItem(const DRAV::CActor& actor, int index) {
    const DRAV::ItemPtrList& backpack = actor.GetBackpackItems();
    return index >= 0 && static_cast<std::size_t>(index) < backpack.size() ? backpack[index] : nullptr;
}

const DRAV::CSpell* Ability(const DRAV::CActor& actor, int index) {
    const DRAV::SpellList spells = actor.GetSpells();
    return index >= 0 && static_cast<std::size_t>(index) < spells.size() ? spells[index] : nullptr;
}

}  // namespace

CActionDlg::CActionDlg(CDRAVApp* app, DRAV::CActor& actor, int slot) : CDRAVDlg(app), m_actor(&actor), m_slot(slot) {}

std::string CActionDlg::GetTitle() {
    if (m_slot == 2) return m_actor->GetName() + " - Select Action";
    return m_actor->GetName() + " - Select Quick Action " + std::to_string(m_slot + 1);
}

void CActionDlg::CreateControls(RECT area, DRAVUI::CUIManager& container) {
    const auto config = container.GetConfig();
    const int width = config->Pick(800, 640);
    const RECT box = CenteredBox(area, width, kDialogHeight);
    auto at = [&](int x, int y) { return POINT{box.left + x, box.top + y}; };

    auto help = std::make_shared<DRAVUI::CUIImageButton>(config, kHelp, kHelpIconImage);
    help->SetSize(40, 40);
    help->MoveTo(at(config->Pick(288, 224), 16));
    help->SetFlag(DRAVUI::UIF_CENTRED, true);
    container.AddElement(help);

    auto hover = std::make_shared<DRAVUI::CUIHoverWindow>(config);
    hover->MoveTo(at(16, 16));
    container.AddElement(hover);

    auto preview = std::make_shared<DRAVUI::CUIActionElement2>(config, 0, false, false);
    preview->MoveTo(at(config->Pick(400, 320), 16));
    container.AddElement(preview);
    m_preview = preview.get();

    const std::int32_t maxEnergy = m_actor->GetMaxEnergy();
    const std::int32_t energy = m_actor->IsAlive() ? std::max(0, maxEnergy - m_actor->GetEnergyUsed()) : 0;
    auto energyLine = std::make_shared<DRAVUI::CUIStaticText>(
        "Energy Points: " + std::to_string(energy) + "/" + std::to_string(maxEnergy), 0, config);
    const POINT energyAt = at(config->Pick(528, 432), 20);
    energyLine->SetRect(RECT{energyAt.x, energyAt.y, energyAt.x + config->Pick(256, 192), energyAt.y + 32});
    energyLine->SetFlag(DRAVUI::UIF_FRAMED | DRAVUI::UIF_CENTRED | DRAVUI::UIF_ONE_LINE, true);
    container.AddElement(energyLine);

    const int columns = config->Pick(7, 6);
    const int rows = config->Pick(5, 6);
    auto items = std::make_shared<DRAVUI::CUIItemsListWindow>(config, 0, "Backpack", columns, rows,
                                                              DRAVUI::CUIItemsListWindow::MODE_SHOWN);
    items->MoveTo(at(4, config->Pick(156, 124)));
    container.AddElement(items);
    m_itemList = items.get();

    auto abilities =
        std::make_shared<DRAVUI::CUISpellListWindow>(config, 0, columns, rows, true, true, "Abilities", false);
    abilities->MoveTo(at(config->Pick(404, 324), config->Pick(156, 124)));
    container.AddElement(abilities);
    m_abilityList = abilities.get();

    auto row = std::make_shared<DRAVUI::CUIGroup>("", true, false, 0u, 16, config);
    auto done = std::make_shared<DRAVUI::CUITextButton>(kDone, "Done", config);
    auto cancel = std::make_shared<DRAVUI::CUITextButton>(kCancel, "Cancel", config);
    for (const auto& button : {done, cancel}) {
        button->SetSize(config->Pick(80, 64), 32);
        row->AddChild(button);
    }
    row->CenterOn(POINT{RectCenter(box).x, box.bottom - 32});
    container.AddElement(row);
    m_doneButton = done.get();

    // Neither drawn nor hit: it only stretches the frame over the whole dialog.
    auto frame = std::make_shared<DRAVUI::CUIBackground>(config);
    frame->SetRect(box);
    frame->SetFlag(DRAVUI::UIF_SHOWN, false);
    container.AddElement(frame);

    Refresh();
}

void CActionDlg::Refresh() {
    if (!m_preview) return;
    if (m_chosenItem) {
        m_preview->Reset();
        DRAVUI::ElementInfo::DescribeThing(m_preview->GetInfo(), m_chosenItem, m_actor);
        m_preview->UpdateActionHint();
        m_preview->SetSlotLabel(m_slot);
    } else if (m_chosenAbility) {
        m_preview->SetAbility(*m_actor, *m_chosenAbility);
        m_preview->SetSlotLabel(m_slot);
    } else {
        TableOwner owner(*m_app, *m_actor);
        m_preview->SetQuickAction(*m_actor, m_slot, owner);
    }
    m_itemList->Fill(m_actor->GetBackpackItems(), kBackpackBase, m_actor, nullptr);
    if (m_chosenItem) m_itemList->SelectId(m_chosenItemId);
    m_abilityList->Fill(*m_actor, kAbilityBase, true);
    if (m_chosenAbility) m_abilityList->SelectId(m_chosenAbilityId);
    m_doneButton->SetFlag(DRAVUI::UIF_SHOWN, m_chosenItem || m_chosenAbility);
}

bool CActionDlg::OnButton(int id) {
    if (id == kDone || id == kCancel) return true;
    if (id == kHelp) {
        m_app->SetDialog(false, std::make_shared<CHelpDlg>(m_app, kHelpAction));
        return false;
    }
    if (id >= kBackpackBase && id < kBackpackBase + 1000) {
        m_chosenAbility = nullptr;
        const auto item = BackpackItem(*m_actor, id - kBackpackBase);
        if (item && m_actor->CanUseMagicItem(*item, false)) {
            m_chosenItem = item.get();
            m_chosenItemId = id;
            if (const auto& audio = m_app->GetAudio()) audio->PlaySound(0);
        } else {
            m_chosenItem = nullptr;
        }
        Refresh();
    } else if (id >= kAbilityBase && id < kAbilityBase + 1000) {
        m_chosenItem = nullptr;
        m_chosenAbility = Ability(*m_actor, id - kAbilityBase);
        m_chosenAbilityId = id;
        Refresh();
        if (const auto& audio = m_app->GetAudio()) audio->PlaySound(0);
    }
    return false;
}

bool CActionDlg::OnAltClick(int id) {
    if (id >= kBackpackBase && id < kBackpackBase + 1000) {
        if (const auto item = BackpackItem(*m_actor, id - kBackpackBase))
            m_app->SetDialog(false, std::make_shared<CItemDlg>(m_app, *item, m_actor, false));
    } else if (id >= kAbilityBase && id < kAbilityBase + 1000) {
        if (const DRAV::CSpell* spell = Ability(*m_actor, id - kAbilityBase))
            m_app->SetDialog(false, std::make_shared<CSpellDlg>(m_app, *spell, m_actor));
    }
    return false;
}

bool CActionDlg::OnKey(int key, bool, int* result) {
    *result = 0;
    if (key == static_cast<int>(VK_OEM_2)) {
        m_app->SetDialog(false, std::make_shared<CHelpDlg>(m_app, kHelpAction));
        return false;
    }
    return key == static_cast<int>(VK_ESCAPE) || key == static_cast<int>(VK_RETURN);
}

void CActionDlg::OnClose(int result) {
    if (result != kDone) return;
    if (m_chosenItem) {
        m_app->SetQuickActionKind(*m_actor, 10, m_slot);
        m_app->SetQuickActionItem(*m_actor, m_chosenItem->GetTemplate().GetKey(), m_slot);
    } else if (m_chosenAbility) {
        m_app->SetQuickActionKind(*m_actor, 11, m_slot);
        m_app->SetQuickActionSpell(*m_actor, m_chosenAbility->GetKey(), m_slot);
    }
    m_app->SelectQuickAction(*m_actor, m_slot);
    if (m_slot == 2) m_app->PerformQuickAction(*m_actor, 2);
}
