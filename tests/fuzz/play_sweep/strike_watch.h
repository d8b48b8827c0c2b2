#pragma once
// The watch on blows the player had no chance to see coming, judged on what the
// player sees (sight.h) from one look to the next.

#include <cstdint>
#include <deque>
#include <map>
#include <set>
#include <string>

#include "play_sweep/finding.h"
#include "play_sweep/sight.h"

namespace QuillmerePlaySweep {

// A member standing still is not struck in the first seconds of a calm: after the
// party arrives in an area, or after a box opens on its own. A blow then is a
// finding unless one of three things explains it:
// - an ambush: a foe the story places, or one roused by the party coming near,
//   strikes a member who walked on since the calm began, passing by it;
// - the player's own fight: since the party arrived a member was ordered to
//   fight, or an answer in a talk turned a foe on the party ("we come through
//   you"), and a box since does not make that fight a surprise;
// - a fight under way: a foe was already loose, turned on the party and not held
//   back, at the last look before the box opened; the fight goes on.
class CStrikeWatch {
public:
    void Check(CFindings& findings, int turn, const Sight& sight, const std::deque<std::string>& newLines);

private:
    std::string m_area;
    std::uint32_t m_calmFrom = 0;
    std::string m_calmWhy;
    bool m_boxUp = false;
    bool m_talkWasUp = false;
    std::map<DRAV::ThingId, int> m_hitPoints;
    // Standing still when last seen: no order.
    std::map<DRAV::ThingId, bool> m_standing;
    // The foes loose at the last look, and at the last look before the calm began.
    std::set<DRAV::ThingId> m_loose;
    std::set<DRAV::ThingId> m_looseBeforeCalm;
    // Who walked on since the calm began, and whether the player began a fight here.
    std::set<DRAV::ThingId> m_walked;
    bool m_playersFight = false;
};

}  // namespace QuillmerePlaySweep
