#include "play_sweep/post_watch.h"

#include <cmath>
#include <sstream>

#include "world/cell.h"

namespace QuillmerePlaySweep {
namespace {

constexpr double kPostReach = 3 * DRAV::kCellSize;

}  // namespace

void CPostWatch::Check(CFindings& findings, int turn, const Sight& sight) {
    if (!sight.playing) return;
    if (AnotherGame(m_game, sight)) {
        for (auto& [area, seen] : m_seen) RenumberAll(seen, sight.renumbered);
        for (auto& [area, posts] : m_posts) RenumberKeys(posts, sight.renumbered);
        m_game = sight.game;
    }
    const Arrival arrival = m_arrivals.Next(sight);
    std::set<DRAV::ThingId>& seen = m_seen[sight.area];
    std::map<DRAV::ThingId, std::pair<double, double>>& posts = m_posts[sight.area];
    for (const FigureSight& figure : sight.figures) {
        if (figure.member || !figure.alive) continue;
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
        if (seen.insert(figure.id).second && !figure.hostile) posts[figure.id] = {figure.x, figure.z};
    }
}

}  // namespace QuillmerePlaySweep
