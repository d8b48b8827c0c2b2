#pragma once
// What the renderer hands the world for a loaded graphic. The world only stores
// these, gives them back and drops them; it never looks inside.

#include <cstdint>
#include <memory>

namespace DRAVGraph {

class CGraphic;

struct CGraphicHandle {
    std::int32_t id = 0;                 // the renderer's id
    std::shared_ptr<CGraphic> graphic;  // empty until the view fills it
};

}  // namespace DRAVGraph
