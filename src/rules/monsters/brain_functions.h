#pragma once
// Brains are read and copied by the engine, which defines them; the module and its
// monster definitions only hold them. The engine hands the module these two
// functions before it loads a chapter.

#include <functional>
#include <memory>

namespace DRAVCommon {
class CDataFileReader;
}

namespace DRAV {

class CBrain;

// Reads one "brain" element into a new brain.
using BrainReader = std::function<std::shared_ptr<CBrain>(DRAVCommon::CDataFileReader&)>;
// A copy of a brain for a new actor, with its own AIs.
using BrainCloner = std::function<std::shared_ptr<CBrain>(const CBrain&)>;

struct BrainFunctions {
    BrainReader read;
    BrainCloner clone;
};

}  // namespace DRAV
