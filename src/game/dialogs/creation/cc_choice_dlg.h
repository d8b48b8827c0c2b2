#pragma once
// The first creation pages: the starting level (only when the player asked to
// choose it), the gender and the class. Each writes its choice into the new actor
// the moment the button is pressed and opens the next page as it closes.

#include "game/dialogs/creation/cc_dlg.h"

class CCCLevelDlg : public CCCDlg {
public:
    static constexpr int kFirstLevel = 100;

    CCCLevelDlg(const CDRAVChapterInfo* chapter, CDRAVApp* app, std::shared_ptr<DRAV::CActor> actor)
        : CCCDlg(app, std::move(actor)), m_chapter(chapter) {}

    std::string GetTitle() override { return "Level"; }
    bool OnButton(int id) override;
    void OnClose(int result) override;
    std::string GetDescription() override;
    void CreatePage(RECT area, DRAVUI::CUIManager& container) override;

private:
    bool IsLevelId(int id) const;
    const CDRAVChapterInfo* m_chapter;
};

class CCCGenderDlg : public CCCDlg {
public:
    static constexpr int kMale = 100;
    static constexpr int kFemale = 101;

    using CCCDlg::CCCDlg;

    std::string GetTitle() override { return "Gender"; }
    bool OnButton(int id) override;
    void OnClose(int result) override;
    std::string GetDescription() override;
    void CreatePage(RECT area, DRAVUI::CUIManager& container) override;
};

class CCCClassDlg : public CCCDlg {
public:
    static constexpr int kFirstClass = 100;
    static constexpr int kFirstInfo = 200;

    using CCCDlg::CCCDlg;

    std::string GetTitle() override { return "Class"; }
    bool OnButton(int id) override;
    void OnClose(int result) override;
    std::string GetDescription() override;
    void CreatePage(RECT area, DRAVUI::CUIManager& container) override;
};

// The experience at which an actor of `level` above `baseLevel` stands.
std::uint32_t StartingExperience(std::int32_t baseLevel, std::int32_t level);
