#include "play_sweep/post_watch.h"

#include <cmath>
#include <sstream>
#include <utility>

#include "world/cell.h"

namespace QuillmerePlaySweep {
namespace {

// The game keeps each one within three cells of where its encounter placed it.
constexpr double kPostReach = 3 * DRAV::kCellSize;

}  // namespace

void CPostWatch::Check(CFindings& findings, int turn, const Sight& sight) {
    if (!sight.playing) return;
    if (!std::exchange(m_begun, true)) m_newGame = sight.renumbered.empty();
    if (AnotherGame(m_game, sight)) {
        for (auto& [area, seen] : m_seen) RenumberAll(seen, sight.renumbered);
        for (auto& [area, posts] : m_posts) RenumberKeys(posts, sight.renumbered);
        m_game = sight.game;
    }
    const Arrival arrival = m_arrivals.Next(sight);
    std::set<DRAV::ThingId>& seen = m_seen[sight.area];
    std::map<DRAV::ThingId, std::pair<double, double>>& posts = m_posts[sight.area];
    for (const FigureSight& figure : sight.figures) {
        // One that walked with the party is where the party left it.
        if (figure.member) {
            for (auto& [area, kept] : m_posts) kept.erase(figure.id);
            seen.insert(figure.id);
            continue;
        }
        if (!figure.alive) continue;
        const auto post = posts.find(figure.id);
        if (arrival.arrived && post != posts.end()) {
            const double away = std::hypot(figure.x - post->second.first, figure.z - post->second.second);
            if (away > kPostReach) {
                std::ostringstream what;
                what.precision(1);
                what << std::fixed << figure.name << " stood " << away / DRAV::kCellSize
                     << " cells from its post in " << sight.area << " as the party "
                     << (arrival.waking ? "woke" : "came back");
                findings.Report("post", turn, what.str());
            }
        }
        // Only who the area placed there has a post: one seen first as the party
        // comes in, in a game begun new, every area fresh to it, its people at
        // their posts. One called or sent in later has none.
        if (seen.insert(figure.id).second && arrival.arrived && m_newGame && !figure.hostile)
            posts[figure.id] = {figure.x, figure.z};
    }
}

}  // namespace QuillmerePlaySweep
