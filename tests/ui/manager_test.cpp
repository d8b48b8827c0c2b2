// The UI manager's mouse state machine, its event queue, hit-test order, the
// scale of mouse points and the frame it draws.

#include <gtest/gtest.h>

#include "support/expect_drav.h"
#include "ui/ui_button.h"
#include "ui/ui_hover_window.h"
#include "ui/ui_scroll_bar.h"
#include "ui/ui_test_util.h"
#include "ui/ui_text_element.h"

namespace {

using namespace DRAVUI;
using QuillmereTest::ProbeElement;
using Events = std::vector<std::string>;

class RecordingHoverWindow : public CUIBaseHoverWindow {
public:
    explicit RecordingHoverWindow(std::shared_ptr<CUIConfig> config) : CUIBaseHoverWindow(std::move(config)) {
        SetRect(RECT{0, 0, 50, 50});
    }
    void Realize(DRAVCommon::CXPDevice*, CUIDrawHelp&) override {}
    void Draw(DRAVCommon::CXPDevice*, CUIDrawHelp&, CUISprite&, const POINT*) override {}
    void ShowInfo(const ElementInfo& info) override { shown.push_back(info.title); }
    std::vector<std::string> shown;
};

class ManagerTest : public QuillmereTest::UITest {
protected:
    std::shared_ptr<ProbeElement> Add(int id, RECT rect, int answer = ANSWER_CLICK) {
        auto element = std::make_shared<ProbeElement>(id, Config(), rect, answer);
        m_manager.AddElement(element);
        return element;
    }
};

TEST_F(ManagerTest, PressOnATextButtonQueuesItsClickThenARefresh) {
    auto button = std::make_shared<CUITextButton>(5, "Rest", Config());
    button->SetRect(RECT{100, 100, 292, 132});
    m_manager.AddElement(button);
    EXPECT_TRUE(Mouse(MOUSE_PRESS, 150, 110));
    EXPECT_EQ(DrainEvents(), (Events{"1(5)", "0"}));
    // A right press counts as a click on a button.
    EXPECT_TRUE(Mouse(MOUSE_RIGHT_PRESS, 150, 110));
    EXPECT_EQ(DrainEvents(), (Events{"1(5)", "0"}));
    // Nothing under the mouse: the game view gets the press.
    EXPECT_FALSE(Mouse(MOUSE_PRESS, 10, 10));
    EXPECT_TRUE(DrainEvents().empty());
}

TEST_F(ManagerTest, DragEndsInADropOnTheElementUnderTheMouseOrACancel) {
    auto source = Add(3, RECT{0, 0, 40, 40}, ANSWER_DRAG);
    Add(7, RECT{100, 0, 140, 40});
    // A release with no drag belongs to nobody.
    EXPECT_FALSE(Mouse(MOUSE_RELEASE, 120, 20));
    EXPECT_TRUE(DrainEvents().empty());

    EXPECT_TRUE(Mouse(MOUSE_PRESS, 20, 20));
    EXPECT_EQ(DrainEvents(), (Events{"3(3)", "0"}));
    EXPECT_EQ(m_manager.GetDraggedElement(), source.get());
    // Moving while dragging goes to the dragged element, wherever the mouse is.
    EXPECT_TRUE(Mouse(MOUSE_MOVE, 300, 300));
    EXPECT_EQ(DrainEvents(), (Events{"0"}));
    // The wheel does nothing during a drag.
    EXPECT_FALSE(Mouse(MOUSE_WHEEL, 20, 20, 1));
    EXPECT_TRUE(Mouse(MOUSE_RELEASE, 120, 20));
    EXPECT_EQ(DrainEvents(), (Events{"5(3,7)", "0"}));
    EXPECT_EQ(m_manager.GetDraggedElement(), nullptr);

    Mouse(MOUSE_PRESS, 20, 20);
    DrainEvents();
    EXPECT_TRUE(Mouse(MOUSE_RELEASE, 500, 500));
    EXPECT_EQ(DrainEvents(), (Events{"4", "0"}));
    // Leaving the window releases with no point: the drag is cancelled.
    Mouse(MOUSE_PRESS, 20, 20);
    DrainEvents();
    EXPECT_TRUE(m_manager.OnMouse(MOUSE_RELEASE, nullptr, 0));
    EXPECT_EQ(DrainEvents(), (Events{"4", "0"}));
    EXPECT_EQ(source->kindsSeen, (std::vector<int>{MOUSE_PRESS, MOUSE_DRAG_MOVE, MOUSE_RELEASE, MOUSE_PRESS,
                                                   MOUSE_RELEASE, MOUSE_PRESS, MOUSE_RELEASE}));
}

TEST_F(ManagerTest, APressDuringADragCancelsItFirst) {
    Add(3, RECT{0, 0, 40, 40}, ANSWER_DRAG);
    auto target = Add(7, RECT{100, 0, 140, 40}, ANSWER_CLICK);
    Mouse(MOUSE_PRESS, 20, 20);
    DrainEvents();
    // The right press is then handled as it would be without a drag.
    EXPECT_TRUE(Mouse(MOUSE_RIGHT_PRESS, 120, 20));
    EXPECT_EQ(DrainEvents(), (Events{"4", "2(7)", "0"}));
    EXPECT_EQ(m_manager.GetDraggedElement(), nullptr);
    // Realize forgets a drag without any event.
    Mouse(MOUSE_PRESS, 20, 20);
    DrainEvents();
    m_manager.Realize(&m_wrapper, 100);
    EXPECT_EQ(m_manager.GetDraggedElement(), nullptr);
    EXPECT_FALSE(Mouse(MOUSE_RELEASE, 120, 20));
    EXPECT_TRUE(DrainEvents().empty());
}

TEST_F(ManagerTest, AnswersBeyondDragAreHandledWithoutEvents) {
    Add(9, RECT{0, 0, 40, 40}, 5);
    EXPECT_TRUE(Mouse(MOUSE_PRESS, 20, 20));
    EXPECT_TRUE(DrainEvents().empty());
    Add(10, RECT{50, 0, 90, 40}, ANSWER_NONE);
    EXPECT_FALSE(Mouse(MOUSE_PRESS, 60, 20));
    EXPECT_TRUE(DrainEvents().empty());
}

TEST_F(ManagerTest, TheFirstAddedOfOverlappingElementsTakesTheMouseAndTheHoverWindowComesFirst) {
    auto first = Add(1, RECT{0, 0, 100, 100});
    Add(2, RECT{50, 50, 150, 150});
    first->SetInfoNoAction("First", "");
    int id = 0;
    CUIElement* hit = nullptr;
    const POINT overlap{60, 60}, secondOnly{120, 120}, corner{10, 10};
    EXPECT_TRUE(m_manager.HitTest(&overlap, &hit, &id) && id == 1 && hit == first.get());
    EXPECT_TRUE(m_manager.HitTest(&secondOnly, nullptr, &id) && id == 2);
    EXPECT_FALSE(m_manager.HitTest(nullptr, &hit, &id));
    EXPECT_EQ(hit, nullptr);

    auto hover = std::make_shared<RecordingHoverWindow>(Config());
    m_manager.AddElement(hover);
    EXPECT_EQ(m_manager.GetHoverWindow(), hover.get());
    EXPECT_TRUE(m_manager.HitTest(&corner, &hit, &id));
    EXPECT_EQ(hit, hover.get());
    EXPECT_TRUE(Mouse(MOUSE_MOVE, 60, 60));
    EXPECT_EQ(hover->shown, (std::vector<std::string>{"First"}));
    EXPECT_EQ(DrainEvents(), (Events{"0"}));
    EXPECT_FALSE(Mouse(MOUSE_MOVE, 400, 400));
}

TEST_F(ManagerTest, MousePointsAreDividedByTheScale) {
    Add(4, RECT{200, 100, 201, 101});
    m_manager.Realize(&m_wrapper, 150);
    const POINT windowPoint{300, 150};
    EXPECT_TRUE(m_manager.OnMouse(MOUSE_PRESS, &windowPoint, 0));
    EXPECT_EQ(DrainEvents(), (Events{"1(4)", "0"}));
}

TEST_F(ManagerTest, BoundsClearAndLayoutHelpers) {
    RECT bounds;
    m_manager.GetBounds(bounds);
    QuillmereTest::ExpectRect(bounds, 10000, 10000, 0, 0);
    auto a = Add(1, RECT{10, 20, 30, 40});
    auto b = Add(2, RECT{5, 30, 25, 60});
    m_manager.GetBounds(bounds);
    QuillmereTest::ExpectRect(bounds, 5, 20, 30, 60);

    LayoutRowCentered(100, 999, 10, {a, b});
    QuillmereTest::ExpectRect(*a->GetRect(), 75, 20, 95, 40);
    QuillmereTest::ExpectRect(*b->GetRect(), 105, 30, 125, 60);
    CenterElementAt(*a, 10, 10);
    QuillmereTest::ExpectRect(*a->GetRect(), 0, 0, 20, 20);
    CenterElementX(*b, 0);
    QuillmereTest::ExpectRect(*b->GetRect(), -10, 30, 10, 60);

    Mouse(MOUSE_PRESS, 5, 5);
    m_manager.Realize(&m_wrapper, 150);
    EXPECT_EQ(a->realized + b->realized, 2);
    m_manager.Clear();
    EXPECT_TRUE(m_manager.GetElements().empty());
    EXPECT_EQ(m_manager.GetScale(), 100u);
    m_manager.ReleaseDeviceObjects();
    EXPECT_EQ(m_manager.GetDrawHelp(), nullptr);
    EXPECT_TRUE(DrainEvents().empty());
}

TEST_F(ManagerTest, AWheelNotchOverAScrolledTextMovesTheFirstShownLineByOne) {
    auto text = std::make_shared<CUITextElement>(Config(), 12, "one LINE two LINE three LINE four LINE five", true,
                                                 true);
    text->SetRect(RECT{0, 0, 200, 100});
    m_manager.AddElement(text);
    CUIScrollBar* bar = text->GetScrollBarPointer();
    ASSERT_EQ(bar->m_position, 0u);
    EXPECT_TRUE(Mouse(MOUSE_WHEEL, 50, 50, 1));
    EXPECT_EQ(bar->m_position, 1u);
    EXPECT_EQ(DrainEvents(), (Events{"0"}));
    EXPECT_TRUE(Mouse(MOUSE_WHEEL, 50, 50, -3));
    EXPECT_EQ(bar->m_position, 0u);
    DrainEvents();
    EXPECT_FALSE(Mouse(MOUSE_WHEEL, 300, 300, 1));
}

TEST_F(ManagerTest, AFrameIsOneQueueFlushedOnceOverEveryElementAndTheDragLast) {
    for (int i = 0; i < 20; ++i) Add(i + 1, RECT{i * 10, 0, i * 10 + 8, 8});
    m_device->ClearRecord();
    m_manager.Draw(&m_wrapper, nullptr);
    // All twenty plain rectangles are drawn by one call from one vertex buffer.
    ASSERT_EQ(m_device->Draws().size(), 1u);
    EXPECT_EQ(m_device->Draws()[0].primitiveCount, 40u);
}

}  // namespace
