#pragma once
// The watch on blows the player had no chance to see coming, judged on what the
// player sees (sight.h) from one look to the next.

#include <cstdint>
#include <deque>
#include <map>
#include <memory>
#include <set>
#include <string>

#include "play_sweep/arrival.h"
#include "play_sweep/finding.h"
#include "play_sweep/sight.h"

namespace QuillmerePlaySweep {

// A member who has stood still since the party arrived in an area, or since a box
// opened on its own, is not struck in the first seconds after; a party that wakes
// after a wipe-out is not struck at all in its first half minute, whoever of it
// walks, unless by a foe of a fight the player began (below). Otherwise a blow
// is a finding unless each foe loose is explained by one of three things:
// - an ambush: it turned loose then or after, and was placed there by the story
//   as the party came in (new to the area: one the party met there before and
//   finds loose again chased it out and should have gone back; and none is placed
//   loose upon a party waking) or as the box opened or after, as the lane's
//   goblins burst out of the reeds (held back by the box, no fight under way: one
//   loose under it is no ambush), or stood there, not yet turned (as the lookout
//   posted on the trail head waits) or held back, and turned loose as the party
//   came to it, a member walking within the reach at which the game lets a foe
//   holding back take up the fight, once the box was gone;
// - the player's own fight: it is one the player began since the party arrived,
//   by an order to fight it or an answer in a talk with it that turned it ("we
//   come through you"), or one that came loose while that fight was on; a box
//   since does not make that fight a surprise;
// - a fight under way: it had traded blows with the party, or with a friend a
//   member called, which fights for it, as the log told them (one of them struck
//   or striking, a spell between them), or as a game loaded gave them back
//   (striking at one of them, or struck at by one, at its first look),
//   since the party last stood with no foe loose near it, before the box opened;
//   the fight goes on. A foe only loose and charging has struck no blow yet, and
//   another of the same name is another foe.
class CStrikeWatch {
public:
    void Check(CFindings& findings, int turn, const Sight& sight, const std::deque<std::string>& newLines);

private:
    // Sorts the foes that turned loose since the last look, or under a box now gone.
    void SortRoused(const Sight& sight, const std::set<DRAV::ThingId>& loose, bool boxUp);
    // Whether every blow or spell the lines tell at `member` is another member's: the
    // player's own doing, by an order or a quick action aimed at or beside her.
    static bool ByThePartyAlone(const Sight& sight, const FigureSight& member, const std::deque<std::string>& newLines);
    // The foes the lines name trading blows with a member, or a friend she called,
    // join the fight under way:
    // of those named alike, the ones fighting her, else the nearest to her.
    void NoteBlows(const Sight& sight, const std::deque<std::string>& newLines);
    // A load gives a fight back as it was saved, though no line tells it again: the
    // foes striking at a member or a called friend, or struck at by one, join the
    // fight under way.
    void NoteStrikes(const Sight& sight);
    // Everyone the watch knows, under the id a load gave them (`Sight::renumbered`);
    // one a game numbered apart, as a new chapter's, knows none of them.
    void Renumber(const std::map<DRAV::ThingId, DRAV::ThingId>& renumbered);

    // The game of the last look: every id below is one of its own.
    std::weak_ptr<const void> m_game;
    CArrivals m_arrivals;
    std::string m_area;
    std::uint32_t m_calmFrom = 0;
    std::uint32_t m_calmTicks = 0;
    std::string m_calmWhy;
    // The calm began with a box, not with the party's coming; with the party's
    // waking, when every member is judged, walking or not.
    bool m_calmByBox = false;
    bool m_calmByWake = false;
    bool m_boxUp = false;
    bool m_talkWasUp = false;
    // Whom the last talk page was with.
    DRAV::ThingId m_talkPartner = 0;
    std::map<DRAV::ThingId, int> m_hitPoints;
    // Standing still when last seen: no order.
    std::map<DRAV::ThingId, bool> m_standing;
    // The foes loose at the last look, and those loose at every look from the last
    // before the calm began until now.
    std::set<DRAV::ThingId> m_loose;
    std::set<DRAV::ThingId> m_looseThroughCalm;
    // The foes that traded blows with the party since it last stood safe; and so
    // before the calm.
    std::set<DRAV::ThingId> m_fighting;
    std::set<DRAV::ThingId> m_fightingBeforeCalm;
    // The party's foes at the last look: one felled leaves the area.
    std::map<DRAV::ThingId, FigureSight> m_foes;
    // Since the calm began: who walked on, the foes roused under a box still to be
    // sorted, and those roused with nobody passing them.
    std::set<DRAV::ThingId> m_walked;
    std::set<DRAV::ThingId> m_unsorted;
    std::set<DRAV::ThingId> m_unprovoked;
    // Who walked at the last look without a box; who had turned on the party at
    // the last look, and at the last look before the calm began.
    std::set<DRAV::ThingId> m_walkers;
    std::set<DRAV::ThingId> m_hostile;
    std::set<DRAV::ThingId> m_hostileBeforeCalm;
    // Who of the area had not turned on the party at the last look, and at the
    // last look before the calm began.
    std::set<DRAV::ThingId> m_unturned;
    std::set<DRAV::ThingId> m_unturnedBeforeCalm;
    // The foes of the fights the player began since the party arrived: the one an
    // order to fight went for, the one a talk turned, and those who came loose
    // while one of them was loose, as the alarm calls the rest.
    std::set<DRAV::ThingId> m_playersFoes;
    // Everyone seen in each area: a foe the party met there before was not placed
    // by the story as it came in again.
    std::map<std::string, std::set<DRAV::ThingId>> m_seenIn;
};

}  // namespace QuillmerePlaySweep
