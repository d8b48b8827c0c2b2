#include "rules/vocabulary/skills.h"

#include "rules/vocabulary/skill_descriptions.h"
#include "rules/vocabulary/vocabulary_table.h"

namespace DRAV {

namespace {

// {id, display name, key, spell bonus, attribute, mastery, class, level, prerequisites, description}
constexpr SkillInfo kSkillRows[kSkillCount] = {
    {0, "Light Blades", "light_blade", 0, 0, 19, 0, 0, {98, 98, 98}, nullptr},
    {1, "Heavy Blades", "heavy_blade", 0, 0, 20, 0, 0, {98, 98, 98}, nullptr},
    {2, "Staves", "staff", 0, 0, 21, 0, 0, {98, 98, 98}, nullptr},
    {3, "Bludgeons", "bludgeon", 0, 0, 22, 0, 0, {98, 98, 98}, nullptr},
    {4, "Axes", "axe", 0, 0, 23, 0, 0, {98, 98, 98}, nullptr},
    {5, "Bows", "bow", 0, 1, 24, 0, 0, {98, 98, 98}, nullptr},
    {6, "Light Armor", "light_armor", 0, 5, 25, 0, 0, {98, 98, 98}, nullptr},
    {7, "Heavy Armor", "heavy_armor", 0, 5, 26, 0, 0, {6, 98, 98}, nullptr},
    {8, "Shield", "shield_style", 0, 5, 98, 0, 5, {98, 98, 98}, nullptr},
    {9, "Duelist", "duelist_style", 0, 5, 98, 0, 5, {98, 98, 98}, nullptr},
    {10, "Marksman", "marksman_style", 0, 5, 98, 0, 5, {98, 98, 98}, nullptr},
    {11, "Two Handed", "two_handed_style", 0, 5, 98, 0, 5, {98, 98, 98}, nullptr},
    {12, "Dual Wield", "dual_wield_style", 0, 5, 98, 0, 5, {98, 98, 98}, nullptr},
    {13, "Shield Focus", "shield_focus", 0, 5, 98, 0, 10, {8, 98, 98}, nullptr},
    {14, "Duelist Defense", "duelist_defense", 0, 5, 98, 0, 10, {9, 98, 98}, nullptr},
    {15, "Duelist Finesse", "duelist_finesse", 0, 5, 98, 0, 10, {9, 98, 98}, nullptr},
    {16, "Deadly Marksman", "deadly_marksman", 0, 5, 98, 0, 10, {10, 98, 98}, nullptr},
    {17, "Two Handed Power", "two_handed_power", 0, 5, 98, 0, 10, {11, 98, 98}, nullptr},
    {18, "Improved Dual Wield", "improved_dual_wield", 0, 5, 98, 0, 10, {12, 98, 98}, nullptr},
    {19, "Light Blade Mastery", "light_blade_mastery", 0, 5, 98, 0, 5, {0, 98, 98}, nullptr},
    {20, "Heavy Blade Mastery", "heavy_blade_mastery", 0, 5, 98, 0, 5, {1, 98, 98}, nullptr},
    {21, "Staff Mastery", "staff_mastery", 0, 5, 98, 0, 5, {2, 98, 98}, nullptr},
    {22, "Bludgeon Mastery", "bludgeon_mastery", 0, 5, 98, 0, 5, {3, 98, 98}, nullptr},
    {23, "Axe Mastery", "axe_mastery", 0, 5, 98, 0, 5, {4, 98, 98}, nullptr},
    {24, "Bow Mastery", "bow_mastery", 0, 5, 98, 0, 5, {5, 98, 98}, nullptr},
    {25, "Light Armor Mastery", "light_armor_mastery", 0, 5, 98, 0, 5, {6, 98, 98}, nullptr},
    {26, "Heavy Armor Mastery", "heavy_armor_mastery", 0, 5, 98, 0, 5, {7, 98, 98}, nullptr},
    {27, "Weapon Finesse", "weapon_finesse", 0, 5, 98, 0, 5, {98, 98, 98}, nullptr},
    {28, "Light Blade Lunge", "light_blade_lunge", 0, 5, 98, 0, 10, {19, 98, 98}, nullptr},
    {29, "Heavy Blade Precision", "heavy_blade_precision", 0, 5, 98, 0, 10, {20, 98, 98}, nullptr},
    {30, "Whirling Staff", "whirling_staff", 0, 5, 98, 0, 10, {21, 98, 98}, nullptr},
    {31, "Bludgeon Repulsion", "bludgeon_repulsion", 0, 5, 98, 0, 10, {22, 98, 98}, nullptr},
    {32, "Tremendous Axe Strike", "tremendous_axe_strike", 0, 5, 98, 0, 10, {23, 98, 98}, nullptr},
    {33, "Power Bowshot", "power_bowshot", 0, 5, 98, 0, 10, {24, 98, 98}, nullptr},
    {34, "Shield Wall", "shield_wall", 0, 5, 98, 0, 10, {8, 98, 98}, nullptr},
    {35, "Duelist Maneuver", "duelist_maneuver", 0, 5, 98, 0, 10, {9, 98, 98}, nullptr},
    {36, "Marksman Bullseye", "marksman_bullseye", 0, 5, 98, 0, 10, {10, 98, 98}, nullptr},
    {37, "Two Handed Berserk", "two_handed_berserk", 0, 5, 98, 0, 10, {11, 98, 98}, nullptr},
    {38, "Dual Wield Skirmish", "dual_wield_skirmish", 0, 5, 98, 0, 10, {12, 98, 98}, nullptr},
    {39, "Toughness", "toughness", 0, 5, 98, 0, 0, {98, 98, 98}, nullptr},
    {40, "Dverger Blood", "matter_blood", 0, 5, 98, 2, 0, {46, 98, 98}, nullptr},
    {41, "Alfar Blood", "energy_blood", 0, 5, 98, 2, 0, {47, 98, 98}, nullptr},
    {42, "Aesir Blood", "spirit_blood", 0, 5, 98, 2, 0, {48, 98, 98}, nullptr},
    {43, "Arcane Magic", "arcane_magic", 0, 5, 98, 2, 0, {1000, 98, 98}, nullptr},
    {44, "Religion", "religion", 0, 5, 98, 2, 0, {1000, 98, 98}, nullptr},
    {45, "Void Magic", "void_magic", -5, 4, 53, 2, 0, {98, 98, 98}, nullptr},
    {46, "Matter Magic", "matter_magic", 0, 3, 54, 2, 0, {98, 98, 98}, nullptr},
    {47, "Energy Magic", "energy_magic", 0, 3, 55, 2, 0, {98, 98, 98}, nullptr},
    {48, "Spirit Magic", "spirit_magic", 0, 4, 56, 2, 0, {98, 98, 98}, nullptr},
    {49, "Elemental Magic", "elemental_magic", 5, 3, 57, 2, 0, {46, 47, 98}, nullptr},
    {50, "Cosmic Magic", "cosmic_magic", 5, 4, 58, 2, 0, {47, 48, 98}, nullptr},
    {51, "Life Magic", "life_magic", 5, 4, 59, 2, 0, {46, 48, 98}, nullptr},
    {52, "High Magic", "high_magic", 10, 3, 60, 2, 0, {46, 47, 48}, nullptr},
    {53, "Void Magic Mastery", "void_magic_mastery", 0, 5, 98, 2, 10, {45, 98, 98}, nullptr},
    {54, "Matter Magic Mastery", "matter_magic_mastery", 0, 5, 98, 2, 10, {46, 98, 98}, nullptr},
    {55, "Energy Magic Mastery", "energy_magic_mastery", 0, 5, 98, 2, 10, {47, 98, 98}, nullptr},
    {56, "Spirit Magic Mastery", "spirit_magic_mastery", 0, 5, 98, 2, 10, {48, 98, 98}, nullptr},
    {57, "Elemental Magic Mastery", "elemental_magic_mastery", 0, 5, 98, 2, 10, {49, 98, 98}, nullptr},
    {58, "Cosmic Magic Mastery", "cosmic_magic_mastery", 0, 5, 98, 2, 10, {50, 98, 98}, nullptr},
    {59, "Life Magic Mastery", "life_magic_mastery", 0, 5, 98, 2, 10, {51, 98, 98}, nullptr},
    {60, "High Magic Mastery", "high_magic_mastery", 0, 5, 98, 2, 10, {52, 98, 98}, nullptr},
    {61, "Spell Penetration", "spell_penetration", 0, 5, 98, 2, 5, {1000, 98, 98}, nullptr},
    {62, "Greater Spell Penetration", "greater_spell_penetration", 0, 5, 98, 2, 10, {61, 98, 98}, nullptr},
    {63, "Armored Casting", "armored_spellcasting", 0, 5, 98, 2, 0, {1000, 98, 98}, nullptr},
    {64, "Armored Casting Mastery", "armored_spellcasting_mastery", 0, 5, 98, 2, 5, {63, 98, 98}, nullptr},
    {65, "Spellcasting Alacrity", "spellcasting_alacrity", 0, 5, 98, 2, 5, {1000, 98, 98}, nullptr},
    {66, "Combat Casting", "combat_casting", 0, 5, 98, 2, 0, {1000, 98, 98}, nullptr},
    {67, "Defensive Casting", "defensive_casting", 0, 5, 98, 2, 5, {66, 98, 98}, nullptr},
    {68, "Mental Focus", "mental_focus", 0, 5, 98, 2, 0, {98, 98, 98}, nullptr},
    {69, "Traps", "traps", 0, 3, 98, 1, 0, {98, 98, 98}, nullptr},
    {70, "Locks", "locks", 0, 3, 98, 1, 0, {98, 98, 98}, nullptr},
    {71, "Stealth", "sneak", 0, 4, 98, 1, 0, {98, 98, 98}, nullptr},
    {72, "Observation", "observation", 0, 3, 98, 1, 0, {98, 98, 98}, nullptr},
    {73, "Diplomacy", "diplomacy", 0, 4, 98, 1, 0, {98, 98, 98}, nullptr},
    {74, "Improved Flank", "flanking", 0, 4, 98, 1, 5, {71, 98, 98}, nullptr},
    {75, "Sneak Attack", "sneak_attack", 0, 4, 98, 1, 5, {71, 98, 98}, nullptr},
    {76, "Combat Stealth", "combat_sneak", 0, 4, 98, 1, 10, {75, 98, 98}, nullptr},
    {77, "Singing", "singing", 0, 4, 98, 1, 0, {98, 98, 98}, nullptr},
    {78, "Improved Singing", "improved_singing", 0, 4, 98, 1, 5, {77, 98, 98}, nullptr},
    {79, "Masterful Singing", "masterful_singing", 0, 4, 98, 1, 10, {78, 98, 98}, nullptr},
    {80, "Battle Music", "battle_music", 0, 4, 98, 1, 5, {77, 98, 98}, nullptr},
    {81, "Heroic Music", "heroic_music", 0, 4, 98, 1, 5, {77, 98, 98}, nullptr},
    {82, "Shadow Music", "shadow_music", 0, 4, 98, 1, 10, {78, 98, 98}, nullptr},
    {83, "Wondrous Music", "wondrous_music", 0, 4, 98, 1, 10, {78, 98, 98}, nullptr},
    {84, "Wands", "wands", 0, 3, 98, 1, 0, {98, 98, 98}, nullptr},
    {85, "Improved Material", "improved_material", 0, 5, 98, 1, 0, {98, 98, 98}, nullptr},
    {86, "Fortitude", "fortitude", 0, 5, 98, 1, 5, {85, 98, 98}, nullptr},
    {87, "Great Fortitude", "great_fortitude", 0, 5, 98, 1, 10, {86, 98, 98}, nullptr},
    {88, "Improved Energetic", "improved_energetic", 0, 5, 98, 1, 0, {98, 98, 98}, nullptr},
    {89, "Escape", "escape", 0, 5, 98, 1, 5, {88, 98, 98}, nullptr},
    {90, "Lightning Escape", "lightning_escape", 0, 5, 98, 1, 10, {89, 98, 98}, nullptr},
    {91, "Improved Spiritual", "improved_spiritual", 0, 5, 98, 1, 0, {98, 98, 98}, nullptr},
    {92, "Resolve", "resolve", 0, 5, 98, 1, 5, {91, 98, 98}, nullptr},
    {93, "Iron Resolve", "iron_resolve", 0, 5, 98, 1, 10, {92, 98, 98}, nullptr},
    {94, "Stand Stout", "stand_stout", 0, 5, 98, 1, 10, {86, 98, 98}, nullptr},
    {95, "Acrobatic Evasion", "acrobatic_evasion", 0, 5, 98, 1, 10, {89, 98, 98}, nullptr},
    {96, "Resolute Belief", "resolute_belief", 0, 5, 98, 1, 10, {92, 98, 98}, nullptr},
    {97, "Inherent Magic", "monster_magic", 0, 5, 98, 3, 0, {98, 98, 98}, nullptr},
};

struct SkillTable {
    SkillInfo rows[kSkillCount];
};

// Built on first use, so the descriptions defined in another file are certainly initialised.
const SkillTable& GetSkillTable() {
    static const SkillTable table = [] {
        SkillTable built{};
        for (int i = 0; i < kSkillCount; ++i) {
            built.rows[i] = kSkillRows[i];
            built.rows[i].description = kSkillDescriptions[i];
        }
        return built;
    }();
    return table;
}

}  // namespace

const SkillInfo& GetSkillInfo(SkillId skill) { return GetTableRow(GetSkillTable().rows, skill, "skill"); }
std::string GetSkillName(SkillId skill) { return GetTableRow(kSkillRows, skill, "skill").name; }
std::string GetSkillKey(SkillId skill) { return GetTableRow(kSkillRows, skill, "skill").key; }
std::string GetSkillDescription(SkillId skill) { return GetSkillInfo(skill).description; }

SkillId ParseSkill(const std::string& key) {
    return static_cast<SkillId>(ParseTableKey(kSkillRows, &SkillInfo::key, key, DRAV_ERR_OUT_OF_RANGE, "skill"));
}

void WriteSkills(const SkillSet& skills, DRAVCommon::CDataFileWriter& writer) {
    writer.BeginBlock("skills");
    for (SkillId skill : skills) writer.WriteWord(skill == SKILL_NONE ? std::string() : GetSkillKey(skill));
    writer.EndBlock();
}

void ReadSkills(SkillSet& skills, DRAVCommon::CDataFileReader& reader, bool clearFirst) {
    if (clearFirst) skills.clear();
    if (!reader.IsBlock("skills")) return;
    reader.BeginBlock("skills");
    while (!reader.AtBlockEnd()) {
        SkillId skill = SKILL_NONE;
        if (!reader.IsWord("0")) {
            int row = FindTableKey(kSkillRows, &SkillInfo::key, reader.GetToken());
            if (row < 0) reader.Fail(DRAV_ERR_OUT_OF_RANGE, "unknown skill");
            skill = static_cast<SkillId>(row);
        }
        reader.Advance();
        skills.insert(skill);
    }
    reader.EndBlock();
}

}  // namespace DRAV
