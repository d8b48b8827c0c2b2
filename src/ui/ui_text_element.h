#pragma once
// Multi-line text panels: each line word-wrapped to the panel's width and broken
// at the word "LINE", drawn from the first shown line downward, or upward from it
// so that the newest line sits at the bottom, with an optional scroll bar whose
// position is the first shown line.

#include <deque>
#include <map>
#include <memory>
#include <string>

#include "graphics/ui_font_draw.h"
#include "ui/ui_element.h"
#include "ui/ui_scroll_bar.h"

namespace DRAVUI {

class CUIBaseTextElement : public CUIElement {
public:
    CUIBaseTextElement(int id, bool withScrollBar, bool fromTop, std::shared_ptr<CUIConfig> config);

    // Shows the deque, which stays its owner's and must outlive the panel. With a
    // scroll bar the range becomes the last line's index and the position the
    // first line (from the top) or the last.
    void SetLines(const std::deque<std::string>* lines);

    void SetRect(const RECT& rect) override;
    void Realize(DRAVCommon::CXPDevice* device, CUIDrawHelp& help) override;
    void Draw(DRAVCommon::CXPDevice* device, CUIDrawHelp& help, CUISprite& sprite, const POINT* mouse) override;
    // A shown panel always takes the mouse over its rectangle, even with id 0.
    bool HitTest(const POINT* point, CUIElement** outElement, int* outId) override;
    bool FindScrollTarget(const POINT* point, CUIElement** out) override;
    void GetScrollBar(CUIScrollBar** out, int* lineStep) override;

    // The lines drawn in the last frame, by index, with their rendered text.
    const std::map<int, std::shared_ptr<CUITextTexture>>& GetLineSlots() const { return m_lineSlots; }
    CUIScrollBar* GetScrollBarPointer() const { return m_scrollBar.get(); }

private:
    int LineStep() const { return m_config->Pick(20, 12); }

    bool m_fromTop;
    std::shared_ptr<CUIScrollBar> m_scrollBar;
    const std::deque<std::string>* m_lines = nullptr;
    std::map<int, std::shared_ptr<CUITextTexture>> m_lineSlots;
};

// The message log on the game screen, newest line at the bottom.
class CUIMessageWindow : public CUIBaseTextElement {
public:
    CUIMessageWindow(int id, const std::deque<std::string>* messageLog, bool clickable,
                     std::shared_ptr<CUIConfig> config);
};

// A text of its own, split into lines at the word "LINE", or an external list.
class CUITextElement : public CUIBaseTextElement {
public:
    CUITextElement(std::shared_ptr<CUIConfig> config, int id, std::string text, bool withScrollBar, bool fromTop);
    // The whole message log, scrollable, newest at the bottom.
    CUITextElement(std::shared_ptr<CUIConfig> config, const std::deque<std::string>* lines);

    // Words separated by white space; "LINE" ends a line (an empty one too) and
    // "GAMENAME" stands for the product title.
    void SetText(const std::string& text);

    const std::deque<std::string>& GetOwnLines() const { return m_ownLines; }

private:
    std::deque<std::string> m_ownLines;
};

}  // namespace DRAVUI
