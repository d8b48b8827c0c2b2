#pragma once
// What an item does beyond its kind: how it fights, protects, what it demands of
// its wearer, which spell it holds, which quest tag it carries, and which
// statistics and resistances it changes. One element of an "item" definition each;
// shared by every item of the template.

#include <cstdint>
#include <memory>
#include <string>

#include "common/data_file_reader.h"
#include "rules/kinds/item_kinds.h"
#include "rules/magic/spell.h"
#include "rules/magic/spell_apply.h"
#include "rules/vocabulary/attributes.h"
#include "rules/vocabulary/skill_id.h"

namespace DRAV {

enum ItemAttributeType : std::int32_t {
    ITEMATTR_WEAPON = 0,
    ITEMATTR_ARMOR = 1,
    ITEMATTR_ATTRIBUTE_REQ = 2,
    ITEMATTR_SPELL = 3,
    ITEMATTR_QUEST = 4,
    ITEMATTR_MODIFY = 5,
    ITEMATTR_RESIST = 6,
};

// Users find an attribute by its type code, then cast to the class of that code.
class CItemAttribute {
public:
    virtual ~CItemAttribute() = default;
    ItemAttributeType GetType() const { return static_cast<ItemAttributeType>(m_type); }

protected:
    explicit CItemAttribute(ItemAttributeType type) : m_type(type) {}

private:
    std::int32_t m_type;
};

// Each constructor below reads its whole element, opening and closing tag included.

class CItemAttributeWeapon final : public CItemAttribute {
public:
    static constexpr ItemAttributeType kType = ITEMATTR_WEAPON;
    explicit CItemAttributeWeapon(DRAVCommon::CDataFileReader& reader);

    WeaponType GetWeaponType() const { return m_weaponType; }
    bool IsTwoHanded() const { return m_twoHanded; }
    std::int32_t GetAttackBonus() const { return m_attackBonus; }
    std::int32_t GetDamageDie() const { return m_damageDie; }
    std::int32_t GetDamageBonus() const { return m_damageBonus; }
    std::int32_t GetEnhancement() const { return m_enhancement; }

private:
    WeaponType m_weaponType;
    bool m_twoHanded;
    std::int32_t m_attackBonus;
    std::int32_t m_damageDie;
    std::int32_t m_damageBonus;
    std::int32_t m_enhancement;
};

class CItemAttributeArmor final : public CItemAttribute {
public:
    static constexpr ItemAttributeType kType = ITEMATTR_ARMOR;
    explicit CItemAttributeArmor(DRAVCommon::CDataFileReader& reader);

    SkillId GetArmorSkill() const { return m_armorSkill; }  // SKILL_NONE for "0"
    std::int32_t GetDefenseClass() const { return m_defenseClass; }
    bool HasMaxAgilityBonus() const { return m_hasMaxAgilityBonus; }
    std::int32_t GetMaxAgilityBonus() const { return m_maxAgilityBonus; }
    std::int32_t GetNonProficientPenalty() const { return m_nonProficientPenalty; }
    std::int32_t GetSpellcastingPenalty() const { return m_spellcastingPenalty; }

private:
    SkillId m_armorSkill;
    std::int32_t m_defenseClass;
    bool m_hasMaxAgilityBonus = false;
    std::int32_t m_maxAgilityBonus = 0;
    std::int32_t m_nonProficientPenalty;
    std::int32_t m_spellcastingPenalty;
};

// The lowest score of one attribute that the user needs.
class CItemAttributeAttributeReq final : public CItemAttribute {
public:
    static constexpr ItemAttributeType kType = ITEMATTR_ATTRIBUTE_REQ;
    explicit CItemAttributeAttributeReq(DRAVCommon::CDataFileReader& reader);

    Attribute GetAttribute() const { return m_attribute; }
    std::uint32_t GetMinimum() const { return m_minimum; }

private:
    Attribute m_attribute;
    std::uint32_t m_minimum;
};

class CItemAttributeSpell final : public CItemAttribute {
public:
    static constexpr ItemAttributeType kType = ITEMATTR_SPELL;
    // Code 1 when `spells` has no spell of the key read.
    CItemAttributeSpell(DRAVCommon::CDataFileReader& reader, const SpellMap& spells);
    // The attribute of an item made from a spell.
    explicit CItemAttributeSpell(const CSpell& spell) : CItemAttribute(kType), m_spell(&spell) {}

    // The module's spell, which outlives every template.
    const CSpell& GetSpell() const { return *m_spell; }

private:
    const CSpell* m_spell;
};

class CItemAttributeQuest final : public CItemAttribute {
public:
    static constexpr ItemAttributeType kType = ITEMATTR_QUEST;
    explicit CItemAttributeQuest(DRAVCommon::CDataFileReader& reader);

    const std::string& GetQuestTag() const { return m_questTag; }

private:
    std::string m_questTag;
};

// A permanent bonus or penalty while the item is worn; `sourceName` (the template's
// display name) names the modifier.
class CItemAttributeModify final : public CItemAttribute {
public:
    static constexpr ItemAttributeType kType = ITEMATTR_MODIFY;
    CItemAttributeModify(DRAVCommon::CDataFileReader& reader, const std::string& sourceName);

    const std::shared_ptr<CSpellApply>& GetModifier() const { return m_modifier; }

private:
    std::shared_ptr<CSpellApply> m_modifier;
};

class CItemAttributeResist final : public CItemAttribute {
public:
    static constexpr ItemAttributeType kType = ITEMATTR_RESIST;
    CItemAttributeResist(DRAVCommon::CDataFileReader& reader, const std::string& sourceName);

    const std::shared_ptr<CSpellApply>& GetResistance() const { return m_resistance; }

private:
    std::shared_ptr<CSpellApply> m_resistance;
};

// Reads the attribute element that opens at the current token; code 1 for any other
// token. `sourceName` is the template's display name.
std::shared_ptr<CItemAttribute> ReadItemAttribute(DRAVCommon::CDataFileReader& reader, const SpellMap& spells,
                                                  const std::string& sourceName);

}  // namespace DRAV
