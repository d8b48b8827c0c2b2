#pragma once
// The hostile bodies the scripts pass puts in place of a module's scripts, each a
// way a careless author could make one script hang the game, fill its memory or
// slow it without end: a conversation that comes back on itself, a loop of each
// function that hands the game something, a large text, and a quest check that
// sets off the quest checks again from inside itself. Every body first sets the
// marker tag, so that the play can tell a copy whose script ran from one whose
// script it never reached.

#include <string>
#include <vector>

#include "sweep/script_edits.h"

namespace QuillmereSweep {

inline constexpr const char* kHostileMarkerTag = "sweep_hostile_ran";

// What the bodies name besides their own script, taken from the played chapter.
struct HostileSetting {
    std::string spell;      // a spell to launch
    std::string questItem;  // an item whose quest tag sets off the quest checks; "" when none
    // A quest, in its own file, to assign again and again; once assigned its check
    // runs whenever a tag is set, so a loop that sets tags runs it inside itself.
    // Null when the chapter has none.
    const ScriptSpot* quest = nullptr;
};

// One copy's edit: its body's name and the scripts it replaces in the script's
// file (a chain of two conversation states replaces both) and in the inner quest's.
struct HostileEdit {
    std::string name;
    std::vector<ScriptReplacement> replacements;
    std::vector<ScriptReplacement> questReplacements;
};

// Each hostile body fit for the script at `spot`, as edits of its file. `others`
// are the scripts of the same file, `spot` among them: the states a chain may lead
// through. A conversation state is given every chain; the other bodies go to the
// first state of each partner, whose others run no differently, and to every
// script of the other kinds.
std::vector<HostileEdit> MakeHostileEdits(const ScriptSpot& spot, const std::vector<ScriptSpot>& others,
                                          const HostileSetting& setting);

}  // namespace QuillmereSweep
