#pragma once
// A scrolling grid of widgets: a 16-unit caption strip (one line, cut short when
// too long), fixed-width columns, rows
// of one height and a scroll bar at the right. The list places the cells of the
// rows in view, frames empty slots, passes the mouse to the cell under it and can
// keep one cell selected.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "graphics/ui_font_draw.h"
#include "ui/ui_element.h"
#include "ui/ui_scroll_bar.h"

namespace DRAVUI {

class CUIListElement : public CUIElement {
public:
    static constexpr int kCaptionHeight = 16;
    static constexpr int kScrollBarWidth = 24;

    CUIListElement(std::shared_ptr<CUIConfig> config, int id, std::string caption, int rowHeight,
                   std::vector<int> columnWidths);
    // `columnCount` columns of `columnWidth`.
    CUIListElement(std::shared_ptr<CUIConfig> config, int id, std::string caption, int rowHeight, int columnCount,
                   int columnWidth);

    // One empty column per width; the list becomes as wide as its columns and bar
    // and as high as its caption strip.
    void SetColumns(std::vector<int> widths);
    void ClearRows();
    void SetCaption(std::string caption) { m_caption = std::move(caption); }
    const std::string& GetCaption() const { return m_caption; }
    // The caption as the last draw showed it: on one line, cut short when too long.
    const std::string& GetShownCaption() const { return m_shownCaption; }
    // Appends to a column; the scroll range grows to show the column's last cell.
    // A column the list does not have is code 2.
    void AddCell(int column, std::shared_ptr<CUIElement> cell);
    void ClearSelection();
    // Selects the first cell with the id, columns left to right, cells top down.
    void SelectId(int id);
    CUIElement* CellAt(POINT point);
    // Rows that fit below the caption strip; none when the rows have no height.
    int RowsInView() const;

    void SetRect(const RECT& rect) override;
    void Realize(DRAVCommon::CXPDevice* device, CUIDrawHelp& help) override;
    void Draw(DRAVCommon::CXPDevice* device, CUIDrawHelp& help, CUISprite& sprite, const POINT* mouse) override;
    bool HitTest(const POINT* point, CUIElement** outElement, int* outId) override;
    int OnMouse(int kind, const POINT* point) override;
    bool FindScrollTarget(const POINT* point, CUIElement** out) override;
    void GetScrollBar(CUIScrollBar** out, int* lineStep) override;

    CUIScrollBar& ScrollBar() { return *m_scrollBar; }
    // The cells of a column, top to bottom; none for a column the list lacks.
    const std::vector<std::shared_ptr<CUIElement>>& GetColumn(std::size_t column) const {
        static const std::vector<std::shared_ptr<CUIElement>> kNone;
        return column < m_columns.size() ? m_columns[column].cells : kNone;
    }

private:
    struct Column {
        int width;
        std::vector<std::shared_ptr<CUIElement>> cells;
    };

    void PlaceCells();
    CUIElement* Cell(std::size_t column, std::uint32_t row) const;

    std::string m_caption;
    std::shared_ptr<CUIScrollBar> m_scrollBar;
    int m_rowHeight;
    std::vector<Column> m_columns;
    std::int32_t m_placedPosition = -1;
    std::shared_ptr<CUITextTexture> m_captionSlot;
    // The caption fitted to the strip, and what it was fitted from.
    std::string m_shownCaption;
    std::string m_shownFrom;
    LONG m_shownWidth = -1;
};

}  // namespace DRAVUI
