#include "rules/vocabulary/attributes.h"

#include "rules/vocabulary/vocabulary_table.h"

namespace DRAV {

namespace {

struct AttributeRow {
    const char* key;
    const char* name;
};

constexpr AttributeRow kAttributes[kAttributeCount] = {
    {"strength", "Strength"},
    {"agility", "Agility"},
    {"durability", "Durability"},
    {"intelligence", "Intelligence"},
    {"personality", "Personality"},
};

constexpr const char* kCombatStatNames[kCombatStatCount] = {
    "Attack Bonus", "Attack Damage", "Defense Class", "Hit Points",
};

}  // namespace

std::string GetAttributeKey(Attribute attribute) { return GetTableRow(kAttributes, attribute, "attribute").key; }
std::string GetAttributeName(Attribute attribute) { return GetTableRow(kAttributes, attribute, "attribute").name; }

bool IsAttributeKey(const std::string& word) { return FindTableKey(kAttributes, &AttributeRow::key, word) >= 0; }

Attribute ParseAttribute(const std::string& key) {
    return static_cast<Attribute>(
        ParseTableKey(kAttributes, &AttributeRow::key, key, DRAV_ERR_OUT_OF_RANGE, "attribute"));
}

Attribute ReadAttribute(DRAVCommon::CDataFileReader& reader) {
    return static_cast<Attribute>(
        ReadTableKey(reader, kAttributes, &AttributeRow::key, DRAV_ERR_OUT_OF_RANGE, "attribute"));
}

std::string GetCombatStatName(CombatStat stat) { return GetTableRow(kCombatStatNames, stat, "combat statistic"); }

}  // namespace DRAV
