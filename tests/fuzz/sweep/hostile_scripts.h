#pragma once
// The hostile bodies the scripts pass puts in place of a module's scripts, each a
// way a careless author could make one script hang the game, fill its memory,
// slow it without end or leave it broken: a conversation that comes back on
// itself, an endless loop of each native function, a large text or journal key, a quest check
// that sets off the quest checks again from inside itself, every function handed
// every actor word, the party's last member sent away, a partner joining and
// leaving the party again and again in one reply, a trap that rearms at once and
// works hard under the whole party, and a journey from an area entry. Every body first sets the marker tag, so that the play can tell a
// copy whose script ran from one whose script it never reached.

#include <string>
#include <utility>
#include <vector>

#include "sweep/script_edits.h"

namespace QuillmereSweep {

inline constexpr const char* kHostileMarkerTag = "sweep_hostile_ran";

using AreaPlace = std::pair<std::string, std::string>;  // an area and one of its entries

// What the bodies name besides their own script, taken from the played chapter.
struct HostileSetting {
    std::string spell;      // a spell to launch
    std::string questItem;  // an item whose quest tag sets off the quest checks; "" when none
    // A quest, in its own file, to assign again and again; once assigned its check
    // runs whenever a tag is set, so a loop that sets tags runs it inside itself.
    // Null when the chapter has none.
    const ScriptSpot* quest = nullptr;
    std::string item;
    std::string faction;
    std::string door;       // a door tile
    std::string monster;    // a monster kind, as an actor word
    std::string encounter;  // of the start area
    std::string helpPage;   // the key of a help page the chapter's scripts show
    AreaPlace start;        // where a new game begins, where the other scripts are made to run
    std::vector<AreaPlace> entries;  // of every area
};

// One copy's edit: its body's name and the scripts it replaces in the script's
// file (a chain of two conversation states replaces both) and in the inner quest's.
struct HostileEdit {
    std::string name;
    std::vector<ScriptReplacement> replacements;
    std::vector<ScriptReplacement> questReplacements;
    // The body sends the party away from the entry whose script it is.
    bool journeys = false;
    // A trap's body, whose trap rearms at once: the whole party stands on it.
    bool wholeParty = false;
};

// One endless call of each native function, by its name, with names the chapter
// knows; `here` is where the script runs, for those that name an entry of the
// party's area. A call in a loop takes its round as `i`, and a text `line`.
// `state` is a talk state of the script's partner, for those that name one.
std::vector<std::pair<std::string, std::string>> NativeFloodCalls(const HostileSetting& setting,
                                                                  const AreaPlace& here, const std::string& state);

// Each hostile body fit for the script at `spot`, as edits of its file. `others`
// are the scripts of the same file, `spot` among them: the states a chain may lead
// through; `area` is the file's area, for an entry's. A conversation state is
// given every chain; the other bodies go to the first state of each partner, whose
// others run no differently, and to every script of the other kinds.
std::vector<HostileEdit> MakeHostileEdits(const ScriptSpot& spot, const std::vector<ScriptSpot>& others,
                                          const HostileSetting& setting, const std::string& area = "");

}  // namespace QuillmereSweep
