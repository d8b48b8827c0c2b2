#pragma once
// Game difficulty: what a saved game stores and what the difficulty dialog shows.

#include <cstdint>
#include <string>

namespace DRAV {

enum Difficulty : std::int32_t {
    DIFFICULTY_CORE = 0,
    DIFFICULTY_NORMAL = 1,
    DIFFICULTY_EASY = 2,
};
constexpr int kDifficultyCount = 3;

// Code 1 for a word that is not a difficulty key.
Difficulty ParseDifficulty(const std::string& key);

// Code 2 outside 0-2.
std::string GetDifficultyKey(Difficulty difficulty);
std::string GetDifficultyName(Difficulty difficulty);
std::string GetDifficultyDescription(Difficulty difficulty);
// Percent of the standard damage that party actors take.
std::int32_t GetDifficultyDamagePercent(Difficulty difficulty);
// Added to the saving throws of party actors.
std::int32_t GetDifficultySaveBonus(Difficulty difficulty);

}  // namespace DRAV
