// What one run of a module's scripts costs the player at once, in the playing
// thread's processor time, headless (SDL's dummy video driver and the recording
// device), on the sample's calm landing:
//   PartyChangesInAReply   the timer message that opens a talk whose first state
//                          makes its partner join and leave the party 499 times;
//   PagesOfARun/0, /1      the timer message that opens the help pages (0) or the
//                          boxes (1) that one heartbeat calling drav_help (each
//                          page in turn, none yet shown in the game, since a page
//                          opens once a game) or drav_dialog_box without end puts
//                          in front of the player,
//                          and the frame that shows the first (`open_`), and each
//                          page's close with the frame after it (`close_`);
//   TrapUnderTheParty      the ticks of one timer message (eleven, or up to a
//                          script's failure, which pauses the game) with the party of
//                          six stepped onto a trap that rearms at once and works
//                          about a tenth of a second at each spring;
//   TrapBehindTheClock     one timer message far behind the clock, the hero alone
//                          walking onto a floor trap from beside it, which rearms at
//                          once and works about 115 ms of this machine's processor
//                          time at each spring (measured before the timed messages),
//                          so that the message's first tick does: more than the
//                          message's share and well inside a script's limit, on a
//                          slow core too; the message stops catching up once it has
//                          worked its share.
// Each reports the median, 99th percentile and slowest, and fails unless its
// scenario played as set up.
//   SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy build/bench/burst_bench

#include <SDL_image.h>
#include <SDL_ttf.h>
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <functional>
#include <limits>
#include <string>
#include <vector>

#include "bench_quick.h"
#include "millis_report.h"
#include "common/data_file_reader.h"
#include "common/exception.h"
#include "common/sdl_init.h"
#include "dialog_test_support.h"
#include "engine/engine.h"
#include "game/dialogs/maps/help_pages.h"
#include "game/dialogs/dialog.h"
#include "game/dialogs/talk/talk_dlg.h"
#include "platform/win32/virtual_keys.h"
#include "platform/win32/win32_time.h"
#include "rules/definitions/talk_state.h"
#include "script/script_test_support.h"
#include "support/sample_game.h"
#include "support/sample_module.h"
#include "world/actor.h"
#include "world/area.h"
#include "world/events/event.h"
#include "world/game.h"
#include "world/object.h"
#include "world/order.h"

namespace {

using BenchSupport::ThreadMillis;

double Timed(const std::function<void()>& work) {
    const double start = ThreadMillis();
    work();
    return ThreadMillis() - start;
}

// The running game on the landing with only the party on it, its clock moved by hand.
class Landing {
public:
    Landing() {
        TTF_Init();
        IMG_Init(IMG_INIT_JPG | IMG_INIT_PNG);
        Win32::SetClockSource([this] { return m_now; });
        m_shell.StartWrensGame();
        m_ready = m_shell.PastTheWelcome([this] { Timer(); }) && !App().GetCurrentDialog();
        DRAV::CArea& area = *Game().GetCurrentArea();
        for (const auto& actor : DRAV::ActorList(area.GetActors()))
            if (actor->GetRelation() != DRAV::RELATION_PARTY) area.RemoveActor(*actor);
        for (const auto& object : DRAV::ObjectList(area.GetObjects()))
            if (object->GetTemplate().GetKey() == "lane_reeds") area.RemoveObject(*object);
    }
    ~Landing() {
        if (App().IsGameRunning()) App().EndGame();
        Win32::SetClockSource(nullptr);
        IMG_Quit();
        TTF_Quit();
    }

    bool Ready() const { return m_ready; }
    CDRAVApp& App() { return m_shell.app; }
    DRAV::CGame& Game() { return *App().GetEngine()->GetGame(); }
    DRAV::CActor& Main() { return *Game().GetParty().front(); }
    // One timer message, a few ticks' worth of the clock on.
    void Timer() {
        m_now += 50;
        App().HandleMessage(WM_TIMER, CDRAVAppTestAccess::TimerId(App()), 0);
    }

private:
    DRAVSDL::InitSDL m_sdl;
    DWORD m_now = 100000;
    QuillmereTest::ShellOnSample m_shell;
    bool m_ready = false;
};

void PartyChangesInAReply(benchmark::State& state) {
    Landing landing;
    if (!landing.Ready()) return state.SkipWithError("the game did not start on a calm landing");
    CDRAVApp& app = landing.App();
    DRAV::CArea& area = *landing.Game().GetCurrentArea();
    auto marra = area.CreateEncounterActor("reed_witch", "", 0, *app.GetEngine()->GetModule());
    area.PlaceActor(3, 2, false, marra);
    marra->FinalizeMove(landing.Main().GetX() + 1.5, landing.Main().GetY());
    DRAVCommon::CDataFileReader reader(
        QuillmereTest::TextStream("<talk> <state> start <lua> for i = 1, 499 do drav_join_party( context ) "
                                  "drav_leave_party( context ) end </lua> </state> </talk>"),
        "talk.drav");
    DRAV::TalkStateList states;
    DRAV::ReadTalkStates(states, reader);
    marra->SetTalkStates(states);
    std::vector<double> cpu;
    for (auto _ : state) {
        landing.Game().PushEvent(std::make_shared<DRAV::CTalkEvent>(landing.Main().GetId(), marra->GetId()));
        cpu.push_back(Timed([&] { landing.Timer(); }));
        if (!dynamic_cast<CTalkDlg*>(app.GetCurrentDialog().get()) || landing.Game().GetParty().size() != 1)
            return state.SkipWithError("the talk did not open on a party of one");
        app.CloseDialog(0);
    }
    BenchSupport::ReportMillis(state, "cpu_", cpu);
}
BENCHMARK(PartyChangesInAReply)->Iterations(20)->Unit(benchmark::kMillisecond)->Apply(BenchSupport::QuickIterations<2>);

void PagesOfARun(benchmark::State& state) {
    Landing landing;
    if (!landing.Ready()) return state.SkipWithError("the game did not start on a calm landing");
    CDRAVApp& app = landing.App();
    std::string keys;
    for (const HelpPage& page : HelpPages) keys += std::string(keys.empty() ? "" : ", ") + "\"" + page.key + "\"";
    const std::string call = state.range(0) == 0
                                 ? "i = i % " + std::to_string(kHelpPageCount) +
                                       " + 1 drav_help( context, keys[i], \"A page.\" )"
                                 : "drav_dialog_box( context, \"Box\", \"A page.\" )";
    landing.Main().SetHeartbeat(
        QuillmereTest::LuaBody("local keys = { " + keys + " } local i = 0 while true do " + call + " end"));
    // Only the bench makes the heartbeat beat.
    landing.Game().SetNextHeartbeatTick(std::numeric_limits<std::uint32_t>::max());
    std::vector<double> open, close;
    std::size_t pages = 0;
    for (auto _ : state) {
        landing.Game().SetTutorialsShown(0);
        try {
            app.GetEngine()->RunHeartbeatActor(landing.Main());
        } catch (const CDRAVException& failure) {
            if (failure.GetCode() != DRAV_ERR_SCRIPT) throw;
        }
        open.push_back(Timed([&] {
            landing.Timer();
            app.OnPaint(0);
        }));
        pages = app.GetCurrentDialog() ? app.GetCoveredDialogs().size() + 1 : 0;
        if (pages == 0) return state.SkipWithError("no page opened");
        while (app.GetCurrentDialog())
            close.push_back(Timed([&] {
                app.DeliverKeyToDialog(VK_ESCAPE, false);
                app.OnPaint(0);
            }));
    }
    state.counters["pages"] = static_cast<double>(pages);
    BenchSupport::ReportMillis(state, "open_cpu_", open);
    BenchSupport::ReportMillis(state, "close_cpu_", close);
}
BENCHMARK(PagesOfARun)->Arg(0)->Arg(1)->Iterations(5)->Unit(benchmark::kMillisecond)
    ->Apply(BenchSupport::QuickIterations<1>);

// A trap script that counts its springs in the tag "springs", then works through
// `rounds` (a Lua expression) rounds of eight comparisons of two 16 KB strings that
// differ at their end: work no counter of the script's sees, one to three
// microseconds a round as the core goes.
std::string SpringingScript(const std::string& rounds) {
    return "<lua> drav_set_tag_value( context, \"springs\", drav_get_tag_value( context, \"springs\" ) + 1 ) "
           "local a = string.rep( \"x\", 16384 ) local b = string.rep( \"x\", 16383 ) .. \"y\" "
           "for i = 1, " +
           rounds +
           " do if a == b or a == b or a == b or a == b or a == b or a == b or a == b or a == b "
           "then return end end </lua> 0.01";
}

// The sample with the landing's crate trapped by `script` (SpringingScript).
QuillmereTest::SampleGame TrappedLanding(const std::string& script) {
    return QuillmereTest::SampleGame(
        QuillmereTest::EditedSampleSource(DRAVCommon::DFK_CHAPTER, "world.drav", "reed_lash 30", script));
}

const DRAV::CObject* Crate(const QuillmereTest::SampleGame& game) {
    for (const auto& object : game.Area().GetObjects())
        if (object->GetObjectName() == "reed_crate") return object.get();
    return nullptr;
}

void TrapUnderTheParty(benchmark::State& state) {
    const QuillmereTest::SampleGame game = TrappedLanding(SpringingScript("65000"));
    const DRAV::CObject* crate = Crate(game);
    if (!crate) return state.SkipWithError("no crate on the landing");
    while (game.Game().GetParty().size() < 6) game.Game().AddPartyMember(game.Spawn("reed_goblin", 12, 4));
    std::vector<double> cpu;
    for (auto _ : state) {
        // A trap springs to a step onto it: each steps from beside it.
        for (const auto& member : game.Game().GetParty()) {
            member->SetPosition(crate->GetX(), crate->GetY() - 5.0);
            member->FinalizeMove(crate->GetX(), crate->GetY() - 0.6);
        }
        cpu.push_back(Timed([&] {
            try {
                for (std::uint32_t tick = 0; tick < CDRAVApp::kMostTicksPerTimer; ++tick) game.Tick();
            } catch (const CDRAVException& failure) {
                if (failure.GetCode() != DRAV_ERR_SCRIPT) throw;
            }
        }));
        game.DrainEvents();
    }
    if (!game.Game().IsQuestTagSet("springs")) state.SkipWithError("the trap never sprang");
    BenchSupport::ReportMillis(state, "cpu_", cpu);
}
BENCHMARK(TrapUnderTheParty)->Iterations(10)->Unit(benchmark::kMillisecond)->Apply(BenchSupport::QuickIterations<1>);

// What TrapBehindTheClock's spring works: more than a timer message's share, so
// that the message stops after its first tick, and less than half the quarter of a
// second a script may work, so that a core working it twice as slowly as measured
// still keeps within it.
constexpr double kSpringMillis = 115.0;
// The rounds of the spring that measure how fast this core works them, a few tens
// of milliseconds, beside springs of no rounds that measure the rest of the
// message: the middle one of three of each.
constexpr std::int32_t kMeasuringRounds = 16000;
constexpr int kMeasuringSprings = 3;
// What a message does besides its ticks, and a tick without a spring, costs a
// millisecond or two: one that ran past its first tick worked less than its share
// in it by at most this.
constexpr double kWorkBesideTheSpringMillis = 10.0;

void TrapBehindTheClock(benchmark::State& state) {
    // The landing's loose board trapped, a floor trap she can walk across: a trap
    // springs to a step onto it, and she is put just beside it, walking across. The
    // spring works the rounds the tag "rounds" holds.
    QuillmereTest::SampleGame game(QuillmereTest::EditedSampleSource(
        DRAVCommon::DFK_CHAPTER, "world.drav",
        "<trigger> loose_board_lifted \"The board shifts under your boot. Beneath it lies a coil of tarred rope "
        "and a lantern hood of black cloth. LINE Someone lands goods at Reedwater by night.\" </trigger>",
        "<trap> false 0 0 " + SpringingScript("drav_get_tag_value( context, \"rounds\" )") + " </trap>"));
    const DRAV::CObject* board = nullptr;
    for (const auto& object : game.Area().GetObjects())
        if (object->GetObjectName() == "landing_board") board = object.get();
    if (!board || !board->GetTrap()) return state.SkipWithError("no trapped board on the landing");
    DRAV::CArea& area = game.Area();
    for (const auto& actor : DRAV::ActorList(area.GetActors()))
        if (actor->GetRelation() != DRAV::RELATION_PARTY) area.RemoveActor(*actor);
    DWORD now = 100000;
    Win32::SetClockSource([&now] { return now; });
    CDRAVApp app;
    CDRAVAppTestAccess::SetEngine(app, game.EnginePtr());
    CDRAVAppTestAccess::SetAudio(app, std::make_shared<CountingAudio>());
    CDRAVAppTestAccess::StartPlaying(app);
    app.ResumeClock();
    // One message with her stepping onto the board: its processor time and the ticks it ran.
    const auto message = [&](double& cpu) {
        double halfX = 0.0, halfY = 0.0;
        board->GetHalfExtents(halfX, halfY);
        game.Main()->SetPosition(board->GetX() - halfX - game.Main()->GetRadius() - 0.01, board->GetY());
        game.Main()->ClearOrders();
        game.Main()->PushOrder(std::make_shared<DRAV::CMoveOrder>(board->GetX() + 5.0, board->GetY()), false);
        const std::uint32_t before = game.Game().GetTick();
        now += 1000;  // sixty ticks behind
        cpu = Timed([&] { app.HandleMessage(WM_TIMER, CDRAVAppTestAccess::TimerId(app), 0); });
        return game.Game().GetTick() - before;
    };
    const auto springs = [&] {
        const auto& tags = game.Game().GetQuestTags();
        return tags.count("springs") ? static_cast<std::uint32_t>(tags.at("springs")) : 0u;
    };
    const auto measure = [&](std::int32_t rounds) {
        std::vector<double> measured(kMeasuringSprings);
        game.Game().SetQuestTag("rounds", rounds);
        for (double& cpu : measured) message(cpu);
        std::sort(measured.begin(), measured.end());
        return measured[measured.size() / 2];
    };
    const double rest = measure(0);
    const double perRound = std::max(measure(kMeasuringRounds) - rest, 1.0) / kMeasuringRounds;
    game.Game().SetQuestTag("rounds", static_cast<std::int32_t>(kSpringMillis / perRound));
    const std::uint32_t measuring = springs();
    std::vector<double> cpu;
    std::uint32_t ticks = 0;
    double overran = 0.0;  // the most a message that ran past its first tick worked
    for (auto _ : state) {
        cpu.emplace_back();
        const std::uint32_t ran = message(cpu.back());
        ticks += ran;
        if (ran > 1) overran = std::max(overran, cpu.back());
        if (app.IsPaused()) {
            state.SkipWithError(("a spring's script failed, given " +
                                 std::to_string(game.Game().GetQuestTags().at("rounds")) + " rounds")
                                    .c_str());
            break;
        }
    }
    app.SuspendClock();
    Win32::SetClockSource(nullptr);
    // Her step onto the board springs it once a message, in its first tick. A spring
    // that this core worked faster than measured leaves the message its share, and
    // it runs on; one that worked the share and ran on would not stop for it.
    const double share = std::chrono::duration<double, std::milli>(CDRAVApp::kMostWorkPerTimer).count();
    if (measuring != 2 * kMeasuringSprings || springs() - measuring != cpu.size())
        state.SkipWithError(("the trap did not spring once a message: " + std::to_string(springs() - measuring) +
                             " springs in " + std::to_string(cpu.size()) + " messages")
                                .c_str());
    else if (overran >= share + kWorkBesideTheSpringMillis)
        state.SkipWithError(("a message ran on past its first tick after working " + std::to_string(overran) +
                             " ms, more than its share")
                                .c_str());
    state.counters["rounds"] = game.Game().GetQuestTags().at("rounds");
    state.counters["ticks_per_message"] = static_cast<double>(ticks) / static_cast<double>(cpu.size());
    BenchSupport::ReportMillis(state, "cpu_", cpu);
}
BENCHMARK(TrapBehindTheClock)->Iterations(10)->Unit(benchmark::kMillisecond)->Apply(BenchSupport::QuickIterations<1>);

}  // namespace

BENCHMARK_MAIN();
