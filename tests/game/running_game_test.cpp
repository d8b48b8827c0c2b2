#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>

#include "running_game_support.h"
#include "support/overlay_source.h"
#include "support/sample_module.h"
#include "engine/engine.h"
#include "game/dialogs/front/start_dlg.h"
#include "game/dialogs/play/msg_dlg.h"
#include "game/dialogs/text_dlg.h"
#include "platform/win32/virtual_keys.h"
#include "platform/win32/win32_time.h"
#include "rules/definitions/travel_map.h"
#include "rules/module.h"
#include "world/actor.h"
#include "world/area.h"
#include "world/events/event.h"
#include "world/game.h"
#include "world/item.h"
#include "world/order.h"

namespace {

using QuillmereTest::RunningGameTest;
using QuillmereTest::ShellOnSample;

TEST_F(RunningGameTest, TheIntroductionNamesTheChapterAndTheHudStandsWhereItBelongs) {
    EXPECT_EQ(m_introTitle, "The Reedwater Landing");
    EXPECT_EQ(m_shell.recorder.titles.back(), "Quillmere - Reedwater Landing");
    EXPECT_FALSE(app().GetCurrentDialog());
    EXPECT_EQ(app().GetSuspendCount(), 0) << "the clock runs once the introduction is gone";
    // Exit before the row, the hover panel, log, clock, bar, mini-map, then the column.
    std::vector<int> ids = m_shell.ScreenIds();
    ASSERT_GE(ids.size(), 8u);
    EXPECT_EQ(std::vector<int>(ids.begin(), ids.begin() + 8), (std::vector<int>{10, 9, 11, 5, 0, 1, 6, 200}));
    EXPECT_EQ(std::vector<int>(ids.end() - 3, ids.end()), (std::vector<int>{3, 8, 100}));
    RECT minimap = RectOf(3);
    EXPECT_EQ(minimap.left, 8);
    EXPECT_EQ(minimap.top, 660);
    EXPECT_EQ(minimap.right, 108);
    EXPECT_EQ(minimap.bottom, 760);
    RECT clock = RectOf(6);
    EXPECT_EQ(clock.left, 968);
    EXPECT_EQ(clock.top, 712);
    EXPECT_EQ(clock.right, 1016);
    EXPECT_EQ(clock.bottom, 760);
    // The exit button takes the return button's place, hidden until an exit is offered.
    RECT exit = RectOf(10);
    RECT back = RectOf(9);
    EXPECT_EQ(exit.left, back.left);
    EXPECT_EQ(exit.top, back.top);
    EXPECT_EQ(back.right, 1024 - 8 - 64 - 8 - 40 - 8);
}

TEST_F(RunningGameTest, AMessageBoxOfOneTickIsLoggedAndOpensBeforeAnotherTickRuns) {
    TimerAfter(16);
    const std::uint32_t start = game().GetTick();
    game().PushMessage(DRAV::MESSAGE_NOTICE, "Mist over the river.");
    game().PushEvent(std::make_shared<DRAV::CDialogBoxEvent>(DRAV::EVENT_DIALOG_BOX, "Loose Board",
                                                             "Tarred rope LINE under GAMENAME planks."));
    TimerAfter(1000);
    EXPECT_EQ(game().GetTick(), start + 1) << "the tick that brought the box is the last";
    auto* box = dynamic_cast<CTextDlg*>(app().GetCurrentDialog().get());
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->GetTitle(), "Loose Board");
    const auto& log = app().GetMessageLog();
    ASSERT_GE(log.size(), 2u);
    EXPECT_EQ(log[log.size() - 2], "Mist over the river.");
    EXPECT_EQ(log.back(), "Tarred rope  under Quillmere planks.");
    EXPECT_TRUE(app().GetPendingEvents().empty());
    // While it is open the clock is held.
    TimerAfter(1000);
    EXPECT_EQ(game().GetTick(), start + 1);
    app().CloseDialog(1);
    TimersFor(500);
    EXPECT_EQ(game().GetTick(), start + 1 + 30) << "the time under the dialog is not caught up";
}

// Orrin, brought home by the lane, shouts so.
TEST_F(RunningGameTest, AShoutShowsInItsBoxAndIsLoggedOnce) {
    AddMember("boatwright");
    TimerAfter(16);
    app().GetEngine()->RunEntryScript("lane");
    TimerAfter(1000);
    auto* box = dynamic_cast<CTextDlg*>(app().GetCurrentDialog().get());
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->GetTitle(), "Orrin the Boatwright");
    const auto& log = app().GetMessageLog();
    EXPECT_EQ(std::count(log.begin(), log.end(),
                         "Orrin the Boatwright : There's my slip, and my boathouse! Say the word and I'll go home to it."),
              1);
}

TEST_F(RunningGameTest, PendingEventsStopAtAnAreaChangeAndUnknownCodesAreRefused) {
    app().QueueEvent(std::make_shared<DRAV::CInfoEvent>(DRAV::EVENT_DOORS_OPENED));
    app().QueueEvent(std::make_shared<DRAV::CInfoEvent>(DRAV::EVENT_DOORS_CLOSED));
    game().SetStateCode(DRAV::GAME_TRAVEL);
    EXPECT_FALSE(app().ProcessPendingEvents());
    EXPECT_EQ(app().GetPendingEvents().size(), 1u);
    game().SetStateCode(DRAV::GAME_PLAYING);
    EXPECT_TRUE(app().ProcessPendingEvents());

    app().QueueEvent(std::make_shared<DRAV::CInfoEvent>(9));
    EXPECT_THROW(app().ProcessPendingEvents(), CDRAVException);
    EXPECT_TRUE(app().GetPendingEvents().empty()) << "the failed event is not met again";
    EXPECT_THROW(app().OnDialogBoxEvent(DRAV::CDialogBoxEvent(37, "t", "x")), CDRAVException);
    // An actor event for someone not in the party is skipped.
    EXPECT_NO_THROW(app().OnActorInfoEvent(DRAV::CActorInfoEvent(DRAV::EVENT_ACTOR_HIT_POINTS, 0xFFFFFF)));
}

TEST_F(RunningGameTest, TheLogKeepsTheNewestFourHundredLinesAndEmptiesWithTheGame) {
    for (int i = 1; i <= 401; ++i) app().AppendMessage("line " + std::to_string(i));
    const auto& log = app().GetMessageLog();
    ASSERT_EQ(log.size(), 400u);
    EXPECT_EQ(log.front(), "line 2");
    EXPECT_EQ(log.back(), "line 401");

    std::string line = "old";
    ExpandMessageMarkup("  Welcome to   GAMENAME LINE LINE friend ", line);
    EXPECT_EQ(line, "Welcome to Quillmere   friend");
    ExpandMessageMarkup("", line);
    EXPECT_EQ(line, "");

    app().EndGame();
    EXPECT_TRUE(app().GetMessageLog().empty());
    EXPECT_FALSE(app().IsGameRunning());
    EXPECT_EQ(m_shell.recorder.titles.back(), "Quillmere");
}

TEST_F(RunningGameTest, TabWalksTheLivingMembersThenTheWholeParty) {
    AddMember("reed_goblin");
    auto third = AddMember("reed_goblin");
    app().ResetPartySelection();
    EXPECT_EQ(app().GetSelectedMember(), CDRAVApp::kWholeParty);
    std::vector<std::uint32_t> walk;
    for (int i = 0; i < 5; ++i) {
        app().SelectNextMember();
        walk.push_back(app().GetSelectedMember());
    }
    EXPECT_EQ(walk, (std::vector<std::uint32_t>{0, 1, 2, CDRAVApp::kWholeParty, 0}));

    third->SetActionState(DRAV::ACTION_DEAD);
    walk.clear();
    for (int i = 0; i < 3; ++i) {
        app().SelectNextMember();
        walk.push_back(app().GetSelectedMember());
    }
    EXPECT_EQ(walk, (std::vector<std::uint32_t>{1, CDRAVApp::kWholeParty, 0}));
    std::vector<DRAV::CActor*> selected;
    app().SelectAll();
    app().GetSelectedActors(selected);
    EXPECT_EQ(selected.size(), 2u) << "the dead member is left out of the whole party";
    app().SelectPartyMember(2);
    EXPECT_EQ(app().GetSelectedMember(), CDRAVApp::kWholeParty) << "a dead member cannot be selected";
    app().SelectPartyMember(7);
    EXPECT_EQ(app().GetSelectedMember(), CDRAVApp::kWholeParty);
}

TEST_F(RunningGameTest, APartyOfOneIsAlwaysMemberZero) {
    app().SelectAll();
    EXPECT_EQ(app().GetSelectedMember(), 0u);
    app().SelectNextMember();
    EXPECT_EQ(app().GetSelectedMember(), 0u);
    app().HandleMessage(WM_KEYDOWN, VK_TAB, 0);
    EXPECT_EQ(app().GetSelectedMember(), 0u);
}

TEST_F(RunningGameTest, TheCameraGlidesAFifthOfTheWayButJumpsFarOrNearMoves) {
    float target[3];
    app().GetCameraTarget(target);  // the first frame snaps
    const float x0 = target[0];
    const double x = main().GetX();
    main().SetPosition(x + 10.0, main().GetY());
    app().GetCameraTarget(target);
    EXPECT_NEAR(target[0], x0 + 2.0f, 1e-3f);
    app().GetCameraTarget(target);
    EXPECT_NEAR(target[0], x0 + 2.0f + 1.6f, 1e-3f);
    main().SetPosition(x + 90.0, main().GetY());
    app().GetCameraTarget(target);
    EXPECT_NEAR(target[0], x0 + 90.0f, 1e-3f) << "over 50 units the camera jumps";
    main().SetPosition(x + 90.5, main().GetY());
    app().GetCameraTarget(target);
    EXPECT_NEAR(target[0], x0 + 90.5f, 1e-3f) << "under one unit it settles at once";
    // Turning adopts the look-ahead only when it moves more than five units.
    main().SetFacing(main().GetFacing() + 0.2);
    app().GetCameraTarget(target);
    EXPECT_NEAR(target[0], x0 + 90.5f, 1e-3f);
}

// A hero who stands and shoots turns to her foe every tick, and a foe running to
// and fro before her turns her with him; with no input for ten seconds of the
// fight the view stays where it is. Once she walks, it looks ahead of her again.
TEST_F(RunningGameTest, TheViewStaysStillWhileTheHeroStandsAndFights) {
    CalmTheLanding("innkeeper");
    const DRAV::CModule& module = *app().GetEngine()->GetModule();
    main().SetAttribute(DRAV::ATTR_STRENGTH, 14);
    main().SetEquipment(DRAV::SLOT_WEAPON, module.CreateItem("reed_bow", 1, game().NewThingId(DRAV::THING_ITEM), 0));
    main().SetMaxHitPoints(500);
    main().FinalizeMove(13.75, 23.75);
    // Hollis turns on her and runs to and fro past her, out of reach of her arrows' harm.
    DRAV::CActor* hollis = nullptr;
    for (const auto& actor : game().GetCurrentArea()->GetActors())
        if (actor->GetTemplateName() == "innkeeper") hollis = actor.get();
    ASSERT_TRUE(hollis);
    hollis->FinalizeMove(11.25, 19.5);
    hollis->SetRelation(DRAV::RELATION_HOSTILE);
    hollis->SetMaxHitPoints(5000);
    const double ends[2] = {21.25, 11.25};
    main().PushOrder(std::make_shared<DRAV::CAttackOrder>(hollis->GetId()), false);
    float first[3] = {0.0f, 0.0f, 0.0f};
    float farthest = 0.0f;
    double facing = 0.0;
    double turned = 0.0;
    for (int tick = 0, end = 0; tick < 600; ++tick) {
        if (!hollis->GetCurrentOrder()) {
            hollis->PushOrder(std::make_shared<DRAV::CMoveOrder>(ends[end], 19.5), false);
            end = 1 - end;
        }
        CDRAVAppTestAccess::DropDialogs(app());
        TimerAfter(16);
        float target[3];
        app().GetCameraTarget(target);
        if (tick == 0) {
            std::copy(target, target + 3, first);
            facing = main().GetFacing();
        }
        farthest = std::max(farthest, std::hypot(target[0] - first[0], target[2] - first[2]));
        turned = std::max(turned, std::fabs(std::remainder(main().GetFacing() - facing, 2.0 * M_PI)));
    }
    ASSERT_TRUE(main().GetCurrentOrder() && main().GetCurrentOrder()->GetType() == DRAV::ORDER_ATTACK)
        << "she fought throughout";
    EXPECT_DOUBLE_EQ(main().GetX(), 13.75) << "where she stood";
    EXPECT_GT(turned, 1.0) << "Hollis went to and fro before her";
    EXPECT_LT(farthest, 1.0f);

    // Sent west, she looks ahead of her way.
    main().ClearOrders();
    main().PushOrder(std::make_shared<DRAV::CMoveOrder>(6.25, 23.75), false);
    float target[3];
    for (int tick = 0; tick < 20; ++tick) {
        TimerAfter(16);
        app().GetCameraTarget(target);
    }
    EXPECT_LT(target[0], main().GetX() - 5.0f);
}

// Sent into the river from its bank, the hero presses against the water, turning
// to and fro as she slides along it, until she says she can't reach the spot.
TEST_F(RunningGameTest, TheViewStaysStillWhileAWalkIsHeldUp) {
    CalmTheLanding();
    main().FinalizeMove(21.25, 8.75);
    main().PushOrder(std::make_shared<DRAV::CMoveOrder>(18.75, 1.25), false);
    // The view with its glide run out: where it looks, less where she stands.
    const auto lookAhead = [&] {
        float target[3];
        for (int i = 0; i < 40; ++i) app().GetCameraTarget(target);
        return std::make_pair(target[0] - main().GetX(), target[2] - main().GetY());
    };
    std::pair<double, double> held{0.0, 0.0};
    const double facing = main().GetFacing();
    double turned = 0.0;
    int swings = 0;
    for (int frame = 0; frame < 600 && main().GetCurrentOrder(); ++frame) {
        TimerAfter(16);
        const auto ahead = lookAhead();
        swings += main().GetCurrentOrder() && std::hypot(ahead.first - held.first, ahead.second - held.second) > 5.0;
        held = ahead;
        turned = std::max(turned, std::fabs(std::remainder(main().GetFacing() - facing, 2.0 * M_PI)));
    }
    EXPECT_FALSE(main().GetCurrentOrder()) << "the walk ended";
    EXPECT_EQ(app().GetMessageLog().back(), "Wren can't reach River Channel.");
    EXPECT_GT(turned, 2.0) << "she turned to and fro on the bank";
    EXPECT_LE(swings, 1) << "the view swung with her";
    // Once she stands with no walk left, the view comes back to her.
    const auto ended = lookAhead();
    EXPECT_LT(std::hypot(ended.first, ended.second), 0.5);
}

TEST_F(RunningGameTest, APartyOfSummonedSurvivorsIsDeadAndIsNotMovedOn) {
    auto summoned = AddMember("reed_goblin");
    summoned->SetSummonEndTick(game().GetTick() + 1000);
    main().SetActionState(DRAV::ACTION_DEAD);
    game().SetStateCode(DRAV::GAME_WIPED_OUT);
    const DRAV::CArea* area = game().GetCurrentArea();
    app().CheckPartyAndChangeArea();
    EXPECT_TRUE(CDRAVAppTestAccess::IsPartyDeadShown(app()));
    EXPECT_EQ(app().GetCurrentDialog()->GetTitle(), "Party Dead");
    EXPECT_EQ(game().GetCurrentArea(), area) << "the party has not left yet";
    EXPECT_EQ(game().GetStateCode(), DRAV::GAME_WIPED_OUT);
    // Closing the dialog runs the area change again: the party is brought back.
    app().CloseDialog(0);
    EXPECT_FALSE(CDRAVAppTestAccess::IsPartyDeadShown(app()));
    EXPECT_EQ(main().GetActionState() == DRAV::ACTION_DEAD, false);
}

// A journey the entry script asked for is still waiting when the clock next runs.
// One the game has too few serials left for is refused, with words, and the party
// plays on where it stood.
TEST_F(RunningGameTest, AJourneyWaitingWhenTheTimerComesIsMade) {
    const std::uint32_t counter = game().GetThingSerialCounter();
    const DRAV::CArea* landing = game().GetCurrentArea();
    const std::pair<double, double> stood{main().GetX(), main().GetY()};
    game().SetThingSerialCounter(DRAV::kMaxThingSerial - 5);
    game().SetStateCode(DRAV::GAME_TRAVEL);
    game().SetEntry({"reed_marsh", "landing"}, 0, "");
    TimerAfter(16);
    ASSERT_EQ(m_shell.recorder.boxes.size(), 1u);
    EXPECT_EQ(m_shell.recorder.boxes[0].second,
              "Failed to load area \"reed_marsh\": the game has too few numbers left for the things it may make there: "
              "save the game and load it to number its things anew. The party stays where it is.");
    EXPECT_EQ(game().GetCurrentArea(), landing);
    EXPECT_EQ(std::make_pair(main().GetX(), main().GetY()), stood);
    EXPECT_EQ(game().GetStateCode(), DRAV::GAME_PLAYING);

    game().SetThingSerialCounter(counter);
    game().SetStateCode(DRAV::GAME_TRAVEL);
    TimerAfter(16);
    EXPECT_EQ(game().GetCurrentArea()->GetName(), "reed_marsh");
}

TEST_F(RunningGameTest, AWipedOutPartyRestsThenEntersItsDestination) {
    main().SetDamageTaken(3);
    const std::uint32_t before = game().GetTick();
    game().SetStateCode(DRAV::GAME_WIPED_OUT);
    app().CheckPartyAndChangeArea();
    EXPECT_GT(game().GetTick(), before) << "the rest took its hours";
    EXPECT_EQ(main().GetDamageTaken(), 0);
    ASSERT_NE(game().GetCurrentArea(), nullptr);
    EXPECT_EQ(game().GetCurrentArea()->GetDisplayName(), "Reedwater Landing");
    const auto& log = app().GetMessageLog();
    EXPECT_NE(std::find_if(log.begin(), log.end(),
                           [](const std::string& line) { return line.find("has rested") != std::string::npos; }),
              log.end());
    EXPECT_EQ(app().GetSuspendCount(), 0) << "the clock runs again in the entered area";
    EXPECT_FALSE(CDRAVAppTestAccess::IsPartyDeadShown(app()));
    // With too few serials left to build a place: a party standing does not set out
    // to rest, and one wiped out wakes where it fell; both are told why.
    const DRAV::CArea* area = game().GetCurrentArea();
    game().SetThingSerialCounter(DRAV::kMaxThingSerial - 5);
    for (const bool standing : {true, false}) {
        main().SetActionState(standing ? DRAV::ACTION_IDLE : DRAV::ACTION_DEAD);
        game().SetStateCode(DRAV::GAME_WIPED_OUT);
        app().CheckPartyAndChangeArea();
        if (!standing) app().CloseDialog(0);  // the party's death, told first
        EXPECT_EQ(game().GetStateCode(), DRAV::GAME_PLAYING);
        EXPECT_EQ(main().GetArea(), area);
        EXPECT_TRUE(main().IsAlive());
        ASSERT_FALSE(m_shell.recorder.boxes.empty());
        EXPECT_EQ(m_shell.recorder.boxes.back().first, "Area Load Error");
        EXPECT_TRUE(app().IsGameRunning());
    }
    EXPECT_EQ(m_shell.recorder.boxes.size(), 2u);
}

// Hours the calendar has no room for are refused before the party sets out, in a
// box and in the log: it stays where it stood, and the clock where it was. A party
// wiped out cannot be refused its rest, nor rise without it: the game ends, told why.
TEST_F(RunningGameTest, HoursTheCalendarHasNoRoomForAreRefusedWithWords) {
    CalmTheLanding();
    const DRAV::CArea* landing = game().GetCurrentArea();
    const std::string calendarEnd =
        ", past the end of the game's calendar on " + game().FormatDateTime(DRAV::kLastPassedTick) + ".";
    const struct {
        const char* name;
        std::int32_t state;
        DRAV::AreaEntryPoint place;
        std::uint32_t hours;
        std::string said;
        bool byMap = false;
        bool fallen = false;
    } rows[] = {
        {"a rest a script asks for", DRAV::GAME_WIPED_OUT, {"reedwater_landing", "dock"}, 8, "The rest would take 8 hours"},
        {"a journey a script asks for", DRAV::GAME_TRAVEL, {"reed_marsh", "landing"}, 1, "The journey would take 1 hour"},
        {"a journey by the map", DRAV::GAME_TRAVEL, {"reedwater_map", ""}, 1, "The journey would take 1 hour", true},
        {"a wake", DRAV::GAME_WIPED_OUT, {"reedwater_landing", "dock"}, 8, "The rest would take 8 hours", false, true},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        m_shell.recorder.boxes.clear();
        const std::pair<double, double> stood{main().GetX(), main().GetY()};
        const std::uint32_t tick = DRAV::kLastPassedTick - row.hours * DRAV::kTicksPerTravelHour + 1;
        game().SetTick(tick);
        if (row.fallen) main().SetActionState(DRAV::ACTION_DEAD);
        game().SetEntry(row.place, DRAV::AREA_LOAD_FRESH, "");
        game().SetStateCode(row.state);
        if (row.byMap)
            app().TravelToArea(game().FindAndLoadTempMap("reedwater_map", *app().GetEngine()->GetModule())
                                   ->GetArea("reed_marsh"));
        else
            app().CheckPartyAndChangeArea();
        if (row.fallen) {
            app().CloseDialog(0);  // the party's death, told first
            ASSERT_EQ(m_shell.recorder.boxes.size(), 1u);
            EXPECT_EQ(m_shell.recorder.boxes[0],
                      std::make_pair(std::string("Game Over"), "Your party cannot rise again. " + row.said + calendarEnd +
                                                                   " Load a saved game to play on."));
            EXPECT_FALSE(app().IsGameRunning());
            EXPECT_NE(dynamic_cast<CStartDlg*>(app().GetCurrentDialog().get()), nullptr);
            continue;
        }
        const std::string refusal = row.said + calendarEnd + " The party stays where it is.";
        ASSERT_EQ(m_shell.recorder.boxes.size(), 1u);
        EXPECT_EQ(m_shell.recorder.boxes[0], std::make_pair(std::string("Calendar"), refusal));
        EXPECT_EQ(app().GetMessageLog().back(), refusal);
        EXPECT_EQ(game().GetTick(), tick);
        EXPECT_EQ(game().GetStateCode(), DRAV::GAME_PLAYING);
        EXPECT_EQ(game().GetCurrentArea(), landing);
        EXPECT_EQ(std::make_pair(main().GetX(), main().GetY()), stood);
        EXPECT_FALSE(app().GetCurrentDialog());
    }
}

// Remembers what the shell last asked of the footsteps and the ambient loop.
class AmbientRecorder : public QuillmereTest::CountedAudio {
public:
    void SetFootsteps(bool on) override { footsteps = on; }
    void PlayAmbientFx(const std::string& name) override { ambient = name; }
    void StopAmbientFx() override { ambient.clear(); }
    bool footsteps = false;
    std::string ambient;
};

TEST_F(RunningGameTest, TheFountainIsHeardWhereTheCameraLooksAndFootstepsFollowTheWalk) {
    auto audio = std::make_shared<AmbientRecorder>();
    CDRAVAppTestAccess::SetAudio(app(), audio);
    // The whole party selected, the camera looks between the two, ten units from each.
    auto settle = [&] {
        float target[3];
        for (int i = 0; i < 40; ++i) app().GetCameraTarget(target);
        return target[0];
    };
    auto companion = AddMember("reed_goblin");
    companion->SetPosition(30.0, 16.25);
    app().SelectAll();
    main().SetPosition(10.0, 16.25);
    EXPECT_NEAR(settle(), 20.0f, 1e-3f);
    app().UpdateAmbientSound();
    EXPECT_EQ(audio->ambient, "water_trickle.mp3") << "within the fountain's reach";
    EXPECT_FALSE(audio->footsteps);

    app().SelectPartyMember(0);
    main().SetPosition(30.0, 26.25);
    settle();
    main().SetAnimation(DRAV::ANIM_MOVE, 0.0);
    app().UpdateAmbientSound();
    EXPECT_EQ(audio->ambient, "reed_wind.mp3") << "the landing's own sound everywhere else";
    EXPECT_TRUE(audio->footsteps);
    main().SetActionState(DRAV::ACTION_DEAD);
    app().UpdateAmbientSound();
    EXPECT_FALSE(audio->footsteps) << "the dead do not walk";
}

TEST_F(RunningGameTest, KeysRunTheClockAndOpenTheMessages) {
    // The lane's goblins would start a fight and end the fast move.
    CalmTheLanding();
    TimerAfter(16);
    std::uint32_t start = game().GetTick();
    for (int i = 0; i < 62; ++i) TimerAfter(16);
    TimerAfter(8);
    EXPECT_EQ(game().GetTick() - start, 60u);
    app().HandleMessage(WM_KEYDOWN, 'F', 0);
    EXPECT_TRUE(app().IsFastMove()) << (game().IsInBattle() ? "in battle" : "");
    start = game().GetTick();
    for (int i = 0; i < 62; ++i) TimerAfter(16);
    TimerAfter(8);
    EXPECT_EQ(game().GetTick() - start, 120u) << (app().IsFastMove() ? "" : "fast move was cancelled");
    app().HandleMessage(WM_KEYDOWN, 'F', 0);

    app().HandleMessage(WM_KEYDOWN, VK_SPACE, 0);
    EXPECT_TRUE(app().IsPaused());
    start = game().GetTick();
    TimerAfter(3000);
    EXPECT_EQ(game().GetTick(), start);
    app().HandleMessage(WM_KEYDOWN, VK_SPACE, 0);
    TimersFor(500);
    EXPECT_EQ(game().GetTick() - start, 30u) << "the paused time is not caught up";

    app().AppendMessage("The ferry bumps against the dock.");
    app().HandleMessage(WM_KEYDOWN, 'G', 0);
    auto* messages = dynamic_cast<CDRAVMsgDlg*>(app().GetCurrentDialog().get());
    ASSERT_NE(messages, nullptr);
    EXPECT_EQ(messages->GetTitle(), "Messages");
    EXPECT_EQ(m_shell.recorder.titles.back(), "Quillmere - Messages");
    app().HandleMessage(WM_KEYDOWN, VK_ESCAPE, 0);
    EXPECT_FALSE(app().GetCurrentDialog());
    // The message window's alternate click opens the same page.
    app().OnScreenAltClick(1);
    EXPECT_TRUE(dynamic_cast<CDRAVMsgDlg*>(app().GetCurrentDialog().get()));
}

TEST_F(RunningGameTest, DrainedEventsLogTheirLinesAndWaitForTheTimer) {
    std::shared_ptr<DRAV::CEvent> raised;  // what entering the landing raised
    while (game().PopEvent(raised)) {
    }
    game().PushMessage(DRAV::MESSAGE_GOLD, "Wren finds 5 gold.");
    game().PushEvent(std::make_shared<DRAV::CInfoEvent>(DRAV::EVENT_PARTY_CHANGED));
    app().DrainEngineEvents();
    EXPECT_EQ(app().GetMessageLog().back(), "Wren finds 5 gold.");
    EXPECT_EQ(m_shell.audio->played.back(), 2) << "the gold's sound";
    ASSERT_EQ(app().GetPendingEvents().size(), 1u) << "even an information event waits when drained";
    TimerAfter(16);
    EXPECT_TRUE(app().GetPendingEvents().empty());
}

}  // namespace

namespace {

// The box names the area and why it failed, as a journey given up does.
TEST(GameStart, AStartAreaThatDoesNotLoadEndsTheGameWithAGameErrorSayingWhy) {
    struct Row {
        std::vector<QuillmereTest::SampleEdit> edits;
        std::string entryArea;  // in place of the chapter's start, when not empty
        std::string told;
    };
    const Row rows[] = {
        {{}, "no_such_area", "Failed to load area \"no_such_area\": "},
        {{{DRAVCommon::DFK_GLOBAL, "global_monsters.drav", "<size> 1.2 1.8 </size>", "<size> 3 1.8 </size>"}},
         "",
         // Which ferryman finds no room first is the rolls'.
         "Failed to load area \"reedwater_landing\": reedwater_landing.drav: no room near ("},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.told);
        ShellOnSample shell;
        ASSERT_TRUE(shell.loaded);
        if (!row.edits.empty()) {
            CDRAVAppTestAccess::SetEngine(shell.app, std::make_shared<DRAV::CEngine>());
            shell.app.GetEngine()->LoadModule(1, {"Orvex", 5, 0}, QuillmereTest::EditedSampleSource(row.edits));
        }
        shell.app.StartNewGame(1, false);
        CDRAVAppTestAccess::DropDialogs(shell.app);
        std::shared_ptr<DRAV::CActor> main = shell.app.GetNewActor();
        ASSERT_NE(main, nullptr);
        if (!row.entryArea.empty())
            shell.app.GetEngine()->GetGame()->SetEntry({row.entryArea, "dock"}, DRAV::AREA_LOAD_FRESH, "");
        shell.app.StartGameWithActor(main);
        ASSERT_EQ(shell.recorder.boxes.size(), 1u);
        EXPECT_EQ(shell.recorder.boxes[0].first, "Game Error");
        EXPECT_EQ(shell.recorder.boxes[0].second.rfind(row.told, 0), 0u) << shell.recorder.boxes[0].second;
        EXPECT_FALSE(shell.app.IsGameRunning());
        EXPECT_FALSE(shell.app.GetCurrentDialog()) << "no introduction over a game that never began";
    }
}

// A module whose dock script calls for an item the module lacks: the player is
// told what broke, where, and plays on.
TEST(GameStart, ABrokenEntryScriptIsAScriptErrorNamingItAndTheGameGoesOn) {
    ShellOnSample shell;
    ASSERT_TRUE(shell.loaded);
    auto source = std::make_shared<QuillmereTest::OverlaySource>(QuillmereTest::SampleFolderSource());
    const auto bytes = source->ReadAll(DRAVCommon::DFK_CHAPTER, DRAVCommon::DFS_NONE, "reedwater_landing.drav");
    std::string landing(bytes->begin(), bytes->end());
    landing.replace(landing.find("\"river_tonic\", 2"), 13, "\"no_such_tonic\"");
    source->Add(DRAVCommon::DFK_CHAPTER, DRAVCommon::DFS_NONE, "reedwater_landing.drav", landing);
    auto engine = std::make_shared<DRAV::CEngine>();
    engine->LoadModule(1, DRAV::CModuleVersionRange("Orvex", 5, 0), source);
    CDRAVAppTestAccess::SetEngine(shell.app, engine);
    shell.StartWrensGame();
    EXPECT_TRUE(shell.app.IsGameRunning());
    ASSERT_EQ(shell.recorder.boxes.size(), 1u);
    EXPECT_EQ(shell.recorder.boxes[0].first, "Script Error");
    EXPECT_NE(shell.recorder.boxes[0].second.find("reedwater_landing.drav (entry dock): drav_give_item: no item "
                                                  "\"no_such_tonic\" is defined"),
              std::string::npos)
        << shell.recorder.boxes[0].second;
    shell.app.EndGame();
}

// Entries whose scripts send the party on as it arrives, to where it stands or to
// each other, for ever: it comes to rest where it last arrived, told why, and plays
// on there; no save on the way holds the journey, and one made there loads into a
// game that plays on. A win is made.
TEST(Journeys, AnEntryThatAlwaysSendsThePartyOnComesToRest) {
    const auto before = [](const std::string& call, const char* file = "reedwater_landing.drav",
                           const char* tag = "ferry_kit_given") {
        const std::string script = std::string("if not drav_check_and_set_tag( context, \"") + tag + "\" )";
        return QuillmereTest::SampleEdit{DRAVCommon::DFK_CHAPTER, file, script, call + " " + script};
    };
    const std::string stopped = ": the party has been sent on 16 times in a row as it arrived";
    struct Row {
        std::vector<QuillmereTest::SampleEdit> edits;
        std::string error;
        std::size_t pages = 0;  // shown once the party is at rest
    };
    const Row rows[] = {
        {{before("drav_goto_area( context, \"reedwater_landing\", \"dock\" )")},
         "reedwater_landing.drav (entry dock)" + stopped},
        {{before("drav_rest( context, \"dock\" )")}, "reedwater_landing.drav (entry dock)" + stopped},
        {{before("drav_goto_area( context, \"reed_marsh\", \"landing\" )"),
          before("drav_goto_area( context, \"reedwater_landing\", \"dock\" )", "reed_marsh.drav", "marsh_entered")},
         "reed_marsh.drav (entry landing)" + stopped},
        // A box at each of the 16 arrivals, and the tutorial's page at the first:
        // the latest 16 pages, as many as one run may show, wait for the player
        // where the party stays, and the first box goes to the log.
        {{before("drav_dialog_box( context, \"Onward\", \"The current carries you on.\" ) "
                 "drav_goto_area( context, \"reedwater_landing\", \"dock\" )")},
         "reedwater_landing.drav (entry dock)" + stopped,
         15},  // in turn, the tutorial's first, put away with the introduction
        {{before("drav_win( context, \"The end.\" )")}, ""},  // no error: the chapter is won
    };
    for (const auto& [edits, error, pages] : rows) {
        SCOPED_TRACE(error);
        DWORD now = 100000;
        Win32::SetClockSource([&now] { return now; });
        const std::shared_ptr<void> clock(nullptr, [](void*) { Win32::SetClockSource(nullptr); });
        ShellOnSample shell;
        CDRAVAppTestAccess::SetEngine(shell.app, std::make_shared<DRAV::CEngine>());
        shell.app.GetEngine()->LoadModule(1, {"Orvex", 5, 0}, QuillmereTest::EditedSampleSource(edits));
        shell.StartWrensGame();
        // Timer messages, the introduction and the tutorial's pages put away, until another page waits.
        const auto play = [&](int messages) {
            for (int i = 0; i < messages; ++i) {
                const auto page = shell.app.GetCurrentDialog();
                const std::string title = page ? page->GetTitle() : "";
                if (page && title != "The Reedwater Landing" && title.find("Tutorial") == std::string::npos) break;
                if (page) shell.app.CloseDialog(title.find("Tutorial") == std::string::npos ? 1 : 0);
                now += 16;
                if (!page && Win32::NextTimerDue())
                    shell.app.HandleMessage(WM_TIMER, CDRAVAppTestAccess::TimerId(shell.app), 0);
            }
            return shell.app.GetEngine()->GetGame().get();
        };
        const DRAV::CGame* game = play(400);
        const auto& boxes = shell.recorder.boxes;
        ASSERT_EQ(boxes.size(), error.empty() ? 0u : 1u) << testing::PrintToString(boxes);
        EXPECT_EQ(game->GetStateCode(), error.empty() ? DRAV::GAME_WON : DRAV::GAME_PLAYING);
        if (error.empty()) continue;
        EXPECT_NE(boxes[0].second.find(error), std::string::npos) << boxes[0].second;
        std::size_t shown = 0;
        for (; shell.app.GetCurrentDialog(); ++shown, now += 16) {
            shell.app.CloseDialog(shell.app.GetCurrentDialog()->GetTitle().find("Tutorial") == std::string::npos);
            shell.app.HandleMessage(WM_TIMER, CDRAVAppTestAccess::TimerId(shell.app), 0);  // the next page opens
        }
        EXPECT_EQ(shown, pages);
        const auto& log = shell.app.GetMessageLog();
        EXPECT_EQ(std::count(log.begin(), log.end(), "The current carries you on."), pages ? 16 : 0);
        EXPECT_NE(error.find(game->GetCurrentArea()->GetName() + ".drav"), std::string::npos);
        EXPECT_LE(game->GetTick(), 16u * 8 * 3600 * 30 + 1000) << "rests stopped with the journeys";
        // The save the game made on the way, if any, then the player's own.
        const std::string save = shell.home.folder / "docs/Orvex Saved Games/Wren.drav";
        for (bool own : {false, true}) {
            ASSERT_TRUE(!own || shell.app.SaveGame());
            if (!std::filesystem::exists(save)) continue;
            ASSERT_TRUE(shell.app.LoadGame(save, 1, false));
            const std::uint32_t tick = shell.app.GetEngine()->GetGame()->GetTick();
            EXPECT_GT(play(60)->GetTick(), tick + 30) << "the clock runs where the party stands";
        }
        EXPECT_EQ(boxes.size(), 1u) << testing::PrintToString(boxes);
        shell.app.EndGame();
    }
}

}  // namespace
