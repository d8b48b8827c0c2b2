#pragma once
// The monster dialog's text about an actor: what the party knows of a party
// member, a person or a monster, revealing more as that knowledge grows.

#include <cstdint>
#include <ostream>
#include <string>

namespace DRAV {

class CActor;
class CModule;

// Knowledge levels of the monster dialog: below kKnowledgeBasic only what is seen,
// from kKnowledgeFull the statistics as well.
constexpr std::int32_t kKnowledgeBasic = 0;
constexpr std::int32_t kKnowledgeFull = 25;

// The name every page about an actor calls it by: the hero being made on the
// creation pages has none yet.
const std::string& DescribedName(const CActor& actor);

void WriteActorDescription(const CActor& actor, const CModule& module, std::int32_t knowledge, std::ostream& out);

}  // namespace DRAV
