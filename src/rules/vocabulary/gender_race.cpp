#include "rules/vocabulary/gender_race.h"

#include "rules/vocabulary/vocabulary_table.h"

namespace DRAV {

namespace {

struct GenderRow {
    const char* name;
    const char* letter;
    const char* key;
};

constexpr GenderRow kGenders[kGenderCount] = {
    {"Male", "M", "male"},
    {"Female", "F", "female"},
    {"None", "-", "none"},
};

struct RaceRow {
    Race parent;
    const char* key;
    const char* name;
};

constexpr RaceRow kRaces[kRaceCount] = {
    {RACE_NONE, "civilized", "Civilized"},
    {RACE_NONE, "savage", "Savage"},
    {RACE_NONE, "undead", "Undead"},
    {RACE_NONE, "cosmic", "Cosmic"},
    {RACE_NONE, "magic", "Magic"},
    {RACE_CIVILIZED, "human", "Human"},
    {RACE_CIVILIZED, "elf", "Elf"},
    {RACE_CIVILIZED, "dwarf", "Dwarf"},
    {RACE_CIVILIZED, "fey", "Fey"},
    {RACE_SAVAGE, "orc", "Orc"},
    {RACE_SAVAGE, "goblin", "Goblin"},
    {RACE_SAVAGE, "minotaur", "Minotaur"},
    {RACE_SAVAGE, "ssazath", "Ssazath"},
    {RACE_UNDEAD, "skeleton", "Skeleton"},
    {RACE_UNDEAD, "corpse", "Corpse"},
    {RACE_UNDEAD, "ghost", "Ghost"},
    {RACE_COSMIC, "demon", "Demon"},
    {RACE_COSMIC, "jotun", "Jotun"},
    {RACE_COSMIC, "surtr", "Surtr"},
    {RACE_COSMIC, "norn", "Norn"},
    {RACE_COSMIC, "shadow", "Shadow"},
    {RACE_COSMIC, "aesir", "Aesir"},
    {RACE_COSMIC, "alfar", "Alfar"},
    {RACE_COSMIC, "dverger", "Dverger"},
    {RACE_COSMIC, "outsider", "Outsider"},
    {RACE_COSMIC, "salamander", "Salamander"},
    {RACE_MAGIC, "construct", "Construct"},
};

}  // namespace

std::string GetGenderName(Gender gender) { return GetTableRow(kGenders, gender, "gender").name; }
std::string GetGenderLetter(Gender gender) { return GetTableRow(kGenders, gender, "gender").letter; }

std::string GetPronoun(Gender gender) {
    return gender == GENDER_MALE ? "he" : gender == GENDER_FEMALE ? "she" : "it";
}

std::string GetPossessive(Gender gender) {
    return gender == GENDER_MALE ? "his" : gender == GENDER_FEMALE ? "her" : "its";
}

std::string GetRaceKey(Race race) { return GetTableRow(kRaces, race, "race").key; }
std::string GetRaceName(Race race) { return GetTableRow(kRaces, race, "race").name; }
Race GetRaceParent(Race race) { return GetTableRow(kRaces, race, "race").parent; }

Race ParseRace(const std::string& key) {
    return static_cast<Race>(ParseTableKey(kRaces, &RaceRow::key, key, DRAV_ERR_OUT_OF_RANGE, "race"));
}

Gender ReadGender(DRAVCommon::CDataFileReader& reader) {
    return static_cast<Gender>(ReadTableKey(reader, kGenders, &GenderRow::key, DRAV_ERR_BAD_DATA, "gender"));
}

Race ReadRace(DRAVCommon::CDataFileReader& reader) {
    return static_cast<Race>(ReadTableKey(reader, kRaces, &RaceRow::key, DRAV_ERR_OUT_OF_RANGE, "race"));
}

void WriteGender(DRAVCommon::CDataFileWriter& writer, Gender gender) {
    writer.WriteWord(GetTableRow(kGenders, gender, "gender").key);
}

}  // namespace DRAV
