#pragma once
// One step of play spends one budget, as a script and the scripts the game runs
// inside it do: a reply of the player and every talk state it runs, a tag the
// engine sets and every quest's script it runs. And what a running script hands
// the game, counted where the game receives it.

#include "common/exception.h"
#include "script/script_limits.h"

namespace DRAV {

// Opened by the engine around a step of play: every evaluation started while it
// lives, outside any other, belongs to its run, whose time counts from the first
// of them, so that a step that runs no script reads no clock. Opened inside an
// evaluation or inside another step, it joins that run.
class CScriptRun {
public:
    CScriptRun();
    ~CScriptRun();
    CScriptRun(const CScriptRun&) = delete;
    CScriptRun& operator=(const CScriptRun&) = delete;

private:
    CScriptBudget m_budget;
    bool m_opened;
};

// The run an evaluation started now belongs to: that of the evaluation running
// now, else that of the open step, else null.
CScriptBudget* CurrentScriptRun();

// Why the current run may go on no longer, or null; also null without one.
const char* SpentScriptRun();

// The game has received something from the native function running now: a line,
// an event, a tag, a new thing, a reply, a change of the party, a door or a
// faction. A call counts once, however much it hands over; past the limit the
// call ends with an error naming it before it hands anything, and the script is
// stopped for good. Nothing while no script's native function runs.
void CountMadeThing();

// The same call puts a page in front of the player (a box, a shout, a help page);
// past kScriptPageLimit it ends with an error naming it before it does, and the
// script is stopped for good.
void CountPage();

// The script error of an evaluation that ended, or never began, because another
// script spent the run it belonged to.
class CScriptRunSpent : public CDRAVException {
public:
    explicit CScriptRunSpent(std::string message) : CDRAVException(DRAV_ERR_SCRIPT, std::move(message)) {}
};

}  // namespace DRAV
