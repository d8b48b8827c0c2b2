#include "ui/ui_list_element.h"

#include <numeric>

#include "common/exception.h"
#include "platform/win32/rect.h"
#include "ui/ui_draw_help.h"

namespace DRAVUI {

CUIListElement::CUIListElement(std::shared_ptr<CUIConfig> config, int id, std::string caption, int rowHeight,
                               std::vector<int> columnWidths)
    : CUIElement(id, std::move(config)), m_caption(std::move(caption)), m_rowHeight(rowHeight) {
    SetColumns(std::move(columnWidths));
}

CUIListElement::CUIListElement(std::shared_ptr<CUIConfig> config, int id, std::string caption, int rowHeight,
                               int columnCount, int columnWidth)
    : CUIListElement(std::move(config), id, std::move(caption), rowHeight,
                     std::vector<int>(static_cast<std::size_t>(std::max(columnCount, 0)), columnWidth)) {}

void CUIListElement::SetColumns(std::vector<int> widths) {
    m_columns.clear();
    for (int width : widths) m_columns.push_back(Column{width, {}});
    m_rect = RECT{0, 0, kScrollBarWidth + std::accumulate(widths.begin(), widths.end(), 0), kCaptionHeight};
    m_scrollBar = std::make_shared<CUIScrollBar>(m_config);
    m_placedPosition = -1;
}

int CUIListElement::RowsInView() const {
    if (m_rowHeight <= 0) return 0;
    return std::max<LONG>(0, Height(m_rect) - kCaptionHeight) / m_rowHeight;
}

CUIElement* CUIListElement::Cell(std::size_t column, std::uint32_t row) const {
    if (column >= m_columns.size() || row >= m_columns[column].cells.size()) return nullptr;
    return m_columns[column].cells[row].get();
}

void CUIListElement::ClearRows() {
    for (auto& column : m_columns) column.cells.clear();
    m_scrollBar->m_range = 0;
    m_scrollBar->m_position = 0;
    m_scrollBar->UpdateThumb();
    m_placedPosition = -1;
}

void CUIListElement::AddCell(int column, std::shared_ptr<CUIElement> cell) {
    if (column < 0 || static_cast<std::size_t>(column) >= m_columns.size())
        throw CDRAVException(DRAV_ERR_OUT_OF_RANGE,
                             "list '" + m_caption + "' has no column " + std::to_string(column));
    auto& cells = m_columns[static_cast<std::size_t>(column)].cells;
    cells.push_back(std::move(cell));
    const auto rows = static_cast<std::size_t>(RowsInView());
    if (cells.size() > rows) {
        const auto needed = static_cast<std::uint32_t>(cells.size() - rows);
        if (needed > m_scrollBar->m_range) {
            m_scrollBar->m_range = needed;
            m_scrollBar->m_position = std::min(m_scrollBar->m_position, needed);
            m_scrollBar->UpdateThumb();
        }
    }
    m_placedPosition = -1;
}

void CUIListElement::ClearSelection() {
    for (auto& column : m_columns)
        for (auto& cell : column.cells) cell->SetFlag(UIF_SELECTED, false);
}

void CUIListElement::SelectId(int id) {
    for (auto& column : m_columns)
        for (auto& cell : column.cells)
            if (cell->GetId() == id) {
                cell->SetFlag(UIF_SELECTED, true);
                return;
            }
}

void CUIListElement::SetRect(const RECT& rect) {
    CUIElement::SetRect(rect);
    m_scrollBar->SetRect(RECT{rect.right - kScrollBarWidth, rect.top + kCaptionHeight, rect.right, rect.bottom});
    m_placedPosition = -1;
}

void CUIListElement::PlaceCells() {
    const std::uint32_t p = m_scrollBar->m_position;
    const int rows = m_rowHeight > 0 ? Height(m_rect) / m_rowHeight : 0;
    for (int r = 0; r < rows; ++r) {
        LONG x = 0;
        const LONG top = m_rect.top + kCaptionHeight + r * m_rowHeight;
        for (std::size_t c = 0; c < m_columns.size(); ++c) {
            CUIElement* cell = Cell(c, p + static_cast<std::uint32_t>(r));
            if (!cell) break;
            cell->SetRect(RECT{m_rect.left + x, top, m_rect.left + x + m_columns[c].width, top + m_rowHeight});
            x += m_columns[c].width;
        }
    }
    m_placedPosition = static_cast<std::int32_t>(p);
}

void CUIListElement::Realize(DRAVCommon::CXPDevice* device, CUIDrawHelp& help) {
    m_scrollBar->Realize(device, help);
    for (auto& column : m_columns)
        for (auto& cell : column.cells) cell->Realize(device, help);
}

void CUIListElement::Draw(DRAVCommon::CXPDevice* device, CUIDrawHelp& help, CUISprite& sprite, const POINT* mouse) {
    if (!HasFlag(UIF_SHOWN)) return;
    const std::uint32_t p = m_scrollBar->m_position;
    if (m_placedPosition != static_cast<std::int32_t>(p)) PlaceCells();
    if (HasFlag(UIF_SELECTED)) help.DrawBevel(sprite, 0xFF80FF80, 0xFF80FF80, Inflated(m_rect, 3), 3);
    else help.DrawBevel(sprite, 0xFFFFFFFF, 0xFFFFFFFF, Inflated(m_rect, 1), 1);
    const RECT captionBox{m_rect.left, m_rect.top, m_rect.right, m_rect.top + kCaptionHeight};
    if (!IsRectEmpty(&captionBox)) {
        // A name too long for the strip would wrap over the frame and the first row.
        if (m_shownFrom != m_caption || m_shownWidth != Width(captionBox)) {
            m_shownCaption = help.LargeFont().FitOnOneLine(m_caption, captionBox);
            m_shownFrom = m_caption;
            m_shownWidth = Width(captionBox);
        }
        help.LargeFont().DrawText(sprite, m_captionSlot, m_shownCaption, captionBox, 0xFFFFFFFF,
                                  CUIFontDraw::ALIGN_MIDDLE_CENTRE);
    }
    m_scrollBar->Draw(device, help, sprite, mouse);
    const int rows = RowsInView();
    for (int r = 0; r < rows; ++r) {
        LONG x = m_rect.left;
        const LONG top = m_rect.top + kCaptionHeight + r * m_rowHeight;
        for (std::size_t c = 0; c < m_columns.size(); ++c) {
            const RECT slot{x, top, x + m_columns[c].width, top + m_rowHeight};
            if (CUIElement* cell = Cell(c, p + static_cast<std::uint32_t>(r))) cell->Draw(device, help, sprite, mouse);
            else help.DrawBevel(sprite, 0xFF404040, 0xFF404040, slot, 1);
            x += m_columns[c].width;
        }
    }
}

CUIElement* CUIListElement::CellAt(POINT point) {
    if (point.y < m_rect.top + kCaptionHeight || m_rowHeight <= 0) return nullptr;
    // A scroll since the last frame moved the cells: hit them where the next frame draws them.
    if (m_placedPosition != static_cast<std::int32_t>(m_scrollBar->m_position)) PlaceCells();
    const std::uint32_t row =
        static_cast<std::uint32_t>((point.y - m_rect.top - kCaptionHeight) / m_rowHeight) + m_scrollBar->m_position;
    if (!Cell(0, row)) return nullptr;
    for (std::size_t c = 0; c < m_columns.size(); ++c) {
        CUIElement* cell = Cell(c, row);
        if (cell && cell->HitTest(&point, nullptr, nullptr)) return cell;
    }
    return nullptr;
}

bool CUIListElement::HitTest(const POINT* point, CUIElement** outElement, int* outId) {
    if (!IsUnder(point)) return false;
    if (m_scrollBar->HitTest(point, outElement, outId)) return true;
    if (CUIElement* cell = CellAt(*point); cell && cell->HitTest(point, outElement, outId)) {
        if (HasFlag(UIF_LIST_TAKES_CELL_HITS) && outElement) *outElement = this;
        return true;
    }
    if (m_id == 0) return false;
    return CUIElement::HitTest(point, outElement, outId);
}

int CUIListElement::OnMouse(int kind, const POINT* point) {
    CUIElement* cell = point ? CellAt(*point) : nullptr;
    if (!cell) return CUIElement::OnMouse(kind, point);
    const int answer = cell->OnMouse(kind, point);
    if (answer == ANSWER_CLICK) {
        ClearSelection();
        cell->SetFlag(UIF_SELECTED, true);
    }
    return answer;
}

bool CUIListElement::FindScrollTarget(const POINT* point, CUIElement** out) {
    const bool target = m_scrollBar->m_range > 0 && IsUnder(point);
    if (out) *out = target ? this : nullptr;
    return target;
}

void CUIListElement::GetScrollBar(CUIScrollBar** out, int* lineStep) {
    if (out) *out = m_scrollBar.get();
    if (lineStep) *lineStep = m_rowHeight;
}

}  // namespace DRAVUI
