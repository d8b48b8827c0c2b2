#include "game/dialogs/dialog.h"

#include <algorithm>
#include <memory>

#include "platform/win32/virtual_keys.h"
#include "ui/ui_background.h"
#include "ui/ui_manager.h"
#include "ui/ui_static_text.h"

void CDRAVDlg::Create(RECT area, DRAVUI::CUIManager& container) {
    const auto config = container.GetConfig();
    // The background goes in first so that it is drawn under everything; its empty
    // rectangle on the centre keeps the frame around the middle of the area even
    // when the dialog adds nothing.
    auto background = std::make_shared<DRAVUI::CUIBackground>(config);
    background->SetFlag(DRAVUI::UIF_BACKGROUND, true);
    const POINT centre = RectCenter(area);
    background->SetRect(RECT{centre.x, centre.y, centre.x, centre.y});
    container.AddElement(background);

    CreateControls(area, container);

    RECT bounds{};
    container.GetBounds(bounds);
    const int margin = GetMargin();
    RECT titleRect{bounds.left, 0, bounds.right, bounds.top - margin + 4};
    titleRect.top = std::max<LONG>(0, titleRect.bottom - TitleHeight(*config));
    auto title = std::make_shared<DRAVUI::CUIStaticText>(GetTitle(), 0, config);
    title->SetRect(titleRect);
    title->SetFlag(DRAVUI::UIF_CENTRED | DRAVUI::UIF_ONE_LINE, true);
    container.AddElement(title);

    RECT frame{};
    container.GetBounds(frame);
    frame = DRAVUI::Inflated(frame, margin);
    frame.top += margin - 4;
    background->SetRect(frame);
}

bool CDRAVDlg::OnKey(int key, bool, int* result) {
    if (key != VK_ESCAPE && key != VK_RETURN) return false;
    *result = 0;
    return true;
}

bool CDRAVDlg::OnAltClick(int) { return false; }
void CDRAVDlg::OnBeginDrag(int) {}
void CDRAVDlg::OnEndDrag() {}
void CDRAVDlg::OnDrop(int, int) {}
void CDRAVDlg::OnSuspend() {}

POINT RectCenter(const RECT& rect) { return POINT{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2}; }

RECT CenteredBox(const RECT& outer, int width, int height) {
    const int dx = (outer.right - outer.left - width) / 2;
    const int dy = (outer.bottom - outer.top - height) / 2;
    return RECT{outer.left + dx, outer.top + dy, outer.right - dx, outer.bottom - dy};
}

std::string GetHoverVerb() { return "Hover"; }
std::string GetClickVerb() { return "Click"; }
std::string GetRightClickVerb() { return "Right-click"; }

int TitleHeight(const DRAVUI::CUIConfig& config) { return config.Pick(24, 16); }
int WideDialogWidth(const DRAVUI::CUIConfig& config) { return config.Pick(1056, 816); }
int WideDialogHeight(const DRAVUI::CUIConfig& config) { return config.Pick(560, 592); }
