#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include "common/exception.h"
#include "dialog_test_support.h"
#include "game/dialogs/dialog.h"
#include "game/dialogs/front/start_dlg.h"
#include "platform/win32/virtual_keys.h"
#include "ui/ui_button.h"
#include "ui/ui_manager.h"

namespace {

using QuillmereTest::ShellOnSample;

// A dialog whose reactions the test writes; it shows one button of its own id.
class StubDlg : public CDRAVDlg {
public:
    StubDlg(CDRAVApp* app, std::string title, int buttonId = 7)
        : CDRAVDlg(app), m_title(std::move(title)), m_buttonId(buttonId) {}

    std::string GetTitle() override { return m_title; }
    void CreateControls(RECT area, DRAVUI::CUIManager& container) override {
        ++builds;
        if (m_buttonId == 0) return;
        auto button = std::make_shared<DRAVUI::CUITextButton>(m_buttonId, "Go", container.GetConfig());
        button->SetRect(RECT{area.left + 100, area.top + 100, area.left + 200, area.top + 132});
        container.AddElement(button);
    }
    bool OnButton(int id) override {
        log.push_back("button " + std::to_string(id));
        return onButton ? onButton(id) : false;
    }
    void OnBeginDrag(int id) override { log.push_back("begin drag " + std::to_string(id)); }
    void OnEndDrag() override { log.push_back("end drag"); }
    void OnDrop(int source, int target) override {
        log.push_back("drop " + std::to_string(source) + " on " + std::to_string(target));
    }
    void OnSuspend() override { ++suspends; }
    void OnClose(int result) override {
        log.push_back("close " + std::to_string(result));
        if (onClose) onClose(result);
    }

    std::function<bool(int)> onButton;
    std::function<void(int)> onClose;
    std::vector<std::string> log;
    int suspends = 0;
    int builds = 0;

private:
    std::string m_title;
    int m_buttonId;
};

class DialogStackTest : public ::testing::Test, protected ShellOnSample {
protected:
    std::shared_ptr<StubDlg> Stub(const std::string& title, int buttonId = 7) {
        return std::make_shared<StubDlg>(&app, title, buttonId);
    }
    // A click on a widget, as the UI manager queues it, then the batch delivered.
    void Click(int id) {
        app.GetUIManager().HandleElementResult(DRAVUI::ANSWER_CLICK, id, nullptr);
        app.ProcessUIEvents();
    }
    void Key(int key) { app.DeliverKeyToDialog(key, false); }
    std::int32_t Suspensions() const { return app.GetSuspendCount(); }
};

TEST_F(DialogStackTest, ADialogOpenedFromAButtonCoversTheCurrentOneUntilItCloses) {
    ASSERT_TRUE(loaded);
    const std::int32_t before = Suspensions();
    auto a = Stub("A");
    auto b = Stub("B", 9);
    a->onButton = [&](int) {
        app.SetDialog(false, b);
        return false;
    };
    app.SetDialog(true, a);
    EXPECT_EQ(Suspensions(), before + 1);
    EXPECT_TRUE(audio->played.empty()) << "a quiet opening plays nothing";
    EXPECT_EQ(recorder.titles.back(), "Quillmere - A");

    Click(7);
    EXPECT_EQ(app.GetCurrentDialog(), b);
    ASSERT_EQ(app.GetCoveredDialogs().size(), 1u);
    EXPECT_EQ(app.GetCoveredDialogs().back(), a);
    EXPECT_EQ(a->suspends, 1);
    EXPECT_EQ(Suspensions(), before + 1) << "the clock is held once, however many dialogs are stacked";
    EXPECT_EQ(audio->played, std::vector<int>{0});
    EXPECT_EQ(ScreenIds(), (std::vector<int>{0, 9, 0})) << "only B is on screen, under its title";

    Key(VK_ESCAPE);
    EXPECT_EQ(b->log.back(), "close 0");
    EXPECT_EQ(app.GetCurrentDialog(), a);
    EXPECT_TRUE(app.GetCoveredDialogs().empty());
    EXPECT_EQ(audio->played, (std::vector<int>{0, 0})) << "A comes back without a click of its own";
    EXPECT_EQ(a->builds, 2);
    EXPECT_EQ(a->suspends, 1);
    EXPECT_EQ(recorder.titles.back(), "Quillmere - A");
    EXPECT_EQ(Suspensions(), before + 1);

    Key(VK_RETURN);
    EXPECT_EQ(a->log.back(), "close 0");
    EXPECT_EQ(app.GetCurrentDialog(), nullptr);
    EXPECT_EQ(Suspensions(), before);
    EXPECT_TRUE(app.GetUIManager().GetElements().empty()) << "no game runs, so the screen is empty";
}

TEST_F(DialogStackTest, ADialogOpenedFromACloseActionTakesThePlaceOfTheClosedOne) {
    ASSERT_TRUE(loaded);
    const std::int32_t before = Suspensions();
    auto under = Stub("Under", 5);
    auto a = Stub("A");
    auto b = Stub("B", 9);
    under->onButton = [&](int) {
        app.SetDialog(true, a);
        return false;
    };
    a->onButton = [](int) { return true; };
    a->onClose = [&](int) { app.SetDialog(true, b); };
    app.SetDialog(true, under);
    Click(5);
    std::weak_ptr<StubDlg> closed = a;
    a.reset();

    Click(7);
    EXPECT_EQ(app.GetCurrentDialog(), b);
    ASSERT_EQ(app.GetCoveredDialogs().size(), 1u);
    EXPECT_EQ(app.GetCoveredDialogs().back(), under) << "the covered stack is as it was";
    EXPECT_TRUE(closed.expired()) << "nothing holds the closed dialog any more";
    EXPECT_EQ(under->suspends, 1);
    EXPECT_EQ(Suspensions(), before + 1) << "the pause goes on without a gap";

    Key(VK_ESCAPE);
    EXPECT_EQ(app.GetCurrentDialog(), under);
    Key(VK_ESCAPE);
    EXPECT_EQ(app.GetCurrentDialog(), nullptr);
    EXPECT_EQ(Suspensions(), before);
}

TEST_F(DialogStackTest, AClosingClickDropsTheRestOfTheBatchAndDragsReachOnlyADialog) {
    ASSERT_TRUE(loaded);
    auto& ui = app.GetUIManager();
    // No dialog: drags and drops are dropped with the batch, nothing is opened.
    ui.HandleElementResult(DRAVUI::ANSWER_DRAG, 3, nullptr);
    app.ProcessUIEvents();
    std::shared_ptr<DRAVUI::CUIEvent> left;
    EXPECT_FALSE(ui.PopEvent(left));
    EXPECT_EQ(app.GetCurrentDialog(), nullptr);

    auto under = Stub("Under", 5);
    auto top = Stub("Top");
    top->onButton = [](int id) { return id == 7; };
    app.SetDialog(true, under);
    under->onButton = [&](int) {
        app.SetDialog(true, top);
        return false;
    };
    Click(5);

    // With a dialog: the drag reaches it; the drop goes to the button under the mouse.
    auto* button = ui.GetElements().back().get();
    ui.HandleElementResult(DRAVUI::ANSWER_DRAG, 7, button);
    app.ProcessUIEvents();
    EXPECT_EQ(top->log.back(), "begin drag 7");

    // The closing click comes first; the clicks queued behind it reach nobody.
    ui.HandleElementResult(DRAVUI::ANSWER_CLICK, 7, nullptr);
    ui.HandleElementResult(DRAVUI::ANSWER_CLICK, 5, nullptr);
    ui.HandleElementResult(DRAVUI::ANSWER_CLICK, 5, nullptr);
    app.ProcessUIEvents();
    EXPECT_EQ(top->log.back(), "close 7");
    EXPECT_EQ(app.GetCurrentDialog(), under);
    EXPECT_EQ(std::count(under->log.begin(), under->log.end(), "button 5"), 1) << "only the click that opened Top";
    EXPECT_FALSE(ui.PopEvent(left));
}

// A failure out of a close action or a build reaches the window procedure's one
// catch: the player is told, and the covered dialog or a new front page follows.
TEST_F(DialogStackTest, AFailingDialogIsReportedAndTheDialogsGoOnWithThePausePaired) {
    ASSERT_TRUE(loaded);
    const std::int32_t before = Suspensions();
    auto failingClose = [](int) { throw CDRAVException(DRAV_ERR_UNEXPECTED, "broken close"); };
    auto pressEscape = [&] { app.HandleMessage(WM_KEYDOWN, VK_ESCAPE, 0); };

    // Nothing covered, no game: a new front page.
    auto alone = Stub("Alone");
    alone->onClose = failingClose;
    app.SetDialog(true, alone);
    pressEscape();
    ASSERT_EQ(recorder.boxes.size(), 1u);
    EXPECT_EQ(recorder.boxes[0].first, "Game Error");
    EXPECT_NE(recorder.boxes[0].second.find("broken close"), std::string::npos);
    EXPECT_NE(dynamic_cast<CStartDlg*>(app.GetCurrentDialog().get()), nullptr);
    EXPECT_EQ(Suspensions(), before + 1);
    EXPECT_EQ(recorder.titles.back(), "Quillmere - Welcome");

    // Covered by the failing dialog: the covered one comes back.
    auto under = Stub("Under", 5);
    auto top = Stub("Top");
    top->onClose = failingClose;
    under->onButton = [&](int) {
        app.SetDialog(true, top);
        return false;
    };
    app.SetDialog(true, under);
    Click(5);
    pressEscape();
    EXPECT_EQ(recorder.boxes.size(), 2u);
    EXPECT_EQ(app.GetCurrentDialog(), under);
    EXPECT_EQ(Suspensions(), before + 1);

    // A dialog that cannot be built never becomes current: its opener stays.
    struct Unbuildable : StubDlg {
        using StubDlg::StubDlg;
        void CreateControls(RECT, DRAVUI::CUIManager&) override { throw CDRAVException(DRAV_ERR_BAD_DATA, "no"); }
    };
    under->onButton = [&](int) {
        app.SetDialog(true, std::make_shared<Unbuildable>(&app, "Broken"));
        return false;
    };
    // A press on Under's button, in window pixels.
    const RECT* button = app.GetUIManager().GetElements()[1]->GetRect();
    const LONG scale = static_cast<LONG>(app.GetUIManager().GetScale());
    const POINT centre = RectCenter(*button);
    app.HandleMessage(WM_LBUTTONDOWN, 0, MAKELPARAM(centre.x * scale / 100, centre.y * scale / 100));
    EXPECT_EQ(recorder.boxes.size(), 3u);
    EXPECT_EQ(app.GetCurrentDialog(), under);
    EXPECT_EQ(under->suspends, 2) << "suspended for each dialog set over it";
    EXPECT_EQ(app.GetCoveredDialogs().size(), 1u) << "only the front page under it";
    EXPECT_EQ(recorder.titles.back(), "Quillmere - Under");

    // Closing Under brings the front page of the first failure back, still held once.
    pressEscape();
    EXPECT_NE(dynamic_cast<CStartDlg*>(app.GetCurrentDialog().get()), nullptr);
    EXPECT_TRUE(app.GetCoveredDialogs().empty());
    EXPECT_EQ(Suspensions(), before + 1);
}

}  // namespace
