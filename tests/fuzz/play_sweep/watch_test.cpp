// The play sweep's watches fed short recorded plays: a look every tenth of a
// second of what the player saw, each play one the sweep met with a fix of the
// game undone, or one a watch must let be.

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <memory>
#include <stdexcept>

#include "play_sweep/player_watch.h"

namespace QuillmerePlaySweep {
namespace {

constexpr DRAV::ThingId kWren = 1, kMarra = 2, kGoblin = 3, kWayOut = 4, kArcher = 5, kWisp = 6;

std::shared_ptr<const void> Fresh() { return std::make_shared<int>(0); }

OrderSight Walk(OrderSight::Kind kind, DRAV::ThingId thing, double x, double z) {
    return {kind, thing, x, z, Fresh()};
}

// A party of two at the landing, a goblin at its post and the marsh path's way out.
struct Play {
    Sight sight;
    int turn = 0;
    CFindings findings;
    CWalkWatch walk;
    CStrikeWatch strike;
    CTalkWatch talk;
    CLineWatch lines;
    CLoadWatch load;
    CPostWatch post;
    // The game played, and the ids its loads gave those the test names by their first.
    std::shared_ptr<const void> game = Fresh();
    std::map<DRAV::ThingId, DRAV::ThingId> ids;

    Play() {
        sight.playing = true;
        sight.game = game;
        sight.area = "reedwater_landing";
        sight.tick = 600;
        sight.figures = {{kWren, "Wren", 20, 20, 1, true, true, false, false, 30, {}},
                         {kMarra, "Marra", 22, 20, 1, true, true, false, false, 20, {}},
                         {kGoblin, "Reed Goblin", 30, 30, 1, true, false, true, true, 12, {}}};
        sight.things = {{kWayOut, "Marsh Path", 2, 22, "marsh_path", {}}};
    }
    DRAV::ThingId Id(DRAV::ThingId first) const {
        const auto now = ids.find(first);
        return now == ids.end() ? first : now->second;
    }
    FigureSight& Who(DRAV::ThingId first) {
        for (FigureSight& figure : sight.figures)
            if (figure.id == Id(first)) return figure;
        throw std::invalid_argument("no figure " + std::to_string(first));
    }
    // The game saved at the main menu and loaded, and a look at it: everyone
    // numbered anew, Wren and Marra each under the other's id, doing what they did
    // unless the load `lost` it.
    enum class Lost { Nothing, Orders, Foes };
    void SaveAndLoad(Lost lost = Lost::Nothing) {
        load.Saving(sight);
        std::map<DRAV::ThingId, DRAV::ThingId> next = {
            {kWren, Id(kMarra)}, {kMarra, Id(kWren)}, {kGoblin, Id(kGoblin) + 10}, {kArcher, Id(kArcher) + 10}};
        sight.renumbered.clear();
        for (const auto& [first, id] : next) sight.renumbered[Id(first)] = id;
        const auto now = [this](DRAV::ThingId id) { return sight.renumbered.count(id) ? sight.renumbered[id] : id; };
        for (FigureSight& figure : sight.figures) {
            figure.id = now(figure.id);
            figure.order.thing = now(figure.order.thing);
            figure.striking = lost == Lost::Foes ? 0 : now(figure.striking);
            if (lost == Lost::Orders) figure.order = {};
        }
        ids = std::move(next);
        game = Fresh();
        sight.game = game;
        Look();
    }
    // A look `ticks` after the last.
    void Look(std::uint32_t ticks = 6) {
        sight.tick += ticks;
        sight.ms += ticks * 100 / 6;
        const std::deque<std::string> added = lines.NewLogLines(sight);
        lines.Check(findings, ++turn, sight, added);
        strike.Check(findings, turn, sight, added);
        walk.Check(findings, turn, sight);
        talk.Check(findings, turn, sight);
        load.Check(findings, turn, sight);
        post.Check(findings, turn, sight);
    }
    void Page(PageSight::Kind kind, const std::string& title, std::vector<std::string> shown = {},
              DRAV::ThingId partner = 0) {
        shown.insert(shown.begin(), title);
        sight.page = {kind, title, shown, Fresh(), partner};
    }
    // Every member felled, and a look; then the party stood up again where it
    // rested, whole, and a look.
    void WipeOutAndWake() {
        for (const DRAV::ThingId member : {kWren, kMarra}) Who(member).alive = false;
        Look();
        for (const DRAV::ThingId member : {kWren, kMarra}) {
            Who(member).alive = true;
            Who(member).hitPoints += 5;
        }
        Look(300);
    }
    std::string Kinds() {
        std::string kinds;
        for (const Finding& finding : findings.TakeNew()) kinds += (kinds.empty() ? "" : " ") + finding.kind;
        return kinds;
    }
};

// The party sent to the way out walks there, offered it on the way, Wren stopping
// `kept` short behind Marra; how the walk ends.
void PartyToTheWayOut(Play& play, double kept, const std::function<void(Play&)>& end) {
    play.Look();
    play.walk.Start(play.sight, "a walk to the way out Marsh Path", kWren, kWayOut, 2, 22, 6);
    for (const DRAV::ThingId member : {kWren, kMarra})
        play.Who(member).order = Walk(OrderSight::Kind::Thing, kWayOut, 0, 0);
    for (int step = 0; step < 6; ++step) {
        for (const DRAV::ThingId member : {kWren, kMarra}) play.Who(member).x -= 3;
        play.sight.offered = step >= 3 ? "marsh_path" : "";
        play.Look();
    }
    play.sight.things[0].within = {kMarra};
    play.Who(kWren).x += kept;
    if (kept == 0) play.sight.things[0].within.insert(kWren);
    play.Who(kWren).order = {};
    for (int look = 0; look < 8; ++look) play.Look();
    play.Who(kMarra).order = {};
    end(play);
    for (int look = 0; look < 10; ++look) play.Look();
}

// Wren given her walk there again, and standing where she is four seconds with the
// goblin at her and the way out not offered, the log saying `word`.
std::function<void(Play&)> HeldShort(const std::string& word) {
    return [word](Play& play) {
        play.Who(kWren).order = Walk(OrderSight::Kind::Thing, kWayOut, 0, 0);
        play.Who(kGoblin).held = false;
        play.Who(kGoblin).order = Walk(OrderSight::Kind::Fight, kWren, 0, 0);
        play.sight.offered.clear();
        if (!word.empty()) play.sight.log.push_back(word);
        for (int look = 0; look < 40; ++look) play.Look();
    };
}

TEST(PlaySweepWatches, AWalkToAWayOutEndsInTheQuestionOrAWord) {
    const auto ask = [](Play& play) { play.Page(PageSight::Kind::Question, "Exit to the reed marsh?"); };
    struct Case {
        const char* what;
        double kept;
        std::function<void(Play&)> end;
        const char* found;
    } cases[] = {
        {"the party stands at the offered way out, unasked", 0, [](Play&) {}, "walk"},
        {"the question", 0, ask, ""},
        {"Wren kept short behind Marra, the question", 10, ask, ""},
        {"Wren kept short behind Marra, unasked", 10, [](Play&) {}, "walk"},
        {"a word", 0, [](Play& play) { play.sight.log.push_back("Marra can't reach Marsh Path."); }, ""},
        {"the way out no longer offered: one stays behind", 0,
         [](Play& play) {
             play.Who(kMarra).x = 15;
             play.sight.offered.clear();
         },
         "walk"},
        {"unasked, a line of no one's pushing the oldest off the full log", 0,
         [](Play& play) {
             play.sight.log.pop_front();
             play.sight.log.push_back("Mist lies low over Reedwater.");
         },
         "walk"},
        {"unasked, a blow at Wren in the log", 0,
         [](Play& play) { play.sight.log.push_back("Reed Goblin hits Wren for 2 damage."); }, "walk"},
        {"unasked, Wren's spell at Marra in the log", 0,
         [](Play& play) { play.sight.log.push_back("Wren casts Mend on Marra."); }, "walk"},
        {"Wren falls at it as Marra comes: unasked", 0, [](Play& play) { play.Who(kWren).alive = false; }, "walk"},
        {"Wren falls at it as Marra comes: the question", 0,
         [&ask](Play& play) {
             play.Who(kWren).alive = false;
             play.Look();
             ask(play);
         },
         ""},
        {"Wren held short of it, her order on, in silence", 10, HeldShort(""), "walk"},
        {"Wren held short of it, her order on, told why", 10, HeldShort("Wren is under attack and can't move."), ""},
    };
    for (const Case& c : cases) {
        Play play;
        // The log full of an old fight, its lines naming both.
        for (int line = 0; line < 200; ++line)
            play.sight.log.insert(play.sight.log.end(),
                                  {"Reed Goblin hits Wren for 2 damage.", "Marra misses Reed Goblin."});
        PartyToTheWayOut(play, c.kept, c.end);
        EXPECT_EQ(play.Kinds(), c.found) << c.what;
    }
}

// Talks open on Wren's walk, each over pages the player answers one after another,
// with a look between talks: the goblin's talk is a hail on a walk elsewhere, and a
// walk the hail ended is done, one that went on after it is judged as before; on
// a walk to the goblin it is the walk's own, one opening however many pages it
// runs to, while Wren's own talk order with it waits its turn.
TEST(PlaySweepWatches, ATalkOnTheWayIsOneOpeningOrAHailThatEndsTheWalk) {
    const struct {
        const char* what;
        DRAV::ThingId target, talker;
        int talks, pages;
        bool goesOn;  // Wren's order on after each talk
        const char* found;
    } cases[] = {
        {"a hail that stopped the walk", kWayOut, kWren, 1, 1, false, ""},
        {"a hail the walk went on after", kWayOut, kWren, 1, 1, true, "walk"},
        {"Marra's talk with the goblin over eight pages, Wren's waiting", kGoblin, kMarra, 1, 8, true, ""},
        {"the goblin's talk opening again as each closes", kGoblin, kWren, 3, 1, true, "walk"},
    };
    for (const auto& c : cases) {
        Play play;
        play.Look();
        play.walk.Start(play.sight, "a walk to " + play.sight.NameOf(c.target), kWren, c.target, 2, 22, 6);
        play.Who(kWren).order = Walk(OrderSight::Kind::Thing, c.target, 0, 0);
        play.Who(kWren).x -= 3;
        play.Look();
        for (int talk = 0; talk < c.talks; ++talk) {
            for (int page = 0; page < c.pages; ++page) {
                play.Page(PageSight::Kind::Talk, play.Who(c.talker).name + " : Reed Goblin", {}, kGoblin);
                play.Look(0);
            }
            play.sight.page = {};
            if (!c.goesOn) play.Who(kWren).order = {};
            play.Look();
        }
        play.Who(kWren).order = {};
        for (int look = 0; look < 10; ++look) play.Look();
        EXPECT_EQ(play.Kinds(), c.found) << c.what;
    }
}

// Wren's walk on the ground ends against someone standing on its point, and she is
// asked to step aside for Marra: she ends away from it, with no word of her own.
TEST(PlaySweepWatches, AMemberSteppingAsideAfterHerWalkIsNoWalkStoppedShort) {
    for (const bool asked : {true, false}) {
        Play play;
        play.Look();
        play.walk.Start(play.sight, "a walk to the ground", kWren, 0, 40, 20, 6);
        play.Who(kWren).order = Walk(OrderSight::Kind::Ground, 0, 40, 20);
        play.Look();
        play.Who(kWren).x = 34;
        if (asked) play.Who(kWren).order = Walk(OrderSight::Kind::Ground, 0, 30, 24);
        play.Look();
        play.Who(kWren).order = {};
        for (int look = 0; look < 10; ++look) play.Look();
        EXPECT_EQ(play.Kinds(), asked ? "" : "walk");
    }
}

// Wren walks there alone and stops at it, or near enough to leave by it, the rest away.
TEST(PlaySweepWatches, OneMemberAtAWayOutTheRestAwayHasNoQuestionComing) {
    const struct {
        const char* what;
        double x;
        const char* word;
        const char* found;
    } cases[] = {
        {"at it", 3, "", ""},
        {"stopped near enough, in silence", 14, "", "walk"},
        {"stopped near enough, Marra named", 14, "Marra is too far from the way out to the reed marsh for the party to leave.",
         ""},
        {"stopped near enough, Marra named of something else", 14, "Marra is healed.", "walk"},
    };
    for (const auto& c : cases) {
        Play play;
        play.Look();
        play.walk.Start(play.sight, "a walk to the way out Marsh Path", kWren, kWayOut, 2, 22, 6);
        play.Who(kWren).order = Walk(OrderSight::Kind::Thing, kWayOut, 0, 0);
        play.Look();
        play.Who(kWren).x = c.x;
        play.Who(kWren).order = {};
        if (c.x < 6) play.sight.things[0].within = {kWren};
        if (*c.word) play.sight.log.push_back(c.word);
        for (int look = 0; look < 10; ++look) play.Look();
        EXPECT_EQ(play.Kinds(), c.found) << c.what;
        EXPECT_FALSE(play.walk.Active()) << c.what;
    }
}

// Marra sent to fight the goblin, striking at it, and the game saved and loaded.
std::function<void(Play&)> Fights(Play::Lost lost) {
    return [lost](Play& play) {
        play.Who(kMarra).order = Walk(OrderSight::Kind::Fight, kGoblin, 0, 0);
        play.Who(kMarra).striking = kGoblin;
        play.Look(0);
        play.SaveAndLoad(lost);
    };
}

// A goblin turns on the party as a box opens; what came before and after decides.
TEST(PlaySweepWatches, AMemberStandingIsStruckAfterABoxOnlyInAFightOrAnAmbush) {
    const auto walk = [](Play& play, DRAV::ThingId who, double x, double z) {
        play.Who(who).x = x;
        play.Who(who).z = z;
        play.Who(who).order = Walk(OrderSight::Kind::Ground, 0, 25, 25);
    };
    // The goblin loose before the box, and the blows the log showed meanwhile.
    const auto charge = [](std::vector<std::string> blows) {
        return [blows](Play& play) {
            play.Who(kGoblin).held = false;
            play.Look();
            play.sight.log.insert(play.sight.log.end(), blows.begin(), blows.end());
        };
    };
    // The run began by loading a game saved with the goblin loose, `striker` striking
    // at `struck` (0: nobody), no blow told since.
    const auto loaded = [](DRAV::ThingId striker, DRAV::ThingId struck) {
        return [striker, struck](Play& play) {
            play.sight.renumbered = {{kWren, kWren}, {kMarra, kMarra}, {kGoblin, kGoblin}};
            play.Who(kGoblin).held = false;
            play.Who(striker).striking = struck;
        };
    };
    // A marsh wisp beside the goblin: one Marra called, or one standing on its own.
    const auto wisp = [](bool called) {
        return FigureSight{kWisp, "Marsh Wisp", 32, 30, 1, true, false, false, false, 10, {}, 0, called};
    };
    struct Case {
        const char* what;
        std::function<void(Play&)> before, after;
        const char* found;
        std::vector<std::string> blows = {"Reed Goblin hits Wren for 32 damage."};
    } cases[] = {
        {"at rest, the goblin out with the box", [](Play&) {}, [](Play&) {}, "struck"},
        {"at rest, Marra's spell sent at Wren by the player", [](Play&) {}, [](Play&) {}, "",
         {"Marra casts Grip of the Mud on Wren.", "Marra (Grip of the Mud) hits Wren for 32 damage."}},
        {"at rest, Marra's spell and the goblin's blow", [](Play&) {}, [](Play&) {}, "struck",
         {"Marra casts Grip of the Mud on Wren.", "Reed Goblin hits Wren for 32 damage."}},
        {"the goblin loose and charging, no blow yet", charge({}), [](Play&) {}, "struck"},
        {"a fight under way: Marra struck", charge({"Reed Goblin hits Marra for 3 damage."}), [](Play&) {}, ""},
        {"a fight under way: Wren's swing", charge({"Wren misses Reed Goblin (12 + 3 < 20)."}), [](Play&) {}, ""},
        {"a fight under way with one Reed Goblin; another, held till the box, strikes",
         [&charge](Play& play) {
             play.sight.figures.push_back({kArcher, "Reed Goblin", 60, 20, 1, true, false, true, true, 9, {}});
             charge({"Reed Goblin hits Marra for 3 damage."})(play);
         },
         [](Play& play) { play.Who(kArcher).held = false; }, "struck"},
        {"a fight under way with the archer; the goblin, loose before the box, strikes",
         [&charge](Play& play) {
             play.sight.figures.push_back({kArcher, "Goblin Archer", 60, 20, 1, true, false, true, false, 9, {}});
             charge({"Goblin Archer hits Marra for 3 damage."})(play);
         },
         [](Play&) {}, ""},
        {"a fight under way with both Reed Goblins, each at Marra",
         [&charge](Play& play) {
             play.sight.figures.push_back({kArcher, "Reed Goblin", 60, 20, 1, true, false, true, false, 9, {}});
             for (const DRAV::ThingId goblin : {kGoblin, kArcher})
                 play.Who(goblin).order = Walk(OrderSight::Kind::Fight, kMarra, 0, 0);
             charge({"Reed Goblin hits Marra for 3 damage.", "Reed Goblin misses Marra."})(play);
         },
         [](Play&) {}, ""},
        {"a fight under way with the wisp Marra called: the goblin struck it",
         [&charge, &wisp](Play& play) {
             play.sight.figures.push_back(wisp(true));
             charge({"Reed Goblin hits Marsh Wisp for 3 damage."})(play);
         },
         [](Play&) {}, ""},
        {"the goblin struck a wisp nobody of the party called: no fight of the party's",
         [&charge, &wisp](Play& play) {
             play.sight.figures.push_back(wisp(false));
             charge({"Reed Goblin hits Marsh Wisp for 3 damage."})(play);
         },
         [](Play&) {}, "struck"},
        {"a fight a load gave back: the goblin striking the wisp Marra called",
         [&loaded, &wisp](Play& play) {
             play.sight.figures.push_back(wisp(true));
             loaded(kGoblin, kWisp)(play);
         },
         [](Play&) {}, ""},
        {"a fight a load gave back: the goblin striking Marra", loaded(kGoblin, kMarra), [](Play&) {}, ""},
        {"a fight a load gave back: Marra striking the goblin", loaded(kMarra, kGoblin), [](Play&) {}, ""},
        {"a load gave back the goblin loose, striking nobody", loaded(kGoblin, 0), [](Play&) {}, "struck"},
        {"blows, then the goblin far off: the party stood safe",
         [&charge](Play& play) {
             charge({"Reed Goblin hits Marra for 3 damage."})(play);
             play.Who(kGoblin).x = 400;
             play.Look();
         },
         [](Play&) {}, "struck"},
        {"charging, held with the box, loose again with nobody near", charge({}),
         [](Play& play) { play.Who(kGoblin).held = true; }, "struck"},
        {"the story places the goblin with the box, turning on the party after",
         [](Play& play) { play.sight.figures.pop_back(); },
         [](Play& play) { play.sight.figures.push_back({kGoblin, "Reed Goblin", 30, 30, 1, true, false, false, false, 12, {}}); },
         ""},
        {"the story places the goblin with the box, loose under it: the box held nobody",
         [](Play& play) { play.sight.figures.pop_back(); },
         [](Play& play) { play.sight.figures.push_back({kGoblin, "Reed Goblin", 30, 30, 1, true, false, true, false, 12, {}}); },
         "struck"},
        {"Marra walked on by it", [](Play&) {}, [&walk](Play& play) { walk(play, kMarra, 28, 26); }, ""},
        {"Marra walked on to five cells of it, beyond its hold's reach", [](Play&) {},
         [&walk](Play& play) { walk(play, kMarra, 30, 17.5); }, "struck"},
        {"Marra walked on, far from it", [](Play&) {}, [&walk](Play& play) { walk(play, kMarra, -30, 20); }, "struck"},
        {"Wren walked on since", [](Play&) {}, [&walk](Play& play) { walk(play, kWren, 20, 20); }, ""},
        {"Marra was sent to fight it",
         [](Play&) {},
         [](Play& play) { play.Who(kMarra).order = Walk(OrderSight::Kind::Fight, kGoblin, 0, 0); }, ""},
        {"Marra was sent to fight it, saved and loaded", [](Play&) {}, Fights(Play::Lost::Nothing), ""},
        {"Marra was sent to fight it, the load dropping her order", [](Play&) {}, Fights(Play::Lost::Orders), "save"},
        {"Marra was sent to fight it, the load forgetting whom she struck", [](Play&) {}, Fights(Play::Lost::Foes),
         "save"},
        {"Marra fought the archer to its death before: the goblin is none of that fight",
         [](Play& play) {
             play.sight.figures.push_back({kArcher, "Goblin Archer", 60, 20, 1, true, false, true, false, 9, {}});
             play.Who(kMarra).order = Walk(OrderSight::Kind::Fight, kArcher, 0, 0);
             play.Look();
             play.Who(kArcher).alive = false;
             play.Who(kMarra).order = {};
         },
         [](Play&) {}, "struck"},
        {"Marra fought the archer to its death, and the load left her order at it out",
         [](Play& play) {
             play.sight.figures.push_back({kArcher, "Goblin Archer", 60, 20, 1, false, false, true, false, 0, {}});
             play.Who(kMarra).order = Walk(OrderSight::Kind::Fight, kArcher, 0, 0);
             play.Who(kMarra).striking = kArcher;
             play.SaveAndLoad(Play::Lost::Orders);
         },
         [](Play&) {}, "struck"},
    };
    for (const Case& c : cases) {
        Play play;
        c.before(play);
        play.Look();
        play.Page(PageSight::Kind::Box, "Help - Tutorial - Combat");
        if (play.sight.Figure(kGoblin)) play.Who(kGoblin).held = false;
        play.Look();
        c.after(play);
        // The player reads the box: looks come, the clock stands.
        play.Look(0);
        play.sight.page = {};
        play.Look(30);
        play.Who(kGoblin).hostile = true;
        play.Who(kGoblin).held = false;
        play.Who(kWren).order = {};
        play.Look(30);
        // The blow fells her: the fallen show what they had last.
        play.Who(kWren).alive = false;
        play.sight.log.insert(play.sight.log.end(), c.blows.begin(), c.blows.end());
        play.Look(30);
        EXPECT_EQ(play.Kinds(), c.found) << c.what;
    }
}

// As the party comes in: a foe loose was placed on the way in, unless the party
// met it there before and it chased the party out, or was loose at it as it was
// set down elsewhere in the same area; a watcher not yet turned and one held back
// turn only on a party that comes to them, Marra walking near; Wren stands. The
// goblin that felled the party, held back as it wakes, turns on nobody in the
// wake's calm, Marra walking near or not, and Wren walks off, unless Marra strikes a
// bystander, which ends the calm. A game saved and loaded, in the marsh and as the party comes in, plays on
// the same with everyone numbered anew.
TEST(PlaySweepWatches, AFoeTheArrivalHeldStrikesOnlyOnceThePartyCameToIt) {
    enum Foe { kPlaced, kWatcher, kHeld, kChasedOut, kPunted, kWoken, kWokenStruckAStranger };
    // What was found, and of whom: only Wren is struck.
    const auto found = [](Play& play) {
        std::string found;
        for (const Finding& finding : play.findings.TakeNew())
            found += finding.kind + " " + finding.what.substr(0, finding.what.find_first_of(", ")) + ";";
        return found;
    };
    for (const Foe foe : {kPlaced, kWatcher, kHeld, kChasedOut, kPunted, kWoken, kWokenStruckAStranger})
        for (const bool walked : {false, true})
            for (const bool loaded : {false, true}) {
                Play play;
                if (foe == kChasedOut) {
                    // The goblin chased the party out into the marsh; the party comes back.
                    play.Look();
                    FigureSight goblin = play.Who(kGoblin);
                    play.sight.figures.pop_back();
                    play.sight.area = "reed_marsh";
                    play.Look();
                    if (loaded) play.SaveAndLoad();
                    play.sight.area = "reedwater_landing";
                    goblin.id = play.Id(kGoblin);
                    play.sight.figures.push_back(goblin);
                }
                if (foe == kPunted) {
                    // Loose at the party, which is taken round to the far side of the landing.
                    play.Who(kGoblin).held = false;
                    play.Look();
                    if (loaded) play.SaveAndLoad();
                    play.sight.entry = "far_side";
                }
                play.Who(kGoblin).held = foe == kHeld;
                play.Who(kGoblin).hostile = foe != kWatcher;
                play.Look();
                if (loaded) play.SaveAndLoad();
                if (foe == kWoken || foe == kWokenStruckAStranger) {
                    // The goblin fells the party, which wakes where it rested, the goblin
                    // held back; Wren walks off the other way.
                    play.Who(kGoblin).held = true;
                    play.WipeOutAndWake();
                    play.Who(kWren).order = Walk(OrderSight::Kind::Ground, 0, 0, 20);
                }
                if (walked) {
                    play.Who(kMarra).order = Walk(OrderSight::Kind::Ground, 0, 30, 30);
                    play.Who(kMarra).x = 27;
                    play.Who(kMarra).z = 25;
                }
                // Marra strikes a bystander: the party's blow ends the calm.
                if (foe == kWokenStruckAStranger) play.Who(kMarra).order = Walk(OrderSight::Kind::Fight, kArcher, 0, 0);
                play.Who(kGoblin).hostile = true;
                play.Who(kGoblin).held = false;
                play.Look(30);
                play.Who(kWren).hitPoints -= 3;
                play.Look(30);
                // Loose from the first, it was not roused by the party coming; after a
                // wake not even a member walking up to it lets it go.
                const bool unprovoked = foe != kWokenStruckAStranger &&
                                        (foe == kChasedOut || foe == kPunted || foe == kWoken ||
                                         (foe != kPlaced && !walked));
                EXPECT_EQ(found(play), unprovoked ? "struck Wren;" : "")
                    << foe << (walked ? ", walked" : "") << (loaded ? ", loaded" : "");
            }
}

// The goblin, seen as the party comes in, at its post or not, went a way off
// before the party went into the marsh; the party comes back, saved and loaded on
// the way or not, or wakes where it fell.
TEST(PlaySweepWatches, WhoThePartyLeftStandsAtItsPostWhenItComesBack) {
    const auto none = [](Play&) {};
    const struct {
        const char* what;
        double off;  // cells off its post
        std::function<void(Play&)> first, meanwhile;
        bool wakes;
        const char* found;
    } cases[] = {
        {"three cells off", 3, none, none, false, ""},
        {"five cells off", 5, none, none, false, "post"},
        {"five cells off as the party wakes", 5, none, none, true, "post"},
        {"five cells off, turned on the party when first seen", 5,
         [](Play& play) { play.Who(kGoblin).hostile = true; }, none, false, ""},
        {"five cells off, in a game the run began by loading it", 5,
         [](Play& play) { play.sight.renumbered = {{kGoblin, kGoblin}}; }, none, false, ""},
        {"five cells off, called in after the party came", 5,
         [](Play& play) { play.sight.figures.pop_back(); },
         [](Play& play) { play.sight.figures.push_back({kGoblin, "Reed Goblin", 30, 30, 1, true, false, false}); },
         false, ""},
        {"five cells off, having walked with the party", 5, none,
         [](Play& play) {
             play.Who(kGoblin).member = true;
             play.Look();
             play.Who(kGoblin).member = false;
         },
         false, ""},
    };
    for (const auto& c : cases)
        for (const bool loaded : {false, true}) {
            Play play;
            play.Who(kGoblin).hostile = false;
            c.first(play);
            play.Look();
            c.meanwhile(play);
            play.Look();
            play.Who(kGoblin).hostile = true;
            play.Who(kGoblin).x += c.off * 2.5;
            play.Look(300);
            if (loaded) play.SaveAndLoad();
            if (c.wakes) {
                play.WipeOutAndWake();
            } else {
                play.sight.area = "reed_marsh";
                play.Look();
                play.sight.area = "reedwater_landing";
                play.Look();
            }
            EXPECT_EQ(play.Kinds(), c.found) << c.what << (loaded ? ", loaded" : "");
        }
}

// The goblin turns on the party as a talk with it closes, or later; a box may come
// between. Turning as a talk with another closes, it was none of the talk's.
TEST(PlaySweepWatches, AnAnswerThatTurnsAFoeOnThePartyBeginsThePlayersFight) {
    constexpr DRAV::ThingId kBrannoc = 9;
    for (const DRAV::ThingId partner : {kGoblin, kBrannoc})
    for (const bool threat : {true, false})
        for (const bool box : {false, true}) {
            Play play;
            play.Look();
            play.Page(PageSight::Kind::Box, "Lantern light");
            play.Look();
            play.Page(PageSight::Kind::Talk, "Wren : " + std::string(partner == kGoblin ? "Reed Goblin" : "Old Brannoc"),
                      {}, partner);
            play.Look();
            play.sight.page = {};
            play.Who(kGoblin).held = !threat;
            play.Look();
            play.Who(kGoblin).held = true;
            play.Look();
            if (box) {
                play.Page(PageSight::Kind::Box, "Help - Tutorial - Party");
                play.Look();
                play.sight.page = {};
            }
            play.Who(kGoblin).held = false;
            play.Who(kWren).hitPoints -= 2;
            play.Look();
            EXPECT_EQ(play.Kinds(), threat && partner == kGoblin ? "" : "struck") << partner << threat << box;
        }
}

TEST(PlaySweepWatches, ALeftTalkOpensAgainOnlyOnceThePlayerSatIdle) {
    for (const std::uint32_t idle : {6u, 120u}) {
        Play play;
        play.Page(PageSight::Kind::Talk, "Hollis the Innkeeper");
        play.Look();
        play.talk.Replied("Hollis the Innkeeper", "Farewell.", true);
        play.sight.page = {};
        play.Look();
        play.Look(idle);
        play.Page(PageSight::Kind::Talk, "Hollis the Innkeeper");
        play.Look();
        EXPECT_EQ(play.Kinds(), idle < 90 ? "talk" : "") << idle;
    }
}

TEST(PlaySweepWatches, LinesShowNoMarkerAndNothingTwice) {
    struct Case {
        std::vector<std::string> log, page;
        const char* found;
    } cases[] = {
        {{"Hollis says: In the book: LINE - Wren"}, {}, "line"},
        {{"Your Journal has been updated.", "Your Journal has been updated."}, {}, "line"},
        {{"Goblin hits Wren for 2 damage.", "Goblin hits Wren for 2 damage."}, {}, ""},
        {{}, {"Welcome, MAINNAME."}, "line"},
        {{}, {"Welcome, Wren.", "Welcome, Wren."}, "line"},
        {{"Saved game: /root/Documents/Orvex Saved Games/Wren.drav"}, {"Welcome, Wren."}, ""},
    };
    for (const Case& c : cases) {
        Play play;
        play.Look();
        play.sight.log.insert(play.sight.log.end(), c.log.begin(), c.log.end());
        if (!c.page.empty()) play.Page(PageSight::Kind::Talk, "Hollis", c.page);
        play.Look();
        EXPECT_EQ(play.Kinds(), c.found) << (c.log.empty() ? c.page[0] : c.log[0]);
    }
}

}  // namespace
}  // namespace QuillmerePlaySweep
