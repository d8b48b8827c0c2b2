#pragma once
// The watch on where the people of an area stand when the party comes back to it,
// judged on what the player sees at each look (sight.h).

#include <map>
#include <memory>
#include <set>
#include <string>
#include <utility>

#include "play_sweep/arrival.h"
#include "play_sweep/finding.h"
#include "play_sweep/sight.h"

namespace QuillmerePlaySweep {

// Who was not turned on the party when the party first saw it in an area, coming
// in, has a post there, where it stood then: at each later arrival in the area, a
// wake among them, it stands near it, whatever it did meanwhile (a friend that
// followed the party, a lookout that chased it out). One standing farther is a
// `post` finding. Only a game the run began new is judged, every area fresh to
// it; one who walks with the party has no post.
class CPostWatch {
public:
    void Check(CFindings& findings, int turn, const Sight& sight);

private:
    std::weak_ptr<const void> m_game;
    bool m_begun = false;
    bool m_newGame = false;
    CArrivals m_arrivals;
    // By area: everyone seen there, and the posts of those seen first unturned.
    std::map<std::string, std::set<DRAV::ThingId>> m_seen;
    std::map<std::string, std::map<DRAV::ThingId, std::pair<double, double>>> m_posts;
};

}  // namespace QuillmerePlaySweep
