#include "rules/vocabulary/difficulty.h"

#include "rules/vocabulary/vocabulary_table.h"

namespace DRAV {

namespace {

struct DifficultyRow {
    const char* key;
    const char* name;
    std::int32_t damagePercent;
    std::int32_t saveBonus;
    const char* description;
};

constexpr DifficultyRow kDifficulties[kDifficultyCount] = {
    {"core", "Core Rules", 100, 0, "Core Rules: The default difficulty level, uses the standard game rules."},
    {"normal", "Normal", 75, 10,
     "Normal: At Normal difficulty, player actors take only 75% of standard damage, and receive a +10 bonus to "
     "saving throws."},
    {"easy", "Easy", 50, 20,
     "Easy: At Easy difficulty, player actors take only 50% of standard damage, and receive a +20 bonus to "
     "saving throws."},
};

const DifficultyRow& Row(Difficulty difficulty) { return GetTableRow(kDifficulties, difficulty, "difficulty"); }

}  // namespace

Difficulty ParseDifficulty(const std::string& key) {
    return static_cast<Difficulty>(
        ParseTableKey(kDifficulties, &DifficultyRow::key, key, DRAV_ERR_BAD_DATA, "difficulty"));
}

std::string GetDifficultyKey(Difficulty difficulty) { return Row(difficulty).key; }
std::string GetDifficultyName(Difficulty difficulty) { return Row(difficulty).name; }
std::string GetDifficultyDescription(Difficulty difficulty) { return Row(difficulty).description; }
std::int32_t GetDifficultyDamagePercent(Difficulty difficulty) { return Row(difficulty).damagePercent; }
std::int32_t GetDifficultySaveBonus(Difficulty difficulty) { return Row(difficulty).saveBonus; }

}  // namespace DRAV
