#pragma once
// A creature of the game: a character of the party, a person to talk to or a monster.

#include <cstdint>

#include "world/thing.h"

namespace DRAV {

class CArea;

// Where an actor stands in its action cycle; every state but ACTION_DEAD is living.
enum ActionState : std::uint32_t {
    ACTION_DEAD = 0,
    ACTION_PAUSE = 1,
    ACTION_RECOVERING = 2,
    ACTION_IDLE = 3,
    ACTION_WIND_UP = 4,
    ACTION_STRIKE = 5,
};

class CActor final : public CThing {
public:
    explicit CActor(ThingId id);

    // Position in world units; a map cell is 2.5 units square.
    double GetX() const { return m_x; }
    double GetY() const { return m_y; }
    void SetPosition(double x, double y);

    // The area the actor is placed in; null until an area places it.
    CArea* GetArea() const { return m_area; }
    void SetArea(CArea* area) { m_area = area; }

    // The direction the actor faces, in radians.
    double GetFacing() const { return m_facing; }
    void SetFacing(double facing) { m_facing = facing; }

    // The footprint radius that reach, adjacency and placement use.
    double GetRadius() const { return m_radius; }
    void SetRadius(double radius) { m_radius = radius; }

    ActionState GetActionState() const { return m_actionState; }
    void SetActionState(ActionState state) { m_actionState = state; }
    bool IsAlive() const { return m_actionState != ACTION_DEAD; }

private:
    CArea* m_area = nullptr;
    double m_x = 0.0;
    double m_facing = 0.0;
    double m_y = 0.0;
    double m_radius = 0.0;
    ActionState m_actionState = ACTION_DEAD;
};

}  // namespace DRAV
