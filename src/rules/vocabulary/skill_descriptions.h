#pragma once
// The player-facing paragraph of every skill, indexed by SkillId (0-97).

namespace DRAV {
extern const char* const kSkillDescriptions[98];
}  // namespace DRAV
