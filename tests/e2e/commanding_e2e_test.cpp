#include <gtest/gtest.h>

#include <cmath>
#include <sstream>

#include "../game/app_test_access.h"
#include "driver.h"
#include "running_game_steps.h"
#include "engine/engine.h"
#include "game/app.h"
#include "game/dialogs/action_dlg.h"
#include "game/dialogs/dialog.h"
#include "rules/module.h"
#include "world/actor.h"
#include "world/area.h"
#include "rules/definitions/object_template.h"
#include "world/game.h"
#include "world/object.h"
#include "world/item.h"
#include "world/order.h"

namespace {

using namespace QuillmereE2E;

DRAV::CActor& Main() { return *Game().GetParty().front(); }

// The start of the chapter with nobody else about, and without the loose board,
// whose message would stop a walk across the lane.
std::string StartCalmChapter() {
    const std::string title = StartTheChapter();
    CalmTheLanding();
    DRAV::CArea& area = *Game().GetCurrentArea();
    for (const auto& object : area.GetObjects())
        if (object->GetTemplate().GetKey() == "loose_board") area.RemoveObject(*object);
    return title;
}

std::vector<Step> Opening() {
    return {Wait(200), Key(SDL_SCANCODE_SPACE), Wait(100), Check("intro", StartCalmChapter), Wait(200),
            Key(SDL_SCANCODE_RETURN), Wait(200)};
}

std::string Where(const DRAV::CActor& actor) {
    std::ostringstream out;
    out << actor.GetX() << ' ' << actor.GetY();
    return out.str();
}

// The ground under a window point, as the view shows it now.
std::string GroundAt(int x, int y) {
    float wx = 0, wz = 0;
    if (!GetApp().GetGraphicsManager().ScreenToWorld(GetApp().GetDevice(), x, y, wx, wz)) return "none";
    std::ostringstream out;
    out << wx << ' ' << wz;
    return out.str();
}

std::pair<double, double> Pair(const std::string& text) {
    std::istringstream in(text);
    double a = 0, b = 0;
    in >> a >> b;
    return {a, b};
}

void Append(std::vector<Step>& steps, std::vector<Step> more) {
    steps.insert(steps.end(), more.begin(), more.end());
}

TEST(Commanding, AGroundClickWalksTheMemberThereInTheTimeItsSpeedAllows) {
    Driver driver;
    std::vector<Step> steps = Opening();
    Append(steps, {
                      Check("from", [] { return Where(Main()); }),
                      Check("ground", [] { return GroundAt(500, 325); }),
                      Check("speed", [] { return std::to_string(Main().GetMoveSpeed()); }),
                      Click(500, 325),
                      Wait(50),
                      Check("orders", [] { return std::to_string(Main().GetOrders().size()); }),
                      Check("ordered",
                            [] {
                                std::list<std::shared_ptr<DRAV::COrder>> orders = Main().GetOrders();
                                if (Main().GetCurrentOrder()) orders.push_front(Main().GetCurrentOrder());
                                for (const auto& order : orders)
                                    if (const auto* move = dynamic_cast<const DRAV::CMoveOrder*>(order.get())) {
                                        std::ostringstream out;
                                        out << move->x << ' ' << move->y;
                                        return out.str();
                                    }
                                std::string types = "none";
                                for (const auto& order : orders) types += " " + std::to_string(order->GetType());
                                return types;
                            }),
                      Wait(4000),
                      Check("to", [] { return Where(Main()); }),
                  });
    Observed run = driver.Execute(steps);
    EXPECT_TRUE(run.exited) << run.log;
    ASSERT_NE(run.checks["ground"], "none");
    EXPECT_EQ(run.checks["orders"], "1") << "one move for the one member";
    const auto [fromX, fromZ] = Pair(run.checks["from"]);
    const auto [groundX, groundZ] = Pair(run.checks["ground"]);
    const auto [toX, toZ] = Pair(run.checks["to"]);
    const auto [orderedX, orderedZ] = Pair(run.checks["ordered"]);
    // The clicked point, or the formation shifted half a spacing off an obstacle.
    EXPECT_LE(std::hypot(orderedX - groundX, orderedZ - groundZ), 2.5 + 1e-3) << run.checks["ordered"];
    const double distance = std::hypot(groundX - fromX, groundZ - fromZ);
    ASSERT_GT(distance, 2.0) << "the click is away from where Wren stands";
    EXPECT_LT(distance / std::stod(run.checks["speed"]), 4.0 * 60) << "reachable in the run's four seconds";
    EXPECT_LT(std::hypot(toX - orderedX, toZ - orderedZ), 0.5)
        << run.checks["from"] << " -> " << run.checks["to"] << " for " << run.checks["ground"] << " at " << run.checks["speed"];
}

TEST(Commanding, TheConsoleCreatesPotionsAndF3UsesTheEnergyDraughtAtOnce) {
    Driver driver;
    std::vector<Step> steps = Opening();
    Append(steps, {Key(SDL_SCANCODE_GRAVE), Wait(100), Check("console", CurrentTitle)});
    Append(steps, ConsoleKeys("item river_tonic 3"));
    Append(steps, {
                      Key(SDL_SCANCODE_RETURN),
                      Wait(200),
                      Check("tonics",
                            [] {
                                int count = 0;
                                for (const auto& item : Main().GetBackpackItems())
                                    if (item->GetTemplate().GetKey() == "river_tonic") count += item->GetCount();
                                return std::to_string(count);
                            }),
                      Check("logged",
                            [] {
                                for (const auto& line : GetApp().GetMessageLog())
                                    if (line.find("Wizard: Created") != std::string::npos) return line;
                                return std::string("none");
                            }),
                      Check("draught",
                            [] {
                                Main().AddToBackpack(
                                    GetApp().GetEngine()->GetModule()->CreateItem("still_water_draught", 1,
                                                                                  Game().NewThingId(5), 0),
                                    false);
                                return std::to_string(Main().GetBackpackItems().size() - 1);
                            }),
                      Key(SDL_SCANCODE_F3),
                      Wait(100),
                      Check("action", CurrentTitle),
                  });
    Observed run = driver.Execute(steps);
    EXPECT_TRUE(run.exited) << run.log;
    EXPECT_EQ(run.checks["console"], "Wizard");
    EXPECT_EQ(run.checks["tonics"], "3");
    EXPECT_NE(run.checks["logged"].find("Wizard: Created"), std::string::npos) << run.checks["logged"];
    EXPECT_EQ(run.checks["action"], "Wren - Select Action");

    // The draught's list cell is clicked by its id, then "Done".
    Driver second;
    std::vector<Step> use = Opening();
    Append(use, {
                    Check("draught",
                          [] {
                              // The draught first, so that its cell is 2000.
                              while (!Main().GetBackpackItems().empty())
                                  Main().RemoveFromBackpack(*Main().GetBackpackItems().front());
                              Main().AddToBackpack(GetApp().GetEngine()->GetModule()->CreateItem(
                                                       "still_water_draught", 1, Game().NewThingId(5), 0),
                                                   false);
                              return std::string("given");
                          }),
                    Key(SDL_SCANCODE_F3),
                    Wait(100),
                    ClickId(2000),
                    Wait(50),
                    Check("chosen",
                          [] {
                              auto* dialog = dynamic_cast<CActionDlg*>(GetApp().GetCurrentDialog().get());
                              return dialog ? (dialog->GetChosenItem() ? "item" : "nothing") : CurrentTitle();
                          }),
                    ClickId(1),
                    Wait(50),
                    Check("queued", [] { return std::to_string(Main().GetOrders().size()) + " " + CurrentTitle(); }),
                    Check("slot3", [] { return GetApp().GetQuickActionItem(Main(), 3); }),
                    Wait(2000),
                    Check("left", [] { return std::to_string(Main().GetBackpackItems().size()); }),
                });
    Observed used = second.Execute(use);
    EXPECT_TRUE(used.exited) << used.log;
    EXPECT_EQ(used.checks["chosen"], "item");
    EXPECT_EQ(used.checks["left"], "0") << "drunk " << used.checks["queued"] << used.log;
    EXPECT_EQ(used.checks["slot3"], "still_water_draught") << "until the last draught is gone";
}

}  // namespace
