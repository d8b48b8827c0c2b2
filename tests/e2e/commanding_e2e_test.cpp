#include <gtest/gtest.h>

#include <cmath>
#include <optional>
#include <sstream>

#include "../game/app_test_access.h"
#include "driver.h"
#include "player_at_window.h"
#include "running_game_steps.h"
#include "engine/engine.h"
#include "game/app.h"
#include "game/dialogs/play/action_dlg.h"
#include "game/dialogs/dialog.h"
#include "rules/module.h"
#include "common/graphic_colors.h"
#include "world/actor.h"
#include "world/area.h"
#include "rules/definitions/object_template.h"
#include "world/game.h"
#include "world/object.h"
#include "world/item.h"
#include "world/order.h"
#include "graphics/scene/graphics_manager.h"
#include "ui/ui_manager.h"

namespace {

using namespace QuillmereE2E;

DRAV::CActor& Main() { return *Game().GetParty().front(); }

// The start of the chapter with nobody else about, and without the loose board,
// whose message would stop a walk across the lane.
std::string StartCalmChapter() {
    const std::string title = StartTheChapter();
    CalmTheLanding();
    DRAV::CArea& area = *Game().GetCurrentArea();
    for (const auto& object : DRAV::ObjectList(area.GetObjects()))
        if (object->GetTemplate().GetKey() == "loose_board") area.RemoveObject(*object);
    return title;
}

std::vector<Step> Opening() {
    std::vector<Step> steps{Wait(200), Key(SDL_SCANCODE_SPACE), Wait(100), Check("intro", StartCalmChapter), Wait(200)};
    Append(steps, PastTheIntroAndWelcome());
    return steps;
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

// The move order Wren has, "x z", or "none" and the types of the orders she has.
std::string Ordered() {
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
}

// The window point over open ground on the lane, some seven units from the dock.
std::optional<POINT> OverTheLane() { return AtTheWindow::Project(13.75, 0.0, 13.75); }

TEST(Commanding, AGroundClickWalksTheMemberThereInTheTimeItsSpeedAllows) {
    Driver driver;
    std::vector<Step> steps = Opening();
    Append(steps, {
                      Check("from", [] { return Where(Main()); }),
                      Check("ground",
                            [] {
                                const auto at = OverTheLane();
                                if (!at) return std::string("none");
                                const POINT pixel = AtTheWindow::ToPixels(*at);
                                return GroundAt(pixel.x, pixel.y);
                            }),
                      Check("speed", [] { return std::to_string(Main().GetMoveSpeed()); }),
                      PointAt([] { return OverTheLane() ? AtTheWindow::Units(*OverTheLane()) : "off the screen"; },
                              true),
                      Wait(50),
                      Check("orders", [] { return std::to_string(Main().GetOrders().size()); }),
                      Check("ordered", Ordered),
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

// A click on the ground `behind` units north of where Wren stood when placed: on the
// screen just above her head.
Step ClickBehind(double behind) {
    return PointAt(
        [behind] {
            const auto at = AtTheWindow::Project(16.25, 0.0, 21.25 - behind);
            return at ? AtTheWindow::Units(*at) : std::string("off the screen");
        },
        true);
}

// Wren as the wizard dresses a new character: her saved height is the 6.0 of every
// new character, her figure a ferrywoman's, some 1.8 tall. The ground one and one and
// a half cells behind her is the ground, not her. Each click is made on her standing
// where she was placed with nothing to do, so that its move order is its own.
Step PlaceWren() {
    return Check("placed", [] {
        GetApp().GetEngine()->WizardMoveParty(6, 8);
        Main().ClearOrders();
        Main().SetPosition(16.25, 21.25);
        Main().SetGraphicName("head_f_ferry");
        auto colours = std::make_shared<DRAVGraph::CGraphicColors>();
        for (auto part : {DRAVGraph::CGraphicColors::HAIR, DRAVGraph::CGraphicColors::SKIN,
                          DRAVGraph::CGraphicColors::TRIM})
            colours->SetColor(part, 0x806040);
        Main().SetColor(colours);
        Main().SetModel(nullptr);  // dressed anew at the next frame
        return std::to_string(Main().GetSecondSize());
    });
}

TEST(Commanding, AClickOnTheGroundJustBehindANewHeroWalksHerThere) {
    const std::vector<std::pair<std::string, double>> clicks{{"far", 3.75}, {"near", 2.5}};
    Driver driver;
    std::vector<Step> steps = Opening();
    for (const auto& [name, behind] : clicks)
        Append(steps, {PlaceWren(), Wait(1000), ClickBehind(behind), Wait(50), Check(name, Ordered)});
    Observed run = driver.Execute(steps);
    EXPECT_TRUE(run.exited) << run.log;
    EXPECT_TRUE(run.log.empty()) << run.log;
    EXPECT_EQ(run.checks["placed"], "6.000000");
    for (const auto& [name, behind] : clicks) {
        ASSERT_NE(run.checks[name].substr(0, 4), "none") << name << ": the click gave Wren no walk, " << run.checks[name];
        const auto [x, z] = Pair(run.checks[name]);
        // The clicked point, or the formation shifted half a spacing off an obstacle.
        EXPECT_LE(std::hypot(x - 16.25, z - (21.25 - behind)), 2.5 + 1e-3) << name << ": " << run.checks[name];
    }
}

int CountOf(const std::string& key) {
    int count = 0;
    for (const auto& item : Main().GetBackpackItems())
        if (item->GetTemplate().GetKey() == key) count += item->GetCount();
    return count;
}

// The first quick-action slot that holds `key`, or -1.
std::string SlotOf(const std::string& key) {
    for (int slot = 0; slot < CDRAVActorInfo::kSlots; ++slot)
        if (GetApp().GetQuickActionKind(Main(), slot) == 10 && GetApp().GetQuickActionItem(Main(), slot) == key)
            return std::to_string(slot);
    return "-1";
}

TEST(Commanding, TheHeroLandsWithTheFerryKitAndTheTonicsFKeyDrinksOne) {
    Driver driver;
    std::vector<Step> steps = Opening();
    Append(steps, {
                      Check("kit",
                            [] {
                                std::ostringstream out;
                                for (const auto& item : Main().GetBackpackItems())
                                    out << item->GetTemplate().GetKey() << ' ' << item->GetCount() << ';';
                                return out.str();
                            }),
                      Check("tonic slot", [] { return SlotOf("river_tonic"); }),
                      // Slot 4 is F5.
                      Key(SDL_SCANCODE_F5),
                      Wait(1500),
                      Check("tonics", [] { return std::to_string(CountOf("river_tonic")); }),
                      Check("drunk",
                            [] {
                                for (const auto& line : GetApp().GetMessageLog())
                                    if (line.find(" drinks ") != std::string::npos) return line;
                                return std::string("none");
                            }),
                      Check("slot3", [] { return std::to_string(GetApp().GetQuickActionKind(Main(), 3)) + " " +
                                                 GetApp().GetQuickActionItem(Main(), 3); }),
                  });
    Observed run = driver.Execute(steps);
    EXPECT_TRUE(run.exited) << run.log;
    EXPECT_EQ(run.checks["kit"], "river_tonic 2;still_water_draught 1;ferry_wand 1;lantern_scroll 1;");
    ASSERT_EQ(run.checks["tonic slot"], "4");
    EXPECT_EQ(run.checks["tonics"], "1") << run.log;
    EXPECT_EQ(run.checks["drunk"], "Wren drinks River Tonic.");
    EXPECT_EQ(run.checks["slot3"], "10 river_tonic");
}

TEST(Commanding, TheConsoleCreatesPotionsAndF3UsesTheEnergyDraughtAtOnce) {
    Driver driver;
    std::vector<Step> steps = Opening();
    Append(steps, {Check("before", [] { return std::to_string(CountOf("river_tonic")); }), Key(SDL_SCANCODE_GRAVE),
                   Wait(100), Check("console", CurrentTitle)});
    Append(steps, ConsoleKeys("item river_tonic 3"));
    Append(steps, {
                      Key(SDL_SCANCODE_RETURN),
                      Wait(200),
                      Check("tonics", [] { return std::to_string(CountOf("river_tonic")); }),
                      Check("logged",
                            [] {
                                for (const auto& line : GetApp().GetMessageLog())
                                    if (line.find("Wizard: Created") != std::string::npos) return line;
                                return std::string("none");
                            }),
                      Key(SDL_SCANCODE_F3),
                      Wait(100),
                      Check("action", CurrentTitle),
                  });
    Observed run = driver.Execute(steps);
    EXPECT_TRUE(run.exited) << run.log;
    EXPECT_EQ(run.checks["console"], "Wizard");
    EXPECT_EQ(std::stoi(run.checks["tonics"]), std::stoi(run.checks["before"]) + 3);
    EXPECT_NE(run.checks["logged"].find("Wizard: Created"), std::string::npos) << run.checks["logged"];
    EXPECT_EQ(run.checks["action"], "Wren - Select Action");

    // The kit's draught is the second backpack cell; it is clicked, then "Done".
    Driver second;
    std::vector<Step> use = Opening();
    Append(use, {
                    Check("draught cell",
                          [] {
                              const auto& backpack = Main().GetBackpackItems();
                              for (std::size_t i = 0; i < backpack.size(); ++i)
                                  if (backpack[i]->GetTemplate().GetKey() == "still_water_draught")
                                      return std::to_string(CActionDlg::kBackpackBase + i);
                              return std::string("none");
                          }),
                    Check("energy spent",
                          [] {
                              Main().SetEnergyUsed(Main().GetMaxEnergy());
                              return std::to_string(Main().GetEnergy());
                          }),
                    Key(SDL_SCANCODE_F3),
                    Wait(100),
                    ClickId(CActionDlg::kBackpackBase + 1),
                    Wait(50),
                    Check("chosen",
                          [] {
                              auto* dialog = dynamic_cast<CActionDlg*>(GetApp().GetCurrentDialog().get());
                              if (!dialog) return CurrentTitle();
                              return dialog->GetChosenItem() ? dialog->GetChosenItem()->GetTemplate().GetKey()
                                                             : std::string("nothing");
                          }),
                    ClickId(1),
                    Wait(50),
                    Check("queued", [] { return std::to_string(Main().GetOrders().size()) + " " + CurrentTitle(); }),
                    Check("slot3", [] { return GetApp().GetQuickActionItem(Main(), 3); }),
                    Wait(2000),
                    Check("left", [] { return std::to_string(CountOf("still_water_draught")); }),
                    Check("energy", [] { return std::to_string(Main().GetEnergy()); }),
                });
    Observed used = second.Execute(use);
    EXPECT_TRUE(used.exited) << used.log;
    ASSERT_EQ(used.checks["draught cell"], std::to_string(CActionDlg::kBackpackBase + 1));
    EXPECT_EQ(used.checks["chosen"], "still_water_draught");
    EXPECT_EQ(used.checks["left"], "0") << "drunk " << used.checks["queued"] << used.log;
    EXPECT_GT(std::stoi(used.checks["energy"]), std::stoi(used.checks["energy spent"]));
    EXPECT_EQ(used.checks["slot3"], "still_water_draught") << "until the last draught is gone";
}

// Where in the window, in interface units, a right click reaches `target` through
// the view: the game's own pick against the frame last drawn, away from widgets.
std::string WhereThePickFinds(const DRAV::CThing* target) {
    CDRAVApp& app = GetApp();
    DRAV::CArea* area = Game().GetCurrentArea();
    if (!target || !area || !app.GetDevice()) return "no target";
    DRAVUI::CUIManager& ui = app.GetUIManager();
    const int scale = static_cast<int>(ui.GetScale() ? ui.GetScale() : 100);
    RECT client{};
    GetClientRect(app.GetWindow(), &client);
    for (int y = 0; y * scale / 100 < client.bottom; y += 4)
        for (int x = 0; x * scale / 100 < client.right; x += 4) {
            POINT logical{x, y};
            if (ui.HitTest(&logical, nullptr, nullptr)) continue;
            DRAVGraph::PickKind kind = DRAVGraph::PICK_NOTHING;
            DRAV::CThing* thing = nullptr;
            bool nearExit = false;
            app.GetGraphicsManager().PickAtScreen(app.GetDevice(), x * scale / 100, y * scale / 100, *area, kind, thing,
                                                  nearExit, false);
            if (thing == target) return std::to_string(x) + " " + std::to_string(y);
        }
    return "not in view";
}

TEST(Commanding, ARightClickOnAHostileMonsterOpensItsPage) {
    static std::shared_ptr<DRAV::CActor> goblin;
    Driver driver;
    std::vector<Step> steps = Opening();
    Append(steps, {
                      Check("spawned",
                            [] {
                                DRAV::CArea& area = *Game().GetCurrentArea();
                                goblin = area.CreateEncounterActor("reed_goblin", "", 0,
                                                                   *GetApp().GetEngine()->GetModule());
                                const auto column = static_cast<std::uint32_t>(Main().GetX() / 2.5);
                                const auto row = static_cast<std::uint32_t>(Main().GetY() / 2.5);
                                if (!area.PlaceActor(column + 3, row + 1, false, goblin)) return std::string("no room");
                                goblin->SetRelation(DRAV::RELATION_HOSTILE);
                                return goblin->GetName();
                            }),
                      // Pause, so that the goblin stands still between the search and the click.
                      Key(SDL_SCANCODE_SPACE),
                      Wait(300),
                      Check("point", [] { return WhereThePickFinds(goblin.get()); }),
                      RightClickAt([] { return WhereThePickFinds(goblin.get()); }),
                      Wait(100),
                      Check("page", CurrentTitle),
                  });
    Observed run = driver.Execute(steps);
    EXPECT_TRUE(run.exited) << run.log;
    ASSERT_NE(run.checks["spawned"], "no room");
    ASSERT_NE(run.checks["point"], "not in view") << run.log;
    EXPECT_EQ(run.checks["page"], run.checks["spawned"]) << run.checks["point"];
}

}  // namespace
