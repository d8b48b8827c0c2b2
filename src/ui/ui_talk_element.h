#pragma once
// A conversation: the partner's lines, then the player's replies, in one column
// with a scroll bar; the word "LINE" in either ends a line. A reply under the mouse shows black on white and a click on
// reply n reports id firstChoiceId + n. The scroll position counts whole entries.

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "graphics/ui_font_draw.h"
#include "ui/ui_element.h"
#include "ui/ui_scroll_bar.h"

namespace DRAVUI {

class CUITalkElement : public CUIElement {
public:
    // Both lists stay the dialog's, alive and unchanged while the element exists.
    CUITalkElement(std::shared_ptr<CUIConfig> config, const std::vector<std::string>* texts,
                   const std::vector<std::string>* choices, std::int32_t firstChoiceId);

    void SetRect(const RECT& rect) override;
    void Realize(DRAVCommon::CXPDevice* device, CUIDrawHelp& help) override;
    void Draw(DRAVCommon::CXPDevice* device, CUIDrawHelp& help, CUISprite& sprite, const POINT* mouse) override;
    // The scroll bar, or a reply drawn at the last draw; lines and space are no hit.
    bool HitTest(const POINT* point, CUIElement** outElement, int* outId) override;
    bool FindScrollTarget(const POINT* point, CUIElement** out) override;
    void GetScrollBar(CUIScrollBar** out, int* lineStep) override;

    CUIScrollBar& ScrollBar() { return *m_scrollBar; }
    // Each reply's rectangle at the last draw; empty for a reply not drawn.
    const std::vector<RECT>& GetChoiceRects() const { return m_choiceRects; }
    // The rendered text of each entry drawn at the last draw, by its place in the column.
    const std::map<int, std::shared_ptr<CUITextTexture>>& GetTextCache() const { return m_textCache; }

private:
    const std::vector<std::string>* m_texts;
    const std::vector<std::string>* m_choices;
    std::int32_t m_firstChoiceId;
    std::shared_ptr<CUIScrollBar> m_scrollBar;
    std::vector<RECT> m_choiceRects;
    std::map<int, std::shared_ptr<CUITextTexture>> m_textCache;
};

}  // namespace DRAVUI
