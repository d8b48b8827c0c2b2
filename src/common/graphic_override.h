#pragma once
// What an actor carries that changes how it is drawn: one record per equipped item
// with a graphic of its own, which the graphics attach to the actor's model.

#include <string>
#include <vector>

namespace DRAVGraph {

struct GraphicOverride {
    std::string name;      // the item's graphic for the wearer's gender
    bool offHand = false;  // carried in the off hand

    bool operator==(const GraphicOverride&) const = default;
};

using GraphicOverrideList = std::vector<GraphicOverride>;

}  // namespace DRAVGraph
