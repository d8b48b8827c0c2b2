#pragma once
// The AI objects of a monster's brain. A monster definition holds one prototype of
// each AI; every actor works on its own clone, so per-actor run-time fields never
// leak between actors.

#include <cstdint>
#include <memory>
#include <string>

#include "rules/magic/spell.h"

#include "common/data_file_reader.h"
#include "common/data_file_writer.h"

namespace DRAV {

class CActor;
class CEngine;
class CSpell;

// How the shared target finder chooses its candidates.
enum TargetFlags : std::uint32_t {
    TARGET_ENEMIES = 1,          // clear: allies
    TARGET_WITHIN_RANGE = 2,     // only candidates within the range and reachable
    TARGET_PREFER_CASTERS = 4,   // spellcasters count as 25 world units nearer
};

class CAI {
public:
    virtual ~CAI() = default;

    // A fresh object of the same class with the same definition data; which
    // run-time fields are kept and which start over is each class's choice.
    virtual std::shared_ptr<CAI> Clone() const = 0;

    // The AI's block of a saved game; classes without state read and write nothing.
    virtual void LoadState(DRAVCommon::CDataFileReader& reader) = 0;
    virtual void SaveState(DRAVCommon::CDataFileWriter& writer) const = 0;

    // Reads a type word and the AI's definition data after it, leaving the end of
    // the enclosing "ai" element to the caller. Code 1 for an unknown type word.
    static std::shared_ptr<CAI> Create(DRAVCommon::CDataFileReader& reader);
    // Reads a whole "ai" element: a brain's AI or the backup AI of a wrapping AI.
    static std::shared_ptr<CAI> ReadElement(DRAVCommon::CDataFileReader& reader);

    // The per-tick decision: the orders the actor should receive.
    virtual void IssueOrders(CEngine& engine, CActor& actor);

    // Drops spell names that `spells` lacks, tracing each with `owner`, so that a
    // misspelt name cannot stall the AI. Run once the module has loaded.
    virtual void DropUnknownSpells(const SpellMap& spells, const std::string& owner);

    // The nearest candidate of the actor's area by `flags` (TargetFlags) that `spell`
    // (may be null) can affect; a later candidate wins a tie. Null when there is none.
    static CActor* FindTarget(const CActor& actor, std::uint32_t flags, const CSpell* spell, double range);
    // An attack order against the nearest enemy, when there is one.
    static void AttackNearest(CActor& actor, std::uint32_t flags);
    // Most AIs drop their orders now and then (1 in 150 ticks), so they look afresh.
    static bool RandomCancel();

protected:
    CAI() = default;
    // Copying would share backup AIs between owners; Clone is the only way to copy.
    CAI(const CAI&) = delete;
    CAI& operator=(const CAI&) = delete;
};

}  // namespace DRAV
