#pragma once
// The watch on a walk or an order the player gave, judged on what the player sees
// (sight.h) from one look to the next.

#include <cstdint>
#include <deque>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <utility>

#include "play_sweep/finding.h"
#include "play_sweep/sight.h"

namespace QuillmerePlaySweep {

// A walk or an order the player gave ends with the mover's order done within
// `reach` of the target, with a word of the log that says why, or with a page it
// led to; or in another area. A word names the mover, the target or one of the
// party walking there with her, and is neither said in a talk nor a line of the
// fight, unless it tells of the mover's own blow or spell, which an order to
// fight or cast is given for. A walk to a way out ends in the question
// of leaving by it, or a word, once the last of the party walking there has
// stopped, whoever of it fell on the way: only a member alone at a way out that
// is not offered, the rest of the party away, has no question coming. Standing
// still short of the target in silence, with the order or without it, or an
// order going on past the bound or opening its page again and again (a talk
// opens once, however many answers it runs to), is a finding. A box that opens on its own only holds the watch, as it holds the
// game's clock; another's talk, a hail, ends a walk it stopped. What is judged
// is the order the click gave: a click that gave none walks nowhere, and one
// that picked the ground, a door or someone else under the figure walks there.
class CWalkWatch {
public:
    // Given as the player clicks, on what the player saw then: the target is the
    // person or thing `target` (0: the ground at x, z), followed as it moves.
    void Start(const Sight& sight, const std::string& what, DRAV::ThingId mover, DRAV::ThingId target, double x,
               double z, double reach);
    void Stop() { m_active = false; }
    bool Active() const { return m_active; }
    void Check(CFindings& findings, int turn, const Sight& sight);

private:
    // Follows the order the click gave once it shows; false when it gave none.
    bool TakeUpOrder(const Sight& sight, const FigureSight& mover);
    // Whether someone else stands on the ground walked to, next to the mover.
    bool PointTaken(const Sight& sight, const FigureSight& mover) const;
    // Whether another living member still walks to the way out `m_target`; each
    // seen doing so is one of the walk.
    bool PartyStillGoing(const Sight& sight, const FigureSight& mover);
    // The mover fell: another of the party that walked to the same way out takes
    // the walk on; null when none did.
    const FigureSight* TakeOverFrom(const Sight& sight);
    // Whether a line of the log says why the walk ended or who stayed behind.
    bool SaysWhy(const Sight& sight, const std::string& line, const FigureSight& mover,
                 const std::string& target) const;
    // Notes where the walk's people stand, and when one last moved.
    void NoteMoves(const Sight& sight);
    // Whether a foe fights the mover or one walking with her.
    bool FoeAtTheWalk(const Sight& sight) const;
    enum class Stand { PageAgain, Endless, StoodOrdered, NoQuestion, PartyShort, Short };
    void Report(CFindings& findings, int turn, const Sight& sight, const FigureSight& mover, Stand stand);

    bool m_active = false;
    std::string m_what;
    std::string m_area;
    DRAV::ThingId m_mover = 0;
    DRAV::ThingId m_target = 0;
    double m_x = 0, m_z = 0, m_reach = 0;
    std::uint32_t m_startTick = 0;
    // The log as the player clicked: what came after it is what the walk was told.
    std::deque<std::string> m_log;
    // Where the mover stood and what it was doing before the click, and whether
    // the click has given it a walk since.
    double m_fromX = 0, m_fromZ = 0;
    std::weak_ptr<const void> m_before;
    // The order the click gave, once taken up.
    std::weak_ptr<const void> m_walkOrder;
    bool m_wasWalking = false;
    bool m_begun = false;
    // The order the click gave is one to fight, cast or act, not to walk.
    bool m_acts = false;
    // Whether others of the party were seen walking to the same way out, and who.
    bool m_partyWalk = false;
    std::set<DRAV::ThingId> m_walkers;
    // Where the mover and the walkers stood at the last look, and the tick one of
    // them last moved.
    std::map<DRAV::ThingId, std::pair<double, double>> m_places;
    std::uint32_t m_movedAt = 0;
    // Since when the walkers have stood at a way out that is offered; 0: they have not.
    std::uint32_t m_atWayOutFrom = 0;
    // The last page the walk led to, and how often in a row a page of that title opened.
    std::weak_ptr<const void> m_page;
    std::string m_pageTitle;
    int m_pages = 0;
    // Whom the walk's own talk was with at the last look; 0: no talk of its was up.
    DRAV::ThingId m_talkWith = 0;
    // Another's talk opened since the last look the game was seen playing.
    bool m_hailed = false;
};

}  // namespace QuillmerePlaySweep
