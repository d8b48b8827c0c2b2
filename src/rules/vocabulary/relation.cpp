#include "rules/vocabulary/relation.h"

#include "rules/vocabulary/vocabulary_table.h"

namespace DRAV {

namespace {

struct RelationRow {
    const char* key;
    const char* name;
};

constexpr RelationRow kRelations[kRelationCount] = {
    {"party", "Party"},     {"friendly", "Friendly"}, {"neutral", "Neutral"},
    {"hostile", "Hostile"}, {"berserk", "Berserk"},   {"surrender", "Surrender"},
};

}  // namespace

std::string GetRelationKey(Relation relation) { return GetTableRow(kRelations, relation, "relation").key; }
std::string GetRelationName(Relation relation) { return GetTableRow(kRelations, relation, "relation").name; }

Relation ParseRelation(const std::string& key) {
    return static_cast<Relation>(
        ParseTableKey(kRelations, &RelationRow::key, key, DRAV_ERR_OUT_OF_RANGE, "relation"));
}

Relation ReadRelation(DRAVCommon::CDataFileReader& reader) {
    return static_cast<Relation>(
        ReadTableKey(reader, kRelations, &RelationRow::key, DRAV_ERR_OUT_OF_RANGE, "relation"));
}

}  // namespace DRAV
