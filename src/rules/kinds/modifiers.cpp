#include "rules/kinds/modifiers.h"

#include <string>

#include "rules/vocabulary/vocabulary_table.h"

namespace DRAV {

namespace {

// Where each resisted category's indexes start, and its first element.
struct ResistanceRange {
    ModifierIndex firstIndex;
    DamageElement firstElement;
    DamageElement lastElement;
};

constexpr ResistanceRange kResistances[] = {
    {MOD_RESIST_ENERGETIC, ELEMENT_RADIANT, ELEMENT_FORCE},
    {MOD_RESIST_MATERIAL, ELEMENT_NECROTIC, ELEMENT_DEBILITY},
    {MOD_RESIST_SPIRITUAL, ELEMENT_CURSE, ELEMENT_ILLUSION},
};

struct ModifierWord {
    const char* key;
    ModifierIndex index;
};

// Tested before and after the damage, special statistic and attribute words.
constexpr ModifierWord kLeadingWords[] = {
    {"attack", MOD_ATTACK},
    {"damage", MOD_DAMAGE},
    {"defense", MOD_DEFENSE},
};
constexpr ModifierWord kTrailingWords[] = {
    {"casting", MOD_CASTING},
    {"spellnullification", MOD_SPELL_NULLIFICATION},
    {"actionspeed", MOD_ACTION_SPEED},
    {"movementspeed", MOD_MOVEMENT_SPEED},
};

std::string PairText(const CDamageType& type) {
    return "(" + std::to_string(type.category) + ", " + std::to_string(type.element) + ")";
}

}  // namespace

ModifierIndex GetDamageTypeModifierIndex(const CDamageType& type) {
    if (type.category >= 0 && type.category < static_cast<int>(std::size(kResistances))) {
        const ResistanceRange& range = kResistances[type.category];
        if (type.element == ELEMENT_NONE) return range.firstIndex;
        if (type.element >= range.firstElement && type.element <= range.lastElement)
            return static_cast<ModifierIndex>(range.firstIndex + 1 + (type.element - range.firstElement));
    }
    throw CDRAVException(DRAV_ERR_OUT_OF_RANGE, "damage type without resistance: " + PairText(type));
}

CDamageType GetModifierDamageType(std::int32_t index) {
    for (int category = 0; category < static_cast<int>(std::size(kResistances)); ++category) {
        const ResistanceRange& range = kResistances[category];
        int offset = index - range.firstIndex;
        if (offset == 0) return {static_cast<DamageCategory>(category), ELEMENT_NONE};
        if (offset > 0 && offset <= range.lastElement - range.firstElement + 1)
            return {static_cast<DamageCategory>(category), static_cast<DamageElement>(range.firstElement + offset - 1)};
    }
    throw CDRAVException(DRAV_ERR_OUT_OF_RANGE, "modifier index is no resistance: " + std::to_string(index));
}

ModifierIndex GetSpecialStatModifierIndex(SpecialStat stat) {
    if (stat < 0 || stat >= kSpecialStatCount)
        throw CDRAVException(DRAV_ERR_OUT_OF_RANGE, "special statistic out of range: " + std::to_string(stat));
    return static_cast<ModifierIndex>(MOD_LOCKS + static_cast<int>(stat));
}

ModifierIndex GetAttributeModifierIndex(Attribute attribute) {
    if (attribute < 0 || attribute >= kAttributeCount)
        throw CDRAVException(DRAV_ERR_OUT_OF_RANGE, "attribute out of range: " + std::to_string(attribute));
    return static_cast<ModifierIndex>(MOD_STRENGTH + static_cast<int>(attribute));
}

ModifierMask ParseModifierMask(DRAVCommon::CDataFileReader& reader) {
    ModifierMask mask = 0;
    while (!reader.AtBlockEnd()) {
        const std::string& word = reader.GetToken();
        int index;
        int leading = FindTableKey(kLeadingWords, &ModifierWord::key, word);
        int trailing = FindTableKey(kTrailingWords, &ModifierWord::key, word);
        if (leading >= 0) index = kLeadingWords[leading].index;
        else if (IsDamageTypeWord(word)) {
            try {
                index = GetDamageTypeModifierIndex(ParseDamageType(word));
            } catch (const CDRAVException& error) {
                reader.Fail(error.GetCode(), "damage type without resistance");
            }
        }
        else if (IsSpecialStatKey(word)) index = GetSpecialStatModifierIndex(ParseSpecialStat(word));
        else if (IsAttributeKey(word)) index = GetAttributeModifierIndex(ParseAttribute(word));
        else if (trailing >= 0) index = kTrailingWords[trailing].index;
        else reader.Fail(DRAV_ERR_BAD_DATA, "unknown modifier word");
        mask |= ModifierMask{1} << index;
        reader.Advance();
    }
    return mask;
}

void WriteModifierMask(const ModifierMask& mask, DRAVCommon::CDataFileWriter& writer) {
    writer.BeginBlock("modify");
    writer.WriteValue(static_cast<std::uint32_t>(mask & 0xFFFFFFFFu));
    writer.WriteValue(static_cast<std::uint32_t>(mask >> 32));
    writer.EndBlock();
}

void ReadModifierMask(ModifierMask& mask, DRAVCommon::CDataFileReader& reader) {
    mask = 0;
    if (!reader.IsBlock("modify")) return;
    reader.BeginBlock("modify");
    ModifierMask low = reader.ReadUInt();
    ModifierMask high = reader.ReadUInt();
    mask = low | (high << 32);
    reader.EndBlock();
}

}  // namespace DRAV
