#pragma once
// One area of the world: a grid of cells with the actors standing in it.

#include <memory>
#include <vector>

#include "world/actor.h"

namespace DRAV {

class CArea {
public:
    // The actors placed in the area, living and dead.
    const ActorList& GetActors() const { return m_actors; }
    ActorList& GetActors() { return m_actors; }

private:
    ActorList m_actors;
};

}  // namespace DRAV
