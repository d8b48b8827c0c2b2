#include "game/dialogs/sheet/actor_info_dlg.h"

#include <sstream>

#include "engine/engine.h"
#include "game/app.h"
#include "game/dialogs/creation/attrib_dlg.h"
#include "game/dialogs/sheet/faction_dlg.h"
#include "game/dialogs/play/leave_party_confirm.h"
#include "game/dialogs/creation/skills_dlg.h"
#include "game/dialogs/sheet/spell_effects_dlg.h"
#include "rules/definitions/faction.h"
#include "rules/kinds/attack_info.h"
#include "rules/kinds/damage.h"
#include "rules/kinds/modifiers.h"
#include "rules/kinds/number_texts.h"
#include "rules/module.h"
#include "rules/vocabulary/actor_class.h"
#include "rules/vocabulary/attributes.h"
#include "rules/vocabulary/gender_race.h"
#include "rules/vocabulary/skills.h"
#include "ui/ui_background.h"
#include "ui/ui_button.h"
#include "ui/ui_manager.h"
#include "ui/ui_static_text.h"
#include "ui/ui_text_element.h"
#include "world/actor.h"

namespace {

using namespace DRAVUI;

constexpr int kRowHeight = 32;
constexpr int kFirstAttributeTop = 192;
constexpr int kSkillsBoxHeight = 128;
constexpr int kRoomForButton = 48;
constexpr int kAttributeCount = 5;
constexpr int kResistanceCategories = 3;

int InfoColumnWidth(const CUIConfig& config) { return config.Pick(304, 208); }
int LabelCellWidth(const CUIConfig& config) { return config.Pick(144, 112); }
int InfoValueCellWidth(const CUIConfig& config) { return config.Pick(160, 96); }
int InfoAttributeCellWidth(const CUIConfig& config) { return config.Pick(80, 48); }
// Offsets of the second and third columns; the effects box shares the second.
int SecondColumn(const CUIConfig& config) { return config.Pick(320, 224); }
int ThirdColumn(const CUIConfig& config) { return config.Pick(640, 448); }
constexpr int kEffectsTop = 240;
constexpr int kSpecialStatsTop = 144;
constexpr int kButtonTop = 320;

const char* const kBonusTexts[kAttributeCount] = {
    " to melee attack and damage.",      " to missile, defense, and escape.", " to hit points and fortitude.",
    " to energy, skills, and spells.", " to resolve, skills, and spells.",
};

// A cell of a row: a static text at the page offset, framed and on one line.
std::shared_ptr<CUIStaticText> MakeCell(CUIManager& container, const RECT& page, const std::string& text, int id,
                                        int x, int y, int width, CActorInfoDlg::ElementList* list) {
    auto cell = std::make_shared<CUIStaticText>(text, id, container.GetConfig());
    cell->SetFlag(UIF_FRAMED | UIF_ONE_LINE, true);
    cell->SetRect(RECT{page.left + x, page.top + y, page.left + x + width, page.top + y + kRowHeight});
    container.AddElement(cell);
    if (list) list->push_back(cell);
    return cell;
}

// A panel's background goes in after its cells and is fitted around them.
void AddBackground(CUIManager& container, CActorInfoDlg::ElementList& cells) {
    auto background = std::make_shared<CUIBackground>(container.GetConfig());
    background->FitAround(cells);
    container.AddElement(background);
    cells.clear();
}

const std::string& OrViewManual(const std::string& hint) {
    static const std::string kViewManual = "View Manual";
    return hint.empty() ? kViewManual : hint;
}

}  // namespace

CActorInfoDlg::CActorInfoDlg(CDRAVApp* app, DRAV::CActor* actor) : CBaseActorDlg2(app, actor) {}

std::string CActorInfoDlg::GetTitle() { return CBaseActorDlg2::GetTitle() + " - Information"; }

bool CActorInfoDlg::IsDead() const { return m_actor->GetActionState() == DRAV::ACTION_DEAD; }

std::int32_t CActorInfoDlg::AttributeBonus(std::int32_t value) { return (value - 10) * 5 / 2; }

std::string CActorInfoDlg::SkillsText(const DRAV::CActor& actor) {
    std::string text = "Skills: LINE ";
    for (DRAV::SkillId skill : actor.GetSkills()) {
        if (skill >= DRAV::kSkillCount) continue;
        if (DRAV::GetSkillInfo(skill).skillClass == DRAV::CLASS_MONSTER) continue;
        text += DRAV::GetSkillName(skill) + " LINE ";
    }
    return text;
}

void CActorInfoDlg::AddTextLine(CUIManager& container, const RECT& page, const std::string& text, POINT pos,
                                ElementList* list, int id, const std::string& infoTitle, const std::string& hint) {
    auto cell = MakeCell(container, page, text, id, pos.x, pos.y, InfoColumnWidth(*container.GetConfig()), list);
    if (id == 0) return;
    cell->SetFlag(UIF_BACKGROUND, true);
    cell->SetInfo(infoTitle, "", OrViewManual(hint));
}

void CActorInfoDlg::AddLabelValueRow(CUIManager& container, const RECT& page, const std::string& label,
                                     const std::string& value, POINT pos, ElementList* list, int id,
                                     const std::string& hint) {
    const CUIConfig& config = *container.GetConfig();
    const int labelWidth = LabelCellWidth(config);
    auto labelCell = MakeCell(container, page, label, id, pos.x, pos.y, labelWidth, list);
    auto valueCell = MakeCell(container, page, value, id, pos.x + labelWidth, pos.y, InfoValueCellWidth(config), list);
    valueCell->SetFlag(UIF_CENTRED, true);
    if (id == 0) return;
    for (CUIStaticText* cell : {labelCell.get(), valueCell.get()}) {
        cell->SetFlag(UIF_BACKGROUND, true);
        cell->SetInfo(label, "", OrViewManual(hint));
    }
}

void CActorInfoDlg::AddCurrentMaxRow(CUIManager& container, const RECT& page, const std::string& label,
                                     std::int32_t current, std::int32_t maximum, POINT pos, ElementList* list, int id) {
    AddLabelValueRow(container, page, label, std::to_string(current) + "/" + std::to_string(maximum), pos, list, id,
                     "View Manual");
}

void CActorInfoDlg::AddAttributeRow(CUIManager& container, const RECT& page, const std::string& name,
                                    std::int32_t value, std::int32_t bonus, const std::string& bonusText, POINT pos,
                                    ElementList* list, int id) {
    const CUIConfig& config = *container.GetConfig();
    const int nameWidth = LabelCellWidth(config);
    const int cellWidth = InfoAttributeCellWidth(config);
    auto nameCell = MakeCell(container, page, name, id, pos.x, pos.y, nameWidth, list);
    if (id != 0) {
        nameCell->SetFlag(UIF_BACKGROUND, true);
        nameCell->SetInfo(name, "", "View Manual");
    }
    auto valueCell = MakeCell(container, page, std::to_string(value), 0, pos.x + nameWidth, pos.y, cellWidth, list);
    auto bonusCell =
        MakeCell(container, page, DRAV::FormatSignedValue(bonus), 0, pos.x + nameWidth + cellWidth, pos.y, cellWidth,
                 list);
    for (CUIStaticText* cell : {valueCell.get(), bonusCell.get()}) {
        cell->SetFlag(UIF_CENTRED, true);
        if (!bonusText.empty()) cell->SetInfoNoAction("Bonus", bonusText);
    }
}

void CActorInfoDlg::CreatePage(RECT page, CUIManager& container) {
    CreateIdentityPanel(container, page);
    CreateVitalsPanel(container, page);
    CreateAttributePanel(container, page);
    CreateDetailsPanel(container, page);
    CreateSkillsBox(container, page);
    CreateEffectsBox(container, page);
    const bool buttonShown = CreateButton(container, page);
    CreateSpecialStatsBox(container, page, buttonShown);
}

void CActorInfoDlg::CreateIdentityPanel(CUIManager& container, const RECT& page) {
    const DRAV::CActor& actor = *m_actor;
    ElementList cells;
    AddTextLine(container, page,
                actor.GetName() + " (" + DRAV::GetRaceName(actor.GetRace()) + "/" +
                    DRAV::GetGenderLetter(actor.GetGender()) + ")",
                POINT{0, 0}, &cells, 0, "", "");

    const std::string className = actor.GetClass() == DRAV::CLASS_MONSTER ? DRAV::GetRaceName(actor.GetRace())
                                                                          : DRAV::GetClassName(actor.GetClass());
    const std::string classLine = className + " " + std::to_string(actor.GetLevel()) + " (" +
                                  std::to_string(actor.GetExperience()) + "/" +
                                  std::to_string(actor.GetNextLevelExperience()) +
                                  ")";
    AddTextLine(container, page, classLine, POINT{0, kRowHeight}, &cells, kClassLine, "Class", "View Manual");

    if (const DRAV::CFaction* faction = actor.GetFaction()) {
        AddTextLine(container, page, actor.GetFactionText(), POINT{0, 2 * kRowHeight}, &cells, kFactionLine,
                    faction->GetName(), "Faction Info");
    } else {
        AddTextLine(container, page, actor.GetFactionText(), POINT{0, 2 * kRowHeight}, &cells, 0, "", "");
    }
    AddBackground(container, cells);
}

void CActorInfoDlg::CreateVitalsPanel(CUIManager& container, const RECT& page) {
    const DRAV::CActor& actor = *m_actor;
    ElementList cells;
    const std::int32_t maxHitPoints = actor.GetMaxHitPoints();
    if (IsDead()) {
        AddLabelValueRow(container, page, "Hit Points", "Dead", POINT{0, 112}, &cells, kHitPointsRow, "View Manual");
    } else {
        AddCurrentMaxRow(container, page, "Hit Points", maxHitPoints - actor.GetDamageTaken(), maxHitPoints,
                         POINT{0, 112}, &cells, kHitPointsRow);
    }
    const std::int32_t maxEnergy = actor.GetMaxEnergy();
    const std::int32_t energy = IsDead() ? 0 : std::max(0, maxEnergy - actor.GetEnergyUsed());
    AddCurrentMaxRow(container, page, "Energy Points", energy, maxEnergy, POINT{0, 144}, &cells, kEnergyRow);
    AddBackground(container, cells);
}

void CActorInfoDlg::CreateAttributePanel(CUIManager& container, const RECT& page) {
    const DRAV::CActor& actor = *m_actor;
    ElementList cells;
    for (int i = 0; i < kAttributeCount; ++i) {
        const auto attribute = static_cast<DRAV::Attribute>(i);
        const std::int32_t value = static_cast<std::int32_t>(actor.GetAttribute(attribute)) +
                                   actor.GetModifier(DRAV::GetAttributeModifierIndex(attribute));
        const std::int32_t bonus = AttributeBonus(value);
        AddAttributeRow(container, page, DRAV::GetAttributeName(attribute), value, bonus,
                        DRAV::FormatSignedValue(bonus) + kBonusTexts[i], POINT{0, kFirstAttributeTop + kRowHeight * i},
                        &cells, kFirstAttributeName + i);
    }
    AddBackground(container, cells);
}

void CActorInfoDlg::CreateDetailsPanel(CUIManager& container, const RECT& page) {
    const DRAV::CActor& actor = *m_actor;
    const DRAV::CModule& module = *m_app->GetEngine()->GetModule();
    const int x = SecondColumn(*container.GetConfig());
    const bool dualWield = actor.GetFightingStyle() == DRAV::SKILL_DUAL_WIELD_STYLE;
    ElementList cells;

    std::string attack = DRAV::FormatSignedValue(actor.GetAttackBonus(0, false, false, nullptr).attackBonus);
    if (dualWield) attack += "/" + DRAV::FormatSignedValue(actor.GetAttackBonus(1, false, false, nullptr).attackBonus);
    AddLabelValueRow(container, page, "Attack", attack, POINT{x, 0}, &cells, kAttackRow, "Details");

    auto damageText = [&](std::int32_t hand) {
        std::string text = actor.GetAttackBonus(hand, false, false, nullptr).GetDamageText();
        if (actor.GetAttackSpell(module, hand)) text += "*";
        return text;
    };
    AddLabelValueRow(container, page, "Damage", damageText(0), POINT{x, kRowHeight}, &cells, kDamageRow, "Details");
    AddLabelValueRow(container, page, "Offhand", dualWield ? damageText(1) : "", POINT{x, 2 * kRowHeight}, &cells,
                     kOffhandRow, "Details");
    AddLabelValueRow(container, page, "Defense", std::to_string(actor.GetDefenseClass(false, nullptr)),
                     POINT{x, 3 * kRowHeight}, &cells, kDefenseRow, "Details");
    for (int c = 0; c < kResistanceCategories; ++c) {
        const DRAV::CDamageType type{static_cast<DRAV::DamageCategory>(c), DRAV::ELEMENT_NONE};
        AddLabelValueRow(container, page, type.GetFullName(), std::to_string(actor.GetCategoryResistance(type, nullptr)),
                         POINT{x, (4 + c) * kRowHeight}, &cells, kFirstResistanceRow + c, "Details");
    }
    AddBackground(container, cells);
}

void CActorInfoDlg::CreateSkillsBox(CUIManager& container, const RECT& page) {
    const auto config = container.GetConfig();
    auto box = std::make_shared<CUITextElement>(config, kSkillsBox, SkillsText(*m_actor), true, true);
    box->SetFlag(UIF_TEXT_HOVER, true);
    box->SetInfo("Skills", "", "Skill Chart");
    const int x = ThirdColumn(*config);
    box->SetRect(RECT{page.left + x, page.top, page.left + x + InfoColumnWidth(*config), page.top + kSkillsBoxHeight});
    container.AddElement(box);
}

void CActorInfoDlg::CreateEffectsBox(CUIManager& container, const RECT& page) {
    const auto config = container.GetConfig();
    std::string text;
    m_actor->GetEffectsText(true, text);
    if (text.empty()) text = "Effects: none LINE ";
    auto box = std::make_shared<CUITextElement>(config, kEffectsBox, text, true, true);
    box->SetFlag(UIF_TEXT_HOVER, true);
    box->SetInfo("Effects", "", "Effect List");
    const int x = SecondColumn(*config);
    box->SetRect(RECT{page.left + x, page.top + kEffectsTop, page.left + x + InfoColumnWidth(*config), page.bottom});
    container.AddElement(box);
}

bool CActorInfoDlg::CreateButton(CUIManager& container, const RECT& page) {
    const auto config = container.GetConfig();
    std::shared_ptr<CUITextButton> button;
    if (IsDead()) {
        // Only the real main character stays: the engine's leave-party order and the
        // main-actor lookup compare the whole tag.
        if (!m_actor->IsMainCharacter()) button = std::make_shared<CUITextButton>(kLeaveParty, "Leave Party", config);
    } else if (m_actor->HasLevelPoints()) {
        button = std::make_shared<CUITextButton>(kSpendPoints, "Spend Level Points", config);
        button->SetFlag(UIF_SELECTED, true);
    }
    if (!button) return false;
    const int x = ThirdColumn(*config);
    button->SetRect(RECT{page.left + x, page.top + kButtonTop, page.left + x + InfoColumnWidth(*config),
                         page.top + kButtonTop + kRowHeight});
    container.AddElement(button);
    return true;
}

void CActorInfoDlg::CreateSpecialStatsBox(CUIManager& container, const RECT& page, bool buttonShown) {
    const auto config = container.GetConfig();
    auto box = std::make_shared<CUITextElement>(
        config, 0, SpecialStatsText(*m_actor, *m_app->GetEngine()->GetGame()), true, true);
    RECT rect = page;
    rect.left += ThirdColumn(*config);
    rect.top += kSpecialStatsTop;
    if (buttonShown) rect.bottom -= kRoomForButton;
    box->SetRect(rect);
    container.AddElement(box);
}

bool CActorInfoDlg::MakeSpendPointsDlg(std::shared_ptr<CDRAVDlg>& dialog) {
    if (IsDead()) return false;
    std::int32_t classPicks = 0;
    std::int32_t generalPicks = 0;
    m_actor->GetUnspentSkillPicks(classPicks, generalPicks);
    if (m_actor->GetUnspentPoints() > 0) {
        dialog = std::make_shared<CAttribDlg>(m_app, m_actor);
        return true;
    }
    if (classPicks <= 0 && generalPicks <= 0) return false;
    dialog = std::make_shared<CSkillsDlg>(m_app, m_actor);
    return true;
}

bool CActorInfoDlg::OnButton(int id) {
    if (id == kSpendPoints) {
        std::shared_ptr<CDRAVDlg> dialog;
        if (MakeSpendPointsDlg(dialog)) m_app->SetDialog(false, std::move(dialog));
        return false;
    }
    if (id == kLeaveParty) return true;
    return CBaseActorDlg2::OnButton(id);
}

bool CActorInfoDlg::OnAltClick(int id) {
    std::shared_ptr<CDRAVDlg> dialog;
    switch (id) {
        case kFactionLine:
            if (!m_actor->GetFaction()) return CBaseActorDlg2::OnAltClick(id);
            dialog = std::make_shared<CFactionDlg>(m_app, m_actor->GetFaction(), m_actor);
            break;
        case kSkillsBox:
            dialog = std::make_shared<CSkillsDlg>(m_app, m_actor);
            break;
        case kEffectsBox:
            dialog = std::make_shared<CSpellEffectsDlg>(m_app, *m_actor);
            break;
        case kClassLine:
            m_app->OpenManual("Class");
            return false;
        case kHitPointsRow:
            m_app->OpenManual("Hit_Points");
            return false;
        case kEnergyRow:
            m_app->OpenManual("Energy");
            return false;
        default:
            if (id >= kFirstAttributeName && id <= kLastAttributeName) {
                m_app->OpenManual("Attributes");
                return false;
            }
            if (id >= kFirstResistanceRow && id <= kLastResistanceRow) {
                ShowResistanceDetails(id);
                return false;
            }
            if (id >= kAttackRow && id <= kDefenseRow) {
                ShowAttackDetails(id);
                return false;
            }
            return CBaseActorDlg2::OnAltClick(id);
    }
    m_app->SetDialog(false, std::move(dialog));
    return false;
}

void CActorInfoDlg::OnClose(int result) {
    if (result != kLeaveParty) {
        CBaseActorDlg2::OnClose(result);
        return;
    }
    std::ostringstream question;
    question << "Are you certain that you want to remove " << m_actor->GetName()
             << " from the party? That character will be lost forever.";
    m_app->SetDialog(true, std::make_shared<CLeavePartyConfirm>(m_app, "Leave Party?", question.str(), m_actor));
}
