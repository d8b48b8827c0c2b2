#pragma once
// A monster's brain: its starting relation, the triggers that turn it hostile, the
// tags it fires then, and its peaceful and combat AIs. The monster definition holds
// the prototype; each actor works on its own clone.

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "common/data_file_reader.h"
#include "common/data_file_writer.h"
#include "engine/brain/ai.h"
#include "rules/vocabulary/relation.h"

namespace DRAV {

class CActor;
class CArea;
class CEngine;

// Those whose coming near sets off a neutral actor's proximity trigger: the party
// and its friends in the area, standing and not sneaking. A pass of tests over the
// area's actors gathers them when a test first needs them, and again after a
// trigger turned someone (Forget): a test that fails changes nothing, so the pass
// need not look at every actor for each actor it tests.
class CProximityWatchers {
public:
    explicit CProximityWatchers(const CArea& area) : m_area(area) {}
    const CArea& Area() const { return m_area; }
    // Whether one of them other than `actor` is within `range` of it.
    bool AnyWithin(const CActor& actor, double range);
    void Forget() { m_gathered = false; }

private:
    const CArea& m_area;
    bool m_gathered = false;
    std::vector<const CActor*> m_watchers;
};

class CBrain {
public:
    // Party relation, no triggers, no AIs.
    CBrain() = default;
    // Copies would share their AIs; Clone gives each actor its own.
    CBrain(const CBrain&) = delete;
    CBrain& operator=(const CBrain&) = delete;

    // Reads the "brain" element of a monster definition.
    void Load(DRAVCommon::CDataFileReader& reader);
    // Definition data and clones of both AIs; not equipped, no pending tags.
    std::shared_ptr<CBrain> Clone() const;

    // The "brain" block of an actor in a saved game: the equipped flag, then the
    // state blocks of the peaceful and of the combat AI.
    void LoadState(DRAVCommon::CDataFileReader& reader);
    void SaveState(DRAVCommon::CDataFileWriter& writer) const;

    Relation GetRelation() const { return m_relation; }
    bool IsHostileWhenAttacked() const { return m_hostileWhenAttacked; }
    // Not above 0: no proximity trigger.
    double GetProximityRange() const { return m_proximityRange; }
    // Not empty: the proximity trigger works only while this quest tag is set.
    const std::string& GetProximityTag() const { return m_proximityTag; }
    const std::vector<std::string>& GetTriggerTags() const { return m_triggerTags; }
    const std::vector<std::string>& GetFireTags() const { return m_fireTags; }
    // Both may be empty in a brain that was never loaded.
    const std::shared_ptr<CAI>& GetPeacefulAI() const { return m_peacefulAI; }
    const std::shared_ptr<CAI>& GetCombatAI() const { return m_combatAI; }

    bool IsEquipped() const { return m_equipped; }
    void SetEquipped(bool equipped) { m_equipped = equipped; }

    // The triggers that turn a neutral actor hostile; true when it turned. A turned
    // actor drops its orders (unless its will is not its own) and queues its fire tags.
    // An attack (the attacker may be unknown), when the brain turns hostile on one:
    bool TriggerTestCombat(CActor& actor, const CActor* attacker);
    // A quest tag the brain's trigger tags name:
    bool TriggerTestTag(CActor& actor, const std::string& tag);
    // A neutral actor that strikes at the party has made itself the party's enemy,
    // whatever its definition says of being attacked. It keeps the order it is
    // carrying out; its fire tags are queued.
    bool TriggerTestAttacksParty(CActor& actor);
    // The party, or a friend of it that is not sneaking, within the proximity range
    // while the actor stands on a cell the party sees (and the proximity tag, if
    // any, is set):
    bool TriggerTestProximity(CProximityWatchers& watchers, CActor& actor);
    // An ambush sprung where the party stands, whatever the proximity range says.
    void TriggerAmbush(CActor& actor);
    // Once per tick from the AI pass, for an actor outside the party: on the first
    // call the actor is told to wield its best weapons, armour and trinkets; then the
    // peaceful or the combat AI decides by the actor's relation and the battle flag.
    void Think(CEngine& engine, CActor& actor);

    // Fire tags wait here until the engine passes them on.
    void QueueFireTags() { m_pendingTags.insert(m_pendingTags.end(), m_fireTags.begin(), m_fireTags.end()); }
    const std::vector<std::string>& GetPendingTags() const { return m_pendingTags; }
    std::vector<std::string> TakePendingTags() { return std::exchange(m_pendingTags, {}); }
    // Takes the oldest pending tag; false when none waits.
    bool PopPendingTag(std::string& tag);

private:
    void TurnHostile(CActor& actor);

    Relation m_relation = RELATION_PARTY;
    bool m_hostileWhenAttacked = false;
    double m_proximityRange = 0.0;
    std::string m_proximityTag;
    std::vector<std::string> m_triggerTags;
    std::vector<std::string> m_fireTags;
    std::shared_ptr<CAI> m_peacefulAI;
    std::shared_ptr<CAI> m_combatAI;
    bool m_equipped = false;
    std::vector<std::string> m_pendingTags;
};

// Whether the actor stands on a cell the party sees in `area`.
bool IsOnSeenCell(const CArea& area, const CActor& actor);
// The actor is on a seen cell of the watchers' area and one of them is within
// `range` of it.
bool PartyProximityTest(CProximityWatchers& watchers, const CActor& actor, double range);

}  // namespace DRAV
