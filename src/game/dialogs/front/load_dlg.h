#pragma once
// "Load Game": one row per saved game of the save folder, its title to continue it
// and "Delete" to remove it after a question. The folder is read when the dialog
// is made; every return from the question makes a new dialog that reads it again.

#include <memory>
#include <string>

#include "game/chapter_info.h"
#include "game/dialogs/yes_no_dlg.h"
#include "game/load_info.h"

// What continuing a row does.
enum class LoadRoute {
    Load,             // LoadGame, into the next chapter for a completed one
    Congratulations,  // the last chapter was completed: nothing to load
    ChapterPage,      // the next chapter is not installed: its chapter page
    Unknown,          // a chapter the table does not know: "Load Error"
};
LoadRoute ChooseLoadRoute(const CLoadInfoItem& row, const ChapterInfoMap& table);

class CLoadDlg : public CDRAVDlg {
public:
    static constexpr int kCancel = 1;
    static constexpr int kFirstGame = 100;
    static constexpr int kFirstDelete = 200;
    static constexpr int kMostRows = 100;

    explicit CLoadDlg(CDRAVApp* app);

    std::string GetTitle() override { return "Load Game"; }
    void CreateControls(RECT area, DRAVUI::CUIManager& container) override;
    bool OnButton(int id) override;
    void OnClose(int result) override;

    const std::shared_ptr<CLoadInfo>& GetList() const { return m_list; }

private:
    void Continue(const CLoadInfoItem& row);

    std::shared_ptr<CLoadInfo> m_list;
};

class CLoadDlgConfirm : public CYesNoDlg {
public:
    // `list` keeps `row` alive while the question is open.
    CLoadDlgConfirm(CDRAVApp* app, std::shared_ptr<CLoadInfo> list, const CLoadInfoItem* row);

    void OnYes() override;
    void OnNo() override;

private:
    std::shared_ptr<CLoadInfo> m_list;
    const CLoadInfoItem* m_row;
};
