#pragma once
// How much and how long: the magnitude and the duration records of spell effects,
// both of which can grow with the caster's level up to a cap set by the spell's tier.

#include <cstdint>

#include "common/data_file_reader.h"
#include "rules/kinds/save_outcome.h"

namespace DRAV {

// The highest caster level that per-level parts count for a spell of `tier`.
std::int32_t GetTierLevelCap(std::int32_t tier);

class CSpellMagnitude {
public:
    // A fixed amount: no die roll, no per-level parts.
    explicit CSpellMagnitude(std::int32_t bonus) : m_bonus(bonus) {}
    CSpellMagnitude(std::int32_t dice, std::int32_t bonus) : m_dice(dice), m_bonus(bonus) {}
    // Either a "value" element of two parts (each "( base perlevel )" or one number)
    // or a bare "( dice bonus )" group or one number, the bonus; a leading "0" is an
    // absent group.
    CSpellMagnitude(DRAVCommon::CDataFileReader& reader, std::int32_t tier);

    // Rolls the amount for a caster level; never 0.
    std::int32_t GetValue(std::int32_t casterLevel) const;
    // As above, scaled by what a successful save leaves before the sign rule applies.
    std::int32_t GetValue(std::int32_t casterLevel, const CSaveOutcome& outcome) const;

    std::int32_t GetDice() const { return m_dice; }
    std::int32_t GetDicePerLevel() const { return m_dicePerLevel; }
    std::int32_t GetBonus() const { return m_bonus; }
    std::int32_t GetBonusPerLevel() const { return m_bonusPerLevel; }
    std::int32_t GetLevelCap() const { return m_levelCap; }
    // Dice and bonus together above 0: the amount helps, else it harms.
    bool IsPositive() const { return std::int64_t{m_dice} + m_bonus > 0; }

private:
    std::int32_t Evaluate(std::int32_t casterLevel, const CSaveOutcome* outcome) const;

    std::int32_t m_dice = 0;
    std::int32_t m_dicePerLevel = 0;
    std::int32_t m_bonus = 0;
    std::int32_t m_bonusPerLevel = 0;
    std::int32_t m_levelCap = 0;
};

// Game seconds; all three 0 is an effect that does not expire.
class CSpellDuration {
public:
    CSpellDuration() = default;
    CSpellDuration(std::int32_t base, std::int32_t perLevel, std::int32_t levelCap)
        : m_base(base), m_perLevel(perLevel), m_levelCap(levelCap) {}
    // One duration word ("0", "1round" ... "8hours", "levelrounds", "levelminutes").
    CSpellDuration(DRAVCommon::CDataFileReader& reader, std::int32_t tier);

    std::int32_t GetValue(std::int32_t casterLevel, const CSaveOutcome& outcome) const;

    std::int32_t GetBase() const { return m_base; }
    std::int32_t GetPerLevel() const { return m_perLevel; }
    std::int32_t GetLevelCap() const { return m_levelCap; }
    bool IsNone() const { return m_base == 0 && m_perLevel == 0 && m_levelCap == 0; }

private:
    std::int32_t m_base = 0;
    std::int32_t m_perLevel = 0;
    std::int32_t m_levelCap = 0;
};

}  // namespace DRAV
