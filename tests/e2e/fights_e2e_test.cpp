// Fights at the window, as new players met them: a neutral that strikes the hero
// is shown and fought as a foe; a hero wiped out where she wakes is not struck
// again the moment she gets up; a click on the hero while paused leaves her fight
// going; a tonic from the action bar is drunk in the middle of a fight through
// its F-key and through its slot. The foes are put beside the hero in the
// program's process; everything the player does goes through mouse and keys.

#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "driver.h"
#include "game/dialogs/creation/cc_choice_dlg.h"
#include "player_at_window.h"
#include "rules/module.h"
#include "rules/vocabulary/actor_class.h"
#include "running_game_steps.h"
#include "ui/ui_hover_window.h"
#include "wizard_steps.h"
#include "world/events/event.h"
#include "world/item.h"
#include "world/order.h"

namespace {

using namespace QuillmereE2E;
using namespace QuillmereE2E::AtTheWindow;

constexpr int kTonicSlot = 214;  // F5, where the tonics go on a fighter's bar
constexpr std::uint32_t kRed = 0xFFFF0000;
constexpr std::uint32_t kWhite = 0xFFFFFFFF;

const NewCharacter kBrannet{CCCGenderDlg::kMale, DRAV::CLASS_FIGHTER, FighterSkills, "Brannet"};

// The hero made on the creation pages, past the intro and the welcome, with the
// landing to herself unless `calm` is false.
std::vector<Step> Opening(bool calm = true) {
    std::vector<Step> steps = MadeByTheWizard(kBrannet);
    Append(steps, PastTheIntroAndWelcome());
    if (calm) steps.push_back(Check("calm", CalmTheLanding));
    return steps;
}

// A monster of the chapter two cells from the hero, with `relation`; the hero
// and it get `hitPoints` to last the scene.
std::shared_ptr<DRAV::CActor>& Other() {
    static std::shared_ptr<DRAV::CActor> other;
    return other;
}

Step Beside(const std::string& key, DRAV::Relation relation, std::int32_t hitPoints) {
    return Check("beside", [=] {
        DRAV::CArea& area = *TheArea();
        Other() = area.CreateEncounterActor(key, "", 0, *App().GetEngine()->GetModule());
        const auto column = static_cast<std::uint32_t>(Hero().GetX() / kCell);
        const auto row = static_cast<std::uint32_t>(Hero().GetY() / kCell);
        if (!area.PlaceActor(column + 2, row + 1, false, Other())) return std::string("no room");
        Other()->SetRelation(relation);
        if (hitPoints > 0) Other()->SetMaxHitPoints(hitPoints);
        Hero().SetMaxHitPoints(500);
        return Other()->GetName();
    });
}

Find TheOther() {
    return [] { return static_cast<DRAV::CThing*>(Other() && Other()->IsAlive() ? Other().get() : nullptr); };
}

DRAV::CThing* TheHero() { return &Hero(); }

int Tonics() {
    int count = 0;
    for (const auto& item : Hero().GetBackpack())
        if (item->GetTemplate().GetKey() == "river_tonic") count += item->GetCount();
    return count;
}

// The message log's lines from `first` on that start with `who`.
int LinesOf(const std::string& who, std::size_t first = 0) {
    const auto& log = App().GetMessageLog();
    int count = 0;
    for (std::size_t i = first; i < log.size(); ++i) count += log[i].rfind(who, 0) == 0;
    return count;
}

std::string TitleAndColour() {
    auto* hover = dynamic_cast<DRAVUI::CUIHoverWindow*>(App().GetUIManager().GetHoverWindow());
    const std::uint32_t colour = hover ? hover->GetShownInfo().titleColour : 0;
    return HoverTitle() + (colour == kRed ? " in red" : colour == kWhite ? " in white" : " in another colour");
}

std::string CurrentOrder() {
    const auto order = Hero().GetCurrentOrder();
    if (!order) return "none";
    const bool onOther = Other() && order->GetThingId() == Other()->GetId();
    return std::to_string(order->GetType()) + (onOther ? " on it" : "");
}

TEST(Fights, ANeutralThatStrikesTheHeroIsShownAndFoughtAsAFoe) {
    Driver driver;
    std::vector<Step> steps = Opening();
    // Hollis never turns on being struck, nor when someone comes near.
    Append(steps, {Beside("innkeeper", DRAV::RELATION_NEUTRAL, 0), Wait(100),
                   PointAtThing("the innkeeper", TheOther(), [](POINT) { return Wait(50); }),
                   Check("before", TitleAndColour),
                   // He swings at the hero, whatever brought him to it.
                   Check("swings",
                         [] {
                             Other()->PushOrder(std::make_shared<DRAV::CAttackOrder>(Hero().GetId()), false);
                             return "at " + Hero().GetName();
                         }),
                   WaitUntil(
                       "his first blow", [] { return LinesOf(Other()->GetName()) > 0; }, 8000),
                   PointAtThing("the innkeeper", TheOther(), [](POINT) { return Wait(50); }),
                   Check("after", TitleAndColour), ClickOn("the innkeeper", TheOther()), Wait(50),
                   Check("order", CurrentOrder)});
    Observed run = driver.Execute(steps);
    EXPECT_TRUE(run.exited) << run.log;
    ASSERT_EQ(run.checks.count("problem"), 0u) << run.checks["problem"];
    EXPECT_EQ(run.checks["before"], "Hollis the Innkeeper in white");
    EXPECT_EQ(run.checks["after"], "Hollis the Innkeeper in red");
    EXPECT_EQ(run.checks["order"], std::to_string(DRAV::ORDER_ATTACK) + " on it");
}

TEST(Fights, AHeroWipedOutNearWhereSheWakesIsNotStruckInTheFirstSeconds) {
    Driver driver;
    std::vector<Step> steps = Opening(false);
    // Down the lane the reeds spring, and the goblin is too much for her.
    Append(steps, {WalkTo(6, 7), ClosePages(),
                   // However the rolls fall, one blow fells her and she cannot fell it.
                   Check("frail",
                         [] {
                             DRAV::CActor* goblin = NearestFoe();
                             if (!goblin) return std::string("no goblin");
                             goblin->SetMaxHitPoints(500);
                             Hero().SetDamageTaken(Hero().GetMaxHitPoints() - 1);
                             return goblin->GetName();
                         }),
                   WaitUntil(
                       "the end of the fight", [] { return PageTitle() == "Party Dead"; }, 60000),
                   // A player still clicking at the goblin over her as she falls.
                   Click(512, 384), Wait(200), Check("told", PageTitle), Key(SDL_SCANCODE_RETURN),
                   WaitUntil(
                       "the hero to wake", [] { return !PageUp() && TheArea() && Hero().IsAlive(); }, 5000),
                   Check("woke", [] { return TheArea()->GetName(); }), Wait(3000), Check("blows", [] {
                       const auto& log = App().GetMessageLog();
                       std::size_t rested = log.size();
                       while (rested > 0 && log[rested - 1].rfind("The party has rested", 0) != 0) --rested;
                       return std::to_string(LinesOf("Reed Goblin (Cleaver)", rested));
                   })});
    Observed run = driver.Execute(steps);
    EXPECT_TRUE(run.exited) << run.log;
    ASSERT_EQ(run.checks.count("problem"), 0u) << run.checks["problem"];
    EXPECT_EQ(run.checks["told"], "Party Dead") << "a click at the fight closed the page unread";
    EXPECT_EQ(run.checks["woke"], "reedwater_landing");
    EXPECT_EQ(run.checks["blows"], "0") << "in the first three seconds";
}

TEST(Fights, AClickOnTheHeroWhilePausedLeavesHerFightingUntilTheFoeFalls) {
    Driver driver;
    std::vector<Step> steps = Opening();
    Append(steps, {Beside("reed_goblin", DRAV::RELATION_HOSTILE, 0), Key(SDL_SCANCODE_SPACE), Wait(100),
                   Key(SDL_SCANCODE_F1), ClickOn("the goblin", TheOther()), Wait(50),
                   ClickOn("the hero", TheHero), Wait(50), Check("paused", CurrentOrder), Key(SDL_SCANCODE_SPACE),
                   WaitUntil(
                       "the goblin to fall", [] { return !Other()->IsAlive(); }, 60000),
                   Check("killed", [] { return std::to_string(LinesOf("Brannet has killed Reed Goblin.")); })});
    Observed run = driver.Execute(steps);
    EXPECT_TRUE(run.exited) << run.log;
    EXPECT_EQ(run.checks["paused"], std::to_string(DRAV::ORDER_ATTACK) + " on it");
    ASSERT_EQ(run.checks.count("problem"), 0u) << run.checks["problem"];
    EXPECT_EQ(run.checks["killed"], "1");
}

// Paused in a fight, the player chooses the tonic and clicks the hero herself;
// once the clock runs she drinks and fights on.
std::vector<Step> DrinkMidFight(const std::string& name, const Step& choose) {
    return {Check(name + " before", [] { return std::to_string(Tonics()); }),
            Key(SDL_SCANCODE_SPACE),
            Wait(100),
            choose,
            Wait(50),
            ClickOn("the hero", TheHero),
            Wait(50),
            Key(SDL_SCANCODE_SPACE),
            Wait(3000),
            Check(name, [] { return std::to_string(Tonics()) + " left, then " + CurrentOrder(); })};
}

TEST(Fights, ATonicFromTheBarIsDrunkMidFightByItsKeyAndByItsSlot) {
    Driver driver;
    std::vector<Step> steps = Opening();
    Append(steps, {Beside("reed_goblin", DRAV::RELATION_HOSTILE, 500), Wait(100),
                   Check("slot", [] { return App().GetQuickActionItem(Hero(), kTonicSlot - 210); }),
                   Key(SDL_SCANCODE_F1), ClickOn("the goblin", TheOther()), Wait(1500),
                   Check("fighting", CurrentOrder)});
    Append(steps, DrinkMidFight("by key", Key(SDL_SCANCODE_F5)));
    Append(steps, DrinkMidFight("by slot", ClickId(kTonicSlot)));
    Append(steps, {Check("drunk", [] { return std::to_string(LinesOf("Brannet drinks River Tonic.")); })});
    Observed run = driver.Execute(steps);
    EXPECT_TRUE(run.exited) << run.log;
    ASSERT_EQ(run.checks.count("problem"), 0u) << run.checks["problem"];
    ASSERT_EQ(run.checks["slot"], "river_tonic");
    ASSERT_EQ(run.checks["fighting"], std::to_string(DRAV::ORDER_ATTACK) + " on it");
    const std::string fightsOn = " left, then " + std::to_string(DRAV::ORDER_ATTACK) + " on it";
    EXPECT_EQ(run.checks["by key before"], "2");
    EXPECT_EQ(run.checks["by key"], "1" + fightsOn);
    EXPECT_EQ(run.checks["by slot"], "0" + fightsOn);
    EXPECT_EQ(run.checks["drunk"], "2");
}

}  // namespace

namespace {

// With the clock running, as the players drank: the tonic is chosen by its key or
// its slot and aimed at the hero's figure or at her portrait; she drinks, and her
// fight goes on by itself. Each drink begins in the middle of the fight.
constexpr int kHeroPortrait = 100;

int Swings() { return LinesOf("Brannet hits") + LinesOf("Brannet misses") + LinesOf("Brannet has killed"); }

// The hero's swings at `whom`, hit or missed: a hit's line tells the roll before the name.
int SwingsAt(const std::string& whom) {
    int count = 0;
    for (const std::string& line : App().GetMessageLog())
        if ((line.rfind("Brannet hits ", 0) == 0 || line.rfind("Brannet misses ", 0) == 0) &&
            line.find(whom) != std::string::npos)
            ++count;
    return count;
}

std::vector<Step> DrinkWhileRunning(const std::string& name, const Step& choose, const Step& aim) {
    static int swingsBefore = 0;
    return {Next([] {
                if (CurrentOrder() == std::to_string(DRAV::ORDER_ATTACK) + " on it") return std::vector<Step>{};
                return std::vector<Step>{Key(SDL_SCANCODE_F1), ClickOn("the goblin", TheOther()), Wait(1500)};
            }),
            Check(name + " before", [] { return std::to_string(Tonics()); }),
            choose,
            Wait(50),
            aim,
            Wait(3500),
            Check(name,
                  [] {
                      swingsBefore = Swings();
                      return std::to_string(Tonics()) + " left, then " + CurrentOrder();
                  }),
            Wait(4000),
            Check(name + " swings", [] { return std::to_string(Swings() - swingsBefore); })};
}

TEST(Fights, ATonicFromTheBarIsDrunkWhileTheClockRunsAndTheFightGoesOn) {
    Driver driver;
    // Four drinks and twenty seconds of fight: more than the default on a busy machine.
    driver.SetTimeLimit(180);
    std::vector<Step> steps = Opening();
    Append(steps, {Beside("reed_goblin", DRAV::RELATION_HOSTILE, 5000), Wait(100), Check("tonics", [] {
                       for (const auto& item : Hero().GetBackpack())
                           if (item->GetTemplate().GetKey() == "river_tonic") item->SetCount(4);
                       return std::to_string(Tonics());
                   })});
    const std::vector<std::pair<std::string, Step>> chosen{{"key", Key(SDL_SCANCODE_F5)}, {"slot", ClickId(kTonicSlot)}};
    const std::vector<std::pair<std::string, Step>> aimed{{"figure", ClickOn("the hero", TheHero)},
                                                          {"portrait", ClickId(kHeroPortrait)}};
    for (const auto& [how, choose] : chosen)
        for (const auto& [where, aim] : aimed) Append(steps, DrinkWhileRunning(how + " on " + where, choose, aim));
    Observed run = driver.Execute(steps);
    EXPECT_TRUE(run.exited) << run.log;
    ASSERT_EQ(run.checks.count("problem"), 0u) << run.checks["problem"];
    ASSERT_EQ(run.checks["tonics"], "4");
    int left = 4;
    for (const auto& [how, choose] : chosen)
        for (const auto& [where, aim] : aimed) {
            const std::string name = how + " on " + where;
            EXPECT_EQ(run.checks[name + " before"], std::to_string(left)) << name;
            EXPECT_EQ(run.checks[name], std::to_string(--left) + " left, then " +
                                            std::to_string(DRAV::ORDER_ATTACK) + " on it")
                << name;
            EXPECT_NE(run.checks[name + " swings"], "0") << name << ": no swing in the four seconds after the drink";
        }
}

// F1 and a click on a townsperson whose name shows white: he turns on the hero,
// and she fights on while he lives. She is made to outlast the whole dock.
TEST(Fights, AnAttackOnATownspersonLastsWhenHeTurnsOnTheHero) {
    Driver driver;
    std::vector<Step> steps = Opening(false);
    Append(steps, {Check("before",
                         [] {
                             Hero().SetMaxHitPoints(100000);
                             for (const auto& actor : TheArea()->GetActors())
                                 if (actor->GetTemplateName() == "ferryman_elder") Other() = actor;
                             return Other() ? std::to_string(Other()->GetRelation()) : std::string("nobody");
                         }),
                   Key(SDL_SCANCODE_F1), ClickOn("Old Brannoc", TheOther()), Wait(50), Check("ordered", CurrentOrder),
                   Wait(10000), Check("after", [] {
                       return std::to_string(Other()->GetRelation()) + ", " + CurrentOrder() + ", " +
                              std::to_string(SwingsAt("Old Brannoc"));
                   })});
    Observed run = driver.Execute(steps);
    EXPECT_TRUE(run.exited) << run.log;
    ASSERT_EQ(run.checks.count("problem"), 0u) << run.checks["problem"];
    ASSERT_EQ(run.checks["before"], std::to_string(DRAV::RELATION_NEUTRAL));
    ASSERT_EQ(run.checks["ordered"], std::to_string(DRAV::ORDER_ATTACK) + " on it");
    const std::string after = run.checks["after"];
    const std::string fighting = std::to_string(DRAV::RELATION_HOSTILE) + ", " + std::to_string(DRAV::ORDER_ATTACK) + " on it, ";
    ASSERT_EQ(after.substr(0, fighting.size()), fighting) << after;
    // A swing every three seconds or so: the first and two more at least.
    EXPECT_GE(std::stoi(after.substr(fighting.size())), 3) << after;
}

}  // namespace

namespace {

// The drink mid-fight as players gave it, a row each, one after another in one
// game with the clock running: the fight given by F1 and a click on the foe, by
// the hero or by a companion chosen by her digit (the party's second member); the
// drink by its F-key, or by its slot and then the drinker's portrait; the foe may
// step back two cells as she drinks, still striking at her. Each row's fighter
// drinks one tonic, still holds her fight, and swings again within the four
// seconds after.
struct DrinkRow {
    std::string name;
    bool companion;
    bool bySlot;
    bool foeStepsBack = false;
};

DRAV::CActor& Fighter(bool companion) { return *TheGame().GetParty()[companion ? 1 : 0]; }

int TonicsOf(const DRAV::CActor& member) {
    int count = 0;
    for (const auto& item : member.GetBackpack())
        if (item->GetTemplate().GetKey() == "river_tonic") count += item->GetCount();
    return count;
}

// The member's swings at the foe, hit or missed; a monster's lines name its attack first.
int SwingsOf(const DRAV::CActor& member) {
    int count = 0;
    for (const std::string& line : App().GetMessageLog())
        if (line.rfind(member.GetName(), 0) == 0 && line.find(Other()->GetName()) != std::string::npos &&
            (line.find(" hits ") != std::string::npos || line.find(" misses ") != std::string::npos))
            ++count;
    return count;
}

std::string FighterOrder(bool companion) {
    const auto order = Fighter(companion).GetCurrentOrder();
    if (!order) return "none";
    return std::to_string(order->GetType()) + (order->GetThingId() == Other()->GetId() ? " on it" : "");
}

std::vector<Step> DrinkRowSteps(const DrinkRow& row) {
    static int swingsBefore = 0;
    const bool companion = row.companion;
    const std::string fighting = std::to_string(DRAV::ORDER_ATTACK) + " on it";
    std::vector<Step> steps{Key(companion ? SDL_SCANCODE_2 : SDL_SCANCODE_1), Wait(100), Next([=] {
                                if (FighterOrder(companion) == fighting) return std::vector<Step>{};
                                return std::vector<Step>{Key(SDL_SCANCODE_F1), ClickOn("the goblin", TheOther()),
                                                         Wait(1500)};
                            }),
                            Check(row.name + " fighting", [=] { return FighterOrder(companion); }),
                            Check(row.name + " before", [=] { return std::to_string(TonicsOf(Fighter(companion))); })};
    if (row.bySlot)
        Append(steps, {ClickId(kTonicSlot), Wait(50), ClickId(kHeroPortrait + (companion ? 5 : 0))});
    else
        steps.push_back(Key(SDL_SCANCODE_F5));
    if (row.foeStepsBack)
        Append(steps, {Wait(500), Check(row.name + " stepped", [=] {
            // Beyond her reach by most of a cell, wherever there is room round her.
            DRAV::CActor& drinker = Fighter(companion);
            const double off = drinker.GetRadius() + Other()->GetRadius() + kCell + 2.0;
            const double bearing = std::atan2(Other()->GetY() - drinker.GetY(), Other()->GetX() - drinker.GetX());
            for (int turn = 0; turn < 12; ++turn) {
                const double angle = bearing + turn * 0.5236;
                const double x = drinker.GetX() + off * std::cos(angle), y = drinker.GetY() + off * std::sin(angle);
                if (!TheArea()->CanMoveTo(*Other(), nullptr, x, y)) continue;
                Other()->SetPosition(x, y);
                Other()->SetAttackTarget(TheGame().GetTick(), &drinker);
                return std::string("back");
            }
            return std::string("no room");
        })});
    Append(steps, {Wait(3500), Check(row.name, [=] {
                       swingsBefore = SwingsOf(Fighter(companion));
                       return std::to_string(TonicsOf(Fighter(companion))) + " left, then " + FighterOrder(companion);
                   }),
                   Wait(4000), Check(row.name + " swings", [=] {
                       return std::to_string(SwingsOf(Fighter(companion)) - swingsBefore);
                   })});
    return steps;
}

TEST(Fights, ATonicMidFightLeavesTheDrinkerFightingWhicheverMemberDrinksAndHowever) {
    // The hero's own rows are those of the test above; here she drinks once by her
    // key between the companion's two drinks.
    const std::vector<DrinkRow> rows{
        {"companion by slot and portrait", true, true},
        {"hero by key", false, false},
        {"companion by key", true, false},
        {"hero by key, her goblin stepping back", false, false, true},
    };
    Driver driver;
    driver.SetTimeLimit(240);
    std::vector<Step> steps = Opening();
    Append(steps, {Beside("reed_goblin", DRAV::RELATION_HOSTILE, 5000), Check("companion", [] {
                       DRAV::CArea& area = *TheArea();
                       const DRAV::CModule& module = *App().GetEngine()->GetModule();
                       auto ally = area.CreateEncounterActor("ferryman_elder", "", 0, module);
                       const auto column = static_cast<std::uint32_t>(Hero().GetX() / kCell);
                       const auto row = static_cast<std::uint32_t>(Hero().GetY() / kCell);
                       if (!area.PlaceActor(column, row + 2, false, ally)) return std::string("no room");
                       ally->AddToBackpack(
                           module.CreateItem("river_tonic", 4, TheGame().NewThingId(DRAV::THING_ITEM), 0), false);
                       ally->SetMaxHitPoints(500);
                       for (const auto& item : Hero().GetBackpack())
                           if (item->GetTemplate().GetKey() == "river_tonic") item->SetCount(4);
                       TheGame().AddPartyMember(ally);
                       TheGame().PushEvent(std::make_shared<DRAV::CInfoEvent>(DRAV::EVENT_PARTY_CHANGED));
                       return ally->GetName();
                   }),
                   Wait(200)});
    for (const DrinkRow& row : rows) Append(steps, DrinkRowSteps(row));
    Observed run = driver.Execute(steps);
    EXPECT_TRUE(run.exited) << run.log;
    ASSERT_EQ(run.checks.count("problem"), 0u) << run.checks["problem"];
    ASSERT_EQ(run.checks["companion"], "Old Brannoc");
    const std::string fighting = std::to_string(DRAV::ORDER_ATTACK) + " on it";
    std::map<bool, int> left{{false, 4}, {true, 4}};
    for (const DrinkRow& row : rows) {
        SCOPED_TRACE(row.name);
        ASSERT_EQ(run.checks[row.name + " fighting"], fighting);
        if (row.foeStepsBack) {
            ASSERT_EQ(run.checks[row.name + " stepped"], "back");
        }
        EXPECT_EQ(run.checks[row.name + " before"], std::to_string(left[row.companion]));
        EXPECT_EQ(run.checks[row.name], std::to_string(--left[row.companion]) + " left, then " + fighting);
        EXPECT_NE(run.checks[row.name + " swings"], "0") << "no swing in the four seconds after the drink";
    }
}

}  // namespace
