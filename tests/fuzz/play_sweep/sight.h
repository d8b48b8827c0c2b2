#pragma once
// What the player sees of the running game at one look, kept apart from the
// program's objects: the watches judge a sequence of sights, which the sweep reads
// from the game each look and a test of the watches writes by hand.

#include <cstdint>
#include <deque>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "rules/kinds/thing_id.h"

namespace QuillmerePlaySweep {

// The page in front of the game, if any.
struct PageSight {
    enum class Kind {
        None,
        Box,       // words or the tutorial, opened on its own
        Talk,      // a conversation
        Question,  // the question of leaving by a way out, or the travel map it leads to
        Other      // anything the player opened, or answers yes or no to
    };
    Kind kind = Kind::None;
    std::string title;
    // The lines it shows as drawn, its markup ending lines: the title first.
    std::vector<std::string> lines;
    // The page itself: the same page seen again, or a new one of the same title.
    std::shared_ptr<const void> identity;
    // Whom a talk is with: a person or a thing; 0 on any other page.
    DRAV::ThingId partner = 0;
};

// The order a figure follows, by what the player clicked.
struct OrderSight {
    enum class Kind {
        None,
        Ground,  // a walk to the point (x, z)
        Door,    // a door opened from beside its cell, whose middle is (x, z)
        Thing,   // a person talked to, a thing used: `thing`
        Fight,   // a blow or a spell at `thing`, one not of the party or its friends
        Other
    };
    Kind kind = Kind::None;
    DRAV::ThingId thing = 0;
    double x = 0, z = 0;
    // The order itself, kept while it lasts.
    std::shared_ptr<const void> identity;
};

// A person of the area, the party's members among them.
struct FigureSight {
    DRAV::ThingId id = 0;
    std::string name;
    double x = 0, z = 0, radius = 0;
    bool alive = true;
    bool member = false;
    // Turned on the party; held back, it waits where it stands until the party comes to it.
    bool hostile = false;
    bool held = false;
    int hitPoints = 0;
    OrderSight order{};
    // The foe it strikes at; 0: none.
    DRAV::ThingId striking = 0;
    // Not a member, but a friend a spell called, which fights for the party as the
    // game judges it (CActor::FightsForTheParty).
    bool calledFriend = false;
    // On the party's side of a fight: a blow between it and a foe is the party's fight.
    bool FightsForTheParty() const { return member || calledFriend; }
};

// A thing of the area: a chest, a sign, a way out.
struct ThingSight {
    DRAV::ThingId id = 0;
    std::string name;
    double x = 0, z = 0;
    // The name of the way out it is; empty for any other thing.
    std::string wayOut;
    // The members that stand near enough to use it.
    std::set<DRAV::ThingId> within;
};

struct Sight {
    bool playing = false;  // a game is on
    // The game itself: a load makes another, which numbers its people anew. In a
    // game loaded, the id each of the people of the game saved had there -> its id
    // now; empty in a game never loaded.
    std::weak_ptr<const void> game;
    std::map<DRAV::ThingId, DRAV::ThingId> renumbered;
    std::string area;
    // The entry the party last came in by: another in the same area is the party
    // set down in it again.
    std::string entry;
    std::uint32_t tick = 0;  // the game's clock
    std::uint32_t ms = 0;    // the window's clock
    // The way out the exit button offers, by its name; empty when none is.
    std::string offered;
    PageSight page;
    std::deque<std::string> log;
    std::vector<FigureSight> figures;
    std::vector<ThingSight> things;

    const FigureSight* Figure(DRAV::ThingId id) const;
    const ThingSight* Thing(DRAV::ThingId id) const;
    // The name of a figure or a thing; empty for none.
    std::string NameOf(DRAV::ThingId id) const;
};

// What a watch keeps of everyone, under the ids a load gave them
// (`Sight::renumbered`): who was not numbered again is dropped.
void RenumberAll(std::set<DRAV::ThingId>& kept, const std::map<DRAV::ThingId, DRAV::ThingId>& renumbered);
template <typename Value>
void RenumberKeys(std::map<DRAV::ThingId, Value>& kept, const std::map<DRAV::ThingId, DRAV::ThingId>& renumbered) {
    std::map<DRAV::ThingId, Value> now;
    for (const auto& [id, value] : kept)
        if (const auto found = renumbered.find(id); found != renumbered.end()) now.emplace(found->second, value);
    kept = std::move(now);
}

// Whether `now` shows another game than the one `last` was.
bool AnotherGame(const std::weak_ptr<const void>& last, const Sight& now);

// The lines of the log `now` that came after those of `before`, in their order of
// arrival: the log keeps its last lines only, so the lines of `before` are found
// again at its start, however many fell off it since.
std::deque<std::string> LinesAfter(const std::deque<std::string>& before, const std::deque<std::string>& now);

// Whether a line of the log tells of the fight: a swing or a shot that hits or
// misses, a spell cast, what a spell did or failed to do, a heal, a death dealt.
bool TellsOfTheFight(const std::string& line);

}  // namespace QuillmerePlaySweep
