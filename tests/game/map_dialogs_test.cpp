#include <gtest/gtest.h>

#include <memory>

#include "common/exception.h"
#include "dialog_test_support.h"
#include "world_map_points.h"
#include "game/dialogs/maps/map_dlg.h"
#include "game/dialogs/maps/world_map_dlg.h"
#include "graphics/graphics_map_manager.h"
#include "platform/win32/virtual_keys.h"
#include "rules/definitions/travel_map.h"
#include "support/sample_game.h"
#include "ui/ui_button.h"
#include "ui/ui_manager.h"
#include "ui/ui_mini_map.h"
#include "ui/ui_world_map.h"
#include "world/area.h"
#include "world/game.h"
#include "world/actor.h"
#include "world/object.h"
#include "world/order.h"

namespace {

using QuillmereTest::ShellOnSample;

class MapDialogTest : public ::testing::Test, protected ShellOnSample {
protected:
    void SetUp() override {
        ASSERT_TRUE(loaded);
        CDRAVAppTestAccess::SetEngine(app, sample.EnginePtr());
        CDRAVAppTestAccess::StartPlaying(app);
    }
    template <typename Wanted, typename Children>
    static Wanted* Find(const Children& children) {
        for (const auto& element : children) {
            if (auto* wanted = dynamic_cast<Wanted*>(element.get())) return wanted;
            if (auto* group = dynamic_cast<DRAVUI::CUIGroup*>(element.get()))
                if (auto* found = Find<Wanted>(group->GetChildren())) return found;
        }
        return nullptr;
    }
    std::vector<std::string> Labels() {
        std::vector<std::string> labels;
        Collect(app.GetUIManager().GetElements(), labels);
        return labels;
    }
    template <typename Children>
    static void Collect(const Children& children, std::vector<std::string>& labels) {
        for (const auto& element : children) {
            if (auto* button = dynamic_cast<DRAVUI::CUITextButton*>(element.get())) labels.push_back(button->m_label);
            if (auto* group = dynamic_cast<DRAVUI::CUIGroup*>(element.get())) Collect(group->GetChildren(), labels);
        }
    }
    // Points the mouse at the middle of a location, as the UI manager does before a click.
    void PointAt(const std::string& key) { ASSERT_TRUE(QuillmereTest::PointAtMapLocation(app, key)); }
    std::string HoverText() {
        auto* map = Find<DRAVUI::CUIWorldMap>(app.GetUIManager().GetElements());
        return map ? map->GetInfo().text : "";
    }
    template <typename Dialog>
    Dialog* Current() {
        return dynamic_cast<Dialog*>(app.GetCurrentDialog().get());
    }

    QuillmereTest::SampleGame sample;
};

TEST_F(MapDialogTest, TheAreaMapOffersTheWorldMapOnlyWhereTheAreaNamesOne) {
    app.SetDialog(false, std::make_shared<CDRAVMapDlg>(&app, SharedCurrentArea(app)));
    EXPECT_EQ(recorder.titles.back(), "Quillmere - " + sample.Area().GetDisplayName() + " - Map");
    EXPECT_EQ(Labels(), (std::vector<std::string>{"World Map", "Done"}));
    EXPECT_FALSE(app.GetCurrentDialog()->OnButton(CDRAVMapDlg::kMap)) << "the map itself never closes it";
    auto* map = Find<DRAVUI::CUIMiniMap>(app.GetUIManager().GetElements());
    ASSERT_NE(map, nullptr);
    EXPECT_EQ(DRAVUI::Width(*map->GetRect()), static_cast<int>(sample.Area().GetColumns() * 2 + 2));
    EXPECT_EQ(DRAVUI::Height(*map->GetRect()), static_cast<int>(sample.Area().GetRows() * 2 + 2));

    app.CloseDialog(CDRAVMapDlg::kWorldMap);
    auto* world = Current<CDRAVWorldMapDlg>();
    ASSERT_NE(world, nullptr);
    EXPECT_FALSE(world->IsTravel());
    EXPECT_EQ(Labels(), std::vector<std::string>{"Done"});
    EXPECT_TRUE(app.GetCoveredDialogs().empty()) << "the area map is gone";

    // A small area with no world map: Done alone, in a frame no narrower than the spacer.
    app.HandleMessage(WM_KEYDOWN, VK_ESCAPE, 0);
    sample.EnterOpenArea(6, 4);
    app.SetDialog(false, std::make_shared<CDRAVMapDlg>(&app, SharedCurrentArea(app)));
    EXPECT_EQ(Labels(), std::vector<std::string>{"Done"});
    LONG left = 100000, right = -100000;
    for (const auto& element : app.GetUIManager().GetElements()) {
        left = std::min(left, element->GetRect()->left);
        right = std::max(right, element->GetRect()->right);
    }
    EXPECT_GE(right - left, app.GetUIManager().GetConfig()->Pick(800, 640));
}

TEST_F(MapDialogTest, TravelGoesOnlyToAKnownLocationOtherThanTheCurrentOne) {
    DRAV::CGame& game = sample.Game();
    const std::string current = sample.Area().GetWorldMapLocation();
    ASSERT_EQ(current, "reedwater_landing");
    game.RevealArea("reed_marsh");

    // View mode: a known location travels nowhere; the map closes and says how the party travels.
    app.SetDialog(false, std::make_shared<CDRAVWorldMapDlg>(&app, "reedwater_map", current, false));
    PointAt("reed_marsh");
    ASSERT_TRUE(app.GetCurrentDialog()->OnAltClick(CDRAVWorldMapDlg::kMap));
    app.CloseDialog(CDRAVWorldMapDlg::kMap);
    EXPECT_EQ(app.GetCurrentDialog(), nullptr);
    EXPECT_EQ(app.GetMessageLog().back(), "To travel to The Reed Marsh, take a way out of the area.");
    // The party stands on an exit to the map.
    game.SetEntry(DRAV::AreaEntryPoint("reedwater_map", ""), 0, "");
    game.SetStateCode(DRAV::GAME_EXIT_AVAILABLE);
    app.SetDialog(false, std::make_shared<CDRAVWorldMapDlg>(&app, "reedwater_map", current, true));
    EXPECT_EQ(Labels(), std::vector<std::string>{"Cancel"});
    auto* dialog = app.GetCurrentDialog().get();
    // The hide is never revealed: it is not drawn, and a click there finds nothing.
    PointAt("smugglers_hide");
    EXPECT_TRUE(HoverText().empty());
    EXPECT_FALSE(dialog->OnButton(CDRAVWorldMapDlg::kMap));
    EXPECT_FALSE(dialog->OnAltClick(CDRAVWorldMapDlg::kDone)) << "a right click on Cancel does nothing";

    PointAt(current);
    EXPECT_EQ(HoverText(), "(current area)");
    ASSERT_TRUE(dialog->OnButton(CDRAVWorldMapDlg::kMap));
    app.CloseDialog(CDRAVWorldMapDlg::kMap);
    EXPECT_EQ(app.GetCurrentDialog(), nullptr);
    EXPECT_EQ(game.GetStateCode(), DRAV::GAME_EXIT_AVAILABLE) << "the current location does not travel";
    ASSERT_FALSE(app.GetMessageLog().empty());
    EXPECT_EQ(app.GetMessageLog().back(), "The party is already at Reedwater Landing.") << "the map does not close unexplained";
    EXPECT_EQ(game.GetCurrentArea()->GetName(), "reedwater_landing");

    app.SetDialog(false, std::make_shared<CDRAVWorldMapDlg>(&app, "reedwater_map", current, true));
    PointAt("reed_marsh");
    ASSERT_TRUE(app.GetCurrentDialog()->OnAltClick(CDRAVWorldMapDlg::kMap)) << "a right click travels like a click";
    app.CloseDialog(CDRAVWorldMapDlg::kMap);
    ASSERT_NE(game.GetCurrentArea(), nullptr);
    EXPECT_EQ(game.GetCurrentArea()->GetName(), "reed_marsh");
    EXPECT_EQ(recorder.titles.back(), "Quillmere - " + game.GetCurrentArea()->GetDisplayName());
    // The hide lies in the marsh, across its bridge, where no way out of it leads:
    // looked at from there, the map says how to get to it.
    game.RevealArea("smugglers_hide");
    app.SetDialog(false, std::make_shared<CDRAVWorldMapDlg>(&app, "reedwater_map",
                                                             game.GetCurrentArea()->GetWorldMapLocation(), false));
    PointAt("smugglers_hide");
    ASSERT_TRUE(app.GetCurrentDialog()->OnAltClick(CDRAVWorldMapDlg::kMap));
    app.CloseDialog(CDRAVWorldMapDlg::kMap);
    EXPECT_EQ(app.GetMessageLog().back(), "To travel to The Smugglers' Hide, cross the plank bridge in the reed marsh, "
                                          "or go round by the back channels in the punt of Marra, the reed witch.");

    EXPECT_THROW(CDRAVWorldMapDlg(&app, "no_such_map", "", true), CDRAVException);

    // W where no map shows the area says so.
    sample.EnterOpenArea(6, 4);
    app.HandleMessage(WM_KEYDOWN, 'W', 0);
    EXPECT_EQ(app.GetCurrentDialog(), nullptr);
    EXPECT_EQ(app.GetMessageLog().back(), "No map shows Open Ground.");
}

TEST_F(MapDialogTest, ClickingTheOfferedExitLeavesAtOnceAndAnyOtherExitIsWalkedTo) {
    DRAV::CGame& game = sample.Game();
    CDRAVAppTestAccess::SetSelectedMember(app, 0);
    app.LayoutGameScreen();
    DRAV::CObject* road = nullptr;
    for (const auto& object : sample.Area().GetObjects())
        if (object->IsExit() && object->GetExitName() == "river_road") road = object.get();
    ASSERT_NE(road, nullptr);
    DRAV::CActor& wren = *sample.Main();
    auto useOrders = [&] {
        std::size_t count = 0;
        for (const auto& order : wren.GetOrders())
            if (const auto* use = dynamic_cast<const DRAV::CUseOrder*>(order.get()); use && use->thing == road->GetId())
                ++count;
        return count;
    };

    // No exit offered yet: Wren walks over to use it.
    EXPECT_TRUE(app.PerformDefaultAction(2, road, POINT{0, 0}, true));
    EXPECT_EQ(useOrders(), 1u);
    EXPECT_EQ(app.GetCurrentDialog(), nullptr);

    // The party stands at the river road: the click takes it to the travel map.
    game.SetEntry(DRAV::AreaEntryPoint("reedwater_map", ""), 0, "");
    game.SetStateCode(DRAV::GAME_EXIT_AVAILABLE);
    game.SetAvailableExitName("smugglers_trail");
    app.RefreshExitButtons(true);
    EXPECT_TRUE(app.PerformDefaultAction(2, road, POINT{0, 0}, true));
    EXPECT_EQ(useOrders(), 1u) << "another exit is offered, so this one is walked to";
    EXPECT_EQ(app.GetCurrentDialog(), nullptr);

    game.SetAvailableExitName("river_road");
    EXPECT_TRUE(app.PerformDefaultAction(2, road, POINT{0, 0}, true));
    EXPECT_EQ(useOrders(), 0u) << "the replacing click cancelled the walk and queued nothing";
    ASSERT_NE(dynamic_cast<CDRAVWorldMapDlg*>(app.GetCurrentDialog().get()), nullptr);
    CDRAVAppTestAccess::DropDialogs(app);

    // The button hidden again (the party stepped away): walking once more.
    app.RefreshExitButtons(false);
    EXPECT_TRUE(app.PerformDefaultAction(2, road, POINT{0, 0}, false));
    EXPECT_EQ(useOrders(), 1u);
    EXPECT_EQ(app.GetCurrentDialog(), nullptr);
}

}  // namespace
