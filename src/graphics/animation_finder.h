#pragma once
// A figure's poses by name, and the lookup of the pose an action shows: variant
// animations ("_attack1", "_attack2") gather under their action ("attack"), and a few
// actions a figure lacks borrow another's ("drink" plays "cast").

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "graphics/pose.h"

namespace DRAVGraph {

class CAnimationFinder {
public:
    CAnimationFinder();
    // Shares a figure's cached positions; the animations are the finder's own.
    explicit CAnimationFinder(std::shared_ptr<CPositionMap> positions);

    const std::shared_ptr<CPositionMap>& GetPositions() const { return m_positions; }
    const std::shared_ptr<CAnimationMap>& GetAnimations() const { return m_animations; }

    // Builds the groups once every position and animation is in.
    void GroupAnimations();

    // A group's member number `variant` (modulo its size), else the animation, else
    // the position of that name; null when there is none.
    const CPose* Find(const std::string& name, std::int32_t variant) const;

private:
    std::shared_ptr<CPositionMap> m_positions;
    std::shared_ptr<CAnimationMap> m_animations;
    std::map<std::string, std::vector<const CPose*>> m_groups;
};

}  // namespace DRAVGraph
