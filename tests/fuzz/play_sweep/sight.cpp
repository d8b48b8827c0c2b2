#include "play_sweep/sight.h"

#include <algorithm>
#include <array>
#include <string_view>

namespace QuillmerePlaySweep {

const FigureSight* Sight::Figure(DRAV::ThingId id) const {
    for (const FigureSight& figure : figures)
        if (id && figure.id == id) return &figure;
    return nullptr;
}

const ThingSight* Sight::Thing(DRAV::ThingId id) const {
    for (const ThingSight& thing : things)
        if (id && thing.id == id) return &thing;
    return nullptr;
}

std::string Sight::NameOf(DRAV::ThingId id) const {
    if (const FigureSight* figure = Figure(id)) return figure->name;
    if (const ThingSight* thing = Thing(id)) return thing->name;
    return "";
}

void RenumberAll(std::set<DRAV::ThingId>& kept, const std::map<DRAV::ThingId, DRAV::ThingId>& renumbered) {
    std::set<DRAV::ThingId> now;
    for (const DRAV::ThingId id : kept)
        if (const auto found = renumbered.find(id); found != renumbered.end()) now.insert(found->second);
    kept = std::move(now);
}

bool AnotherGame(const std::weak_ptr<const void>& last, const Sight& now) {
    return last.owner_before(now.game) || now.game.owner_before(last);
}

std::deque<std::string> LinesAfter(const std::deque<std::string>& before, const std::deque<std::string>& now) {
    std::size_t dropped = 0;
    while (dropped < before.size() && !(before.size() - dropped <= now.size() &&
                                         std::equal(before.begin() + static_cast<std::ptrdiff_t>(dropped), before.end(),
                                                    now.begin())))
        ++dropped;
    const std::size_t kept = before.size() - dropped;
    return {now.begin() + static_cast<std::ptrdiff_t>(std::min(kept, now.size())), now.end()};
}

bool TellsOfTheFight(const std::string& line) {
    static constexpr std::array<std::string_view, 15> kFightWords = {
        " hits ",   " misses ",       " casts ",     " damage",          " heals ",
        " restores ", " has killed ", " saved ",     " failed save ",    " resists ",
        " is vulnerable to ", " has no effect on ", " is immune to ", " nullifies ", " dispel"};
    return std::any_of(kFightWords.begin(), kFightWords.end(),
                       [&line](std::string_view word) { return line.find(word) != std::string::npos; });
}

}  // namespace QuillmerePlaySweep
