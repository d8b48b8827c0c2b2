#include "game/dialogs/sheet/skill_dlg.h"

#include <algorithm>
#include <sstream>
#include <vector>

#include "engine/engine.h"
#include "game/app.h"
#include "game/dialogs/sheet/spell_dlg.h"
#include "rules/descriptions/definition_descriptions.h"
#include "rules/magic/spell.h"
#include "rules/module.h"
#include "rules/vocabulary/skills.h"
#include "ui/ui_button.h"
#include "ui/ui_group.h"
#include "ui/ui_list_element.h"
#include "ui/ui_manager.h"
#include "ui/ui_text_element.h"
#include "world/actor.h"
#include "world/descriptions/actor_viewer.h"

namespace {

using namespace DRAVUI;

constexpr int kSpacing = 16;
constexpr const char* kLegend =
    "(x) This spell is not granted by this skill. LINE (y) This spell requires another skill to use.";

int ColumnWidth(const CUIConfig& config) { return config.Pick(400, 300); }
int RowHeight(const CUIConfig& config) { return config.Pick(36, 28); }

}  // namespace

CSkillDlg::CSkillDlg(CDRAVApp* app, DRAV::SkillId skill, DRAV::CActor* actor)
    : CDRAVDlg(app), m_skill(skill), m_actor(actor) {}

std::string CSkillDlg::GetTitle() { return DRAV::GetSkillName(m_skill); }

std::string CSkillDlg::EntryLabel(const DRAV::CSkillSpellEntry& entry) {
    const DRAV::CSpell& spell = *entry.spell;
    std::string label = spell.GetName();
    if (spell.GetLevel() != -1) label += " (Level " + std::to_string(spell.GetLevel()) + ")";
    if (spell.GetTier() != -1) label += " (Spell Tier " + std::to_string(spell.GetTier()) + ")";
    if (entry.schoolMatch && !entry.secondSkillMatch) label += " (x)";
    if (entry.secondSkillMatch && !entry.schoolMatch) label += " (y)";
    return label;
}

void CSkillDlg::CreateControls(RECT area, CUIManager& container) {
    const auto config = container.GetConfig();
    const RECT box = CenteredBox(area, config->Pick(1056, 816), config->Pick(560, 592));
    const int height = (box.bottom - box.top) - 48;
    const int legendWidth = config->Pick(424, 324);
    const int legendHeight = config->Pick(104, 72);
    const DRAV::CModule& module = *m_app->GetEngine()->GetModule();

    std::ostringstream description;
    if (m_actor) {
        const DRAV::CActorViewer viewer(*m_actor);
        DRAV::WriteSkillDescription(m_skill, &viewer, description);
    } else {
        DRAV::WriteSkillDescription(m_skill, nullptr, description);
    }
    auto text = std::make_shared<CUITextElement>(config, 0, description.str(), true, true);
    text->SetSize((box.right - box.left) - legendWidth - kSpacing, height);

    auto column = std::make_shared<CUIGroup>("", false, false, 0u, kSpacing, config);
    auto list = std::make_shared<CUIListElement>(config, 0, "Abilities", RowHeight(*config), 1, ColumnWidth(*config));
    list->SetSize(legendWidth, height - kSpacing - legendHeight);
    std::vector<DRAV::CSkillSpellEntry> entries;
    DRAV::CollectSkillSpells(m_skill, module, entries);
    const DRAV::SpellList known = m_actor ? m_actor->GetSpells() : DRAV::SpellList{};
    for (std::size_t i = 0; i < entries.size() && i <= kLastAbility - kFirstAbility; ++i) {
        auto button = std::make_shared<CUITextButton>(kFirstAbility + static_cast<int>(i), EntryLabel(entries[i]), config);
        button->SetSize(ColumnWidth(*config), RowHeight(*config));
        button->SetFlag(UIF_SELECTED, std::find(known.begin(), known.end(), entries[i].spell) != known.end());
        list->AddCell(0, button);
    }
    CUIScrollBar& bar = list->ScrollBar();
    bar.m_position = std::min(m_scrollPosition, bar.m_range);
    bar.UpdateThumb();
    m_scrollPosition = 0;
    m_list = list.get();
    column->AddChild(list);
    auto legend = std::make_shared<CUITextElement>(config, 0, kLegend, false, true);
    legend->SetSize(legendWidth, legendHeight);
    column->AddChild(legend);

    auto top = std::make_shared<CUIGroup>("", true, false, 0u, kSpacing, config);
    top->AddChild(text);
    top->AddChild(column);

    auto buttons = std::make_shared<CUIGroup>("", true, false, 0u, kSpacing, config);
    for (const auto& [id, label] : {std::pair{kManual, "Manual"}, std::pair{kDone, "Done"}}) {
        auto button = std::make_shared<CUITextButton>(id, label, config);
        button->SetSize(config->Pick(128, 96), 32);
        buttons->AddChild(button);
    }
    auto outer = std::make_shared<CUIGroup>("", false, false, 0u, kSpacing, config);
    outer->AddChild(top);
    outer->AddChild(buttons);
    container.AddElement(outer);
    outer->CenterOn(RectCenter(box));
}

bool CSkillDlg::OnButton(int id) {
    if (id == kDone || id == kManual) return true;
    if (id >= kFirstAbility && id <= kLastAbility) {
        std::vector<DRAV::CSkillSpellEntry> entries;
        DRAV::CollectSkillSpells(m_skill, *m_app->GetEngine()->GetModule(), entries);
        const auto index = static_cast<std::size_t>(id - kFirstAbility);
        if (index < entries.size())
            m_app->SetDialog(false, std::make_shared<CSpellDlg>(m_app, *entries[index].spell, m_actor));
    }
    return false;
}

void CSkillDlg::OnSuspend() {
    if (m_list) m_scrollPosition = m_list->ScrollBar().m_position;
}

void CSkillDlg::OnClose(int result) {
    if (result == kManual) m_app->OpenManual("skill_" + DRAV::GetSkillKey(m_skill));
}
