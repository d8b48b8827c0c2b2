#include "game/dialogs/sheet/faction_dlg.h"

#include <algorithm>
#include <sstream>

#include "engine/engine.h"
#include "game/app.h"
#include "game/dialogs/sheet/spell_dlg.h"
#include "rules/definitions/faction.h"
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

namespace {

using namespace DRAVUI;

constexpr int kClickSound = 0;
constexpr int kSpacing = 16;
constexpr int kVisibleRanks = 5;

int ColumnWidth(const CUIConfig& config) { return config.Pick(400, 300); }
int RowHeight(const CUIConfig& config) { return config.Pick(36, 28); }
int RanksListHeight(const CUIConfig& config) { return kVisibleRanks * RowHeight(config) + kSpacing; }

std::shared_ptr<CUITextButton> MakeRow(const std::shared_ptr<CUIConfig>& config, int id, std::string label,
                                       bool selected) {
    auto button = std::make_shared<CUITextButton>(id, std::move(label), config);
    button->SetSize(ColumnWidth(*config), RowHeight(*config));
    button->SetFlag(UIF_CENTRED, false);
    button->SetFlag(UIF_SELECTED, selected);
    return button;
}

}  // namespace

CFactionDlg::CFactionDlg(CDRAVApp* app, const DRAV::CFaction* faction, DRAV::CActor* actor)
    : CDRAVDlg(app), m_faction(faction), m_actor(actor) {}

CFactionDlg::~CFactionDlg() { m_config.reset(); }

std::string CFactionDlg::GetTitle() { return m_faction->GetName(); }

std::string CFactionDlg::RankLabel(const DRAV::CFaction& faction, std::size_t rank) {
    const DRAV::FactionRankTitle& titles = faction.GetRankTitles().at(rank);
    std::string label = "Rank " + std::to_string(rank + 1) + ": " + titles.title;
    if (!titles.femaleTitle.empty() && titles.femaleTitle != titles.title) label += "/" + titles.femaleTitle;
    return label;
}

std::string CFactionDlg::AbilityLabel(const DRAV::CSpell& spell, std::int32_t requiredSkill) {
    std::vector<std::string> parts;
    if (spell.GetLevel() != -1) parts.push_back("Level " + std::to_string(spell.GetLevel()));
    if (spell.GetTier() != -1) parts.push_back("Spell Tier " + std::to_string(spell.GetTier()));
    if (requiredSkill != DRAV::SKILL_NONE) parts.push_back(DRAV::GetSkillName(static_cast<DRAV::SkillId>(requiredSkill)));
    std::string label = spell.GetName();
    for (std::size_t i = 0; i < parts.size(); ++i) label += (i == 0 ? " (" : ", ") + parts[i];
    if (!parts.empty()) label += ")";
    return label;
}

const DRAV::CSpell* CFactionDlg::SpellOf(std::size_t index) const {
    const auto& spells = m_faction->GetSpells();
    if (index >= spells.size()) return nullptr;
    const DRAV::SpellMap& table = m_app->GetEngine()->GetModule()->GetSpells();
    const auto found = table.find(spells[index]->GetSpellKey());
    return found == table.end() ? nullptr : found->second.get();
}

void CFactionDlg::CreateControls(RECT area, CUIManager& container) {
    m_config = container.GetConfig();
    const CUIConfig& config = *m_config;
    const RECT box = CenteredBox(area, config.Pick(1056, 816), config.Pick(560, 592));
    const int contentHeight = (box.bottom - box.top) - 48;
    const int columnWidth = ColumnWidth(config);

    auto outer = std::make_shared<CUIGroup>("", false, false, 0u, kSpacing, m_config);
    auto top = std::make_shared<CUIGroup>("", true, false, 0u, kSpacing, m_config);

    std::ostringstream description;
    DRAV::WriteFactionDescription(*m_faction, description);
    auto text = std::make_shared<CUITextElement>(m_config, 0, description.str(), true, true);
    text->SetSize((box.right - box.left) - (columnWidth + CUIListElement::kScrollBarWidth) - kSpacing, contentHeight);
    top->AddChild(text);

    auto lists = std::make_shared<CUIGroup>("", false, false, 0u, kSpacing, m_config);
    auto ranks = std::make_shared<CUIListElement>(m_config, 0, "Ranks", RowHeight(config), 1, columnWidth);
    ranks->SetSize(columnWidth + CUIListElement::kScrollBarWidth, RanksListHeight(config));
    auto abilities = std::make_shared<CUIListElement>(m_config, 0, "Abilities", RowHeight(config), 1, columnWidth);
    abilities->SetSize(columnWidth + CUIListElement::kScrollBarWidth,
                       contentHeight - kSpacing - RanksListHeight(config));
    lists->AddChild(ranks);
    lists->AddChild(abilities);
    top->AddChild(lists);
    outer->AddChild(top);
    m_ranksList = ranks.get();
    m_abilitiesList = abilities.get();
    FillLists();

    auto buttons = std::make_shared<CUIGroup>("", true, false, 0u, kSpacing, m_config);
    for (const auto& [id, label] : {std::pair{kManual, "Manual"}, std::pair{kDone, "Done"}}) {
        auto button = std::make_shared<CUITextButton>(id, label, m_config);
        button->SetSize(config.Pick(128, 96), 32);
        buttons->AddChild(button);
    }
    outer->AddChild(buttons);
    container.AddElement(outer);
    outer->CenterOn(RectCenter(box));
}

void CFactionDlg::FillLists() {
    m_ranksList->ClearRows();
    const auto& titles = m_faction->GetRankTitles();
    for (std::size_t i = 0; i < titles.size() && i <= kLastRank - kFirstRank; ++i)
        m_ranksList->AddCell(0, MakeRow(m_config, kFirstRank + static_cast<int>(i), RankLabel(*m_faction, i),
                                        static_cast<int>(i) == m_selectedRank));

    m_abilitiesList->ClearRows();
    const DRAV::SpellList known = m_actor ? m_actor->GetSpells() : DRAV::SpellList{};
    const auto& spells = m_faction->GetSpells();
    for (std::size_t j = 0; j < spells.size() && j <= kLastAbility - kFirstAbility; ++j) {
        if (spells[j]->GetRank() != static_cast<std::uint32_t>(m_selectedRank)) continue;
        // A key that names no spell of the module has nothing to show or open.
        const DRAV::CSpell* spell = SpellOf(j);
        if (!spell) continue;
        const bool has = std::find(known.begin(), known.end(), spell) != known.end();
        m_abilitiesList->AddCell(0, MakeRow(m_config, kFirstAbility + static_cast<int>(j),
                                            AbilityLabel(*spell, spells[j]->GetRequiredSkill()), has));
    }
    CUIScrollBar& bar = m_abilitiesList->ScrollBar();
    bar.m_position = std::min(m_savedScroll, bar.m_range);
    bar.UpdateThumb();
    m_savedScroll = 0;
}

bool CFactionDlg::OnButton(int id) {
    if (id == kDone || id == kManual) return true;
    if (id >= kFirstRank && id <= kLastRank) {
        m_selectedRank = id - kFirstRank;
        if (m_ranksList && m_abilitiesList) FillLists();
        if (m_app->GetAudio()) m_app->GetAudio()->PlaySound(kClickSound);
        m_app->RequestRepaint();
        return false;
    }
    if (id >= kFirstAbility && id <= kLastAbility) {
        if (const DRAV::CSpell* spell = SpellOf(static_cast<std::size_t>(id - kFirstAbility)))
            m_app->SetDialog(false, std::make_shared<CSpellDlg>(m_app, *spell, m_actor));
        return false;
    }
    return false;
}

void CFactionDlg::OnSuspend() {
    if (m_abilitiesList) m_savedScroll = m_abilitiesList->ScrollBar().m_position;
}

void CFactionDlg::OnClose(int result) {
    if (result == kManual) m_app->OpenManual("faction_" + m_faction->GetKey());
}
