#pragma once
// Gender and race of an actor: data-file keys, display names, race groups.

#include <cstdint>
#include <string>

#include "common/data_file_reader.h"
#include "common/data_file_writer.h"

namespace DRAV {

enum Gender : std::int32_t { GENDER_MALE = 0, GENDER_FEMALE = 1, GENDER_NONE = 2 };
constexpr int kGenderCount = 3;

// Rows 0-4 are the race groups; every other race names its group as parent.
enum Race : std::int32_t {
    RACE_CIVILIZED = 0, RACE_SAVAGE, RACE_UNDEAD, RACE_COSMIC, RACE_MAGIC,
    RACE_HUMAN, RACE_ELF, RACE_DWARF, RACE_FEY,
    RACE_ORC, RACE_GOBLIN, RACE_MINOTAUR, RACE_SSAZATH,
    RACE_SKELETON, RACE_CORPSE, RACE_GHOST,
    RACE_DEMON, RACE_JOTUN, RACE_SURTR, RACE_NORN, RACE_SHADOW, RACE_AESIR, RACE_ALFAR, RACE_DVERGER,
    RACE_OUTSIDER, RACE_SALAMANDER,
    RACE_CONSTRUCT,
    RACE_NONE = 27,  // no race, and the parent of the race groups
};
constexpr int kRaceCount = 27;

// Code 2 outside 0-2.
std::string GetGenderName(Gender gender);
std::string GetGenderLetter(Gender gender);
// "he", "she", and "it" for any other value; the possessive "his", "her", "its".
std::string GetPronoun(Gender gender);
std::string GetPossessive(Gender gender);

// Code 2 outside 0-26.
std::string GetRaceKey(Race race);
std::string GetRaceName(Race race);
Race GetRaceParent(Race race);
// Code 2 for a word that is not a race key.
Race ParseRace(const std::string& key);

// "male", "female" or "none"; any other word is code 1.
Gender ReadGender(DRAVCommon::CDataFileReader& reader);
// A race key; any other word is code 2.
Race ReadRace(DRAVCommon::CDataFileReader& reader);
// Code 2 for a value outside 0-2.
void WriteGender(DRAVCommon::CDataFileWriter& writer, Gender gender);

}  // namespace DRAV
