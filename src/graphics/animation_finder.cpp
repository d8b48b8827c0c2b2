#include "graphics/animation_finder.h"

#include <cctype>
#include <utility>

namespace DRAVGraph {

namespace {

// An action a figure may lack, and the one it borrows.
struct AnimationFallback {
    const char* present;
    const char* missing;
};

constexpr AnimationFallback AnimationFallbacks[] = {
    {"cast", "drink"},         {"cast", "wand"},          {"crecover", "drecover"},   {"crecover", "wrecover"},
    {"attack", "attack-fast"}, {"2hattack", "2hattack-fast"}, {"2wattack", "2wattack-fast"},
};

// "_attack12" joins "attack"; names without the underscore are their own group.
std::string GroupName(const std::string& name) {
    if (name.empty() || name[0] != '_') return name;
    std::string group = name.substr(1);
    while (!group.empty() && std::isdigit(static_cast<unsigned char>(group.back()))) group.pop_back();
    // "_12" would make a group of no name; such an animation is found by its full name only.
    return group.empty() ? name : group;
}

}  // namespace

CAnimationFinder::CAnimationFinder()
    : m_positions(std::make_shared<CPositionMap>()), m_animations(std::make_shared<CAnimationMap>()) {}

CAnimationFinder::CAnimationFinder(std::shared_ptr<CPositionMap> positions)
    : m_positions(std::move(positions)), m_animations(std::make_shared<CAnimationMap>()) {}

void CAnimationFinder::GroupAnimations() {
    m_groups.clear();
    for (const auto& [name, animation] : *m_animations) m_groups[GroupName(name)].push_back(animation.get());
    for (const AnimationFallback& row : AnimationFallbacks) {
        const CPose* present = Find(row.present, 0);
        if (present && !Find(row.missing, 0)) m_groups[row.missing].push_back(present);
    }
}

const CPose* CAnimationFinder::Find(const std::string& name, std::int32_t variant) const {
    if (auto group = m_groups.find(name); group != m_groups.end()) {
        const auto size = static_cast<std::int64_t>(group->second.size());
        std::int64_t index = variant % size;
        if (index < 0) index += size;  // a negative variant counts back from the last
        return group->second[static_cast<std::size_t>(index)];
    }
    if (auto animation = m_animations->find(name); animation != m_animations->end()) return animation->second.get();
    if (auto position = m_positions->find(name); position != m_positions->end()) return position->second.get();
    return nullptr;
}

}  // namespace DRAVGraph
