#include "play_sweep/random_player.h"

#include <algorithm>
#include <fstream>
#include <memory>
#include <numeric>
#include <random>

#include "common/processor_clock.h"
#include "common/random.h"
#include "game/dialogs/chapter_end/win_dlg.h"
#include "game/dialogs/maps/world_map_dlg.h"
#include "game/dialogs/front/load_dlg.h"
#include "game/dialogs/front/start_dlg.h"
#include "game/dialogs/play/death_dlg.h"
#include "game/dialogs/play/game_menu_dlg.h"
#include "game/dialogs/yes_no_dlg.h"
#include "play_sweep/game_sight.h"
#include "play_sweep/player_watch.h"
#include "player_at_window.h"
#include "rules/definitions/travel_map.h"
#include "running_game_steps.h"
#include "wizard_steps.h"
#include "world_map_points.h"

namespace QuillmerePlaySweep {
namespace {

using namespace QuillmereE2E;
using namespace QuillmereE2E::AtTheWindow;
using Steps = std::vector<Step>;

constexpr int kExitButton = 10;
// The second slot of the selected member's action bar: Talk, by which a member
// speaks with a companion, as the party tutorial tells.
constexpr int kTalkSlot = 211;
// A turn of the player: what it did, then this long watching.
constexpr int kTurnMs = 250;
// The clock runs in slices this long between looks; an action's handling, or a
// slice, that takes the playing thread more than a second of processor time is slow.
constexpr int kSliceMs = 100;
constexpr double kSlowSeconds = 1.0;

// The played program's one player: a run is one process.
struct Player {
    std::mt19937 dice;
    int turn = 0;
    int turns = 0;
    int findingsSent = 0;
    std::string lastAction = "the start";
    // The area a game saved and loaded should come back in.
    std::string loadingInto;
    // Where each turn's move is written, when anywhere.
    std::string trace;
    // The processor time at the last look, and what ran since.
    double lookedAt = 0.0;
    std::string since;
    bool timed = false;
    // What the player saw at the last look.
    Sight seen;
    CFindings findings;
    CWalkWatch walk;
    CTalkWatch talk;
    CStrikeWatch strike;
    CLineWatch lines;
    CLoadWatch load;
    CPostWatch post;
};

Player& Me() {
    static Player player;
    return player;
}

int Roll(int below) { return std::uniform_int_distribution<int>(0, below - 1)(Me().dice); }

template <typename T>
T* Any(const std::vector<T*>& among) {
    return among.empty() ? nullptr : among[static_cast<std::size_t>(Roll(static_cast<int>(among.size())))];
}

std::string AreaName() {
    DRAV::CArea* area = TheArea();
    return area ? area->GetName() : "(no area)";
}

DRAV::CActor* Mover() {
    DRAV::CActor* selected = App().GetSelectedActor();
    return selected ? selected : &Hero();
}

Step ClickAt(POINT at) {
    return PointAt([at] { return Units(at); }, true);
}

// ---- on a page ----

// Whether the reply `choice` of the page ends the talk, as the page's close reads it.
bool Leaves(const CTalkDlg& page, int choice) {
    DRAV::CArea* area = TheArea();
    const DRAV::ThingId id = page.GetPartnerId();
    DRAV::CTalkTarget* partner = nullptr;
    if (area && (id >> 24) == DRAV::THING_ACTOR)
        partner = area->FindActor(id);
    else if (area)
        partner = area->FindObject(id);
    if (!partner) return true;
    const DRAV::TalkChoiceList choices = partner->GetTalkChoices();
    const auto n = static_cast<std::size_t>(choice);
    return n >= choices.size() || choices[n]->GetTargetState().empty();
}

Steps AnswerTalk(CTalkDlg& page) {
    const auto& replies = page.GetReplies();
    const int choice = Roll(static_cast<int>(replies.size()));
    const std::string& reply = replies[static_cast<std::size_t>(choice)];
    const std::size_t text = reply.find(" : ");
    Me().talk.Replied(page.GetTitle(), text == std::string::npos ? reply : reply.substr(text + 3),
                      Leaves(page, choice));
    Me().lastAction = "answered \"" + reply + "\" on " + page.GetTitle();
    return {ClickId(CTalkDlg::kFirstReplyId + choice)};
}

Steps Travel(CDRAVWorldMapDlg& map) {
    std::vector<std::string> places;
    for (const auto& location : map.GetMap().GetAreas()) places.push_back(location->GetName());
    if (!map.IsTravel() || places.empty() || Roll(4) == 0) {
        Me().lastAction = "closed the map";
        return {ClickId(CDRAVWorldMapDlg::kDone)};
    }
    const std::string place = places[static_cast<std::size_t>(Roll(static_cast<int>(places.size())))];
    Me().lastAction = "travelled to " + place;
    return {PointAt(
        [place] {
            const auto point = QuillmereTest::MapLocationPoint(App(), place);
            return point ? Units(*point) : "no " + place + " on the map";
        },
        true)};
}

// The player's move on a page; `watching` is how long it then watches.
Steps OnPage(int& watching) {
    CDRAVDlg* page = App().GetCurrentDialog().get();
    if (auto* talk = dynamic_cast<CTalkDlg*>(page)) return AnswerTalk(*talk);
    if (auto* map = dynamic_cast<CDRAVWorldMapDlg*>(page)) return Travel(*map);
    // A party wiped out is brought back: the player reads the page and plays on
    // from where it wakes.
    if (dynamic_cast<CDeathDlg*>(page)) {
        Me().lastAction = "closed " + PageTitle() + " to wake";
        return {ClickId(CDeathDlg::kDone)};
    }
    if (dynamic_cast<CYesNoDlg*>(page)) {
        const bool yes = Roll(4) != 0;
        Me().lastAction = std::string(yes ? "said yes to " : "said no to ") + PageTitle();
        return {ClickId(yes ? CYesNoDlg::kYes : CYesNoDlg::kNo)};
    }
    Me().lastAction = "closed " + PageTitle();
    Steps steps{Key(MessageUp() || Roll(3) == 0 ? SDL_SCANCODE_RETURN : SDL_SCANCODE_ESCAPE)};
    // A box that came up on its own may well make the player stop where she is, as
    // it closes, and stand a moment to take in what it said.
    if (App().IsGameRunning() && Me().seen.page.kind == PageSight::Kind::Box && Roll(2) == 0) {
        Me().lastAction += " and stopped";
        Me().walk.Stop();
        steps.push_back(Key(SDL_SCANCODE_ESCAPE));
        watching = static_cast<int>(kIdleAfterTalkMs);
    }
    return steps;
}

// ---- on the game screen ----

// The ground of a cell near the mover or anywhere in the area, clicked once the
// view shows it.
Steps ClickGround() {
    DRAV::CArea& area = *TheArea();
    DRAV::CActor& mover = *Mover();
    const bool near = Roll(2) == 0;
    int column = 0, row = 0;
    if (near) {
        column = static_cast<int>(mover.GetX() / kCell) + Roll(9) - 4;
        row = static_cast<int>(mover.GetY() / kCell) + Roll(9) - 4;
    } else {
        column = Roll(static_cast<int>(area.GetColumns()));
        row = Roll(static_cast<int>(area.GetRows()));
    }
    const std::optional<POINT> at = WhereToStep(column, row);
    if (!at) return {};
    Me().lastAction = std::string("clicked the ground ") + (near ? "near" : "far") + " at (" + std::to_string(column) +
                      ", " + std::to_string(row) + ")";
    // Only ground one can stand on is somewhere to walk to; a click on water or a
    // wall may do nothing.
    const double x = (column + 0.5) * kCell, z = (row + 0.5) * kCell;
    if (area.CanMoveTo(mover, nullptr, x, z))
        Me().walk.Start(Me().seen, "a walk to the ground at (" + std::to_string(column) + ", " + std::to_string(row) + ")",
                        mover.GetId(), 0, x, z, 1.5 * kCell);
    return {ClickAt(*at)};
}

// A person, a thing or a way out of the area, clicked where it is drawn.
Steps ClickThing(int kind) {
    std::vector<DRAV::CThing*> things;
    DRAV::CArea& area = *TheArea();
    if (kind == 0) {
        for (const auto& actor : area.GetActors())
            if (actor->IsAlive() && actor.get() != Mover()) things.push_back(actor.get());
    } else {
        for (const auto& object : area.GetObjects())
            if (object->IsExit() == (kind == 2)) things.push_back(object.get());
    }
    DRAV::CThing* thing = Any(things);
    if (!thing) return {};
    const std::optional<POINT> at = WhereToClick(*thing);
    if (!at) return {};
    const std::string name = dynamic_cast<DRAV::CTalkTarget*>(thing)->GetName();
    const char* what = kind == 0 ? "a walk to " : kind == 1 ? "a walk to the thing " : "a walk to the way out ";
    Me().lastAction = "clicked " + name;
    // A member of the party is selected by the click, not walked to; a thing is
    // reached at its edge, which for a wide one is well off its middle.
    double halfX = 0, halfZ = 0;
    const auto* actor = dynamic_cast<const DRAV::CActor*>(thing);
    const auto* object = dynamic_cast<const DRAV::CObject*>(thing);
    if (object) object->GetHalfExtents(halfX, halfZ);
    const double x = actor ? actor->GetX() : object->GetX(), z = actor ? actor->GetY() : object->GetY();
    if (!actor || !actor->IsPartyMember())
        Me().walk.Start(Me().seen, what + name, Mover()->GetId(), thing->GetId(), x, z,
                        2.0 * kCell + std::max(halfX, halfZ));
    return {ClickAt(*at)};
}

Steps Select() {
    const auto& party = TheGame().GetParty();
    const int which = Roll(static_cast<int>(party.size()) + 1);
    Me().lastAction = which == 0 ? "selected the whole party" : "selected member " + std::to_string(which);
    return {Key(which == 0 ? SDL_SCANCODE_0 : static_cast<SDL_Scancode>(SDL_SCANCODE_1 + which - 1))};
}

// A word with a companion: the main character selected, Talk on her action bar,
// then a click on the companion where the view shows it then.
Steps TalkToACompanion() {
    std::vector<DRAV::CActor*> companions;
    for (const auto& member : TheGame().GetParty())
        if (member->IsAlive() && !member->IsMainCharacter() && member->GetArea() == TheArea())
            companions.push_back(member.get());
    const DRAV::CActor* companion = Any(companions);
    if (!companion) return {};
    Me().lastAction = "spoke with " + companion->GetName();
    const DRAV::ThingId id = companion->GetId();
    return {Key(SDL_SCANCODE_1), Wait(100), ClickId(kTalkSlot), Wait(100), Decide([id] {
                const DRAV::CActor* member = TheArea() ? TheArea()->FindActor(id) : nullptr;
                const std::optional<POINT> at = member ? WhereToClick(*member) : std::nullopt;
                return at ? Steps{ClickAt(*at)} : Steps{};
            })};
}

// An F-key's quick action, then a click on someone or the ground for it.
Steps Order() {
    const int slot = Roll(8);
    Steps steps{Key(static_cast<SDL_Scancode>(SDL_SCANCODE_F1 + slot)), Wait(100)};
    const int on = Roll(3);
    const Steps target = on == 2 ? ClickGround() : ClickThing(on);
    Me().lastAction = "pressed F" + std::to_string(slot + 1) + " and " + Me().lastAction;
    steps.insert(steps.end(), target.begin(), target.end());
    return steps;
}

// The game loaded seen by the watch on loads before its clock has run a tick,
// once the load page has let it go: within a few turns of the loop.
Step LookAtTheLoad(int tries) {
    return Decide([tries] {
        if (App().IsGameRunning()) Me().load.Check(Me().findings, Me().turn, LookAtGame());
        return tries > 0 && Me().load.Waiting() ? Steps{Wait(0), LookAtTheLoad(tries - 1)} : Steps{};
    });
}

// The front page's load list, and its first game: the run's own, the one save
// of its folder.
Step LoadFromFrontPage() {
    return Decide([] {
        return Steps{ClickId(CStartDlg::kLoadExistingGame), Wait(300), ClickId(CLoadDlg::kFirstGame), LookAtTheLoad(8),
                     Wait(300)};
    });
}

// The game saved and loaded as a player does it: the game menu's Main Menu saves
// it and ends it, and the front page's load list brings it back. What everyone
// does as it is saved is seen under the menu, the clock standing.
Steps SaveAndLoad() {
    Me().lastAction = "saved at the main menu and loaded";
    Me().walk.Stop();
    Me().loadingInto = AreaName();
    return {Key(SDL_SCANCODE_RETURN), Wait(100), Decide([] {
                if (App().IsGameRunning()) Me().load.Saving(LookAtGame());
                return Steps{ClickId(CDRAVGameMenuDlg::kMainMenu)};
            }),
            Wait(300), LoadFromFrontPage()};
}

// The game that was saved on the way to the main menu is on again where it was.
void CheckLoaded() {
    Player& me = Me();
    if (me.loadingInto.empty()) return;
    if (!App().IsGameRunning() || AreaName() != me.loadingInto)
        me.findings.Report("save", me.turn,
                           "the game saved at the main menu in " + me.loadingInto + " came back as " +
                               (App().IsGameRunning() ? AreaName() : "no game") + " on " + PageTitle());
    me.loadingInto.clear();
}

// The player's move on the game screen; `watching` is how long it then watches.
Steps OnScreen(int& watching) {
    // Offered a way out, a player mostly takes it.
    if (App().IsExitAvailable() && Roll(2) == 0) {
        Me().lastAction = "pressed the exit button";
        return {ClickId(kExitButton)};
    }
    // Until a move below is made: what the view offers may not be there to click.
    Me().lastAction = "found nothing to click";
    const int roll = Roll(100);
    if (roll < 25) return ClickGround();
    if (roll < 40) return ClickThing(0);
    if (roll < 50) return ClickThing(1);
    if (roll < 62) return ClickThing(2);
    if (roll < 70) return Select();
    if (roll < 78) return Order();
    if (roll < 82) return SaveAndLoad();
    if (roll < 86) return TalkToACompanion();
    Me().lastAction = "waited";
    watching = 500 + Roll(2500);
    return {};
}

bool Over() {
    const CDRAVDlg* page = App().GetCurrentDialog().get();
    return !App().IsGameRunning() || dynamic_cast<const CWinDlg*>(page);
}

// What a player would notice since the last look, handed out as checks; and how
// long in real time what ran since took.
Steps Look() {
    Player& me = Me();
    if (me.timed) {
        const double spent = DRAVCommon::ThreadProcessorSeconds() - me.lookedAt;
        if (spent > kSlowSeconds)
            me.findings.Report("slow", me.turn,
                               me.since + " took " + std::to_string(static_cast<long>(spent * 1000)) +
                                   " ms of the playing thread's processor time");
    }
    if (App().IsGameRunning()) {
        me.seen = LookAtGame();
        const std::deque<std::string> newLines = me.lines.NewLogLines(me.seen);
        me.lines.Check(me.findings, me.turn, me.seen, newLines);
        me.strike.Check(me.findings, me.turn, me.seen, newLines);
        me.walk.Check(me.findings, me.turn, me.seen);
        me.talk.Check(me.findings, me.turn, me.seen);
        me.load.Check(me.findings, me.turn, me.seen);
        me.post.Check(me.findings, me.turn, me.seen);
    }
    Steps steps;
    for (const Finding& finding : me.findings.TakeNew())
        steps.push_back(Check("finding " + std::to_string(++me.findingsSent), [text = Encode(finding)] { return text; }));
    return steps;
}

// Called last in a decision: the time to the next look starts now.
void Mark(std::string since) {
    Me().since = std::move(since);
    Me().lookedAt = DRAVCommon::ThreadProcessorSeconds();
    Me().timed = true;
}

// The clock let run `ms`, a slice at a time, with a look after each.
Step Run(int ms) {
    return Decide([ms] {
        Steps steps = Look();
        if (ms > 0) {
            steps.push_back(Wait(std::min(ms, kSliceMs)));
            steps.push_back(Run(ms - kSliceMs));
        }
        Mark("a slice of the clock after " + Me().lastAction);
        return steps;
    });
}

Step Turn() {
    return Decide([] {
        Player& me = Me();
        CheckLoaded();
        Steps steps = Look();
        steps.push_back(Check("turn", [turn = me.turn] { return std::to_string(turn); }));
        if (me.turn >= me.turns || Over()) {
            steps.push_back(Check("end", [] {
                return App().IsGameRunning() ? "on the page " + PageTitle() : std::string("no game running");
            }));
            return steps;
        }
        ++me.turn;
        Steps action;
        int watching = kTurnMs;
        if (me.talk.Waiting()) {
            me.lastAction = "sat back after leaving a talk";
            watching = static_cast<int>(kIdleAfterTalkMs);
        } else if (PageUp()) {
            action = OnPage(watching);
        } else if (me.walk.Active() && Roll(10) != 0) {
            me.lastAction = "watched the walk";
        } else {
            me.walk.Stop();
            action = OnScreen(watching);
        }
        steps.insert(steps.end(), action.begin(), action.end());
        steps.push_back(Run(watching));
        steps.push_back(Turn());
        Mark("the handling of \"" + me.lastAction + "\"");
        if (!me.trace.empty())
            std::ofstream(me.trace, std::ios::app) << me.turn << "\t" << AreaName() << "\t" << me.lastAction << "\n";
        return steps;
    });
}

// The hero of a new game, made on the creation pages as a player makes one, by
// choices drawn from the run's seed: the seeds take the three classes in turn, a
// spellcaster buys schools the chapter's spells use first, and the rest is chance.
NewCharacter HeroOf(const PlayPlan& plan) {
    std::mt19937 dice(plan.seed);
    constexpr DRAV::ActorClass kClasses[] = {DRAV::CLASS_FIGHTER, DRAV::CLASS_SPELLCASTER, DRAV::CLASS_ROGUE};
    NewCharacter hero;
    hero.chapter = plan.chapter;
    hero.name = "Wren";
    hero.actorClass = kClasses[plan.seed % 3];
    hero.gender = dice() % 2 ? CCCGenderDlg::kFemale : CCCGenderDlg::kMale;
    for (int attribute = 0; attribute < CAttribDlg::kAttributeCount; ++attribute)
        hero.raises.push_back(static_cast<DRAV::Attribute>(attribute));
    std::shuffle(hero.raises.begin(), hero.raises.end(), dice);
    hero.raises.resize(2 + dice() % 3);
    std::vector<int> anySkill(DRAV::kSkillCount);
    std::iota(anySkill.begin(), anySkill.end(), 0);
    std::shuffle(anySkill.begin(), anySkill.end(), dice);
    hero.skills = [anySkill, caster = hero.actorClass == DRAV::CLASS_SPELLCASTER] {
        std::vector<int> skills;
        if (caster) skills = SchoolsForSpells("", FirstLevelPicks(DRAV::CLASS_SPELLCASTER));
        skills.insert(skills.end(), anySkill.begin(), anySkill.end());
        return skills;
    };
    return hero;
}

}  // namespace

std::vector<Step> PlaySteps(const PlayPlan& plan) {
    Me().dice.seed(plan.seed);
    Me().turns = plan.turns;
    Me().trace = plan.trace;
    const PlayPlan kept = plan;
    // The game's dice: each seed is its own game, from the hero's hit points on.
    const Step seedTheDice = Check("dice", [kept] {
        DRAVCommon::GetRandomEngine().seed(kept.seed);
        return "seeded";
    });
    std::vector<Step> steps;
    if (plan.savePath.empty()) {
        steps.push_back(seedTheDice);
        Append(steps, MadeByTheWizard(HeroOf(plan)));
    } else {
        steps = {Wait(200), Key(SDL_SCANCODE_SPACE), Wait(100), LoadFromFrontPage(), seedTheDice};
    }
    steps.push_back(Check("start", [kept] {
        std::string start = App().IsGameRunning() ? std::string("loaded") : "not loaded, on " + PageTitle();
        if (kept.savePath.empty())
            start = App().IsGameRunning() ? "made a hero: " + DRAV::GetClassName(Hero().GetClass()) + " of " +
                                                std::to_string(Hero().GetMaxHitPoints()) + " hit points, on " +
                                                PageTitle()
                                          : "no game made, on " + PageTitle();
        if (!kept.trace.empty()) std::ofstream(kept.trace, std::ios::app) << "0\t" << start << "\n";
        return start;
    }));
    steps.push_back(Wait(200));
    steps.push_back(Turn());
    return steps;
}

}  // namespace QuillmerePlaySweep
