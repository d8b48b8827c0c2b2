#include "game/dialogs/sheet/actor_journal_dlg.h"

#include <sstream>

#include "common/exception.h"
#include "engine/engine.h"
#include "game/app.h"
#include "rules/definitions/journal_texts.h"
#include "rules/definitions/quest_info.h"
#include "rules/module.h"
#include "ui/ui_button.h"
#include "ui/ui_group.h"
#include "ui/ui_list_element.h"
#include "ui/ui_manager.h"
#include "ui/ui_text_element.h"
#include "world/game.h"
#include "world/journal_entry.h"
#include "world/people_journal.h"

namespace {

using namespace DRAVUI;

constexpr int kRowHeight = 32;
constexpr int kModeButtonHeight = 32;
constexpr int kClickSound = 0;

int ModeButtonWidth(const CUIConfig& config) { return config.Pick(192, 128); }

// The quest's own key is the tag its completion sets.
bool IsCompleted(const DRAV::CGame& game, const std::string& questKey) { return game.IsQuestTagSet(questKey); }

const DRAV::CQuestInfo* FindQuest(const DRAV::CModule& module, const std::string& key) {
    const auto found = module.GetQuests().find(key);
    return found == module.GetQuests().end() ? nullptr : found->second.get();
}

}  // namespace

CActorJournalDlg::CActorJournalDlg(CDRAVApp* app, DRAV::CActor* actor) : CBaseActorDlg2(app, actor) {}

CActorJournalDlg::~CActorJournalDlg() {
    m_rowKeys.clear();
    m_config.reset();
}

std::vector<std::string> CActorJournalDlg::KnownQuests(const DRAV::CModule& module, const DRAV::CGame& game,
                                                       bool hideFinished) {
    std::vector<std::string> keys;
    for (const auto& [key, quest] : module.GetQuests()) {
        // The table's "tag tested before the quest" is the quest's assignment.
        const std::string& assignment = quest->GetCompletionTag();
        const bool known = assignment.empty() ? IsCompleted(game, key) : game.IsQuestTagSet(assignment);
        if (!known || (hideFinished && IsCompleted(game, key))) continue;
        keys.push_back(key);
    }
    return keys;
}

std::string CActorJournalDlg::JournalText(const DRAV::CModule& module, const DRAV::CGame& game,
                                          const std::string& questKey, bool hideFinished) {
    std::ostringstream text;
    for (const auto& record : game.GetJournal()) {
        const std::string& recordQuest = record->GetQuestKey();
        if (!questKey.empty() && recordQuest != questKey) continue;
        if (hideFinished && !recordQuest.empty() && IsCompleted(game, recordQuest)) continue;
        text << game.FormatDateTime(record->GetTick());
        // A quest the module no longer defines loses its title, not its record.
        if (const DRAV::CQuestInfo* quest = recordQuest.empty() ? nullptr : FindQuest(module, recordQuest))
            text << ' ' << quest->GetName();
        text << " LINE ";
        const auto found = module.GetJournalTexts().find(record->GetJournalKey());
        if (found != module.GetJournalTexts().end())
            text << found->second;
        else
            text << "(The journal has no text for \"" << record->GetJournalKey() << "\".)";
        text << " LINE " << " LINE ";
    }
    return text.str();
}

void CActorJournalDlg::CreatePage(RECT page, CUIManager& container) {
    m_config = container.GetConfig();
    const auto& config = m_config;
    const int buttonWidth = ModeButtonWidth(*config);

    auto modes = std::make_shared<CUIGroup>("", true, false, 0u, 16, config);
    auto makeMode = [&](int id, const char* label) {
        auto button = std::make_shared<CUITextButton>(id, label, config);
        button->SetSize(buttonWidth, kModeButtonHeight);
        modes->AddChild(button);
        return button.get();
    };
    m_allButton = makeMode(kAllMode, "All");
    m_questsButton = makeMode(kQuestsMode, "Quests");
    m_peopleButton = makeMode(kPeopleMode, "People");
    auto hide = std::make_shared<CUICheckButton>(config, kHideFinished, "Hide Finished", true);
    hide->SetSize(buttonWidth, kModeButtonHeight);
    modes->AddChild(hide);
    m_hideFinished = hide.get();
    m_allButton->SetFlag(UIF_SELECTED, true);
    container.AddElement(modes);
    modes->CenterOn(POINT{(page.left + page.right) / 2, page.top + 16});

    const RECT content{page.left, page.top + 48, page.right, page.bottom};
    m_rowWidth = static_cast<int>(page.right - page.left) - CUIListElement::kScrollBarWidth;
    auto rows = std::make_shared<CUIListElement>(config, 0, "Quests", kRowHeight, 1, m_rowWidth);
    rows->SetFlag(UIF_LIST_TAKES_CELL_HITS, true);
    rows->SetFlag(UIF_SHOWN, false);
    rows->SetRect(content);
    container.AddElement(rows);
    m_rowList = rows.get();

    auto view = std::make_shared<CUITextElement>(config, 0, "", true, true);
    view->SetRect(content);
    container.AddElement(view);
    m_textView = view.get();

    Refresh();
}

int CActorJournalDlg::Mode() const {
    if (m_allButton && m_allButton->HasFlag(UIF_SELECTED)) return kAllMode;
    if (m_questsButton && m_questsButton->HasFlag(UIF_SELECTED)) return kQuestsMode;
    if (m_peopleButton && m_peopleButton->HasFlag(UIF_SELECTED)) return kPeopleMode;
    return 0;
}

bool CActorJournalDlg::HidesFinished() const { return m_hideFinished && m_hideFinished->m_checked; }

bool CActorJournalDlg::OnButton(int id) {
    const auto& audio = m_app->GetAudio();
    if (id == kAllMode || id == kQuestsMode || id == kPeopleMode) {
        for (CUITextButton* button : {m_allButton, m_questsButton, m_peopleButton})
            button->SetFlag(UIF_SELECTED, false);
        m_hideFinished->SetFlag(UIF_SHOWN, false);
        (id == kAllMode ? m_allButton : id == kQuestsMode ? m_questsButton : m_peopleButton)
            ->SetFlag(UIF_SELECTED, true);
        if (id != kPeopleMode) m_hideFinished->SetFlag(UIF_SHOWN, true);
        if (audio) audio->PlaySound(kClickSound);
        Refresh();
        return false;
    }
    if (id == kHideFinished) {
        if (audio) audio->PlaySound(kClickSound);
        Refresh();
        return false;
    }
    if (id >= kFirstRow && id <= kLastRow) {
        const auto index = static_cast<std::size_t>(id - kFirstRow);
        const int mode = Mode();
        if (mode != kQuestsMode && mode != kPeopleMode) throw CDRAVException(DRAV_ERR_UNEXPECTED, "");
        if (index >= m_rowKeys.size()) return false;
        const std::string key = m_rowKeys[index];
        if (mode == kQuestsMode)
            ShowJournalText(key);
        else
            ShowPersonText(key);
        if (audio) audio->PlaySound(kClickSound);
        return false;
    }
    return CBaseActorDlg2::OnButton(id);
}

void CActorJournalDlg::Refresh() {
    if (Mode() == kAllMode)
        ShowJournalText("");
    else
        ShowList();
}

void CActorJournalDlg::ShowText(bool text) {
    m_textView->SetFlag(UIF_SHOWN, text);
    m_rowList->SetFlag(UIF_SHOWN, !text);
}

void CActorJournalDlg::ShowList() {
    ShowText(false);
    m_rowKeys.clear();
    m_rowList->ClearRows();
    switch (Mode()) {
        case kQuestsMode:
            FillQuestList();
            return;
        case kPeopleMode:
            FillPeopleList();
            return;
        default:
            throw CDRAVException(DRAV_ERR_UNEXPECTED, "");
    }
}

void CActorJournalDlg::AddRow(const std::string& key, const std::string& text) {
    auto row = std::make_shared<CUITextButton>(kFirstRow + static_cast<int>(m_rowKeys.size()), text, m_config);
    row->SetSize(m_rowWidth, kRowHeight);
    m_rowKeys.push_back(key);
    m_rowList->AddCell(0, row);
}

void CActorJournalDlg::FillQuestList() {
    const DRAV::CModule& module = *m_app->GetEngine()->GetModule();
    for (const std::string& key : KnownQuests(module, *m_app->GetEngine()->GetGame(), HidesFinished()))
        AddRow(key, FindQuest(module, key)->GetName());
    m_rowList->SetCaption("Quests");
}

void CActorJournalDlg::FillPeopleList() {
    for (const auto& [key, person] : m_app->GetEngine()->GetGame()->GetPeopleJournal()) AddRow(key, person->GetName());
    m_rowList->SetCaption("People");
}

void CActorJournalDlg::ShowJournalText(const std::string& questKey) {
    ShowText(true);
    m_textView->SetText(
        JournalText(*m_app->GetEngine()->GetModule(), *m_app->GetEngine()->GetGame(), questKey, HidesFinished()));
}

void CActorJournalDlg::ShowPersonText(const std::string& personKey) {
    ShowText(true);
    const DRAV::PeopleJournal& people = m_app->GetEngine()->GetGame()->GetPeopleJournal();
    const auto found = people.find(personKey);
    if (found == people.end()) {
        m_textView->SetText("");
        return;
    }
    std::ostringstream text;
    text << found->second->GetName() << " LINE LINE ";
    found->second->WriteDescription(text);
    m_textView->SetText(text.str());
}
