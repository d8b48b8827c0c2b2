#include "game/dialogs/front/chapter_dlg.h"

#include <memory>

#include "common/exception.h"
#include "game/app.h"
#include "game/dialogs/front/chapter_picture.h"
#include "game/dialogs/front/start_dlg.h"
#include "game/identity.h"
#include "platform/win32/shellapi.h"
#include "ui/ui_button.h"
#include "ui/ui_group.h"
#include "ui/ui_manager.h"
#include "ui/ui_text_element.h"

CChapterDlg::CChapterDlg(CDRAVApp* app, int chapterNumber)
    : CDRAVDlg(app),
      m_chapter(app->GetChapterTable().Find(chapterNumber)),
      m_previousChapter(app->GetChapterTable().Find(chapterNumber - 1)) {
    if (!m_chapter) throw CDRAVException(DRAV_ERR_UNEXPECTED, "no chapter " + std::to_string(chapterNumber));
    m_chapterAbsent = m_chapter->m_state != CDRAVChapterInfo::kStatePresent;
    if (m_chapterAbsent && !m_previousChapter)
        throw CDRAVException(DRAV_ERR_UNEXPECTED, "no chapter before chapter " + std::to_string(chapterNumber));
}

std::string CChapterDlg::GetTitle() {
    return m_chapterAbsent ? m_previousChapter->m_text3 : m_chapter->m_text1;
}

std::string CChapterDlg::BuildChapterText() const {
    std::string text = "Chapter " + std::to_string(m_chapter->m_chapterNumber) + ": ";
    if (m_chapterAbsent) return text + m_previousChapter->m_text3 + " LINE " + m_previousChapter->m_text4 + " LINE ";
    text += m_chapter->m_text1;
    const std::string version = m_chapter->GetVersionText();
    if (!version.empty()) text += " (" + version + ")";
    return text + " LINE " + m_chapter->m_text2 + " LINE ";
}

void CChapterDlg::CreateControls(RECT area, DRAVUI::CUIManager& container) {
    const auto config = container.GetConfig();
    auto page = std::make_shared<DRAVUI::CUIGroup>("", false, false, 0u, 16, config);

    auto picture = m_chapterAbsent ? MakeChapterPicture(config, m_previousChapter->m_package.get(), "next.jpg")
                                   : MakeChapterPicture(config, m_chapter->m_package.get(), "chapter.jpg");
    picture->SetSize(config->Pick(514, 730), config->Pick(258, 366));
    page->AddChild(picture);

    auto text = std::make_shared<DRAVUI::CUITextElement>(config, 0, BuildChapterText(), true, true);
    text->SetSize(config->Pick(960, 600), config->Pick(148, 104));
    page->AddChild(text);

    if (m_chapterAbsent) {
        auto purchase = std::make_shared<DRAVUI::CUITextButton>(kPurchaseInfo, "Chapter Website for Purchase Info", config);
        purchase->SetSize(256, 32);
        page->AddChild(purchase);
    }
    auto done = std::make_shared<DRAVUI::CUITextButton>(kDone, "Done", config);
    done->SetSize(m_chapterAbsent ? 256 : config->Pick(80, 64), 32);
    page->AddChild(done);

    page->CenterOn(RectCenter(area));
    container.AddElement(page);
}

void CChapterDlg::OnClose(int result) {
    if (result == kPurchaseInfo) {
        // A browser that does not start is not reported: the front page follows anyway.
        ShellExecuteA(nullptr, nullptr, ChapterPurchasePage(m_chapter->m_chapterNumber).c_str(), nullptr, nullptr,
                      SW_SHOW);
    }
    m_app->SetDialog(true, std::make_shared<CStartDlg>(m_app));
}

std::string ChapterPurchasePage(int chapterNumber) {
    std::string page = GetProductWebsite();
    // The configured address may end in a slash; the page name follows one slash.
    if (page.empty() || page.back() != '/') page += '/';
    return page + std::to_string(chapterNumber) + ".html";
}
