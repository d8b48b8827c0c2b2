#pragma once
// Brains are read and copied by the engine, which defines them; the module and its
// monster definitions only hold them. The engine hands the module these
// functions before it loads a chapter; actors keep them to save their brains.

#include <functional>
#include <memory>
#include <string>

#include "rules/vocabulary/relation.h"

namespace DRAVCommon {
class CDataFileReader;
class CDataFileWriter;
}

namespace DRAV {

class CBrain;

// Reads one "brain" element into a new brain.
using BrainReader = std::function<std::shared_ptr<CBrain>(DRAVCommon::CDataFileReader&)>;
// A copy of a brain for a new actor, with its own AIs.
using BrainCloner = std::function<std::shared_ptr<CBrain>(const CBrain&)>;

// An actor's brain in a saved game: the "brain" element of its running state.
using BrainStateReader = std::function<void(CBrain&, DRAVCommon::CDataFileReader&)>;
using BrainStateWriter = std::function<void(const CBrain&, DRAVCommon::CDataFileWriter&)>;
// The relation to the party that a brain starts its actor with.
using BrainRelation = std::function<Relation(const CBrain&)>;
// Whether a brain turns its actor on whoever comes near; `tag` is set to the quest
// tag that must be set first, empty for none.
using BrainWatch = std::function<bool(const CBrain&, std::string& tag)>;

struct BrainFunctions {
    BrainReader read;
    BrainCloner clone;
    BrainStateReader loadState;
    BrainStateWriter saveState;
    BrainRelation relation;
    BrainWatch watch;
};

}  // namespace DRAV
