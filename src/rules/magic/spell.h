#pragma once
// The definition of one spell or power of the module, the records of multispell
// instances that derive numbered spells from one template, and the built-in sneak power.

#include <cstdint>
#include <functional>
#include <iosfwd>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "common/data_file_reader.h"
#include "common/effect_params.h"
#include "rules/kinds/damage.h"
#include "rules/vocabulary/gender_race.h"
#include "rules/kinds/item_kinds.h"
#include "rules/kinds/save_outcome.h"
#include "rules/vocabulary/skill_id.h"
#include "rules/magic/spell_effect.h"

namespace DRAV {

class CDescriptionViewer;
class CModule;
class CSpellEffectTeleport;

enum SpellFlag : std::uint32_t {
    SPELL_TOUCH = 1,
    SPELL_MULTITARGET = 2,
    SPELL_SUMMONTARGET = 4,
    SPELL_POWER = 8,
    SPELL_POTION = 64,
    SPELL_WAND = 128,
    SPELL_NOMANUAL = 256,
    SPELL_NORESIST = 512,
};

// The bit of a flag word; 0 for any other word.
std::uint32_t ParseSpellFlag(const std::string& word);

enum SpellTargetType : std::int32_t {
    SPELL_TARGET_SELF = 0,
    SPELL_TARGET_TILE = 1,
    SPELL_TARGET_ACTOR = 3,
};

// One instance of a multispell.
struct CSpellInstance {
    std::int32_t level = 0;
    std::int32_t percent = 100;  // scales the instance's modify effects
    bool hasSkills = false;
    SkillId school = SKILL_NONE;
    SkillId secondSkill = SKILL_NONE;

    // Reads one "instance" element: level, percent, then an optional "skills" element
    // holding a school and a second skill ("0" for none).
    void Read(DRAVCommon::CDataFileReader& reader);
};

class CSpell {
public:
    // Reads one "spell" element; the current token is its opening tag.
    explicit CSpell(DRAVCommon::CDataFileReader& reader);
    // A spell with every default.
    explicit CSpell(std::string keyName);

    // Builds the numbered spell of instance `index` (from 0) of the multispell `base`.
    // Code 1 when the template holds an effect other than modify or resist.
    static std::shared_ptr<CSpell> MakeInstance(std::int32_t index, const CSpellInstance& instance,
                                                const CSpell& base);

    const std::string& GetKey() const { return m_key; }
    const std::string& GetName() const { return m_name; }
    std::uint32_t GetColour() const { return m_colour; }  // 0x00RRGGBB
    const std::string& GetDescription() const { return m_description; }
    const std::string& GetVisualName() const { return m_visualName; }
    // Null when the spell has no visual.
    const std::shared_ptr<DRAVGraph::CEffectParams>& GetVisualParams() const { return m_visualParams; }
    SkillId GetSchool() const { return m_school; }
    std::int32_t GetTier() const { return m_tier; }    // -1 when not given
    std::int32_t GetLevel() const { return m_level; }  // -1 when not given
    std::int32_t GetBonus() const { return m_bonus; }  // -1 when not given
    const CDamageType& GetSaveDamageType() const { return m_saveDamageType; }
    std::int32_t GetSaveLimit() const { return m_saveLimit; }
    const CSaveOutcome& GetSaveOutcome() const { return m_saveOutcome; }
    SkillId GetSecondSkill() const { return m_secondSkill; }
    double GetRange() const { return m_range; }
    std::uint32_t GetFlags() const { return m_flags; }
    bool HasFlag(std::uint32_t mask) const { return (m_flags & mask) != 0; }
    WeaponType GetPowerWeaponType() const { return m_powerWeaponType; }  // 6 for any weapon
    SkillId GetPowerSkill() const { return m_powerSkill; }
    const std::vector<Race>& GetRaces() const { return m_races; }
    const std::vector<Race>& GetExcludedRaces() const { return m_excludedRaces; }
    SpellTargetType GetTargetType() const { return m_targetType; }
    const std::vector<std::shared_ptr<CSpellEffect>>& GetEffects() const { return m_effects; }
    bool IsHostile() const { return m_hostile; }

    std::int32_t GetCastingDifficulty() const;
    std::int32_t GetEnergyCost() const;
    // The first teleport effect, stored in `effect` when given.
    bool FindTeleportEffect(const CSpellEffectTeleport** effect = nullptr) const;
    // Whether the spell can take hold on a target with these traits; `categoryResistance`
    // gives the target's resistance to a damage type's category and is asked only when
    // the spell has a save limit.
    bool CanAffect(bool summoned, Race race,
                   const std::function<std::int32_t(const CDamageType&)>& categoryResistance) const;
    // World units per second of the launched effect.
    double GetEffectSpeed() const;

    // What the spell does, in words for the information pages (" LINE " ends a
    // line). `context` is kDescribeSpellPage for the spell's own page, the ItemKind
    // of an item that carries it, or kDescribeEffectList for a character's effect
    // list. `viewer` (may be null) is the character the text is written for.
    // Written in rules/descriptions/spell_rules_text.cpp.
    void WriteRulesText(const CModule& module, const CDescriptionViewer* viewer, std::ostream& out,
                        std::int32_t context) const;

private:
    friend std::shared_ptr<CSpell> MakeSneakPower();

    void ReadDifficulty(DRAVCommon::CDataFileReader& reader);
    void ReadSave(DRAVCommon::CDataFileReader& reader);
    void ReadRange(DRAVCommon::CDataFileReader& reader);
    void ReadBody(DRAVCommon::CDataFileReader& reader);
    void ReadTargetWord(DRAVCommon::CDataFileReader& reader);

    std::string m_key;
    std::string m_name;
    std::uint32_t m_colour = 0x00FFFFFFu;
    std::string m_description;
    std::string m_visualName;
    std::shared_ptr<DRAVGraph::CEffectParams> m_visualParams;
    SkillId m_school = SKILL_NONE;
    std::int32_t m_tier = -1;
    std::int32_t m_level = -1;
    std::int32_t m_bonus = -1;
    CDamageType m_saveDamageType;
    std::int32_t m_saveLimit = 0;
    CSaveOutcome m_saveOutcome;
    SkillId m_secondSkill = SKILL_NONE;
    double m_range = 0.0;
    std::uint32_t m_flags = 0;
    WeaponType m_powerWeaponType = static_cast<WeaponType>(kWeaponTypeCount);
    SkillId m_powerSkill = SKILL_NONE;
    std::vector<Race> m_races;
    std::vector<Race> m_excludedRaces;
    SpellTargetType m_targetType = SPELL_TARGET_SELF;
    std::vector<std::shared_ptr<CSpellEffect>> m_effects;
    bool m_hostile = false;
};

// The module's spells by key.
using SpellMap = std::map<std::string, std::shared_ptr<CSpell>>;

// The spell of `key`, or null; never adds to the map.
const CSpell* FindSpell(const SpellMap& spells, const std::string& key);
// The spell of `key`; code 1 naming the key when the map has none.
const CSpell& GetSpell(const SpellMap& spells, const std::string& key);

// The built-in power that lets an actor hide.
std::shared_ptr<CSpell> MakeSneakPower();

}  // namespace DRAV
