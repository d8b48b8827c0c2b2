#pragma once
// What the random player keeps an eye on between its turns, in the played
// program's process: each watch looks at the game as the screen shows it and
// reports what a player would notice as findings. Watches keep ids and names,
// never the program's objects, since a load or a tick may replace them.

#include <cstdint>
#include <deque>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "play_sweep/finding.h"
#include "rules/kinds/thing_id.h"

class CDRAVDlg;

namespace DRAV {
class CActor;
class COrder;
class CThing;
}

namespace QuillmerePlaySweep {

// Findings of one run, each kind and signature once.
class CFindings {
public:
    void Report(const std::string& kind, int turn, const std::string& what);
    // What was reported since the last call.
    std::vector<Finding> TakeNew();

private:
    std::vector<std::string> m_signatures;
    std::vector<Finding> m_new;
};

// A walk or an order the player gave: it ends with the mover's order done, within
// `reach` of the target, or with a word of the log naming the mover or the target,
// or with a page it led to; or by the exit prompt, or in another area. Standing
// still short of the target in silence, or an order going on past the bound or
// opening its page again and again, is a finding. A box that opens on its own,
// or another's talk, only holds the watch, as it holds the game's clock.
// What is judged is the order the click gave: a click that gave none walks
// nowhere, one that picked the ground under a figure walks to the member's own
// place there, and a party walking to a way out is done when the last of it is.
class CWalkWatch {
public:
    // The target is the thing `target` (0: the ground at x, z), followed as it moves.
    void Start(const std::string& what, DRAV::ThingId mover, DRAV::ThingId target, double x, double z, double reach);
    void Stop() { m_active = false; }
    bool Active() const { return m_active; }
    void Check(CFindings& findings, int turn);

private:
    // Follows the order the click gave once it shows; false when it gave none.
    bool TakeUpOrder(const DRAV::CActor& mover);
    // Whether someone else stands on the ground walked to, next to the mover.
    bool PointTaken(const DRAV::CActor& mover) const;
    // Whether another living member still walks to the way out `m_target`.
    bool PartyStillGoing(const DRAV::CActor& mover) const;

    bool m_active = false;
    std::string m_what;
    std::string m_area;
    DRAV::ThingId m_mover = 0;
    DRAV::ThingId m_target = 0;
    double m_x = 0, m_z = 0, m_reach = 0;
    std::uint32_t m_startTick = 0;
    std::deque<std::string> m_log;
    // Where the mover stood and what it was doing before the click, and whether
    // the click has given it a walk since.
    double m_fromX = 0, m_fromZ = 0;
    std::weak_ptr<DRAV::COrder> m_before;
    bool m_wasWalking = false;
    bool m_begun = false;
    // Whether others of the party were seen walking to the same way out.
    bool m_partyWalk = false;
    // The last page the walk led to, and how often in a row a page of that title opened.
    std::weak_ptr<CDRAVDlg> m_page;
    std::string m_pageTitle;
    int m_pages = 0;
};

// How long the player sits idle after leaving a talk, in the window's milliseconds.
constexpr std::uint32_t kIdleAfterTalkMs = 1500;

// A talk the player left: it does not open again at once, nor while the player
// sits idle a while after. Another partner may well speak up meanwhile.
class CTalkWatch {
public:
    // A reply chosen on the talk page titled `title`; `leaves` when the reply ends the talk.
    void Replied(const std::string& title, const std::string& reply, bool leaves);
    // True while the player should sit idle after leaving a talk.
    bool Waiting() const { return m_left; }
    void Check(CFindings& findings, int turn);

private:
    std::string m_title;
    std::string m_reply;
    bool m_replied = false;
    bool m_left = false;
    std::uint32_t m_leftMs = 0;
};

// Members standing still are not struck in the first seconds after the party
// arrives in an area or a box opens on its own.
class CStrikeWatch {
public:
    void Check(CFindings& findings, int turn, const std::deque<std::string>& newLines);

private:
    std::string m_area;
    std::uint32_t m_calmFrom = 0;
    std::string m_calmWhy;
    bool m_boxUp = false;
    std::map<DRAV::ThingId, int> m_hitPoints;
    // Standing still when last seen: no order, or just arrived.
    std::map<DRAV::ThingId, bool> m_standing;
    // Who has walked since the calm began: a foe roused since, such as an ambush
    // lying in wait by the way or a lookout whose talk ended in a threat, was
    // walked into, and its first blow may well land once the walker stops. A foe
    // loose already when the calm began should have been held back, walk or not.
    std::set<DRAV::ThingId> m_walked;
    std::set<DRAV::ThingId> m_looseAtCalm;
    // A foe roused while a talk was on the page was roused by the player's answer
    // ("we come through you"): the fight that follows is the player's own.
    bool m_talkWasUp = false;
    bool m_threatened = false;
};

// The lines the player reads: the log, the talk page and boxes.
class CLineWatch {
public:
    // The lines the log gained since the last call.
    std::deque<std::string> NewLogLines();
    void Check(CFindings& findings, int turn, const std::deque<std::string>& newLines);

private:
    std::deque<std::string> m_log;
    std::string m_lastPage;
};

// Where an actor or an object stands, in world units; false for any other thing.
bool PlaceOf(const DRAV::CThing& thing, double& x, double& z);

// A word of the texts meant to be filled in, found in `line`; empty when none.
std::string UnfilledWord(const std::string& line);

}  // namespace QuillmerePlaySweep
