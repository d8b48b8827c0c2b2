#pragma once
// A monster definition: everything an actor made from it starts with. Read from a
// "monster2" element, possibly built on earlier definitions and raised by levels.

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "common/data_file_reader.h"
#include "common/graphic_colors.h"
#include "rules/definitions/faction.h"
#include "rules/definitions/talk_state.h"
#include "rules/items/item_list.h"
#include "rules/magic/spell_apply.h"
#include "rules/magic/spell_list.h"
#include "rules/monsters/brain_functions.h"
#include "rules/monsters/monster_attack.h"
#include "rules/monsters/store_template.h"
#include "rules/vocabulary/actor_class.h"
#include "rules/vocabulary/attributes.h"
#include "rules/vocabulary/gender_race.h"
#include "rules/vocabulary/skills.h"
#include "script/script.h"

namespace DRAV {

class CModule;

enum MonsterFlags : std::uint32_t {
    MONSTER_AUTOSPELL = 0x1,
    MONSTER_SNEAK = 0x2,
    MONSTER_SURRENDER = 0x4,
    MONSTER_SHIELD = 0x40,
    MONSTER_NOFIDGET = 0x80,
    MONSTER_NOWANDPOTION = 0x100,
};

// The largest actor a module may define, its radius and its height: five cells of
// 2.5 units. One broader would cover a room, leaving no room at an entry or an
// encounter's place in any area laid out for the people of this game. Every actor
// comes from a definition, so a saved game holds none larger either.
inline constexpr double kMaxActorSize = 12.5;
// An actor's radius and height, each from 0 to kMaxActorSize, as a definition and a
// saved game hold them; code 1 naming the file and the value otherwise.
void ReadActorSize(DRAVCommon::CDataFileReader& reader, double& radius, double& height);

// Values of a definition that has not said.
inline constexpr Gender kGenderNotSet = static_cast<Gender>(3);
inline constexpr ActorClass kClassNotSet = static_cast<ActorClass>(4);

using MonsterAttackList = std::vector<std::shared_ptr<CActorMonsterAttack>>;
using AttributeScores = std::array<std::uint32_t, kAttributeCount>;
// Energetic, material, spiritual.
using CategoryResistances = std::array<std::int32_t, 3>;

class CActorTemplate {
public:
    // An empty definition of `key`, as a "monster2" element starts one.
    explicit CActorTemplate(std::string key);
    // Reads one whole "monster2" element; inherited keys are looked up in the
    // module's monster map as it stands. Errors name the file and the key.
    CActorTemplate(DRAVCommon::CDataFileReader& reader, const CModule& module);

    // Takes what `base` has set; its attacks are copied, so raising this definition
    // leaves the base alone.
    void Inherit(const CActorTemplate& base);
    // Raises the definition by `count` levels of class `actorClass` (not the monster class).
    void Advance(ActorClass actorClass, std::int32_t count, Attribute attribute);
    // Raises the definition by `count` monster levels.
    void AdvanceMonster(std::int32_t count);
    // Code 1, naming the definition, unless it can be made into an actor: name,
    // graphic, gender, race, size, class, hit points and a brain.
    void Validate() const;

    std::shared_ptr<DRAVGraph::CGraphicColors> GetColors() const { return m_colors; }
    SpellList GetSpells() const { return m_spells; }
    std::shared_ptr<CScript> GetHeartbeat() const { return m_heartbeat; }
    std::shared_ptr<CStoreTemplate> GetStore() const { return m_store; }
    // The definition's own brain.
    std::shared_ptr<CBrain> GetBrain() const { return m_brain; }
    // A new brain for an actor; null when the definition has none.
    std::shared_ptr<CBrain> CopyBrain() const;

    const std::string& GetKey() const { return m_key; }
    // The keys this definition inherits from, in the order read.
    const std::vector<std::string>& GetBases() const { return m_bases; }
    const std::string& GetName() const { return m_name; }
    const std::string& GetSecondName() const { return m_secondName; }
    std::uint32_t GetNameColor() const { return m_nameColor; }
    const std::string& GetNameWord() const { return m_nameWord; }
    const std::string& GetGraphic() const { return m_graphic; }
    double GetRadius() const { return m_radius; }
    double GetSecondSize() const { return m_secondSize; }
    Gender GetGender() const { return m_gender; }
    Race GetRace() const { return m_race; }
    std::int32_t GetBaseLevel() const { return m_baseLevel; }
    ActorClass GetClass() const { return m_class; }
    std::uint32_t GetLevel() const { return m_level; }
    std::uint32_t GetHitPoints() const { return m_hitPoints; }
    const AttributeScores& GetAttributes() const { return m_attributes; }
    std::int32_t GetDefenseClass() const { return m_defenseClass; }
    const CategoryResistances& GetResistances() const { return m_resistances; }
    std::int32_t GetActionSpeed() const { return m_actionSpeed; }
    std::int32_t GetMovementSpeed() const { return m_movementSpeed; }
    const MonsterAttackList& GetAttacks() const { return m_attacks; }
    const SpellApplyList& GetModifiers() const { return m_modifiers; }
    const CFaction* GetFaction() const { return m_faction; }
    std::uint32_t GetFactionRank() const { return m_factionRank; }
    const SkillSet& GetSkills() const { return m_skills; }
    const ItemList& GetItems() const { return m_items; }
    const ItemList& GetDropItems() const { return m_dropItems; }
    const TalkStateList& GetTalkStates() const { return m_talkStates; }
    std::uint32_t GetFlags() const { return m_flags; }

private:
    // Applied once the whole element has been read.
    struct PendingAdvance {
        ActorClass actorClass = kClassNotSet;
        std::int32_t count = 0;
        Attribute attribute = ATTR_STRENGTH;
    };

    void ReadElements(DRAVCommon::CDataFileReader& reader, const CModule& module);
    bool ReadWholeElement(const std::string& element, DRAVCommon::CDataFileReader& reader, const CModule& module);
    void ReadSimpleElement(const std::string& element, DRAVCommon::CDataFileReader& reader, const CModule& module,
                           PendingAdvance& advance);
    void ReadSize(DRAVCommon::CDataFileReader& reader);
    // Code 1 naming the file for an item, drop item or stock key no item has.
    void RequireItemsDefined(const DRAVCommon::CDataFileReader& reader, const CModule& module) const;
    void ReadInherit(DRAVCommon::CDataFileReader& reader, const CModule& module);
    void ReadName(DRAVCommon::CDataFileReader& reader);
    void ReadGraphic(DRAVCommon::CDataFileReader& reader);
    void ReadMonsterStats(DRAVCommon::CDataFileReader& reader);
    void ReadBrain(DRAVCommon::CDataFileReader& reader, const CModule& module);
    void ReadModify(DRAVCommon::CDataFileReader& reader);
    void ReadResist(DRAVCommon::CDataFileReader& reader);
    void ReadFlag(DRAVCommon::CDataFileReader& reader);

    std::string m_key;
    std::vector<std::string> m_bases;
    std::string m_name;
    std::string m_secondName;
    std::uint32_t m_nameColor = 0;
    std::string m_nameWord;
    std::string m_graphic;
    std::shared_ptr<DRAVGraph::CGraphicColors> m_colors;
    double m_radius = 0.0;
    double m_secondSize = 0.0;
    Gender m_gender = kGenderNotSet;
    Race m_race = RACE_NONE;
    std::int32_t m_baseLevel = -1;
    ActorClass m_class = kClassNotSet;
    std::uint32_t m_level = 0;
    std::uint32_t m_hitPoints = 0;
    AttributeScores m_attributes{};
    std::int32_t m_defenseClass = 0;
    CategoryResistances m_resistances{};
    std::int32_t m_actionSpeed = 0;
    std::int32_t m_movementSpeed = 0;
    MonsterAttackList m_attacks;
    SpellApplyList m_modifiers;
    const CFaction* m_faction = nullptr;
    std::uint32_t m_factionRank = 0;
    SkillSet m_skills;
    SpellList m_spells;
    ItemList m_items;
    ItemList m_dropItems;
    TalkStateList m_talkStates;
    std::shared_ptr<CScript> m_heartbeat;
    std::shared_ptr<CStoreTemplate> m_store;
    std::shared_ptr<CBrain> m_brain;
    // Travels with the brain: whoever read it knows how to copy it.
    BrainCloner m_cloneBrain;
    std::uint32_t m_flags = 0;
};

}  // namespace DRAV
