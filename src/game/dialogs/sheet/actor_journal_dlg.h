#pragma once
// Tab 3 of the sheet: the party's journal. "All" shows every record under its date
// and quest title; "Quests" and "People" list what the party knows, and a row
// shows that quest's records or that person's notes. The journal is the game's,
// so every member's page shows the same.

#include <memory>
#include <string>
#include <vector>

#include "game/dialogs/sheet/base_actor_dlg2.h"

namespace DRAV {
class CGame;
class CModule;
}  // namespace DRAV
namespace DRAVUI {
class CUICheckButton;
class CUIListElement;
class CUITextButton;
class CUITextElement;
}  // namespace DRAVUI

class CActorJournalDlg : public CBaseActorDlg2 {
public:
    static constexpr int kAllMode = 200;
    static constexpr int kQuestsMode = 201;
    static constexpr int kPeopleMode = 202;
    static constexpr int kHideFinished = 203;
    static constexpr int kFirstRow = 1001;
    static constexpr int kLastRow = 1999;

    CActorJournalDlg(CDRAVApp* app, DRAV::CActor* actor);
    ~CActorJournalDlg() override;

    std::string GetTitle() override { return CBaseActorDlg2::GetTitle() + " - Journal"; }
    bool OnButton(int id) override;
    int GetTabIndex() override { return kJournalTab; }
    int GetHelpTopic() override { return 18; }
    void CreatePage(RECT page, DRAVUI::CUIManager& container) override;

    // Quest keys in the quest table's order: those whose assignment tag is set (or,
    // without one, whose own tag is), less the completed ones with `hideFinished`.
    static std::vector<std::string> KnownQuests(const DRAV::CModule& module, const DRAV::CGame& game,
                                                bool hideFinished);
    // The records of `questKey` (every record when empty), oldest first, each with
    // its date, its quest's title and its text, a blank line between them.
    static std::string JournalText(const DRAV::CModule& module, const DRAV::CGame& game, const std::string& questKey,
                                   bool hideFinished);

    const std::vector<std::string>& GetRowKeys() const { return m_rowKeys; }
    DRAVUI::CUITextElement* GetTextView() const { return m_textView; }
    DRAVUI::CUIListElement* GetRowList() const { return m_rowList; }

private:
    void Refresh();
    void ShowList();
    void FillQuestList();
    void FillPeopleList();
    void ShowJournalText(const std::string& questKey);
    void ShowPersonText(const std::string& personKey);
    void AddRow(const std::string& key, const std::string& text);
    void ShowText(bool text);
    bool HidesFinished() const;
    int Mode() const;

    std::shared_ptr<DRAVUI::CUIConfig> m_config;
    DRAVUI::CUITextButton* m_allButton = nullptr;
    DRAVUI::CUITextButton* m_questsButton = nullptr;
    DRAVUI::CUITextButton* m_peopleButton = nullptr;
    DRAVUI::CUICheckButton* m_hideFinished = nullptr;
    DRAVUI::CUIListElement* m_rowList = nullptr;
    std::vector<std::string> m_rowKeys;
    DRAVUI::CUITextElement* m_textView = nullptr;
    int m_rowWidth = 0;
};
