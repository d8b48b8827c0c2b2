#include "rules/magic/spell_scaling.h"

#include <algorithm>
#include <string>

#include "common/exception.h"
#include "common/random.h"
#include "rules/kinds/formulas.h"

namespace DRAV {

std::int32_t GetTierLevelCap(std::int32_t tier) {
    switch (tier) {
        case 0: return 0;
        case 1: return 5;
        case 2: return 8;
        default: return 10;
    }
}

namespace {

// One part of a "value" element: "( base perlevel )" or a lone base.
void ReadValuePart(DRAVCommon::CDataFileReader& reader, std::int32_t& base, std::int32_t& perLevel) {
    if (reader.BeginGroup(2, false)) {
        base = reader.ReadInt();
        perLevel = reader.ReadInt();
    } else {
        base = reader.ReadInt();
        perLevel = 0;
    }
}

}  // namespace

CSpellMagnitude::CSpellMagnitude(DRAVCommon::CDataFileReader& reader, std::int32_t tier) {
    if (reader.IsBlock("value")) {
        reader.BeginBlock("value");
        ReadValuePart(reader, m_dice, m_dicePerLevel);
        ReadValuePart(reader, m_bonus, m_bonusPerLevel);
        reader.EndBlock();
        if (m_dicePerLevel != 0 || m_bonusPerLevel != 0) m_levelCap = GetTierLevelCap(tier);
        return;
    }
    if (reader.BeginPairGroup()) {
        m_dice = reader.ReadInt();
        m_bonus = reader.ReadInt();
    } else {
        m_bonus = reader.ReadInt();
    }
}

std::int32_t CSpellMagnitude::Evaluate(std::int32_t casterLevel, const CSaveOutcome* outcome) const {
    std::int64_t die = m_dice;
    std::int64_t flat = m_bonus;
    if (m_levelCap != 0) {
        const std::int64_t level = std::min(m_levelCap, casterLevel);
        die += m_dicePerLevel * level;
        flat += m_bonusPerLevel * level;
    }
    std::int64_t value = DRAVCommon::RollDie(SaturateInt32(die)) + flat;
    if (outcome && outcome->scaleEffect && outcome->percent != 100) value = outcome->percent * value / 100;
    if (IsPositive()) return SaturateInt32(std::max<std::int64_t>(value, 1));
    return SaturateInt32(std::min<std::int64_t>(value, -1));
}

std::int32_t CSpellMagnitude::GetValue(std::int32_t casterLevel) const { return Evaluate(casterLevel, nullptr); }

std::int32_t CSpellMagnitude::GetValue(std::int32_t casterLevel, const CSaveOutcome& outcome) const {
    return Evaluate(casterLevel, &outcome);
}

CSpellDuration::CSpellDuration(DRAVCommon::CDataFileReader& reader, std::int32_t tier) {
    struct FixedDuration {
        const char* word;
        std::int32_t seconds;
    };
    static constexpr FixedDuration kFixed[] = {
        {"1round", 10},  {"2rounds", 20},  {"3rounds", 30},  {"5rounds", 50},
        {"10rounds", 100}, {"1hour", 3600}, {"8hours", 28800},
    };
    if (reader.AtEnd()) reader.Fail(DRAV_ERR_BAD_DATA, "expected a duration");
    const std::string& word = reader.GetToken();
    if (word == "levelrounds") {
        *this = CSpellDuration(SaturateInt32(20 * std::int64_t{tier} - 10), 10, GetTierLevelCap(tier));
    } else if (word == "levelminutes") {
        *this = CSpellDuration(SaturateInt32(120 * std::int64_t{tier} - 60), 60, GetTierLevelCap(tier));
    } else if (word != "0") {
        auto fixed = std::find_if(std::begin(kFixed), std::end(kFixed),
                                  [&](const FixedDuration& row) { return word == row.word; });
        if (fixed == std::end(kFixed)) reader.Fail(DRAV_ERR_BAD_DATA, "unknown duration");
        m_base = fixed->seconds;
    }
    reader.Advance();
}

std::int32_t CSpellDuration::GetValue(std::int32_t casterLevel, const CSaveOutcome& outcome) const {
    std::int64_t value = m_base + std::int64_t{m_perLevel} * std::min(casterLevel, m_levelCap);
    if (outcome.scaleTime && outcome.percent != 100) value = outcome.percent * value / 100;
    return SaturateInt32(value);
}

}  // namespace DRAV
