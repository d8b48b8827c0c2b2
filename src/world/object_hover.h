#pragma once
// The text the interface shows while the pointer rests on an object.

#include <string>

namespace DRAV {

class CObject;

// "Container" with " (Locked)" or " (Empty)" for containers; otherwise the exit
// text of an exit marker, "Click for Action" for an object one can talk to, or
// the signpost text; empty when none applies.
std::string GetObjectHoverText(const CObject& object);

}  // namespace DRAV
