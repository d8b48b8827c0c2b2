#include "rules/items/item_attribute.h"

#include "common/exception.h"
#include "rules/kinds/modifiers.h"
#include "rules/vocabulary/read_word.h"
#include "rules/vocabulary/skills.h"

namespace DRAV {

namespace {

// Item modifiers last as long as the item is worn and never show as a cast spell.
std::shared_ptr<CSpellApply> MakePermanentRecord(const std::string& sourceName, const CDamageType& damageType,
                                                 std::shared_ptr<CSpellApplyEffect> part) {
    auto record = std::make_shared<CSpellApply>(sourceName, damageType, 0, 0, true, true);
    record->GetParts().push_back(std::move(part));
    return record;
}

}  // namespace

CItemAttributeWeapon::CItemAttributeWeapon(DRAVCommon::CDataFileReader& reader) : CItemAttribute(kType) {
    reader.BeginBlock("weapon");
    m_weaponType = ReadParsedWord(reader, "a weapon type", ParseWeaponType);
    m_twoHanded = reader.ReadBool();
    m_attackBonus = reader.ReadInt();
    m_damageDie = reader.ReadInt();
    m_damageBonus = reader.ReadInt();
    m_enhancement = reader.ReadInt();
    reader.EndBlock();
}

CItemAttributeArmor::CItemAttributeArmor(DRAVCommon::CDataFileReader& reader) : CItemAttribute(kType) {
    reader.BeginBlock("armor");
    m_armorSkill = ReadParsedWord(reader, "an armor skill or 0", [](const std::string& word) {
        return word == "0" ? SKILL_NONE : ParseSkill(word);
    });
    m_defenseClass = reader.ReadInt();
    if (reader.BeginGroup(2, true)) {
        m_hasMaxAgilityBonus = reader.ReadBool();
        m_maxAgilityBonus = reader.ReadInt();
    }
    m_nonProficientPenalty = reader.ReadInt();
    m_spellcastingPenalty = reader.ReadInt();
    reader.EndBlock();
}

CItemAttributeAttributeReq::CItemAttributeAttributeReq(DRAVCommon::CDataFileReader& reader)
    : CItemAttribute(kType) {
    reader.BeginBlock("attribute");
    m_attribute = ReadAttribute(reader);
    m_minimum = reader.ReadUInt();
    reader.EndBlock();
}

CItemAttributeSpell::CItemAttributeSpell(DRAVCommon::CDataFileReader& reader, const SpellMap& spells)
    : CItemAttribute(kType) {
    reader.BeginBlock("spell");
    if (!AtWord(reader)) reader.Fail(DRAV_ERR_BAD_DATA, "expected a spell key");
    m_spell = FindSpell(spells, reader.GetToken());
    if (m_spell == nullptr) reader.Fail(DRAV_ERR_BAD_DATA, "no spell of this key");
    reader.Advance();
    reader.EndBlock();
}

CItemAttributeQuest::CItemAttributeQuest(DRAVCommon::CDataFileReader& reader) : CItemAttribute(kType) {
    reader.BeginBlock("quest");
    if (!AtWord(reader)) reader.Fail(DRAV_ERR_BAD_DATA, "expected a quest tag");
    m_questTag = KeptWord(reader, reader.ReadWord(), "a quest tag");
    reader.EndBlock();
}

CItemAttributeModify::CItemAttributeModify(DRAVCommon::CDataFileReader& reader, const std::string& sourceName)
    : CItemAttribute(kType) {
    reader.BeginBlock("modify");
    const std::int32_t amount = reader.ReadInt();
    const CDamageType category = ReadParsedWord(reader, "a damage type or 0", ParseDamageType);
    const ModifierMask mask = ParseModifierMask(reader);
    reader.EndBlock();
    m_modifier = MakePermanentRecord(sourceName, category, std::make_shared<CSpellApplyEffectModify>(0, mask, amount));
}

CItemAttributeResist::CItemAttributeResist(DRAVCommon::CDataFileReader& reader, const std::string& sourceName)
    : CItemAttribute(kType) {
    reader.BeginBlock("resist");
    const CDamageType damageType = ReadParsedWord(reader, "a damage type", ParseDamageType);
    const std::int32_t amount = reader.ReadInt();
    reader.EndBlock();
    m_resistance =
        MakePermanentRecord(sourceName, CDamageType{}, std::make_shared<CSpellApplyEffectResist>(0, damageType, amount));
}

std::shared_ptr<CItemAttribute> ReadItemAttribute(DRAVCommon::CDataFileReader& reader, const SpellMap& spells,
                                                  const std::string& sourceName) {
    const std::string name = reader.PeekBlockName();
    if (name == "weapon") return std::make_shared<CItemAttributeWeapon>(reader);
    if (name == "armor") return std::make_shared<CItemAttributeArmor>(reader);
    if (name == "attribute") return std::make_shared<CItemAttributeAttributeReq>(reader);
    if (name == "spell") return std::make_shared<CItemAttributeSpell>(reader, spells);
    if (name == "quest") return std::make_shared<CItemAttributeQuest>(reader);
    if (name == "modify") return std::make_shared<CItemAttributeModify>(reader, sourceName);
    if (name == "resist") return std::make_shared<CItemAttributeResist>(reader, sourceName);
    reader.Fail(DRAV_ERR_BAD_DATA, "expected an item attribute element (weapon, armor, attribute, spell, quest, "
                                   "modify or resist)");
}

}  // namespace DRAV
