#pragma once
// Something in flight: a missile or a launched spell flying from where it was
// launched to a target actor or a target tile, one step per engine tick. The area
// it flies in holds the owning pointer; the engine moves and resolves it, the 3D
// graphics read it and attach their own object.

#include <cstdint>
#include <list>
#include <memory>
#include <string>

#include "rules/kinds/attack_info.h"
#include "rules/vocabulary/skills.h"
#include "world/thing.h"

namespace DRAVGraph {
class CEffectParams;
}

namespace DRAV {

class CArea;
class CSpell;

enum EffectKind : std::int32_t {
    EFFECT_ATTACK = 0,
    EFFECT_SPELL = 1,
};

class CEffect : public CThing {
public:
    // Position, speed and heading are the maker's to set afterwards.
    CEffect(ThingId id, EffectKind kind, CArea* area, std::string sourceName, std::string visualName,
            const DRAVGraph::CEffectParams* visualParams, ThingId target, bool fromParty);
    virtual ~CEffect() = default;
    CEffect(const CEffect&) = delete;
    CEffect& operator=(const CEffect&) = delete;

    EffectKind GetKind() const { return m_kind; }
    CArea* GetArea() const { return m_area; }
    double GetX() const { return m_x; }
    double GetY() const { return m_y; }
    double GetZ() const { return m_z; }
    double GetSpeed() const { return m_speed; }
    // World units per game second.
    void SetSpeed(double speed) { m_speed = speed; }
    double GetHeading() const { return m_heading; }
    // A loaded effect faces as it did when saved, whatever its target did since.
    void SetHeading(double heading) { m_heading = heading; }
    ThingId GetTarget() const { return m_target; }
    std::string GetSourceName() const { return m_sourceName; }
    bool IsDone() const { return m_done; }
    void SetDone() { m_done = true; }
    bool IsFromParty() const { return m_fromParty; }
    const std::string& GetVisualName() const { return m_visualName; }
    const DRAVGraph::CEffectParams* GetVisualParams() const { return m_visualParams; }
    const std::shared_ptr<void>& GetGraphics() const { return m_graphics; }
    void SetGraphics(std::shared_ptr<void> graphics) { m_graphics = std::move(graphics); }

    // Stores the position and turns the heading towards the target; a target actor
    // missing from `area` leaves the heading as it was. Code 2 for a target that is
    // neither an actor nor a tile.
    void SetPosition(CArea& area, double x, double y, double z);
    // Where the target is: the actor's position or the centre of the tile's cell.
    // False for an actor not in `area`; code 2 for any other kind of thing.
    bool GetTargetPoint(const CArea& area, double& x, double& y) const;

private:
    EffectKind m_kind;
    CArea* m_area;
    double m_x = 0.0;
    double m_y = 0.0;
    double m_z = 0.0;
    double m_speed = 0.0;
    double m_heading = 0.0;
    ThingId m_target;
    std::string m_sourceName;
    bool m_done = false;
    bool m_fromParty;
    std::string m_visualName;
    const DRAVGraph::CEffectParams* m_visualParams;
    std::shared_ptr<void> m_graphics;
};

// A missile: the attacker's attack as it was at launch, and what it carries.
class CEffectAttack final : public CEffect {
public:
    CEffectAttack(ThingId id, CArea* area, std::string sourceName, std::string visualName, ThingId target,
                  bool fromParty, CAttackInfo attack, const CSpell* onHitSpell)
        : CEffect(id, EFFECT_ATTACK, area, std::move(sourceName), std::move(visualName), nullptr, target,
                  fromParty),
          m_attack(std::move(attack)),
          m_onHitSpell(onHitSpell) {}

    const CAttackInfo& GetAttack() const { return m_attack; }
    // Null when the attack carries no spell.
    const CSpell* GetOnHitSpell() const { return m_onHitSpell; }

private:
    CAttackInfo m_attack;
    const CSpell* m_onHitSpell;
};

// A launched spell and the numbers it is resolved with.
class CEffectSpell final : public CEffect {
public:
    // No source, not from the party, every number 0 and no penetration skill.
    CEffectSpell(ThingId id, CArea* area, std::string visualName, const DRAVGraph::CEffectParams* visualParams,
                 ThingId target, const CSpell* spell)
        : CEffectSpell(id, area, "", std::move(visualName), visualParams, target, false, spell) {}
    CEffectSpell(ThingId id, CArea* area, std::string sourceName, std::string visualName,
                 const DRAVGraph::CEffectParams* visualParams, ThingId target, bool fromParty, const CSpell* spell)
        : CEffect(id, EFFECT_SPELL, area, std::move(sourceName), std::move(visualName), visualParams, target,
                  fromParty),
          m_spell(spell) {}

    const CSpell* GetSpell() const { return m_spell; }
    // The actor who cast it, 0 for none; and whether her line told the cast already.
    ThingId caster = 0;
    bool announced = false;
    // Who cast the lasting spell this pulses from, or struck the blow that carried it,
    // when nobody sends it; and how many of her pulses due together it stands for.
    std::string whose;
    std::int32_t pulses = 1;
    std::int32_t difficulty = 0;
    std::int32_t hitBonus = 0;
    std::int32_t casterLevel = 0;
    SkillId penetrationSkill = SKILL_NONE;

private:
    const CSpell* m_spell;
};

// The most pulses of one lasting harm that one launched spell stands for: more due
// together go as a second spell. A pulse rolls its damage once for each it stands
// for, so a number past play's could hold a tick, or a load, for hours.
inline constexpr std::int32_t kMostPulsesTogether = 1024;

// A list, so that an effect leaves from the middle without moving the others.
using EffectList = std::list<std::shared_ptr<CEffect>>;

}  // namespace DRAV
