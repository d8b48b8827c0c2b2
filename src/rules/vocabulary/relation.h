#pragma once
// An actor's standing toward the party.

#include <cstdint>
#include <string>

#include "common/data_file_reader.h"

namespace DRAV {

enum Relation : std::int32_t {
    RELATION_PARTY = 0,
    RELATION_FRIENDLY = 1,
    RELATION_NEUTRAL = 2,
    RELATION_HOSTILE = 3,
    RELATION_BERSERK = 4,
    RELATION_SURRENDER = 5,
};
constexpr int kRelationCount = 6;

// Code 2 outside 0-5.
std::string GetRelationKey(Relation relation);
std::string GetRelationName(Relation relation);
// Code 2 for a word that is not a relation key.
Relation ParseRelation(const std::string& key);
Relation ReadRelation(DRAVCommon::CDataFileReader& reader);

}  // namespace DRAV
