#pragma once
// The base of every dialog: a plain object that builds its widgets into the UI
// manager whenever the application rebuilds the screen, and answers the clicks,
// drags and keys the application hands back to it by element id. Whatever must
// outlive a rebuild lives in the dialog's own fields.

#include <string>

#include "platform/win32/windef.h"
#include "ui/ui_config.h"

namespace DRAVUI {
class CUIManager;
}
class CDRAVApp;

class CDRAVDlg {
public:
    explicit CDRAVDlg(CDRAVApp* app) : m_app(app) {}
    virtual ~CDRAVDlg() = default;
    CDRAVDlg(const CDRAVDlg&) = delete;
    CDRAVDlg& operator=(const CDRAVDlg&) = delete;

    virtual std::string GetTitle() = 0;
    // Background, the dialog's controls, the title line above them and the frame
    // around everything. `area` is the client area in UI units.
    virtual void Create(RECT area, DRAVUI::CUIManager& container);
    virtual int GetMargin() { return 4; }
    virtual void CreateControls(RECT area, DRAVUI::CUIManager& container) = 0;
    // True closes the dialog with `id` as its result.
    virtual bool OnButton(int id) = 0;
    // True closes the dialog with `*result`; Esc and Enter close with 0.
    virtual bool OnKey(int key, bool shift, int* result);
    virtual bool OnAltClick(int id);
    virtual void OnBeginDrag(int id);
    virtual void OnEndDrag();
    virtual void OnDrop(int sourceId, int targetId);
    // Another dialog is being set over this one.
    virtual void OnSuspend();
    // Runs once the dialog is no longer current; the only place it acts on its result.
    virtual void OnClose(int result) = 0;

protected:
    CDRAVApp* m_app;
};

// ((left + right) / 2, (top + bottom) / 2), truncated toward zero.
POINT RectCenter(const RECT& rect);
// `outer` inset on each side so that a width x height box stands in its middle.
RECT CenteredBox(const RECT& outer, int width, int height);

std::string GetHoverVerb();
std::string GetClickVerb();
std::string GetRightClickVerb();

int TitleHeight(const DRAVUI::CUIConfig& config);
int WideDialogWidth(const DRAVUI::CUIConfig& config);
int WideDialogHeight(const DRAVUI::CUIConfig& config);
