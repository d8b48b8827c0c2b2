#include "game/dialogs/front/intro_dlg.h"

#include <memory>

#include "game/dialogs/front/chapter_picture.h"
#include "ui/ui_button.h"
#include "ui/ui_group.h"
#include "ui/ui_manager.h"
#include "ui/ui_text_element.h"

void CIntroDlg::CreateControls(RECT area, DRAVUI::CUIManager& container) {
    const auto config = container.GetConfig();
    auto column = std::make_shared<DRAVUI::CUIGroup>(m_chapter->m_text1, false, false, 0u, 16, config);

    // A chapter without its picture still starts: an empty frame of the same size stands in.
    auto picture = MakeChapterPicture(config, m_chapter->m_package.get(), "chapter.jpg");
    picture->SetSize(config->Pick(642, 730), config->Pick(322, 366));
    column->AddChild(picture);

    auto text = std::make_shared<DRAVUI::CUITextElement>(
        config, 0,
        "Chapter " + std::to_string(m_chapter->m_chapterNumber) + ": " + m_chapter->m_text1 + " LINE " +
            m_chapter->m_text2,
        true, true);
    text->SetSize(config->Pick(800, 600), config->Pick(176, 104));
    column->AddChild(text);

    auto done = std::make_shared<DRAVUI::CUITextButton>(kDone, "Done", config);
    done->SetSize(config->Pick(80, 64), 32);
    column->AddChild(done);

    container.AddElement(column);
    column->CenterOn(RectCenter(area));
}
